#pragma once
// Adds, replaces and removes the program's entries in the business system's integration menu, the
// file "DynamicMenu.xml" (root "DynamicMenuSetup", "Menu" elements named by "Name", entries whose
// text is their title), and tells whether an entry is there. The settings page sets the properties
// for one entry at a time and calls the install or remove operation.

#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/dialog_service.h"
#include "platform/xml/xml_document.h"

namespace tv {

inline constexpr std::string_view kMenuLoadFailed = "Kunde inte ladda in integrationsmeny: %s";
inline constexpr std::string_view kMenuSaveFailed = "Misslyckades att spara resultat: %s";
inline constexpr std::string_view kMenuFileFilter = "XML-filer (*.xml)|*.xml";
inline constexpr std::string_view kMenuFileName = "DynamicMenu.xml";

class TAdkMenuInstaller {
public:
    explicit TAdkMenuInstaller(IDialogService& dialogs = DialogService());
    ~TAdkMenuInstaller();

    std::string Category;         // the "Name" of the menu holding the entries; empty: the root
    std::string Title;            // the entry's text
    std::string Command;          // the entry's "Path": the program to start
    std::string Parameters;       // the entry's "Parameters"
    std::string ApplicationName;  // the entry's "meta_app"; the title stands in when empty
    std::string Company;          // "meta_company" of menu and entry, written when not empty

    const std::string& MenuFileName() const { return menuFileName_; }
    // Sets the file and loads it; a file that does not exist gives an empty menu.
    void SetMenuFileName(std::string fileName);

    // The business system's menu file under the common application-data folder, or empty when
    // its folder does not exist (the file itself need not).
    std::string FindIntegrationFile() const;
    // The XML file the operator picks, or empty when the dialog is cancelled.
    std::string AskForFilename();

    // Whether the loaded menu holds the entry of Category and Title.
    bool CheckIfPresent();
    // Loads the file (a missing one starts empty), adds or replaces the entry, saves, closes.
    void InstallToVismaIntegrationMenu(const std::string& fileName);
    // Loads the file and removes the entry, or with `aRemoveSubMenu` the whole menu of Category;
    // saves only when something was removed, then closes.
    void RemoveFromVismaIntegrationMenu(const std::string& fileName, bool aRemoveSubMenu);

private:
    void LoadFile(const std::string& fileName);
    TXMLNode& PrepareDocument();
    TXMLNode* FindMenu(TXMLNode& root) const;
    TXMLNode* FindEntry(TXMLNode& menu) const;
    const std::string& EffectiveApplicationName() const;
    void SaveFile(const std::string& fileName);

    IDialogService& dialogs_;
    std::string menuFileName_;
    std::unique_ptr<TXMLDocument> document_;
};

}  // namespace tv

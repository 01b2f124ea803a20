#pragma once
// Where the data grid keeps its layout (column order, widths, visibility, expansion, sort fields,
// lines per row, stretching) between runs: a short list of name=value lines in one section of an
// INI file, or of a registry key (an INI file under the registry folder, registry_ini.h). With
// Active the layout is loaded once when the grid's data first shows and saved when the grid goes.
// No window of the program turns it on; the explicit operations work whenever they are called.
//
// The lines, in this order: "AutoLoadLayout" and "AutoSaveLayout" (with soUserSettings),
// "Columns=<count>", "Column<n>=<field>,<width before stretching>,<visible>,<expanded>" per column
// from 1, "OrderFields" (soOrderFields), "LinesCount" (soLinesCount), "StretchMode"
// (soStretchMode). The field name is not quoted: a field name holding a comma does not find its
// column again, and the numbers after it are read from the wrong places. The format is kept so.

#include <memory>
#include <string>

#include "platform/ini/ini_file.h"
#include "platform/rtl/enum_set.h"
#include "platform/rtl/persistent.h"
#include "platform/rtl/string_list.h"

namespace tv {

class TXCustomDBGrid;

enum TXSettingsOption : uint8_t { soLoadLayout, soSaveLayout, soUserSettings, soOrderFields, soLinesCount,
                                  soStretchMode };
TV_ENUM_INFO(TXSettingsOption, "soLoadLayout", "soSaveLayout", "soUserSettings", "soOrderFields",
             "soLinesCount", "soStretchMode");
using TXSettingsOptions = TSet<TXSettingsOption>;

// The registry key the layouts go to when FileName is empty and IniFile is off.
inline constexpr std::string_view kGridSettingsKey = "Software\\XDBGrid";

class TXDBGridSettings : public TPersistent {
    TV_CLASS(TXDBGridSettings, TPersistent)
public:
    explicit TXDBGridSettings(TXCustomDBGrid* AGrid);
    ~TXDBGridSettings() override;

    TXCustomDBGrid* Grid() const { return fGrid; }
    bool Active() const { return fActive; }
    void SetActive(bool value) { fActive = value; }
    // The INI file or registry key; empty: DefaultFileName.
    const std::string& FileName() const { return fFileName; }
    void SetFileName(const std::string& value) { fFileName = value; }
    bool IniFile() const { return fIniFile; }
    void SetIniFile(bool value) { fIniFile = value; }
    TXSettingsOptions Options() const { return fOptions; }
    void SetOptions(TXSettingsOptions value) { fOptions = value; }
    // The stored section, or the default one: the grid's name, after its form's name and "."
    // when the form has one. Writing the default stores nothing (it keeps following the names).
    std::string Section() const;
    void SetSection(const std::string& value);
    std::string DefaultSection() const;
    // With IniFile the program's file with ".ini"; otherwise the registry key kGridSettingsKey.
    std::string DefaultFileName() const;

    // Read: the lines built from the grid (OnLayout may change them). Write: copies the lines and
    // applies them. ApplyLayout applies the lines the list holds now.
    TStrings* Layout();
    void SetLayout(TStrings* value);
    void ApplyLayout();

    // The store operations. Each takes an open store, or opens its own on FileName (written and
    // closed before the call returns, also when it fails). A given store is the caller's: what is
    // written to it waits for its UpdateFile. The store's errors reach the caller.
    // ReadLayout: the section's lines (none when it is missing).
    TStrings* ReadLayout(TIniFile* Store = nullptr);
    void LoadLayout(TIniFile* Store = nullptr);
    // Builds the lines as Layout does and writes them into the section, emptied first.
    void SaveLayout(TIniFile* Store = nullptr);
    void EraseLayout(TIniFile* Store = nullptr);
    bool LayoutExists(TIniFile* Store = nullptr);

    // The grid finished loading: an automatic load waits for its data, and the default section is
    // worked out now (remembering the form's name).
    void GridLoaded();
    // Whether the automatic load still waits; the grid's first activation takes the mark.
    bool LoadPending() const { return fLoadPending; }
    void ClearLoadPending() { fLoadPending = false; }

    // The grid's first activation after loading (with Active): the stored layout per
    // soLoadLayout, and with soUserSettings the two automatic flags from the store too.
    virtual void AutoLoad();
    // The grid goes (with Active): the layout is saved per soSaveLayout.
    virtual void AutoSave();

protected:
    // The own store on FileName or the default: an INI file, or the registry key's file.
    virtual std::unique_ptr<TIniFile> CreateIniFile();
    // OnLayout of the grid with the list: Apply false after building, true after applying.
    virtual void DoLayout(bool Apply);

private:
    void BuildLayout();
    // Runs `use` on the given store, or on an own one that is written afterwards when `writes`.
    template <class Use>
    auto WithStore(TIniFile* Store, bool writes, Use use);

    TXCustomDBGrid* fGrid;
    std::unique_ptr<TStringList> fLayout;
    bool fActive = false;
    std::string fFileName;
    bool fIniFile = false;
    TXSettingsOptions fOptions{soLoadLayout, soSaveLayout};
    std::string fSection;
    mutable std::string fFormName;
    bool fLoadPending = false;
};

}  // namespace tv

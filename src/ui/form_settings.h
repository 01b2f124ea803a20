#pragma once
// The modal settings window: a tree of the settings pages on the left, the page of the chosen node
// on the right. It makes every page of its page table once, as it is made, docks them into its page
// area and shows one at a time; a category node ("Visma", "Export", "Import") shows none. The pages
// edit the central data module's tables directly. OK writes what the operator typed into the
// tables and lets the pages do what they do on OK (the running numbers) before the window closes
// with 1; Cancel (and closing the window) drops the pending edits
// of every table the pages bind and closes with 2. Saving is the caller's.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/form.h"
#include "ui/settings_page_table.h"

namespace tv {

class TButton;
class TDataSet;
class TImage;
class TImageList;
class TLabel;
class TMainDM;
class TPanel;
class TScrollBox;
class TStatusBar;
class TTreeNode;
class TTreeView;

inline constexpr std::string_view kSettingsCaption = "Inställningar";
inline constexpr std::string_view kSettingsHeader = "Inställningar för applikationen";

class TFormSettings : public TForm {
    TV_CLASS(TFormSettings, TForm)
public:
    // Makes the window and every page of `rows` that can be made, then shows the first node.
    TFormSettings(TComponent* owner, TMainDM& dm,
                  std::span<const TSettingsPageRow> rows = SettingsPageRows());
    ~TFormSettings() override;

    // Builds the tree once; does nothing when it holds pages already.
    void BuildPages();
    // Docks `page` and adds its node under the node `parentCaption` (made at the top level when
    // missing; none: the page's node is a top node). A page whose caption some node already has
    // is left out, hidden.
    void AddPage(std::string_view parentCaption, TForm* page, int state);
    // The first node, depth first, whose text is `caption` exactly; nil for none.
    TTreeNode* FindNodeByText(std::string_view caption) const;
    // The same among the nodes below `node`.
    TTreeNode* FindChildByText(TTreeNode* node, std::string_view caption) const;

    void TreeView1Change(TObject* Sender, TTreeNode* Node);
    // Shows the page of the chosen node and hides every other.
    void TreeView1Click(TObject* Sender);

    // The pages, in the order they were added.
    const std::vector<TForm*>& Forms() const { return fForms; }
    // The tables the pages bind through their data sources.
    std::vector<TDataSet*> BoundTables() const;

    // Shows the window modally and answers its modal result; any result but OK first cancels the
    // pending edits of the bound tables.
    int Execute();

    TButton* OkButton;
    TButton* CancelButton;
    TPanel* Panel1;
    TLabel* Label2;
    TImage* Image1;
    TStatusBar* StatusBar1;
    TTreeView* TreeView1;
    TScrollBox* ScrollBox1;
    TImageList* ImageList1;

private:
    void FormCloseQuery(TObject* Sender, bool& CanClose);

    TMainDM& fDM;
    std::span<const TSettingsPageRow> fRows;
    std::vector<TForm*> fForms;
};

// The main window's settings command: a fresh settings window owned by `owner` over the central
// data module, shown modally and freed; answers its modal result.
int ShowSettingsWindow(TForm* owner, TMainDM& dm);

// Gives the main window its settings command (MainFormServices().ShowSettings).
void InstallSettingsWindow();

}  // namespace tv

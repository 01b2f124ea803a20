#include "ui/form_settings.h"

#include <algorithm>
#include <memory>

#include "core/forms/main_form_services.h"
#include "core/main_dm.h"
#include "platform/data/data_source.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/image.h"
#include "platform/gui/image_list.h"
#include "platform/gui/label.h"
#include "platform/gui/panel.h"
#include "platform/gui/scroll_box.h"
#include "platform/gui/status_bar.h"
#include "platform/gui/tree_view.h"
#include "platform/rtl/class_info.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 573;
constexpr int kHeaderHeight = 50;
constexpr int kButtonBarHeight = 41;
constexpr int kTreeWidth = 190;
constexpr int kCategoryState = 1;

template <class C>
C* Make(TFormSettings& form, TWinControl* parent, const char* name) {
    auto* c = new C(&form);
    c->SetName(name);
    c->SetParent(parent);
    return c;
}

TTreeNode* FindBelow(TTreeNode* first, std::string_view caption) {
    for (TTreeNode* node = first; node; node = node->GetNextSibling()) {
        if (node->Text() == caption) return node;
        if (TTreeNode* inner = FindBelow(node->GetFirstChild(), caption)) return inner;
    }
    return nullptr;
}

}  // namespace

const TClassInfo& TFormSettings::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFormSettings>("TFormSettings").Build();
    return info;
}

TFormSettings::TFormSettings(TComponent* owner, TMainDM& dm, std::span<const TSettingsPageRow> rows)
    : TForm(owner), fDM(dm), fRows(rows) {
    SetName("FormSettings");
    SetCaption(std::string(kSettingsCaption));
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };

    Panel1 = Make<TPanel>(*this, this, "Panel1");
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(kHeaderHeight);
    Panel1->SetParentColor(false);
    Panel1->SetColor(clWhite);
    Panel1->SetBevelOuter(bvNone);
    Label2 = Make<TLabel>(*this, Panel1, "Label2");
    Label2->SetBounds(16, 17, 400, 17);
    Label2->Font()->SetStyle(TFontStyles{fsBold});
    Label2->SetCaption(std::string(kSettingsHeader));
    Image1 = Make<TImage>(*this, Panel1, "Image1");
    Image1->SetBounds(kClientWidth - 48, 9, 32, 32);

    StatusBar1 = Make<TStatusBar>(*this, this, "StatusBar1");
    StatusBar1->SetAlign(alBottom);
    auto* buttons = Make<TPanel>(*this, this, "ButtonPanel");
    buttons->SetAlign(alBottom);
    buttons->SetHeight(kButtonBarHeight);
    buttons->SetBevelOuter(bvNone);
    OkButton = Make<TButton>(*this, buttons, "OkButton");
    OkButton->SetBounds(kClientWidth - 176, 8, 75, 25);
    OkButton->SetCaption("&OK");
    OkButton->SetModalResult(mrOk);
    OkButton->SetDefault(true);
    CancelButton = Make<TButton>(*this, buttons, "CancelButton");
    CancelButton->SetBounds(kClientWidth - 92, 8, 75, 25);
    CancelButton->SetCaption("&Cancel");
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);

    TreeView1 = Make<TTreeView>(*this, this, "TreeView1");
    TreeView1->SetAlign(alLeft);
    TreeView1->SetWidth(kTreeWidth);
    TreeView1->SetReadOnly(true);
    TreeView1->OnChange = [this](TObject* sender, TTreeNode* node) { TreeView1Change(sender, node); };
    TreeView1->OnClick = [this](TObject* sender) { TreeView1Click(sender); };
    ScrollBox1 = Make<TScrollBox>(*this, this, "ScrollBox1");
    ScrollBox1->SetAlign(alClient);
    ImageList1 = new TImageList(this);
    ImageList1->SetName("ImageList1");

    BuildPages();
}

TFormSettings::~TFormSettings() {
    // The pages go first: their controls are bound to tables and look at the tree no more.
    TreeView1->OnChange = nullptr;
    TreeView1->OnClick = nullptr;
    for (auto it = fForms.rbegin(); it != fForms.rend(); ++it) delete *it;
    fForms.clear();
}

void TFormSettings::BuildPages() {
    if (!fForms.empty()) return;
    for (const TSettingsPageRow& row : fRows) {
        if (!row.Make) continue;
        // A page over data modules that are not made is left out.
        if (TForm* page = row.Make(row, this, fDM)) AddPage(row.Parent, page, row.State);
    }
    if (TTreeNode* first = TreeView1->Items()->GetFirstNode()) {
        TreeView1->SetSelected(first);
        TreeView1Click(TreeView1);
    }
}

void TFormSettings::AddPage(std::string_view parentCaption, TForm* page, int state) {
    if (FindNodeByText(page->Caption())) return;
    page->SetAlign(alClient);
    fForms.push_back(page);
    page->Hide();
    page->ManualDock(ScrollBox1);
    TTreeNode* parent = nullptr;
    if (!parentCaption.empty()) {
        parent = FindNodeByText(parentCaption);
        if (!parent) {
            parent = TreeView1->Items()->AddChild(nullptr, std::string(parentCaption));
            parent->SetStateIndex(kCategoryState);
        }
    }
    TTreeNode* node = TreeView1->Items()->AddChildObject(parent, page->Caption(), page);
    node->SetStateIndex(state);
    for (TTreeNode* n = node; n; n = n->Parent()) n->Expand(true);
}

TTreeNode* TFormSettings::FindNodeByText(std::string_view caption) const {
    return FindBelow(TreeView1->Items()->GetFirstNode(), caption);
}

TTreeNode* TFormSettings::FindChildByText(TTreeNode* node, std::string_view caption) const {
    return node ? FindBelow(node->GetFirstChild(), caption) : nullptr;
}

void TFormSettings::TreeView1Change(TObject* Sender, TTreeNode*) {
    TreeView1Click(Sender);
}

void TFormSettings::TreeView1Click(TObject*) {
    TTreeNode* selected = TreeView1->Selected();
    if (!selected) return;
    for (TForm* page : fForms) page->SetVisible(page == selected->Data());
}

std::vector<TDataSet*> TFormSettings::BoundTables() const {
    std::vector<TDataSet*> tables;
    for (TForm* page : fForms)
        for (int i = 0; i < page->ComponentCount(); ++i)
            if (auto* source = dynamic_cast<TDataSource*>(page->Components(i)))
                if (TDataSet* table = source->DataSet();
                    table && std::find(tables.begin(), tables.end(), table) == tables.end())
                    tables.push_back(table);
    return tables;
}

// OK takes what the operator typed and has not yet left into every table being edited, and posts
// it, so that the save writes it and a later Cancel cannot take back what OK confirmed; then the
// pages do what they do on OK. A value the table refuses, or a failure of a page, is shown and the
// window stays open.
void TFormSettings::FormCloseQuery(TObject*, bool& CanClose) {
    if (ModalResult != mrOk) return;
    try {
        for (TDataSet* table : BoundTables()) {
            if (!table->IsEditing()) continue;
            table->UpdateRecord();
            table->Post();
        }
        for (TForm* page : fForms)
            if (auto* settingsPage = dynamic_cast<TSettingsPage*>(page)) settingsPage->Confirm();
    } catch (...) {
        Application().HandleException(this);
        CanClose = false;
    }
}

int TFormSettings::Execute() {
    const int result = ShowModal();
    if (result != mrOk)
        for (TDataSet* table : BoundTables()) table->Cancel();
    return result;
}

int ShowSettingsWindow(TForm* owner, TMainDM& dm) {
    auto window = std::make_unique<TFormSettings>(owner, dm);
    return window->Execute();
}

void InstallSettingsWindow() {
    MainFormServices().ShowSettings = [](TForm* owner) { return ShowSettingsWindow(owner, MainDM()); };
}

}  // namespace tv

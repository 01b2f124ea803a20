#include "ui/form_debug_file.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/dialog_service.h"
#include "platform/xml/xml_document.h"

namespace tv {

namespace {

// The article key of the kDebugEntryPosition-th entry under "purchaseprices", comments left out;
// kDebugWalkDone when there are fewer, kNoPurchasePrices without the element.
std::string WalkPurchasePrices(const std::string& fileName) {
    TXMLDocument document;
    // The document is closed however the walk ends.
    struct TClose {
        TXMLDocument& document;
        ~TClose() { document.SetActive(false); }
    } close{document};
    document.LoadFromFile(fileName);
    TXMLNode* root = document.DocumentElement();
    TXMLNode* prices = root ? root->FindNode(kPurchasePricesElement) : nullptr;
    if (!prices) return std::string(kNoPurchasePrices);
    int position = 0;
    for (const TXMLNode* entry : prices->ChildNodes()) {
        if (entry->NodeType() == TNodeType::ntComment) continue;
        if (++position == kDebugEntryPosition) return entry->Attribute(kArticleKeyAttribute);
    }
    return std::string(kDebugWalkDone);
}

}  // namespace

const TClassInfo& TFormDebugFile::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFormDebugFile>("TFormDebugFile").Build();
    return info;
}

TFormDebugFile::TFormDebugFile(TComponent* AOwner) : TForm(AOwner) {
    SetName("FormDebugFile");
    CreateComponents();
}

void TFormDebugFile::CreateComponents() {
    SetCaption(std::string(kDebugFileCaption));
    SetClientWidth(460);
    SetClientHeight(112);
    OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    Edit1 = new TEdit(this);
    Edit1->SetName("Edit1");
    Edit1->SetParent(this);
    Edit1->SetBounds(8, 10, 360, 22);
    Edit1->SetText("");
    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetBounds(376, 8, 75, 25);
    Button1->SetCaption(std::string(kDebugRunCaption));
    Button1->OnClick = [this](TObject*) { Button1Click(); };
    DBPickCombo1 = new TDBPickCombo(this);
    DBPickCombo1->SetName("DBPickCombo1");
    DBPickCombo1->SetParent(this);
    DBPickCombo1->SetBounds(8, 44, 200, 22);
    Edit2 = new TEdit(this);
    Edit2->SetName("Edit2");
    Edit2->SetParent(this);
    Edit2->SetBounds(8, 78, 200, 22);
    Edit2->SetText("");
}

void TFormDebugFile::Button1Click() {
    DialogService().ShowInformation(WalkPurchasePrices(Edit1->Text()), "");
}

void ShowDebugFileWindow() {
    auto* window = new TFormDebugFile(nullptr);
    window->Show();
}

}  // namespace tv

#include "core/forms/progress_form.h"

#include "core/app_logger.h"
#include "core/forms/event_pictures.h"
#include "core/shell_helper.h"
#include "platform/gui/bitmap.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/files.h"

namespace tv {
namespace {

template <class C>
C* Make(TComponent* owner, TWinControl* parent, const char* name) {
    auto* c = new C(owner);
    c->SetName(name);
    c->SetParent(parent);
    return c;
}

}  // namespace

const TClassInfo& TProgressForm::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TProgressForm>("TProgressForm").Build();
    return info;
}

TProgressForm::TProgressForm(TComponent* AOwner, TEventTree& model) : TForm(AOwner), fModel(model) {
    SetName("ProgressForm");
    SetCaption(std::string(kEventWindowCaption));
    SetBounds(0, 0, 520, 420);

    ImageList1 = new TImageList(this);
    ImageList1->SetName("ImageList1");
    DrawStepPictures(*ImageList1);
    ImageList2 = new TImageList(this);
    ImageList2->SetName("ImageList2");
    DrawStatePictures(*ImageList2);

    TopPanel = Make<TPanel>(this, this, "TopPanel");
    TopPanel->SetCaption("");
    TopPanel->SetHeight(56);
    TopPanel->SetAlign(alTop);
    Image1 = Make<TImage>(this, TopPanel, "Image1");
    Image1->SetBounds(8, 6, 24, 24);
    Label2 = Make<TLabel>(this, TopPanel, "Label2");
    Label2->SetBounds(40, 10, 460, 16);
    ProgressBar1 = Make<TProgressBar>(this, TopPanel, "ProgressBar1");
    ProgressBar1->SetBounds(8, 34, 500, 16);

    BottomPanel = Make<TPanel>(this, this, "BottomPanel");
    BottomPanel->SetCaption("");
    BottomPanel->SetHeight(40);
    BottomPanel->SetAlign(alBottom);
    WarningImage = Make<TImage>(this, BottomPanel, "WarningImage");
    WarningImage->SetBounds(8, 12, 16, 16);
    WarningLabel = Make<TLabel>(this, BottomPanel, "WarningLabel");
    WarningLabel->SetBounds(28, 12, 120, 16);
    WarningLabel->SetCaption(std::string(kWarningsText));
    ImageErrors = Make<TImage>(this, BottomPanel, "ImageErrors");
    ImageErrors->SetBounds(156, 12, 16, 16);
    LabelErrors = Make<TLabel>(this, BottomPanel, "LabelErrors");
    LabelErrors->SetBounds(176, 12, 100, 16);
    LabelErrors->SetCaption(std::string(kErrorsText));
    btnCancel = Make<TButton>(this, BottomPanel, "btnCancel");
    btnCancel->SetBounds(340, 8, 80, 24);
    btnCancel->SetCaption(std::string(kCancelCaption));
    btnCancel->OnClick = [this](TObject* s) { btnCancelClick(s); };
    CloseButton = Make<TButton>(this, BottomPanel, "CloseButton");
    CloseButton->SetBounds(428, 8, 80, 24);
    CloseButton->SetCaption(std::string(kCloseCaption));
    CloseButton->OnClick = [this](TObject* s) { CloseButtonClick(s); };
    ShowStatePicture(WarningImage, elWarning);
    ShowStatePicture(ImageErrors, elError);

    Statustree = Make<TTreeView>(this, this, "Statustree");
    Statustree->SetAlign(alClient);
    Statustree->SetReadOnly(true);
    Statustree->SetStateImages(ImageList2);
    Statustree->OnDblClick = [this](TObject* s) { StatustreeDblClick(s); };

    OnClose = [this](TObject*, TCloseAction&) {
        if (OnClosed) OnClosed();
    };

    // The tree as the model holds it now, then every change as it comes.
    std::function<void(const std::vector<std::unique_ptr<TEventNode>>&)> add = [&](const auto& nodes) {
        for (const auto& n : nodes) {
            NodeAdded(*n);
            add(n->Children);
        }
    };
    add(fModel.Items());
    StatusChanged();
    fModel.SetView(this);
}

TProgressForm::~TProgressForm() {
    fModel.SetView(nullptr);
}

TTreeNode* TProgressForm::NodeOf(const TEventNode& node) const {
    auto it = fNodes.find(&node);
    return it == fNodes.end() ? nullptr : it->second;
}

void TProgressForm::NodeAdded(const TEventNode& node) {
    TTreeNode* parent = node.Parent ? NodeOf(*node.Parent) : nullptr;
    TTreeNode* shown = Statustree->Items()->AddChild(parent, node.Text);
    shown->SetData(const_cast<TEventNode*>(&node));
    shown->SetStateIndex(node.State >= 0 && node.State < ImageList2->Count() ? node.State : -1);
    if (parent && !parent->Expanded()) parent->SetExpanded(true);
    fNodes[&node] = shown;
}

void TProgressForm::NodeChanged(const TEventNode& node) {
    TTreeNode* shown = NodeOf(node);
    if (!shown) return;
    shown->SetText(node.Text);
    shown->SetStateIndex(node.State >= 0 && node.State < ImageList2->Count() ? node.State : -1);
}

void TProgressForm::TreeCleared() {
    fNodes.clear();
    Statustree->Items()->Clear();
}

void TProgressForm::StatusChanged() {
    if (Label2->Caption() != fModel.StepCaption()) Label2->SetCaption(fModel.StepCaption());
    ShowStepPicture(fModel.StepPicture());
    if (ProgressBar1->Max() != fModel.ProgressMax()) ProgressBar1->SetMax(fModel.ProgressMax());
    if (ProgressBar1->Position() != fModel.ProgressPosition())
        ProgressBar1->SetPosition(fModel.ProgressPosition());
    WarningImage->SetVisible(fModel.WarningsShown());
    WarningLabel->SetVisible(fModel.WarningsShown());
    ImageErrors->SetVisible(fModel.ErrorsShown());
    LabelErrors->SetVisible(fModel.ErrorsShown());
    CloseButton->SetEnabled(fModel.CloseEnabled());
    btnCancel->SetEnabled(fModel.CancelEnabled());
}

void TProgressForm::ShowStepPicture(int index) {
    if (index == fShownStep) return;
    fShownStep = index;
    TBitmap picture;
    if (ImageList1->GetBitmap(index, &picture))
        Image1->Picture()->SetBitmap(&picture);
    else
        Image1->Picture()->SetGraphic(nullptr);
}

void TProgressForm::ShowStatePicture(TImage* image, int level) {
    TBitmap picture;
    if (ImageList2->GetBitmap(level, &picture)) image->Picture()->SetBitmap(&picture);
}

void TProgressForm::StatustreeDblClick(TObject*) {
    TTreeNode* selected = Statustree->Selected();
    if (!selected || !selected->Data()) return;
    const auto& node = *static_cast<const TEventNode*>(selected->Data());
    if (!node.FileName.empty() && FileExists(node.FileName)) TShellHelper::OpenExplorer(node.FileName);
}

void TProgressForm::CloseButtonClick(TObject*) {
    Close();
}

void TProgressForm::btnCancelClick(TObject*) {
    if (OnCancel) OnCancel();
}

}  // namespace tv

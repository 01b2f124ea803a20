#pragma once
// The event window: shows the event tree every job reports into (TEventTree) as a tree with state
// pictures, the step caption and picture, the progress bar, the markers that tell of errors and
// warnings, and the close and cancel buttons. It mirrors the model as the model changes; nothing
// reports into the window itself.

#include <functional>
#include <unordered_map>

#include "core/event_tree.h"
#include "platform/gui/button.h"
#include "platform/gui/form.h"
#include "platform/gui/image.h"
#include "platform/gui/image_list.h"
#include "platform/gui/label.h"
#include "platform/gui/panel.h"
#include "platform/gui/progress_bar.h"
#include "platform/gui/tree_view.h"

namespace tv {

class TProgressForm : public TForm, public IEventTreeView {
    TV_CLASS(TProgressForm, TForm)
public:
    // Made hidden; watches `model` until it goes.
    TProgressForm(TComponent* AOwner, TEventTree& model);
    ~TProgressForm() override;

    TEventTree& Model() const { return fModel; }
    // The tree node that shows a node of the model; nil for none.
    TTreeNode* NodeOf(const TEventNode& node) const;

    // A double click on a line that carries an existing file shows the file in the file manager.
    void StatustreeDblClick(TObject* Sender);
    void CloseButtonClick(TObject* Sender);
    void btnCancelClick(TObject* Sender);

    // Told when the window is closed (the main window shows its button panel again).
    std::function<void()> OnClosed;
    // Sets the cancel flag of the running job.
    std::function<void()> OnCancel;

    // ---- the model's changes ----
    void NodeAdded(const TEventNode& node) override;
    void NodeChanged(const TEventNode& node) override;
    void TreeCleared() override;
    void StatusChanged() override;

    TPanel* TopPanel = nullptr;
    TImage* Image1 = nullptr;
    TLabel* Label2 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TTreeView* Statustree = nullptr;
    TPanel* BottomPanel = nullptr;
    TImage* WarningImage = nullptr;
    TLabel* WarningLabel = nullptr;
    TImage* ImageErrors = nullptr;
    TLabel* LabelErrors = nullptr;
    TButton* CloseButton = nullptr;
    TButton* btnCancel = nullptr;
    TImageList* ImageList1 = nullptr;  // the step pictures
    TImageList* ImageList2 = nullptr;  // the state pictures

private:
    void ShowStepPicture(int index);
    void ShowStatePicture(TImage* image, int level);

    TEventTree& fModel;
    std::unordered_map<const TEventNode*, TTreeNode*> fNodes;
    int fShownStep = -1;
};

}  // namespace tv

#include "platform/gui/action.h"

#include <algorithm>

#include "platform/gui/image_list.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TBasicAction::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TBasicAction>("TBasicAction").Build();
    return info;
}
const TClassInfo& TContainedAction::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TContainedAction>("TContainedAction").Build();
    return info;
}
const TClassInfo& TCustomAction::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomAction>("TCustomAction").Build();
    return info;
}
const TClassInfo& TAction::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TAction>("TAction").Build();
    return info;
}
const TClassInfo& TCustomActionList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomActionList>("TCustomActionList").Build();
    return info;
}
const TClassInfo& TActionList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TActionList>("TActionList").Build();
    return info;
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

// ---- TContainedAction ----

TContainedAction::~TContainedAction() {
    SetActionList(nullptr);
}

void TContainedAction::SetActionList(TCustomActionList* value) {
    if (value == fActionList) return;
    if (fActionList) std::erase(fActionList->fActions, this);
    fActionList = value;
    if (value) value->fActions.push_back(this);
}

int TContainedAction::Index() const {
    if (!fActionList) return -1;
    const auto& list = fActionList->fActions;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

// ---- TCustomAction ----

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

TCustomAction::~TCustomAction() {
    // Everything showing the action lets go of it here, while it is still whole: free notification
    // comes later, from the component's own destructor, and the action bar's items hear of nothing
    // else.
    const std::vector<IActionClient*> clients = std::move(fClients);
    for (IActionClient* c : clients) c->ActionGone(*this);
}

void TCustomAction::AddClient(IActionClient* client) {
    if (std::find(fClients.begin(), fClients.end(), client) == fClients.end()) fClients.push_back(client);
}

void TCustomAction::RemoveClient(IActionClient* client) {
    std::erase(fClients, client);
}

void TCustomAction::Changed() {
    // A copy: a client may let go of the action while it is told.
    const std::vector<IActionClient*> clients = fClients;
    for (IActionClient* c : clients)
        if (std::find(fClients.begin(), fClients.end(), c) != fClients.end()) c->ActionChanged(*this);
}

void TCustomAction::SetCaption(const std::string& value) {
    if (value == fCaption) return;
    fCaption = value;
    Changed();
}

void TCustomAction::SetEnabled(bool value) {
    if (value == fEnabled) return;
    fEnabled = value;
    fShortCutBinding.SetEnabled(value);
    Changed();
}

void TCustomAction::SetVisible(bool value) {
    if (value == fVisible) return;
    fVisible = value;
    Changed();
}

void TCustomAction::SetChecked(bool value) {
    if (value == fChecked) return;
    fChecked = value;
    Changed();
}

void TCustomAction::SetHint(const std::string& value) {
    if (value == fHint) return;
    fHint = value;
    Changed();
}

void TCustomAction::SetImageIndex(int value) {
    if (value == fImageIndex) return;
    fImageIndex = value;
    Changed();
}

void TCustomAction::SetShortCut(TShortCut value) {
    if (value == fShortCut) return;
    fShortCut = value;
    TComponent* owner = Owner() ? Owner() : ActionList() ? ActionList()->Owner() : nullptr;
    fShortCutBinding.Bind(owner, value, [this] { Execute(); });
    fShortCutBinding.SetEnabled(fEnabled);
    Changed();
}

bool TCustomAction::Execute() {
    if (!fEnabled || !fVisible) return false;
    if (fAutoCheck) SetChecked(!fChecked);
    return TContainedAction::Execute();
}

// ---- TCustomActionList ----

TCustomActionList::~TCustomActionList() {
    while (!fActions.empty()) fActions.back()->SetActionList(nullptr);
}

TContainedAction* TCustomActionList::Actions(int Index) const {
    if (Index < 0 || Index >= ActionCount()) ListIndexError(Index);
    return fActions[Index];
}

void TCustomActionList::SetImages(TImageList* value) {
    if (fImages) fImages->RemoveFreeNotification(this);
    fImages = value;
    if (value) value->FreeNotification(this);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fImages) fImages = nullptr;
}

}  // namespace tv

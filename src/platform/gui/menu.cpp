#include "platform/gui/menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <algorithm>

#include "platform/gui/action.h"
#include "platform/gui/application.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/image_list.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/object_handles.h"

namespace tv {

namespace {
constexpr std::string_view kItemInMenu = "Menu item is already in a menu";
}

const TClassInfo& TMenuItem::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMenuItem>("TMenuItem").Build();
    return info;
}
const TClassInfo& TMenu::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMenu>("TMenu").Build();
    return info;
}
const TClassInfo& TMainMenu::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMainMenu>("TMainMenu").Build();
    return info;
}
const TClassInfo& TPopupMenu::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPopupMenu>("TPopupMenu").Build();
    return info;
}

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {
    EnsureQtApplication();
    fQtAction = std::make_unique<QAction>();
    QObject::connect(fQtAction.get(), &QAction::triggered, fQtAction.get(), [this] {
        try {
            Click();
        } catch (...) {
            HandleGuiException(this);
        }
    });
}

TMenuItem::~TMenuItem() {
    SetState(csDestroying, true);
    Clear();
    if (fParent) fParent->Remove(this);
    if (auto* action = dynamic_cast<TCustomAction*>(fAction)) action->RemoveClient(this);
    QObject::disconnect(fQtAction.get(), nullptr, nullptr, nullptr);
    fQtAction->setMenu(nullptr);
    // An item chosen in its own menu may free the menu: the toolkit is still inside that menu's
    // mouse event, and goes on with the menu and the chosen action once the handler returns.
    DeleteWhenDelivered(fQtMenu.release());
    DeleteWhenDelivered(fQtAction.release(), true);
}

TMenu* TMenuItem::OwningMenu() const {
    const TMenuItem* root = this;
    while (root->fParent) root = root->fParent;
    return root->fMenu;
}

void TMenuItem::UpdateQtAction() {
    QAction* a = fQtAction.get();
    a->setSeparator(IsLine());
    // The shortcut is shown after a tab; it is bound to the form, not to the toolkit's action.
    const std::string keys = ShortCutToText(fShortCut);
    a->setText(ToQString(keys.empty() ? fCaption : fCaption + "\t" + keys));
    a->setCheckable(fChecked || fAutoCheck || fRadioItem);
    a->setChecked(fChecked);
    a->setEnabled(fEnabled);
    a->setVisible(fVisible);
    a->setStatusTip(ToQString(GetLongHint(fHint)));
    a->setToolTip(ToQString(GetShortHint(fHint)));
    QFont f = a->font();
    f.setBold(fDefault);
    a->setFont(f);
    TMenu* menu = OwningMenu();
    if (menu && menu->Images() && fImageIndex >= 0)
        a->setIcon(QIcon(menu->Images()->Pixmap(fImageIndex)));
    else
        a->setIcon(QIcon());
}

void TMenuItem::SetCaption(const std::string& value) {
    fCaption = value;
    UpdateQtAction();
}

void TMenuItem::SetChecked(bool value) {
    if (value == fChecked) return;
    fChecked = value;
    if (value && fRadioItem && fParent)
        for (TMenuItem* sibling : fParent->fItems)
            if (sibling != this && sibling->fRadioItem && sibling->fGroupIndex == fGroupIndex)
                sibling->SetChecked(false);
    UpdateQtAction();
}

void TMenuItem::SetEnabled(bool value) {
    fEnabled = value;
    UpdateQtAction();
}

void TMenuItem::SetVisible(bool value) {
    fVisible = value;
    UpdateQtAction();
}

void TMenuItem::SetShortCut(TShortCut value) {
    fShortCut = value;
    // An item that follows an action leaves the shortcut to the action.
    if (!fAction) fShortCutBinding.Bind(Owner(), value, [this] { Click(); });
    UpdateQtAction();
}

void TMenuItem::SetHint(const std::string& value) {
    fHint = value;
    UpdateQtAction();
}

void TMenuItem::SetImageIndex(int value) {
    fImageIndex = value;
    UpdateQtAction();
}

void TMenuItem::SetRadioItem(bool value) {
    fRadioItem = value;
    UpdateQtAction();
}

void TMenuItem::SetAutoCheck(bool value) {
    fAutoCheck = value;
    UpdateQtAction();
}

void TMenuItem::SetDefault(bool value) {
    fDefault = value;
    UpdateQtAction();
}

void TMenuItem::SetAction(TBasicAction* value) {
    if (value == fAction) return;
    if (auto* old = dynamic_cast<TCustomAction*>(fAction)) old->RemoveClient(this);
    if (fAction) fAction->RemoveFreeNotification(this);
    fAction = value;
    if (!value) return;
    fShortCutBinding.Bind(nullptr, 0, {});
    value->FreeNotification(this);
    if (auto* action = dynamic_cast<TCustomAction*>(value)) {
        action->AddClient(this);
        ActionChanged(*action);
    }
}

void TMenuItem::ActionChanged(TCustomAction& action) {
    fCaption = action.Caption();
    fEnabled = action.Enabled();
    fVisible = action.Visible();
    fChecked = action.Checked();
    fHint = action.Hint();
    fImageIndex = action.ImageIndex();
    fShortCut = action.ShortCut();
    UpdateQtAction();
}

void TMenuItem::ActionGone(TCustomAction& action) {
    if (fAction == &action) fAction = nullptr;
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fAction) fAction = nullptr;
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return fItems[Index];
}

int TMenuItem::MenuIndex() const {
    return fParent ? fParent->IndexOf(this) : -1;
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(fItems.begin(), fItems.end(), Item);
    return it == fItems.end() ? -1 : static_cast<int>(it - fItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) return;
    if (Item->fParent) throw EInvalidOperation(std::string(kItemInMenu));
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    fItems.insert(fItems.begin() + Index, Item);
    Item->fParent = this;
    if (!fQtMenu) {
        fQtMenu = std::make_unique<QMenu>();
        fQtAction->setMenu(fQtMenu.get());
    }
    QAction* before = Index + 1 < Count() ? fItems[Index + 1]->QtAction() : nullptr;
    fQtMenu->insertAction(before, Item->QtAction());
    Item->UpdateQtAction();
    StructureChanged();
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = Items(Index);
    fItems.erase(fItems.begin() + Index);
    item->fParent = nullptr;
    if (fQtMenu) fQtMenu->removeAction(item->QtAction());
    StructureChanged();
}

void TMenuItem::Remove(TMenuItem* Item) {
    const int i = IndexOf(Item);
    if (i >= 0) Delete(i);
}

void TMenuItem::Clear() {
    while (!fItems.empty()) delete fItems.back();
}

void TMenuItem::StructureChanged() {
    if (!fParent && fMenu && !fMenu->ComponentState().Contains(csDestroying)) fMenu->ItemsChanged();
}

void TMenuItem::Click() {
    if (!fEnabled) return;
    if (fAutoCheck) SetChecked(!fChecked);
    if (OnClick)
        OnClick(this);
    else if (fAction)
        fAction->Execute();
}

// ---- TMenu ----

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), fItems(std::make_unique<TMenuItem>(nullptr)) {
    fItems->fMenu = this;
}

TMenu::~TMenu() {
    SetState(csDestroying, true);
    // Items made by the menu's owner are freed with the root item; they leave their owner then.
    fItems.reset();
}

void TMenu::SetImages(TImageList* value) {
    if (fImages) fImages->RemoveFreeNotification(this);
    fImages = value;
    if (value) value->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fImages) fImages = nullptr;
}

// ---- TMainMenu ----

struct TMainMenu::TBars {
    std::vector<QPointer<QMenuBar>> bars;
};

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner), fBars(std::make_unique<TBars>()) {}

TMainMenu::~TMainMenu() {
    SetState(csDestroying, true);
    for (auto& bar : fBars->bars)
        if (bar) bar->clear();
}

QMenuBar* TMainMenu::CreateMenuBar(QWidget* host) {
    auto* bar = new QMenuBar(host);
    fBars->bars.emplace_back(bar);
    ItemsChanged();
    return bar;
}

void TMainMenu::ItemsChanged() {
    std::erase_if(fBars->bars, [](const QPointer<QMenuBar>& b) { return b.isNull(); });
    for (auto& bar : fBars->bars) {
        bar->clear();
        for (int i = 0; i < Items()->Count(); ++i) bar->addAction(Items()->Items(i)->QtAction());
    }
}

// ---- TPopupMenu ----

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) {
        // The handler may free the menu: then there is nothing to show.
        const int32_t handle = TObjectHandles::HandleOf(this);
        OnPopup(this);
        if (TObjectHandles::TryObjectOf(handle) != this) return;
    }
    if (!Items()->QtMenu()) return;  // no items: nothing to show
    Items()->QtMenu()->popup(QPoint(X, Y));
}

void TPopupMenu::SetPopupComponent(TComponent* value) {
    if (fPopupComponent) fPopupComponent->RemoveFreeNotification(this);
    fPopupComponent = value;
    if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fPopupComponent) fPopupComponent = nullptr;
}

}  // namespace tv

#pragma once
// Menus: a tree of menu items (caption, check mark, enabled state, visibility, shortcut, image, an
// action to follow), shown as a form's menu bar (TMainMenu) or where the user right-clicks a
// control (TPopupMenu). A caption of "-" makes a separator line. An item frees its sub-items.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/control.h"
#include "platform/gui/shortcut.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace tv {

class TMenu;
class TImageList;

class TMenuItem : public TComponent, public IActionClient {
    TV_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner = nullptr);
    ~TMenuItem() override;

    const std::string& Caption() const { return fCaption; }
    void SetCaption(const std::string& value);
    bool IsLine() const { return fCaption == "-"; }
    bool Checked() const { return fChecked; }
    // Checking a radio item unchecks the radio items of its group beside it.
    void SetChecked(bool value);
    bool Enabled() const { return fEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return fVisible; }
    void SetVisible(bool value);
    TShortCut ShortCut() const { return fShortCut; }
    void SetShortCut(TShortCut value);
    const std::string& Hint() const { return fHint; }
    void SetHint(const std::string& value);
    int ImageIndex() const { return fImageIndex; }
    void SetImageIndex(int value);
    bool RadioItem() const { return fRadioItem; }
    void SetRadioItem(bool value);
    uint8_t GroupIndex() const { return fGroupIndex; }
    void SetGroupIndex(uint8_t value) { fGroupIndex = value; }
    bool AutoCheck() const { return fAutoCheck; }
    void SetAutoCheck(bool value);
    bool Default() const { return fDefault; }
    void SetDefault(bool value);

    TBasicAction* Action() const { return fAction; }
    void SetAction(TBasicAction* value);
    void ActionChanged(TCustomAction& action) override;
    void ActionGone(TCustomAction& action) override;

    // ---- sub-items ----
    int Count() const { return static_cast<int>(fItems.size()); }
    // Raises EListError outside 0..Count-1.
    TMenuItem* Items(int Index) const;
    TMenuItem* Parent() const { return fParent; }
    int MenuIndex() const;
    void Add(TMenuItem* Item);
    // Raises EListError outside 0..Count and EInvalidOperation for an item that is in a menu.
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out without freeing it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* Item) const;

    // What choosing the item does: toggles an auto-check item, then OnClick, else the action.
    virtual void Click();
    TNotifyEvent OnClick;

    // For the library: the toolkit's action that shows the item.
    QAction* QtAction() const { return fQtAction.get(); }
    QMenu* QtMenu() const { return fQtMenu.get(); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TMenu;
    void UpdateQtAction();
    void StructureChanged();
    TMenu* OwningMenu() const;

    std::string fCaption;
    bool fChecked = false;
    bool fEnabled = true;
    bool fVisible = true;
    TShortCut fShortCut = 0;
    std::string fHint;
    int fImageIndex = -1;
    bool fRadioItem = false;
    uint8_t fGroupIndex = 0;
    bool fAutoCheck = false;
    bool fDefault = false;
    TBasicAction* fAction = nullptr;
    TMenuItem* fParent = nullptr;
    TMenu* fMenu = nullptr;  // set on the root item of a menu
    std::vector<TMenuItem*> fItems;
    std::unique_ptr<QAction> fQtAction;
    std::unique_ptr<QMenu> fQtMenu;
    TShortCutBinding fShortCutBinding;
};

class TMenu : public TComponent {
    TV_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner = nullptr);
    ~TMenu() override;
    // The root item, whose sub-items are the menu's items.
    TMenuItem* Items() const { return fItems.get(); }
    TImageList* Images() const { return fImages; }
    void SetImages(TImageList* value);

protected:
    friend class TMenuItem;
    // The items under the root changed (added, removed, moved).
    virtual void ItemsChanged() {}
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TMenuItem> fItems;
    TImageList* fImages = nullptr;
};

// The menu bar of a form (TForm::SetMenu).
class TMainMenu : public TMenu {
    TV_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* AOwner = nullptr);
    ~TMainMenu() override;

    // For the library: a menu bar in `host` that shows this menu and follows its changes.
    QMenuBar* CreateMenuBar(QWidget* host);

protected:
    void ItemsChanged() override;

private:
    struct TBars;
    std::unique_ptr<TBars> fBars;
};

class TPopupMenu : public TMenu {
    TV_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner = nullptr) : TMenu(AOwner) {}
    // Shows the menu at the screen point X, Y after OnPopup; returns at once (the chosen item's
    // click comes later, as a message).
    void Popup(int X, int Y);
    // Shown by a right click on a control whose PopupMenu it is.
    bool AutoPopup() const { return fAutoPopup; }
    void SetAutoPopup(bool value) { fAutoPopup = value; }
    // The control the menu was last shown for.
    TComponent* PopupComponent() const { return fPopupComponent; }
    void SetPopupComponent(TComponent* value);
    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool fAutoPopup = true;
    TComponent* fPopupComponent = nullptr;
};

}  // namespace tv

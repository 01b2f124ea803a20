#pragma once
// Actions: one command (caption, enabled state, visibility, check mark, shortcut, hint) that menu
// items, buttons and action bars show and run. Changing an action changes everything that shows
// it; disabling it disables them all. Action lists gather a form's actions.

#include <string>
#include <vector>

#include "platform/gui/control.h"
#include "platform/gui/shortcut.h"

namespace tv {

class TCustomActionList;
class TImageList;

class TBasicAction : public TComponent {
    TV_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    // Runs OnExecute; false when there is none (or the action may not run now).
    virtual bool Execute();
    TNotifyEvent OnExecute;

    // Actions aimed at a target (a data source, say): whether the action works on `Target`, and
    // running it there or bringing its state up to date for it. A control that holds such a target
    // answers ExecuteAction/UpdateAction with these; a plain action works on none.
    virtual bool HandlesTarget(TObject* Target) { return false; }
    virtual void ExecuteTarget(TObject* Target) {}
    virtual void UpdateTarget(TObject* Target) {}
};

// An action that belongs to an action list.
class TContainedAction : public TBasicAction {
    TV_CLASS(TContainedAction, TBasicAction)
public:
    explicit TContainedAction(TComponent* AOwner = nullptr) : TBasicAction(AOwner) {}
    ~TContainedAction() override;
    TCustomActionList* ActionList() const { return fActionList; }
    // Moves the action into that list (nil: into none).
    void SetActionList(TCustomActionList* value);
    // The position in its list; -1 without one.
    int Index() const;
    const std::string& Category() const { return fCategory; }
    void SetCategory(const std::string& value) { fCategory = value; }

private:
    TCustomActionList* fActionList = nullptr;
    std::string fCategory;
};

class TCustomAction : public TContainedAction {
    TV_CLASS(TCustomAction, TContainedAction)
public:
    explicit TCustomAction(TComponent* AOwner = nullptr);
    ~TCustomAction() override;

    const std::string& Caption() const { return fCaption; }
    void SetCaption(const std::string& value);
    bool Enabled() const { return fEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return fVisible; }
    void SetVisible(bool value);
    bool Checked() const { return fChecked; }
    void SetChecked(bool value);
    // Executing toggles Checked first.
    bool AutoCheck() const { return fAutoCheck; }
    void SetAutoCheck(bool value) { fAutoCheck = value; }
    const std::string& Hint() const { return fHint; }
    void SetHint(const std::string& value);
    int ImageIndex() const { return fImageIndex; }
    void SetImageIndex(int value);
    // Pressing it while the owner's form is active executes the action.
    TShortCut ShortCut() const { return fShortCut; }
    void SetShortCut(TShortCut value);

    // A disabled action does not run: false.
    bool Execute() override;

    // For what shows the action.
    void AddClient(IActionClient* client);
    void RemoveClient(IActionClient* client);

private:
    void Changed();

    std::string fCaption;
    bool fEnabled = true;
    bool fVisible = true;
    bool fChecked = false;
    bool fAutoCheck = false;
    std::string fHint;
    int fImageIndex = -1;
    TShortCut fShortCut = 0;
    TShortCutBinding fShortCutBinding;
    std::vector<IActionClient*> fClients;
};

class TAction : public TCustomAction {
    TV_CLASS(TAction, TCustomAction)
public:
    explicit TAction(TComponent* AOwner = nullptr) : TCustomAction(AOwner) {}
};

class TCustomActionList : public TComponent {
    TV_CLASS(TCustomActionList, TComponent)
public:
    explicit TCustomActionList(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    ~TCustomActionList() override;
    int ActionCount() const { return static_cast<int>(fActions.size()); }
    // Raises EListError outside 0..ActionCount-1.
    TContainedAction* Actions(int Index) const;
    TImageList* Images() const { return fImages; }
    void SetImages(TImageList* value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TContainedAction;
    std::vector<TContainedAction*> fActions;
    TImageList* fImages = nullptr;
};

class TActionList : public TCustomActionList {
    TV_CLASS(TActionList, TCustomActionList)
public:
    explicit TActionList(TComponent* AOwner = nullptr) : TCustomActionList(AOwner) {}
};

}  // namespace tv

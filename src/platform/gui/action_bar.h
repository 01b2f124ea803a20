#pragma once
// An action bar: a row of buttons across the top of a form, one per action (with the action's
// caption or one of its own) and separators between groups. Each button follows its action:
// disabling or hiding the action disables or hides the button; clicking runs the action.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/action.h"
#include "platform/gui/win_control.h"

namespace tv {

class TActionBar : public TWinControl {
    TV_CLASS(TActionBar, TWinControl)
public:
    explicit TActionBar(TComponent* AOwner = nullptr);
    ~TActionBar() override;

    // A button for Action, captioned Caption (empty: the action's caption).
    void AddAction(TCustomAction* Action, const std::string& Caption = "");
    void AddSeparator();
    int ItemCount() const { return static_cast<int>(fItems.size()); }
    // The caption the item shows ("" for a separator); raises EListError outside the items.
    std::string ItemCaption(int Index) const;
    bool ItemEnabled(int Index) const;
    bool ItemVisible(int Index) const;
    // Runs the item's action as a click on its button does.
    void ClickItem(int Index);

private:
    struct TItem;
    const TItem& Item(int Index) const;
    void FitHeight();
    std::vector<std::unique_ptr<TItem>> fItems;
};

}  // namespace tv

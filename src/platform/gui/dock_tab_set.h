#pragma once
// A tab strip on the edge of a form into which tool windows (or other controls) are docked: each
// docked control gets a tab with its caption. Expanded, one docked control shows beside the tabs;
// collapsed, only the tabs show. Clicking a tab shows its control, or collapses when it shows.
// Usually aligned to the left edge: its width follows, so the rest of the form makes room.

#include <vector>

#include "platform/gui/custom_control.h"

class QTabBar;

namespace tv {

class TDockTabSet : public TCustomControl {
    TV_CLASS(TDockTabSet, TCustomControl)
public:
    explicit TDockTabSet(TComponent* AOwner = nullptr);
    ~TDockTabSet() override;

    int DockClientCount() const { return static_cast<int>(fClients.size()); }
    // Raises EListError outside 0..DockClientCount-1.
    TControl* DockClients(int Index) const;
    // The width a shown control gets beside the tabs.
    int DockWidth() const { return fDockWidth; }
    void SetDockWidth(int value);
    // The docked control that shows; nil while collapsed.
    TControl* ShownClient() const { return fShown; }
    bool Expanded() const { return fShown != nullptr; }
    // Shows Client (docked here) beside the tabs.
    void Expand(TControl* Client);
    void Collapse();

    TNotifyEvent OnChange;

    TRect AlignRect() const override;

protected:
    void AlignControls(TRect rect) override;
    void DockClientChanged(TControl* client, bool docked) override;
    void ChildGeometryChanged(TControl* child) override;

private:
    int TabWidth() const;
    void UpdateTabs();
    void UpdateWidth();

    QTabBar* fTabs;  // a part of the widget, which frees it
    std::vector<TControl*> fClients;
    TControl* fShown = nullptr;
    int fDockWidth = 200;
    int fSetting = 0;
};

}  // namespace tv

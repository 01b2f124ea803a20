#include "platform/gui/dock_tab_set.h"

#include <QTabBar>
#include <algorithm>

#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TDockTabSet::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDockTabSet>("TDockTabSet").Build();
    return info;
}

TDockTabSet::TDockTabSet(TComponent* AOwner) : TCustomControl(AOwner), fTabs(new QTabBar(Widget())) {
    fTabs->setShape(QTabBar::RoundedWest);
    fTabs->setDrawBase(false);
    fTabs->setExpanding(false);
    GuardedConnect(this, fTabs, &QTabBar::tabBarClicked, [this](int index) {
        if (index < 0 || index >= DockClientCount()) return;
        TControl* client = fClients[index];
        if (fShown == client)
            Collapse();
        else
            Expand(client);
    });
    SetAlign(alLeft);
    UpdateWidth();
}

TDockTabSet::~TDockTabSet() {
    BeginDestroy();
    QObject::disconnect(fTabs, nullptr, nullptr, nullptr);
}

TControl* TDockTabSet::DockClients(int Index) const {
    if (Index < 0 || Index >= DockClientCount()) ListIndexError(Index);
    return fClients[Index];
}

int TDockTabSet::TabWidth() const {
    return fClients.empty() ? 0 : fTabs->sizeHint().width();
}

TRect TDockTabSet::AlignRect() const {
    TRect r = ClientRect();
    r.Left = std::min(r.Left + TabWidth(), r.Right);
    return r;
}

void TDockTabSet::SetDockWidth(int value) {
    fDockWidth = std::max(value, 0);
    UpdateWidth();
}

void TDockTabSet::UpdateWidth() {
    SetWidth(TabWidth() + (fShown ? fDockWidth : 0));
}

void TDockTabSet::UpdateTabs() {
    ++fSetting;
    while (fTabs->count() > DockClientCount()) fTabs->removeTab(fTabs->count() - 1);
    for (int i = 0; i < DockClientCount(); ++i) {
        const QString caption = ToQString(fClients[i]->Caption());
        if (i >= fTabs->count())
            fTabs->addTab(caption);
        else if (fTabs->tabText(i) != caption)
            fTabs->setTabText(i, caption);
    }
    const auto shown = std::find(fClients.begin(), fClients.end(), fShown);
    if (shown != fClients.end()) fTabs->setCurrentIndex(static_cast<int>(shown - fClients.begin()));
    fTabs->setVisible(!fClients.empty());
    --fSetting;
}

void TDockTabSet::AlignControls(TRect rect) {
    UpdateTabs();
    fTabs->setGeometry(0, 0, TabWidth(), Height());
    TCustomControl::AlignControls(rect);
}

void TDockTabSet::Expand(TControl* Client) {
    if (std::find(fClients.begin(), fClients.end(), Client) == fClients.end()) return;
    ++fSetting;
    fShown = Client;
    for (TControl* c : fClients) c->SetVisible(c == Client);
    --fSetting;
    UpdateTabs();
    UpdateWidth();
    Realign();
    if (OnChange) OnChange(this);
}

void TDockTabSet::Collapse() {
    if (!fShown) return;
    ++fSetting;
    fShown = nullptr;
    for (TControl* c : fClients) c->SetVisible(false);
    --fSetting;
    UpdateWidth();
    Realign();
    if (OnChange) OnChange(this);
}

void TDockTabSet::DockClientChanged(TControl* client, bool docked) {
    if (docked) {
        if (std::find(fClients.begin(), fClients.end(), client) == fClients.end()) fClients.push_back(client);
        // A control docked while visible shows at once.
        if (client->Visible()) {
            Expand(client);
            return;
        }
    } else {
        std::erase(fClients, client);
        if (fShown == client) fShown = nullptr;
    }
    if (ComponentState().Contains(csDestroying)) return;
    UpdateTabs();
    UpdateWidth();
    Realign();
}

void TDockTabSet::ChildGeometryChanged(TControl* child) {
    if (fSetting > 0 || std::find(fClients.begin(), fClients.end(), child) == fClients.end()) return;
    // Showing or hiding a docked control from outside expands to it or collapses.
    if (child->Visible() && fShown != child)
        Expand(child);
    else if (!child->Visible() && fShown == child)
        Collapse();
}

}  // namespace tv

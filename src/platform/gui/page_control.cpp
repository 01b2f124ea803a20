#include "platform/gui/page_control.h"

#include <QTabWidget>

#include "platform/gui/image_list.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {
QTabWidget* Tabs(const TPageControl* c) {
    return static_cast<QTabWidget*>(c->Widget());
}
}  // namespace

const TClassInfo& TTabSheet::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTabSheet>("TTabSheet").Build();
    return info;
}

const TClassInfo& TPageControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPageControl>("TPageControl").Build();
    return info;
}

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {}

TPageControl* TTabSheet::PageControl() const {
    return dynamic_cast<TPageControl*>(Parent());
}

void TTabSheet::SetPageControl(TPageControl* value) {
    SetParent(value);
}

int TTabSheet::PageIndex() const {
    TPageControl* pc = PageControl();
    if (!pc) return -1;
    const auto sheets = pc->Sheets();
    return static_cast<int>(std::find(sheets.begin(), sheets.end(), this) - sheets.begin());
}

void TTabSheet::SetPageIndex(int value) {
    TPageControl* pc = PageControl();
    if (!pc) return;
    const int count = pc->PageCount();
    value = std::clamp(value, 0, count - 1);
    if (value == PageIndex()) return;
    TPageControl* keep = pc;
    TTabSheet* active = pc->ActivePage();
    // Out and in again at the new place among the sheets.
    pc->UnplaceChild(this);
    auto sheets = pc->Sheets();
    std::erase(sheets, this);
    sheets.insert(sheets.begin() + value, this);
    int tab = 0;
    for (TTabSheet* s : sheets) {
        if (s == this) break;
        ++tab;
    }
    QTabWidget* tabs = Tabs(keep);
    ++keep->fSetting;
    tabs->insertTab(tab, Widget(), ToQString(Caption()));
    keep->UpdateTab(this);
    if (active) tabs->setCurrentWidget(active->Widget());
    --keep->fSetting;
}

int TTabSheet::TabIndex() const {
    TPageControl* pc = PageControl();
    if (!pc || !fTabVisible || !Visible()) return -1;
    int index = 0;
    for (TTabSheet* s : pc->Sheets()) {
        if (s == this) return index;
        if (s->fTabVisible && s->Visible()) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    fTabVisible = value;
    if (TPageControl* pc = PageControl()) pc->UpdateTab(this);
}

void TTabSheet::SetImageIndex(int value) {
    fImageIndex = value;
    if (TPageControl* pc = PageControl()) pc->UpdateTab(this);
}

void TTabSheet::TextChanged() {
    if (TPageControl* pc = PageControl()) pc->UpdateTab(this);
}

void TTabSheet::UpdateWidgetVisibility() {
    if (TPageControl* pc = PageControl())
        pc->UpdateTab(this);
    else
        TWinControl::UpdateWidgetVisibility();
}

void TTabSheet::UpdateWidgetGeometry() {
    // In a page control the tabs place the page.
    if (!PageControl()) TWinControl::UpdateWidgetGeometry();
}

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner, NewWidget<QTabWidget>()) {
    QTabWidget* tabs = Tabs(this);
    GuardedConnect(this, tabs, &QTabWidget::currentChanged, [this](int index) {
        const int previous = fShownIndex;
        fShownIndex = index;
        if (fSetting > 0) return;
        // The user picked the tab: OnChanging may refuse, and the previous page comes back.
        bool allow = true;
        if (OnChanging) OnChanging(this, allow);
        if (!allow && previous >= 0) {
            ++fSetting;
            Tabs(this)->setCurrentIndex(previous);
            --fSetting;
            fShownIndex = previous;
            return;
        }
        if (OnChange) OnChange(this);
    });
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    BeginDestroy();
    QObject::disconnect(Tabs(this), nullptr, nullptr, nullptr);
}

std::vector<TTabSheet*> TPageControl::Sheets() const {
    // In the order of the tab widget's pages, then any not placed yet.
    std::vector<TTabSheet*> sheets;
    QTabWidget* tabs = Tabs(this);
    for (int i = 0; i < tabs->count(); ++i)
        for (int c = 0; c < ControlCount(); ++c)
            if (auto* s = dynamic_cast<TTabSheet*>(Controls(c)); s && s->Widget() == tabs->widget(i))
                sheets.push_back(s);
    return sheets;
}

int TPageControl::PageCount() const {
    return Tabs(this)->count();
}

TTabSheet* TPageControl::Pages(int Index) const {
    const auto sheets = Sheets();
    if (Index < 0 || Index >= static_cast<int>(sheets.size())) ListIndexError(Index);
    return sheets[Index];
}

TTabSheet* TPageControl::ActivePage() const {
    QWidget* current = Tabs(this)->currentWidget();
    if (!current || Tabs(this)->currentIndex() < 0 || !Tabs(this)->isTabVisible(Tabs(this)->currentIndex()))
        return nullptr;
    for (TTabSheet* s : Sheets())
        if (s->Widget() == current) return s;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* value) {
    ++fSetting;
    if (value && value->PageControl() == this && value->fTabVisible && value->Visible())
        Tabs(this)->setCurrentWidget(value->Widget());
    --fSetting;
}

int TPageControl::ActivePageIndex() const {
    TTabSheet* active = ActivePage();
    return active ? active->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int value) {
    if (value < 0 || value >= PageCount()) return SetActivePage(nullptr);
    SetActivePage(Pages(value));
}

void TPageControl::SetImages(TImageList* value) {
    if (fImages) fImages->RemoveFreeNotification(this);
    fImages = value;
    if (value) value->FreeNotification(this);
    for (TTabSheet* s : Sheets()) UpdateTab(s);
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fImages) fImages = nullptr;
}

void TPageControl::UpdateTab(TTabSheet* sheet) {
    QTabWidget* tabs = Tabs(this);
    const int index = tabs->indexOf(sheet->Widget());
    if (index < 0) return;
    ++fSetting;
    tabs->setTabText(index, ToQString(sheet->Caption()));
    tabs->setTabIcon(
        index, fImages && sheet->fImageIndex >= 0 ? QIcon(fImages->Pixmap(sheet->fImageIndex)) : QIcon());
    tabs->setTabVisible(index, sheet->fTabVisible && sheet->Visible());
    --fSetting;
}

void TPageControl::PlaceChild(TControl* child) {
    auto* sheet = dynamic_cast<TTabSheet*>(child);
    if (!sheet || !sheet->Widget()) return TWinControl::PlaceChild(child);
    ++fSetting;
    Tabs(this)->addTab(sheet->Widget(), ToQString(sheet->Caption()));
    --fSetting;
    UpdateTab(sheet);
}

void TPageControl::UnplaceChild(TControl* child) {
    auto* sheet = dynamic_cast<TTabSheet*>(child);
    QTabWidget* tabs = Tabs(this);
    const int index = sheet && sheet->Widget() ? tabs->indexOf(sheet->Widget()) : -1;
    if (index < 0) return TWinControl::UnplaceChild(child);
    ++fSetting;
    tabs->removeTab(index);
    --fSetting;
    TWinControl::UnplaceChild(child);
}

}  // namespace tv

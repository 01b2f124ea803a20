#include "platform/gui/db_lookup_controls.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "platform/gui/application.h"
#include "platform/gui/data_aware_control.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/lookup_rows_view.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

// ---------------------------------------------------------------- both controls

template <class Base>
void TDBLookupControl<Base>::ShowDataState() {
    const bool showsData = !fList->DataSource() || fList->DataLink().Active();
    ShowWidgetEnabled(*this, Base::Enabled() && showsData);
}

template class TDBLookupControl<TWinControl>;

// ---------------------------------------------------------------- TDBLookupListBox

const TClassInfo& TDBLookupListBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBLookupListBox>("TDBLookupListBox").Build();
    return info;
}

TDBLookupListBox::TDBLookupListBox(TComponent* AOwner)
    : TDBLookupControl(AOwner, NewWidget<TLookupRowsView>()) {
    TLookupRowsView* view = View();
    view->SetSender(this);
    view->OnDoubleClick = [this] { DblClick(); };
    view->SetList(fList.get());
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, view->HeightForRows(7));
    ShowDataState();
}

TDBLookupListBox::~TDBLookupListBox() {
    BeginDestroy();
    View()->OnDoubleClick = nullptr;
    View()->SetList(nullptr);
    fList.reset();
}

TLookupRowsView* TDBLookupListBox::View() const {
    return static_cast<TLookupRowsView*>(Widget());
}

int TDBLookupListBox::RowCount() const {
    return fList->RowCount();
}

void TDBLookupListBox::SetRowCount(int rows) {
    SetHeight(View()->HeightForRows(rows));
}

std::string TDBLookupListBox::SelectedItem() const {
    return fSelectedItem;
}

void TDBLookupListBox::KeyValueChanged() {
    View()->KeyValueChanged();
    const TField* shown = fList->ShownField();
    fSelectedItem = shown && fList->KeyRow() >= 0 ? fList->RowText(fList->KeyRow(), shown) : std::string();
}

void TDBLookupListBox::ListDataChanged() {
    View()->ListDataChanged();
}

// ---------------------------------------------------------------- TDBLookupComboBox

namespace {

// The combo box itself: drawn as the desktop draws a combo box that shows `DisplayText`; its
// list is the control's drop-down, not the toolkit's.
class TLookupComboWidget : public QComboBox {
public:
    QString DisplayText;
    std::function<void()> OnShowPopup;
    std::function<void()> OnHidePopup;

    void showPopup() override {
        if (OnShowPopup) OnShowPopup();
    }
    void hidePopup() override {
        if (OnHidePopup) OnHidePopup();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText = DisplayText;
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

TLookupComboWidget* ComboWidget(const TControl* c) {
    return static_cast<TLookupComboWidget*>(c->Widget());
}

}  // namespace

// The drop-down of a lookup combo: a list of its own over the combo's list source, in a pop-up
// window. Enter (or a release of the mouse inside it) closes it choosing the row gone to; Escape,
// or a click elsewhere, closes it choosing nothing.
class TLookupComboPopup : public TLookupRowsView, public ILookupListClient {
public:
    explicit TLookupComboPopup(TComponent& combo) : fList(combo, *this) {
        setWindowFlags(Qt::Popup);
        SetDropDown(true);
        SetList(&fList);
        OnRelease = [this](bool inside) {
            if (inside) Close(true);
        };
    }
    ~TLookupComboPopup() override {
        OnClose = nullptr;
        SetList(nullptr);
    }

    TLookupList& List() { return fList; }
    std::function<void(bool accept)> OnClose;

    void KeyValueChanged() override { TLookupRowsView::KeyValueChanged(); }
    void ListDataChanged() override { TLookupRowsView::ListDataChanged(); }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_F4:
                return Close(true);
            case Qt::Key_Escape:
                return Close(false);
            case Qt::Key_Up:
            case Qt::Key_Down:
                if (e->modifiers() & Qt::AltModifier) return Close(true);
                break;
            default:
                break;
        }
        TLookupRowsView::keyPressEvent(e);
    }
    void hideEvent(QHideEvent* e) override {
        TLookupRowsView::hideEvent(e);
        Close(false);
    }

private:
    void Close(bool accept) {
        if (OnClose) OnClose(accept);
    }

    TLookupList fList;
};

const TClassInfo& TDBLookupComboBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBLookupComboBox>("TDBLookupComboBox").Build();
    return info;
}

TDBLookupComboBox::TDBLookupComboBox(TComponent* AOwner)
    : TDBLookupControl(AOwner, NewWidget<TLookupComboWidget>()) {
    TLookupComboWidget* combo = ComboWidget(this);
    combo->OnShowPopup = [this] {
        try {
            DropDown();
        } catch (...) {
            HandleGuiException(this);
        }
    };
    combo->OnHidePopup = [this] {
        try {
            CloseUp(false);
        } catch (...) {
            HandleGuiException(this);
        }
    };
    fPopup = new TLookupComboPopup(*this);
    fPopup->SetSender(this);
    fPopup->OnClose = [this](bool accept) {
        try {
            CloseUp(accept);
        } catch (...) {
            HandleGuiException(this);
        }
    };
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 145, 21);
    ShowDataState();
}

TDBLookupComboBox::~TDBLookupComboBox() {
    BeginDestroy();
    ComboWidget(this)->OnShowPopup = nullptr;
    ComboWidget(this)->OnHidePopup = nullptr;
    fListVisible = false;
    fPopup->OnClose = nullptr;
    DeleteWhenDelivered(fPopup);
    fList.reset();
}

void TDBLookupComboBox::KeyValueChanged() {
    const TField* shown = fList->ShownField();
    fText = shown && fList->FindKeyRecord() ? shown->DisplayText() : std::string();
    ComboWidget(this)->DisplayText = ToQString(fText);
    Widget()->update();
}

void TDBLookupComboBox::DropDown() {
    if (fListVisible || !fList->ListActive()) return;
    auto alive = Watch();
    if (OnDropDown) OnDropDown(this);
    if (alive.expired() || fListVisible || !fList->ListActive()) return;

    TLookupList& list = fPopup->List();
    list.SetReadOnly(!fList->CanEditValue());
    list.SetKeyField(fList->KeyField());
    list.SetListField(fList->ListField());
    list.SetListFieldIndex(fList->ListFieldIndex());
    list.SetListSource(fList->ListSource());
    list.SetKeyValue(fList->KeyValue());
    fPopup->setPalette(Widget()->palette());
    fPopup->setFont(Widget()->font());

    // Below the combo, or above it where the screen ends; its left edge, right edge or centre
    // in line with the combo's.
    QWidget* combo = Widget();
    const int width = fDropDownWidth > 0 ? fDropDownWidth : combo->width();
    const int height = fPopup->HeightForRows(fDropDownRows);
    const QPoint below = combo->mapToGlobal(QPoint(0, combo->height()));
    int x = below.x();
    if (fDropDownAlign == daRight) x += combo->width() - width;
    if (fDropDownAlign == daCenter) x += (combo->width() - width) / 2;
    int y = below.y();
    if (const QScreen* screen = combo->screen()) {
        const QRect room = screen->availableGeometry();
        if (y + height > room.bottom() + 1) y = combo->mapToGlobal(QPoint(0, 0)).y() - height;
    }
    fPopup->setGeometry(x, y, width, height);
    list.SetRowCount(fDropDownRows);
    fPopup->KeyValueChanged();
    fListVisible = true;
    fPopup->show();
    combo->update();
}

void TDBLookupComboBox::CloseUp(bool accept) {
    if (!fListVisible) return;
    fListVisible = false;
    TLookupList& list = fPopup->List();
    const Variant value = list.KeyValue();
    fPopup->hide();
    list.SetListSource(nullptr);
    fList->ClearSearch();
    Widget()->update();
    auto alive = Watch();
    if (accept && fList->CanEditValue()) fList->ChooseKeyValue(value);
    if (!alive.expired() && OnCloseUp) OnCloseUp(this);
}

bool TDBLookupComboBox::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (!TDBLookupControl::KeyDown(Key, Shift)) return false;
    if (Key != VK_UP && Key != VK_DOWN) return true;
    if (Shift.Contains(ssAlt)) {
        fListVisible ? CloseUp(true) : DropDown();
    } else if (!fListVisible && fList->CanEditValue()) {
        // One row from the key's row, or the first row when the key is not in the list.
        if (fList->FindKeyRecord())
            fList->MoveBy(Key == VK_UP ? -1 : 1);
        else
            fList->First();
        if (TDataSet* dataSet = fList->ListDataSet(); dataSet && !dataSet->IsEmpty())
            fList->ChooseKeyValue(fList->ListKeyField()->Value());
    }
    Key = 0;
    return false;
}

bool TDBLookupComboBox::KeyPress(char16_t& Key) {
    if (!TDBLookupControl::KeyPress(Key)) return false;
    if (!fListVisible && fList->TypeAheadSearch(Key)) {
        Key = 0;
        return false;
    }
    return true;
}

}  // namespace tv

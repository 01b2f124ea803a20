#include "platform/gui/list_box.h"

#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "platform/gui/item_strings.h"
#include "platform/gui/published_properties.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

class TListItems : public TItemStrings::TItems {
public:
    explicit TListItems(QListWidget* list) : fList(list) {}
    int Count() const override { return fList->count(); }
    QString Text(int i) const override { return fList->item(i)->text(); }
    void SetText(int i, const QString& text) override { fList->item(i)->setText(text); }
    TObject* Object(int i) const override {
        return reinterpret_cast<TObject*>(fList->item(i)->data(Qt::UserRole).value<quintptr>());
    }
    void SetObject(int i, TObject* object) override {
        fList->item(i)->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
    }
    void Insert(int i, const QString& text) override { fList->insertItem(i, text); }
    void Remove(int i) override { delete fList->takeItem(i); }
    void Clear() override { fList->clear(); }
    void SetUpdating(bool updating) override { fList->setUpdatesEnabled(!updating); }

private:
    QListWidget* fList;
};

QListWidget* List(const TCustomListBox* c) {
    return static_cast<QListWidget*>(c->Widget());
}

// Draws the items of an owner-drawn list through its DrawItem.
class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
    TOwnerDrawDelegate(TCustomListBox& list, std::function<void(QPainter*, int, const QRect&, uint8_t)> draw)
        : QStyledItemDelegate(list.Widget()), fList(list), fDraw(std::move(draw)) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (fList.Style() == lbStandard) return QStyledItemDelegate::paint(painter, option, index);
        uint8_t state = 0;
        if (option.state & QStyle::State_Selected) state |= odSelected;
        if (option.state & QStyle::State_HasFocus) state |= odFocused;
        fDraw(painter, index.row(), option.rect, state);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (fList.Style() != lbStandard) size.setHeight(fList.ItemHeight());
        return size;
    }

private:
    TCustomListBox& fList;
    std::function<void(QPainter*, int, const QRect&, uint8_t)> fDraw;
};

}  // namespace

const TClassInfo& TCustomListBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomListBox>("TCustomListBox").Build();
    return info;
}

const TClassInfo& TListBox::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Anchors",     "Color",          "Font",           "MultiSelect", "ParentColor", "ParentFont",
        "Sorted",      "Style",          "OnClick",        "OnDblClick",  "OnEnter",     "OnExit",
        "OnKeyDown",   "OnKeyPress",     "OnKeyUp",        "Columns",     "CTL3D",       "DragCursor",
        "DragMode",    "ExtendedSelect", "IntegralHeight", "ItemHeight",  "ParentCtl3D", "ParentShowHint",
        "TabWidth",    "OnDragDrop",     "OnDragOver",     "OnDrawItem",  "OnEndDrag",   "OnMeasureItem",
        "OnMouseDown", "OnMouseMove",    "OnMouseUp",      "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TListBox>("TListBox", kPublished);
    return info;
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner, NewWidget<QListWidget>()) {
    QListWidget* list = List(this);
    fItems = std::make_unique<TItemStrings>(std::make_unique<TListItems>(list));
    // The user's changes of the chosen item are clicks; the program's are not.
    GuardedConnect(this, list, &QListWidget::currentRowChanged, [this](int) {
        if (fSetting == 0) Click();
    });
    list->setItemDelegate(
        new TOwnerDrawDelegate(*this, [this](QPainter* painter, int index, const QRect& rect, uint8_t state) {
            TCanvas* canvas = Canvas();
            canvas->BeginPaint(painter, FromQRect(List(this)->viewport()->rect()));
            try {
                canvas->SetFont(Font());
                canvas->Brush()->SetStyle(bsSolid);
                canvas->Brush()->SetColor(Color());
                DrawItem(index, FromQRect(rect), state);
            } catch (...) {
                canvas->EndPaint();
                HandleGuiException(this);
                return;
            }
            canvas->EndPaint();
        }));
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    ApplySelectionMode();
    SetBounds(0, 0, 121, 97);
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
    if (value == fStyle) return;
    fStyle = value;
    List(this)->setUniformItemSizes(value != lbStandard);
    List(this)->doItemsLayout();
}

void TCustomListBox::SetItemHeight(int value) {
    if (value == fItemHeight) return;
    fItemHeight = value;
    if (fStyle != lbStandard) List(this)->doItemsLayout();
}

void TCustomListBox::DrawItem(int Index, TRect Rect, uint8_t State) {
    if (OnDrawItem) return OnDrawItem(this, Index, Rect, State);
    TCanvas* canvas = Canvas();
    if (State & odSelected) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->Font()->SetColor(clHighlightText);
    }
    canvas->FillRect(Rect);
    const std::string text = fItems->Strings(Index);
    canvas->TextOut(Rect.Left + 2, Rect.Top + (Rect.Height() - canvas->TextHeight(text)) / 2, text);
    if (State & odFocused) canvas->DrawFocusRect(Rect);
}

TCustomListBox::~TCustomListBox() {
    BeginDestroy();
    QObject::disconnect(List(this), nullptr, nullptr, nullptr);
}

TStrings* TCustomListBox::Items() const {
    return fItems.get();
}

void TCustomListBox::SetItems(TStrings* value) {
    ++fSetting;
    try {
        fItems->Assign(value);
    } catch (...) {
        --fSetting;
        throw;
    }
    --fSetting;
}

int TCustomListBox::ItemIndex() const {
    return List(this)->currentRow();
}

void TCustomListBox::SetItemIndex(int value) {
    if (value < -1 || value >= fItems->Count()) ListIndexError(value);
    ++fSetting;
    List(this)->setCurrentRow(value);
    --fSetting;
}

int TCustomListBox::SelCount() const {
    return fMultiSelect ? static_cast<int>(List(this)->selectedItems().size()) : -1;
}

bool TCustomListBox::Selected(int Index) const {
    if (Index < 0 || Index >= fItems->Count()) ListIndexError(Index);
    return List(this)->item(Index)->isSelected();
}

void TCustomListBox::SetSelected(int Index, bool value) {
    if (Index < 0 || Index >= fItems->Count()) ListIndexError(Index);
    ++fSetting;
    if (!fMultiSelect && value)
        List(this)->setCurrentRow(Index);
    else
        List(this)->item(Index)->setSelected(value);
    --fSetting;
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
    const QListWidget* list = List(this);
    if (QListWidgetItem* item = list->itemAt(QPoint(Pos.X, Pos.Y))) return list->row(item);
    return Existing ? -1 : list->count();
}

TRect TCustomListBox::ItemRect(int Index) const {
    const QListWidget* list = List(this);
    if (Index < 0 || Index >= list->count()) return {};
    return FromQRect(list->visualItemRect(list->item(Index)));
}

int TCustomListBox::TopIndex() const {
    const QListWidget* list = List(this);
    QListWidgetItem* item = list->itemAt(QPoint(1, 1));
    return item ? list->row(item) : 0;
}

void TCustomListBox::SetTopIndex(int value) {
    QListWidget* list = List(this);
    if (value < 0 || value >= list->count()) return;
    list->scrollToItem(list->item(value), QAbstractItemView::PositionAtTop);
}

void TCustomListBox::ApplySelectionMode() {
    List(this)->setSelectionMode(!fMultiSelect     ? QAbstractItemView::SingleSelection
                                 : fExtendedSelect ? QAbstractItemView::ExtendedSelection
                                                   : QAbstractItemView::MultiSelection);
}

void TCustomListBox::SetMultiSelect(bool value) {
    fMultiSelect = value;
    ApplySelectionMode();
}

void TCustomListBox::SetExtendedSelect(bool value) {
    fExtendedSelect = value;
    ApplySelectionMode();
}

bool TCustomListBox::Sorted() const {
    return fItems->Sorted();
}

void TCustomListBox::SetSorted(bool value) {
    fItems->SetSorted(value);
}

}  // namespace tv

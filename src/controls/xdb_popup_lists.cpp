// The in-place editor's lists: their windows, the pick values' mouse, the lookup list's release,
// and the lookup grid's columns, search, key value and clicks.

#include "controls/xdb_popup_lists.h"


#include "controls/xdb_columns.h"
#include "platform/data/data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/timer_clock.h"
#include "platform/rtl/codepage.h"
#include <charconv>
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

// The typed text of a search starts afresh after this pause and takes at most this many characters.
constexpr uint32_t kSearchPauseMs = 2000;
constexpr size_t kSearchMaxLength = 32;
constexpr char16_t kBackspace = 8;
constexpr char16_t kEsc = 27;

// The items of a ";"-separated list; a final ";" ends an empty last item ("Name;" is "Name" and "").
std::vector<std::string> ListItems(const std::string& text) {
    std::vector<std::string> items;
    if (text.empty()) return items;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(';', start);
        items.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return items;
}

std::string JoinItems(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) text += (i ? ";" : "") + items[i];
    return text;
}

// A string field of the data or internally calculated kind: what a search by typing can look in.
bool SearchableField(const TField* field) {
    if (!field) return false;
    const TFieldType type = field->DataType();
    const TFieldKind kind = field->FieldKind();
    return (type == TFieldType::ftString || type == TFieldType::ftFixedChar) &&
           (kind == fkData || kind == fkInternalCalc);
}

}  // namespace

// ---- the lookup list ----

const TClassInfo& TXPopupDataList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXPopupDataList>("TXPopupDataList").Build();
    return info;
}

TXPopupDataList::TXPopupDataList(TComponent* AOwner) : TXPopup<TDBLookupListBox>(AOwner) {
    SetTabStop(false);
    SetVisible(false);
}

void TXPopupDataList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TXPopup::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft) DoCloseUp(ClientRect().Contains({X, Y}));
}

// ---- the lookup grid ----

const TClassInfo& TXPopupGridList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXPopupGridList>("TXPopupGridList").Build();
    return info;
}

TXPopupGridList::TXPopupGridList(TComponent* AOwner) : TXPopup<TXDBGrid>(AOwner) {
    SetTabStop(false);
    SetVisible(false);
}

std::string TXPopupGridList::ListFields() const {
    std::vector<std::string> items;
    for (int i = 0; i < Columns()->Count(); ++i) items.push_back(Columns()->Items(i)->FieldName());
    return JoinItems(items);
}

void TXPopupGridList::SetListFields(const std::string& value) {
    if (value == fListFields) return;
    fListFields = value;
    fListTitles.clear();
    fListWidths.clear();
    BeginLayout();
    Columns()->Clear();
    for (const std::string& item : ListItems(value)) {
        TXColumn* column = Columns()->Add();
        if (item.empty()) {
            // An empty item numbers the rows.
            column->SetAutoNumber(true);
            column->SetAlignment(taRightJustify);
            column->Title()->SetCaption(kAutoNumberCaption);
        } else {
            column->SetFieldName(item);
        }
        column->Title()->SetAlignment(taCenter);
    }
    EndLayout();
}

std::string TXPopupGridList::ListTitles() const {
    std::vector<std::string> items;
    for (int i = 0; i < Columns()->Count(); ++i) items.push_back(Columns()->Items(i)->Title()->Caption());
    return JoinItems(items);
}

void TXPopupGridList::SetListTitles(const std::string& value) {
    if (value == fListTitles) return;
    fListTitles = value;
    const std::vector<std::string> items = ListItems(value);
    for (int i = 0; i < Columns()->Count() && i < static_cast<int>(items.size()); ++i)
        Columns()->Items(i)->Title()->SetCaption(items[i]);
}

std::string TXPopupGridList::ListWidths() const {
    std::vector<std::string> items;
    for (int i = 0; i < Columns()->Count(); ++i) items.push_back(std::to_string(Columns()->Items(i)->WidthBase()));
    return JoinItems(items);
}

void TXPopupGridList::SetListWidths(const std::string& value) {
    if (value == fListWidths) return;
    fListWidths = value;
    const std::vector<std::string> items = ListItems(value);
    for (int i = 0; i < Columns()->Count() && i < static_cast<int>(items.size()); ++i) {
        // A width that is no number keeps the column's.
        int width = 0;
        const std::string& item = items[i];
        const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), width);
        if (error == std::errc() && end == item.data() + item.size()) Columns()->Items(i)->SetWidthBase(width);
    }
}

void TXPopupGridList::SpanFirstColumn(bool span, bool expanded) {
    if (Columns()->Count() == 0) return;
    TXColumn* first = Columns()->Items(0);
    const bool spans = span && Columns()->Count() > 1;
    first->SetExpandCols(spans ? Columns()->Count() - 1 : 0);
    if (spans) first->SetExpanded(expanded);
}

bool TXPopupGridList::FirstColumnSpans() const {
    return Columns()->Count() > 1 && Columns()->Items(0)->ExpandCols() > 0;
}

Variant TXPopupGridList::KeyValue() const {
    TDataSet* data = DataSource() ? DataSource()->DataSet() : nullptr;
    if (!data || !data->Active() || KeyFields().empty()) return Variant();
    TField* field = data->FindField(KeyFields());
    return field ? field->Value() : Variant();
}

void TXPopupGridList::SetKeyValue(const Variant& value) {
    TDataSet* data = DataSource() ? DataSource()->DataSet() : nullptr;
    if (!data || !data->Active() || KeyFields().empty()) return;
    data->Locate(KeyFields(), value);
}

void TXPopupGridList::SearchKey(char16_t Key) {
    TDataSet* data = DataSource() ? DataSource()->DataSet() : nullptr;
    if (!data || !data->Active() || !SearchableField(data->FindField(fSearchField))) return;
    if (Key == kBackspace || Key == kEsc) {
        fSearchText.clear();
        return;
    }
    if (Key < 32) return;
    const uint32_t now = GetTickCount();
    if (now - fSearchTickCount > kSearchPauseMs) fSearchText.clear();
    fSearchTickCount = now;
    // The limit counts characters, not the bytes of their UTF-8.
    if (Utf8ToUtf16(fSearchText).size() >= kSearchMaxLength) return;
    const std::string text = fSearchText + Utf16ToUtf8(std::u16string(1, Key));
    if (data->Locate(fSearchField, Variant::FromUtf8(text), loCaseInsensitive | loPartialKey)) fSearchText = text;
}

bool TXPopupGridList::KeyPress(char16_t& Key) {
    const char16_t key = Key;
    const bool passed = TXPopup::KeyPress(Key);
    SearchKey(key);
    return passed;
}

void TXPopupGridList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        fClickTime = GetTickCount() | 1;  // never 0: 0 stands for no press
        fSearchText.clear();
    }
    TXPopup::MouseDown(Button, Shift, X, Y);
}

void TXPopupGridList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const bool normal = GridState() == gsNormal;
    TXPopup::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !normal || fClickTime == 0) return;
    fClickTime = 0;
    if (!ClientRect().Contains({X, Y})) {
        DoCloseUp(false);
        return;
    }
    // A data row closes the list; the titles and totals do not.
    const int row = MouseCoord(X, Y).Y;
    if (row >= TitleOffset() && row < RowCount() - TotalOffset()) DoCloseUp(true);
}

void TXPopupGridList::ColWidthsChanged() {
    TXPopup::ColWidthsChanged();
    if (!DataSource() || StretchMode() || !Visible()) return;
    int columns = 0;
    for (int i = 0; i < ColCount(); ++i) columns += ColWidths(i) + GridLineWidth();
    SetWidth(columns + (Width() - ClientWidth()));
}

}  // namespace tv

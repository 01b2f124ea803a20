// The data grid's in-place editor. Each time the grid shows it for a cell it takes the cell's
// edit style, then from the selected column its colour, letter case, read-only state, font and
// hint, its text from the grid, and the pop-up the column asks for; entering a cell of a column
// with loAutoDropDown opens that pop-up. A value chosen in a list, stepped to with the keypad, or
// completed while typing goes back into the field (a lookup field's key field) or the edit text.

#include "controls/xdb_inplace_edit.h"

#include <algorithm>

#include <QCoreApplication>
#include <QString>
#include <QWidget>
#include <QWheelEvent>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_inplace_edit_layout.h"
#include "controls/xdb_popup_lists.h"
#include "controls/xdb_popup_pick_list.h"
#include "platform/data/data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/posted_messages.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

constexpr uint16_t kF2 = VK_F1 + 1;
// The keypad's plus and minus (other plus and minus keys have other numbers).
constexpr uint16_t kKeypadPlus = 0x6B;
constexpr uint16_t kKeypadMinus = 0x6D;
constexpr char16_t kBackspace = 8;
// Posted on entering a cell of a column with loAutoDropDown: F2 then opens the list.
constexpr uint32_t kAutoDropDownMessage = 1;

int Characters(const std::string& text) {
    return static_cast<int>(ToQString(text).size());
}

// The first `count` characters of `text`, and what follows them.
std::string Head(const std::string& text, int count) {
    return FromQString(ToQString(text).left(count));
}

// Includes `value` in `set` when `on`, else excludes it.
template <class S, class E>
void Put(S& set, E value, bool on) {
    if (on)
        set.Include(value);
    else
        set.Exclude(value);
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return ToQString(text).startsWith(ToQString(prefix), Qt::CaseInsensitive);
}

}  // namespace

const TClassInfo& TXDBGridInplaceEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDBGridInplaceEdit>("TXDBGridInplaceEdit").Build();
    return info;
}

TXDBGridInplaceEdit::TXDBGridInplaceEdit(TXCustomDBGrid* AGrid)
    : TXInplaceEditList(AGrid),
      fDBGrid(AGrid),
      fLookupSource(std::make_unique<TDataSource>()),
      fMessages(std::make_unique<TPostedMessages>(
          [this](uint32_t) {
              if (!Visible() || !fDBGrid->EditorMode()) return;
              uint16_t key = kF2;
              KeyDown(key, {});
          },
          this)) {}

TXDBGridInplaceEdit::~TXDBGridInplaceEdit() {
    fMessages.reset();
    if (fLookupClosed && fLookupSource->DataSet()) fLookupSource->DataSet()->Close();
}

TXEditStyle TXDBGridInplaceEdit::CellEditStyle() {
    return fDBGrid->GetColumnEditStyle(fDataEditor);
}

bool TXDBGridInplaceEdit::GridStyleLists() const {
    return fDBGrid->OptionsExt().Contains(dgGridStyleLists);
}

bool TXDBGridInplaceEdit::F2ClosesAsChoice() const {
    TXColumn* column = fDBGrid->SelectedColumn();
    return column && column->ListOptions().Contains(loAutoDropDown);
}

const TStrings* TXDBGridInplaceEdit::PickValues() {
    TXColumn* column = fDBGrid->SelectedColumn();
    return column ? column->PickDisplay() : TXInplaceEditList::PickValues();
}

// ---- showing the editor for a cell ----

void TXDBGridInplaceEdit::UpdateContents() {
    // The column's settings first, so that the text arrives in the column's letter case.
    ApplyColumn();
    TXInplaceEditList::UpdateContents();
    ChooseActiveList();
    CheckAutoDropDown();
}

void TXDBGridInplaceEdit::ApplyColumn() {
    const TColor color = fDBGrid->EditorColor();
    SetColor(color == clDefault ? TXCustomDBGrid::DefaultEditorColor() : color == clNone ? clWindow : color);
    TXColumn* column = fDBGrid->SelectedColumn();
    if (!column) return;
    SetCharCase(column->CharCase());
    SetReadOnly(column->ReadOnly() || column->PickOptions().Contains(poDropDownList));
    SetFont(column->Font());
    const TXHintOptions hints = fDBGrid->HintOptions();
    SetShowHint(fDBGrid->ShowHint() && (hints.Contains(hoEditorHints) || !hints.Contains(hoShowEditorHints)));
    SetHint(EditorHintText());
}

std::string TXDBGridInplaceEdit::EditorHintText() {
    // The grid's Hint follows the cell its hint query last hinted; the main hint is the program's.
    TXColumn* column = fDBGrid->SelectedColumn();
    if (!column || !fDBGrid->HintOptions().Contains(hoEditorHints)) return fDBGrid->MainHint();
    std::string hint = column->EditorHint();
    fDBGrid->CellHint(column, 0, hcEditor, hint);
    return hint;
}

bool TXDBGridInplaceEdit::EditorHintQuery() {
    const bool show = fDBGrid->HintOptions().Contains(hoShowEditorHints);
    SetHint(EditorHintText());
    fDBGrid->fHintPause = show ? 2 : 1;
    return show;
}

void TXDBGridInplaceEdit::ChooseActiveList() {
    if (EditStyle() != esPickList) return;
    switch (fDataEditor) {
        case dePickList:
            break;
        case deDataList:
            if (!fDataList) {
                fDataList = new TXPopupDataList(this);
                fDataList->SetParent(this);
                fDataList->SetGrid(fDBGrid);
                fDataList->SetKeyTarget(this);
                fDataList->OnCloseUp = [this](bool accept) { PickListCloseUp(accept); };
            }
            SetActiveList(fDataList);
            break;
        case deGridList:
            if (!fGridList) {
                fGridList = new TXPopupGridList(this);
                fGridList->SetParent(this);
                fGridList->SetGrid(fDBGrid);
                fGridList->SetKeyTarget(this);
                fGridList->OnCloseUp = [this](bool accept) { PickListCloseUp(accept); };
            }
            SetActiveList(fGridList);
            break;
        case deCalendar:
        case deCalculator:
            SetActiveList(DateOrNumberEditor());
            break;
    }
    if (ActiveList()) ActiveList()->SetShowHint(false);
}

void TXDBGridInplaceEdit::CheckAutoDropDown() {
    const int col = fDBGrid->Col();
    const int row = fDBGrid->Row();
    if ((col == fLastCol && row == fLastRow) || fLastCol == -2 || fDBGrid->UpdateLock() >= 2) return;
    fLastCol = col;
    fLastRow = row;
    TXColumn* column = fDBGrid->SelectedColumn();
    if (column && column->ListOptions().Contains(loAutoDropDown) && EditStyle() != esSimple)
        fMessages->Post(kAutoDropDownMessage);
}

void TXDBGridInplaceEdit::MouseReleased() {
    if (fLastCol != -2) return;
    fLastCol = fDBGrid->Col();
    fLastRow = fDBGrid->Row();
}

void TXDBGridInplaceEdit::EditorButtonClick() {
    // A drop-down-menu column drops its menu under the cell; without one the button clicks.
    TXColumn* column = fDBGrid->SelectedColumn();
    if (column && column->ButtonStyle() == cbsDropDownMenu && fDBGrid->DropDownMenu(column, false)) return;
    fDBGrid->EditButtonClick();
}

// ---- the lookup the column stands for ----

TDataSet* TXDBGridInplaceEdit::LookupDataSet() const {
    TXColumn* column = fDBGrid->SelectedColumn();
    if (!column) return nullptr;
    TField* field = column->Field();
    if (field && field->FieldKind() == fkLookup) return field->LookupDataSet();
    return column->LookupKeyField().empty() ? nullptr : column->LookupDataSet();
}

std::string TXDBGridInplaceEdit::LookupKeyName() const {
    TXColumn* column = fDBGrid->SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (field && field->FieldKind() == fkLookup) return field->LookupKeyFields();
    return column ? column->LookupKeyField() : std::string();
}

std::string TXDBGridInplaceEdit::LookupResultName() const {
    TXColumn* column = fDBGrid->SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (field && field->FieldKind() == fkLookup) return field->LookupResultField();
    return column ? column->LookupKeyField() : std::string();
}

Variant TXDBGridInplaceEdit::CurrentKeyValue() const {
    TXColumn* column = fDBGrid->SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (!field) return Variant();
    if (field->FieldKind() == fkLookup) {
        TField* key = field->DataSet()->FindField(field->KeyFields());
        return key ? key->Value() : Variant();
    }
    return field->Value();
}

bool TXDBGridInplaceEdit::LookupActive() const {
    return ActiveList() && (ActiveList() == fDataList || ActiveList() == fGridList);
}

template <class F>
auto TXDBGridInplaceEdit::WithLookupOpen(F work) {
    TDataSet* data = LookupDataSet();
    const bool opened = data && !data->Active();
    if (opened) data->Open();
    try {
        auto result = work(data);
        if (opened) data->Close();
        return result;
    } catch (...) {
        if (opened) data->Close();
        throw;
    }
}

// ---- opening a list ----

void TXDBGridInplaceEdit::DropDown() {
    if (ListVisible() || !ActiveList()) return;
    TXColumn* column = fDBGrid->SelectedColumn();
    if (!column) return;
    SetDropDownRows(column->DropDownRows());
    SetDropDownWidth(column->DropDownWidth());
    if (ActiveList() == fGridList)
        PrepareGridList();
    else if (ActiveList() == fDataList)
        PrepareDataList();
    else if (DateOrNumberListActive())
        PrepareDateOrNumberEditor();
    else if (ActiveList() == PickList() && column->PickItems())
        PickList()->Items()->Assign(const_cast<TStrings*>(column->PickItems()));
    TXInplaceEditList::DropDown();
}

void TXDBGridInplaceEdit::ListDroppingDown() {
    fDBGrid->ListDropDown(ActiveList());
}

void TXDBGridInplaceEdit::OpenLookup() {
    TDataSet* data = LookupDataSet();
    if (data && !data->Active() && LookupDataSet() == fDBGrid->SelectedColumn()->LookupDataSet()) {
        data->Open();
        fLookupClosed = true;
    }
    fLookupSource->SetDataSet(data);
}

void TXDBGridInplaceEdit::PrepareDataList() {
    TXColumn* column = fDBGrid->SelectedColumn();
    fDataList->SetColor(Color());
    fDataList->SetFont(Font());
    OpenLookup();
    fDataList->SetKeyField(LookupKeyName());
    fDataList->SetListField(column->LookupListFields().empty() ? LookupResultName() : column->LookupListFields());
    fDataList->SetKeyValue(Variant());
    fDataList->SetListSource(fLookupSource.get());
    fDataList->SetKeyValue(CurrentKeyValue());
    const int rows = DataListRows();
    fDataList->SetRowCount(rows);
    fDataList->SetWidth(DataListWidth());
    fListRowHeight = fDataList->ClientHeight() / rows;
}

int TXDBGridInplaceEdit::DataListRows() {
    TDataSet* data = LookupDataSet();
    return LimitListRows(data && data->Active() ? data->RecordCount() : 0);
}

int TXDBGridInplaceEdit::DataListWidth() {
    TCanvas* canvas = fDBGrid->MeasureCanvas(fDataList->Font());
    const int digit = canvas->TextWidth("0");
    int width = Grid()->ScrollBarExtent() - 2;
    TDataSet* data = LookupDataSet();
    if (data)
        for (TField* field : data->GetFieldList(fDataList->ListField())) width += field->DisplayWidth() * digit + 6;
    return LimitListWidth(width);
}

void TXDBGridInplaceEdit::PrepareGridList() {
    TXColumn* column = fDBGrid->SelectedColumn();
    TXPopupGridList* list = fGridList;
    list->SetCtl3D(false);
    list->SetColor(Color());
    list->SetFont(Font());
    ApplyGridLook(*list);
    const TXListOptions options = column->ListOptions();
    // Options: no editing and no indicator; rows selected as the grid selects them; the sort
    // markers and the order follow the titles only where the column lets the user order the list.
    const bool rowSelect = fDBGrid->Options().Contains(dgRowSelect) || fDBGrid->SelectRowColor() == clNone;
    const bool changeOrder = options.Contains(loAllowChangeOrder);
    TXDBGridOptions gridOptions = list->Options() - TXDBGridOptions{dgEditing, dgIndicator} +
                                  TXDBGridOptions{dgForceSequence, dgThumbTracking};
    Put(gridOptions, dgRowSelect, rowSelect);
    Put(gridOptions, dgAlwaysShowSelection, rowSelect);
    Put(gridOptions, dgMarkerAutoAlign, fDBGrid->Options().Contains(dgMarkerAutoAlign));
    Put(gridOptions, dgTitles, options.Contains(loShowLookupListTitles));
    Put(gridOptions, dgTitleButtons, changeOrder);
    Put(gridOptions, dgMarkerAutoToggle, changeOrder);
    list->SetOptions(gridOptions);
    TXDBGridOptionsEx optionsEx = list->OptionsEx() + TXDBGridOptionsEx{dgAutoUpdateSequence};
    optionsEx.Exclude(dgDelayUpdateSequence);
    Put(optionsEx, dgLoadCurrentOrder, changeOrder);
    Put(optionsEx, dgAutoUpdateOrder, changeOrder);
    list->SetOptionsEx(optionsEx);
    list->SetOptionsExt(list->OptionsExt() + TXDBGridOptionsExt{dgMouseTracking});
    list->SetOrderFields("");
    TXResizeOptions resize = {};
    if (options.Contains(loAllowColumnResize)) resize = resize + TXResizeOptions{roColumnResize, roOptimalWidth, roDefaultWidth};
    if (options.Contains(loAllowColumnMoving)) resize.Include(roColumnMoving);
    list->SetResizeOptions(resize);
    list->SetScrollBars(ssVertical);
    OpenLookup();
    list->SetKeyFields(LookupKeyName());
    list->SetListFields(column->LookupListFields().empty() ? LookupResultName() : column->LookupListFields());
    list->SetListTitles(column->LookupListTitles());
    list->SetListWidths(column->LookupListWidths());
    list->SpanFirstColumn(options.Contains(loExpandFirstColumn), options.Contains(loFirstColumnExpanded));
    list->SetSearchField(LookupResultName());
    list->SetDataSource(fLookupSource.get());
    list->SetKeyValue(CurrentKeyValue());
    list->SetBounds(0, 0, GridListWidth(), GridListHeight());
    fListRowHeight = list->RowHeight();
    fListMinHeight = TitleHeight(*list) + fListRowHeight;
}

void TXDBGridInplaceEdit::ApplyGridLook(TXPopupGridList& list) const {
    const TXCustomDBGrid& grid = *fDBGrid;
    list.SetDataColLineColor(clNone);
    list.SetDataRowLineColor(clDefault);
    list.SetGradient(grid.Gradient());
    list.SetGridStyle(grid.GridStyle());
    // The list's titles are one pixel taller than its rows.
    list.GridStyle()->SetTitleRowSpace(grid.GridStyle()->DataRowSpace() + 1);
    list.SetFixedColor(grid.FixedColor());
    list.SetFixedStyle(grid.FixedStyle());
    list.SetFixedTheme(grid.FixedTheme());
    list.SetFocusRect(frNone);
    list.SetHighlightText(grid.HighlightText());
    list.SetHotButtons(grid.HotButtons());
    list.SetImeMode(grid.ImeMode());
    list.SetImeName(grid.ImeName());
    list.SetListBorder(grid.ListBorder());
    list.SetMarkerStyle(grid.MarkerStyle());
    list.SetMarkerTransparent(grid.MarkerTransparent());
    list.SetScrollProp(grid.ScrollProp());
    list.SetSelectCellColor(grid.SelectCellColor() == clNone ? clDefault : grid.SelectCellColor());
    list.SetSelectionColor(grid.SelectionColor());
    list.SetSelectRowColor(grid.SelectRowColor());
    list.SetShowHint(grid.ShowHint());
    list.SetStretchWidthMin(grid.StretchWidthMin());
    list.SetStretchWidthMax(grid.StretchWidthMax());
    list.TitleFont()->Assign(grid.TitleFont());
}

int TXDBGridInplaceEdit::TitleHeight(const TXPopupGridList& list) {
    int height = 0;
    for (int row = 0; row < list.TitleOffset(); ++row) height += list.RowHeights(row) + list.GridLineWidth();
    return height;
}

int TXDBGridInplaceEdit::GridListHeight() {
    TDataSet* data = LookupDataSet();
    const int records = data && data->Active() ? data->RecordCount() : 0;
    const int frame = fGridList->Height() - fGridList->ClientHeight();
    return LimitListRows(records) * fGridList->RowHeight() + TitleHeight(*fGridList) + 1 + frame;
}

int TXDBGridInplaceEdit::GridListWidth() {
    TXPopupGridList* list = fGridList;
    list->SetStretchMode(false);
    const int border = list->Width() - list->ClientWidth() + Grid()->ScrollBarExtent();
    auto columnsWidth = [list] {
        int columns = 0;
        for (int i = 0; i < list->Columns()->Count(); ++i)
            if (list->Columns()->Items(i)->Visible()) columns += list->Columns()->Items(i)->Width() + list->GridLineWidth();
        return columns;
    };
    if (list->FirstColumnSpans()) {
        // The heading column is at least as wide as the editor (the list then its width + 2);
        // closed, it is all the list shows, and the list takes its width from it.
        TXColumn* first = list->Columns()->Items(0);
        fSaveWidth = first->WidthBase();
        fInitWidth = std::max(fSaveWidth, Width() - border + 1);
        first->SetWidthBase(fInitWidth);
        if (!first->Expanded()) return columnsWidth() + border;
    }
    const int columns = columnsWidth();
    const int width = LimitListWidth(columns + border);
    TXColumn* column = fDBGrid->SelectedColumn();
    if (column->DropDownWidth() > 0 || width > kListWidthLimit || columns + border < width) list->SetStretchMode(true);
    return width;
}

// ---- closing a list ----

void TXDBGridInplaceEdit::CloseUp(bool Accept) {
    if (!ListVisible()) return;
    TWinControl* list = ActiveList();
    Variant value;
    if (list == fGridList) {
        value = fGridList->KeyValue();
    } else if (list == fDataList) {
        value = fDataList->KeyValue();
    } else if (DateOrNumberListActive()) {
        value = DateOrNumberResult();
    } else if (list == PickList()) {
        const int index = PickList()->ItemIndex();
        if (index >= 0)
            value = Variant::FromUtf8(PickList()->Items()->Strings(index));
        else
            Accept = false;
    }
    HideList();
    fDBGrid->ListCloseUp(list, value, Accept);
    TXColumn* column = fDBGrid->SelectedColumn();
    if (list == fGridList) {
        // The user's column moves and resizes in the list stay with the column, and so does
        // whether the heading column was open; a width only the editor gave it goes back.
        if (column && column->ListOptions().Contains(loExpandFirstColumn) && fGridList->FirstColumnSpans()) {
            TXColumn* first = fGridList->Columns()->Items(0);
            TXListOptions options = column->ListOptions();
            if (first->Expanded())
                options.Include(loFirstColumnExpanded);
            else
                options.Exclude(loFirstColumnExpanded);
            column->SetListOptions(options);
            if (first->WidthBase() == fInitWidth) first->SetWidthBase(fSaveWidth);
        }
        if (column) {
            column->SetLookupListFields(fGridList->ListFields());
            column->SetLookupListTitles(fGridList->ListTitles());
            column->SetLookupListWidths(fGridList->ListWidths());
        }
        fGridList->SetDataSource(nullptr);
    } else if (list == fDataList) {
        fDataList->SetListSource(nullptr);
    } else if (list == PickList()) {
        PickList()->Items()->Clear();
    }
    if (fLookupClosed && fLookupSource->DataSet()) fLookupSource->DataSet()->Close();
    fLookupClosed = false;
    fLookupSource->SetDataSet(nullptr);
    if (Accept) ApplyListValue(value, false);
}

// ---- putting values back ----

void TXDBGridInplaceEdit::ApplyListValue(const Variant& value, bool AsText) {
    TXColumn* column = fDBGrid->SelectedColumn();
    if (!column) return;
    TField* field = column->Field();
    if (field && field->FieldKind() == fkLookup) {
        TField* key = field->DataSet()->FindField(field->KeyFields());
        if (!key || !key->CanModify() || !fDBGrid->DataLink()->Edit()) return;
        if (value.IsString() && value.AsUtf8().empty())
            key->SetAsString("");
        else
            key->SetValue(value);
        return;
    }
    const std::string text = value.IsNull() || value.IsEmpty() ? std::string() : value.AsUtf8();
    // The record is put in edit state first: the text handed on is then the edit's own, and no
    // refresh from the field takes it back when the user types on.
    if (!fDBGrid->CanEditModify()) return;
    if (AsText) {
        HandTextToGrid(text);
        SetModified(true);
    } else {
        column->SetEditText(text);
    }
}

bool TXDBGridInplaceEdit::ClearListValue() {
    TXColumn* column = fDBGrid->SelectedColumn();
    if (!column || !column->ListOptions().Contains(loAllowClearValue) || !ActiveList()) return false;
    TField* field = column->Field();
    const bool lookup = field && field->FieldKind() == fkLookup;
    if (!lookup && !(ActiveList() == PickList() && column->PickOptions().Contains(poDropDownList))) return false;
    const std::string text = Text();
    if (!text.empty() && SelStart() == 0 && SelLength() == Characters(text)) ApplyListValue(Variant::FromUtf8(""), false);
    return true;
}

bool TXDBGridInplaceEdit::StepListValue(bool Next) {
    TXColumn* column = fDBGrid->SelectedColumn();
    if (!column || !column->ListOptions().Contains(loSelectNextValue)) return false;
    if (!LookupActive()) {
        const TStrings* display = column->PickDisplay();
        if (!display || display->Count() == 0) return false;
        const int count = display->Count();
        const int at = display->IndexOf(Text());
        const int step = Next ? (at + 1) % count : (at <= 0 ? count - 1 : at - 1);
        ApplyListValue(Variant::FromUtf8(display->Strings(step)), true);
        SelectAll();
        return true;
    }
    const std::string keyName = LookupKeyName();
    const Variant key = CurrentKeyValue();
    const bool stepped = WithLookupOpen([&](TDataSet* data) {
        if (!data || data->IsEmpty()) return false;
        if (data->Locate(keyName, key)) {
            if (Next) {
                data->Next();
                if (data->Eof()) data->First();
            } else {
                data->Prior();
                if (data->Bof()) data->Last();
            }
        } else if (Next) {
            data->First();
        } else {
            data->Last();
        }
        ApplyListValue(data->FieldByName(keyName).Value(), false);
        return true;
    });
    if (stepped) SelectAll();
    return true;
}

// ---- completing what is typed ----

int TXDBGridInplaceEdit::FindPrefix(const TStrings* list, const std::string& prefix) {
    for (int i = 0; i < list->Count(); ++i)
        if (StartsWithIgnoringCase(list->Strings(i), prefix)) return i;
    return -1;
}

bool TXDBGridInplaceEdit::AutoCompleteKey(char16_t& Key) {
    if (!fDBGrid->CanEditShow()) return true;
    if (Key == kBackspace) {
        if (!ReadOnly() || SelStart() == 0) return true;
        // A read-only editor: Backspace widens the selection to the left.
        const int start = SelStart();
        const int length = SelLength();
        SetSelStart(start - 1);
        SetSelLength(length + 1);
        Key = 0;
        return false;
    }
    if (Key < 32) return true;
    const std::string text = Text();
    if (!ReadOnly() && SelLength() == 0 && SelStart() != Characters(text)) return true;
    const std::string prefix = Head(text, SelStart()) + FromQString(QString(QChar(Key)));
    if (!AutoCompleteText(prefix)) return true;
    Key = 0;
    return false;
}

bool TXDBGridInplaceEdit::AutoCompleteText(const std::string& prefix) {
    TXColumn* column = fDBGrid->SelectedColumn();
    if (prefix.empty() || !column) return false;
    const TStrings* display = column->PickDisplay();
    const bool picks = display && display->Count() > 0;
    if (!LookupActive() && !picks) return false;
    const int typed = Characters(prefix);
    auto selectRest = [&] {
        SetSelStart(typed);
        SetSelLength(std::max(0, Characters(Text()) - typed));
    };
    if (StartsWithIgnoringCase(Text(), prefix)) {
        selectRest();
        return true;
    }
    if (!LookupActive()) {
        const int found = FindPrefix(display, prefix);
        if (found < 0) return false;
        ApplyListValue(Variant::FromUtf8(prefix + FromQString(ToQString(display->Strings(found)).mid(typed))), true);
        selectRest();
        return true;
    }
    const std::string keyName = LookupKeyName();
    const std::string resultName = LookupResultName();
    const bool completed = WithLookupOpen([&](TDataSet* data) {
        TField* result = data ? data->FindField(resultName) : nullptr;
        if (!result || !(result->DataType() == TFieldType::ftString || result->DataType() == TFieldType::ftFixedChar) ||
            !(result->FieldKind() == fkData || result->FieldKind() == fkInternalCalc) || result->Size() < typed)
            return false;
        if (!data->Locate(resultName, Variant::FromUtf8(prefix), loCaseInsensitive | loPartialKey)) return false;
        ApplyListValue(data->FieldByName(keyName).Value(), true);
        return true;
    });
    if (completed) selectRest();
    return completed;
}

// ---- keys, mouse and wheel ----

bool TXDBGridInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
    fDropChar = false;
    if (!Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl)) {
        if ((Key == kKeypadPlus || Key == kKeypadMinus) && StepListValue(Key == kKeypadPlus)) {
            fDropChar = true;
            Key = 0;
            return false;
        }
        if (Key == VK_DELETE && ClearListValue()) {
            Key = 0;
            return false;
        }
    }
    return TXInplaceEditList::KeyDown(Key, Shift);
}

bool TXDBGridInplaceEdit::KeyPress(char16_t& Key) {
    bool passed = true;
    TXColumn* column = fDBGrid->SelectedColumn();
    if (!fDropChar && !ListVisible() && column && column->ListOptions().Contains(loAutoComplete))
        passed = AutoCompleteKey(Key);
    if (passed) passed = TXInplaceEditList::KeyPress(Key);
    if (!fDBGrid->EditorMode()) ArmAutoDropDown();
    return passed;
}

void TXDBGridInplaceEdit::DblClick() {
    if (StepListValue(true)) return;
    TXInplaceEditList::DblClick();
}

bool TXDBGridInplaceEdit::WidgetEvent(QEvent* e, bool viewport) {
    // The hint query over the editor: the hint window opens only with hoShowEditorHints. The
    // query stays with the editor (the grid's hints are for its cells).
    if (e->type() == QEvent::ToolTip && (!ShowHint() || !EditorHintQuery())) {
        e->accept();
        return true;
    }
    // The wheel scrolls an open list.
    if (e->type() == QEvent::Wheel && ListVisible() && ActiveList()) {
        QWidget* target = ActiveList()->Widget();
        auto* w = static_cast<QWheelEvent*>(e);
        QWheelEvent copy(target->mapFromGlobal(w->globalPosition()), w->globalPosition(), w->pixelDelta(),
                         w->angleDelta(), w->buttons(), w->modifiers(), w->phase(), w->inverted());
        QCoreApplication::sendEvent(target, &copy);
        e->accept();
        return true;
    }
    return TXInplaceEditList::WidgetEvent(e, viewport);
}

}  // namespace tv

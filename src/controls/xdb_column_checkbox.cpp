// A column's check box: its two texts, the state of the current record's box, the glyph for it,
// and ticking or unticking it. Without a field the box shows the current row's selection.

#include <string_view>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "controls/xdb_selection_lists.h"
#include "platform/data/data_set.h"
#include "platform/data/field.h"
#include "platform/gui/image_list.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace {

// The ticked text (before the first ";") or the not-ticked one (after it, at most 255
// characters); without ";" the whole value is the ticked text and the other is empty.
std::string_view CheckBoxText(std::string_view values, bool checked) {
    const size_t semicolon = values.find(';');
    if (checked) return values.substr(0, semicolon);
    if (semicolon == std::string_view::npos) return {};
    return values.substr(semicolon + 1, 255);
}

// The link is active on a dataset without records: there is no box to show or toggle.
bool EmptyData(const TXCustomDBGrid& grid) {
    const TXGridDataLink* link = grid.DataLink();
    return link->Active() && link->DataSet()->IsEmpty();
}

}  // namespace

void TXColumn::SetCheckBoxValues(const std::string& value) {
    SetDisplayed(fCheckBoxValues, value.empty() ? std::string(kDefaultCheckBoxValues) : value);
}

bool TXColumn::IsCheckBoxValue(bool Checked) const {
    TXCustomDBGrid* grid = Grid();
    TField* field = Field();
    if (!field) {
        if (!grid || !grid->DataLink()->Active()) return !Checked;
        return grid->SelectedRows()->CurrentRowSelected() == Checked;
    }
    std::string text = field->AsString();
    if (grid) grid->ColGetText(const_cast<TXColumn*>(this), text, tkEdit);
    return AnsiSameText(text, CheckBoxText(fCheckBoxValues, Checked));
}

int TXColumn::CheckBoxIndex() const {
    const int state = IsCheckBoxValue(true) ? 1 : IsCheckBoxValue(false) ? 0 : 2;
    int index = state + 3 * static_cast<int>(fCheckBoxKind);
    // Unthemed, the column's own list too short brings the index down; themed, a missing list too.
    const TXCustomDBGrid* grid = Grid();
    const bool themed = grid && grid->IsGridThemed();
    if (fImages ? index >= fImages->Count() : themed) index %= 3;
    return index;
}

void TXColumn::ToggleCheckBoxValue() {
    TXCustomDBGrid* grid = Grid();
    if (!grid || !IsCheckBox() || EmptyData(*grid)) return;
    TField* field = Field();
    if (!field) {
        if (!grid->DataLink()->Active()) return;
        TXBookmarkList* rows = grid->SelectedRows();
        if (!grid->Options().Contains(dgMultiSelect)) {
            rows->SetCurrentRowSelected(!rows->CurrentRowSelected());
        } else if (const TShiftState shift = grid->LastShiftState();
                   grid->OptionsEx().Contains(dgClickSelectOff) && !shift.Contains(ssShift) &&
                   !shift.Contains(ssAlt) && !shift.Contains(ssCtrl)) {
            rows->SetCurrentRowSelected(!rows->CurrentRowSelected());
            grid->SetSelectionAnchor(grid->DataLink()->DataSet()->GetBookmark());
        }
        return;
    }
    if (!grid->CanEditColumn(this)) return;
    std::string text = field->AsString();
    grid->ColGetText(this, text, tkEdit);
    std::string stored(AnsiSameText(text, CheckBoxText(fCheckBoxValues, true)) ? CheckBoxText(fCheckBoxValues, false)
                                                                                 : CheckBoxText(fCheckBoxValues, true));
    grid->ColSetText(this, stored);
    field->SetAsString(stored);
}

}  // namespace tv

// The calendar and the calculator as the in-place editor's pop-ups: a date column (or one whose
// button style asks for it) drops down a month calendar, a calculator column a calculator. Each is
// made on first need, owned by the editor, takes the grid's colour and gradient each time the
// editor is shown for a cell, starts from the editor's text when it opens, and closes up with its
// result text, which goes into the field as the column's edit text.

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_inplace_edit.h"
#include "controls/xdb_popup_calculator.h"
#include "controls/xdb_popup_calendar.h"
#include "controls/xf_gradient.h"

namespace tv {

namespace {

// A pop-up made by the editor: a window of its own under it, reporting to it.
template <class P>
P* MakePopup(TXDBGridInplaceEdit* editor, TXCustomDBGrid* grid, IPopupKeyTarget* keys) {
    auto* popup = new P(editor);
    popup->SetParent(editor);
    popup->SetGrid(grid);
    popup->SetKeyTarget(keys);
    popup->OnCloseUp = [editor](bool accept) { editor->PickListCloseUp(accept); };
    return popup;
}

// The gradient's switch and options follow the grid's; its colours are the pop-up's own.
void FollowGradient(TXFGradient* gradient, const TXFGradient* gridGradient) {
    gradient->SetActive(gridGradient->Active());
    gradient->SetOptions(gridGradient->Options());
}

}  // namespace

TWinControl* TXDBGridInplaceEdit::DateOrNumberEditor() {
    // Without an editor colour of its own the pop-up is in the grid's fixed colour.
    const TColor color = fDBGrid->EditorColor() == clNone ? fDBGrid->FixedColor() : Color();
    TXColumn* column = fDBGrid->SelectedColumn();
    const TXListOptions options = column ? column->ListOptions() : TXListOptions{};
    if (fDataEditor == deCalculator) {
        if (!fCalculator) fCalculator = MakePopup<TXPopupCalculator>(this, fDBGrid, this);
        FollowGradient(fCalculator->Gradient(), fDBGrid->Gradient());
        fCalculator->SetColor(color);
        return fCalculator;
    }
    if (!fCalendar) fCalendar = MakePopup<TXPopupCalendar>(this, fDBGrid, this);
    TXPopupCalendar* calendar = fCalendar;
    FollowGradient(calendar->Gradient(), fDBGrid->Gradient());
    calendar->SetColor(color);
    calendar->SetMonthBackColor(color);
    calendar->SetShowToday(options.Contains(loShowToday));
    calendar->SetShowTodayCircle(options.Contains(loShowTodayCircle));
    calendar->SetWeekNumbers(options.Contains(loShowWeekNumbers));
    calendar->SetTodayClose(options.Contains(loAutoTodayClose));
    // The parts shown may have changed: it sizes itself again.
    calendar->AdjustSize();
    return calendar;
}

bool TXDBGridInplaceEdit::DateOrNumberListActive() const {
    return ActiveList() && (ActiveList() == fCalendar || ActiveList() == fCalculator);
}

void TXDBGridInplaceEdit::PrepareDateOrNumberEditor() {
    if (ActiveList() == fCalendar)
        fCalendar->SetResultText(Text());
    else
        fCalculator->SetResultText(Text());
}

Variant TXDBGridInplaceEdit::DateOrNumberResult() {
    return Variant::FromUtf8(ActiveList() == fCalendar ? fCalendar->ResultText() : fCalculator->ResultText());
}

}  // namespace tv

// The input method per column and the Korean-locale rules of the data grid (docs/data-grid.md).
// The IME settings are stored only: the desktop's input methods do the work, so applying them
// changes the grid's properties and nothing else.

#include <QLocale>

#include "controls/xdb_grid.h"

namespace tv {

bool TXCustomDBGrid::KoreanUserLocale() {
    return QLocale::system().language() == QLocale::Korean;
}

TXDBGridOptions TXCustomDBGrid::DefaultOptionsFor(bool Korean) {
    // In the Korean user locale the editor stays open by default.
    TXDBGridOptions options = kDefaultGridOptions;
    if (Korean) options.Include(dgAlwaysShowEditor);
    return options;
}

void TXCustomDBGrid::SaveOriginalIme() {
    fOriginalImeName = fImeName;
    fOriginalImeMode = fImeMode;
}

void TXCustomDBGrid::ApplyColumnIme() {
    fImeName = fOriginalImeName;
    fImeMode = fOriginalImeMode;
    TXColumn* column = SelectedColumn();
    if (!column) return;
    const TXColumnValues assigned = column->AssignedValues();
    if (assigned.Contains(cvImeName)) fImeName = column->ImeName();
    if (assigned.Contains(cvImeMode)) fImeMode = column->ImeMode();
}

void TXCustomDBGrid::DoEnter() {
    // Focus from outside the grid (not from its own editor) takes the column's input method.
    ApplyColumnIme();
    TCustomGrid::DoEnter();
}

void TXCustomDBGrid::DoExit() {
    TCustomGrid::DoExit();
    // The screen's default input method, left as the desktop has it.
    fImeName.clear();
    fImeMode = imDontCare;
}

void TXCustomDBGrid::KoreanEscape(bool Escape) {
    if (fKoreanLocale) fIsEscKey = Escape;
}

bool TXCustomDBGrid::EditorRefreshAllowed() const {
    // The Korean input method composes in the editor: only Esc may replace its text.
    return !fKoreanLocale || fIsEscKey;
}

}  // namespace tv

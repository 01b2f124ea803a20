// The base grid's in-place editor and its host: when the editor opens and closes, where it stands,
// how its changes reach the grid, and the focus of the grid and its editor as one.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "platform/gui/grid.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

constexpr char16_t kEnter = 13;
constexpr char16_t kEsc = 27;

QLineEdit* LineOf(const TInplaceEdit& edit) {
    return static_cast<QLineEdit*>(edit.Widget());
}

// Whether the focus is now on `control`'s widget (or a part of it).
bool FocusOn(const TControl* control) {
    QWidget* focus = QApplication::focusWidget();
    return control && control->Widget() && focus &&
           (focus == control->Widget() || control->Widget()->isAncestorOf(focus));
}

}  // namespace

// ---- the editor ----

const TClassInfo& TInplaceEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TInplaceEdit>("TInplaceEdit").Build();
    return info;
}

TInplaceEdit::TInplaceEdit(TCustomGrid* AGrid) : TCustomEdit(AGrid), fGrid(AGrid) {
    QLineEdit* line = LineOf(*this);
    line->setFrame(false);
    // Every change comes from keys the grid can refuse: no menu and no dropping.
    line->setContextMenuPolicy(Qt::NoContextMenu);
    line->setAcceptDrops(false);
    SetAutoSize(false);
    SetAutoSelect(false);
    SetTabStop(false);
    SetVisible(false);
    GuardedConnect(this, line, &QLineEdit::textEdited, [this](const QString&) { UserEdited(); });
}

TInplaceEdit::~TInplaceEdit() {
    BeginDestroy();
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) QObject::disconnect(line, nullptr, nullptr, nullptr);
}

void TInplaceEdit::UpdateContents() {
    const std::string text = fGrid->GetEditText(fGrid->Col(), fGrid->Row());
    SetMaxLength(fGrid->GetEditLimit());
    fEditMask = fGrid->GetEditMask(fGrid->Col(), fGrid->Row());
    fAccepted = text;
    SetText(text);
    // The caret at the end, nothing selected.
    LineOf(*this)->setCursorPosition(static_cast<int>(LineOf(*this)->text().size()));
}

void TInplaceEdit::HandTextToGrid(const std::string& text) {
    fAccepted = text;
    SetText(text);
    fGrid->SetEditText(fGrid->Col(), fGrid->Row(), text);
}

void TInplaceEdit::UserEdited() {
    const std::string text = GetText();
    if (!fGrid->CanEditModify()) {
        // The grid refused the change: the text it has stays.
        QLineEdit* line = LineOf(*this);
        const int caret = line->cursorPosition();
        SetText(fAccepted);
        line->setCursorPosition(std::min(caret, static_cast<int>(line->text().size())));
        return;
    }
    fAccepted = text;
    fGrid->SetEditText(fGrid->Col(), fGrid->Row(), text);
}

bool TInplaceEdit::AtEdge(bool right) const {
    const QLineEdit* line = LineOf(*this);
    if (line->hasSelectedText()) return false;
    return line->cursorPosition() == (right ? line->text().size() : 0);
}

bool TInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
    bool toGrid = false;
    switch (Key) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
            toGrid = true;
            break;
        case VK_TAB:
            toGrid = fGrid->Options().Contains(goTabs) && !Shift.Contains(ssAlt);
            break;
        case VK_LEFT:
            toGrid = AtEdge(false);
            break;
        case VK_RIGHT:
            toGrid = AtEdge(true);
            break;
        default:
            break;
    }
    if (toGrid) return fGrid->KeyDown(Key, Shift);
    return TCustomEdit::KeyDown(Key, Shift);
}

bool TInplaceEdit::KeyPress(char16_t& Key) {
    if (Key == kEnter || Key == kEsc) {
        char16_t key = Key;
        fGrid->KeyPress(key);
        Key = 0;
        return false;
    }
    if (Key >= 32 && Key != 127 && !fGrid->CanEditAcceptKey(Key)) {
        Key = 0;
        return false;
    }
    return TCustomEdit::KeyPress(Key);
}

bool TInplaceEdit::WantsKey(uint16_t Key) const {
    return Key == VK_RETURN || Key == VK_ESCAPE;
}

void TInplaceEdit::DoEnter() {
    TCustomEdit::DoEnter();
    fGrid->FocusArrived();
}

bool TInplaceEdit::WidgetEvent(QEvent* e, bool viewport) {
    if (e->type() == QEvent::FocusIn) fGrid->FocusCameWithWindow(static_cast<QFocusEvent*>(e)->reason());
    return TCustomEdit::WidgetEvent(e, viewport);
}

void TInplaceEdit::DoExit() {
    TCustomEdit::DoExit();
    // Back to the grid is no exit.
    if (!FocusOn(fGrid)) fGrid->FocusLeft();
}

// ---- the host ----

TInplaceEdit* TCustomGrid::CreateEditor() {
    return new TInplaceEdit(this);
}

bool TCustomGrid::CanEditShow() const {
    return fOptions.Contains(goEditing) && !fOptions.Contains(goRowSelect) && fCol >= fFixedCols &&
           fRow >= fFixedRows && Parent() != nullptr && Widget() != nullptr;
}

void TCustomGrid::SetEditorMode(bool value) {
    if (value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor() {
    if (!CanEditShow()) return;
    if (!fEditor) {
        fEditor = CreateEditor();
        fEditor->SetParent(this);
    }
    fEditorMode = true;
    fEditor->UpdateContents();
    fEditorOpenText = fEditor->fAccepted;
    PlaceEditor();
}

void TCustomGrid::HideEditor() {
    if (!fEditorMode) return;
    fEditorMode = false;
    if (!fEditor) return;
    // The grid takes the focus first, so that it never leaves the grid and its editor.
    if (FocusOn(fEditor) && Widget()) Widget()->setFocus(Qt::OtherFocusReason);
    fEditor->Hide();
    InvalidateCell(fCol, fRow);
}

void TCustomGrid::InvalidateEditor() {
    if (!fEditorMode || !fEditor) return;
    fEditor->UpdateContents();
    PlaceEditor();
}

void TCustomGrid::PlaceEditor() {
    if (!fEditor || !fEditorMode) return;
    const TRect cell = CellRect(fCol, fRow);
    if (cell.IsEmpty()) {
        // Scrolled out of view: hidden until the cell is back.
        if (FocusOn(fEditor) && Widget()) Widget()->setFocus(Qt::OtherFocusReason);
        fEditor->Hide();
        return;
    }
    fEditor->SetBoundsRect(cell);
    fEditor->Show();
    if (Focused() && fEditor->Widget()) fEditor->Widget()->setFocus(Qt::OtherFocusReason);
}

void TCustomGrid::RestoreEditorText() {
    if (!fEditor || !fEditorMode) return;
    if (fEditor->GetText() == fEditorOpenText) return;
    fEditor->fAccepted = fEditorOpenText;
    fEditor->SetText(fEditorOpenText);
    SetEditText(fCol, fRow, fEditorOpenText);
}

void TCustomGrid::TypeIntoEditor(char16_t ch) {
    ShowEditor();
    if (!fEditorMode || !fEditor || !fEditor->Visible()) return;
    // The character replaces the text, through the editor's own typing (and its checks).
    fEditor->SelectAll();
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(ch)));
    QCoreApplication::sendEvent(fEditor->Widget(), &typed);
}

// ---- the focus of the grid and its editor ----

void TCustomGrid::DoEnter() {
    FocusArrived();
    // The editor opens at once with goAlwaysShowEditor and takes the focus.
    if (fOptions.Contains(goAlwaysShowEditor) && !fEditorMode) ShowEditor();
    PlaceEditor();
}

void TCustomGrid::DoExit() {
    // Into the editor is no exit.
    if (FocusOn(fEditor)) return;
    FocusLeft();
}

void TCustomGrid::FocusArrived() {
    if (fInside) return;
    fInside = true;
    InvalidateSelection();
    TCustomControl::DoEnter();
}

void TCustomGrid::FocusCameWithWindow(int reason) {
    // The window came back with the focus where it was: no move between controls, no OnEnter; but
    // the focus is inside from now on.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) fInside = true;
}

void TCustomGrid::FocusLeft() {
    // The exit was refused and the focus is on its way back: not another exit.
    if (!fInside || fFocusReturn.Returning()) return;
    fInside = false;
    auto alive = Watch();
    CancelMode();
    if (!fOptions.Contains(goAlwaysShowEditor)) HideEditor();
    InvalidateSelection();
    try {
        GridExit();
        if (!alive.expired()) TCustomControl::DoExit();
    } catch (...) {
        if (!alive.expired()) {
            // The focus stays: it comes back once the error is reported.
            fInside = true;
            fFocusReturn.TakeBack(*this, alive);
        }
        throw;
    }
}

}  // namespace tv

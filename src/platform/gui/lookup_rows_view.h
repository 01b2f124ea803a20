#pragma once
// The list of a lookup control (for the library's own sources): shows the rows of a TLookupList
// and lets the user move through them and choose one. The lookup list box is one; the lookup
// combo's drop-down is another.
//
// - Each row shows the list fields side by side: every field but the last as wide as its display
//   width in "0" characters plus 4 pixels, the last one taking the rest, a line after each but the
//   last; numbers right-aligned. The key's row is highlighted; the focus frame is on it (on the
//   first row when no row holds the key) while the list has the focus or is a drop-down.
// - Keys, while the value can be chosen: Up/Left and Down/Right one row, Page Up/Down a page less
//   one row, Home and End the first and last row, each from the key's row (a key not in view is
//   first looked up, and the move is 0); the row reached is chosen. Characters search (see
//   TLookupList::TypeAheadSearch).
// - Mouse: a press chooses the row under the pointer (a double press on the key's row fires
//   OnDoubleClick instead); dragging chooses the row under the pointer.
// - The scroll bar has five positions: first row, a page up, stay, a page down, last row. Its
//   arrows and the wheel scroll one row past the rows in view; scrolling does not choose.

#include <QAbstractScrollArea>
#include <functional>

#include "platform/gui/lookup_list.h"

namespace tv {

class TLookupRowsView : public QAbstractScrollArea {
public:
    explicit TLookupRowsView(QWidget* parent = nullptr);

    // The list shown and driven; nil for none.
    void SetList(TLookupList* list);
    // A drop-down: the focus frame always shows, and a release of the mouse reports OnRelease.
    void SetDropDown(bool dropDown) { fDropDown = dropDown; }
    // The control an error of the user's choice is reported for.
    void SetSender(TObject* sender) { fSender = sender; }

    int RowHeight() const;
    // How many rows fit the view's height (at least 1); the list's RowCount follows it.
    int RowsThatFit() const;
    // The height that shows `rows` rows.
    int HeightForRows(int rows) const;

    // The list's key or rows changed: looks the key up (keeping the position while a move of our
    // own chooses), updates the scroll bar and repaints.
    void KeyValueChanged();
    void ListDataChanged();

    // The list keys; true when the key was taken.
    bool HandleKey(int qtKey);

    // A double press on the key's row.
    std::function<void()> OnDoubleClick;
    // A drop-down's mouse button was released, inside the list or not.
    std::function<void(bool inside)> OnRelease;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void scrollContentsBy(int, int) override {}

private:
    int RowAt(int y) const;
    void ChooseRow(int row);
    void ChooseCurrent();
    void ScrollAction(int action);
    int BarPosition() const;
    void UpdateScrollBar();

    TLookupList* fList = nullptr;
    TObject* fSender = nullptr;
    bool fDropDown = false;
    bool fTracking = false;
    // A move of our own chooses a row: the list stays where the move put it.
    bool fLockPosition = false;
};

}  // namespace tv

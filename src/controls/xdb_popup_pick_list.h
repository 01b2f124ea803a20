#pragma once
// The pick list the grid's editor drops down below a cell: the column's pick items, one of which
// the user takes by a click, by the editor's Enter or by typing its first letters.

#include <string>

#include "controls/xdb_popup.h"
#include "platform/gui/list_box.h"

namespace tv {

class TXPopupPickList : public TXPopup<TCustomListBox> {
    TV_CLASS(TXPopupPickList, TCustomListBox)
public:
    // The typed letters are searched for while each comes within this time of the one before.
    static constexpr uint32_t kSearchResetMs = 2000;
    static constexpr size_t kSearchMaxLength = 32;

    explicit TXPopupPickList(TComponent* AOwner = nullptr);

    // The letters typed so far (UTF-8).
    const std::string& SearchText() const { return fSearchText; }

    // After the editor: Backspace or Esc forget the letters typed; a printable character is added
    // to them (after a pause of more than kSearchResetMs they start again, and at most
    // kSearchMaxLength are kept) and the first item beginning with them, whatever the case, is
    // chosen. Printable characters go no further.
    bool KeyPress(char16_t& Key) override;
    // The item under the pointer is chosen as the pointer moves.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // Releasing the left button closes the list: chosen when released inside it.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Owner-drawn without an OnDrawItem of its own, the list draws its items as the grid draws
    // rows: one pixel shorter over a data line, the selected one in the grid's selection colours,
    // a line in the fixed line colour along the edge while not all items fit.
    void DrawItem(int Index, TRect Rect, uint8_t State) override;

protected:
    bool WidgetEvent(QEvent* e, bool viewport) override;

private:
    // The wheel moves the top item by the grid's rows per wheel step, not above the first.
    void WheelTurned(int steps);

    std::string fSearchText;
    uint32_t fSearchTickCount = 0;
};

}  // namespace tv

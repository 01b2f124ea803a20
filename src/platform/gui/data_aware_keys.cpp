#include "platform/gui/data_aware_keys.h"

#include "platform/gui/key_codes.h"

namespace tv {

bool KeyChangesText(uint16_t key, TShiftState shift) {
    if (key == VK_DELETE || key == VK_BACK) return true;
    if (key == VK_INSERT) return shift.Contains(ssShift);
    return shift.Contains(ssCtrl) && (key == 'V' || key == 'X');
}

bool CharChangesText(char16_t ch, bool takesLineBreaks) {
    constexpr char16_t kBackspace = 8, kPaste = 22, kCut = 24, kDelete = 127;
    if (ch == kBackspace || ch == kPaste || ch == kCut) return true;
    if (ch == u'\r' || ch == u'\n') return takesLineBreaks;
    return ch >= 32 && ch != kDelete;
}

}  // namespace tv

#pragma once
// Keyboard shortcuts as the class library encodes them (a virtual-key number with Shift, Ctrl and
// Alt bits) and their binding to the window of the form that owns the action or menu item.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/control_types.h"

namespace tv {

class TComponent;

using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

constexpr TShortCut ShortCut(uint16_t Key, TShiftState Shift) {
    return static_cast<TShortCut>((Key & 0xFF) | (Shift.Contains(ssShift) ? scShift : 0) |
                                  (Shift.Contains(ssCtrl) ? scCtrl : 0) |
                                  (Shift.Contains(ssAlt) ? scAlt : 0));
}
// "Ctrl+S", "Shift+Ctrl+Alt+D", "F9"; "" for none.
std::string ShortCutToText(TShortCut ShortCut);

// Runs `run` while the owner's form is the active window and the shortcut is pressed. The form is
// the first TForm up the owner chain of `owner`; without one the shortcut is not bound.
class TShortCutBinding {
public:
    TShortCutBinding();
    ~TShortCutBinding();
    void Bind(TComponent* owner, TShortCut shortCut, std::function<void()> run);
    void SetEnabled(bool enabled);
    bool Bound() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> fImpl;
};

}  // namespace tv

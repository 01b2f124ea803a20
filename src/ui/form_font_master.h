#pragma once
// Gives its form the desktop's font: placed on a form, it takes the font the desktop titles its
// icons with (the platform's default window font when the desktop names none) and, once the form
// is loaded, makes it the form's font, keeping the font the form was designed with. OnFontChange
// may veto the change.

#include <memory>

#include "platform/gui/font.h"
#include "platform/rtl/component.h"
#include "platform/rtl/event.h"

namespace tv {

// Told before the form's font changes; setting Allow to false keeps the designed font.
using TFontChangeEvent = TEvent<void(TObject* Sender, bool& Allow)>;

class TFormFontMaster : public TComponent {
    TV_CLASS(TFormFontMaster, TComponent)
public:
    explicit TFormFontMaster(TComponent* AOwner = nullptr);
    ~TFormFontMaster() override;

    // The desktop's font, as found when the component was made.
    TFont* DesktopIconFont() const { return fDesktopFont.get(); }
    // The form's font as designed: copied from the form when the desktop font replaces it.
    TFont* DesignedFont() const { return fDsgnFont.get(); }
    void SetDesignedFont(TFont* value) { fDsgnFont->Assign(value); }
    // The desktop font's size less the designed font's size, in points.
    int DesktopIconFontSizeDiff() const { return fDesktopFont->Size() - fDsgnFont->Size(); }
    // Asks OnFontChange, then gives the owning form the desktop font (nothing for another owner).
    void UpdateFont();

    TFontChangeEvent OnFontChange;

protected:
    // The form and its components are complete: the font changes now, unless being designed.
    void Loaded() override;

private:
    std::unique_ptr<TFont> fDesktopFont;
    std::unique_ptr<TFont> fDsgnFont;
};

}  // namespace tv

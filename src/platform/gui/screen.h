#pragma once
// The desktop as the application sees it: its size and work area, the resolution sizes are
// converted at, the forms that exist, the active form and control, and a cursor for the whole
// application (the hourglass during a job).

#include <vector>

#include "platform/gui/control_types.h"
#include "platform/gui/rect.h"
#include "platform/rtl/component.h"

namespace tv {

class TForm;
class TWinControl;

class TScreen : public TComponent {
    TV_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* AOwner = nullptr);
    ~TScreen() override;

    int Width() const;
    int Height() const;
    // The desktop less its panels and task bars.
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    // Always 96: forms are laid out in pixels at that resolution.
    int PixelsPerInch() const;

    // Shown over every window while not crDefault.
    TCursor Cursor() const { return fCursor; }
    void SetCursor(TCursor value);

    int FormCount() const { return static_cast<int>(fForms.size()); }
    // Raises EListError outside 0..FormCount-1.
    TForm* Forms(int Index) const;
    TForm* ActiveForm() const;
    TWinControl* ActiveControl() const;

private:
    friend class TForm;
    void AddForm(TForm* form) { fForms.push_back(form); }
    void RemoveForm(TForm* form);

    std::vector<TForm*> fForms;
    TCursor fCursor = crDefault;
};

// The process's screen, made on first use.
TScreen& Screen();

}  // namespace tv

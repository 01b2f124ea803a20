#pragma once
// The sample window showform shows: one of each kind of control the GUI class library offers,
// laid out as a plain desktop form.

#include "platform/gui/form.h"

namespace tv {
class TPageControl;
}

namespace tv::tools {

class TSampleForm : public TForm {
public:
    explicit TSampleForm(TComponent* AOwner);
    // Shows page `index` of the window's page control.
    void ShowPage(int index);

private:
    TPageControl* fPages;
};

}  // namespace tv::tools

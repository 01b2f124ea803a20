#pragma once
// The sample window showform shows: one of each kind of control the GUI class library offers,
// laid out as a plain desktop form.

#include "platform/gui/form.h"

namespace tv::tools {

class TSampleForm : public TForm {
public:
    explicit TSampleForm(TComponent* AOwner);
};

}  // namespace tv::tools

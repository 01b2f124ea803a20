#include "platform/gui/db_check_box.h"

#include <QCheckBox>
#include <functional>

#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace {

// A check box that asks before the user toggles it.
class TDBCheckWidget : public QCheckBox {
public:
    // Whether the user may toggle the box now.
    std::function<bool()> OnToggle;
    // The user toggled it.
    std::function<void()> OnToggled;

protected:
    void nextCheckState() override {
        if (OnToggle && !OnToggle()) return;
        QCheckBox::nextCheckState();
        if (OnToggled) OnToggled();
    }
};

TDBCheckWidget* CheckWidget(const TControl* c) {
    return static_cast<TDBCheckWidget*>(c->Widget());
}

// One of the ";"-separated texts of `values` is `text`, letter case ignored.
bool ValueMatch(std::string_view values, std::string_view text) {
    size_t start = 0;
    while (start <= values.size()) {
        size_t end = values.find(';', start);
        if (end == std::string_view::npos) end = values.size();
        if (AnsiSameText(values.substr(start, end - start), text)) return true;
        start = end + 1;
    }
    return false;
}

std::string_view FirstValue(std::string_view values) {
    return values.substr(0, values.find(';'));
}

}  // namespace

const TClassInfo& TDBCheckBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDBCheckBox>("TDBCheckBox").Build();
    return info;
}

TDBCheckBox::TDBCheckBox(TComponent* AOwner) : TDataAwareControl(AOwner, NewWidget<TDBCheckWidget>()) {
    TDBCheckWidget* box = CheckWidget(this);
    box->OnToggle = [this] {
        try {
            return fDataLink.Edit();
        } catch (...) {
            HandleGuiException(this);
            return false;
        }
    };
    box->OnToggled = [this] { UserChanged(); };
}

TDBCheckBox::~TDBCheckBox() {
    BeginDestroy();
    CheckWidget(this)->OnToggle = nullptr;
    CheckWidget(this)->OnToggled = nullptr;
}

void TDBCheckBox::SetValueChecked(std::string value) {
    fValueChecked = std::move(value);
    DataChange();
}

void TDBCheckBox::SetValueUnchecked(std::string value) {
    fValueUnchecked = std::move(value);
    DataChange();
}

TCheckBoxState TDBCheckBox::FieldState() const {
    const TField* field = Field();
    if (!field || field->IsNull()) return cbUnchecked;
    if (field->DataType() == TFieldType::ftBoolean) return field->AsBoolean() ? cbChecked : cbUnchecked;
    return ValueMatch(fValueChecked, field->Text()) ? cbChecked : cbUnchecked;
}

void TDBCheckBox::DataChange() {
    SetState(FieldState());
}

void TDBCheckBox::UpdateData() {
    TField* field = Field();
    if (State() == cbGrayed)
        field->Clear();
    else if (field->DataType() == TFieldType::ftBoolean)
        field->SetAsBoolean(Checked());
    else
        field->SetText(FirstValue(Checked() ? fValueChecked : fValueUnchecked));
}

}  // namespace tv

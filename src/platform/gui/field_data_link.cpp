#include "platform/gui/field_data_link.h"

#include <QWidget>

#include "platform/data/db_error.h"
#include "platform/gui/data_aware_control.h"
#include "platform/gui/win_control.h"

namespace tv {

void ControlDataError(const TComponent* control, std::string_view message) {
    if (control && !control->Name().empty()) DatabaseError("%s: %s", {control->Name(), message});
    DatabaseError(message);
}

void ShowWidgetEnabled(TControl& control, bool enabled) {
    if (QWidget* widget = control.Widget()) widget->setEnabled(enabled);
}

TFieldDataLink::TFieldDataLink(TComponent* control) : fControl(control) {
    SetVisualControl(true);
}

void TFieldDataLink::SetFieldName(std::string name) {
    if (name == fFieldName) return;
    fFieldName = std::move(name);
    UpdateField();
}

bool TFieldDataLink::CanModify() const {
    return !ReadOnly() && fField && fField->CanModify();
}

bool TFieldDataLink::Edit() {
    if (CanModify()) TDataLink::Edit();
    return fEditing;
}

void TFieldDataLink::UpdateField() {
    TField* field = nullptr;
    if (Active() && !fFieldName.empty()) {
        field = DataSet()->FindField(fFieldName);
        if (!field) {
            SetField(nullptr);
            ControlDataError(fControl, DbMessage(kFieldNotFound, {fFieldName}));
        }
    }
    SetField(field);
}

void TFieldDataLink::SetField(TField* field) {
    if (field == fField && field) return;
    fField = field;
    UpdateEditing();
    RecordChanged(nullptr);
}

void TFieldDataLink::UpdateEditing() {
    const bool editing = TDataLink::Editing() && CanModify();
    if (editing == fEditing) return;
    fEditing = editing;
    fModified = false;
    if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::ActiveChanged() {
    // A dataset closing with a field name it lacks is no error; only opening checks the name.
    if (Active()) {
        UpdateField();
    } else {
        SetField(nullptr);
    }
    if (OnActiveChange) OnActiveChange();
}

void TFieldDataLink::LayoutChanged() {
    UpdateField();
}

void TFieldDataLink::EditingChanged() {
    UpdateEditing();
}

void TFieldDataLink::RecordChanged(TField* field) {
    if (field && field != fField) return;
    DataChange();
    fModified = false;
}

void TFieldDataLink::UpdateData() {
    if (!fModified) return;
    if (fField && OnUpdateData) OnUpdateData();
    fModified = false;
}

void TFieldDataLink::FocusControl(TField** field) {
    if (!*field || *field != fField) return;
    auto* control = dynamic_cast<TWinControl*>(fControl);
    if (!control || !control->CanFocus()) return;
    *field = nullptr;
    control->SetFocus();
}

}  // namespace tv

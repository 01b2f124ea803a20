#pragma once
// The link between a data-aware control and one field of the dataset behind a data source. The
// control shows the field's value and tells the link when the user changes it; the change stays in
// the control until the dataset asks for it (focus leaving the control, a post, or the dataset's
// UpdateRecord), then OnUpdateData writes it into the field through the field's own conversion.
//
// The field is found by name, without regard to letter case, whenever the dataset opens or its
// fields change. The link is editing while the dataset is in edit or insert state and the field
// can be changed; the control's first change puts a browsing dataset into edit state (Edit).

#include <functional>
#include <string>

#include "platform/data/data_source.h"

namespace tv {

// Raises EDatabaseError with `message`, prefixed by the control's name and ": " when it has one.
[[noreturn]] void ControlDataError(const TComponent* control, std::string_view message);

class TFieldDataLink : public TDataLink {
public:
    // `control` is the control the link serves: its name prefixes a "field not found" error, and a
    // request to focus the field's control focuses it (when it is a windowed control).
    explicit TFieldDataLink(TComponent* control = nullptr);

    TComponent* Control() const { return fControl; }
    const std::string& FieldName() const { return fFieldName; }
    // Binds the field of that name (empty: none). Raises EDatabaseError "<control>: Field 'x' not
    // found" when the open dataset has no such field.
    void SetFieldName(std::string name);
    // The bound field, or none while the dataset is closed or no field is named.
    TField* Field() const { return fField; }

    // The control may change the value: the link is not read-only and the field can be changed.
    bool CanModify() const;
    // The dataset is in edit or insert state and the value may be changed.
    bool Editing() const { return fEditing; }
    // Puts a browsing dataset into edit state when the value may be changed (and the data source
    // allows it); answers Editing().
    bool Edit();
    // The user changed the control's value; the change waits for UpdateRecord.
    void Modified() { fModified = true; }
    bool IsModified() const { return fModified; }
    // Drops the control's change and shows the field's value again.
    void Reset() { RecordChanged(nullptr); }

    // The control shows the field's value (a record change, a change of the field, or a new field).
    std::function<void()> OnDataChange;
    // Editing() changed.
    std::function<void()> OnEditingChange;
    // Writes the control's value into Field(); called only when the control was modified.
    std::function<void()> OnUpdateData;
    // The dataset opened or closed (Active()).
    std::function<void()> OnActiveChange;

protected:
    void ActiveChanged() override;
    void LayoutChanged() override;
    void EditingChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;
    void FocusControl(TField** field) override;
    // Tells the control to show the field's value (OnDataChange); a link may guard it.
    virtual void DataChange() {
        if (OnDataChange) OnDataChange();
    }

private:
    void UpdateField();
    void SetField(TField* field);
    void UpdateEditing();

    TComponent* fControl;
    std::string fFieldName;
    TField* fField = nullptr;
    bool fEditing = false;
    bool fModified = false;
};

}  // namespace tv

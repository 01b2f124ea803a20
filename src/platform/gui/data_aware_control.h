#pragma once
// What every data-aware control shares, over the plain control class it extends (Base): a field
// data link with the DataSource, DataField and ReadOnly properties, the control disabled and empty
// while its dataset is closed, and the user's pending change written into the field when the focus
// leaves the control. A failed write is reported once and the focus taken back into the control.
//
// A control built on it shows the field in DataChange, follows the link's edit state in
// EditingChange and writes its value in UpdateData; it calls UserChanged when the user changed
// the value.

#include <string>
#include <utility>

#include "platform/gui/application.h"
#include "platform/gui/control.h"
#include "platform/gui/data_aware_keys.h"
#include "platform/gui/field_data_link.h"

namespace tv {

// Enables or disables the control's widget only, leaving its Enabled property as it is.
void ShowWidgetEnabled(TControl& control, bool enabled);

// `Link` is the field data link the control owns: TFieldDataLink or a class derived from it.
template <class Base, class Link = TFieldDataLink>
class TDataAwareControl : public Base {
public:
    ~TDataAwareControl() override {
        this->BeginDestroy();
        fDataLink.OnDataChange = nullptr;
        fDataLink.OnEditingChange = nullptr;
        fDataLink.OnUpdateData = nullptr;
        fDataLink.OnActiveChange = nullptr;
    }

    TDataSource* DataSource() const { return fDataLink.DataSource(); }
    void SetDataSource(TDataSource* source) { fDataLink.SetDataSource(source); }
    // The name of the field shown, letter case ignored.
    const std::string& DataField() const { return fDataLink.FieldName(); }
    void SetDataField(std::string name) { fDataLink.SetFieldName(std::move(name)); }
    // The field shown; none while the dataset is closed.
    TField* Field() const { return fDataLink.Field(); }
    // A read-only control shows the field and never changes it.
    bool ReadOnly() const { return fDataLink.ReadOnly(); }
    void SetReadOnly(bool value) { fDataLink.SetReadOnly(value); }
    Link& DataLink() { return fDataLink; }

    void SetEnabled(bool value) override {
        Base::SetEnabled(value);
        ShowLinkState();
    }

    // Escape drops the user's change and shows the field's value again.
    bool KeyPress(char16_t& Key) override {
        if (Key != kEscapeChar) return Base::KeyPress(Key);
        fDataLink.Reset();
        ChangeDropped();
        Key = 0;
        return false;
    }

protected:
    template <class... A>
    explicit TDataAwareControl(A&&... args) : Base(std::forward<A>(args)...), fDataLink(this) {
        fDataLink.OnDataChange = [this] { DataChange(); };
        fDataLink.OnEditingChange = [this] { EditingChange(); };
        fDataLink.OnUpdateData = [this] { UpdateData(); };
        fDataLink.OnActiveChange = [this] { ShowLinkState(); };
        ShowLinkState();
    }

    // Shows the field's value (or nothing without a field).
    virtual void DataChange() = 0;
    // The link's Editing() changed.
    virtual void EditingChange() {}
    // Writes the control's value into Field().
    virtual void UpdateData() = 0;
    // Whether the control shows data: the default is while the dataset is open.
    virtual bool ShowsData() const { return fDataLink.Active(); }
    // Escape dropped the user's change.
    virtual void ChangeDropped() {}
    // The write on leaving failed: shows where (before the error is reported).
    virtual void ExitFailed() {}

    // The user changed the value: it waits for the next UpdateRecord. Changes that the program
    // makes while the dataset is not being edited are no changes of the user.
    void UserChanged() {
        if (fDataLink.Editing()) fDataLink.Modified();
    }
    // The enabled state shown: the control's own, and only while it shows data.
    void ShowLinkState() { ShowWidgetEnabled(*this, Base::Enabled() && ShowsData()); }

    // The focus cannot be refused: a failed write is reported, then the focus is taken back. The
    // focus moves while it is taken back write nothing, so the error shows once.
    void DoExit() override {
        if (fTakingFocusBack) return;
        try {
            fDataLink.UpdateRecord();
        } catch (...) {
            auto alive = this->Watch();
            ExitFailed();
            Application().HandleException(this);
            if (alive.expired() || !this->CanFocus()) return;
            fTakingFocusBack = true;
            try {
                this->SetFocus();
            } catch (...) {
                fTakingFocusBack = false;
                throw;
            }
            fTakingFocusBack = false;
            return;
        }
        Base::DoExit();
    }

    Link fDataLink;

private:
    bool fTakingFocusBack = false;
};

}  // namespace tv

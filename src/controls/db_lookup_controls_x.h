#pragma once
// This library's lookup controls: the class library's lookup list box and lookup combo (the same
// lookup list logic, lookup_list.h) under this library's names, which refuse a KeyField or
// ListSource while bound to a lookup field: the lookup field defines both ("lookup mode").
//
// The settings page of the time-reporting system chooses its default user with a
// TDBLookupComboX: key "ProgramUserId", list fields "Signature;Descr".

#include "controls/control_messages.h"
#include "platform/data/db_error.h"
#include "platform/gui/db_lookup_controls.h"

namespace tv {

template <class Base>
class TDBLookupControlX : public Base {
public:
    using Base::Base;

    void SetKeyField(std::string name) {
        if (this->LookupList().LookupMode()) DatabaseError(kPropDefByLookup);
        Base::SetKeyField(std::move(name));
    }
    void SetListSource(TDataSource* source) {
        if (this->LookupList().LookupMode()) DatabaseError(kPropDefByLookup);
        Base::SetListSource(source);
    }
    // The data field is a lookup field.
    bool LookupMode() { return this->LookupList().LookupMode(); }
};

class TDBLookupListBoxX : public TDBLookupControlX<TDBLookupListBox> {
    TV_CLASS(TDBLookupListBoxX, TDBLookupControlX<TDBLookupListBox>)
public:
    explicit TDBLookupListBoxX(TComponent* AOwner = nullptr) : TDBLookupControlX(AOwner) {}
};

class TDBLookupComboX : public TDBLookupControlX<TDBLookupComboBox> {
    TV_CLASS(TDBLookupComboX, TDBLookupControlX<TDBLookupComboBox>)
public:
    explicit TDBLookupComboX(TComponent* AOwner = nullptr) : TDBLookupControlX(AOwner) {}
};

}  // namespace tv

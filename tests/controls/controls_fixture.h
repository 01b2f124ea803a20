#pragma once
// The fixture of the control tests: a settings table of one row, the users table of the
// data-aware control tests for the lookups, and a shown form to put controls on; dialogs are
// answered by a script and beeps recorded.

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/data/client_data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/form.h"
#include "platform/gui/scripted_dialog_service.h"
#include "platform/gui/sound.h"
#include "tests/platform/gui_data/data_form_fixture.h"  // UsersTable, Store, FocusOn

namespace tv::test {

// SELECTION string 20 ("Alla"), ORDERPOS string 10 ("1"), INCLUDE integer (0), USERID integer (20).
inline std::unique_ptr<TClientDataSet> ControlSettingsTable() {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("SELECTION", TFieldType::ftString, 20);
    ds->FieldDefs().Add("ORDERPOS", TFieldType::ftString, 10);
    ds->FieldDefs().Add("INCLUDE", TFieldType::ftInteger);
    ds->FieldDefs().Add("USERID", TFieldType::ftInteger);
    ds->CreateDataSet();
    ds->Append();
    ds->FieldByName("SELECTION").SetAsString("Alla");
    ds->FieldByName("ORDERPOS").SetAsString("1");
    ds->FieldByName("INCLUDE").SetAsInteger(0);
    ds->FieldByName("USERID").SetAsInteger(20);
    ds->Post();
    return ds;
}

struct ControlForm {
    ControlForm() : table(ControlSettingsTable()), users(UsersTable()), dialogScope(dialogs), soundScope(sound) {
        source.SetDataSet(table.get());
        userSource.SetDataSet(users.get());
        form.SetBounds(0, 0, 460, 420);
        form.Show();
    }
    ~ControlForm() {
        // Controls go before the data sources they are linked to.
        while (form.ControlCount() > 0) delete form.Controls(form.ControlCount() - 1);
    }

    // A control of class C on the form at `top`, bound to `field` of the settings table.
    template <class C>
    C* Bound(const std::string& field, int top, int height = 21) {
        auto* c = new C(&form);
        c->SetParent(&form);
        c->SetBounds(10, top, 240, height);
        c->SetDataSource(&source);
        c->SetDataField(field);
        return c;
    }

    std::string Stored(const char* field) const { return table->FieldByName(field).AsString(); }

    TForm form;
    std::unique_ptr<TClientDataSet> table;
    std::unique_ptr<TClientDataSet> users;
    TDataSource source;
    TDataSource userSource;
    TScriptedDialogService dialogs;
    TDialogServiceScope dialogScope;
    TRecordingSound sound;
    TSoundServiceScope soundScope;
};

}  // namespace tv::test

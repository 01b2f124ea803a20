#pragma once
// The fixture of the control tests: a settings table of one row, a users table for the lookups
// and a shown form to put controls on; dialogs are answered by a script and beeps recorded.

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

namespace tv::test {

// SELECTION string 20 ("Alla"), ORDERPOS string 10 ("1"), INCLUDE integer (0), USERID integer (20),
// SORTNO integer (3).
inline std::unique_ptr<TClientDataSet> SettingsTable() {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("SELECTION", TFieldType::ftString, 20);
    ds->FieldDefs().Add("ORDERPOS", TFieldType::ftString, 10);
    ds->FieldDefs().Add("INCLUDE", TFieldType::ftInteger);
    ds->FieldDefs().Add("USERID", TFieldType::ftInteger);
    ds->FieldDefs().Add("SORTNO", TFieldType::ftInteger);
    ds->CreateDataSet();
    ds->Append();
    ds->FieldByName("SELECTION").SetAsString("Alla");
    ds->FieldByName("ORDERPOS").SetAsString("1");
    ds->FieldByName("INCLUDE").SetAsInteger(0);
    ds->FieldByName("USERID").SetAsInteger(20);
    ds->FieldByName("SORTNO").SetAsInteger(3);
    ds->Post();
    return ds;
}

// ID integer, SIGNATURE string 10, DESCR string 30: users 10 "AB" ... 50 "EF".
inline std::unique_ptr<TClientDataSet> UsersTable() {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("ID", TFieldType::ftInteger);
    ds->FieldDefs().Add("SIGNATURE", TFieldType::ftString, 10);
    ds->FieldDefs().Add("DESCR", TFieldType::ftString, 30);
    ds->CreateDataSet();
    const struct {
        int id;
        const char* signature;
        const char* descr;
    } rows[] = {{10, "AB", "Anna Berg"},
                {20, "CD", "Carl Dahl"},
                {30, "CE", "Cecilia Ek"},
                {40, "DF", "David Fors"},
                {50, "EF", "Eva Fransson"}};
    for (const auto& r : rows) {
        ds->Append();
        ds->FieldByName("ID").SetAsInteger(r.id);
        ds->FieldByName("SIGNATURE").SetAsString(r.signature);
        ds->FieldByName("DESCR").SetAsString(r.descr);
        ds->Post();
    }
    ds->First();
    return ds;
}

struct ControlForm {
    ControlForm() : table(SettingsTable()), users(UsersTable()), dialogScope(dialogs), soundScope(sound) {
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

// Stores `text` into the field of the table's current row and posts.
inline void Store(TDataSet& table, const char* field, const char* text) {
    table.Edit();
    table.FieldByName(field).SetAsString(text);
    table.Post();
}

// Gives `widget` the keyboard focus and waits until it has it.
inline bool FocusOn(QWidget* widget) {
    widget->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    for (int i = 0; i < 100 && !widget->hasFocus(); ++i) QApplication::processEvents();
    return widget->hasFocus();
}

}  // namespace tv::test

#pragma once
// The fixture of the data-aware control tests: a settings table of one row with a field of each
// kind a settings page binds, a users table for the lookups, and a shown form to put controls on.

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>

#include "platform/data/client_data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/form.h"

namespace tv::test {

// PATH string 60, PASSWORD string 20, ACTIVE Boolean, INCLUDE integer ("1"/"0"), MODE integer
// (radio values), SELECTION string (radio texts), DBNAME string (combo), USERID integer (lookup
// key), QUERY memo; one row.
inline std::unique_ptr<TClientDataSet> SettingsTable() {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("PATH", TFieldType::ftString, 60);
    ds->FieldDefs().Add("PASSWORD", TFieldType::ftString, 20);
    ds->FieldDefs().Add("ACTIVE", TFieldType::ftBoolean);
    ds->FieldDefs().Add("INCLUDE", TFieldType::ftInteger);
    ds->FieldDefs().Add("MODE", TFieldType::ftInteger);
    ds->FieldDefs().Add("SELECTION", TFieldType::ftString, 20);
    ds->FieldDefs().Add("DBNAME", TFieldType::ftString, 40);
    ds->FieldDefs().Add("USERID", TFieldType::ftInteger);
    ds->FieldDefs().Add("QUERY", TFieldType::ftMemo);
    ds->CreateDataSet();
    ds->Append();
    ds->FieldByName("PATH").SetAsString("/srv/demo");
    ds->FieldByName("PASSWORD").SetAsString("secret");
    ds->FieldByName("ACTIVE").SetAsBoolean(true);
    ds->FieldByName("INCLUDE").SetAsInteger(0);
    ds->FieldByName("MODE").SetAsInteger(1);
    ds->FieldByName("SELECTION").SetAsString("SQL");
    ds->FieldByName("DBNAME").SetAsString("tid");
    ds->FieldByName("USERID").SetAsInteger(20);
    ds->FieldByName("QUERY").SetAsString("select *\r\nfrom kund");
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

// A shown form with the settings table and the users table behind data sources.
struct DataForm {
    DataForm() : table(SettingsTable()), users(UsersTable()) {
        source.SetDataSet(table.get());
        userSource.SetDataSet(users.get());
        form.SetBounds(0, 0, 460, 420);
        form.Show();
    }
    ~DataForm() {
        // Controls go before the data sources they are linked to.
        while (form.ControlCount() > 0) delete form.Controls(form.ControlCount() - 1);
    }

    // A control of class C on the form, bound to the field `field` of the settings table.
    template <class C>
    C* Bound(const std::string& field, int top, int height = 21) {
        auto* c = new C(&form);
        c->SetParent(&form);
        c->SetBounds(10, top, 240, height);
        c->SetDataSource(&source);
        c->SetDataField(field);
        return c;
    }

    TForm form;
    std::unique_ptr<TClientDataSet> table;
    std::unique_ptr<TClientDataSet> users;
    TDataSource source;
    TDataSource userSource;
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

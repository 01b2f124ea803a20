#include <gtest/gtest.h>

#include <QAbstractButton>
#include <string>
#include <vector>

#include "data_form_fixture.h"
#include "platform/gui/db_check_box.h"

namespace tv {
namespace {

using test::DataForm;

struct CheckCase {
    const char* field;
    const char* checked;    // ValueChecked
    const char* unchecked;  // ValueUnchecked
    const char* stored;     // the field's text before
    bool shows;             // the box shows checked
    const char* toggled;    // the field's text after one click and a post
    const char* rule;
};
constexpr CheckCase kCheckCases[] = {
    {"ACTIVE", "True", "False", "True", true, "False", "a true Boolean field shows checked"},
    {"ACTIVE", "True", "False", "False", false, "True", "a false Boolean field shows unchecked"},
    {"INCLUDE", "1", "0", "1", true, "0", "the checked text of an integer field"},
    {"INCLUDE", "1", "0", "0", false, "1", "the unchecked text of an integer field"},
    {"INCLUDE", "1", "0", "7", false, "1", "a value matching neither shows unchecked"},
    {"SELECTION", "Ja;J", "Nej;N", "j", true, "Nej", "one of several texts, any case; the first written"},
    {"SELECTION", "Ja;J", "Nej;N", "n", false, "Ja", "one of several unchecked texts"},
};

TEST(DBCheckBox, ShowsTheFieldsTextAndWritesItsOwnTexts) {
    for (const CheckCase& c : kCheckCases) {
        SCOPED_TRACE(c.rule);
        DataForm f;
        test::Store(*f.table, c.field, c.stored);
        auto* box = new TDBCheckBox(&f.form);
        box->SetValueChecked(c.checked);
        box->SetValueUnchecked(c.unchecked);
        box->SetParent(&f.form);
        box->SetDataSource(&f.source);
        box->SetDataField(c.field);
        EXPECT_EQ(box->Checked(), c.shows);
        // Shown only: nothing is written until the user toggles.
        f.table->Edit();
        f.table->UpdateRecord();
        EXPECT_EQ(f.table->FieldByName(c.field).Text(), c.stored);
        f.table->Cancel();
        static_cast<QAbstractButton*>(box->Widget())->click();
        EXPECT_EQ(box->Checked(), !c.shows);
        EXPECT_EQ(f.table->State(), dsEdit);
        EXPECT_EQ(f.table->FieldByName(c.field).Text(), c.stored);  // not before the post
        f.table->Post();
        EXPECT_EQ(f.table->FieldByName(c.field).Text(), c.toggled);
    }
}

TEST(DBCheckBox, AClickIsRefusedWhileTheValueCannotChange) {
    DataForm f;
    auto* box = f.Bound<TDBCheckBox>("ACTIVE", 10);
    box->SetReadOnly(true);
    static_cast<QAbstractButton*>(box->Widget())->click();
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(f.table->State(), dsBrowse);
}

}  // namespace
}  // namespace tv

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

#include "data_form_fixture.h"
#include "platform/gui/db_combo_box.h"

namespace tv {
namespace {

using test::DataForm;

TEST(DBComboBox, FreeTextWithAListFilledAtRunTime) {
    DataForm f;
    auto* combo = f.Bound<TDBComboBox>("DBNAME", 10);
    EXPECT_EQ(combo->Text(), "tid");
    combo->Items()->Add("tid");
    combo->Items()->Add("tid_test");
    // A text typed that the list does not have.
    ASSERT_TRUE(test::FocusOn(combo->Widget()));
    QLineEdit* edit = static_cast<QComboBox*>(combo->Widget())->lineEdit();
    edit->selectAll();
    QTest::keyClicks(combo->Widget(), "prod");
    EXPECT_EQ(combo->Text(), "prod");
    EXPECT_EQ(f.table->State(), dsEdit);
    f.table->Post();
    EXPECT_EQ(f.table->FieldByName("DBNAME").Text(), "prod");
    // An item chosen from the list: opening it puts the dataset into edit state.
    auto* box = static_cast<QComboBox*>(combo->Widget());
    combo->SetDroppedDown(true);
    EXPECT_EQ(f.table->State(), dsEdit);
    box->setCurrentIndex(1);
    emit box->activated(1);
    combo->SetDroppedDown(false);
    EXPECT_EQ(combo->Text(), "tid_test");
    f.table->Post();
    EXPECT_EQ(f.table->FieldByName("DBNAME").Text(), "tid_test");
}

TEST(DBComboBox, AListOnlyBoxShowsTheItemOfTheFieldsTextOrNone) {
    DataForm f;
    auto* combo = new TDBComboBox(&f.form);
    combo->SetParent(&f.form);
    combo->SetStyle(csDropDownList);
    combo->Items()->SetText("Aldrig\r\nAlltid\r\n");
    combo->SetDataSource(&f.source);
    combo->SetDataField("SELECTION");
    EXPECT_EQ(combo->ItemIndex(), -1);  // "SQL" is not in the list
    test::Store(*f.table, "SELECTION", "Alltid");
    EXPECT_EQ(combo->ItemIndex(), 1);
}

}  // namespace
}  // namespace tv

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetrics>
#include <QTest>
#include <string>
#include <vector>

#include "data_form_fixture.h"
#include "platform/data/db_error.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/fake_clock.h"

namespace tv {
namespace {

using test::DataForm;

struct LookupFixture : DataForm {
    template <class C>
    C* Lookup(int top, int height) {
        auto* c = Bound<C>("USERID", top, height);
        c->SetListSource(&userSource);
        c->SetKeyField("ID");
        c->SetListField("SIGNATURE;DESCR");
        return c;
    }
};

TEST(DBLookupComboBox, ShowsTheListTextOfTheKeyAndStoresTheKeyOfTheChosenRow) {
    LookupFixture f;
    auto* combo = f.Lookup<TDBLookupComboBox>(10, 21);
    EXPECT_EQ(combo->Text(), "CD");  // the key 20's first list field
    combo->SetListFieldIndex(1);
    EXPECT_EQ(combo->Text(), "Carl Dahl");
    combo->SetListFieldIndex(5);  // out of range: the first
    EXPECT_EQ(combo->Text(), "CD");
    test::Store(*f.table, "USERID", "99");  // not in the list
    EXPECT_EQ(combo->Text(), "");
    test::Store(*f.table, "USERID", "40");
    EXPECT_EQ(combo->Text(), "DF");

    // Down chooses the next row and stores its key at once.
    ASSERT_TRUE(test::FocusOn(combo->Widget()));
    QTest::keyClick(combo->Widget(), Qt::Key_Down);
    EXPECT_EQ(f.table->State(), dsEdit);
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 50);
    EXPECT_EQ(combo->Text(), "EF");
    // The drop-down: Up twice and Enter.
    combo->DropDown();
    ASSERT_TRUE(combo->ListVisible());
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Up);
    QTest::keyClick(popup, Qt::Key_Up);
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 50);  // not before Enter
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_FALSE(combo->ListVisible());
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 30);
    // Escape closes without choosing.
    combo->DropDown();
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Home);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    EXPECT_FALSE(combo->ListVisible());
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 30);
    f.table->Post();
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 30);
}

TEST(DBLookupListBox, ShowsTheKeysRowAndStoresTheKeyOfTheClickedRow) {
    LookupFixture f;
    auto* list = f.Lookup<TDBLookupListBox>(10, 120);
    EXPECT_EQ(list->SelectedItem(), "CD");
    EXPECT_EQ(list->LookupList().KeyRow(), 1);
    test::Store(*f.table, "USERID", "99");  // not in the list: the list goes to its first row
    EXPECT_EQ(list->SelectedItem(), "");
    EXPECT_EQ(f.users->FieldByName("ID").AsInteger(), 10);

    const QFontMetrics metrics(list->Widget()->font());
    QWidget* rows = static_cast<QAbstractScrollArea*>(list->Widget())->viewport();
    QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(20, 3 * metrics.height() + 2));
    EXPECT_EQ(f.table->State(), dsEdit);
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 40);
    EXPECT_EQ(list->SelectedItem(), "DF");
    QTest::keyClick(list->Widget(), Qt::Key_Up);
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 30);
    QTest::keyClick(list->Widget(), Qt::Key_End);
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 50);
    f.table->Post();
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 50);
}

TEST(DBLookupListBox, TypingChoosesTheFirstRowBeginningWithTheTypedTextUntilAPause) {
    LookupFixture f;
    TFakeClock clock;
    TTimerClockScope scope(clock);
    clock.Advance(1000);
    auto* list = f.Lookup<TDBLookupListBox>(10, 120);
    ASSERT_TRUE(test::FocusOn(list->Widget()));
    QTest::keyClicks(list->Widget(), "c");
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 20);
    clock.Advance(500);
    QTest::keyClicks(list->Widget(), "E");  // "ce", any case
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 30);
    clock.Advance(2001);
    QTest::keyClicks(list->Widget(), "d");  // a new search
    EXPECT_EQ(list->LookupList().SearchText(), "d");
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 40);
    clock.Advance(100);
    QTest::keyClicks(list->Widget(), "x");  // no row: nothing chosen, the search stays
    EXPECT_EQ(list->LookupList().SearchText(), "d");
    EXPECT_EQ(f.table->FieldByName("USERID").AsInteger(), 40);
}

TEST(DBLookupControls, BindingErrorsNameTheControl) {
    LookupFixture f;
    auto* combo = f.Lookup<TDBLookupComboBox>(10, 21);
    combo->SetName("UserCombo");
    EXPECT_THROW(combo->SetListField("SIGNATURE;NOPE"), EDatabaseError);
    try {
        combo->SetKeyField("MISSING");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "UserCombo: Field 'MISSING' not found");
    }
    // The list may not be the data source's own dataset.
    try {
        combo->SetListSource(&f.source);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "UserCombo: Circular datalinks are not allowed");
    }
}

}  // namespace
}  // namespace tv

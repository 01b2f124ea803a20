// The library's lookup controls over client tables, with real keys and a fake clock.

#include <gtest/gtest.h>

#include <QApplication>

#include "controls/db_lookup_controls_x.h"
#include "controls_fixture.h"
#include "platform/gui/fake_clock.h"

namespace tv {
namespace {

using test::ControlForm;

struct LookupForm : ControlForm {
    template <class C>
    C* Lookup(int top, int height, const char* listFields = "SIGNATURE;DESCR") {
        auto* c = Bound<C>("USERID", top, height);
        c->SetListSource(&userSource);
        c->SetKeyField("ID");
        c->SetListField(listFields);
        return c;
    }
    int UserId() const { return table->FieldByName("USERID").AsInteger(); }
};

TEST(DBLookupComboX, ShowsTheChosenColumnOfTheKeysRowAndDropsAllColumnsDown) {
    const struct {
        int listFieldIndex;
        const char* text;
    } cases[] = {{0, "CD"}, {1, "Carl Dahl"}, {5, "CD"}, {-1, "CD"}};  // out of range: the first
    for (const auto& c : cases) {
        LookupForm f;
        auto* combo = f.Lookup<TDBLookupComboX>(10, 21);
        combo->SetListFieldIndex(c.listFieldIndex);
        EXPECT_EQ(combo->Text(), c.text) << c.listFieldIndex;
        combo->DropDown();
        ASSERT_TRUE(combo->ListVisible());
        EXPECT_EQ(combo->LookupList().ListFields().size(), 2u);
        combo->CloseUp(false);
    }
}

TEST(DBLookupControlsX, AKeyNotInTheListShowsNothingAndTheListBoxGoesToItsFirstRow) {
    LookupForm f;
    auto* combo = f.Lookup<TDBLookupComboX>(10, 21);
    auto* list = f.Lookup<TDBLookupListBoxX>(40, 120);
    f.users->Last();
    test::Store(*f.table, "USERID", "99");
    EXPECT_EQ(combo->Text(), "");
    EXPECT_EQ(list->SelectedItem(), "");
    EXPECT_EQ(f.users->FieldByName("ID").AsInteger(), 10);
    EXPECT_EQ(list->LookupList().KeyRow(), -1);
}

TEST(DBLookupComboX, TypingSearchesTheShownColumnUntilAPauseOfTwoSeconds) {
    LookupForm f;
    TFakeClock clock;
    TTimerClockScope scope(clock);
    auto* combo = f.Lookup<TDBLookupComboX>(10, 21);
    ASSERT_TRUE(test::FocusOn(combo->Widget()));
    const struct {
        uint32_t pauseMs;
        const char* typed;
        int chosen;  // USERID after the key
        const char* search;
    } steps[] = {
        {0, "a", 10, "a"},      {100, "B", 10, "aB"},  // "aB", any case: AB
        {2001, "c", 20, "c"},   {1999, "e", 30, "ce"},  // within the pause: "ce"
        {100, "x", 30, "ce"},   // no row begins with "cex": nothing chosen, the search stays
        {2001, "d", 40, "d"},   // after the pause a new search
    };
    for (const auto& s : steps) {
        clock.Advance(s.pauseMs);
        QTest::keyClicks(combo->Widget(), s.typed);
        EXPECT_EQ(f.UserId(), s.chosen) << s.typed;
        EXPECT_EQ(combo->LookupList().SearchText(), s.search) << s.typed;
    }
    // Backspace clears the search.
    QTest::keyClick(combo->Widget(), Qt::Key_Backspace);
    EXPECT_EQ(combo->LookupList().SearchText(), "");
}

TEST(DBLookupControlsX, AReadOnlyControlChoosesNothing) {
    LookupForm f;
    TFakeClock clock;
    TTimerClockScope scope(clock);
    auto* combo = f.Lookup<TDBLookupComboX>(10, 21);
    combo->SetReadOnly(true);
    ASSERT_TRUE(test::FocusOn(combo->Widget()));
    QTest::keyClick(combo->Widget(), Qt::Key_Down);
    QTest::keyClicks(combo->Widget(), "e");
    EXPECT_EQ(f.UserId(), 20);
    EXPECT_EQ(f.table->State(), dsBrowse);
}

// ORDERS: USERID and the lookup field USERNAME, the SIGNATURE of the user with that ID.
struct LookupModeForm : ControlForm {
    LookupModeForm() {
        orders.AddField("NO", TFieldType::ftInteger);
        orders.AddField("USERID", TFieldType::ftInteger);
        orders.AddLookupField("USERNAME", TFieldType::ftString, 10, "USERID", users.get(), "ID", "SIGNATURE");
        orders.CreateDataSet();
        orders.Append();
        orders.FieldByName("NO").SetAsInteger(1);
        orders.FieldByName("USERID").SetAsInteger(20);
        orders.Post();
        orderSource.SetDataSet(&orders);
    }
    ~LookupModeForm() {
        while (form.ControlCount() > 0) delete form.Controls(form.ControlCount() - 1);
    }
    TClientDataSet orders;
    TDataSource orderSource;
};

TEST(DBLookupComboX, BoundToALookupFieldTakesTheListFromItAndStoresTheKeyField) {
    LookupModeForm f;
    auto* combo = new TDBLookupComboX(&f.form);
    combo->SetParent(&f.form);
    combo->SetBounds(10, 10, 200, 21);
    combo->SetName("UserCombo");
    combo->SetDataSource(&f.orderSource);
    combo->SetDataField("USERNAME");
    EXPECT_TRUE(combo->LookupMode());
    EXPECT_EQ(combo->KeyField(), "ID");
    EXPECT_EQ(combo->Text(), "CD");
    EXPECT_EQ(combo->LookupList().MasterField(), &f.orders.FieldByName("USERID"));
    // The lookup field's result comes first among the list fields.
    combo->SetListField("DESCR");
    ASSERT_EQ(combo->LookupList().ListFields().size(), 2u);
    EXPECT_EQ(combo->LookupList().ListFields()[0]->FieldName(), "SIGNATURE");
    EXPECT_EQ(combo->Text(), "CD");
    // A choice is stored into the key field, and the lookup field follows.
    ASSERT_TRUE(test::FocusOn(combo->Widget()));
    QTest::keyClick(combo->Widget(), Qt::Key_Down);
    EXPECT_EQ(f.orders.State(), dsEdit);
    EXPECT_EQ(f.orders.FieldByName("USERID").AsInteger(), 30);
    EXPECT_EQ(f.orders.FieldByName("USERNAME").AsString(), "CE");
    EXPECT_EQ(combo->Text(), "CE");
    f.orders.Post();
    // The lookup field defines the key field and the list.
    for (int which = 0; which < 2; ++which) {
        try {
            if (which == 0)
                combo->SetKeyField("SIGNATURE");
            else
                combo->SetListSource(&f.userSource);
            FAIL();
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.what(), kPropDefByLookup);
        }
    }
    // Bound to a data field again, it leaves lookup mode and takes a list of its own.
    combo->SetDataField("USERID");
    EXPECT_FALSE(combo->LookupMode());
    EXPECT_EQ(combo->KeyField(), "");
    combo->SetListSource(&f.userSource);
    combo->SetKeyField("ID");
    combo->SetListField("DESCR");
    EXPECT_EQ(combo->Text(), "Cecilia Ek");
}

}  // namespace
}  // namespace tv

// The pick-list combo over a client table, driven by real keys and mouse clicks.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>

#include "controls/db_pick_combo.h"
#include "controls_fixture.h"
#include "platform/data/db_error.h"

namespace tv {
namespace {

using test::ControlForm;

struct PickForm : ControlForm {
    // `items` and `values` as lines separated by "|".
    // The lists are filled before the combo is bound, as a page's form does.
    TDBPickCombo* Pick(const char* field, const char* items, const char* values, int top = 10) {
        auto* combo = new TDBPickCombo(&form);
        combo->SetParent(&form);
        combo->SetBounds(10, top, 240, 21);
        combo->Values()->SetDelimitedText(values);
        combo->SetItems(Lines(items).get());
        combo->SetDataSource(&source);
        combo->SetDataField(field);
        return combo;
    }
    static std::unique_ptr<TStringList> Lines(const char* text) {
        auto list = std::make_unique<TStringList>();
        list->SetDelimitedText(text);
        return list;
    }
};

// Chooses the item at `index` from the open list with the mouse.
void ClickItem(TDBPickCombo* combo, int index) {
    auto* box = static_cast<QComboBox*>(combo->Widget());
    combo->SetDroppedDown(true);
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

TEST(DBPickCombo, ANewComboChoosesFromItsListOnly) {
    ControlForm f;
    auto* combo = f.Bound<TDBPickCombo>("ORDERPOS", 10);
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_EQ(combo->Field(), &f.table->FieldByName("ORDERPOS"));
}

TEST(DBPickCombo, ShowsTheItemOfTheStoredValue) {
    const struct {
        const char* items;
        const char* values;
        const char* stored;
        int shown;  // ItemIndex
    } cases[] = {
        {"Samtliga,SQL", "Alla,SQL", "Alla", 0},
        {"Samtliga,SQL", "Alla,SQL", "alla", 0},   // values are found in any case
        {"Samtliga,SQL", "Alla,SQL", "Ingen", -1},  // no item stores it: none
        {"Samtliga,SQL", "Alla,SQL", "", -1},
        {"a,b,c", "", "1", 1},                      // without values the position is stored
        {"a,b,c", "", "7", -1},                     // a position outside the items
        {"a,b,c", "x", "2", -1},                    // values do not hold positions
        {"asOrderNr,asKundnr", "-73,-12", "-12", 1},
    };
    for (const auto& c : cases) {
        PickForm f;
        test::Store(*f.table, "SELECTION", c.stored);
        auto* combo = f.Pick("SELECTION", c.items, c.values);
        EXPECT_EQ(combo->ItemIndex(), c.shown) << c.items << " / " << c.values << " / " << c.stored;
        EXPECT_TRUE(f.dialogs.Requests().empty());
    }
}

TEST(DBPickCombo, StoresTheValueOfTheChosenItem) {
    const struct {
        const char* items;
        const char* values;
        int chosen;
        const char* stored;
    } cases[] = {
        {"Samtliga,SQL", "Alla,SQL", 1, "SQL"},
        {"Samtliga,SQL", "Alla,SQL", 0, "Alla"},
        {"a,b,c", "", 2, "2"},         // without values: the position
        {"a,b,c,d", "x,y", 3, "3"},    // past the end of the values: the position
        {"a,b,c,d", "x,y", 1, "y"},
    };
    for (const auto& c : cases) {
        PickForm f;
        test::Store(*f.table, "SELECTION", "");
        auto* combo = f.Pick("SELECTION", c.items, c.values);
        ClickItem(combo, c.chosen);
        EXPECT_EQ(f.table->State(), dsEdit) << c.items;
        EXPECT_EQ(combo->CurrentValue(), c.stored);
        f.table->Post();
        EXPECT_EQ(f.Stored("SELECTION"), c.stored) << c.items << " / " << c.values << " / " << c.chosen;
    }
}

TEST(DBPickCombo, KeysChooseAndTheChoiceIsWrittenOnLeaving) {
    PickForm f;
    auto* combo = f.Pick("SELECTION", "Samtliga,SQL", "Alla,SQL");
    auto* other = f.Pick("ORDERPOS", "a,b,c", "", 40);
    ASSERT_TRUE(test::FocusOn(combo->Widget()));
    QTest::keyClick(combo->Widget(), Qt::Key_Down);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(f.table->State(), dsEdit);
    EXPECT_EQ(f.table->FieldByName("SELECTION").AsString(), "Alla");  // not before leaving
    QTest::keyClick(combo->Widget(), Qt::Key_Tab);
    EXPECT_TRUE(other->Widget()->hasFocus());
    EXPECT_EQ(f.table->FieldByName("SELECTION").AsString(), "SQL");
    // Escape shows the field's value again.
    QTest::keyClick(other->Widget(), Qt::Key_Down);
    EXPECT_EQ(other->ItemIndex(), 2);
    QTest::keyClick(other->Widget(), Qt::Key_Escape);
    EXPECT_EQ(other->ItemIndex(), 1);
    f.table->Post();
    EXPECT_EQ(f.Stored("ORDERPOS"), "1");
    EXPECT_EQ(f.Stored("SELECTION"), "SQL");
}

TEST(DBPickCombo, AWriteFromNoChoiceStoresMinusOne) {
    PickForm f;
    test::Store(*f.table, "SELECTION", "Ingen");
    auto* combo = f.Pick("SELECTION", "Samtliga,SQL", "Alla,SQL");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->CurrentText(), std::nullopt);
    EXPECT_EQ(combo->CurrentValue(), "-1");
    ASSERT_TRUE(combo->DataLink().Edit());
    combo->DataLink().Modified();  // the operator changed it
    f.table->Post();
    EXPECT_EQ(f.Stored("SELECTION"), "-1");
}

TEST(DBPickCombo, AValueThatIsNoPositionIsReportedOnceAndTheChoiceKept) {
    PickForm f;
    auto* combo = f.Pick("ORDERPOS", "a,b,c", "");
    EXPECT_EQ(combo->ItemIndex(), 1);
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    f.table->Edit();
    f.table->FieldByName("ORDERPOS").SetAsString("abc");
    ASSERT_EQ(f.dialogs.Requests().size(), 1u);
    EXPECT_EQ(f.dialogs.Requests()[0].Text, "'abc' is not a valid integer value.");
    EXPECT_EQ(combo->ItemIndex(), 1);
    f.table->Cancel();
    // Called by the program, the error is raised.
    EXPECT_THROW(combo->SelectValue("abc"), EConvertError);
}

TEST(DBPickCombo, EditStylesShowAValueThatIsNoItemAsTheirText) {
    for (TComboBoxStyle style : {csDropDown, csSimple}) {
        PickForm f;
        test::Store(*f.table, "SELECTION", "Egen");
        auto* combo = f.Pick("SELECTION", "Samtliga,SQL", "Alla,SQL");
        combo->SetStyle(style);
        combo->RefreshFromField();
        EXPECT_EQ(combo->Text(), "Egen") << style;
        EXPECT_EQ(combo->CurrentValue(), "-1");
        // A typed item's text stores its value.
        combo->SetText("sql");
        EXPECT_EQ(combo->CurrentValue(), "SQL");
    }
    // csSimple shows the item of a value that is one.
    PickForm f;
    auto* combo = f.Pick("SELECTION", "Samtliga,SQL", "Alla,SQL");
    combo->SetStyle(csSimple);
    combo->SelectValue("SQL");
    EXPECT_EQ(combo->Text(), "SQL");
    EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST(DBPickCombo, SelectTextFindsAnItemNamedXWhenNothingIsChosen) {
    PickForm f;
    test::Store(*f.table, "SELECTION", "none");
    auto* combo = f.Pick("SELECTION", "x,y", "1,2");
    ASSERT_EQ(combo->ItemIndex(), -1);
    combo->SelectText("x");
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->SelectText("");
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST(DBPickCombo, AReadOnlyLinkOrFieldRefusesEveryChoice) {
    for (bool fieldReadOnly : {false, true}) {
        PickForm f;
        auto* combo = f.Pick("SELECTION", "Samtliga,SQL,Ingen", "Alla,SQL,Ingen");
        if (fieldReadOnly)
            f.table->FieldByName("SELECTION").SetReadOnly(true);
        else
            combo->SetReadOnly(true);
        ASSERT_TRUE(test::FocusOn(combo->Widget()));
        QTest::keyClick(combo->Widget(), Qt::Key_Down);
        QTest::keyClick(combo->Widget(), Qt::Key_Up);
        EXPECT_EQ(combo->ItemIndex(), 0);
        // A choice from the list is undone and the list closed.
        int changes = 0;
        combo->OnChange = [&](TObject*) { ++changes; };
        ClickItem(combo, 2);
        EXPECT_EQ(combo->ItemIndex(), 0);
        EXPECT_FALSE(combo->DroppedDown());
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(f.table->State(), dsBrowse);
        EXPECT_EQ(f.Stored("SELECTION"), "Alla");
    }
}

TEST(DBPickCombo, ACharacterTheFieldRejectsBeepsAndIsDropped) {
    PickForm f;
    auto* combo = f.Pick("INCLUDE", "Nej,Ja", "0,1");
    ASSERT_TRUE(test::FocusOn(combo->Widget()));
    QTest::keyClicks(combo->Widget(), "J");  // would choose "Ja"
    EXPECT_EQ(f.sound.Beeps().size(), 1u);
    EXPECT_EQ(combo->ItemIndex(), 0);
    f.table->Post();
    EXPECT_EQ(f.Stored("INCLUDE"), "0");
    // A character the field takes sounds nothing.
    QTest::keyClicks(combo->Widget(), "1");
    EXPECT_EQ(f.sound.Beeps().size(), 1u);
}

TEST(DBPickCombo, AFailingWriteOnTabKeepsTheFocusAndIsReportedOnce) {
    PickForm f;
    f.table->FieldByName("SELECTION").OnValidate = [](TField* field) {
        if (field->AsString() == "SQL") DatabaseError("SQL är inte tillåtet här");
    };
    auto* combo = f.Pick("SELECTION", "Samtliga,SQL", "Alla,SQL");
    auto* other = f.Pick("ORDERPOS", "a,b,c", "", 40);
    ASSERT_TRUE(test::FocusOn(combo->Widget()));
    QTest::keyClick(combo->Widget(), Qt::Key_Down);
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    QTest::keyClick(combo->Widget(), Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_EQ(f.dialogs.Requests().size(), 1u);
    EXPECT_EQ(f.dialogs.Requests()[0].Text, "SQL är inte tillåtet här.");
    EXPECT_TRUE(combo->Widget()->hasFocus());
    EXPECT_FALSE(other->Widget()->hasFocus());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(f.table->FieldByName("SELECTION").AsString(), "Alla");
    // Choosing an allowed item lets the focus go.
    QTest::keyClick(combo->Widget(), Qt::Key_Up);
    QTest::keyClick(combo->Widget(), Qt::Key_Tab);
    EXPECT_TRUE(other->Widget()->hasFocus());
    EXPECT_EQ(f.dialogs.Requests().size(), 1u);
}

}  // namespace
}  // namespace tv

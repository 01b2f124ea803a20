#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <string>
#include <vector>

#include "data_form_fixture.h"
#include "platform/gui/application.h"
#include "platform/gui/db_check_box.h"
#include "platform/gui/db_combo_box.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/db_radio_group.h"

namespace tv {
namespace {

// A form with an edit, a memo, a check box and a radio group on the settings table, and a plain
// edit to move the focus to.
struct SettingsForm : test::DataForm {
    SettingsForm() {
        path = Bound<TDBEdit>("PATH", 10);
        query = Bound<TDBMemo>("QUERY", 40, 60);
        include = Bound<TDBCheckBox>("INCLUDE", 110, 21);
        include->SetCaption("Inkludera");
        include->SetValueChecked("1");
        include->SetValueUnchecked("0");
        mode = Bound<TDBRadioGroup>("MODE", 140, 90);
        mode->Items()->SetText("Uppdatera\r\nHoppa över\r\nMisslyckas\r\n");
        mode->Values()->SetText("0\r\n1\r\n2\r\n");
        other = new TEdit(&form);
        other->SetParent(&form);
        other->SetBounds(10, 240, 100, 21);
    }
    std::string Stored(const char* field) const { return table->FieldByName(field).Text(); }
    QRadioButton* Radio(int index) const { return mode->Widget()->findChildren<QRadioButton*>().at(index); }

    TDBEdit* path;
    TDBMemo* query;
    TDBCheckBox* include;
    TDBRadioGroup* mode;
    TEdit* other;
};

// Types "abc" into the path box, which selects its text when it takes the focus.
void TypeIntoPath(SettingsForm& f) {
    ASSERT_TRUE(test::FocusOn(f.path->Widget()));
    f.path->SelectAll();
    QTest::keyClicks(f.path->Widget(), "abc");
    EXPECT_EQ(f.path->Text(), "abc");
    EXPECT_EQ(f.table->State(), dsEdit);
    EXPECT_EQ(f.Stored("PATH"), "/srv/demo");  // not yet
}

TEST(DataForm, TypingEditsTheTableAndReachesTheFieldOnTabOut) {
    SettingsForm f;
    EXPECT_EQ(f.table->State(), dsBrowse);
    TypeIntoPath(f);
    QTest::keyClick(f.path->Widget(), Qt::Key_Tab);
    EXPECT_FALSE(f.path->Focused());
    EXPECT_EQ(f.Stored("PATH"), "abc");
    EXPECT_EQ(f.table->State(), dsEdit);
}

TEST(DataForm, TypingReachesTheFieldOnPost) {
    SettingsForm f;
    TypeIntoPath(f);
    f.table->Post();
    EXPECT_EQ(f.Stored("PATH"), "abc");
    EXPECT_EQ(f.path->Text(), "abc");
}

TEST(DataForm, TypingReachesTheFieldOnUpdateRecordWithoutAPost) {
    SettingsForm f;
    TypeIntoPath(f);
    ASSERT_TRUE(test::FocusOn(f.query->Widget()));
    QTest::keyClick(f.query->Widget(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(f.query->Widget(), Qt::Key_Return);
    QTest::keyClicks(f.query->Widget(), "where x");
    f.table->UpdateRecord();
    EXPECT_EQ(f.table->State(), dsEdit);
    EXPECT_EQ(f.Stored("PATH"), "abc");
    EXPECT_EQ(f.Stored("QUERY"), "select *\r\nfrom kund\r\nwhere x");
}

TEST(DataForm, AClickTogglesTheCheckBoxAndChoosesARadioItem) {
    SettingsForm f;
    EXPECT_FALSE(f.include->Checked());
    EXPECT_EQ(f.mode->ItemIndex(), 1);
    QWidget* box = f.include->Widget();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    EXPECT_TRUE(f.include->Checked());
    EXPECT_EQ(f.table->State(), dsEdit);
    QRadioButton* fail = f.Radio(2);
    QTest::mouseClick(fail, Qt::LeftButton, {}, QPoint(8, fail->height() / 2));
    EXPECT_EQ(f.mode->ItemIndex(), 2);
    EXPECT_EQ(f.Stored("INCLUDE"), "0");
    f.table->Post();
    EXPECT_EQ(f.Stored("INCLUDE"), "1");
    EXPECT_EQ(f.Stored("MODE"), "2");
}

TEST(DataForm, AValueSetInCodeShowsAtOnce) {
    SettingsForm f;
    f.table->Edit();
    f.table->FieldByName("PATH").SetAsString("/srv/new");
    f.table->FieldByName("QUERY").SetAsString("select 1");
    f.table->FieldByName("INCLUDE").SetAsInteger(1);
    f.table->FieldByName("MODE").SetAsInteger(0);
    EXPECT_EQ(f.path->Text(), "/srv/new");
    EXPECT_EQ(f.query->Text(), "select 1");
    EXPECT_TRUE(f.include->Checked());
    EXPECT_EQ(f.mode->ItemIndex(), 0);
}

TEST(DataForm, CancelShowsTheOldValuesInEveryControl) {
    SettingsForm f;
    TypeIntoPath(f);
    ASSERT_TRUE(test::FocusOn(f.query->Widget()));
    QTest::keyClicks(f.query->Widget(), "x");
    QWidget* box = f.include->Widget();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QRadioButton* update = f.Radio(0);
    QTest::mouseClick(update, Qt::LeftButton, {}, QPoint(8, update->height() / 2));
    EXPECT_TRUE(f.include->Checked());
    EXPECT_EQ(f.mode->ItemIndex(), 0);
    f.table->Cancel();
    EXPECT_EQ(f.path->Text(), "/srv/demo");
    EXPECT_EQ(f.query->Text(), "select *\r\nfrom kund");
    EXPECT_FALSE(f.include->Checked());
    EXPECT_EQ(f.mode->ItemIndex(), 1);
    // Nothing of the dropped changes comes back with the next edit.
    f.table->Edit();
    f.table->Post();
    EXPECT_EQ(f.Stored("PATH"), "/srv/demo");
    EXPECT_EQ(f.Stored("INCLUDE"), "0");
}

TEST(DataForm, EscapeDropsTheTypedTextOfABox) {
    SettingsForm f;
    TypeIntoPath(f);
    QTest::keyClick(f.path->Widget(), Qt::Key_Escape);
    EXPECT_EQ(f.path->Text(), "/srv/demo");
    QTest::keyClick(f.path->Widget(), Qt::Key_Tab);
    EXPECT_EQ(f.Stored("PATH"), "/srv/demo");
}

TEST(DataForm, APasswordEditShowsOnlyStars) {
    test::DataForm f;
    auto* password = f.Bound<TDBEdit>("PASSWORD", 10);
    password->SetPasswordChar('*');
    auto* line = static_cast<QLineEdit*>(password->Widget());
    EXPECT_EQ(password->Text(), "secret");
    EXPECT_EQ(line->displayText(), QStringLiteral("******"));
    ASSERT_TRUE(test::FocusOn(line));
    password->SelectAll();
    QTest::keyClicks(line, "xy");
    EXPECT_EQ(line->displayText(), QStringLiteral("**"));
    f.table->Post();
    EXPECT_EQ(f.table->FieldByName("PASSWORD").Text(), "xy");
}

TEST(DataForm, AReadOnlyFieldOrControlRefusesTyping) {
    test::DataForm f;
    auto* path = f.Bound<TDBEdit>("PATH", 10);
    auto* name = f.Bound<TDBEdit>("DBNAME", 40);
    f.table->FieldByName("PATH").SetReadOnly(true);
    name->SetReadOnly(true);
    for (TDBEdit* edit : {path, name}) {
        const std::string before = edit->Text();
        ASSERT_TRUE(test::FocusOn(edit->Widget()));
        QTest::keyClicks(edit->Widget(), "zz");
        QTest::keyClick(edit->Widget(), Qt::Key_Delete);
        EXPECT_EQ(edit->Text(), before);
        EXPECT_EQ(f.table->State(), dsBrowse);
    }
}

TEST(DataForm, WhileTheTableIsClosedTheControlsAreDisabledAndEmpty) {
    SettingsForm f;
    f.table->Close();
    for (TControl* c : std::vector<TControl*>{f.path, f.query, f.include, f.mode}) {
        EXPECT_FALSE(c->Widget()->isEnabled()) << c->ClassName();
        EXPECT_TRUE(c->Enabled());  // the control's own property stays
    }
    EXPECT_EQ(f.path->Text(), "");
    EXPECT_EQ(f.query->Text(), "");
    EXPECT_FALSE(f.include->Checked());
    EXPECT_EQ(f.mode->ItemIndex(), -1);
    f.table->Open();
    EXPECT_TRUE(f.path->Widget()->isEnabled());
    f.path->SetEnabled(false);
    EXPECT_FALSE(f.path->Widget()->isEnabled());
}

TEST(DataForm, AValueTheFieldRefusesKeepsTheFocusAndIsReported) {
    test::DataForm f;
    auto* include = f.Bound<TDBEdit>("INCLUDE", 10);
    auto* other = f.Bound<TDBEdit>("PATH", 40);
    std::vector<std::string> reported;
    Application().OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
    ASSERT_TRUE(test::FocusOn(include->Widget()));
    include->SelectAll();
    QTest::keyClicks(include->Widget(), "abc");
    QTest::keyClick(include->Widget(), Qt::Key_Tab);
    QApplication::processEvents();
    Application().OnException = nullptr;
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "'abc' is not a valid integer value for field 'INCLUDE'");
    EXPECT_TRUE(include->Focused());
    EXPECT_FALSE(other->Focused());
    EXPECT_EQ(f.table->FieldByName("INCLUDE").AsInteger(), 0);
}

}  // namespace
}  // namespace tv

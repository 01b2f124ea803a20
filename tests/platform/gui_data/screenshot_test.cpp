#include <gtest/gtest.h>

#include "data_form_fixture.h"
#include "platform/gui/db_check_box.h"
#include "platform/gui/db_combo_box.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/db_radio_group.h"
#include "platform/gui/label.h"
#include "tests/support/screenshot.h"

namespace tv {
namespace {

TLabel* Caption(TForm& form, const char* text, int left, int top) {
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetBounds(left, top + 3, 110, 17);
    label->SetCaption(text);
    return label;
}

template <class C>
C* Place(test::DataForm& f, const char* field, int left, int top, int width, int height) {
    auto* c = f.Bound<C>(field, top, height);
    c->SetBounds(left, top, width, height);
    return c;
}

// A settings page holding each data-aware control, bound to one row of a settings table.
TEST(Screenshot, DataAwareControls) {
    test::DataForm f;
    f.form.SetCaption("Dataanslutna kontroller");
    f.form.SetBounds(60, 60, 470, 470);
    Caption(f.form, "Sökväg:", 12, 12);
    Place<TDBEdit>(f, "PATH", 130, 12, 320, 21);
    Caption(f.form, "Lösenord:", 12, 40);
    Place<TDBEdit>(f, "PASSWORD", 130, 40, 150, 21)->SetPasswordChar('*');
    Place<TDBCheckBox>(f, "ACTIVE", 130, 68, 200, 17)->SetCaption("Aktiverad");
    auto* include = Place<TDBCheckBox>(f, "INCLUDE", 130, 90, 200, 17);
    include->SetCaption("Inkludera artiklar");
    include->SetValueChecked("1");
    include->SetValueUnchecked("0");
    auto* mode = Place<TDBRadioGroup>(f, "MODE", 12, 116, 210, 92);
    mode->SetCaption("Om kunden finns");
    mode->Items()->SetText("Uppdatera\r\nHoppa över\r\nMisslyckas\r\n");
    mode->Values()->SetText("0\r\n1\r\n2\r\n");
    auto* selection = Place<TDBRadioGroup>(f, "SELECTION", 240, 116, 210, 92);
    selection->SetCaption("Urval");
    selection->Items()->SetText("Alla\r\nIntervall\r\nSQL\r\n");
    Caption(f.form, "Databas:", 12, 218);
    auto* database = Place<TDBComboBox>(f, "DBNAME", 130, 218, 200, 21);
    database->Items()->SetText("tid\r\ntid_test\r\n");
    Caption(f.form, "Standardanvändare:", 12, 248);
    auto* user = Place<TDBLookupComboBox>(f, "USERID", 130, 248, 200, 21);
    user->SetListSource(&f.userSource);
    user->SetKeyField("ID");
    user->SetListField("SIGNATURE;DESCR");
    auto* users = Place<TDBLookupListBox>(f, "USERID", 130, 278, 320, 76);
    users->SetListSource(&f.userSource);
    users->SetKeyField("ID");
    users->SetListField("SIGNATURE;DESCR");
    Caption(f.form, "Fråga:", 12, 364);
    Place<TDBMemo>(f, "QUERY", 130, 364, 320, 60);
    test::SaveScreenshot(f.form, "data_aware_controls");
    EXPECT_EQ(user->Text(), "CD");
    // The lookup combo's list, dropped down over the list box.
    user->DropDown();
    EXPECT_TRUE(user->ListVisible());
    test::SaveScreenshot(f.form, "data_aware_lookup_dropped_down");
    user->CloseUp(false);
}

}  // namespace
}  // namespace tv

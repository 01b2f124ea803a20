// Pictures of the settings window on each generated page, to be looked at by eye: the order page
// first, with its rule choice dropped down in a second picture.

#include <gtest/gtest.h>

#include <string>

#include "platform/db/ado_query.h"
#include "platform/gui/button.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/page_control.h"
#include "settings_fixture.h"
#include "tests/support/screenshot.h"

namespace tv {
namespace {

TEST(Screenshot, SettingsWindowOnEveryGeneratedPage) {
    test::SettingsFixture f;
    TDataSet& rules = f.dm->RuleTables().Rules();
    rules.Append();
    rules.FieldByName("RuleName").SetAsString("Skicka följesedel");
    rules.Post();
    TFormSettings window(nullptr, *f.dm);
    window.SetPosition(poDesigned);
    window.SetLeft(40);
    window.SetTop(40);
    window.Show();
    test::ClickNode(window, "Import - Order");
    test::SaveScreenshot(window, "settings_import_order");

    int page = 0;
    for (TForm* form : window.Forms()) {
        test::ClickNode(window, form->Caption().c_str());
        EXPECT_TRUE(form->Visible());
        test::SaveScreenshot(window, "settings_page_" + std::to_string(++page));
    }
}

// The pages of the "Grundinställningar" and "Visma" nodes in the states their buttons leave them: the
// running numbers' tab, the menu entries ticked, and the time-reporting users dropped down from a
// fake server (a SQLite file; its users' names are joined as SQLite joins texts).
TEST(Screenshot, SettingsWindowOnTheConnectionPages) {
    test::SettingsFixture f;
    const std::string server = test::MakeFakeTidServer(f, "server.sqlite", test::kTidUsersSql);
    f.dm->TIDUsers().SQL().SetText(
        "select Signature, ProgramUserId, (Firstname || ' ' || Name) as Descr from ProgramUser order by "
        "Signature;");
    TDataSet& tid = f.dm->CDSTidPrefs();
    tid.Edit();
    tid.FieldByName("TIDDBServer").SetAsString(server);
    tid.FieldByName("TIDDBName").SetAsString("TID");
    tid.FieldByName("TIDDefaultUserId").SetAsString("42");
    tid.Post();
    TDataSet& numbers = f.dm->CDSLopnr();
    numbers.Edit();
    numbers.FieldByName("LOPNR_EXPORT_ORDER").SetAsString("1041");
    numbers.FieldByName("LOPNR_EXPORT_FAKTUROR").SetAsString("388");
    numbers.Post();

    TFormSettings window(nullptr, *f.dm);
    window.SetPosition(poDesigned);
    window.SetLeft(40);
    window.SetTop(40);
    window.Show();
    test::ClickNode(window, "Grundinställningar");
    test::Page(window, "Grundinställningar")->Tabs()->SetActivePageIndex(1);
    test::SaveScreenshot(window, "settings_standard_running_numbers");

    test::ClickNode(window, "Integrationsmeny");
    TSettingsPage* menu = test::Page(window, "Integrationsmeny");
    for (const char* name : {"checkPlainImport", "checkSmartExport"})
        static_cast<TCheckBox*>(menu->FindControl(name))->SetChecked(true);
    test::SaveScreenshot(window, "settings_integration_menu_ticked");

    test::ClickNode(window, "Visma Tid inställningar");
    TSettingsPage* page = test::Page(window, "Visma Tid inställningar");
    QTest::mouseClick(page->FindControl("FetchAlternatives")->Widget(), Qt::LeftButton);
    auto* users = static_cast<TDBLookupComboBox*>(page->FindControl("DBLookupComboX1"));
    EXPECT_EQ(users->Text(), "AK");
    users->DropDown();
    test::SaveScreenshot(window, "settings_tid_users");
    users->CloseUp(false);
    f.dm->disconnectVismaTid();
}

}  // namespace
}  // namespace tv

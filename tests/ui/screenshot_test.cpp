// Pictures of the settings window on each generated page, to be looked at by eye: the order page
// first, with its rule choice dropped down in a second picture.

#include <gtest/gtest.h>

#include <string>

#include "platform/gui/db_lookup_controls.h"
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

}  // namespace
}  // namespace tv

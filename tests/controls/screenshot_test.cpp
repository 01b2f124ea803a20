#include <gtest/gtest.h>

#include "controls/db_pick_combo.h"
#include "controls_fixture.h"
#include "platform/gui/label.h"
#include "tests/support/screenshot.h"

namespace tv {
namespace {

TEST(Screenshot, Controls) {
    test::ControlForm f;
    f.form.SetCaption("Kontroller");
    auto* pick = new TDBPickCombo(&f.form);
    pick->SetParent(&f.form);
    pick->SetBounds(130, 12, 200, 21);
    pick->Values()->SetDelimitedText("Alla,SQL");
    pick->Items()->SetDelimitedText("Samtliga,SQL");
    pick->SetDataSource(&f.source);
    pick->SetDataField("SELECTION");
    test::SaveScreenshot(f.form, "controls");
}

}  // namespace
}  // namespace tv

// The developer's test window, offscreen with real keys and clicks: the walk of a file's purchase
// prices to the 518th entry that is not a comment, on generated files, and the window the main
// window's hidden "Debug" action opens.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <string>
#include <vector>

#include "core/forms/main_form_services.h"
#include "platform/gui/application.h"
#include "platform/gui/screen.h"
#include "platform/gui/scripted_dialog_service.h"
#include "tests/platform/gui_data/data_form_fixture.h"  // FocusOn
#include "tests/support/temp_dir.h"
#include "ui/form_debug_file.h"
#include "ui/utility_windows.h"

namespace tv {
namespace {

// An interchange file whose "purchaseprices" holds `entries` entries keyed "A1", "A2" ..., one a
// line, with a comment before every tenth.
std::string PurchasePrices(int entries) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<quorvel>\r\n\t<purchaseprices>\r\n";
    for (int i = 1; i <= entries; ++i) {
        if (i % 10 == 0) xml += "\t\t<!-- tiotal " + std::to_string(i) + " -->\r\n";
        xml += "\t\t<purchaseprice articlekey=\"A" + std::to_string(i) + "\" supplierkey=\"L1\"/>\r\n";
    }
    return xml + "\t</purchaseprices>\r\n</quorvel>\r\n";
}

// Types the file's path and clicks the button; gives the texts of the boxes shown.
std::vector<std::string> RunWalk(const std::string& file) {
    TScriptedDialogService dialogs;
    TDialogServiceScope scope(dialogs);
    dialogs.QueueAnswer(TMsgAnswer::Ok);
    TFormDebugFile window(nullptr);
    window.Show();
    EXPECT_TRUE(test::FocusOn(window.Edit1->Widget()));
    QTest::keyClicks(window.Edit1->Widget(), QString::fromStdString(file));
    QTest::mouseClick(window.Button1->Widget(), Qt::LeftButton);
    std::vector<std::string> texts;
    for (const auto& request : dialogs.Requests()) texts.push_back(request.Text);
    return texts;
}

TEST(FormDebugFile, TheWalkShowsTheKeyOfThe518thEntryThatIsNoComment) {
    test::TempDir dir;
    struct Case {
        const char* name;
        std::string content;
        std::string shown;
    };
    const Case cases[] = {
        {"600.xml", PurchasePrices(600), "A518"},  // 51 comments come before it
        {"518.xml", PurchasePrices(518), "A518"},
        {"517.xml", PurchasePrices(517), "klar"},
        {"short.xml", PurchasePrices(10), "klar"},
        {"empty.xml", "<quorvel><purchaseprices/></quorvel>", "klar"},
        {"none.xml", "<quorvel><customers/></quorvel>", "Filen saknar elementet \"purchaseprices\""},
        {"deep.xml", "<quorvel><x><purchaseprices><p articlekey=\"A1\"/></purchaseprices></x></quorvel>",
         "Filen saknar elementet \"purchaseprices\""},  // only a child of the root counts
    };
    for (const Case& c : cases) {
        const std::string file = dir.Write(c.name, c.content);
        EXPECT_EQ(RunWalk(file), (std::vector<std::string>{c.shown})) << c.name;
    }
}

TEST(FormDebugFile, AFileThatCannotBeReadIsReportedAndTheWindowGoesOn) {
    test::TempDir dir;
    const std::vector<std::string> missing = RunWalk(dir.Path("saknas.xml"));
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_NE(missing[0].find("saknas.xml"), std::string::npos) << missing[0];
    const std::vector<std::string> broken = RunWalk(dir.Write("trasig.xml", "<quorvel><purchaseprices>"));
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_NE(broken[0], "klar");
}

TEST(FormDebugFile, TheDebugActionOpensTheWindowWithoutOwnerAndNotModal) {
    InstallUtilityWindows();
    ASSERT_TRUE(static_cast<bool>(MainFormServices().ShowDebugFile));
    const int before = Screen().FormCount();
    MainFormServices().ShowDebugFile();
    MainFormServices().ShowAbout = nullptr;
    MainFormServices().ShowDebugFile = nullptr;
    ASSERT_EQ(Screen().FormCount(), before + 1);
    TForm* window = Screen().Forms(before);
    ASSERT_NE(dynamic_cast<TFormDebugFile*>(window), nullptr);
    EXPECT_EQ(window->Owner(), nullptr);
    EXPECT_TRUE(window->Showing());
    EXPECT_FALSE(window->Modal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_NE(window->FindComponent("DBPickCombo1"), nullptr);
    EXPECT_NE(window->FindComponent("Edit2"), nullptr);
    // Closing it frees it.
    window->Close();
    for (int i = 0; i < 100 && Screen().FormCount() > before; ++i) QApplication::processEvents();
    EXPECT_EQ(Screen().FormCount(), before);
}

}  // namespace
}  // namespace tv

// Terminating the application cannot be undone, so these tests run in a program of their own, in
// the order written.
#include <gtest/gtest.h>

#include <QTimer>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/timer.h"
#include "platform/rtl/dialog_service.h"

namespace tv {
namespace {

TEST(Terminate, RunWithoutADisplayReturnsAtOnceAndIsReported) {
    // An unattended run: nobody could ever close the main window, so the loop must not start.
    TApplication& app = Application();
    TForm* main = app.CreateForm<TForm>();
    main->SetCaption("Tollvane");
    std::vector<std::string> reported;
    HeadlessDialogService().SetReport([&](std::string_view caption, std::string_view text) {
        reported.push_back(std::string(caption) + ": " + std::string(text));
    });
    QTimer::singleShot(2000, [&] { app.Terminate(); });  // should Run wait after all
    SetScreenlessRun(true);
    app.Run();
    SetScreenlessRun(false);
    HeadlessDialogService().SetReport({});
    EXPECT_FALSE(app.Terminated());
    EXPECT_FALSE(main->Visible());
    EXPECT_EQ(reported, (std::vector<std::string>{
                            "Tollvane: Main window not shown: no display; the message loop was not run"}));
    delete main;
}

TEST(Terminate, ClosingTheMainFormEndsRun) {
    TApplication& app = Application();
    TForm* main = app.CreateForm<TForm>();
    auto* timer = new TTimer(main);
    timer->SetInterval(10);
    timer->OnTimer = [&](TObject*) { main->Close(); };
    app.Run();
    EXPECT_TRUE(app.Terminated());
    EXPECT_TRUE(main->Visible());  // the main form is not hidden: the program ends
    delete main;
}

TEST(Terminate, RunReturnsAtOnceOnceTerminatedAndModalLoopsCancel) {
    TApplication& app = Application();
    app.Terminate();
    TForm* main = app.CreateForm<TForm>();
    app.Run();
    EXPECT_FALSE(main->Visible());  // never shown
    TForm dialog;
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    delete main;
}

}  // namespace
}  // namespace tv

// Terminating the application cannot be undone, so these tests run in a program of their own, in
// the order written.
#include <gtest/gtest.h>

#include <QTimer>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/timer.h"

namespace tv {
namespace {

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

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QTimer>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/gui_classes.h"
#include "platform/gui/screen.h"
#include "platform/gui/scripted_dialog_service.h"
#include "platform/gui/timer.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/files.h"

namespace tv {
namespace {

TEST(Application, AnotherApplicationObjectSharesTheOneApplication) {
    TApplication& app = Application();
    app.SetTitle("Tollvane");
    TApplication facade;
    EXPECT_EQ(facade.Title(), "Tollvane");
    facade.SetTitle("Tollvane - (default)");
    EXPECT_EQ(app.Title(), "Tollvane - (default)");
    int hints = 0;
    facade.OnHint = [&](TObject*) { ++hints; };
    app.SetHint("Kör annat script");
    app.SetHint("Kör annat script");
    EXPECT_EQ(hints, 1);
    EXPECT_EQ(facade.Hint(), "Kör annat script");
    app.OnHint = nullptr;
    EXPECT_EQ(&Application(), &app);
    EXPECT_EQ(app.ExeName(), ProgramFileName());
    EXPECT_NE(app.Handle(), 0);
    EXPECT_FALSE(app.HelpContext(10));
}

TEST(Application, TheFirstFormItMakesIsTheMainForm) {
    TApplication& app = Application();
    if (!app.MainForm()) {
        TForm* first = app.CreateForm<TForm>();
        TForm* second = app.CreateForm<TForm>();
        EXPECT_EQ(app.MainForm(), first);
        delete second;
        delete first;
        EXPECT_EQ(app.MainForm(), nullptr);
    }
}

TEST(Application, MessageBoxFlagsBecomeTheRequestAndTheAnswerItsId) {
    TScriptedDialogService dialogs;
    TDialogServiceScope scope(dialogs);
    struct Case {
        uint16_t flags;
        TMsgButtons buttons;
        TMsgIcon icon;
        int defaultButton;
        TMsgAnswer unattended;  // what a run without an operator answers: the default button
    } cases[] = {
        {MB_OK, TMsgButtons::Ok, TMsgIcon::None, 0, TMsgAnswer::Ok},
        {MB_YESNO | MB_ICONQUESTION, TMsgButtons::YesNo, TMsgIcon::Question, 0, TMsgAnswer::Yes},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, TMsgButtons::YesNo, TMsgIcon::Question, 1,
         TMsgAnswer::No},
        {MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONWARNING, TMsgButtons::YesNoCancel, TMsgIcon::Warning, 2,
         TMsgAnswer::Cancel},
        {MB_OKCANCEL | MB_DEFBUTTON3 | MB_ICONERROR, TMsgButtons::OkCancel, TMsgIcon::Error, 0,
         TMsgAnswer::Ok},
        {MB_RETRYCANCEL | MB_ICONINFORMATION, TMsgButtons::RetryCancel, TMsgIcon::Information, 0,
         TMsgAnswer::Retry},
        {0x000F, TMsgButtons::Ok, TMsgIcon::None, 0, TMsgAnswer::Ok},  // an unknown button group
    };
    for (const Case& c : cases) {
        dialogs.QueueAnswer(TMsgAnswer::No);
        EXPECT_EQ(Application().MessageBox("Text", "Caption", c.flags), 7);
        const TDialogRequest& r = dialogs.Requests().back();
        EXPECT_EQ(r.Buttons, c.buttons) << c.flags;
        EXPECT_EQ(r.Icon, c.icon) << c.flags;
    }
    // Unattended, the default button answers.
    {
        THeadlessDialogService headless;
        TDialogServiceScope unattended(headless);
        for (const Case& c : cases)
            EXPECT_EQ(Application().MessageBox("Text", "", c.flags), static_cast<int>(c.unattended))
                << c.flags;
    }
}

TEST(Application, HandleExceptionShowsTheMessageOrHandsItToOnException) {
    TScriptedDialogService dialogs;
    TDialogServiceScope scope(dialogs);
    Application().SetTitle("Tollvane");
    struct Case {
        std::exception_ptr error;
        const char* shown;  // nullptr: nothing shown
    } cases[] = {
        {std::make_exception_ptr(Exception("Hittade inte definitionsfil : ooi.table")),
         "Hittade inte definitionsfil : ooi.table."},
        {std::make_exception_ptr(Exception("Klart.")), "Klart."},
        {std::make_exception_ptr(Exception("Fel!")), "Fel!"},
        {std::make_exception_ptr(std::runtime_error("disk full")), "disk full."},
        {std::make_exception_ptr(42), "Unknown exception."},
        {std::make_exception_ptr(EAbort("quiet")), nullptr},
    };
    for (const Case& c : cases) {
        const size_t before = dialogs.Requests().size();
        if (c.shown) dialogs.QueueAnswer(TMsgAnswer::Ok);
        try {
            std::rethrow_exception(c.error);
        } catch (...) {
            Application().HandleException(nullptr);
        }
        if (!c.shown) {
            EXPECT_EQ(dialogs.Requests().size(), before);
            continue;
        }
        ASSERT_EQ(dialogs.Requests().size(), before + 1);
        EXPECT_EQ(dialogs.Requests().back().Text, c.shown);
        EXPECT_EQ(dialogs.Requests().back().Caption, "Tollvane");
        EXPECT_EQ(dialogs.Requests().back().Icon, TMsgIcon::Error);
    }
    // With OnException set, the handler gets the exception and nothing is shown.
    std::string seen;
    Application().OnException = [&](TObject*, const std::exception& e) { seen = e.what(); };
    try {
        throw EConvertError("bad");
    } catch (...) {
        Application().HandleException(nullptr);
    }
    Application().OnException = nullptr;
    EXPECT_EQ(seen, "bad");
    // Outside a catch block there is nothing to report.
    Application().HandleException(nullptr);
}

TEST(Application, ProcessMessagesFiresDueTimersAndTheirFailuresAreReported) {
    TTimer timer;
    timer.SetInterval(1);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 1) throw Exception("tick failed");
    };
    std::vector<std::string> reported;
    Application().OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
    EXPECT_TRUE(test::WaitUntil([&] {
        Application().ProcessMessages();
        return ticks >= 3;
    }));
    Application().OnException = nullptr;
    EXPECT_EQ(reported, std::vector<std::string>{"tick failed"});
    timer.SetEnabled(false);
    const int stopped = ticks;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20) Application().ProcessMessages();
    EXPECT_EQ(ticks, stopped);
}

TEST(Application, ATimerMayFreeItselfInItsHandler) {
    auto* timer = new TTimer();
    timer->SetInterval(1);
    bool fired = false;
    timer->OnTimer = [&](TObject* sender) {
        fired = true;
        delete sender;
    };
    EXPECT_TRUE(test::WaitUntil([&] { return fired; }));
    QCoreApplication::processEvents();
}

TEST(Application, HandleMessageGivesOnIdleItsTurnWhenNothingWaits) {
    int idle = 0;
    Application().OnIdle = [&](TObject*, bool& done) {
        ++idle;
        done = true;
    };
    QTimer::singleShot(5, [] {});
    for (int i = 0; i < 5; ++i) Application().HandleMessage();
    Application().OnIdle = nullptr;
    EXPECT_GE(idle, 1);
}

TEST(Application, TheGuiClassesAreFoundByNameAndPublishWhatScriptsReach) {
    RegisterGuiClasses();
    RegisterGuiClasses();
    // The published properties each class declares itself, as the scripts' import units expect.
    struct Case {
        const char* cls;
        std::vector<std::string> published;
    } cases[] = {
        {"TFont", {"Color", "Height", "Name", "Pitch", "Size"}},
        {"TPen", {"Color", "Mode", "Style", "Width"}},
        {"TBrush", {"Color", "Style"}},
        {"TCanvas", {"Brush", "CopyMode", "Font", "Pen"}},
        {"TControl", {"Left", "Top", "Width", "Height", "Hint", "Cursor"}},
        {"TWinControl", {"HelpContext"}},
        {"TSizeConstraints", {"MaxHeight", "MaxWidth", "MinHeight", "MinWidth"}},
        {"TControlScrollBar", {"Margin", "Increment", "Range", "Position", "Tracking", "Visible"}},
        {"TScrollingWinControl", {"HorzScrollBar", "VertScrollBar"}},
        {"TForm",
         {"ActiveControl", "Anchors",      "Constraints",   "BorderIcons", "BorderStyle",  "Caption",
          "AutoScroll",    "Color",        "Font",          "FormStyle",   "KeyPreview",   "Position",
          "OnActivate",    "OnClick",      "OnDblClick",    "OnClose",     "OnCloseQuery", "OnCreate",
          "OnDestroy",     "OnDeactivate", "OnHide",        "OnKeyDown",   "OnKeyPress",   "OnKeyUp",
          "OnResize",      "OnShow",       "PixelsPerInch", "PrintScale",  "Scaled",       "WindowState",
          "CTL3D",         "OnDragDrop",   "OnDragOver",    "OnMouseDown", "OnMouseMove",  "OnMouseUp",
          "OnPaint"}},
        {"TGraphicsObject", {}},
        {"TGraphic", {}},
        {"TBitmap", {}},
        {"TPicture", {}},
        {"TGraphicControl", {}},
        {"TCustomControl", {}},
        {"TDragObject", {}},
        {"TApplication", {}},
    };
    for (const Case& c : cases) {
        const TClassInfo& info = FindClass(c.cls);
        std::vector<std::string> names;
        for (const TPropInfo& p : info.OwnProperties()) names.push_back(p.Name);
        EXPECT_EQ(names, c.published) << c.cls;
    }
    // A script or form description builds controls through their classes.
    TObject* made = FindClass("TForm").Construct<TComponent*>(nullptr);
    EXPECT_EQ(made->ClassName(), "TForm");
    const TPropInfo* caption = made->ClassInfo().FindProperty("Caption");
    caption->SetStr(*made, "Inställningar");
    EXPECT_EQ(static_cast<TForm*>(made)->Caption(), "Inställningar");
    delete made;
    EXPECT_TRUE(FindClass("TForm").CanConstruct<TComponent*>());
    EXPECT_TRUE((FindClass("TForm").CanConstruct<TComponent*, int32_t>()));
    EXPECT_FALSE(FindClass("TGraphic").CanConstruct<>());  // abstract
}

TEST(Screen, KnowsTheDesktopAndTheCursorOverEverything) {
    EXPECT_GT(Screen().Width(), 0);
    EXPECT_GT(Screen().WorkAreaHeight(), 0);
    EXPECT_EQ(Screen().PixelsPerInch(), 96);
    Screen().SetCursor(crHourGlass);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen().SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_THROW(Screen().Forms(-1), EListError);
}

}  // namespace
}  // namespace tv

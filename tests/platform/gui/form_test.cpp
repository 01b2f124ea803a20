#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/application.h"
#include "platform/gui/custom_control.h"
#include "platform/gui/form.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/screen.h"
#include "platform/gui/timer.h"
#include "platform/rtl/dialog_service.h"
#include "platform/rtl/object_handles.h"

namespace tv {
namespace {

// A button-like control that sets its form's modal result when clicked.
class TResultButton : public TCustomControl {
public:
    TResultButton(TForm* form, TModalResult result) : TCustomControl(form) {
        SetParent(form);
        SetBounds(10, 10, 80, 25);
        OnClick = [form, result](TObject*) { form->ModalResult = result; };
    }
};

TEST(Form, IsMadeHiddenAndTellsWhenItShowsAndHides) {
    TForm form;
    std::vector<std::string> log;
    form.OnShow = [&](TObject*) { log.push_back("show"); };
    form.OnHide = [&](TObject*) { log.push_back("hide"); };
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Showing());
    form.SetCaption("Händelseförlopp");
    form.Show();
    EXPECT_TRUE(form.Showing());
    EXPECT_TRUE(form.Widget()->isWindow());
    EXPECT_EQ(form.Widget()->windowTitle().toStdString(), "Händelseförlopp");
    form.Hide();
    EXPECT_FALSE(form.Widget()->isVisible());
    EXPECT_EQ(log, (std::vector<std::string>{"show", "hide"}));
    EXPECT_GE(Screen().FormCount(), 1);
}

TEST(Form, ShowModalEndsWhenATimerSetsModalResult) {
    TForm form;
    TTimer timer(&form);
    timer.SetInterval(20);
    timer.OnTimer = [&](TObject*) { form.ModalResult = mrOk; };
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Modal());
}

TEST(Form, ShowModalEndsOnAClickThatSetsTheResult) {
    TForm form;
    auto* yes = new TResultButton(&form, mrYes);
    QTimer::singleShot(10, [&] { QTest::mouseClick(yes->Widget(), Qt::LeftButton); });
    EXPECT_EQ(form.ShowModal(), mrYes);
}

TEST(Form, ShowModalSeesAResultWrittenByAQueuedCall) {
    // A plain write with no message after it: the loop still sees it within its wait slice.
    TForm form;
    QMetaObject::invokeMethod(
        qApp, [&] { form.ModalResult = mrAbort; }, Qt::QueuedConnection);
    EXPECT_EQ(form.ShowModal(), mrAbort);
}

TEST(Form, AnUnattendedRunAnswersAModalFormWithCancelAndReportsIt) {
    // Without a display nobody can close the form: the loop must not start, or the job hangs.
    std::vector<std::string> reported;
    HeadlessDialogService().SetReport([&](std::string_view caption, std::string_view text) {
        reported.push_back(std::string(caption) + ": " + std::string(text));
    });
    SetScreenlessRun(true);
    TForm form;
    form.SetCaption("Välj kund");
    const int result = form.ShowModal();
    SetScreenlessRun(false);
    HeadlessDialogService().SetReport({});
    EXPECT_EQ(result, mrCancel);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(reported,
              (std::vector<std::string>{"Välj kund: Modal form not shown: no display; answered Cancel"}));
}

TEST(Form, AModalLoopGoesOnWhileCloseQueryRefuses) {
    TForm form;
    int asked = 0;
    form.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
    TTimer timer(&form);
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) { form.ModalResult = mrOk; };
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(asked, 2);
}

TEST(Form, OnlyAHiddenEnabledFloatingFormShowsModally) {
    TForm shown;
    shown.Show();
    TForm disabled;
    disabled.SetEnabled(false);
    TForm host;
    TForm docked;
    docked.ManualDock(&host);
    for (TForm* f : {&shown, &disabled, &docked}) {
        try {
            f->ShowModal();
            ADD_FAILURE();
        } catch (const EInvalidOperation& e) {
            EXPECT_EQ(e.Message, "Cannot make a visible window modal");
        }
    }
}

TEST(Form, CloseAsksOnCloseQueryAndDoesWhatOnCloseSays) {
    struct Case {
        bool canClose;
        TCloseAction action;
        bool visibleAfter;
        bool freed;
    } cases[] = {
        {false, caHide, true, false},
        {true, caNone, true, false},
        {true, caHide, false, false},
        {true, caFree, true, true},
    };
    for (const Case& c : cases) {
        auto* form = new TForm();
        form->Show();
        form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = c.canClose; };
        form->OnClose = [&](TObject*, TCloseAction& action) {
            EXPECT_EQ(action, caHide);
            action = c.action;
        };
        form->Close();
        EXPECT_EQ(form->Visible(), c.visibleAfter) << c.action;
        const int32_t handle = TObjectHandles::HandleOf(form);
        QCoreApplication::processEvents();  // a released form goes now
        EXPECT_EQ(TObjectHandles::TryObjectOf(handle) == nullptr, c.freed) << c.action;
        if (!c.freed) delete form;
    }
}

TEST(Form, AFormMayBeFreedByItsCloseHandlers) {
    // Shown or modal, the form freed by OnCloseQuery or by OnClose (whatever action it leaves) is
    // not touched again; a modal loop ends with Cancel.
    struct Case {
        bool modal;
        bool inCloseQuery;
        TCloseAction action;
    } cases[] = {
        {false, true, caHide}, {false, false, caHide}, {false, false, caNone}, {false, false, caFree},
        {true, true, caHide},  {true, false, caHide},  {true, false, caNone},  {true, false, caFree},
    };
    for (const Case& c : cases) {
        auto* form = new TForm();
        const int32_t handle = TObjectHandles::HandleOf(form);
        if (c.inCloseQuery)
            form->OnCloseQuery = [form](TObject*, bool&) { delete form; };
        else
            form->OnClose = [form, &c](TObject*, TCloseAction& action) {
                const TCloseAction leave = c.action;  // the handler goes with its form
                delete form;
                action = leave;
            };
        if (c.modal) {
            QTimer::singleShot(10, [form] { form->ModalResult = mrOk; });
            EXPECT_EQ(form->ShowModal(), mrCancel) << c.inCloseQuery << " " << c.action;
        } else {
            form->Show();
            form->Close();
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(TObjectHandles::TryObjectOf(handle), nullptr);
    }
}

TEST(Form, TheWindowsCloseButtonGoesThroughClose) {
    TForm form;
    form.Show();
    bool asked = false;
    form.OnCloseQuery = [&](TObject*, bool& canClose) {
        asked = true;
        canClose = false;
    };
    form.Widget()->close();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(form.Widget()->isVisible());
    form.OnCloseQuery = nullptr;
    form.Widget()->close();
    EXPECT_FALSE(form.Visible());
}

TEST(Form, CloseOfAModalFormCancelsIt) {
    TForm form;
    QTimer::singleShot(10, [&] { form.Close(); });
    EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST(Form, PositionCentresOnTheScreen) {
    TForm form;
    form.SetBounds(0, 0, 200, 100);
    form.SetPosition(poScreenCenter);
    form.Show();
    EXPECT_EQ(form.Left(), (Screen().Width() - 200) / 2);
    EXPECT_EQ(form.Top(), (Screen().Height() - 100) / 2);
}

TEST(Form, ADockedFormFillsTheRoomTheAlignedControlsLeave) {
    TForm main;
    main.SetBounds(0, 0, 400, 300);
    auto* panel = new TCustomControl(&main);
    panel->SetParent(&main);
    panel->SetAlign(alClient);
    auto* bar = new TCustomControl(&main);
    bar->SetParent(panel);
    bar->SetHeight(40);
    bar->SetAlign(alTop);
    auto* events = new TForm(&main);
    events->ManualDock(panel);
    events->Show();
    EXPECT_EQ(events->HostDockSite(), panel);
    EXPECT_FALSE(events->Widget()->isWindow());
    EXPECT_EQ(events->BoundsRect(), Bounds(0, 40, 400, 260));
    main.SetBounds(0, 0, 500, 300);
    EXPECT_EQ(events->BoundsRect(), Bounds(0, 40, 500, 260));
    events->ManualFloat(Bounds(50, 60, 200, 100));
    EXPECT_EQ(events->Parent(), nullptr);
    EXPECT_TRUE(events->Widget()->isWindow());
    EXPECT_EQ(events->BoundsRect(), Bounds(50, 60, 200, 100));
}

TEST(Form, ActiveControlFollowsTheFocusAndForgetsAFreedControl) {
    TForm form;
    form.SetBounds(0, 0, 200, 100);
    class TFocusable : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;
        bool AcceptsFocus() const override { return true; }
    };
    auto* a = new TFocusable(&form);
    a->SetParent(&form);
    TForm elsewhere;
    auto* stranger = new TFocusable(&elsewhere);
    stranger->SetParent(&elsewhere);
    EXPECT_THROW(form.SetActiveControl(stranger), EInvalidOperation);
    form.SetActiveControl(a);
    form.Show();
    EXPECT_TRUE(test::WaitUntil([&] { return a->Focused(); }));
    delete a;
    EXPECT_EQ(form.ActiveControl(), nullptr);
    EXPECT_THROW(form.MDIChildren(0), EListError);
}

TEST(Form, AutoScrollShowsScrollBarsAndScrollsControlsIntoView) {
    TForm form;
    form.SetBounds(0, 0, 200, 100);
    form.SetAutoScroll(true);
    auto* far = new TCustomControl(&form);
    far->SetParent(&form);
    far->SetBounds(10, 250, 50, 20);
    EXPECT_TRUE(form.VertScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(form.HorzScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(form.VertScrollBar()->Range(), 270);
    EXPECT_LT(form.ClientWidth(), 200);
    form.ScrollInView(far);
    EXPECT_EQ(form.VertScrollBar()->Position(), 170);
    EXPECT_EQ(far->Top(), 80);  // 250 - 170: in view at the bottom
    form.VertScrollBar()->SetPosition(0);
    EXPECT_EQ(far->Top(), 250);
    far->SetTop(20);
    EXPECT_FALSE(form.VertScrollBar()->IsScrollBarVisible());
}

TEST(Form, AFormMayBeFreedByItsOwnPaintHandler) {
    // The form goes while its widget is painting, also when the handler then fails: the paint
    // ends without touching the freed form, and a failure is still reported.
    for (const bool raises : {false, true}) {
        auto* form = new TForm();
        form->Show();
        const QPointer<QWidget> widget = form->Widget();
        int reported = 0;
        Application().OnException = [&](TObject*, const std::exception&) { ++reported; };
        form->OnPaint = [form, raises](TObject*) {
            const bool fail = raises;  // the handler goes with its form
            delete form;
            if (fail) throw EInvalidOperation("paint failed");
        };
        widget->repaint();
        EXPECT_TRUE(test::WaitUntil([&] { return widget.isNull(); }));
        Application().OnException = nullptr;
        EXPECT_EQ(reported, raises ? 1 : 0);
    }
}

TEST(Form, AClientAlignedControlFollowsTheScrollBarsComingAndGoing) {
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    form.SetAutoScroll(true);
    auto* client = new TCustomControl(&form);
    client->SetParent(&form);
    client->SetAlign(alClient);
    form.Show();
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 0, 300, 200));
    auto* far = new TCustomControl(&form);
    far->SetParent(&form);
    far->SetBounds(1000, 1000, 10, 10);  // both bars show
    const TRect withBars = client->BoundsRect();
    EXPECT_LT(withBars.Width(), 300);
    EXPECT_LT(withBars.Height(), 200);
    EXPECT_EQ(withBars, form.ClientRect());
    delete far;  // and go again
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 0, 300, 200));
}

TEST(Form, FreeingAFormFiresOnDestroyAndForgetsIt) {
    auto* form = new TForm();
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    const int before = Screen().FormCount();
    delete form;
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen().FormCount(), before - 1);
}

}  // namespace
}  // namespace tv

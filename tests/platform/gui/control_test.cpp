#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/custom_control.h"
#include "platform/gui/form.h"
#include "platform/gui/graphic_control.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/menu.h"
#include "platform/rtl/object_handles.h"

namespace tv {
namespace {

// A control that records what happens to it, in order.
class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent* owner) : TCustomControl(owner) {
        SetTabStop(true);
        OnClick = [this](TObject*) { log.push_back("click"); };
        OnDblClick = [this](TObject*) { log.push_back("dblclick"); };
        OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
            log.push_back("down " + std::to_string(b) + (s.Contains(ssDouble) ? " double" : "") + " " +
                          std::to_string(x) + "," + std::to_string(y));
        };
        OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int x, int y) {
            log.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        OnKeyDown = [this](TObject*, uint16_t& key, TShiftState s) {
            log.push_back("keydown " + std::to_string(key) + (s.Contains(ssShift) ? " shift" : ""));
        };
        OnKeyPress = [this](TObject*, char16_t& key) { log.push_back(std::string("keypress ") + char(key)); };
        OnKeyUp = [this](TObject*, uint16_t& key, TShiftState) {
            log.push_back("keyup " + std::to_string(key));
        };
    }
    std::vector<std::string> log;
    TColor paintColour = clRed;

protected:
    bool AcceptsFocus() const override { return true; }
    void Paint() override {
        Canvas()->Brush()->SetColor(paintColour);
        Canvas()->FillRect(ClientRect());
    }
};

// A shown form of a fixed size.
std::unique_ptr<TForm> ShownForm(int w = 300, int h = 200) {
    auto form = std::make_unique<TForm>();
    form->SetBounds(0, 0, w, h);
    form->Show();
    return form;
}

TEST(Control, OwnerFreesItsControlsAndParentShowsThem) {
    auto form = std::make_unique<TForm>();
    auto* panel = new TCustomControl(form.get());
    auto* inner = new TCustomControl(form.get());
    panel->SetParent(form.get());
    inner->SetParent(panel);
    EXPECT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->ControlCount(), 1);
    EXPECT_EQ(panel->Controls(0), inner);
    EXPECT_FALSE(inner->Widget()->isVisible());  // the form is hidden
    form->Show();
    EXPECT_TRUE(inner->Widget()->isVisible());
    EXPECT_TRUE(inner->Showing());
    inner->Hide();
    EXPECT_FALSE(inner->Showing());
    EXPECT_THROW(panel->Controls(1), EListError);
    form.reset();
    EXPECT_FALSE(TObjectHandles::IsLive(panel));
    EXPECT_FALSE(TObjectHandles::IsLive(inner));
}

TEST(Control, AParentFreesTheControlsInItWhoeverOwnsThem) {
    TComponent owner;
    auto* panel = new TCustomControl(nullptr);
    auto* child = new TCustomControl(&owner);
    child->SetParent(panel);
    delete panel;
    EXPECT_FALSE(TObjectHandles::IsLive(child));
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(Control, AControlCannotBeItsOwnParentNorInsideItself) {
    TForm form;
    auto* outer = new TCustomControl(&form);
    auto* inner = new TCustomControl(&form);
    inner->SetParent(outer);
    EXPECT_THROW(outer->SetParent(outer), EInvalidOperation);
    EXPECT_THROW(outer->SetParent(inner), EInvalidOperation);
    EXPECT_EQ(outer->Parent(), nullptr);
    EXPECT_TRUE(outer->ContainsControl(inner));
    EXPECT_FALSE(inner->ContainsControl(outer));
}

TEST(Control, AlignLaysOutTopClientAndBottomPanels) {
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    auto make = [&](TAlign align, int height, int top) {
        auto* c = new TCustomControl(&form);
        c->SetBounds(0, top, 50, height);
        c->SetParent(&form);
        c->SetAlign(align);
        return c;
    };
    TControl* client = make(alClient, 10, 0);
    TControl* bottom = make(alBottom, 40, 0);
    TControl* top2 = make(alTop, 20, 100);
    TControl* top1 = make(alTop, 30, 0);  // stands higher, so it comes first
    EXPECT_EQ(top1->BoundsRect(), Bounds(0, 0, 300, 30));
    EXPECT_EQ(top2->BoundsRect(), Bounds(0, 30, 300, 20));
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 160, 300, 40));
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 50, 300, 110));
    // The layout follows the form's size and the controls' visibility.
    form.SetBounds(0, 0, 400, 300);
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 260, 400, 40));
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 50, 400, 210));
    top2->Hide();
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 30, 400, 230));
    // Changing an aligned control's height moves the others.
    top1->SetHeight(50);
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 50, 400, 210));
}

TEST(Control, LeftAndRightTakeWhatTopAndBottomLeave) {
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    auto make = [&](TAlign align, int w, int h) {
        auto* c = new TCustomControl(&form);
        c->SetBounds(0, 0, w, h);
        c->SetParent(&form);
        c->SetAlign(align);
        return c;
    };
    make(alTop, 0, 20);
    TControl* left = make(alLeft, 60, 0);
    TControl* right = make(alRight, 40, 0);
    TControl* client = make(alClient, 0, 0);
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 20, 60, 180));
    EXPECT_EQ(right->BoundsRect(), Bounds(260, 20, 40, 180));
    EXPECT_EQ(client->BoundsRect(), Bounds(60, 20, 200, 180));
    // More than fits: sizes never go below 0.
    form.SetBounds(0, 0, 50, 10);
    EXPECT_EQ(client->Width(), 0);
    EXPECT_EQ(client->Height(), 0);
}

TEST(Control, AnchorsKeepTheDistancesToTheirEdges) {
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    struct Case {
        TAnchors anchors;
        TRect after;  // bounds (10, 20, 50 x 30) after the form grows by 100 x 50
    } cases[] = {
        {{akLeft, akTop}, Bounds(10, 20, 50, 30)},
        {{akRight, akBottom}, Bounds(110, 70, 50, 30)},
        {{akLeft, akRight, akTop}, Bounds(10, 20, 150, 30)},
        {{akLeft, akTop, akBottom}, Bounds(10, 20, 50, 80)},
        {{}, Bounds(60, 45, 50, 30)},  // no anchor: keeps its place relative to the centre
    };
    std::vector<TControl*> controls;
    for (const Case& c : cases) {
        auto* ctl = new TCustomControl(&form);
        ctl->SetParent(&form);
        ctl->SetBounds(10, 20, 50, 30);
        ctl->SetAnchors(c.anchors);
        controls.push_back(ctl);
    }
    form.SetBounds(0, 0, 400, 250);
    for (size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(controls[i]->BoundsRect(), cases[i].after) << i;
}

TEST(Control, ConstraintsLimitTheSize) {
    TCustomControl c(nullptr);
    c.Constraints()->SetMinWidth(20);
    c.Constraints()->SetMaxHeight(50);
    c.SetBounds(0, 0, 5, 80);
    EXPECT_EQ(c.Width(), 20);
    EXPECT_EQ(c.Height(), 50);
    c.SetBounds(0, 0, -10, -10);
    EXPECT_EQ(c.Height(), 0);
}

TEST(Control, PlacesAndSizesStayWithinWhatTheToolkitCanShow) {
    // A script may set any integer; the layout (alignment, anchors, scrolling) must not overflow.
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kExtent = 16777215;  // the toolkit's largest widget
    struct Case {
        int left, top, width, height;
        TRect kept;
    } cases[] = {
        {kMax - 5, kMax - 5, 100, 100, Bounds(kExtent, kExtent, 100, 100)},
        {kMin, kMin, kMax, kMax, Bounds(-kExtent, -kExtent, kExtent, kExtent)},
        {10, 20, 30, 40, Bounds(10, 20, 30, 40)},
    };
    auto form = ShownForm();
    form->SetAutoScroll(true);
    for (const Case& c : cases) {
        auto* p = new TProbe(form.get());
        p->SetParent(form.get());
        p->SetBounds(c.left, c.top, c.width, c.height);
        EXPECT_EQ(p->BoundsRect(), c.kept) << c.left;
        p->SetAnchors({akLeft, akTop, akRight, akBottom});
        form->SetBounds(0, 0, 400, 300);  // the anchors follow
        p->SetAlign(alClient);
        EXPECT_EQ(p->Left(), 0) << c.left;
        EXPECT_EQ(p->Top(), 0) << c.left;
        EXPECT_LE(p->Width(), 400) << c.left;
        delete p;
        form->SetBounds(0, 0, 300, 200);
    }
}

TEST(Control, FontAndColourFollowTheParentUntilSetOwn) {
    TForm form;
    auto* a = new TCustomControl(&form);
    auto* b = new TCustomControl(&form);
    a->SetParent(&form);
    b->SetParent(&form);
    b->Font()->SetSize(14);
    EXPECT_FALSE(b->ParentFont());
    form.Font()->SetName("DejaVu Serif");
    form.SetColor(clRed);
    EXPECT_EQ(a->Font()->Name(), "DejaVu Serif");
    EXPECT_EQ(b->Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(a->Color(), clRed);
    EXPECT_TRUE(a->ParentColor());
    b->SetColor(clBlue);
    form.SetColor(clGreen);
    EXPECT_EQ(b->Color(), clBlue);
    b->SetParentFont(true);
    EXPECT_EQ(b->Font()->Name(), "DejaVu Serif");
}

TEST(Control, HintsSplitIntoToolTipAndLongHint) {
    EXPECT_EQ(GetShortHint("Save|Saves the file"), "Save");
    EXPECT_EQ(GetLongHint("Save|Saves the file"), "Saves the file");
    EXPECT_EQ(GetShortHint("Save"), "Save");
    EXPECT_EQ(GetLongHint("Save"), "Save");
    TForm form;
    auto* c = new TCustomControl(&form);
    c->SetParent(&form);
    c->SetHint("Save|Saves the file");
    EXPECT_TRUE(c->Widget()->toolTip().isEmpty());  // ShowHint comes from the form: off
    form.SetShowHint(true);
    EXPECT_EQ(c->Widget()->toolTip().toStdString(), "Save");
}

TEST(Control, TabOrderIsThePlaceAmongSiblings) {
    TForm form;
    std::vector<TWinControl*> c;
    for (int i = 0; i < 3; ++i) {
        c.push_back(new TProbe(&form));
        c.back()->SetParent(&form);
    }
    EXPECT_EQ(c[0]->TabOrder(), 0);
    EXPECT_EQ(c[2]->TabOrder(), 2);
    c[2]->SetTabOrder(0);
    EXPECT_EQ(c[2]->TabOrder(), 0);
    EXPECT_EQ(c[0]->TabOrder(), 1);
    c[0]->SetTabOrder(99);
    EXPECT_EQ(c[0]->TabOrder(), 2);
    TProbe loose(nullptr);
    EXPECT_EQ(loose.TabOrder(), -1);
}

TEST(Control, AFreedControlLeavesTheTabOrder) {
    TForm form;
    std::vector<TWinControl*> c;
    for (int i = 0; i < 3; ++i) {
        c.push_back(new TProbe(&form));
        c.back()->SetParent(&form);
    }
    delete c[1];
    EXPECT_EQ(c[2]->TabOrder(), 1);
    auto* added = new TProbe(&form);
    added->SetParent(&form);  // lays out the keyboard order again, freed control and all
    EXPECT_EQ(added->TabOrder(), 2);
    c[2]->SetTabOrder(0);
    EXPECT_EQ(c[0]->TabOrder(), 1);
}

TEST(Control, TextBuffersAreWindows1252AndBounded) {
    TCustomControl c(nullptr);
    c.SetText("Åsa");
    EXPECT_EQ(c.GetTextLen(), 3);
    EXPECT_EQ(c.Perform(WM_GETTEXTLENGTH, 0, 0), 3);
    EXPECT_EQ(c.Perform(0x1234, 0, 0), 0);
    char buf[3] = {'x', 'x', 'x'};
    EXPECT_EQ(c.GetTextBuf(buf, 3), 2);
    EXPECT_EQ(std::string(buf), "\xC5s");
    EXPECT_EQ(c.GetTextBuf(buf, 0), 0);
    c.SetTextBuf("K\xF6p");
    EXPECT_EQ(c.Text(), "Köp");
    c.SetTextBuf(nullptr);
    EXPECT_EQ(c.Text(), "");
}

TEST(Control, MouseEventsComeInTheClassLibrarysOrder) {
    auto form = ShownForm();
    auto* p = new TProbe(form.get());
    p->SetParent(form.get());
    p->SetBounds(10, 10, 100, 50);
    QTest::mouseClick(p->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    // A double click as the desktop delivers it: press, release, double click, release.
    QTest::mouseClick(p->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(7, 8));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(7, 8), p->Widget()->mapToGlobal(QPointF(7, 8)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(p->Widget(), &dbl);
    QTest::mouseRelease(p->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(7, 8));
    QTest::mouseClick(p->Widget(), Qt::RightButton, Qt::NoModifier, QPoint(1, 1));
    const std::vector<std::string> expected = {
        "down 0 5,6",        "click",    "up 0 5,6",   "down 0 7,8", "click", "up 0 7,8", "dblclick",
        "down 0 double 7,8", "up 0 7,8", "down 1 1,1", "up 1 1,1",
    };
    EXPECT_EQ(p->log, expected);
}

TEST(Control, ADisabledControlGetsNoClicksNorFocus) {
    auto form = ShownForm();
    auto* panel = new TCustomControl(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 100, 100);
    auto* p = new TProbe(form.get());
    p->SetParent(panel);
    p->SetBounds(0, 0, 50, 50);
    EXPECT_TRUE(p->CanFocus());
    panel->SetEnabled(false);
    EXPECT_TRUE(p->Enabled());  // its own state; the parent's keeps it from use
    EXPECT_FALSE(p->CanFocus());
    EXPECT_THROW(p->SetFocus(), EInvalidOperation);
    QTest::mouseClick(p->Widget(), Qt::LeftButton);
    EXPECT_TRUE(p->log.empty());
    panel->SetEnabled(true);
    QTest::mouseClick(p->Widget(), Qt::LeftButton);
    EXPECT_EQ(p->log.size(), 3u);
}

TEST(Control, KeysReachTheFocusedControlAndAPreviewingFormMayEatThem) {
    auto form = ShownForm();
    auto* p = new TProbe(form.get());
    p->SetParent(form.get());
    p->SetBounds(0, 0, 50, 50);
    p->SetFocus();
    EXPECT_EQ(form->ActiveControl(), p);
    QTest::keyClick(p->Widget(), Qt::Key_A);
    QTest::keyClick(p->Widget(), Qt::Key_Escape, Qt::ShiftModifier);
    const std::vector<std::string> expected = {"keydown 65",       "keypress a",       "keyup 65",
                                               "keydown 16 shift", "keydown 27 shift", "keypress \x1b",
                                               "keyup 27",         "keyup 16"};
    EXPECT_EQ(p->log, expected);
    p->log.clear();
    form->SetKeyPreview(true);
    form->OnKeyDown = [](TObject*, uint16_t& key, TShiftState) {
        if (key == 'B') key = 0;
    };
    form->OnKeyPress = [](TObject*, char16_t& key) {
        if (key == u'c') key = u'd';
    };
    QTest::keyClick(p->Widget(), Qt::Key_B);
    QTest::keyClick(p->Widget(), Qt::Key_C);
    // A key eaten in OnKeyDown still brings its character, as the class library does.
    const std::vector<std::string> previewed = {"keypress b", "keyup 66", "keydown 67", "keypress d",
                                                "keyup 67"};
    EXPECT_EQ(p->log, previewed);
}

// With Alt held, a letter that is a button's accelerator reaches a previewing form before the
// button acts, and a form that eats it keeps it from the button.
TEST(Control, APreviewingFormSeesAnAcceleratorKeyFirstAndMayEatIt) {
    for (bool eat : {false, true}) {
        auto form = ShownForm();
        auto* focused = new TButton(form.get());
        focused->SetParent(form.get());
        focused->SetBounds(0, 0, 80, 24);
        focused->SetCaption("&Stäng");
        auto* licence = new TButton(form.get());
        licence->SetParent(form.get());
        licence->SetBounds(0, 30, 80, 24);
        licence->SetCaption("&Licensavtal");
        std::vector<std::string> log;
        licence->OnClick = [&](TObject*) { log.push_back("click"); };
        form->SetKeyPreview(true);
        form->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState shift) {
            if (key == VK_MENU) return;
            log.push_back("keydown " + std::string(1, static_cast<char>(key)) +
                          (shift.Contains(ssAlt) ? " alt" : ""));
            if (eat) key = 0;
        };
        form->Widget()->activateWindow();  // accelerators act in the active window only
        ASSERT_TRUE(test::WaitUntil([&] { return QApplication::activeWindow() == form->Widget(); }));
        focused->SetFocus();
        QTest::keyClick(focused->Widget(), Qt::Key_L, Qt::AltModifier);
        // The button clicks itself a moment later, as the toolkit's buttons do on an accelerator.
        EXPECT_EQ(test::WaitUntil([&] { return log.size() == 2; }, eat ? 300 : 2000), !eat) << eat;
        QTest::keyClick(focused->Widget(), Qt::Key_N, Qt::AltModifier);  // no accelerator: seen once
        EXPECT_EQ(log, eat ? (std::vector<std::string>{"keydown L alt", "keydown N alt"})
                           : (std::vector<std::string>{"keydown L alt", "click", "keydown N alt"}))
            << eat;
    }
}

TEST(Control, AnExceptionInAClickHandlerReachesHandleExceptionAndTheLoopGoesOn) {
    auto form = ShownForm();
    auto* p = new TProbe(form.get());
    p->SetParent(form.get());
    p->SetBounds(0, 0, 50, 50);
    std::vector<std::string> reported;
    TObject* sender = nullptr;
    Application().OnException = [&](TObject* s, const std::exception& e) {
        sender = s;
        reported.push_back(e.what());
    };
    int clicks = 0;
    p->OnClick = [&](TObject*) {
        ++clicks;
        throw EConvertError("'x' is not a valid integer value");
    };
    QTest::mouseClick(p->Widget(), Qt::LeftButton);
    QTest::mouseClick(p->Widget(), Qt::LeftButton);
    Application().OnException = nullptr;
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(reported, (std::vector<std::string>{"'x' is not a valid integer value",
                                                  "'x' is not a valid integer value"}));
    EXPECT_EQ(sender, p);
}

TEST(Control, AFailingHandlerThatFreedItsControlIsReportedWithoutASender) {
    // The report must not hand on a freed object: handlers of the report may look at the sender.
    enum Kind { kControl, kButton, kMenuItem };
    for (Kind kind : {kControl, kButton, kMenuItem}) {
        auto* form = ShownForm().release();
        TObject* sender = form;
        int reports = 0;
        Application().OnException = [&](TObject* s, const std::exception&) {
            ++reports;
            sender = s;
        };
        auto failing = [form](TObject*) {
            delete form;
            throw EConvertError("'x' is not a valid integer value");
        };
        if (kind == kMenuItem) {
            auto* item = new TMenuItem(form);
            item->OnClick = failing;
            item->QtAction()->trigger();
        } else {
            TControl* c = kind == kButton ? static_cast<TControl*>(new TButton(form)) : new TProbe(form);
            c->SetParent(form);
            c->SetBounds(0, 0, 50, 50);
            c->OnClick = failing;
            QTest::mouseClick(c->Widget(), Qt::LeftButton);
        }
        QCoreApplication::processEvents();
        Application().OnException = nullptr;
        EXPECT_EQ(reports, 1) << kind;
        EXPECT_EQ(sender, nullptr) << kind;
    }
}

TEST(Control, AControlMayBeFreedByItsOwnHandler) {
    auto form = ShownForm();
    auto* p = new TProbe(form.get());
    p->SetParent(form.get());
    p->SetBounds(0, 0, 50, 50);
    p->OnClick = [p](TObject*) { delete p; };
    QTest::mouseClick(p->Widget(), Qt::LeftButton);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(form->ComponentCount(), 0);
    QCoreApplication::processEvents();  // the widget goes once its event is done
}

TEST(Control, AControlFreedByItsOwnHandlerLetsANestedLoopWaitForMessages) {
    // A handler that frees its control and then waits in a loop of its own (a modal form, a
    // message box): the loop must be able to wait instead of spinning until the handler ends.
    auto form = ShownForm();
    auto* p = new TProbe(form.get());
    p->SetParent(form.get());
    p->SetBounds(0, 0, 50, 50);
    const QPointer<QWidget> widget = p->Widget();
    int idles = 0;
    std::function<void()> nestedLoop = [&] {
        Application().OnIdle = [&](TObject*, bool&) { ++idles; };
        for (int turn = 0; turn < 1000 && idles == 0; ++turn) Application().HandleMessage();
        Application().OnIdle = nullptr;
    };
    p->OnClick = [p, loop = &nestedLoop](TObject*) {
        auto* run = loop;  // the handler goes with its control
        delete p;
        (*run)();
    };
    QTest::mouseClick(p->Widget(), Qt::LeftButton);
    EXPECT_EQ(idles, 1);
    EXPECT_TRUE(test::WaitUntil([&] { return widget.isNull(); }));  // and the widget does go
}

TEST(Control, APaintedFormRendersWithItsGeometry) {
    TForm form;
    form.SetBounds(0, 0, 200, 100);
    form.SetColor(clWhite);
    auto* top = new TProbe(&form);
    top->SetParent(&form);
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* client = new TProbe(&form);
    client->paintColour = clBlue;
    client->SetParent(&form);
    client->SetAlign(alClient);
    auto* corner = new TProbe(&form);
    corner->paintColour = clLime;
    corner->SetParent(client);
    corner->SetBounds(150, 50, 10, 10);
    auto image = test::Render(form);
    struct Case {
        int x, y;
        TColor colour;
    } cases[] = {
        {0, 0, clRed},     {199, 29, clRed},  {0, 30, clBlue},   {199, 99, clBlue},
        {150, 80, clLime}, {159, 89, clLime}, {160, 90, clBlue},
    };
    for (const Case& c : cases) EXPECT_EQ(image->Canvas()->Pixels(c.x, c.y), c.colour) << c.x << "," << c.y;
    EXPECT_THROW(form.PaintTo(12345, 0, 0), EInvalidHandle);
}

TEST(Control, ScreenCoordinatesRoundTrip) {
    auto form = ShownForm();
    auto* p = new TProbe(form.get());
    p->SetParent(form.get());
    p->SetBounds(20, 30, 10, 10);
    const TPoint screen = p->ClientToScreen(Point(1, 2));
    EXPECT_EQ(p->ScreenToClient(screen), Point(1, 2));
    EXPECT_EQ(form->ScreenToClient(screen), Point(21, 32));
}

TEST(Control, AWindowedControlHasAHandleNumber) {
    TCustomControl c(nullptr);
    EXPECT_FALSE(c.HandleAllocated());
    const int32_t h = c.Handle();
    EXPECT_NE(h, 0);
    EXPECT_TRUE(c.HandleAllocated());
    EXPECT_EQ(TObjectHandles::ObjectOf(h), &c);
}

}  // namespace
}  // namespace tv

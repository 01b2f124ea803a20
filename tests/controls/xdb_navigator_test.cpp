// The navigator over a client table: buttons enabled by the table's state, clicked with the mouse.

#include <gtest/gtest.h>

#include <QWidget>

#include "controls/xdb_navigator.h"
#include "controls_fixture.h"
#include "platform/gui/fake_clock.h"

namespace tv {
namespace {

struct NavForm : test::ControlForm {
    NavForm() {
        nav = new TXDBNavigator(&form);
        nav->SetParent(&form);
        nav->SetBounds(10, 10, 300, 25);
        nav->SetDataSource(&userSource);
    }
    void Click(TNavigateBtn button) {
        QWidget* w = nav->Button(button)->Widget();
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }
    std::string Enabled() const {
        std::string s;
        for (int i = 0; i < kNavButtonCount; ++i)
            s += nav->Buttons(static_cast<TNavigateBtn>(i))->Enabled() ? '1' : '0';
        return s;
    }
    TXDBNavigator* nav;
};

TEST(XDBNavigator, EnablesItsButtonsByTheTablesState) {
    NavForm f;
    //                       First..Last, Insert, Delete, Edit, Post, Cancel, Refresh
    EXPECT_EQ(f.Enabled(),
              "0011"
              "1"
              "1"
              "1"
              "00"
              "1");  // on the first row
    f.users->Next();
    EXPECT_EQ(f.Enabled(),
              "1111"
              "1"
              "1"
              "1"
              "00"
              "1");
    f.users->Last();
    EXPECT_EQ(f.Enabled(),
              "1100"
              "1"
              "1"
              "1"
              "00"
              "1");
    f.users->Edit();
    EXPECT_EQ(f.Enabled().substr(4),
              "1"
              "1"
              "0"
              "11"
              "0");
    f.users->Cancel();
    f.users->Close();
    EXPECT_EQ(f.Enabled(), "0000000000");
    f.users->Open();
    f.nav->SetEnabled(false);
    EXPECT_EQ(f.Enabled(), "0000000000");
}

TEST(XDBNavigator, ClickedButtonsChangeTheTable) {
    NavForm f;
    const int rows = f.users->RecordCount();
    f.Click(nbNext);
    EXPECT_EQ(f.users->FieldByName("ID").AsInteger(), 20);
    f.Click(nbInsert);
    EXPECT_EQ(f.users->State(), dsInsert);
    f.users->FieldByName("ID").SetAsInteger(60);
    f.Click(nbPost);
    EXPECT_EQ(f.users->State(), dsBrowse);
    EXPECT_EQ(f.users->RecordCount(), rows + 1);
    // Delete asks first: Cancel keeps the row, OK deletes it.
    f.dialogs.QueueAnswer(TMsgAnswer::Cancel);
    f.Click(nbDelete);
    EXPECT_EQ(f.users->RecordCount(), rows + 1);
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    f.Click(nbDelete);
    EXPECT_EQ(f.users->RecordCount(), rows);
    ASSERT_EQ(f.dialogs.Requests().size(), 2u);
    EXPECT_EQ(f.dialogs.Requests()[0].Text, "Delete record?");
    EXPECT_EQ(f.dialogs.Requests()[0].Buttons, TMsgButtons::OkCancel);
    // Without confirmation it deletes at once.
    f.nav->SetConfirmDelete(false);
    f.Click(nbDelete);
    EXPECT_EQ(f.users->RecordCount(), rows - 1);
    EXPECT_EQ(f.dialogs.Requests().size(), 2u);
    // A disabled button does nothing.
    f.users->First();
    f.Click(nbPrior);
    EXPECT_EQ(f.users->RecNo(), 1);
}

TEST(XDBNavigator, NextRepeatsWhileHeld) {
    NavForm f;
    TFakeClock clock;
    TTimerClockScope scope(clock);
    QWidget* next = f.nav->Button(nbNext)->Widget();
    const QPoint middle(next->width() / 2, next->height() / 2);
    QTest::mousePress(next, Qt::LeftButton, {}, middle);
    EXPECT_EQ(f.users->RecNo(), 1);  // a click is a release
    clock.Advance(399);
    EXPECT_EQ(f.users->RecNo(), 1);
    clock.Advance(1);    // 400 ms: the first repeat
    clock.Advance(200);  // then every 100 ms
    EXPECT_EQ(f.users->RecNo(), 4);
    QTest::mouseRelease(next, Qt::LeftButton, {}, middle);
    EXPECT_EQ(f.users->RecNo(), 5);
    clock.Advance(1000);
    EXPECT_EQ(f.users->RecNo(), 5);
    // Insert does not repeat.
    EXPECT_FALSE(f.nav->Buttons(nbInsert)->AutoRepeat());
}

TEST(XDBNavigator, CaptionsFollowTheListOrTheDefaults) {
    NavForm f;
    EXPECT_EQ(f.nav->Button(nbFirst)->Caption(), "");  // captions are off
    auto captions = std::make_unique<TStringList>();
    captions->Add("Början");
    captions->Add("");
    f.nav->SetCaptions(captions.get());
    f.nav->SetShowCaptions(true);
    EXPECT_EQ(f.nav->Button(nbFirst)->Caption(), "Början");
    EXPECT_EQ(f.nav->Button(nbPrior)->Caption(), "Prior");
    EXPECT_EQ(f.nav->Button(nbRefresh)->Caption(), "Refresh");
    // Exactly the defaults are stored as no list at all.
    auto defaults = std::make_unique<TStringList>();
    defaults->Assign(const_cast<TStrings*>(f.nav->DefaultCaptions()));
    f.nav->SetCaptions(defaults.get());
    EXPECT_EQ(f.nav->Captions()->Count(), 0);
    EXPECT_EQ(f.nav->Button(nbFirst)->Caption(), "First");
    f.nav->SetShowCaptions(false);
    EXPECT_EQ(f.nav->Button(nbFirst)->Caption(), "");
}

TEST(XDBNavigator, HidesTheButtonsNotToBeShownAndKeepsTheirActions) {
    NavForm f;
    TNavButtonSet shown = kAllNavButtons;
    shown.Exclude(nbDelete);
    f.nav->SetVisibleButtons(shown);
    int visible = 0;
    for (int i = 0; i < kNavButtonCount; ++i)
        visible += f.nav->Buttons(static_cast<TNavigateBtn>(i))->Visible();
    EXPECT_EQ(visible, 9);
    EXPECT_FALSE(f.nav->Buttons(nbDelete)->Visible());
    EXPECT_EQ(f.nav->Buttons(nbEdit)->Left(),
              f.nav->Buttons(nbInsert)->Left() + f.nav->Buttons(nbInsert)->Width());
    f.nav->SetConfirmDelete(false);
    f.nav->BtnClick(nbDelete);
    EXPECT_EQ(f.users->RecordCount(), 4);
}

TEST(XDBNavigator, ButtonsTakeTheNavigatorsGradientAndPaintPlainWithoutIt) {
    NavForm f;
    f.nav->Gradient()->SetStartColor(clRed);
    EXPECT_EQ(f.nav->Button(nbLast)->Gradient()->StartColor(), clRed);
    f.nav->SetFine(true);
    EXPECT_TRUE(f.nav->Button(nbLast)->Fine());
    f.nav->SetSpacing(2);
    EXPECT_EQ(f.nav->Button(nbLast)->Spacing(), 2);
    // Painted: the red start colour shows at the top of a button's gradient; without the
    // gradient the button is plain.
    auto colourAt = [&](int x, int y) {
        const QImage image = f.nav->Button(nbLast)->Widget()->grab().toImage();
        const QColor c = image.pixelColor(x < 0 ? image.width() / 2 : x, y < 0 ? image.height() / 2 : y);
        return RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                   static_cast<uint8_t>(c.blue()));
    };
    EXPECT_EQ(colourAt(-1, 1), clRed);  // the gradient's first row
    EXPECT_NE(colourAt(3, -1), ColorToRGB(clBtnFace));
    SetGradientFillAvailable(false);
    f.nav->Button(nbLast)->Invalidate();
    EXPECT_EQ(colourAt(3, -1), ColorToRGB(clBtnFace));
    EXPECT_EQ(colourAt(-1, 1), ColorToRGB(clBtnHighlight));
    SetGradientFillAvailable(true);
}

}  // namespace
}  // namespace tv

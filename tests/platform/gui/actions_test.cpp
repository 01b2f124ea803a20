#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/action.h"
#include "platform/gui/action_bar.h"
#include "platform/gui/button.h"
#include "platform/gui/form.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/menu.h"
#include "platform/gui/panel.h"
#include "platform/rtl/object_handles.h"

namespace tv {
namespace {

// The main window's commands: a menu, an action bar and a button, all showing one action.
struct TWindow {
    TWindow() : form(std::make_unique<TForm>()) {
        form->SetBounds(0, 0, 400, 300);
        actions = new TActionList(form.get());
        exportAction = new TAction(form.get());
        exportAction->SetActionList(actions);
        exportAction->SetCaption("Export");
        exportAction->OnExecute = [this](TObject*) { ++executed; };
        menu = new TMainMenu(form.get());
        file = new TMenuItem(form.get());
        file->SetCaption("&Arkiv");
        menu->Items()->Add(file);
        exportItem = new TMenuItem(form.get());
        exportItem->SetAction(exportAction);
        file->Add(exportItem);
        form->SetMenu(menu);
        bar = new TActionBar(form.get());
        bar->SetParent(form.get());
        bar->AddAction(exportAction, "&Export");
        bar->AddSeparator();
        button = new TButton(form.get());
        button->SetParent(form.get());
        button->SetTop(100);
        button->SetAction(exportAction);
    }
    std::unique_ptr<TForm> form;
    TActionList* actions;
    TAction* exportAction;
    TMainMenu* menu;
    TMenuItem* file;
    TMenuItem* exportItem;
    TActionBar* bar;
    TButton* button;
    int executed = 0;
};

TEST(Action, WhatShowsAnActionFollowsIt) {
    TWindow w;
    EXPECT_EQ(w.actions->ActionCount(), 1);
    EXPECT_EQ(w.actions->Actions(0), w.exportAction);
    EXPECT_EQ(w.exportItem->Caption(), "Export");
    EXPECT_EQ(w.button->Caption(), "Export");
    EXPECT_EQ(w.bar->ItemCaption(0), "&Export");  // the bar's own caption
    EXPECT_EQ(w.bar->ItemCaption(1), "");
    w.exportAction->SetEnabled(false);
    EXPECT_FALSE(w.exportItem->Enabled());
    EXPECT_FALSE(w.exportItem->QtAction()->isEnabled());
    EXPECT_FALSE(w.button->Enabled());
    EXPECT_FALSE(w.button->Widget()->isEnabled());
    EXPECT_FALSE(w.bar->ItemEnabled(0));
    w.exportAction->SetEnabled(true);
    w.exportAction->SetCaption("Exportera");
    w.exportAction->SetVisible(false);
    EXPECT_EQ(w.exportItem->Caption(), "Exportera");
    EXPECT_FALSE(w.exportItem->QtAction()->isVisible());
    EXPECT_FALSE(w.button->Visible());
    EXPECT_FALSE(w.bar->ItemVisible(0));
}

TEST(Action, ClicksRunTheActionUnlessDisabled) {
    TWindow w;
    w.form->Show();
    w.exportItem->QtAction()->trigger();
    QTest::mouseClick(w.button->Widget(), Qt::LeftButton);
    w.bar->ClickItem(0);
    EXPECT_EQ(w.executed, 3);
    w.exportAction->SetEnabled(false);
    EXPECT_FALSE(w.exportAction->Execute());
    w.bar->ClickItem(0);
    EXPECT_EQ(w.executed, 3);
    // A control's own OnClick comes first.
    w.exportAction->SetEnabled(true);
    int own = 0;
    w.button->OnClick = [&](TObject*) { ++own; };
    QTest::mouseClick(w.button->Widget(), Qt::LeftButton);
    EXPECT_EQ(own, 1);
    EXPECT_EQ(w.executed, 3);
}

TEST(Action, AFreedActionIsForgottenByWhatShowedIt) {
    TWindow w;
    delete w.exportAction;
    EXPECT_EQ(w.button->Action(), nullptr);
    EXPECT_EQ(w.exportItem->Action(), nullptr);
    EXPECT_EQ(w.actions->ActionCount(), 0);
    w.bar->ClickItem(0);
    QTest::mouseClick(w.button->Widget(), Qt::LeftButton);
    EXPECT_EQ(w.executed, 0);
}

TEST(Action, AutoCheckTogglesAndShortcutsRunWhileTheFormIsActive) {
    TWindow w;
    w.exportAction->SetAutoCheck(true);
    w.exportAction->SetShortCut(ShortCut('E', {ssCtrl}));
    EXPECT_EQ(w.exportItem->QtAction()->text().toStdString(), "Export\tCtrl+E");
    w.form->Show();
    w.form->Widget()->activateWindow();
    ASSERT_TRUE(test::WaitUntil([&] { return QApplication::activeWindow() == w.form->Widget(); }));
    QTest::keyClick(w.form->Widget(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(w.executed, 1);
    EXPECT_TRUE(w.exportAction->Checked());
    EXPECT_TRUE(w.exportItem->Checked());
    w.exportAction->SetEnabled(false);
    QTest::keyClick(w.form->Widget(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(w.executed, 1);
}

TEST(ShortCut, TextNamesModifiersAndKey) {
    struct Case {
        TShortCut s;
        const char* text;
    } cases[] = {
        {ShortCut('S', {ssCtrl}), "Ctrl+S"},
        {ShortCut('D', {ssCtrl, ssAlt}), "Ctrl+Alt+D"},
        {ShortCut(VK_F1 + 8, {ssCtrl}), "Ctrl+F9"},
        {ShortCut(VK_DELETE, {ssShift}), "Shift+Del"},
        {ShortCut(VK_F1 + 4, {}), "F5"},
        {0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortCutToText(c.s), c.text) << c.s;
}

TEST(Menu, TheMainMenuIsABarAboveTheClientArea) {
    TWindow w;
    w.form->Show();
    auto* bar = w.form->Widget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->text().toStdString(), "&Arkiv");
    const int menuHeight = bar->height();
    EXPECT_GT(menuHeight, 0);
    EXPECT_EQ(w.form->ClientHeight(), 300 - menuHeight);
    EXPECT_EQ(w.bar->Top(), 0);
    EXPECT_EQ(w.bar->Widget()->y(), menuHeight);
    // Items change the bar as they come and go.
    auto* help = new TMenuItem(w.form.get());
    help->SetCaption("Hj&älp");
    w.menu->Items()->Add(help);
    EXPECT_EQ(bar->actions().size(), 2);
    delete help;
    EXPECT_EQ(bar->actions().size(), 1);
    delete w.menu;
    EXPECT_EQ(w.form->Menu(), nullptr);
    EXPECT_EQ(w.form->ClientHeight(), 300);
}

TEST(Menu, ItemsNestAndAnItemFreesItsSubItems) {
    TMenuItem root;
    auto* a = new TMenuItem();
    auto* b = new TMenuItem();
    auto* sub = new TMenuItem();
    root.Add(a);
    root.Insert(0, b);
    a->Add(sub);
    EXPECT_EQ(root.Items(0), b);
    EXPECT_EQ(a->MenuIndex(), 1);
    EXPECT_EQ(sub->Parent(), a);
    EXPECT_NE(a->QtAction()->menu(), nullptr);
    EXPECT_THROW(root.Insert(0, sub), EInvalidOperation);
    EXPECT_THROW(root.Items(2), EListError);
    b->SetCaption("-");
    EXPECT_TRUE(b->IsLine());
    EXPECT_TRUE(b->QtAction()->isSeparator());
    delete a;
    EXPECT_FALSE(TObjectHandles::IsLive(sub));
    EXPECT_EQ(root.Count(), 1);
    // Radio items of one group check one at a time.
    auto* r1 = new TMenuItem();
    auto* r2 = new TMenuItem();
    for (TMenuItem* r : {r1, r2}) {
        r->SetRadioItem(true);
        root.Add(r);
    }
    r1->SetChecked(true);
    r2->SetChecked(true);
    EXPECT_FALSE(r1->Checked());
}

TEST(Menu, ARightClickShowsTheControlsPopupMenu) {
    auto form = std::make_unique<TForm>();
    form->SetBounds(0, 0, 200, 200);
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    auto* popup = new TPopupMenu(form.get());
    auto* item = new TMenuItem(form.get());
    item->SetCaption("Öppna");
    int clicked = 0;
    item->OnClick = [&](TObject*) { ++clicked; };
    popup->Items()->Add(item);
    int popped = 0;
    popup->OnPopup = [&](TObject*) { ++popped; };
    panel->SetPopupMenu(popup);
    form->Show();
    QContextMenuEvent context(QContextMenuEvent::Mouse, QPoint(5, 5),
                              panel->Widget()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(panel->Widget(), &context);
    EXPECT_EQ(popped, 1);
    EXPECT_EQ(popup->PopupComponent(), panel);
    ASSERT_TRUE(test::WaitUntil([&] { return popup->Items()->QtMenu()->isVisible(); }));
    item->QtAction()->trigger();
    popup->Items()->QtMenu()->hide();
    EXPECT_EQ(clicked, 1);
    delete popup;
    EXPECT_EQ(panel->PopupMenu(), nullptr);
}

TEST(Menu, APopupMenuFreedByItsOnPopupShowsNothing) {
    auto* popup = new TPopupMenu(nullptr);
    auto* item = new TMenuItem(popup);
    item->SetCaption("Öppna");
    popup->Items()->Add(item);
    const int32_t handle = TObjectHandles::HandleOf(popup);
    popup->OnPopup = [popup](TObject*) { delete popup; };
    popup->Popup(10, 10);
    EXPECT_EQ(TObjectHandles::TryObjectOf(handle), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
}  // namespace tv

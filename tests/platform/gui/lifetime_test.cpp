#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/combo_box.h"
#include "platform/gui/form.h"
#include "platform/gui/menu.h"
#include "platform/gui/page_control.h"
#include "platform/rtl/object_handles.h"

namespace tv {
namespace {

// A window freed by a handler that runs while the toolkit is still inside an event of a part of
// one of its controls (a combo box's list, a tab bar, a menu): the window goes at once, its
// widgets once the toolkit is done with them. (The tests run with freed memory overwritten, so a
// toolkit that went on with a freed widget would fail here.)
struct Case {
    const char* name;
    // Builds the control on the shown form, sets `freeForm` as its handler, and returns what the
    // user does to it.
    std::function<std::function<void()>(TForm*, std::function<void()> freeForm)> build;
};

const Case kCases[] = {
    {"a choice in a combo box's list",
     [](TForm* form, std::function<void()> freeForm) -> std::function<void()> {
         auto* combo = new TComboBox(form);
         combo->SetParent(form);
         combo->Items()->Add("Kund");
         combo->Items()->Add("Artikel");
         combo->OnChange = [freeForm](TObject*) { freeForm(); };
         auto* box = static_cast<QComboBox*>(combo->Widget());
         return [box] {
             box->showPopup();
             QAbstractItemView* list = box->view();
             ASSERT_TRUE(test::WaitUntil([&] { return list->isVisible(); }));
             const QRect item = list->visualRect(list->model()->index(1, 0));
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
         };
     }},
    {"a click on a page's tab",
     [](TForm* form, std::function<void()> freeForm) -> std::function<void()> {
         auto* pages = new TPageControl(form);
         pages->SetParent(form);
         pages->SetAlign(alClient);
         for (const char* caption : {"Import", "Export"}) {
             auto* sheet = new TTabSheet(form);
             sheet->SetPageControl(pages);
             sheet->SetCaption(caption);
         }
         pages->OnChange = [freeForm](TObject*) { freeForm(); };
         QTabBar* tabs = static_cast<QTabWidget*>(pages->Widget())->tabBar();
         return [tabs] { QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center()); };
     }},
    {"an item of the main menu",
     [](TForm* form, std::function<void()> freeForm) -> std::function<void()> {
         auto* menu = new TMainMenu(form);
         auto* file = new TMenuItem(form);
         file->SetCaption("&Arkiv");
         menu->Items()->Add(file);
         auto* quit = new TMenuItem(form);
         quit->SetCaption("&Avsluta");
         quit->OnClick = [freeForm](TObject*) { freeForm(); };
         file->Add(quit);
         form->SetMenu(menu);
         QMenuBar* bar = form->Widget()->findChild<QMenuBar*>();
         QMenu* drop = file->QtMenu();
         QAction* fileAction = file->QtAction();
         QAction* quitAction = quit->QtAction();
         return [bar, drop, fileAction, quitAction] {
             QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(fileAction).center());
             ASSERT_TRUE(test::WaitUntil([&] { return drop->isVisible(); }));
             QTest::mouseClick(drop, Qt::LeftButton, {}, drop->actionGeometry(quitAction).center());
         };
     }},
};

TEST(Lifetime, AWindowFreedInsideAnEventOfAPartOfItsControlGoesOnceTheToolkitIsDone) {
    for (const Case& c : kCases) {
        auto* form = new TForm();
        form->SetBounds(0, 0, 300, 200);
        const int32_t handle = TObjectHandles::HandleOf(form);
        bool freed = false;
        const std::function<void()> act = c.build(form, [form, &freed] {
            freed = true;
            delete form;
        });
        form->Show();
        const QPointer<QWidget> window = form->Widget();
        act();
        EXPECT_TRUE(freed) << c.name;
        EXPECT_EQ(TObjectHandles::TryObjectOf(handle), nullptr) << c.name;
        EXPECT_TRUE(test::WaitUntil([&] { return window.isNull(); })) << c.name;
    }
}

}  // namespace
}  // namespace tv

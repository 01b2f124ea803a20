#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/button.h"
#include "platform/gui/combo_box.h"
#include "platform/gui/edit.h"
#include "platform/gui/form.h"
#include "platform/gui/group_box.h"
#include "platform/gui/label.h"
#include "platform/gui/list_box.h"
#include "platform/gui/memo.h"
#include "platform/gui/gui_dialog_service.h"
#include "platform/gui/qt_support.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_dir.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace tv {
namespace {

template <class C>
C* Place(TForm& form, int left, int top, int width, int height) {
    auto* c = new C(&form);
    c->SetParent(&form);
    c->SetBounds(left, top, width, height);
    return c;
}

// A form with one of each standard control, as a settings page lays them out.
TEST(Screenshot, StandardControls) {
    TForm form;
    form.SetCaption("Standardkontroller");
    form.SetBounds(40, 40, 420, 330);
    Place<TLabel>(form, 12, 14, 90, 17)->SetCaption("Sökväg:");
    Place<TEdit>(form, 110, 10, 290, 21)->SetText("/srv/foretag/demo");
    Place<TLabel>(form, 12, 44, 90, 17)->SetCaption("Lösenord:");
    auto* password = Place<TEdit>(form, 110, 40, 140, 21);
    password->SetPasswordChar('*');
    password->SetText("hemligt");
    auto* box = Place<TCheckBox>(form, 110, 70, 200, 17);
    box->SetCaption("Inkludera artiklar");
    box->SetChecked(true);
    auto* radio = Place<TRadioGroup>(form, 12, 96, 190, 90);
    radio->SetCaption("Om kunden finns");
    radio->Items()->Add("Uppdatera");
    radio->Items()->Add("Hoppa över");
    radio->Items()->Add("Misslyckas");
    radio->SetItemIndex(1);
    auto* combo = Place<TComboBox>(form, 212, 100, 188, 21);
    combo->Items()->Add("Samtliga");
    combo->Items()->Add("SQL");
    combo->SetItemIndex(0);
    auto* list = Place<TListBox>(form, 212, 130, 188, 56);
    list->Items()->Add("Automatisk");
    list->Items()->Add("SQL");
    list->SetItemIndex(0);
    auto* memo = Place<TMemo>(form, 12, 196, 388, 60);
    memo->SetText("select * from kund\r\nwhere kundnr > 100");
    Place<TButton>(form, 244, 266, 75, 25)->SetCaption("OK");
    Place<TButton>(form, 325, 266, 75, 25)->SetCaption("Avbryt");
    test::SaveScreenshot(form, "standard_controls");
    EXPECT_TRUE(form.Visible());
}

// The open dialog of "Kör annat script", in the toolkit's Swedish texts.
TEST(Screenshot, TheOpenDialogInSwedish) {
    test::TempDir dir;
    dir.Write("import/default_import.pas", "begin end.");
    dir.Write("export/default_export.pas", "begin end.");
    EnsureQtApplication();
    TGuiDialogService service([] { return true; });
    bool seen = false;
    QTimer look;
    look.setInterval(20);
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        look.stop();
        seen = true;
        test::SaveScreenshot(dialog, "open_dialog");
        dialog->reject();
    });
    look.start();
    TOpenFileRequest request;
    request.Title = "Kör annat script";
    request.InitialFolder = dir.Root();
    request.Filter = "Script|*.pas|Alla filer|*.*";
    EXPECT_EQ(service.OpenFile(request), std::nullopt);
    EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace tv

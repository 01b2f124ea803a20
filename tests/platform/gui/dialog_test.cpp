#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/application.h"
#include "platform/gui/gui_dialog_service.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/scripted_dialog_service.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

// Answers the next modal dialog the toolkit shows: looks for it every few milliseconds and acts
// on it. A dialog it cannot answer is rejected, so that no test waits for ever.
class TDialogAnswerer {
public:
    // The application first: a timer made before it never fires (a test run on its own would wait).
    explicit TDialogAnswerer(std::function<void(QWidget*)> act)
        : fAct((EnsureQtApplication(), std::move(act))) {
        fTimer.setInterval(5);
        QObject::connect(&fTimer, &QTimer::timeout, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            fTimer.stop();
            fTitle = dialog->windowTitle().toStdString();
            fAct(dialog);
            if (QApplication::activeModalWidget() == dialog)
                if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
        });
        fTimer.start();
    }
    const std::string& Title() const { return fTitle; }

private:
    std::function<void(QWidget*)> fAct;
    QTimer fTimer;
    std::string fTitle;
};

TEST(GuiDialogService, WithoutAnOperatorItAnswersAsTheHeadlessServiceDoes) {
    TGuiDialogService service([] { return false; });
    TMessageBoxRequest r;
    r.Buttons = TMsgButtons::YesNo;
    r.NonInteractiveAnswer = TMsgAnswer::No;
    EXPECT_EQ(service.MessageBox(r), TMsgAnswer::No);
    EXPECT_TRUE(service.AskYesNo("Kompilering av script misslyckades", "", true));
    EXPECT_EQ(service.OpenFile({}), std::nullopt);
    EXPECT_EQ(service.BrowseFolder("", ""), std::nullopt);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(GuiDialogService, ByDefaultAnOperatorIsThereWhileTheMainFormShows) {
    TGuiDialogService service;  // no main form in these tests: unattended
    TMessageBoxRequest r;
    r.NonInteractiveAnswer = TMsgAnswer::Cancel;
    EXPECT_EQ(service.MessageBox(r), TMsgAnswer::Cancel);
}

TEST(GuiDialogService, ARunWithoutADisplayHasNoOperator) {
    // The main window of an unattended run may count as shown, on a screen nobody sees.
    TGuiDialogService service([] { return true; });
    bool shown = false;
    TDialogAnswerer answer([&](QWidget*) { shown = true; });  // rejects it, should one show
    SetScreenlessRun(true);
    TMessageBoxRequest r;
    r.Buttons = TMsgButtons::YesNo;
    r.NonInteractiveAnswer = TMsgAnswer::Yes;
    const TMsgAnswer answered = service.MessageBox(r);
    const auto file = service.OpenFile({});
    const auto folder = service.BrowseFolder("", "");
    SetScreenlessRun(false);
    EXPECT_EQ(answered, TMsgAnswer::Yes);
    EXPECT_EQ(file, std::nullopt);
    EXPECT_EQ(folder, std::nullopt);
    EXPECT_FALSE(shown);
}

TEST(GuiDialogService, AMessageBoxShowsTheButtonsAndGivesTheOneClicked) {
    TGuiDialogService service([] { return true; });
    std::string text;
    bool defaultIsNo = false;
    TDialogAnswerer answer([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        text = box->text().toStdString();
        defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
        box->button(QMessageBox::No)->click();
    });
    TMessageBoxRequest r;
    r.Text = "Fel uppstod när script kördes.";
    r.Caption = "Tollvane";
    r.Buttons = TMsgButtons::YesNoCancel;
    r.DefaultButton = 1;
    EXPECT_EQ(service.MessageBox(r), TMsgAnswer::No);
    EXPECT_EQ(text, "Fel uppstod när script kördes.");
    EXPECT_EQ(answer.Title(), "Tollvane");
    EXPECT_TRUE(defaultIsNo);
}

TEST(GuiDialogService, ButtonsShowTheTextsTheRequestGivesThemAndStillAnswerByTheirKind) {
    static constexpr TMsgButtonText kTexts[] = {{TMsgAnswer::Yes, "&Spara"}, {TMsgAnswer::No, "&Kasta"}};
    TGuiDialogService service([] { return true; });
    std::vector<std::string> shown;
    TDialogAnswerer answer([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        for (auto kind : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            shown.push_back(box->button(kind)->text().toStdString());
        box->button(QMessageBox::Yes)->click();
    });
    TMessageBoxRequest r;
    r.Caption = "bekräfta";
    r.Buttons = TMsgButtons::YesNoCancel;
    r.ButtonTexts = kTexts;
    EXPECT_EQ(service.MessageBox(r), TMsgAnswer::Yes);
    EXPECT_EQ(shown, (std::vector<std::string>{"&Spara", "&Kasta", "Avbryt"}));  // the rest in Swedish
}

// Every box carries the Swedish dialogs' button texts: the application's message box, its
// exception box and a request that names none.
TEST(GuiDialogService, EveryMessageBoxHasSwedishButtons) {
    TGuiDialogService service([] { return true; });
    IDialogService* previous = SetDialogService(&service);
    struct BoxCase {
        const char* name;
        std::function<void()> show;
        std::vector<std::string> buttons;
    };
    const BoxCase cases[] = {
        {"Application.MessageBox", [] { Application().MessageBox("Fortsätt?", "", MB_YESNOCANCEL); },
         {"&Ja", "&Nej", "Avbryt"}},
        {"the exception box", [] { Application().ShowException(std::runtime_error("Fel i filen")); }, {"OK"}},
        {"abort, retry, ignore",
         [] {
             TMessageBoxRequest r;
             r.Buttons = TMsgButtons::AbortRetryIgnore;
             DialogService().MessageBox(r);
         },
         {"&Avbryt", "&Försök igen", "&Ignorera"}},
        {"OK and cancel",
         [] {
             TMessageBoxRequest r;
             r.Buttons = TMsgButtons::OkCancel;
             DialogService().MessageBox(r);
         },
         {"OK", "Avbryt"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> shown;
        TDialogAnswerer answer([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* b : box->buttons()) shown.push_back(b->text().toStdString());
        });
        c.show();
        std::sort(shown.begin(), shown.end());
        std::vector<std::string> expected = c.buttons;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shown, expected) << c.name;
    }
    SetDialogService(previous);
}

TEST(GuiDialogService, AMessageIsShownAsWrittenNeverAsMarkup) {
    TGuiDialogService service([] { return true; });
    const char* texts[] = {"Elementet <table> saknas i filen\nrad 2", "Värdet &lt;tomt&gt; i <b>Kund</b>"};
    for (const char* text : texts) {
        bool plain = false;
        TDialogAnswerer answer([&](QWidget* w) {
            auto* label = w->findChild<QLabel*>("qt_msgbox_label");
            ASSERT_NE(label, nullptr);
            plain = label->textFormat() == Qt::PlainText && label->text().toStdString() == text;
        });
        TMessageBoxRequest r;
        r.Text = text;
        service.MessageBox(r);
        EXPECT_TRUE(plain) << text;
    }
}

TEST(GuiDialogService, TheFileDialogGivesAnExistingFileOrNothing) {
    test::TempDir dir;
    const std::string file = dir.Write("import/default_import.pas", "begin end.");
    TGuiDialogService service([] { return true; });
    {
        TDialogAnswerer answer([&](QWidget* w) {
            auto* fd = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(fd, nullptr);
            fd->selectFile(QString::fromStdString(file));
            QMetaObject::invokeMethod(fd, "accept");
        });
        TOpenFileRequest r;
        r.Title = "Kör annat script";
        r.InitialFolder = dir.Path("import");
        r.Filter = "Script|*.pas|Alla filer|*.*";
        EXPECT_EQ(service.OpenFile(r), file);
        EXPECT_EQ(answer.Title(), "Kör annat script");
    }
    {
        TDialogAnswerer cancel([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        EXPECT_EQ(service.OpenFile({}), std::nullopt);
    }
    {
        TDialogAnswerer answer([&](QWidget* w) {
            auto* fd = qobject_cast<QFileDialog*>(w);
            fd->selectFile(QString::fromStdString(dir.Path("import")));
            QMetaObject::invokeMethod(fd, "accept");
        });
        EXPECT_EQ(service.BrowseFolder("Välj mapp", dir.Path("")), dir.Path("import"));
    }
}

TEST(GuiDialogService, FileFiltersBecomeTheToolkitsForm) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"Script|*.pas", "Script (*.pas)"},
        {"Text|*.txt;*.log|Alla filer|*.*", "Text (*.txt *.log);;Alla filer (*)"},
        {"", ""},
        {"Nothing after the bar|", "Nothing after the bar ()"},
    };
    for (const Case& c : cases) EXPECT_EQ(ToolkitFileFilter(c.in), c.out) << c.in;
}

TEST(ScriptedDialogService, AnswersInOrderRecordsAndRefusesTheUnexpected) {
    TScriptedDialogService dialogs;
    dialogs.QueueAnswer(TMsgAnswer::Yes);
    dialogs.QueueFile("/tmp/a.pas");
    EXPECT_TRUE(dialogs.AskYesNo("Kompilering av script misslyckades", "Tollvane", false));
    EXPECT_EQ(dialogs.OpenFile({"Öppna", "/tmp", "", ""}), "/tmp/a.pas");
    ASSERT_EQ(dialogs.Requests().size(), 2u);
    EXPECT_EQ(dialogs.Requests()[0].Text, "Kompilering av script misslyckades");
    EXPECT_EQ(dialogs.Requests()[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(dialogs.Requests()[1].Kind, TDialogKind::OpenFile);
    EXPECT_EQ(dialogs.PendingAnswers(), 0u);
    try {
        dialogs.ShowInformation("Klart", "Tollvane");
        ADD_FAILURE();
    } catch (const EUnexpectedDialog& e) {
        EXPECT_EQ(e.Message, "Unexpected dialog: Tollvane: Klart");
    }
}

}  // namespace
}  // namespace tv

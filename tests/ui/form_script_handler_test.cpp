// The "Scripter" page offscreen, with real keys and mouse: loading, saving and compiling from the
// editor, the compiler's messages, the reference list and its double click, and the line shown in
// the status bar. The job API is bound to recording doubles; dialogs answer from a script.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <string>
#include <vector>

#include "automation/job_api_rows.h"
#include "platform/gui/scripted_dialog_service.h"
#include "platform/gui/shortcut.h"
#include "platform/rtl/files.h"
#include "tests/automation/job_api/job_api_doubles.h"
#include "tests/support/temp_dir.h"
#include "settings_fixture.h"
#include "ui/form_script_handler.h"

namespace tv {
namespace {

struct Page {
    test::TApiDoubles d;
    // Without it, the import module's operations are declared and none is there to call.
    const bool importModule;
    TScriptedDialogService dialogs;
    TDialogServiceScope scope{dialogs};
    TFormScriptHandler form{nullptr, importModule ? d.Api()
                                                  : TJobApi::Over<test::TDoubleClasses>(
                                                        &d.Form, &d.DM, nullptr, &d.Export, &d.Plugins)};

    explicit Page(bool withImportModule = true) : importModule(withImportModule) {
        form.ScriptFolder = [] { return std::string("/srv/skript"); };
        form.Show();
        Focus(form.Memo1->Widget());
    }
    ~Page() { form.Hide(); }

    static void Focus(QWidget* widget) {
        widget->activateWindow();
        widget->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i < 100 && !widget->hasFocus(); ++i) QApplication::processEvents();
    }
    QPlainTextEdit* Editor() const { return static_cast<QPlainTextEdit*>(form.Memo1->Widget()); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(Editor(), key, modifiers);
    }
    std::vector<std::string> Lines(const TMemo* memo) const {
        std::vector<std::string> lines;
        for (int i = 0; i < memo->Lines()->Count(); ++i) lines.push_back(memo->Lines()->Strings(i));
        return lines;
    }
    std::string LinePanel() const { return form.StatusBar1->Panels()->Items(1)->Text(); }
    // Clicks at the start of the editor's line `line`.
    void ClickLine(int line) {
        QTextCursor at(Editor()->document()->findBlockByNumber(line));
        QTest::mouseClick(Editor()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          Editor()->cursorRect(at).center());
    }
};

TEST(ScripterPage, OpensWithItsTextsActionsAndTheReferenceListDocked) {
    Page p;
    EXPECT_EQ(p.form.Caption(), "Scripter");
    EXPECT_EQ(p.Lines(p.form.MemoMessages), (std::vector<std::string>{"Compiler Messages"}));
    ASSERT_EQ(p.form.DockTabSet1->DockClientCount(), 1);
    EXPECT_EQ(p.form.DockTabSet1->DockClients(0), p.form.ListBox1);
    EXPECT_EQ(p.form.DockTabSet1->ShownClient(), p.form.ListBox1);
    EXPECT_EQ(p.form.DockTabSet1->Widget()->findChild<QTabBar*>()->tabText(0).toStdString(),
              "Reference List");
    struct ActionCase {
        TAction* action;
        const char* caption;
        const char* shortcut;
        bool enabled;
    };
    const ActionCase actions[] = {
        {p.form.ALoadScript, "&Load", "Ctrl+L", true},
        {p.form.SaveScript, "&Save", "Ctrl+S", true},
        {p.form.CompileAction, "Compile", "Ctrl+F9", true},
        {p.form.ExecuteScript, "ExecuteScript", "", false},
    };
    for (const ActionCase& a : actions) {
        EXPECT_EQ(a.action->Caption(), a.caption);
        EXPECT_EQ(ShortCutToText(a.action->ShortCut()), a.shortcut) << a.caption;
        EXPECT_EQ(a.action->Enabled(), a.enabled) << a.caption;
    }
    EXPECT_EQ(p.form.CompileButton->Action(), p.form.CompileAction);
    // The status bar's first panel takes what the second leaves.
    p.form.SetWidth(700);
    EXPECT_EQ(p.form.StatusBar1->Panels()->Items(0)->Width(), 700 - 10 - 100);
}

TEST(ScripterPage, CtrlLLoadsAScriptFromTheScriptFolderAndListsTheApi) {
    Page p;
    test::TempDir dir;
    p.dialogs.QueueFile(dir.Write("jobb.pas", "begin\r\n  InitiateImport();\r\nend.\r\n"));
    p.Key(Qt::Key_L);
    ASSERT_EQ(p.dialogs.Requests().size(), 1u);
    EXPECT_EQ(p.dialogs.Requests()[0].Kind, TDialogKind::OpenFile);
    EXPECT_EQ(p.dialogs.Requests()[0].Text, "/srv/skript");
    EXPECT_EQ(p.Lines(p.form.Memo1), (std::vector<std::string>{"begin", "  InitiateImport();", "end."}));
    const TStrings& items = *p.form.ListBox1->Items();
    ASSERT_EQ(items.Count(), 91);
    EXPECT_EQ(items.Strings(0), "function CheckAgreements(): boolean;");
    EXPECT_EQ(items.Strings(90), "procedure SetCancelling(const cancel :boolean);");
    EXPECT_TRUE(p.d.Trace.Lines.empty());

    // Cancelled: nothing changes.
    p.dialogs.QueueFile(std::nullopt);
    p.Key(Qt::Key_L);
    EXPECT_EQ(p.form.Memo1->Lines()->Count(), 3);
}

TEST(ScripterPage, CtrlSWritesTheEditorsLinesToTheChosenFile) {
    Page p;
    test::TempDir dir;
    p.form.Memo1->Lines()->SetText("begin\r\n  GFXSetFileName('Åsa');\r\nend.");
    const std::string file = dir.Path("sparad.pas");
    p.dialogs.QueueFile(file);
    p.Key(Qt::Key_S);
    ASSERT_EQ(p.dialogs.Requests().size(), 1u);
    EXPECT_EQ(p.dialogs.Requests()[0].Kind, TDialogKind::SaveFile);
    EXPECT_EQ(dir.Read(file), "begin\r\n  GFXSetFileName('\xC5sa');\r\nend.");
}

TEST(ScripterPage, CtrlF9ListsEveryMessageOfAFailingScriptAndShowsNoOk) {
    Page p;
    // An unused variable (a hint) before an unknown identifier (an error): two messages.
    p.form.Memo1->Lines()->SetText(
        "procedure P;\r\nvar x: Integer;\r\nbegin\r\nend;\r\n\r\nbegin\r\n  Foo;\r\nend.");
    p.Key(Qt::Key_F9);
    const std::vector<std::string> messages = p.form.CompilerMessages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(p.Lines(p.form.MemoMessages), messages);
    EXPECT_NE(messages.back().find("Unknown identifier 'Foo'"), std::string::npos) << messages.back();
    EXPECT_TRUE(p.dialogs.Requests().empty()) << "no OK";
    EXPECT_EQ(p.form.ListBox1->Items()->Count(), 91);

    // Mended, the button compiles it: "OK", and nothing listed.
    p.form.Memo1->Lines()->SetText("begin\r\n  GFXCloseSection();\r\nend.");
    p.dialogs.QueueAnswer(TMsgAnswer::Ok);
    QTest::mouseClick(p.form.CompileButton->Widget(), Qt::LeftButton);
    ASSERT_EQ(p.dialogs.Requests().size(), 1u);
    EXPECT_EQ(p.dialogs.Requests()[0].Text, "OK");
    EXPECT_EQ(p.form.MemoMessages->Lines()->Count(), 0);
    EXPECT_EQ(p.form.ListBox1->Items()->Count(), 91) << "compiling twice lists each row once";
}

TEST(ScripterPage, ACompiledScriptThatCallsAnOperationNotThereSaysWhy) {
    Page p(false);
    p.form.Memo1->Lines()->SetText("begin\r\n  ImportInvoices();\r\nend.");
    p.Key(Qt::Key_F9);
    EXPECT_EQ(p.Lines(p.form.MemoMessages), (std::vector<std::string>{"Cannot Import IMPORTINVOICES"}));
    EXPECT_TRUE(p.dialogs.Requests().empty());
}

TEST(ScripterPage, ADoubleClickInsertsTheDeclarationAfterTheSelectionAndKeepsIt) {
    Page p;
    p.form.Engine.RegisterScriptApi();  // as loading a script does
    p.form.Memo1->Lines()->SetText("begin\r\nend.");
    p.form.Memo1->SetSelStart(0);
    p.form.Memo1->SetSelLength(5);  // "begin"
    auto* list = static_cast<QAbstractItemView*>(p.form.ListBox1->Widget());
    const TRect r = p.form.ListBox1->ItemRect(1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + 4, r.Top + 4));
    const std::string item = p.form.ListBox1->Items()->Strings(1);
    EXPECT_EQ(item, "function CheckArticles(): boolean;");
    EXPECT_EQ(p.form.Memo1->Text(), "begin" + item + "\r\nend.");
    EXPECT_EQ(p.form.Memo1->SelStart(), 5 + static_cast<int>(item.size()));
    EXPECT_EQ(p.form.Memo1->SelLength(), 0);

    // With no item chosen nothing is inserted.
    p.form.ListBox1->SetItemIndex(-1);
    p.form.ListBox1DblClick();
    EXPECT_EQ(p.form.Memo1->Text(), "begin" + item + "\r\nend.");
}

TEST(ScripterPage, ClicksInTheEditorShowTheLineOfTheCaret) {
    Page p;
    p.form.Memo1->Lines()->SetText("begin\r\n  Åsa;\r\n  GFXCloseSection();\r\nend.");
    p.ClickLine(2);
    EXPECT_EQ(p.LinePanel(), "Ln: 2");
    p.ClickLine(0);
    EXPECT_EQ(p.LinePanel(), "Ln: 0");
    p.ClickLine(3);
    EXPECT_EQ(p.LinePanel(), "Ln: 3");
}

TEST(ScripterPage, TheSettingsWindowShowsItAsThePageScripterOverTheProgramsApi) {
    test::SettingsFixture f;
    TFormSettings window(nullptr, *f.dm);
    window.Show();
    test::ClickNode(window, "Scripter");
    TFormScriptHandler* page = nullptr;
    for (TForm* form : window.Forms())
        if (form->Caption() == "Scripter") page = dynamic_cast<TFormScriptHandler*>(form);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->Visible());
    // Bound to the central data module; the engines' modules are not made here, so their rows are
    // only declared: a script that calls none of them compiles.
    page->Memo1->Lines()->SetText("begin\r\n  if GetCancelling() then SetCancelling(False);\r\nend.");
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    QTest::mouseClick(page->CompileButton->Widget(), Qt::LeftButton);
    ASSERT_EQ(f.dialogs.Requests().size(), 1u);
    EXPECT_EQ(f.dialogs.Requests()[0].Text, "OK");
    EXPECT_EQ(page->ListBox1->Items()->Count(), 91);
    window.Hide();
}

}  // namespace
}  // namespace tv

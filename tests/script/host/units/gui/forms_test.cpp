#include <gtest/gtest.h>

#include <QTest>
#include <sstream>

#include "platform/gui/button.h"
#include "platform/gui/edit.h"
#include "platform/gui/form.h"
#include "platform/rtl/object_handles.h"
#include "script/host/component/script.h"
#include "script/host/units/import_plugins.h"
#include "units_host.h"

namespace tv::script {
namespace {

struct FormsCase {
    const char* name;
    const char* script;
    const char* out;
    const char* message;  // the compile error, "" when it compiles and runs
};

const FormsCase kCases[] = {
    {"BorderStyle of an edit is dropped", "var E: TEdit; begin E := nil; E.BorderStyle := bsNone; end.", "",
     "[Error] (1:33): Unknown identifier 'BorderStyle'"},
    {"BorderStyle of a memo is dropped", "var M: TMemo; begin M := nil; M.BorderStyle := bsNone; end.", "",
     "[Error] (1:33): Unknown identifier 'BorderStyle'"},
    {"BorderStyle of a list box is dropped", "var L: TListBox; begin L := nil; L.BorderStyle := bsNone; end.",
     "", "[Error] (1:36): Unknown identifier 'BorderStyle'"},
    {"Kind of a scroll bar is dropped", "var S: TScrollBar; begin S := nil; S.Kind := sbVertical; end.", "",
     "[Error] (1:38): Unknown identifier 'Kind'"},
    {"LargeChange of a scroll bar is dropped", "var S: TScrollBar; begin S := nil; S.LargeChange := 2; end.",
     "", "[Error] (1:38): Unknown identifier 'LargeChange'"},
    {"SmallChange of a scroll bar is dropped", "var S: TScrollBar; begin S := nil; S.SmallChange := 2; end.",
     "", "[Error] (1:38): Unknown identifier 'SmallChange'"},
    {"PopupMenu of a control is dropped", "var B: TButton; begin B := nil; if B.PopupMenu = nil then ; end.",
     "", "[Error] (1:38): Unknown identifier 'PopupMenu'"},
    {"Icon of a form is dropped", "var F: TForm; begin F := nil; if F.Icon = nil then ; end.", "",
     "[Error] (1:36): Unknown identifier 'Icon'"},
    {"Menu of a form is dropped", "var F: TForm; begin F := nil; if F.Menu = nil then ; end.", "",
     "[Error] (1:36): Unknown identifier 'Menu'"},
    {"BorderStyle of a scroll box and of a form",
     "var S: TScrollBox; F: TForm; begin F := TForm.CreateNew(nil, 0); S := TScrollBox.Create(F);\n"
     "S.BorderStyle := bsNone; F.BorderStyle := bsDialog; Print(IntToStr(Ord(S.BorderStyle)) + ' ' +\n"
     "IntToStr(Ord(F.BorderStyle))); F.Free; end.",
     "0 3\n", ""},
    {"the memo's Lines are its own list",
     "var M: TMemo; L: TStrings; begin M := TMemo.Create(nil); L := M.Lines; L.Add('one'); "
     "M.Lines.Add('two');\n"
     "Print(IntToStr(M.Lines.Count) + ' ' + M.Lines[1] + ' ' + IntToStr(Ord(M.Lines = L))); M.Free; end.",
     "2 two 1\n", ""},
    {"a ModalResult written only stores the number",
     "var F: TForm; begin F := TForm.CreateNew(nil, 0); F.ModalResult := mrOk;\n"
     "Print(IntToStr(F.ModalResult) + ' ' + IntToStr(Ord(F.Visible))); F.Free; end.",
     "1 0\n", ""},
    {"the list and combo items are live",
     "var F: TForm; L: TListBox; C: TComboBox; begin F := TForm.CreateNew(nil, 0); L := TListBox.Create(F);\n"
     "L.Parent := F; L.Items.Add('a'); L.Items.Add('b'); L.ItemIndex := 1; C := TComboBox.Create(F);\n"
     "C.Parent := F; C.Items.Text := 'x' + #13#10 + 'y'; C.ItemIndex := 0;\n"
     "Print(IntToStr(L.ItemIndex) + ' ' + L.Items[L.ItemIndex] + ' ' + C.Text + ' ' + "
     "IntToStr(C.Items.Count));\n"
     "F.Free; end.",
     "1 b x 2\n", ""},
    {"the application a script creates is the program's",
     "var A: TApplication; begin A := TApplication.Create(nil); A.Title := 'Job'; A.HintPause := 700;\n"
     "Print(A.Title + ' ' + IntToStr(A.HintPause) + ' ' + IntToStr(Ord(A.HelpContext(3))) + ' ' +\n"
     "IntToStr(A.MessageBox('Continue?', 'Job', 4))); A.Free; end.",
     "Job 700 0 6\n", ""},
    // Forms and controls freed in every order the owner and the parent allow; a control freed by its
    // owner or its parent is gone for the script too: using it is a script exception.
    {"a control freed before its owning form",
     "var F: TForm; B: TButton; begin F := TForm.CreateNew(nil, 0); B := TButton.Create(F); B.Parent := F;\n"
     "B.Free; Print(IntToStr(F.ComponentCount) + ' ' + IntToStr(F.ControlCount)); F.Free; end.",
     "0 0\n", ""},
    {"a control without owner freed by the form it sits on",
     "var F: TForm; B: TButton; begin F := TForm.CreateNew(nil, 0); B := TButton.Create(nil);\n"
     "B.Parent := F; F.Free; try B.Caption := 'x'; Print('used'); except Print('gone'); end; end.",
     "gone\n", ""},
    {"a control owned by one form and placed on another",
     "var F, G: TForm; B: TButton; begin F := TForm.CreateNew(nil, 0); G := TForm.CreateNew(nil, 0);\n"
     "B := TButton.Create(F); B.Parent := G; G.Free; Print(IntToStr(F.ComponentCount)); F.Free; end.",
     "0\n", ""},
    {"a control freed by its owner is used afterwards",
     "var F: TForm; B: TButton; begin F := TForm.CreateNew(nil, 0); B := TButton.Create(F); F.Free;\n"
     "try B.Free; Print('freed twice'); except Print('gone'); end; end.",
     "gone\n", ""},
    {"a group box's children go with it",
     "var F: TForm; P: TGroupBox; B: TButton; begin F := TForm.CreateNew(nil, 0); P := TGroupBox.Create(F);\n"
     "P.Parent := F; B := TButton.Create(nil); B.Parent := P; P.Free;\n"
     "Print(IntToStr(F.ControlCount)); try B.Hide; except Print('gone'); end; F.Free; end.",
     "0\ngone\n", ""},
};

TEST(FormsUnits, StandardControlsAndFormsServeScripts) {
    for (const FormsCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out;
        const TScriptRun run = RunScriptText(c.script, out, {}, {}, test::GuiUnits());
        std::string message;
        for (const std::string& m : run.Messages)
            if (m.rfind("[Error]", 0) == 0) message = m;
        EXPECT_EQ(message, c.message);
        if (!*c.message) {
            EXPECT_TRUE(run.Ran) << run.Error;
        }
        EXPECT_EQ(out.str(), c.out);
    }
}

// A script builds a form with standard controls it owns and handles their events; the user's click,
// a change of text and a key press reach the handlers, a handler's change of the key reaches the
// control, a modal showing ends when a handler sets ModalResult, and freeing the form frees its
// controls.
TEST(FormsUnits, AScriptHandlesTheEventsOfItsForm) {
    test::THostedScript host;
    TPSScript& script = host.Script;
    std::ostringstream& printed = host.Printed;
    TForm* form = nullptr;
    TButton* button = nullptr;
    TEdit* edit = nullptr;
    script.OnCompile = [&](TPSScript& s) {
        host.AddPrint(s);
        s.AddCallable("procedure Expose(F: TForm; B: TButton; E: TEdit);",
                      [&](TForm* f, TButton* b, TEdit* e) {
                          form = f;
                          button = b;
                          edit = e;
                      });
    };
    ASSERT_TRUE(host.Run(R"(var F: TForm; B: TButton; E: TEdit;
procedure Clicked(Sender: TObject); begin Print('clicked ' + TButton(Sender).Caption); end;
procedure Changed(Sender: TObject); begin Print('changed ' + E.Text); end;
procedure Pressed(Sender: TObject; var Key: Char); begin if Key = 'a' then Key := 'b'; end;
procedure Shown(Sender: TObject); begin Print('shown'); F.ModalResult := mrOk; end;
procedure ShowIt; begin F.OnShow := @Shown; Print('modal ' + IntToStr(F.ShowModal)); end;
procedure FreeIt; begin F.Free; end;
begin
  F := TForm.CreateNew(nil, 0);
  F.Caption := 'Script form';
  B := TButton.Create(F); B.Parent := F; B.Caption := 'Go'; B.SetBounds(8, 8, 80, 24); B.OnClick := @Clicked;
  E := TEdit.Create(F); E.Parent := F; E.SetBounds(8, 40, 120, 24);
  E.OnChange := @Changed; E.OnKeyPress := @Pressed;
  Expose(F, B, E);
end.
)"));
    ASSERT_NE(form, nullptr);
    form->Show();
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    edit->SetText("x");
    edit->SetFocus();
    edit->SetSelStart(1);
    QTest::keyClick(edit->Widget(), Qt::Key_A, Qt::NoModifier);
    EXPECT_EQ(edit->Text(), "xb") << "the handler's key was typed";
    form->Hide();
    script.ExecuteFunction({}, "ShowIt");
    EXPECT_EQ(printed.str(), "clicked Go\nchanged x\nchanged xb\nshown\nmodal 1\n");
    script.ExecuteFunction({}, "FreeIt");
    EXPECT_FALSE(TObjectHandles::IsLive(button)) << "the form freed the controls it owns";
    EXPECT_FALSE(TObjectHandles::IsLive(edit));
}

// Handlers that free the control whose event runs them, or the form it sits on.
TEST(FormsUnits, AHandlerMayFreeTheControlWhoseEventRunsIt) {
    const char* const handlers[] = {
        "procedure Clicked(Sender: TObject); begin Print('clicked'); Sender.Free; end;",
        "procedure Clicked(Sender: TObject); begin Print('clicked'); F.Free; end;",
    };
    for (const char* handler : handlers) {
        SCOPED_TRACE(handler);
        test::THostedScript host;
        TPSScript& script = host.Script;
        TForm* form = nullptr;
        TButton* button = nullptr;
        script.OnCompile = [&](TPSScript& s) {
            host.AddPrint(s);
            s.AddCallable("procedure Expose(F: TForm; B: TButton);", [&](TForm* f, TButton* b) {
                form = f;
                button = b;
            });
        };
        ASSERT_TRUE(host.Run(std::string("var F: TForm; B: TButton;\n") + handler +
                             "\nbegin\n"
                             "  F := TForm.CreateNew(nil, 0);\n"
                             "  B := TButton.Create(F); B.Parent := F; B.SetBounds(8, 8, 80, 24);\n"
                             "  B.OnClick := @Clicked;\n"
                             "  Expose(F, B);\n"
                             "end.\n"));
        ASSERT_NE(form, nullptr);
        form->Show();
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(host.Printed.str(), "clicked\n");
        EXPECT_FALSE(TObjectHandles::IsLive(button));
        if (TObjectHandles::IsLive(form)) delete form;
    }
}

}  // namespace
}  // namespace tv::script

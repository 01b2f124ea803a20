#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "script/compiler/compile_symbols.h"
#include "script/compiler/pascal_compiler.h"
#include "script/runtime/binding.h"
#include "units_host.h"

namespace tv::script {
namespace {

struct GuiCase {
    const char* name;
    const char* script;
    const char* out;
    const char* error;  // the run's error with its place, "" for none
};

const GuiCase kCases[] = {
    {"colour and cursor constants",
     "begin Print(IntToStr(clInactiveBorder) + ' ' + IntToStr(clInactiveCaption) + ' ' + IntToStr(clNone) + "
     "' ' +\n"
     "IntToStr(clDefault) + ' ' + IntToStr(clRed) + ' ' + IntToStr(crSizeAll) + ' ' + IntToStr(crHandPoint) "
     "+ ' ' +\n"
     "IntToStr(mrYesToAll)); end.",
     "-16777213 -16777213 536870911 536870912 255 -22 -21 10\n", ""},
    {"a font stores PixelsPerInch and nothing else changes",
     "var F: TFont; h: Integer; begin F := TFont.Create; h := F.Height; F.PixelsPerInch := 200;\n"
     "Print(IntToStr(F.PixelsPerInch) + ' ' + IntToStr(Ord(F.Height = h))); F.Free; end.",
     "200 1\n", ""},
    {"a handler of a graphics object's OnChange runs when the object changes",
     "var F: TFont; procedure Changed(Sender: TObject); begin Print('changed ' + "
     "IntToStr(TFont(Sender).Size)); end;\n"
     "begin F := TFont.Create; F.OnChange := @Changed; F.Size := 12; F.OnChange := nil; F.Size := 14; "
     "F.Free; end.",
     "changed 12\n", ""},
    {"a tab order of -1 reads -1",
     "var W: TWinControl; begin W := TWinControl.Create(nil); W.TabOrder := -1; "
     "Print(IntToStr(W.TabOrder));\n"
     "W.Free; end.",
     "-1\n", ""},
    {"controls with an owner and a parent",
     "var P: TWinControl; C: TControl; G: TGraphicControl;\n"
     "begin P := TWinControl.Create(nil); C := TControl.Create(P); C.Parent := P; C.SetBounds(1, 2, 30, "
     "40);\n"
     "G := TGraphicControl.Create(P); G.Parent := P; G.Visible := False; G.Enabled := False;\n"
     "Print(IntToStr(P.ControlCount) + ' ' + IntToStr(P.ComponentCount) + ' ' + IntToStr(C.Left) + ',' +\n"
     "IntToStr(C.Top) + ',' + IntToStr(C.Width) + ',' + IntToStr(C.Height) + ' ' + IntToStr(Ord(G.Visible)) "
     "+\n"
     "IntToStr(Ord(G.Enabled)) + IntToStr(Ord(C.Visible)) + IntToStr(Ord(P.Controls[1] = G)) + ' ' +\n"
     "IntToStr(Ord(C.Parent = P))); P.Free; end.",
     "2 2 1,2,30,40 0011 1\n", ""},
    {"a bad index of Controls is a script exception at the statement",
     "var P: TWinControl; C: TControl;\nbegin\n  P := TWinControl.Create(nil);\n  C := P.Controls[5];\nend.",
     "", "(4:3): Exception: List index out of bounds (5)"},
    {"points travel as records",
     "var C: TControl; P: TPoint; begin C := TControl.Create(nil); P.X := 3; P.Y := 4;\n"
     "P := C.ScreenToClient(C.ClientToScreen(P)); Print(IntToStr(P.X) + ',' + IntToStr(P.Y));\n"
     "C.Free; end.",
     "3,4\n", ""},
    {"GetTextBuf writes into the buffer it gets and no further",
     "var C: TControl; B: PChar; n: Integer; begin C := TControl.Create(nil); C.SetTextBuf('abcdef');\n"
     "B := 'xyz'; n := C.GetTextBuf(B, 100); Print(IntToStr(n) + ' ' + B + ' ' + IntToStr(C.GetTextLen)); "
     "C.Free; end.",
     "3 abc 6\n", ""},
    {"a buffer filled from a literal leaves the literal as the code has it",
     "var C: TControl; B: PChar; S: AnsiString; V: Variant; i: Integer; begin C := TControl.Create(nil);\n"
     "C.SetTextBuf('ab'); for i := 1 to 2 do begin S := '....'; B := '....'; V := '....'; Print(S + B + V);\n"
     "C.GetTextBuf(PChar(S), 5); C.GetTextBuf(B, 5); C.GetTextBuf(V, 5); Print(Copy(S, 1, 2)); end;\n"
     "C.Free; end.",
     "............\nab\n............\nab\n", ""},
};

TEST(GuiUnits, GraphicsAndControlsServeScripts) {
    for (const GuiCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out;
        const TScriptRun run = RunScriptText(c.script, out, {}, {}, test::GuiUnits());
        ASSERT_TRUE(run.Compiled) << (run.Messages.empty() ? "" : run.Messages.front());
        EXPECT_EQ(run.Error, c.error);
        EXPECT_EQ(out.str(), c.out);
    }
}

// The canvas gets X first, then Y; a drawn bitmap saved by the script has the pixels when read back.
TEST(GuiUnits, AScriptDrawsOnABitmapAndSavesIt) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("tv_gui_units_" + std::to_string(getpid()) + ".bmp");
    std::ostringstream out;
    std::vector<std::pair<int, int>> asked;
    const TScriptRun run = RunScriptText(
        "var B: TBitmap; R: TRect; begin B := TBitmap.Create; B.Width := 20; B.Height := 10;\n"
        "B.Canvas.Brush.Color := clBlue; R.Left := 0; R.Top := 0; R.Right := 5; R.Bottom := 10; "
        "B.Canvas.FillRect(R);\n"
        "B.Canvas.Pixels[7, 2] := clRed; Print(IntToStr(PixelAt(B, 7, 2)) + ' ' + IntToStr(PixelAt(B, 2, "
        "7)));\n"
        "B.SaveToFile('" +
            file.string() + "'); B.Free; end.",
        out,
        [](TPSExec& exec) {
            RegisterNativeCallable(
                exec, "PixelAt", [](TBitmap* b, int32_t x, int32_t y) { return b->Canvas()->Pixels(x, y); });
        },
        {"function PixelAt(B: TBitmap; X, Y: Integer): Integer;"}, test::GuiUnits());
    ASSERT_TRUE(run.Ran) << run.Error << (run.Messages.empty() ? "" : run.Messages.front());
    EXPECT_EQ(out.str(), "255 16711680\n") << "the red pixel is at x 7, y 2; x 2, y 7 lies in the blue part";
    TBitmap back;
    back.LoadFromFile(file.string());
    EXPECT_EQ(back.Width(), 20);
    EXPECT_EQ(back.Canvas()->Pixels(2, 7), clBlue);
    EXPECT_EQ(back.Canvas()->Pixels(7, 2), clRed);
    EXPECT_EQ(back.Canvas()->Pixels(12, 2), clWhite);
    std::filesystem::remove(file);
}

// The cursor constants run from 0 to -22 with no constant of -5.
TEST(GuiUnits, TheCursorConstantsLeaveOutMinusFive) {
    std::vector<int32_t> values;
    TPSPascalCompiler c;
    c.OnUses = [&values](TPSPascalCompiler& comp, const std::string&) {
        test::CompileAllUnits(comp);
        for (size_t i = 0; i < comp.GetConstCount(); ++i) {
            const TPSConstant* k = comp.GetConst(i);
            if (k->Name.Name.rfind("CR", 0) == 0) values.push_back(k->Value->v.ts32);
        }
        return true;
    };
    ASSERT_TRUE(c.Compile("begin end."));
    std::sort(values.begin(), values.end());
    std::vector<int32_t> expected;
    for (int32_t v = -22; v <= 0; ++v)
        if (v != -5) expected.push_back(v);
    EXPECT_EQ(values, expected);
}

}  // namespace
}  // namespace tv::script

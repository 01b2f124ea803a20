#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/rtl/component.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/string_list.h"
#include "script/runtime/binding.h"
#include "tools/psrun/runner/script_runner.h"

namespace tv::script {
namespace {

// A stream that reports a position of 2^31 and records the positions it is asked for.
class TFarStream : public TStream {
public:
    int64_t Seek(int64_t offset, TSeekOrigin origin) override {
        if (origin == soCurrent && offset == 0) return fPosition;
        asked.push_back(offset);
        fPosition = offset;
        return fPosition;
    }
    std::vector<int64_t> asked;

protected:
    int64_t GetSize() override { return int64_t{1} << 32; }

private:
    int64_t fPosition = int64_t{1} << 31;
};

struct UnitCase {
    const char* name;
    const char* script;
    const char* out;
    const char* error;  // the compile message, the load error or the run error; "" for none
};

// The std, classes and dateutils units, registered twice as the script host does.
const UnitCase kCases[] = {
    {"a list, a component and a date, as with one registration",
     "var L: TStringList; C: TComponent; begin L := TStringList.Create; L.Add('b'); L.Add('a'); L.Sort;\n"
     "C := TComponent.Create(nil); C.Name := 'Box'; Print(L.CommaText + ' ' + C.Name + ' ' +\n"
     "FormatDateTime('yyyy-mm-dd', EncodeDate(2024, 2, 29))); C.Free; L.Free; end.",
     "a,b Box 2024-02-29\n", ""},
    {"TStrings members run the list's own implementation",
     "var S: TStrings; begin S := TStringList.Create; S.Add('x'); S.Add('y'); S.Insert(1, 'm');\n"
     "S.Delete(0); Print(S.Text); TStringList(S).Sorted := True;\n"
     "try S.Insert(0, 'z'); except Print('sorted list refuses Insert'); end; S.Clear;\n"
     "Print(IntToStr(S.Count)); S.Free; end.",
     "m\r\ny\r\n\nsorted list refuses Insert\n0\n", ""},
    {"a plain TStrings leaves its abstract members to descendants",
     "var S: TStrings; begin S := TStrings.Create; try S.Clear; except Print(ExceptionParam); end; S.Free; "
     "end.",
     "Abstract Error\n", ""},
    {"the default property indexes the strings",
     "var L: TStringList; begin L := TStringList.Create; L.Add('a'); L[0] := L[0] + 'b'; "
     "Print(L.Strings[0]);\n"
     "L.Values['k'] := 'v'; Print(L.Names[1] + '=' + L.Values['k']); L.Free; end.",
     "ab\nk=v\n", ""},
    {"bits",
     "var B: TBits; begin B := TBits.Create; B.Size := 10; B.Bits[3] := True;\n"
     "Print(IntToStr(B.Size) + ' ' + IntToStr(Ord(B.Bits[3])) + ' ' + IntToStr(B.OpenBit)); B.Free; end.",
     "10 1 0\n", ""},
    {"a wide delimiter is seen as its low byte",
     "var L: TStringList; begin L := TStringList.Create; WideDelimiter(L); "
     "Print(IntToStr(Ord(L.Delimiter)));\n"
     "L.Delimiter := #59; L.DelimitedText := 'a;b'; Print(IntToStr(L.Count)); L.Free; end.",
     "19\n2\n", ""},
    {"the component state shows its low eight flags",
     "var A, B: TComponent; begin A := TComponent.Create(nil); B := TComponent.Create(nil); Notify(A, B);\n"
     "Print(IntToStr(A.ComponentState)); B.Free; A.Free; end.",
     "0\n", ""},
    {"a stream position past 2^31 and a negative one written",
     "var S: TStream; begin S := FarStream; Print(IntToStr(S.Position)); S.Position := -1; end.",
     "-2147483648\n", ""},
    {"the date formulas",
     "begin Print(IntToStr(DateTimeToUnix(25569.0)) + ' ' + IntToStr(DateTimeToUnix(25569.5)) + ' ' +\n"
     "FloatToStr(UnixToDateTime(86400)) + ' ' + FloatToStr(UnixToDateTime(-86400))); end.",
     "0 43200 25570.000000000000 25568.000000000000\n", ""},
    {"TryEncodeDate leaves its variable on a day that does not exist",
     "var D: TDateTime; begin D := 1.5; Print(IntToStr(Ord(TryEncodeDate(2023, 2, 29, D))) + ' ' +\n"
     "FloatToStr(D)); try D := EncodeDate(2023, 2, 29); except Print('raised'); end; end.",
     "0 1.500000000000\nraised\n", ""},
    {"a decoded date",
     "var Y, M, D: Word; begin DecodeDate(EncodeDate(2020, 12, 31), Y, M, D);\n"
     "Print(IntToStr(Y) + '-' + IntToStr(M) + '-' + IntToStr(D) + ' ' +\n"
     "IntToStr(DayOfWeek(EncodeDate(2024, 6, 2)))); end.",
     "2020-12-31 1\n", ""},
    {"ItemClass does not exist for scripts",
     "var C: TCollection; begin C := nil; if C.ItemClass = nil then ; end.", "",
     "[Error] (1:42): Unknown identifier 'ItemClass'"},
    {"a member bound to nothing refuses the load",
     "var C: TComponent; begin C := nil; C.FreeNotification(nil); end.", "",
     "Cannot Import class:TCOMPONENT|FREENOTIFICATION|"},
    {"Owner cannot be written", "var C: TComponent; begin C := nil; C.Owner := nil; end.", "",
     "Cannot Import class:TCOMPONENT|OWNER@|"},
    {"the list's events carry script handlers both ways",
     "var L: TStringList; P: TNotifyEvent;\n"
     "procedure Changed(Sender: TObject); begin Print('changed ' + IntToStr(TStringList(Sender).Count)); "
     "end;\n"
     "begin L := TStringList.Create; L.OnChange := @Changed; L.Add('x'); P := L.OnChange; P(L);\n"
     "L.OnChange := nil; L.Add('y'); L.Free; end.",
     "changed 1\nchanged 1\n", ""},
    {"stream buffers are the string's own storage",
     "var M: TMemoryStream; B: string; begin M := TMemoryStream.Create; M.WriteBuffer('AB', 4);\n"
     "M.Position := 0; B := '..'; M.ReadBuffer(B, 4); Print(B + ' ' + IntToStr(M.Size));\n"
     "M.Position := 0; Print(IntToStr(M.Read(B, 100))); M.Position := 0;\n"
     "try M.ReadBuffer(B, 6); except Print(ExceptionParam); end; M.Free; end.",
     "AB 4\n4\nStream read error\n", ""},
    {"a handler frees the list whose change runs it",
     "var L: TStringList; procedure Changing(Sender: TObject);\n"
     "begin Print('changing ' + IntToStr(TStringList(Sender).Count)); Sender.Free; end;\n"
     "begin L := TStringList.Create; L.OnChanging := @Changing; L.Add('x');\n"
     "try L.Add('y'); except Print(ExceptionParam); end;\n"
     "L := TStringList.Create; L.Add('b'); L.Add('a'); L.OnChanging := @Changing; L.Sorted := True; end.",
     "changing 0\nObject reference to no live object\nchanging 2\n", ""},
    {"a buffer filled from a literal leaves the literal as the code has it",
     "var M: TStringStream; B: string; i: Integer; begin M := TStringStream.Create('ABCD');\n"
     "for i := 1 to 2 do begin B := #$0410#$0410; Print(IntToStr(Ord(B[1]))); M.Position := 0;\n"
     "M.Read(B, 4); Print(IntToStr(Ord(B[1]))); end; M.Free; end.",
     "1040\n16961\n1040\n16961\n", ""},
    {"a string stream holds the text's 8-bit bytes",
     "var S: TStringStream; begin S := TStringStream.Create('\xc3\xa5\xc3\xa4'); Print(IntToStr(S.Size)); "
     "S.Free; end.",
     "2\n", ""},
    {"resources cannot be loaded",
     "var R: TResourceStream; begin R := TResourceStream.Create(0, 'X', 'RCDATA'); end.", "",
     "Exception: Resource X not found"},
    {"the parser reads tokens from a stream",
     "var S: TStringStream; P: TParser; begin S := TStringStream.Create('Form1 = 12'); P := "
     "TParser.Create(S);\n"
     "Print(P.TokenString); P.NextToken; P.NextToken; Print(IntToStr(P.TokenInt) + ' ' +\n"
     "IntToStr(Ord(P.Token = ToInteger))); P.Free; S.Free; end.",
     "Form1\n12 1\n", ""},
    {"a collection of items",
     "var C: TCollection; I: TCollectionItem; begin C := TCollection.Create; I := C.Add;\n"
     "I := TCollectionItem.Create(C); Print(IntToStr(C.Count) + ' ' + IntToStr(I.ID) + ' ' +\n"
     "IntToStr(C.Items[1].Index)); C.Free; end.",
     "2 1 1\n", ""},
};

TEST(Units, TheClassLibraryServesScripts) {
    TFarStream far;
    for (const UnitCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out;
        const TScriptRun run = RunScriptText(
            c.script, out,
            [&far](TPSExec& exec) {
                RegisterNativeCallable(exec, "WideDelimiter",
                                       [](TStringList* l) { l->SetDelimiter(u'\x2013'); });
                RegisterNativeCallable(exec, "Notify",
                                       [](TComponent* a, TComponent* b) { a->FreeNotification(b); });
                RegisterNativeCallable(exec, "FarStream", [&far]() -> TStream* { return &far; });
            },
            {"procedure WideDelimiter(L: TStringList);", "procedure Notify(A, B: TComponent);",
             "function FarStream: TStream;"});
        std::string error = run.Error;
        if (!run.Compiled)
            for (const std::string& m : run.Messages)
                if (m.rfind("[Error]", 0) == 0) error = m;
        const size_t place = error.find("): ");
        if (run.Compiled && place != std::string::npos && error[0] == '(') error = error.substr(place + 3);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(out.str(), c.out);
    }
    EXPECT_EQ(far.asked, std::vector<int64_t>{-1}) << "the position the script wrote, sign-extended";
}

}  // namespace
}  // namespace tv::script

namespace tv::script {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Lists are written as Windows-1252 with CR LF and read by the byte-order mark, else as UTF-8 when the
// bytes are valid UTF-8, else as Windows-1252.
TEST(Units, ListFilesAreWindows1252WithCrLf) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tv_units_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string out = (dir / "out.txt").string(), in = (dir / "in.txt").string();
    {
        std::ofstream f(in, std::ios::binary);
        f << "\xEF\xBB\xBF"
          << "gr\xC3\xBC\xC3\x9F\nzwei\n";
    }
    std::ostringstream printed;
    const TScriptRun run = RunScriptText(
        "var L: TStringList; begin L := TStringList.Create; L.Add('\xC3\xA4'); L.Add('b'); L.SaveToFile('" +
            out + "'); L.LoadFromFile('" + in + "'); Print(L[0] + ' ' + IntToStr(L.Count)); L.Free; end.",
        printed);
    EXPECT_TRUE(run.Ran) << run.Error;
    EXPECT_EQ(ReadBytes(out), "\xE4\r\nb\r\n");
    EXPECT_EQ(printed.str(), "gr\xC3\xBC\xC3\x9F 2\n");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tv::script

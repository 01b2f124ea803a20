// Compiles, loads and runs scripts against the std, classes and dateutils units (registered as the
// script host does, without the stream classes so that no script touches files): seed scripts as
// they stand and with the input spliced into them, each run for a bounded number of instructions.

#include <cstddef>
#include <cstdint>
#include <string>

#include "script/host/component/script.h"
#include "script/host/units/import_plugins.h"
#include "script/host/units/import_units.h"

namespace {

using namespace tv::script;

constexpr const char* kSeeds[] = {
    "var L: TStringList; i: Integer; begin L := TStringList.Create; for i := 1 to 50 do L.Add(IntToStr(i));\n"
    "L.Sorted := True; L.Delimiter := ';'; L.DelimitedText := L.CommaText; L.Values['a'] := 'b';\n"
    "L.Move(0, 3); L.Exchange(1, 2); L.Delete(4); L.Free; end.",
    "var C: TComponent; D: TComponent; begin C := TComponent.Create(nil); D := TComponent.Create(C);\n"
    "D.Name := 'x'; D.Tag := 5; if C.FindComponent('x') <> nil then C.ComponentIndex := 0;\n"
    "D.ComponentIndex := 3; C.DestroyComponents; C.Free; end.",
    "var B: TBits; d: TDateTime; y, m, n: Word; begin B := TBits.Create; B.Size := 70; B.Bits[69] := True;\n"
    "d := EncodeDate(2024, 1, 31) + EncodeTime(23, 59, 59, 999); DecodeDate(d, y, m, n);\n"
    "if TryEncodeDate(y, m + 1, n, d) then d := UnixToDateTime(DateTimeToUnix(d));\n"
    "B.Size := B.OpenBit; B.Free; end.",
    "var C: TCollection; I: TCollectionItem; P: TPersistent; begin C := TCollection.Create; I := C.Add;\n"
    "I.Index := 0; I := C.Insert(0); I.Collection := nil; I.Free; C.BeginUpdate; C.Delete(0); C.EndUpdate;\n"
    "P := C.Owner; C.Clear; C.Free; end.",
};

void Run(const std::string& text) {
    TPSScript script;
    TPSImport_Classes classes;
    classes.EnableStreams = false;
    TPSImport_DateUtils dates;
    script.Plugins().Add(&classes);
    script.Plugins().Add(&dates);
    script.OnCompImport = [](tv::TObject*, TPSPascalCompiler& c) {
        CompileImportDateUtils(c);
        CompileImportStd(c);
        CompileImportClasses(c, false);
    };
    script.OnExecImport = [](tv::TObject*, TPSExec& exec, TPSRuntimeClassImporter& ri) {
        ExecImportStd(ri);
        ExecImportClasses(ri, false);
        ExecImportDateUtils(exec);
    };
    int steps = 0;
    script.OnLine = [&script, &steps](tv::TObject*) {
        if (++steps > 20000) script.Stop();
    };
    script.Script().SetText(text);
    try {
        if (script.Compile()) script.Execute();
    } catch (const std::exception&) {
        // The pre-processor and host events may raise; the engine itself records its errors.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Run(input);
    if (size > 1) {
        // Overwrite one seed at a place the first two bytes pick.
        std::string spliced = kSeeds[static_cast<unsigned char>(input[0]) % std::size(kSeeds)];
        const size_t at = (static_cast<unsigned char>(input[1]) * spliced.size()) / 256;
        spliced.replace(at, std::min(input.size() - 2, spliced.size() - at), input.substr(2));
        Run(spliced);
    }
    return 0;
}

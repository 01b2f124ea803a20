// Pre-processes arbitrary text whose includes name the text itself (a bounded number of times), then
// compiles the result through the script component: failures must be EPSPreProcessor exceptions, the
// produced text as long as the files that went into it (each up to its first zero byte), and every
// produced position must map back to a file, row and column.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "script/compiler/pre_processor.h"
#include "script/compiler/script_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // A zero byte ends a file's text.
    const size_t length = std::min(text.size(), text.find('\0'));
    int includes = 0;
    size_t included = 0;
    auto need = [&](tv::script::TPSPreProcessor&, const std::string&, std::string&, std::string& out) {
        if (++includes > 6) return false;
        out = text;
        included += length;
        return true;
    };
    tv::script::TPSPreProcessor pre;
    pre.MainFile = text;
    pre.MainFileName = "main.pas";
    pre.OnNeedFile = need;
    std::string output;
    try {
        pre.PreProcess(pre.MainFileName, output);
    } catch (const tv::script::EPSPreProcessor&) {
        return 0;
    }
    if (output.size() != length + included) std::abort();
    for (uint32_t pos = 0; pos < output.size(); ++pos) {
        tv::script::TPSLineInfoResults r;
        if (!pre.CurrentLineInfo().GetLineInfo("", pos, r) || r.Row == 0 || r.Col == 0) std::abort();
    }
    includes = 0;
    included = 0;
    tv::script::TPSScriptCompiler sc;
    sc.UsePreProcessor = true;
    sc.MainFileName = "main.pas";
    sc.OnNeedFile = need;
    sc.CompilerOptions = static_cast<uint8_t>(size % 16);
    sc.Compile(text);
    for (size_t i = 0; i < sc.CompilerMessageCount(); ++i)
        if (sc.CompilerErrorToStr(i).empty()) std::abort();
    return 0;
}

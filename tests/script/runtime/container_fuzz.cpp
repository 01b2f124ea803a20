// Feeds containers to the loader: the input as it stands, and the input spliced into a valid
// container of every record kind, so that mutations reach deep into the records.

#include <cstddef>
#include <cstdint>
#include <string>

#include "assembler.h"
#include "script/runtime/exec.h"

namespace {

using namespace tv::script;

bool Nothing(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    return true;
}

bool AnyClassMember(TPSExec&, TPSExternalProcRec& p, void*) {
    p.FProcPtr = Nothing;
    return p.FDecl.size() > 6;
}

const std::string& Seed() {
    static const std::string seed = [] {
        test::ContainerBuilder b;
        const uint32_t s32 = b.Type(btS32, "INTEGER");
        const uint32_t str = b.Type(btUnicodeString);
        b.TypeAttributes(test::ContainerBuilder::AttributeList("A", {{s32, test::U32Bytes(1)}}));
        const uint32_t rec = b.Record({s32, str});
        b.Array(rec);
        b.StaticArray(s32, 4, 1);
        b.Set(20);
        b.Class("TOBJECT");
        b.ProcPtr(std::string("\x01\x00", 2));
        b.Type(btVariant);
        test::Code c;
        c.PushNew(s32).Assign(test::Operand::Local(0), test::Operand::ConstS32(s32, 7)).Pop().Return();
        b.Main(b.Proc(c, "!MAIN"));
        b.External("HOST");
        b.External("", "class:TOBJECT|FREE|\x00\x00", true);
        b.Var(rec, "R");
        b.Var(str);
        return b.Build();
    }();
    return seed;
}

void Load(const std::string& data) {
    TPSExec exec;
    exec.RegisterFunctionName("HOST", Nothing, nullptr, nullptr);
    exec.AddSpecialProcImport("class", AnyClassMember, nullptr);
    exec.LoadData(data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Load(input);
    if (size > 0) {
        // Overwrite the seed at a place the first byte picks.
        std::string spliced = Seed();
        const size_t at = (static_cast<unsigned char>(input[0]) * spliced.size()) / 256;
        spliced.replace(at, std::min(input.size() - 1, spliced.size() - at), input.substr(1));
        Load(spliced);
    }
    Load(Seed());
    return 0;
}

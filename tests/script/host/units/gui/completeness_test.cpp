#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "script/compiler/compile_symbols.h"
#include "script/compiler/host_classes.h"
#include "script/compiler/host_declarations.h"
#include "script/compiler/pascal_compiler.h"
#include "script/host/units/import_units.h"
#include "script/runtime/class_bridge.h"
#include "script/runtime/exec.h"
#include "units_host.h"

namespace tv::script {
namespace {

// Every member of every registered class, as "CLASS.MEMBER" (with "@" for a property's write) and
// the declaration the compiler writes for a script that uses it.
struct MemberUse {
    std::string name;
    std::string decl;
};

std::vector<MemberUse> EveryMemberUse(TPSPascalCompiler& c) {
    std::vector<MemberUse> uses;
    for (size_t t = 0; t < c.GetTypeCount(); ++t) {
        TPSType* type = c.GetType(t);
        if (!type || type->BaseType != btClass || !dynamic_cast<TPSClassType*>(type)) continue;
        TPSCompileTimeClass* cls = static_cast<TPSClassType*>(type)->CL;
        if (!cls) continue;
        for (const auto& item : cls->ClassItems) {
            auto add = [&](bool (TPSCompileTimeClass::*use)(TPSNativeClassItem&, int32_t&),
                           const std::string& suffix) {
                int32_t procNo = -1;
                ASSERT_TRUE((cls->*use)(*item, procNo)) << cls->ClassName << "." << item->Name.Name;
                auto* ext = dynamic_cast<TPSExternalProcedure*>(c.GetProc(static_cast<size_t>(procNo)));
                ASSERT_NE(ext, nullptr);
                uses.push_back({cls->ClassName + "." + item->Name.Name + suffix, ext->RegProc->ImportDecl});
            };
            switch (item->Kind) {
                case TPSClassItemKind::Method:
                    add(&TPSCompileTimeClass::Func_Call, "");
                    break;
                case TPSClassItemKind::Constructor:
                    add(&TPSCompileTimeClass::ClassFunc_Call, "");
                    break;
                case TPSClassItemKind::Property:
                    if (item->AccessType != iptW) add(&TPSCompileTimeClass::Property_Get, "");
                    if (item->AccessType != iptR) add(&TPSCompileTimeClass::Property_Set, "@");
                    break;
            }
        }
    }
    return uses;
}

// Everything the units declare binds on the run side, for each access the declaration allows; the
// only members that do not are those bound to nothing on purpose.
TEST(UnitCompleteness, EveryDeclaredMemberBinds) {
    std::vector<std::string> refused;
    size_t checked = 0;
    TPSPascalCompiler c;
    c.OnUses = [&](TPSPascalCompiler& comp, const std::string&) {
        test::CompileAllUnits(comp);
        TPSRuntimeClassImporter ri;
        TPSExec exec;
        test::ExecAllUnits(exec, ri);
        for (const MemberUse& use : EveryMemberUse(comp)) {
            TPSExternalProcRec p(&exec);
            p.FDecl = use.decl;
            ++checked;
            if (!ClassImporter(exec, p, &ri)) refused.push_back(use.name);
        }
        return true;
    };
    ASSERT_TRUE(c.Compile("begin end."));
    std::sort(refused.begin(), refused.end());
    EXPECT_EQ(refused, test::ExpectedUnbound());
    EXPECT_GT(checked, 100u);
}

// The unit tables declare to the compiler what the hand-written host declarations of the same units
// declare: the same classes with the same members in the same order, and the same dropped members.
TEST(UnitCompleteness, TheTablesDeclareWhatTheHostDeclarationsDo) {
    auto describe = [](TPSPascalCompiler& c) {
        std::vector<std::string> out;
        for (size_t t = 0; t < c.GetTypeCount(); ++t) {
            TPSType* type = c.GetType(t);
            auto* ct = dynamic_cast<TPSClassType*>(type);
            if (!ct || !ct->CL) continue;
            std::string line = ct->CL->ClassName + ":" +
                               (ct->CL->ClassInheritsFrom ? ct->CL->ClassInheritsFrom->ClassName : "");
            for (const auto& item : ct->CL->ClassItems)
                line += " " + item->Name.Name + "/" + std::to_string(static_cast<int>(item->Kind)) + "/" +
                        std::to_string(item->Decl.Params.size()) + "/" + std::to_string(item->AccessType);
            out.push_back(line);
        }
        std::sort(out.begin(), out.end());
        return out;
    };
    std::vector<std::string> fromTables, fromText;
    TPSPascalCompiler a;
    a.OnUses = [&](TPSPascalCompiler& comp, const std::string&) {
        test::CompileAllUnits(comp);
        fromTables = describe(comp);
        return true;
    };
    ASSERT_TRUE(a.Compile("begin end."));
    const THostDeclarations host = THostDeclarations::ParseFiles(test::HostFixtures());
    TPSPascalCompiler b;
    b.OnUses = [&](TPSPascalCompiler& comp, const std::string&) {
        host.Register(comp, "SYSTEM");
        fromText = describe(comp);
        return true;
    };
    ASSERT_TRUE(b.Compile("begin end."));
    EXPECT_EQ(fromTables, fromText);
}

}  // namespace
}  // namespace tv::script

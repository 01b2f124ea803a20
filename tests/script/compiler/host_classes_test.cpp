#include <gtest/gtest.h>

#include "script/common/inspect/container_reader.h"
#include "script/common/inspect/disassembler.h"
#include "script/common/inspect/verifier.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

// A small host: a base class, a descendant, and an interface.
void DeclareTestHost(TPSPascalCompiler& c) {
    TPSCompileTimeClass* base = c.AddClassN(nullptr, "TBase");
    base->RegisterMethod("constructor Create;");
    base->RegisterMethod("function Name: string;");
    base->RegisterMethod("procedure Hidden;");
    TPSCompileTimeClass* t = c.AddClassN(base, "TTest");
    t->RegisterMethod("function Get(A: Integer; var B: string; C: Byte; var D: Integer): Boolean;");
    t->RegisterMethod("procedure Hidden(X: Integer);");
    t->RegisterProperty("Items", "string Integer", iptRW);
    t->RegisterProperty("ReadOnly", "Integer", iptR);
    t->RegisterProperty("WriteOnly", "Integer", iptW);
    t->RegisterProperty("Next", "TTest", iptR);
    t->SetDefaultPropery("Items");
    TPSInterface* foo = c.AddInterface(c.FindInterface("IUnknown"), TPSGuid{1}, "IFoo");
    foo->RegisterMethod("function First(A: Integer): Integer;", cdStdCall);
    foo->RegisterMethod("function Broken(A: TNothing): Integer;", cdStdCall);  // keeps its slot
    foo->RegisterMethod("procedure Third(var S: string);", cdStdCall);
}

CompileResult CompileWithTestHost(const std::string& text, std::vector<std::string>* uses = nullptr) {
    return CompileScript(text, {}, [uses](TPSPascalCompiler& c) {
        c.OnUses = [](TPSPascalCompiler& comp, const std::string&) {
            DeclareTestHost(comp);
            return true;
        };
        if (uses)
            c.OnUseVariable = [uses](TPSPascalCompiler&, TPSVariableType kind, int32_t number, int32_t,
                                     uint32_t, const std::string& path) {
                if (!path.empty())
                    uses->push_back(std::to_string(kind) + ":" + std::to_string(number) + ":" + path);
            };
    });
}

std::vector<std::string> HostRoutineDecls(const CompileResult& r) {
    Container c;
    std::string error;
    EXPECT_TRUE(ReadContainer(r.output, c, error)) << error;
    std::vector<std::string> decls;
    for (const ContainerProc& p : c.procs)
        if (p.external && p.name.empty()) decls.push_back(Hex(p.decl));
    return decls;
}

std::string Decl(const std::string& text, const std::string& bytes) {
    return Hex(text + Bytes(bytes));
}

TEST(HostClasses, MemberImportDeclarations) {
    CompileResult r = CompileWithTestHost(
        "var t: TTest; s: string; i: Integer; b: Boolean;\n"
        "begin b := t.Get(1, s, 2, i); b := t.Get(3, s, 4, i); s := t.Items[3]; t.Items[4] := s; end.");
    ASSERT_TRUE(r.ok) << r.AllMessages();
    // One routine per member, made on first use: method (a calling-convention byte 0, the result
    // byte, one byte per parameter, 1 by reference), property read and property write (a 32-bit
    // count of index parameters plus one).
    EXPECT_EQ(HostRoutineDecls(r), (std::vector<std::string>{
                                       Decl("class:TTEST|GET|", "00 01 00 01 00 01"),
                                       Decl("class:TTEST|ITEMS|", "02000000"),
                                       Decl("class:TTEST|ITEMS@|", "02000000"),
                                   }));
    EXPECT_TRUE(VerifyContainer(r.output).empty());
}

TEST(HostClasses, AncestorsCastsNilAndConstructors) {
    CompileResult r = CompileWithTestHost(
        "var t: TTest; o: TBase; s: string;\n"
        "begin t := TTest.Create; s := t.Name; t.Hidden(1); o := t; t := TTest(o); t := nil;\n"
        "  if t = nil then s := ''; end.");
    ASSERT_TRUE(r.ok) << r.AllMessages();
    EXPECT_EQ(HostRoutineDecls(r), (std::vector<std::string>{
                                       Decl("class:TBASE|CREATE|", "00 01"),  // found in the ancestor
                                       Decl("class:TBASE|NAME|", "00 01"),
                                       Decl("class:TTEST|HIDDEN|", "00 00 00"),  // the descendant's hides it
                                       Hex("class:+"),                           // the cast of TBase
                                       Hex("class:-"),                           // nil for TTest
                                   }));
    EXPECT_TRUE(VerifyContainer(r.output).empty());
}

TEST(HostClasses, InterfaceMethodsBySlot) {
    CompileResult r = CompileWithTestHost(
        "var f: IFoo; s: string; i: Integer;\nbegin i := f.First(1); f.Third(s); f := nil; end.");
    ASSERT_TRUE(r.ok) << r.AllMessages();
    // IUnknown's three placeholder methods come first, so First is slot 3 and Third (after the
    // method that did not parse) slot 5; then the calling convention (standard call, 3).
    EXPECT_EQ(HostRoutineDecls(r), (std::vector<std::string>{
                                       Decl("intf:.", "03000000 03 01 00"),
                                       Decl("intf:.", "05000000 03 00 01"),
                                       Hex("class:-"),
                                   }));
    CompileResult unknown = CompileWithTestHost("var f: IFoo; begin f.Nope; end.");
    EXPECT_EQ(unknown.FirstError().text, "[Error] (1:22): Unknown identifier 'Nope'");
}

TEST(HostClasses, PropertyAccessIsChecked) {
    struct Case {
        const char* statement;
        const char* error;
    };
    const Case cases[] = {
        // "begin " puts each statement at column 7.
        {"i := t.WriteOnly;", "[Error] (2:23): Write-only property"},
        {"t.ReadOnly := 1;", "[Error] (2:22): Read-only property"},
        {"t.Nothing := 1;", "[Error] (2:9): Unknown identifier 'Nothing'"},
        {"i := o[1];", "[Error] (2:13): period ('.') expected"},  // TBase has no default property
    };
    for (const Case& k : cases) {
        CompileResult r = CompileWithTestHost("var t: TTest; o: TBase; i: Integer;\nbegin " +
                                              std::string(k.statement) + " end.");
        EXPECT_EQ(r.FirstError().text, k.error) << k.statement;
    }
    CompileResult ok =
        CompileWithTestHost("var t: TTest; i: Integer;\nbegin i := t.ReadOnly; t.WriteOnly := i; end.");
    EXPECT_TRUE(ok.ok) << ok.AllMessages();
}

TEST(HostClasses, PropertiesReadAlongAChainAreReported) {
    std::vector<std::string> uses;
    CompileResult r = CompileWithTestHost(
        "var t: TTest; s: string; b: Boolean; i: Integer;\n"
        "begin s := t.Next.Items[1]; s := t[2]; b := t.Get(1, s, 2, i); end.",
        &uses);
    ASSERT_TRUE(r.ok) << r.AllMessages();
    // Global 0 is t: its property path, then the default property; a method call reports nothing.
    EXPECT_EQ(uses, (std::vector<std::string>{"0:0:Next", "0:0:Next.Items", "0:0:[Default]"}));
}

TEST(HostClasses, AbstractClassesWarnOnConstruction) {
    CompileResult r =
        CompileScript("var t: TAbstract; begin t := TAbstract.Create; end.", {}, [](TPSPascalCompiler& c) {
            c.OnUses = [](TPSPascalCompiler& comp, const std::string&) {
                TPSCompileTimeClass* cl = comp.AddClassN(nullptr, "TAbstract");
                cl->RegisterMethod("constructor Create;");
                cl->IsAbstract = true;
                return true;
            };
        });
    ASSERT_TRUE(r.ok) << r.AllMessages();
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "[Warning] (1:40): Abstract Class Construction");
}

TEST(HostClasses, VariantMembersAreLateBound) {
    CompileResult r = CompileScript("var v: Variant;\nbegin v.Foo(1); end.");
    ASSERT_TRUE(r.ok) << r.AllMessages();
    Container c;
    std::string error;
    ASSERT_TRUE(ReadContainer(r.output, c, error));
    // IdispatchInvoke(v as IDispatch (29), False, 'Foo', [1] as array of Variant (30)) into a Variant
    // temporary, the list built through SetArrayLength (procedure 2).
    EXPECT_EQ(DisassembleCode(c, c.procs[0].code),
              "0: PUSHNEW 2\n"
              "5: PUSHNEW 30\n"
              "10: PUSHNEW 30\n"
              "15: PUSHNEW 11\n"
              "20: ASSIGN L3, #11:1\n"
              "35: PUSHREF L2\n"
              "41: CALL 2\n"
              "46: POP\n"
              "47: POP\n"
              "48: ASSIGN L2[0], #11:1\n"
              "67: ASSIGN L1, L2\n"
              "78: POP\n"
              "79: PUSHNEW 19\n"
              "84: ASSIGN L2, #19:'Foo'\n"
              "102: PUSHNEW 27\n"
              "107: ASSIGN L3, #27:0\n"
              "119: PUSHNEW 29\n"
              "124: ASSIGN L4, G0\n"
              "135: PUSHREF L0\n"
              "141: CALL 1\n"
              "146: POP\n"
              "147: POP\n"
              "148: POP\n"
              "149: POP\n"
              "150: POP\n"
              "151: POP\n"
              "152: RET\n");
    EXPECT_EQ(c.procs[1].name, "IDISPATCHINVOKE");
    EXPECT_EQ(c.types[29].exportName, "IDISPATCH");
    EXPECT_EQ(c.types[30].exportName, "!OPENARRAYOFVARIANT");
    // A property assignment passes True and the new value as the last argument.
    CompileResult set = CompileScript("var v: Variant;\nbegin v.Bar := 2; end.");
    ASSERT_TRUE(set.ok) << set.AllMessages();
}

}  // namespace
}  // namespace tv::script::test

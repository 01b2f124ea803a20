#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

// The message of the exception `f` raises, or "no exception".
std::string Raised(const std::function<void()>& f) {
    try {
        f();
    } catch (const EPSCompilerException& e) {
        return e.Message;
    } catch (const Exception& e) {
        return "other: " + e.Message;
    }
    return "no exception";
}

// Runs `f` inside the uses phase of a compile of "begin end." and returns the compile's result.
CompileResult InUses(const std::function<void(TPSPascalCompiler&)>& f,
                     const std::vector<std::string>& host = {}) {
    return CompileScript("begin end.", host, [f](TPSPascalCompiler& c) {
        auto base = c.OnUses;
        c.OnUses = [base, f](TPSPascalCompiler& comp, const std::string& unit) {
            bool ok = base(comp, unit);
            f(comp);
            return ok;
        };
    });
}

TEST(Registration, OnlyWhileACompileRuns) {
    TPSPascalCompiler c;
    const std::string only = "This function can only be called from within the OnUses event";
    const std::vector<std::function<void()>> calls = {
        [&] { c.AddTypeS("T", "Integer"); },
        [&] { c.AddType("T", btU8); },
        [&] { c.AddNativeFunction("procedure P;"); },
        [&] { c.AddFunction("procedure P;"); },
        [&] { c.AddClassN(nullptr, "TX"); },
        [&] { c.FindClass("TObject"); },
        [&] { c.AddConstantN("C", "Integer"); },
        [&] { c.AddVariableN("V", "Integer"); },
        [&] { c.AddInterface(nullptr, TPSGuid{}, "IX"); },
    };
    for (const auto& call : calls) EXPECT_EQ(Raised(call), only);
    EXPECT_EQ(c.FindType("Integer"), nullptr);
    // After a compile the tables are gone again.
    ASSERT_TRUE(c.Compile("begin end."));
    for (const auto& call : calls) EXPECT_EQ(Raised(call), only);
    EXPECT_EQ(Raised([&] { c.AddAttributeType(); }), "other: " + only);
}

TEST(Registration, MisuseTexts) {
    CompileResult r = InUses([](TPSPascalCompiler& c) {
        EXPECT_EQ(Raised([&] { c.AddVariableN("Result", "Integer"); }), "Duplicate identifier 'Result'");
        c.AddVariableN("Twice", "Integer");
        EXPECT_EQ(Raised([&] { c.AddVariableN("TWICE", "Byte"); }), "Duplicate identifier 'TWICE'");
        EXPECT_EQ(Raised([&] { c.AddFunction("function F(x: Unknown): Integer;"); }),
                  "Unable to register function F");
        EXPECT_EQ(Raised([&] { c.AddFunction("begin"); }), "Unable to register function ");
        EXPECT_EQ(Raised([&] { c.AddNativeFunction("function G(: Integer;"); }),
                  "Unable to register function function G(: Integer;");
        EXPECT_EQ(Raised([&] { c.AddTypeS("TBad", "array of"); }), "Unable to register type TBad");
        EXPECT_EQ(Raised([&] { c.AddConstantN("C", "NoSuchType"); }), "Unable to register constant C");
        EXPECT_EQ(Raised([&] { c.AddTypeCopy("T", nullptr); }), "Invalid Type");
        EXPECT_EQ(Raised([&] { c.AddVariable("V", nullptr); }), "Invalid type for variable V");
        EXPECT_EQ(Raised([&] { c.FindInterface("INope"); }), "Unknown interface: INope");
        EXPECT_EQ(c.AddUsedVariableN("W", "NoSuchType"), nullptr);
        EXPECT_EQ(Raised([&] { c.AddNativeFunction("procedure " + std::string(256, 'N') + ";"); }),
                  "Unable to register function procedure " + std::string(256, 'N') + ";");
    });
    EXPECT_TRUE(r.ok) << r.AllMessages();
}

TEST(Registration, DuplicatesWhenSwitchedOff) {
    CompileResult r = InUses([](TPSPascalCompiler& c) {
        c.AllowDuplicateRegister = false;
        c.AddNativeFunction("function F(a: Integer): Integer;");
        EXPECT_EQ(Raised([&] { c.AddNativeFunction("function F(a, b: Integer): Integer;"); }),
                  "Duplicate identifier 'function F(a, b: Integer): Integer;'");
        c.AddTypeS("TOnce", "Integer");
        EXPECT_EQ(Raised([&] { c.AddTypeS("TOnce", "Byte"); }), "Duplicate identifier 'TOnce'");
        TPSCompileTimeClass* parent = c.AddClassN(nullptr, "TP");
        c.AddClassN(parent, "TC");
        EXPECT_EQ(Raised([&] { c.AddClassN(parent, "TC"); }), "Duplicate identifier 'TC'");
        c.AllowDuplicateRegister = true;
    });
    EXPECT_TRUE(r.ok) << r.AllMessages();
}

TEST(Registration, DuplicateRoutinesStayRegisteredAndTheFirstIsUsed) {
    // Registering a name again looks it up first, which makes the earlier registration a routine of
    // the script; calls then bind to that one.
    CompileResult r = CompileScript("var i: Integer; begin i := F(1); end.", {}, [](TPSPascalCompiler& c) {
        c.OnUses = [](TPSPascalCompiler& comp, const std::string&) {
            size_t before = comp.GetRegProcCount();
            comp.AddNativeFunction("function F(a: Integer): Integer;");
            comp.AddNativeFunction("function F(a, b: Integer): Integer;");
            EXPECT_EQ(comp.GetRegProcCount(), before + 2);
            return true;
        };
    });
    EXPECT_TRUE(r.ok) << r.AllMessages();
}

TEST(Registration, LookupsSeeNamesGivenAfterALookupAndKeepWhichDuplicateWins) {
    CompileResult r = InUses([](TPSPascalCompiler& c) {
        // A type, constant and routine renamed after a lookup took them in are found by the new name
        // only.
        TPSType* t = c.AddType("TFirstName", btU8);
        ASSERT_EQ(c.FindType("TFirstName"), t);
        t->SetName("TSecondName");
        EXPECT_EQ(c.FindType("tsecondname"), t);
        EXPECT_EQ(c.FindType("TFirstName"), nullptr);
        TPSConstant* k = c.AddConstantN("KOld", "Integer");
        ASSERT_EQ(c.GetConstant("KOld"), k);
        k->SetName("KNew");
        EXPECT_EQ(c.GetConstant("knew"), k);
        EXPECT_EQ(c.GetConstant("KOld"), nullptr);
        // The last type and constant of a name win; earlier ones stay in the tables.
        c.AddTypeS("TTwice", "Integer");
        c.AddTypeS("TTwice", "string");
        EXPECT_EQ(c.FindType("TTwice"), c.FindType("string"));
        c.AddConstantN("KTwice", "Integer");
        TPSConstant* later = c.AddConstantN("KTwice", "string");
        EXPECT_EQ(c.GetConstant("KTwice"), later);
    });
    EXPECT_TRUE(r.ok) << r.AllMessages();

    // A routine renamed after the script looked it up is called by its new name.
    r = CompileScript("begin Renamed; end.", {}, [](TPSPascalCompiler& c) {
        c.OnUses = [](TPSPascalCompiler& comp, const std::string&) {
            TPSRegProc* p = comp.AddNativeFunction("procedure Original;");
            const int32_t used = comp.FindProc("ORIGINAL");
            EXPECT_EQ(used, static_cast<int32_t>(comp.GetProcCount() - 1));
            p->SetName("Renamed");
            EXPECT_EQ(comp.FindProc("ORIGINAL"), -1);
            EXPECT_EQ(comp.FindProc("RENAMED"), used);
            return true;
        };
    });
    EXPECT_TRUE(r.ok) << r.AllMessages();

    // Procedures declared forward meet their bodies by name among many others; a later variable of
    // one of their names clashes.
    std::string text;
    for (int i = 0; i < 50; ++i) text += "procedure F" + std::to_string(i) + "(a: Integer); forward;\n";
    for (int i = 49; i >= 0; --i) text += "procedure F" + std::to_string(i) + "(a: Integer); begin end;\n";
    r = CompileScript(text + "begin F0(1); F49(2); end.");
    EXPECT_TRUE(r.ok) << r.AllMessages();
    r = CompileScript(text + "var f7: Integer;\nbegin end.");
    EXPECT_EQ(r.FirstError().text, "[Error] (101:5): Duplicate identifier 'f7'") << r.AllMessages();
}

TEST(Registration, ExistingClassesAreReturned) {
    CompileResult r = InUses([](TPSPascalCompiler& c) {
        TPSCompileTimeClass* a = c.AddClassN(nullptr, "TA");
        TPSCompileTimeClass* b = c.AddClassN(a, "TB");
        EXPECT_EQ(c.AddClassN(nullptr, "tb"), b);  // the parent stays
        EXPECT_EQ(b->ClassInheritsFrom, a);
        TPSCompileTimeClass* other = c.AddClassN(nullptr, "TOther");
        EXPECT_EQ(c.AddClassN(other, "TB"), b);  // a given parent replaces it
        EXPECT_EQ(b->ClassInheritsFrom, other);
        EXPECT_EQ(c.FindClass("tA"), a);
        EXPECT_EQ(c.FindType("TB")->BaseType, btClass);
        EXPECT_TRUE(c.FindType("TB")->ExportName);
    });
    EXPECT_TRUE(r.ok) << r.AllMessages();
}

TEST(Registration, ClassMembers) {
    CompileResult r = InUses([](TPSPascalCompiler& c) {
        TPSCompileTimeClass* cl = c.AddClassN(nullptr, "TThing");
        EXPECT_TRUE(cl->RegisterMethod("function Get(Index: Integer): string; virtual;"));
        EXPECT_FALSE(cl->RegisterMethod("function Bad(X: TNoSuchType): Integer;"));
        EXPECT_FALSE(cl->RegisterMethod("property Nope: Integer;"));
        EXPECT_EQ(cl->Count(), 1u);
        cl->RegisterProperty("Items", "Integer Integer", iptRW);
        ASSERT_EQ(cl->Count(), 2u);
        const TPSNativeClassItem& items = *cl->ClassItems[1];
        ASSERT_EQ(items.Decl.Params.size(), 1u);
        EXPECT_EQ(items.Decl.Params[0].OrgName, "param1");
        EXPECT_EQ(items.Decl.Result->Name, "LONGINT");
        cl->RegisterProperty("Lost", "string TNoSuchType", iptR);  // one unknown type drops it
        EXPECT_EQ(cl->Count(), 2u);
        cl->RegisterProperty("Plain", "Byte", iptR);
        EXPECT_EQ(Raised([&] { cl->SetDefaultPropery("Missing"); }), "Unknown Property : 'Missing'");
        EXPECT_EQ(Raised([&] { cl->SetDefaultPropery("Get"); }), "Not a property : 'Get'");
        EXPECT_EQ(Raised([&] { cl->SetDefaultPropery("Plain"); }), "Not an array property : 'Plain'");
        EXPECT_EQ(Raised([&] { cl->SetDefaultPropery("items"); }), "no exception");
        EXPECT_EQ(cl->Property_Find({}), &items);
    });
    EXPECT_TRUE(r.ok) << r.AllMessages();
}

TEST(Registration, ConstantSetters) {
    CompileResult r = InUses([](TPSPascalCompiler& c) {
        TPSConstant* ch = c.AddConstantN("CH", "Char");
        ch->SetString("");
        EXPECT_EQ(ch->Value->v.tchar, ' ');  // an empty text gives a blank
        TPSConstant* money = c.AddConstantN("MONEY", "Currency");
        money->SetExtended(1.23456L);
        EXPECT_EQ(money->Value->v.ts64, 12346);  // rounded to the nearest ten-thousandth
        TPSConstant* text = c.AddConstantN("TEXT", "AnsiString");
        EXPECT_EQ(Raised([&] { text->SetInt(1); }), "Constant Value Type Mismatch");
        TPSConstant* wide = c.AddConstantN("WIDE", "UnicodeString");
        wide->SetString("\xE5");
        EXPECT_EQ(wide->Value->WStr, u"\u00E5");
        TPSConstant* big = c.AddConstantN("BIG", "Int64");
        big->SetInt(-1);
        EXPECT_EQ(big->Value->v.ts64, -1);  // sign-extended
        big->SetUInt(0xFFFFFFFFu);
        EXPECT_EQ(big->Value->v.ts64, 0xFFFFFFFFll);  // zero-extended
        TPSConstant none;
        EXPECT_EQ(Raised([&] { none.SetInt(1); }), "Constant Value is not assigned");
    });
    EXPECT_TRUE(r.ok) << r.AllMessages();
}

TEST(Registration, ImportDeclarationBytes) {
    CompileResult r = InUses(
        [](TPSPascalCompiler& c) {
            struct Row {
                const char* name;
                std::string decl;
            };
            const Row rows[] = {
                {"FINDFILES", Bytes("00 00 01 00 00")},  // procedure; mask, var files, flag, directory
                {"LOADXML", Bytes("01 00")},
                {"GETCHUNK", Bytes("01 00 00 00")},
                {"SETCANCELLING", Bytes("00 00")},
                {"GETTIMESTAMPBYNAME", Bytes("01 00 00")},
            };
            for (const Row& row : rows) {
                TPSRegProc* found = nullptr;
                for (size_t i = 0; i < c.GetRegProcCount(); ++i)
                    if (c.GetRegProc(i)->Name.Name == row.name) found = c.GetRegProc(i);
                ASSERT_TRUE(found) << row.name;
                EXPECT_EQ(Hex(found->ImportDecl), Hex(row.decl)) << row.name;
            }
        },
        FullHostFiles());
    EXPECT_TRUE(r.ok) << r.AllMessages();
}

TEST(Registration, ExceptionInUsesBecomesCustomError) {
    CompileResult r = CompileScript("begin end.", {}, [](TPSPascalCompiler& c) {
        c.OnUses = [](TPSPascalCompiler& comp, const std::string&) -> bool {
            comp.AddTypeS("TBroken", "record end;");
            return true;
        };
    });
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].code, ecCustomError);
    EXPECT_EQ(r.messages[0].text, "[Error] (1:1): Unable to register type TBroken");
}

// Every declaration of the job API and the import units registers; only the members whose types no
// unit declares (or declares later) are dropped.
TEST(Registration, TheWholeHostRegisters) {
    std::vector<std::string> dropped;
    THostDeclarations decls = THostDeclarations::ParseFiles(FullHostFiles());
    TPSPascalCompiler c;
    size_t regProcs = 0;
    c.OnUses = [&](TPSPascalCompiler& comp, const std::string& unit) {
        size_t before = comp.GetRegProcCount();
        decls.Register(comp, unit, &dropped);
        regProcs = comp.GetRegProcCount() - before;
        return true;
    };
    ASSERT_TRUE(c.Compile("begin end."));
    const std::vector<std::string> expected = {
        "TCOLLECTION.ItemClass",
        "TCOLLECTION.ItemClass",  // the classes unit is registered twice
        "TGROUPBOX.PopupMenu",    "TEDIT.BorderStyle",    "TEDIT.PopupMenu",
        "TMEMO.BorderStyle",      "TMEMO.PopupMenu",      "TCOMBOBOX.PopupMenu",
        "TBUTTON.PopupMenu",      "TCHECKBOX.PopupMenu",  "TRADIOBUTTON.PopupMenu",
        "TLISTBOX.BorderStyle",   "TLISTBOX.PopupMenu",   "TSCROLLBAR.Kind",
        "TSCROLLBAR.LargeChange", "TSCROLLBAR.PopupMenu", "TSCROLLBAR.SmallChange",
        "TSCROLLBOX.PopupMenu",   "TFORM.Icon",           "TFORM.Menu",
        "TFORM.ObjectMenuItem",   "TFORM.WindowMenu",     "TFORM.PopupMenu",
        "TFORM.OleFormObject",    "TFORM.TileMode",       "TAPPLICATION.Icon"};
    std::vector<std::string> sortedDropped = dropped, sortedExpected = expected;
    std::sort(sortedDropped.begin(), sortedDropped.end());
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(sortedDropped, sortedExpected);
    // dateutils twice (2 x 15) and the 91 job-API routines.
    EXPECT_EQ(regProcs, 2 * 15 + 91u);
}

}  // namespace
}  // namespace tv::script::test

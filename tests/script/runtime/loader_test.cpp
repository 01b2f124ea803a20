#include <gtest/gtest.h>

#include "assembler.h"
#include "script/runtime/exec.h"
#include "test_support.h"

namespace tv::script {
namespace {

using test::Code;
using test::ContainerBuilder;
using test::U32Bytes;

bool Nothing(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    return true;
}

// A container of one procedure that returns, as main.
std::string Minimal(uint32_t build = kContainerBuild) {
    ContainerBuilder b(build);
    b.Type(btS32);
    Code c;
    c.Return();
    b.Main(b.Proc(c, "!MAIN"));
    return b.Build();
}

TEST(Loader, BuildsTwelveToTwentyThreeLoadAndOthersAreRefused) {
    for (uint32_t build : {11u, 12u, 20u, 21u, 23u, 24u}) {
        TPSExec exec;
        const bool ok = exec.LoadData(Minimal(build));
        EXPECT_EQ(ok, build >= 12 && build <= 23) << build;
        EXPECT_EQ(exec.Status(), ok ? isLoaded : isNotLoaded) << build;
        if (!ok) {
            EXPECT_EQ(exec.ExceptionCode(), erInvalidHeader) << build;
        }
    }
}

TEST(Loader, AShortHeaderOrAWrongMagicIsAnInvalidHeader) {
    std::string bad = Minimal();
    bad[0] = 'X';
    for (const std::string& data : {std::string(), Minimal().substr(0, 20), bad}) {
        TPSExec exec;
        EXPECT_FALSE(exec.LoadData(data));
        EXPECT_EQ(exec.ExceptionCode(), erInvalidHeader);
    }
}

// One malformed container and the error it must give.
struct BadCase {
    const char* rule;
    std::string data;
    TPSError error;
};

std::vector<BadCase> BadContainers() {
    std::vector<BadCase> cases;
    auto add = [&](const char* rule, const ContainerBuilder& b, TPSError e) {
        cases.push_back({rule, b.Build(), e});
    };
    {
        ContainerBuilder b;
        b.Record({});
        add("a record with no fields", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b;
        b.Type(btS32);
        b.Record({0, 1});
        add("a record field of a type not read yet", b, ErOutOfRange);
    }
    {
        ContainerBuilder b;
        b.Array(0);
        add("an array of a type not read yet", b, ErTypeMismatch);
    }
    {
        ContainerBuilder b;
        b.Type(btU8);
        b.StaticArray(1, 3);
        add("a static array of itself", b, ErTypeMismatch);
    }
    {
        ContainerBuilder b;
        b.Type(btU8);
        b.StaticArray(0, 0x20000000);
        add("a static array too long", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b;
        b.Set(257);
        add("a set of 257 ordinals", b, ErTypeMismatch);
    }
    for (uint8_t code : {0, 15, 27, 29, 127}) {
        ContainerBuilder b;
        b.RawType(std::string(1, static_cast<char>(code)));
        add("a type code no container holds", b, erInvalidType);
    }
    {
        ContainerBuilder b;
        b.RawType(std::string(1, static_cast<char>(btS32 | kTypeExportedFlag)) + U32Bytes(0x40000001));
        add("an export name too long", b, erInvalidType);
    }
    {
        ContainerBuilder b(20);  // no attribute lists after the types
        b.RawType(std::string(1, static_cast<char>(btProcPtr)) + U32Bytes(256) + std::string(256, '\0'));
        add("procedure-type data of 256 bytes", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b(20);  // no attribute lists after the types
        b.RawType(std::string(1, static_cast<char>(btClass)) + U32Bytes(5) + "AB");
        add("a class name cut short", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b(20);  // no attribute lists after the types
        b.RawType(std::string(1, static_cast<char>(btInterface)) + std::string(10, '\0'));
        add("a GUID cut short", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b;
        b.ProcAt(0, 0);
        add("a procedure of no code", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b;
        b.ProcAt(0x7FFFFFF0, 4);
        add("code beyond the container", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b;
        b.ProcAt(0x80000000, 4);
        add("a negative code offset", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b;
        b.RawProc(std::string(1, static_cast<char>(procExternal | procExported)) + std::string(1, '\0') +
                  U32Bytes(1000));
        add("a declaration longer than what remains", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b;
        b.Type(btS32);
        b.Var(1);
        add("a variable of a type that does not exist", b, erInvalidType);
    }
    {
        ContainerBuilder b;
        b.Type(btS32);
        b.RawVar(U32Bytes(0));
        add("a variable record cut short", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b;
        Code c;
        c.Return();
        b.Proc(c);
        b.Main(1);
        add("a main procedure beyond the list", b, erNoMainProc);
    }
    {
        ContainerBuilder b;
        b.SetHeaderCounts(3, 0, 0);
        b.Type(btS32);
        add("fewer types than the header says", b, erUnexpectedEof);
    }
    {
        ContainerBuilder b;
        b.TypeAttributes(U32Bytes(1) + U32Bytes(3) + "ABC" + U32Bytes(1) + U32Bytes(5));
        b.Type(btS32);
        add("an attribute value of a type that does not exist", b, ErOutOfRange);
    }
    {
        ContainerBuilder b;
        b.Type(btS32);
        b.TypeAttributes(ContainerBuilder::AttributeList("X", {{0, "ab"}}));
        b.Type(btU8);
        add("an attribute value cut short", b, ErOutOfRange);
    }
    {
        ContainerBuilder b;
        const uint32_t rec = b.Type(btS32);
        b.TypeAttributes(ContainerBuilder::AttributeList("X", {{0, "abcd"}}));
        b.Record({rec});
        b.TypeAttributes(ContainerBuilder::AttributeList("Y", {{1, ""}}));
        b.Type(btU8);
        add("an attribute value of a record type", b, erInvalidType);
    }
    return cases;
}

TEST(Loader, EachMalformedContainerIsRefusedWithItsError) {
    for (const BadCase& c : BadContainers()) {
        TPSExec exec;
        EXPECT_FALSE(exec.LoadData(c.data)) << c.rule;
        EXPECT_EQ(exec.ExceptionCode(), c.error) << c.rule;
        EXPECT_EQ(exec.Status(), isNotLoaded) << c.rule;
        EXPECT_EQ(exec.GetTypeCount(), 0u) << c.rule;
    }
}

TEST(Loader, LimitsOfTheFormatLoad) {
    ContainerBuilder b;
    b.Set(256);
    const uint32_t u8 = b.Type(btU8);
    b.StaticArray(u8, 0x1FFFFFFF);  // the longest static array is a type, not yet a value
    b.NoMain();
    TPSExec exec;
    ASSERT_TRUE(exec.LoadData(b.Build()));
    EXPECT_EQ(static_cast<TPSTypeRec_Set*>(exec.GetTypeNo(0))->FByteSize, 32u);
    EXPECT_EQ(exec.Status(), isLoaded);
}

TEST(Loader, TypesCarryAttributesFromBuildTwentyOne) {
    ContainerBuilder b(21);
    const uint32_t s32 = b.Type(btS32);
    b.TypeAttributes(ContainerBuilder::AttributeList("Doc", {{s32, U32Bytes(7)}}));
    b.Type(btU8, "FLAG");
    b.NoMain();
    TPSExec exec;
    bool seen = false;
    exec.RegisterAttributeType(
        [&](TPSExec&, const std::string& type, TPSRuntimeAttribute& a) {
            seen = type == "Doc" && a.ValueCount() == 1 && Load<int32_t>(a.Value(0)->Data()) == 7;
            return true;
        },
        "Doc");
    ASSERT_TRUE(exec.LoadData(b.Build()));
    EXPECT_TRUE(seen);
    EXPECT_EQ(exec.GetType("flag"), 1);
    EXPECT_EQ(exec.GetTypeNo(1)->FAttributes->Count(), 1);
    // A registered attribute type that refuses makes the load fail, with a reason.
    TPSExec strict;
    strict.RegisterAttributeType([](TPSExec&, const std::string&, TPSRuntimeAttribute&) { return false; },
                                 "Doc");
    EXPECT_FALSE(strict.LoadData(b.Build()));
    EXPECT_EQ(strict.ExceptionCode(), erCustomError);
    EXPECT_EQ(ErrorToText(strict.ExceptionCode(), strict.ExceptionString()), "Attribute refused: Doc");
}

TEST(Loader, AnUnregisteredHostRoutineIsRefusedByName) {
    ContainerBuilder b;
    b.External("NOSUCHROUTINE");
    b.NoMain();
    TPSExec exec;
    EXPECT_FALSE(exec.LoadData(b.Build()));
    EXPECT_EQ(exec.ExceptionCode(), erCannotImport);
    EXPECT_EQ(exec.ExceptionString(), "NOSUCHROUTINE");
    EXPECT_EQ(ErrorToText(exec.ExceptionCode(), exec.ExceptionString()), "Cannot Import NOSUCHROUTINE");
    exec.RegisterFunctionName("NoSuchRoutine", Nothing, nullptr, nullptr);
    EXPECT_TRUE(exec.LoadData(b.Build()));
}

bool Second(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    return false;
}

TEST(Loader, TheLaterRegistrationOfANameWins) {
    ContainerBuilder b;
    b.External("TWICE");
    b.NoMain();
    TPSExec exec;
    int first = 1, second = 2;
    exec.RegisterFunctionName("twice", Nothing, &first, nullptr);
    exec.RegisterFunctionName("TWICE", Second, &second, nullptr);
    ASSERT_TRUE(exec.LoadData(b.Build()));
    auto* p = static_cast<TPSExternalProcRec*>(exec.GetProcNo(0));
    EXPECT_EQ(p->FProcPtr, &Second);
    EXPECT_EQ(p->FExt1, &second);
}

// Binds any "class:" declaration and records what it saw.
bool AcceptClassMember(TPSExec&, TPSExternalProcRec& p, void* tag) {
    *static_cast<std::string*>(tag) = p.FDecl;
    p.FProcPtr = Nothing;
    return true;
}

TEST(Loader, ClassMembersGoToTheImporterOfTheirPrefix) {
    ContainerBuilder b;
    b.External("", "class:TSTRINGLIST|ADD|\x00\x01\x00", true);
    b.NoMain();
    TPSExec exec;
    std::string seen;
    exec.AddSpecialProcImport("intf", AcceptClassMember, &seen);
    EXPECT_FALSE(exec.LoadData(b.Build()));
    EXPECT_EQ(exec.ExceptionCode(), erCannotImport);
    EXPECT_EQ(exec.ExceptionString().substr(0, 6), "class:");  // the declaration names it
    exec.AddSpecialProcImport("class", AcceptClassMember, &seen);
    ASSERT_TRUE(exec.LoadData(b.Build()));
    EXPECT_EQ(seen.substr(0, 18), "class:TSTRINGLIST|");
    EXPECT_EQ(exec.FindSpecialProcImport(AcceptClassMember), &seen);
}

TEST(Loader, AMainProcedureOfMinusOneLoads) {
    ContainerBuilder b;
    b.NoMain();
    TPSExec exec;
    EXPECT_TRUE(exec.LoadData(b.Build()));
}

TEST(Loader, AFailedLoadLeavesNothingBehind) {
    ContainerBuilder b;
    Code c;
    c.Return();
    b.Proc(c, "WORK");
    b.External("MISSING");
    b.NoMain();
    TPSExec exec;
    ASSERT_TRUE(exec.LoadData(Minimal()));
    EXPECT_FALSE(exec.LoadData(b.Build()));
    EXPECT_EQ(exec.GetProc("WORK"), -1);
    EXPECT_EQ(exec.GetProc("!MAIN"), -1);
    EXPECT_EQ(exec.Status(), isNotLoaded);
}

TEST(Executor, LooksUpProceduresTypesAndVariablesByName) {
    ContainerBuilder b;
    const uint32_t s32 = b.Type(btS32, "INTEGER");
    const uint32_t str = b.Type(btUnicodeString);
    Code c;
    c.Return();
    b.Main(b.Proc(c, "!MAIN"));
    b.Proc(c, "HELPER", "-1 @0");
    b.Var(str);
    b.Var(s32, "COUNTER");
    b.Var(str, "NAME");
    TPSExec exec;
    exec.RegisterFunctionName("X", Nothing, nullptr, nullptr);
    ASSERT_TRUE(exec.LoadData(b.Build()));
    EXPECT_EQ(exec.GetProc("helper"), 1);
    EXPECT_EQ(exec.GetProc("nothing"), -1);
    EXPECT_EQ(exec.GetType("Integer"), 0);
    EXPECT_EQ(exec.GetType("NoName"), -1);
    EXPECT_EQ(exec.GetVar("name"), 1);  // its place among the exported variables
    // The variable itself is global number 2, though only the second exported one.
    EXPECT_EQ(exec.GetVar2("name"), exec.GetVarNo(2));
    EXPECT_EQ(exec.GetVar2("counter")->FType, exec.GetTypeNo(0));
    uint32_t at = 0;
    EXPECT_EQ(exec.FindType(1, btUnicodeString, at), exec.GetTypeNo(1));
    EXPECT_EQ(at, 1u);
    EXPECT_EQ(exec.FindType2(btVariant), nullptr);
}

TEST(Executor, CleanupEmptiesTheGlobalsOnlyWhileLoaded) {
    ContainerBuilder b;
    const uint32_t str = b.Type(btUnicodeString);
    const uint32_t s32 = b.Type(btS32);
    b.Var(str, "S");
    b.Var(s32, "N");
    b.NoMain();
    TPSExec exec;
    exec.Cleanup();  // not loaded: nothing happens
    ASSERT_TRUE(exec.LoadData(b.Build()));
    UnicodeString::RawSet(exec.GetVar2("S")->Data(), UnicodeString(std::u16string_view(u"x")));
    Store<int32_t>(exec.GetVar2("N")->Data(), 5);
    exec.Cleanup();
    EXPECT_EQ(UnicodeString::RawLength(exec.GetVar2("S")->Data()), 0);
    EXPECT_EQ(Load<int32_t>(exec.GetVar2("N")->Data()), 0);
}

void FreeCounter(TPSExec&, void* p) {
    ++*static_cast<int*>(p);
}
void Other(TPSExec&, void*) {}

TEST(Executor, ResourcesAreReleasedWhenTheExecutorClears) {
    TPSExec exec;
    int a = 0, b = 0;
    exec.AddResource(FreeCounter, &a);
    exec.AddResource(Other, &b);
    exec.AddResource(FreeCounter, &b);
    EXPECT_EQ(exec.FindProcResource(FreeCounter), &b);
    int32_t at = 99;
    EXPECT_EQ(exec.FindProcResource2(FreeCounter, at), &b);
    EXPECT_EQ(exec.FindProcResource2(FreeCounter, at), &a);
    EXPECT_EQ(at, -1);
    EXPECT_TRUE(exec.IsValidResource(Other, &b));  // the first record holding b
    EXPECT_FALSE(exec.IsValidResource(FreeCounter, &b));
    exec.DeleteResource(&b);  // the last record holding b goes without being released
    exec.Clear();
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0);
}

TEST(Executor, EveryRecordedErrorReachesTheExceptionEvent) {
    TPSExec exec;
    std::vector<TPSError> seen;
    exec.FOnException = [&](TPSExec&, TPSError e, const std::string&, std::exception_ptr, uint32_t,
                            uint32_t) { seen.push_back(e); };
    EXPECT_FALSE(exec.LoadData("nonsense"));
    EXPECT_EQ(seen, std::vector<TPSError>{erInvalidHeader});
}

struct TextCase {
    int code;
    const char* param;
    const char* text;
};

TEST(Errors, EachCodeHasItsText) {
    const TextCase cases[] = {
        {ErNoError, "", "No Error"},
        {erCannotImport, "ABC\x01xyz", "Cannot Import ABC"},
        {ErDivideByZero, "", "divide by Zero"},
        {erCouldNotCallProc, "", "Could not call proc"},
        {erCouldNotCallProc, "X", "Could not call proc (X)"},
        {erException, "boom", "Exception: boom"},
        {erCustomError, "as given", "as given"},
        {erNoMainProc, "", "no Main Proc"},
        {erInterfaceNotSupported, "", "Interface not supported"},
        {25, "", "Unknown error"},
        {-1, "", "Unknown error"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorToText(c.code, c.param), c.text) << c.code;
}

}  // namespace
}  // namespace tv::script

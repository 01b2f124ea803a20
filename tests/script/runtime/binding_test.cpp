#include <gtest/gtest.h>

#include <sstream>

#include "platform/rtl/component.h"
#include "program.h"
#include "script/runtime/binding.h"
#include "tools/psrun/runner/script_runner.h"

namespace tv {
enum TColour : uint8_t { Red, Green, Blue };
TV_ENUM_INFO(TColour, "Red", "Green", "Blue");
}  // namespace tv

namespace tv::script {
namespace {

// One kind of host parameter: the script type, a value for the by-value parameter and one for the
// var parameter, how the script prints them, and what comes back (the echo and the changed var).
struct KindCase {
    const char* type;
    const char* value;
    const char* varValue;
    const char* show;  // a function of one argument turning the value into text
    const char* echoed;
    const char* changed;
};

// Registers Echo<name>(v: T; var r: T): T on the executor: returns v, and changes r by `change`.
template <class T, class F>
void Echo(TPSExec& exec, std::string_view name, F change) {
    RegisterNativeCallable(exec, name, [change](T v, T& r) -> T {
        r = change(r);
        return v;
    });
}

void RegisterEchoes(TPSExec& exec) {
    auto minusOne = [](auto x) { return static_cast<decltype(x)>(static_cast<uint64_t>(x) - 1); };
    Echo<int8_t>(exec, "EchoShortInt", minusOne);
    Echo<int16_t>(exec, "EchoSmallInt", minusOne);
    Echo<int32_t>(exec, "EchoInteger", minusOne);
    Echo<uint8_t>(exec, "EchoByte", minusOne);
    Echo<uint16_t>(exec, "EchoWord", minusOne);
    Echo<uint32_t>(exec, "EchoCardinal", minusOne);
    Echo<int64_t>(exec, "EchoInt64", minusOne);
    Echo<bool>(exec, "EchoBoolean", [](bool b) { return !b; });
    Echo<float>(exec, "EchoSingle", [](float x) { return x / 2; });
    Echo<double>(exec, "EchoDouble", [](double x) { return x / 2; });
    Echo<long double>(exec, "EchoExtended", [](long double x) { return x / 2; });
    Echo<Currency>(exec, "EchoCurrency", [](Currency c) { return Currency{c.Raw + 1}; });
    Echo<char>(exec, "EchoChar", [](char c) { return static_cast<char>(c + 1); });
    Echo<char16_t>(exec, "EchoWideChar", [](char16_t c) { return static_cast<char16_t>(c + 1); });
    Echo<AnsiString>(exec, "EchoAnsiString", [](AnsiString s) { return s + std::string_view("!"); });
    Echo<UnicodeString>(exec, "EchoUnicodeString",
                        [](UnicodeString s) { return s + std::u16string_view(u"€"); });
    Echo<std::string>(exec, "EchoUtf8", [](std::string s) { return s + "ö"; });
    Echo<Variant>(exec, "EchoVariant",
                  [](Variant v) { return Variant::BinaryOp(TVarOp::Add, v, Variant(int32_t{1})); });
    Echo<TColour>(exec, "EchoColour", [](TColour c) { return static_cast<TColour>((c + 1) % 3); });
    Echo<TSet<TColour>>(exec, "EchoColours", [](TSet<TColour> s) { return s + TSet<TColour>{Blue}; });
}

const std::vector<std::string>& EchoDeclarations() {
    static const std::vector<std::string> decls = [] {
        std::vector<std::string> d;
        for (const char* t :
             {"ShortInt", "SmallInt", "Integer", "Byte", "Word", "Cardinal", "Int64", "Boolean", "Single",
              "Double", "Extended", "Currency", "Char", "WideChar", "AnsiString"})
            d.push_back("function Echo" + std::string(t) + "(v: " + t + "; var r: " + t + "): " + t + ";");
        d.push_back("function EchoUnicodeString(v: string; var r: string): string;");
        d.push_back("function EchoUtf8(v: string; var r: string): string;");
        d.push_back("function EchoVariant(v: Variant; var r: Variant): Variant;");
        return d;
    }();
    return decls;
}

TEST(Binding, EachKindOfParameterCrossesBothWays) {
    const KindCase cases[] = {
        {"ShortInt", "-128", "-128", "IntToStr", "-128", "127"},
        {"SmallInt", "-32768", "0", "IntToStr", "-32768", "-1"},
        {"Integer", "-2147483648", "-2147483648", "IntToStr", "-2147483648", "2147483647"},
        {"Byte", "255", "0", "IntToStr", "255", "255"},
        {"Word", "65535", "0", "IntToStr", "65535", "65535"},
        {"Cardinal", "4294967295", "0", "IntToStr", "4294967295", "4294967295"},
        {"Int64", "-9223372036854775807", "5", "IntToStr", "-9223372036854775807", "4"},
        {"Boolean", "True", "True", "ShowBool", "T", "F"},
        {"Single", "1.5", "3", "FloatToStr", "1.500000000000", "1.500000000000"},
        {"Double", "0.1", "1", "FloatToStr", "0.100000000000", "0.500000000000"},
        {"Extended", "2.25", "0.5", "FloatToStr", "2.250000000000", "0.250000000000"},
        {"Currency", "1.2345", "1.5", "ShowCurrency", "1.234500000000", "1.500100000000"},
        {"Char", "'a'", "'y'", "", "a", "z"},
        {"WideChar", "'a'", "'y'", "", "a", "z"},
        {"AnsiString", "'åä'", "'x'", "", "åä", "x!"},
        {"string", "'€uro'", "'x'", "", "€uro", "x€"},
        {"Variant", "'7'", "41", "", "7", "42"},
    };
    for (const KindCase& c : cases) {
        const std::string type = c.type;
        const std::string fn = type == "string" ? "EchoUnicodeString" : "Echo" + type;
        const std::string script =
            "function ShowBool(b: Boolean): string; begin if b then Result := 'T' else Result := 'F'; end;\n"
            "function ShowCurrency(c: Currency): string; begin Result := FloatToStr(c); end;\n"
            "var x, y: " +
            type +
            ";\n"
            "begin\n"
            "  x := " +
            c.value + "; y := " + c.varValue +
            ";\n"
            "  Print(" +
            c.show + "(" + fn +
            "(x, y)));\n"
            "  Print(" +
            c.show +
            "(y));\n"
            "end.\n";
        std::ostringstream out;
        const TScriptRun run = RunScriptText(script, out, RegisterEchoes, EchoDeclarations());
        ASSERT_TRUE(run.Compiled) << type << ": " << (run.Messages.empty() ? "" : run.Messages.front());
        EXPECT_TRUE(run.Ran) << type << ": " << run.Error;
        EXPECT_EQ(out.str(), std::string(c.echoed) + "\n" + c.changed + "\n") << type;
    }
}

TEST(Binding, Utf8TextEnumerationsAndSetsCross) {
    const std::string script =
        "var s, t: string; c, d: TColour; cs, ds: TColours;\n"
        "begin\n"
        "  s := 'å'; t := 'x';\n"
        "  Print(EchoUtf8(s, t) + ' ' + t);\n"
        "  c := Green; d := Blue;\n"
        "  Print(IntToStr(Ord(EchoColour(c, d))) + ' ' + IntToStr(Ord(d)));\n"
        "  cs := [Red]; ds := [Green];\n"
        "  cs := EchoColours(cs, ds);\n"
        "  if (Red in cs) and (Blue in ds) and (Green in ds) and not (Blue in cs) then Print('sets');\n"
        "end.\n";
    std::ostringstream out;
    const TScriptRun run =
        RunScriptText(script, out, RegisterEchoes,
                      {"type TColour = (Red, Green, Blue)", "type TColours = set of TColour",
                       "function EchoUtf8(v: string; var r: string): string;",
                       "function EchoColour(v: TColour; var r: TColour): TColour;",
                       "function EchoColours(v: TColours; var r: TColours): TColours;"});
    ASSERT_TRUE(run.Compiled) << (run.Messages.empty() ? "" : run.Messages.front());
    EXPECT_TRUE(run.Ran) << run.Error;
    EXPECT_EQ(out.str(), "å xö\n1 0\nsets\n");
}

double Sum(const std::vector<Variant>& values) {
    double s = 0;
    for (const Variant& v : values) s += v.AsDouble();
    return s;
}

void Double(std::vector<Variant>& values) {
    for (Variant& v : values) v = Variant::BinaryOp(TVarOp::Add, v, v);
}

TEST(Binding, OpenArraysOfVariantsAndOfConstArriveAsVariants) {
    const std::string script =
        "var a: array of Variant;\n"
        "begin\n"
        "  Print(FloatToStr(SumConst([1, 2.5, '3'])) + ' ' + FloatToStr(SumVariants([4, 5])));\n"
        "  SetLength(a, 2); a[0] := 1; a[1] := 'x';\n"
        "  Print(FloatToStr(SumVariants(a)));\n"
        "end.\n";
    std::ostringstream out;
    const TScriptRun run = RunScriptText(script, out,
                                         [](TPSExec& exec) {
                                             RegisterNativeFunction<&Sum>(exec, "SumConst");
                                             RegisterNativeFunction<&Sum>(exec, "SumVariants");
                                         },
                                         {"function SumConst(const v: array of const): Double;",
                                          "function SumVariants(v: array of Variant): Double;"});
    ASSERT_TRUE(run.Compiled) << (run.Messages.empty() ? "" : run.Messages.front());
    EXPECT_EQ(out.str(), "6.500000000000 9.000000000000\n");
    EXPECT_FALSE(run.Ran);  // 'x' is no number
    EXPECT_EQ(run.Error.substr(run.Error.find(": ") + 2),
              "Exception: Could not convert variant of type (String) into type (Double)");
}

TEST(Binding, AnArrayByReferenceIsWrittenBack) {
    const std::string script =
        "var a: TVariantArray;\n"
        "begin\n"
        "  SetLength(a, 2); a[0] := 3; a[1] := 'ab';\n"
        "  DoubleAll(a);\n"
        "  Print(IntToStr(a[0]) + ' ' + a[1]);\n"
        "end.\n";
    std::ostringstream out;
    const TScriptRun run =
        RunScriptText(script, out, [](TPSExec& exec) { RegisterNativeFunction<&Double>(exec, "DoubleAll"); },
                      {"procedure DoubleAll(var v: TVariantArray);"});
    ASSERT_TRUE(run.Compiled) << (run.Messages.empty() ? "" : run.Messages.front());
    EXPECT_TRUE(run.Ran) << run.Error;
    EXPECT_EQ(out.str(), "6 abab\n");
}

int32_t Twice(int32_t x) {
    return 2 * x;
}

TEST(Binding, ADeclarationThatDoesNotMatchTheBindingIsRefusedAtLoad) {
    std::ostringstream out;
    const TScriptRun run = RunScriptText("var i: Integer; begin i := 1; i := Twice(i); end.", out,
                                         [](TPSExec& exec) { RegisterNativeFunction<&Twice>(exec, "Twice"); },
                                         {"function Twice(var x: Integer): Integer;"});
    ASSERT_TRUE(run.Compiled);
    EXPECT_FALSE(run.Ran);
    EXPECT_EQ(run.Error, "Cannot Import TWICE");
    const TScriptRun ok = RunScriptText("var i: Integer; begin i := 21; Print(IntToStr(Twice(i))); end.", out,
                                        [](TPSExec& exec) { RegisterNativeFunction<&Twice>(exec, "Twice"); },
                                        {"function Twice(x: Integer): Integer;"});
    EXPECT_TRUE(ok.Ran) << ok.Error;
    EXPECT_EQ(out.str(), "42\n");
}

// A host object whose methods scripts call through a bound instance.
class TCounter {
public:
    int32_t Add(int32_t n) { return total += n; }
    int32_t total = 0;
};

TEST(Binding, MethodsRunOnTheirObject) {
    TCounter counter;
    std::ostringstream out;
    const TScriptRun run = RunScriptText(
        "begin Add(2); Print(IntToStr(Add(3))); end.", out,
        [&counter](TPSExec& exec) { RegisterNativeMethod<&TCounter::Add>(exec, &counter, "Add"); },
        {"function Add(n: Integer): Integer;"});
    EXPECT_TRUE(run.Ran) << run.Error;
    EXPECT_EQ(out.str(), "5\n");
    EXPECT_EQ(counter.total, 5);
}

using test::Code;
using test::Operand;
using test::Program;

std::string NameOf(TComponent* c) {
    return c ? c->Name() : "nil";
}

TEST(Binding, ObjectsAreCheckedForLifeAndClass) {
    Program p;
    const uint32_t cls = p.b.Class("TCOMPONENT");
    const uint32_t g = p.b.Var(cls, "G");
    const uint32_t out = p.b.Var(p.uni, "OUT");
    const uint32_t take = p.b.External("NAMEOF", std::string("\1\0", 2), true);
    Code c;
    c.PushNew(cls).Assign(Operand::Local(0), Operand::Global(g));
    c.PushRef(Operand::Global(out)).Call(take).Pop().Pop().Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    RegisterNativeFunction<&NameOf>(p.exec, "NameOf");
    ASSERT_TRUE(p.Load());
    auto* comp = new TComponent;
    comp->SetName("Edit1");
    SetValueFromObject(p.Global(g)->Data(), p.Global(g)->FType, comp);
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(UnicodeString::RawGet(p.Global(out)->Data()), std::u16string_view(u"Edit1"));
    delete comp;  // the script still holds it
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.exec.ExceptionCode(), erException);
    EXPECT_EQ(p.exec.ExceptionString(), "Object reference to no live object");
    p.exec.Stop();
    TObject plain;  // alive, but of another class
    SetValueFromObject(p.Global(g)->Data(), p.Global(g)->FType, &plain);
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.exec.ExceptionString(), "Type Mismatch");
}

}  // namespace
}  // namespace tv::script

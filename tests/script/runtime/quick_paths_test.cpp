// The interpreter computes common instructions on shortcuts of its own. Whatever the operands'
// types and values, an instruction run in a program must leave the same value, the same Boolean
// and the same recorded error as the executor's assignment, arithmetic and comparison rules give
// when called directly.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "program.h"
#include "script/runtime/value_access.h"
#include "types_fixture.h"

namespace tv::script {
namespace {

using test::Code;
using test::Operand;
using test::Program;

constexpr uint8_t kCodes[] = {btU8,     btS8,       btU16,      btS32,  btU32,    btS64,          btSingle,
                              btDouble, btExtended, btCurrency, btChar, btString, btUnicodeString};

// Seeds each value of a pair is made from: an integer, a real and a text.
struct Seed {
    int64_t i;
    long double r;
    const char* text;
};
const Seed kSeeds[] = {
    {0, 0, ""},
    {1, 1.5L, "a"},
    {-1, -7.25L, "abc"},
    {7, 1e300L, "b"},
    {33, 3e38L, "ab"},
    {INT32_MIN, -2.5L, "B"},
    {INT32_MAX, std::numeric_limits<long double>::quiet_NaN(), "\xe9"},
    {int64_t{1} << 40, 0.1L, "a"},
};

void Fill(void* d, uint8_t code, const Seed& s) {
    switch (code) {
        case btSingle:
            Store(d, static_cast<float>(s.r));
            break;
        case btDouble:
            Store(d, static_cast<double>(s.r));
            break;
        case btExtended:
            StoreExtended(d, s.r);
            break;
        case btString:
            AnsiString::RawSet(d, AnsiString(s.text));
            break;
        case btUnicodeString:
            UnicodeString::RawSet(d, AnsiToUnicode(AnsiString(s.text)));
            break;
        default:
            std::memcpy(d, &s.i, FixedConstantSize(code));  // the low bytes
    }
}

// A value as comparable text: its bytes, or its characters for strings.
std::string Image(const void* d, uint8_t code) {
    if (code == btString) return "'" + std::string(AnsiString::RawGet(d).view()) + "'";
    if (code == btUnicodeString)
        return "'" + std::string(UnicodeToAnsi(UnicodeString::RawGet(d)).view()) + "'";
    std::string hex;
    for (uint32_t i = 0; i < FixedConstantSize(code); ++i) {
        static constexpr char kDigits[] = "0123456789abcdef";
        const auto b = static_cast<const uint8_t*>(d)[i];
        hex += kDigits[b >> 4];
        hex += kDigits[b & 15];
    }
    return hex;
}

// What one instruction left behind.
struct Outcome {
    std::string left, flag;
    TPSError error = ErNoError;
    std::string param;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << "left " << o.left << " flag " << o.flag << " error " << o.error << " '" << o.param << "'";
}

enum class Instr { Assign, Calc, Compare };

// Runs `instr` with operator `op` on globals L (type lc) and R (type rc) and a Boolean B, once for
// every pair of seeds, and checks it against the rules called directly.
void Check(Instr instr, uint8_t op, uint8_t lc, uint8_t rc) {
    Program p;
    const uint32_t lt = p.b.Type(lc), rt = p.b.Type(rc);
    const uint32_t l = p.b.Var(lt), r = p.b.Var(rt), flag = p.b.Var(p.u8);
    Code c;
    if (instr == Instr::Assign)
        c.Assign(Operand::Global(l), Operand::Global(r));
    else if (instr == Instr::Calc)
        c.Calc(static_cast<CalcOperator>(op), Operand::Global(l), Operand::Global(r));
    else
        c.Compare(static_cast<CompareOperator>(op), Operand::Global(flag), Operand::Global(l),
                  Operand::Global(r));
    c.Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    test::Types types;
    const TPSTypeRec *ltRec = types.Plain(lc), *rtRec = types.Plain(rc), *u8Rec = types.Plain(btU8);
    for (const Seed& ls : kSeeds) {
        for (const Seed& rs : kSeeds) {
            Fill(p.Global(l)->Data(), lc, ls);
            Fill(p.Global(r)->Data(), rc, rs);
            Store<uint8_t>(p.Global(flag)->Data(), 9);
            Outcome run;
            if (!p.Run()) {
                run.error = p.exec.ExceptionCode();
                run.param = p.exec.ExceptionString();
                p.exec.Stop();
            }
            run.left = Image(p.Global(l)->Data(), lc);
            run.flag = Image(p.Global(flag)->Data(), btU8);

            TPSExec direct;
            test::Value lv(ltRec), rv(rtRec), fv(u8Rec);
            Fill(lv.Data(), lc, ls);
            Fill(rv.Data(), rc, rs);
            Store<uint8_t>(fv.Data(), 9);
            bool ok;
            if (instr == Instr::Assign)
                ok = direct.AssignValue(lv.Data(), rv.Data(), ltRec, rtRec);
            else if (instr == Instr::Calc)
                ok = direct.CalculateInPlace(lv.Data(), rv.Data(), op, rtRec, ltRec);
            else
                ok = direct.CompareValues(lv.Data(), rv.Data(), fv.Data(), ltRec, rtRec, u8Rec, op);
            Outcome expected{Image(lv.Data(), lc), Image(fv.Data(), btU8)};
            if (!ok) {
                expected.error = direct.ExceptionCode();
                expected.param = direct.ExceptionString();
            }
            EXPECT_EQ(run, expected) << "instruction " << static_cast<int>(instr) << " op " << int(op)
                                     << " types " << int(lc) << ", " << int(rc) << " seeds " << ls.i << "/"
                                     << static_cast<double>(ls.r) << ", " << rs.i << "/"
                                     << static_cast<double>(rs.r);
        }
    }
}

TEST(QuickPaths, AssignmentsAgreeWithTheAssignmentRules) {
    for (uint8_t lc : kCodes)
        for (uint8_t rc : kCodes) Check(Instr::Assign, 0, lc, rc);
}

TEST(QuickPaths, ArithmeticAgreesWithTheOperators) {
    for (uint8_t op = calcAdd; op <= calcXor; ++op)
        for (uint8_t lc : kCodes)
            for (uint8_t rc : kCodes) Check(Instr::Calc, op, lc, rc);
}

TEST(QuickPaths, ComparisonsAgreeWithTheOperators) {
    for (uint8_t op = cmpGreaterEqual; op <= cmpEqual; ++op)
        for (uint8_t lc : kCodes)
            for (uint8_t rc : kCodes) Check(Instr::Compare, op, lc, rc);
}

}  // namespace
}  // namespace tv::script

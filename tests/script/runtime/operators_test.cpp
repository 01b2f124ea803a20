#include <gtest/gtest.h>

#include "script/runtime/exec.h"
#include "script/runtime/value_access.h"
#include "test_support.h"
#include "types_fixture.h"

namespace tv::script {
namespace {

using test::Types;
using test::Value;

// Operands of the operator tables: a type and how to fill the value.
class Ops {
public:
    Types t;
    TPSExec exec;
    TPSTypeRec *u8 = t.Plain(btU8), *s8 = t.Plain(btS8), *u16 = t.Plain(btU16), *s32 = t.Plain(btS32),
               *u32 = t.Plain(btU32), *s64 = t.Plain(btS64), *dbl = t.Plain(btDouble),
               *sgl = t.Plain(btSingle), *cur = t.Plain(btCurrency), *ansi = t.Plain(btString),
               *uni = t.Plain(btUnicodeString), *chr = t.Plain(btChar), *var = t.Plain(btVariant),
               *proc = t.Plain(btProcPtr);

    std::unique_ptr<Value> Int(TPSTypeRec* type, int64_t v) {
        auto x = std::make_unique<Value>(type);
        EXPECT_TRUE(SetValueFromInt64(x->Data(), type, v));
        return x;
    }
    std::unique_ptr<Value> Real(TPSTypeRec* type, long double v) {
        auto x = std::make_unique<Value>(type);
        EXPECT_TRUE(SetValueFromReal(x->Data(), type, v));
        return x;
    }
    std::unique_ptr<Value> Text(TPSTypeRec* type, std::string_view s) {
        auto x = std::make_unique<Value>(type);
        EXPECT_TRUE(SetValueFromAnsiString(x->Data(), type, AnsiString(s)));
        return x;
    }
    bool Calc(Value& l, uint8_t op, Value& r) {
        return exec.CalculateInPlace(l.Data(), r.Data(), op, r.Type(), l.Type());
    }
    // The Boolean result of comparing, or -1 when the comparison failed.
    int Cmp(Value& l, uint8_t op, Value& r) {
        Value d(u8);
        if (!exec.CompareValues(l.Data(), r.Data(), d.Data(), l.Type(), r.Type(), u8, op)) return -1;
        return Load<uint8_t>(d.Data());
    }
};

TEST(Operators, IntegersWrapAtTheirWidthAndDivideTowardZero) {
    Ops o;
    struct Case {
        TPSTypeRec* lt;
        int64_t left;
        uint8_t op;
        TPSTypeRec* rt;
        int64_t right;
        int64_t expected;
    };
    const Case cases[] = {
        {o.u8, 250, calcAdd, o.s32, 10, 4},
        {o.s8, 127, calcAdd, o.s32, 1, -128},
        {o.s32, 7, calcDivide, o.s32, 2, 3},
        {o.s32, -7, calcModulo, o.s32, 2, -1},
        {o.s32, -7, calcDivide, o.u32, 0xFFFFFFFF, 7},  // a U32 right counts as signed
        {o.u32, 0xFFFFFFFE, calcDivide, o.s32, -1, 0},  // unsigned: 4294967294 div 4294967295
        {o.u32, 10, calcDivide, o.s64, 3, 3},           // 64-bit division of the widened left
        {o.s32, 0x7FFFFFFF, calcAdd, o.s32, 1, -2147483648LL},
        {o.u8, 1, calcShl, o.s32, 33, 2},   // shift counts modulo 32
        {o.s8, -1, calcShr, o.s32, 1, -1},  // widened, shifted, cut back
        {o.s64, 1, calcShl, o.s32, 64, 0},  // Int64 shifts by the whole count
        {o.s64, -8, calcShr, o.s32, 1, 0x7FFFFFFFFFFFFFFCLL},
        {o.s32, 6, calcAnd, o.s32, 3, 2},
        {o.u16, 0xFFFF, calcMultiply, o.u16, 2, 0xFFFE},
        {o.chr, 'a', calcAdd, o.s32, 1, 'b'},
        {o.chr, 0, calcSubtract, o.s32, 1, 255},
    };
    for (const auto& c : cases) {
        auto l = o.Int(c.lt, c.left), r = o.Int(c.rt, c.right);
        ASSERT_TRUE(o.Calc(*l, c.op, *r)) << c.left << " op " << int(c.op) << " " << c.right;
        EXPECT_EQ(GetValueAsInt64(l->Data(), c.lt), c.expected)
            << c.left << " op " << int(c.op) << " " << c.right;
    }
}

TEST(Operators, DivisionFaultsAreRecordedNotTrapped) {
    Ops o;
    struct Case {
        TPSTypeRec* lt;
        uint8_t op;
        TPSError error;
        const char* param;
    };
    const Case cases[] = {
        {o.s32, calcDivide, ErDivideByZero, "Division by zero"},
        {o.s64, calcModulo, ErDivideByZero, "Division by zero"},
        {o.dbl, calcDivide, ErDivideByZero, "Floating point division by zero"},
        {o.cur, calcDivide, ErDivideByZero, "Floating point division by zero"},
        {o.var, calcDivide, ErDivideByZero, "Division by zero"},
    };
    for (const auto& c : cases) {
        auto l = o.Int(c.lt, 7), r = o.Int(o.s32, 0);
        EXPECT_FALSE(o.Calc(*l, c.op, *r));
        EXPECT_EQ(o.exec.ExceptionCode(), c.error);
        EXPECT_EQ(o.exec.ExceptionString(), c.param);
        EXPECT_EQ(GetValueAsReal(l->Data(), c.lt), 7);  // unchanged
    }
    auto min = o.Int(o.s32, INT32_MIN), minusOne = o.Int(o.s32, -1);
    EXPECT_FALSE(o.Calc(*min, calcDivide, *minusOne));
    EXPECT_EQ(ErrorToText(o.exec.ExceptionCode(), o.exec.ExceptionString()), "Exception: Integer overflow");
    auto big = o.Real(o.sgl, 3e38L), ten = o.Int(o.s32, 10);
    EXPECT_FALSE(o.Calc(*big, calcMultiply, *ten));
    EXPECT_EQ(o.exec.ExceptionCode(), ErMathError);
}

TEST(Operators, CurrencyKeepsFourDecimals) {
    Ops o;
    auto c = o.Real(o.cur, 1.5L);
    auto two = o.Int(o.s32, 2), three = o.Int(o.s32, 3), half = o.Real(o.cur, 0.5L);
    ASSERT_TRUE(o.Calc(*c, calcAdd, *two));
    EXPECT_EQ(Load<int64_t>(c->Data()), 35000);
    auto d = o.Real(o.cur, 1.5L);
    ASSERT_TRUE(o.Calc(*d, calcMultiply, *three));
    EXPECT_EQ(Load<int64_t>(d->Data()), 45000);
    auto e = o.Real(o.cur, 1.5L);
    ASSERT_TRUE(o.Calc(*e, calcDivide, *half));
    EXPECT_EQ(Load<int64_t>(e->Data()), 30000);
    auto x = o.Real(o.dbl, 1.0L), quarter = o.Real(o.cur, 0.25L);
    ASSERT_TRUE(o.Calc(*x, calcAdd, *quarter));
    EXPECT_EQ(Load<double>(x->Data()), 1.25);
}

TEST(Operators, TextAddsAndNothingElse) {
    Ops o;
    auto s = o.Text(o.ansi, "ab"), c = o.Text(o.chr, "c");
    ASSERT_TRUE(o.Calc(*s, calcAdd, *c));
    EXPECT_EQ(AnsiString::RawGet(s->Data()), std::string_view("abc"));
    EXPECT_FALSE(o.Calc(*s, calcSubtract, *c));
    EXPECT_EQ(o.exec.ExceptionCode(), ErTypeMismatch);
    auto u = o.Text(o.uni, "x"), n = o.Int(o.s32, 5);
    EXPECT_FALSE(o.Calc(*u, calcAdd, *n));  // a number is no text
    EXPECT_EQ(o.exec.ExceptionString(), "Type Mismatch");
    auto mod = o.Real(o.dbl, 5);
    EXPECT_FALSE(o.Calc(*mod, calcModulo, *n));
    EXPECT_EQ(o.exec.ExceptionCode(), ErTypeMismatch);
}

TEST(Operators, VariantsComputeByTheirOwnRules) {
    Ops o;
    auto v = std::make_unique<Value>(o.var);
    StoreVariant(v->Data(), Variant(int32_t{7}));
    auto two = o.Int(o.s32, 2);
    ASSERT_TRUE(o.Calc(*v, calcDivide, *two));  // integer left: integer division
    EXPECT_EQ(LoadVariant(v->Data()).AsInteger(), 3);
    StoreVariant(v->Data(), Variant(7.0));
    ASSERT_TRUE(o.Calc(*v, calcDivide, *two));
    EXPECT_EQ(LoadVariant(v->Data()).AsDouble(), 3.5);
    auto s32 = o.Int(o.s32, 10);
    StoreVariant(v->Data(), Variant::FromUtf8("5"));
    ASSERT_TRUE(o.Calc(*s32, calcAdd, *v));  // an integer left takes the variant's integer result
    EXPECT_EQ(Load<int32_t>(s32->Data()), 15);
}

TEST(Operators, ComparisonsFollowTheLeftOperandsType) {
    Ops o;
    auto u = o.Int(o.u32, 5), s = o.Int(o.s32, -1);
    EXPECT_EQ(o.Cmp(*u, cmpGreater, *s), 0);  // -1 read as 4294967295
    EXPECT_EQ(o.Cmp(*s, cmpLess, *u), 1);     // 5 read as a signed value
    auto A = o.Text(o.ansi, "A"), B = o.Text(o.ansi, "B"), a = o.Text(o.ansi, "a");
    EXPECT_EQ(o.Cmp(*B, cmpGreater, *A), 1);
    EXPECT_EQ(o.Cmp(*a, cmpGreater, *B), 1);  // by code, not by case
    auto byte = o.Int(o.u8, 'A');
    EXPECT_EQ(o.Cmp(*byte, cmpEqual, *A), 1);  // a byte against text compares as its character
    auto x = o.Real(o.dbl, 2.5), y = o.Int(o.s32, 2);
    EXPECT_EQ(o.Cmp(*x, cmpGreaterEqual, *y), 1);
    EXPECT_EQ(o.Cmp(*y, cmpLess, *x), 1);
    auto c1 = o.Real(o.cur, 1.5), d1 = o.Real(o.dbl, 1.5);
    EXPECT_EQ(o.Cmp(*c1, cmpEqual, *d1), 1);
}

TEST(Operators, ProcedureValuesCompareByNumberOrBothWords) {
    Ops o;
    Value a(o.proc), b(o.proc);
    EXPECT_EQ(o.Cmp(a, cmpEqual, b), 1);  // both unassigned
    int self = 0;
    Store(a.Data(), ProcPtrValue{5, 0, &self, nullptr});
    Store(b.Data(), ProcPtrValue{5, 0, nullptr, &self});
    EXPECT_EQ(o.Cmp(a, cmpEqual, b), 1);
    Store(b.Data(), ProcPtrValue{0, 0, &self, nullptr});
    EXPECT_EQ(o.Cmp(a, cmpNotEqual, b), 1);
    EXPECT_EQ(o.Cmp(a, cmpLess, b), -1);
    EXPECT_EQ(o.exec.ExceptionCode(), ErTypeMismatch);
}

TEST(Operators, RecordsCompareTheirBytesAndStringsByReference) {
    Ops o;
    auto* rec = o.t.Record({o.s32, o.ansi});
    Value a(rec), b(rec);
    AnsiString::RawSet(static_cast<char*>(a.Data()) + 4, AnsiString(std::string_view("same")));
    AnsiString::RawSet(static_cast<char*>(b.Data()) + 4, AnsiString(std::string_view("same")));
    EXPECT_EQ(o.Cmp(a, cmpEqual, b), 0);  // equal texts in different buffers
    ASSERT_TRUE(CopyValues(b.Data(), a.Data(), 1, rec));
    EXPECT_EQ(o.Cmp(a, cmpEqual, b), 1);
    auto* other = o.t.Record({o.s32, o.ansi});
    Value c(other);
    EXPECT_EQ(o.Cmp(a, cmpEqual, c), -1);
}

TEST(Operators, SetsUniteAndCompareOnlyWithTheirOwnType) {
    Ops o;
    auto* set = o.t.Set(4);
    Value a(set), b(set);
    Store<uint8_t>(a.Data(), 0b0011);
    Store<uint8_t>(b.Data(), 0b0110);
    EXPECT_EQ(o.Cmp(a, cmpLessEqual, b), 0);
    ASSERT_TRUE(o.Calc(a, calcAdd, b));
    EXPECT_EQ(Load<uint8_t>(a.Data()), 0b0111);
    EXPECT_EQ(o.Cmp(a, cmpGreaterEqual, b), 1);
    ASSERT_TRUE(o.Calc(a, calcMultiply, b));
    EXPECT_EQ(Load<uint8_t>(a.Data()), 0b0110);
    EXPECT_EQ(o.Cmp(a, cmpEqual, b), 1);
    auto three = o.Int(o.s32, 2), five = o.Int(o.s32, 5);
    EXPECT_EQ(o.Cmp(*three, cmpIn, a), 1);
    EXPECT_EQ(o.Cmp(*five, cmpIn, a), -1);
    EXPECT_EQ(o.exec.ExceptionCode(), erOutofRecordRange);
    Value other(o.t.Set(4));
    EXPECT_FALSE(o.Calc(a, calcAdd, other));
    EXPECT_EQ(o.Cmp(a, cmpGreater, b), -1);
}

TEST(Operators, UnaryOperationsWorkInPlace) {
    Ops o;
    auto seven = o.Int(o.s32, 7), zero = o.Int(o.s32, 0), byte = o.Int(o.u8, 0), neg = o.Int(o.s8, -128);
    ASSERT_TRUE(o.exec.LogicalNot(seven->Data(), o.s32));
    EXPECT_EQ(Load<int32_t>(seven->Data()), 0);
    ASSERT_TRUE(o.exec.LogicalNot(zero->Data(), o.s32));
    EXPECT_EQ(Load<int32_t>(zero->Data()), 1);
    ASSERT_TRUE(o.exec.BitwiseNot(byte->Data(), o.u8));
    EXPECT_EQ(Load<uint8_t>(byte->Data()), 255);
    ASSERT_TRUE(o.exec.NegateValue(neg->Data(), o.s8));
    EXPECT_EQ(Load<int8_t>(neg->Data()), -128);  // wraps
    auto text = o.Text(o.ansi, "x");
    EXPECT_FALSE(o.exec.NegateValue(text->Data(), o.ansi));
    EXPECT_EQ(o.exec.ExceptionCode(), ErTypeMismatch);
    Value v(o.var);
    StoreVariant(v.Data(), Variant(int32_t{0}));
    ASSERT_TRUE(o.exec.LogicalNot(v.Data(), o.var));
    EXPECT_TRUE(LoadVariant(v.Data()).AsBoolean());
}

TEST(Operators, BooleanResultsGoIntoIntegersAndVariantsOnly) {
    Ops o;
    Value d(o.s32), v(o.var), s(o.ansi);
    ASSERT_TRUE(o.exec.StoreBooleanResult(true, d.Data(), o.s32));
    EXPECT_EQ(Load<int32_t>(d.Data()), 1);
    ASSERT_TRUE(o.exec.StoreBooleanResult(true, v.Data(), o.var));
    EXPECT_EQ(LoadVariant(v.Data()).VarType(), varBoolean);
    EXPECT_FALSE(o.exec.StoreBooleanResult(true, s.Data(), o.ansi));
    EXPECT_EQ(o.exec.ExceptionCode(), ErTypeMismatch);
}

TEST(Operators, UnknownOperatorCodesAreRecorded) {
    Ops o;
    auto a = o.Int(o.s32, 1), b = o.Int(o.s32, 1);
    EXPECT_FALSE(o.Calc(*a, 11, *b));
    EXPECT_EQ(o.exec.ExceptionCode(), erInvalidOpcodeParameter);
    EXPECT_EQ(o.Cmp(*a, 8, *b), -1);
    EXPECT_EQ(o.exec.ExceptionCode(), erInvalidOpcodeParameter);
}

}  // namespace
}  // namespace tv::script

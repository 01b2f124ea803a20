#include "platform/rtl/variant.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "platform/rtl/math_error.h"

namespace tv {
namespace {

TFormatSettings Comma() {
    return FormatSettingsForLocale("sv_SE.UTF-8");
}
TFormatSettings Dot() {
    return FormatSettingsForLocale("C");
}

Variant Text(std::string_view s) {
    return Variant::FromUtf8(s);
}

struct TextToNumberCase {
    const char* text;
    bool commaDecimal;
    bool ok;
    double value;
};

TEST(Variant, TextBecomesANumberWithTheSettingsDecimalSeparatorOnly) {
    const TextToNumberCase cases[] = {
        {"12,5", true, true, 12.5},   {"12,5", false, false, 0}, {"12.5", false, true, 12.5},
        {"12.5", true, false, 0},     {" 7 ", false, true, 7},   {"1 234,5", true, false, 0},
        {"-0,25", true, true, -0.25}, {"abc", false, false, 0},  {"", false, false, 0},
    };
    for (const auto& c : cases) {
        const TFormatSettings fs = c.commaDecimal ? Comma() : Dot();
        for (const Variant& v : {Text(c.text), Variant(AnsiString(std::string_view(c.text)))}) {
            if (c.ok) {
                EXPECT_EQ(v.AsDouble(&fs), c.value) << c.text;
            } else {
                EXPECT_THROW(v.AsDouble(&fs), EVariantTypeCastError) << c.text;
            }
        }
    }
}

TEST(Variant, NumbersBecomeTextWithTheSettingsDecimalSeparator) {
    const TFormatSettings comma = Comma(), dot = Dot();
    EXPECT_EQ(Variant(12.5).AsUtf8(&comma), "12,5");
    EXPECT_EQ(Variant(12.5).AsUtf8(&dot), "12.5");
    EXPECT_EQ(Variant::FromCurrency(15000).AsUtf8(&comma), "1,5");
    // Currency keeps every digit, also beyond the 15 a Double carries.
    const std::pair<int64_t, const char*> amounts[] = {
        {std::numeric_limits<int64_t>::max(), "922337203685477.5807"},
        {std::numeric_limits<int64_t>::min(), "-922337203685477.5808"},
        {1234567890123456, "123456789012.3456"},
        {-5, "-0.0005"},
        {120000, "12"},
        {0, "0"},
    };
    for (const auto& [raw, text] : amounts) EXPECT_EQ(Variant::FromCurrency(raw).AsUtf8(&dot), text);
    EXPECT_EQ(Variant(int64_t{-42}).AsUtf8(&dot), "-42");
    EXPECT_EQ(Variant(true).AsUtf8(&dot), "True");
    EXPECT_EQ(Variant().AsUtf8(&dot), "");
    EXPECT_EQ(Variant::FromDate(45000.5).AsUtf8(&dot), "2023-03-15 12:00:00");
}

struct IntCase {
    Variant value;
    int64_t expected;
};

TEST(Variant, IntegersComeFromEveryKindRoundingRealsHalfToEven) {
    const TFormatSettings comma = Comma();
    const IntCase cases[] = {
        {Variant(2.5), 2},
        {Variant(3.5), 4},
        {Variant(-2.5), -2},
        {Variant(true), -1},
        {Variant(false), 0},
        {Variant(), 0},
        {Text("12,5"), 12},
        {Text("13,5"), 14},
        {Text("$10"), 16},
        {Variant::FromCurrency(25000), 2},
        {Variant(uint8_t{200}), 200},
        {Variant(int64_t{1} << 40), int64_t{1} << 40},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value.AsInt64(&comma), c.expected) << Variant::TypeName(c.value.VarType());
    EXPECT_THROW(Variant(int64_t{1} << 40).AsInteger(), EVariantOverflowError);
    EXPECT_EQ(Variant(uint32_t{0xFFFFFFFF}).AsInteger(), -1);  // a LongWord keeps its bits
    EXPECT_THROW(Variant(1e30).AsInt64(), EVariantOverflowError);
}

TEST(Variant, NullConvertsToNothingAndSaysSo) {
    try {
        Variant::Null().AsInteger();
        ADD_FAILURE();
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message, "Could not convert variant of type (Null) into type (Integer)");
    }
    EXPECT_THROW(Variant::Null().AsUtf8(), EVariantTypeCastError);
    EXPECT_THROW(Variant::Null().AsBoolean(), EVariantTypeCastError);
    try {
        Text("x").AsDouble();
        ADD_FAILURE();
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message, "Could not convert variant of type (UnicodeString) into type (Double)");
    }
}

TEST(Variant, BooleansComeFromTheirNamesOrNumbers) {
    const TFormatSettings dot = Dot();
    EXPECT_TRUE(Text("TRUE").AsBoolean(&dot));
    EXPECT_FALSE(Text("false").AsBoolean(&dot));
    EXPECT_TRUE(Text("2.5").AsBoolean(&dot));
    EXPECT_FALSE(Text("0").AsBoolean(&dot));
    EXPECT_THROW(Text("yes").AsBoolean(&dot), EVariantTypeCastError);
    EXPECT_TRUE(Variant(int16_t{-3}).AsBoolean());
}

TEST(Variant, DatesComeFromTextAndNumbers) {
    const TFormatSettings dot = Dot();
    EXPECT_EQ(Text("2023-03-15 12:00").AsDate(&dot), 45000.5);
    EXPECT_EQ(Variant(int32_t{2}).AsDate(), 2.0);
    EXPECT_THROW(Text("15.03.2023").AsDate(&dot), EVariantTypeCastError);
}

TEST(Variant, ChangeTypeGivesTheCodeAskedForAndChecksRanges) {
    const TFormatSettings dot = Dot();
    EXPECT_EQ(Text("200").ChangeType(varByte, &dot).VarType(), varByte);
    EXPECT_THROW(Text("300").ChangeType(varByte, &dot), EVariantOverflowError);
    const Variant s = Variant(int32_t{5}).ChangeType(varString);
    EXPECT_EQ(s.VarType(), varString);
    EXPECT_EQ(s.AsAnsi(), std::string_view("5"));
    EXPECT_EQ(Variant(1.5).ChangeType(varCurrency).AsCurrency(), 15000);
    EXPECT_THROW(Variant(1).ChangeType(varDispatch), EVariantTypeCastError);
    // A Single holds about 3.4E38 at most; beyond that is an overflow, not an infinity.
    EXPECT_THROW(Variant(1e300).ChangeType(varSingle), EVariantOverflowError);
    EXPECT_THROW(Variant(-1e39).ChangeType(varSingle), EVariantOverflowError);
    EXPECT_EQ(Variant(int64_t{1} << 40).ChangeType(varSingle).AsDouble(), 1099511627776.0);
}

TEST(Variant, TextsKeepTheirKindAndConvertBetweenCodePages) {
    const Variant a(AnsiString(std::string_view("\xE5")));  // å in Windows-1252
    EXPECT_EQ(a.VarType(), varString);
    EXPECT_EQ(a.AsUtf8(), "å");
    EXPECT_EQ(a.AsUnicode(), std::u16string_view(u"å"));
    const Variant w = Text("€");
    EXPECT_EQ(w.VarType(), varUString);
    EXPECT_EQ(w.AsAnsi(), std::string_view("\x80"));
    EXPECT_EQ(Variant::FromOleStr(UnicodeString(std::u16string_view(u"x"))).VarType(), varOleStr);
}

TEST(Variant, ArraysHaveBoundsAndRefuseIndexesOutsideThem) {
    Variant arr = Variant::ArrayOf(1, 3);
    EXPECT_EQ(arr.VarType(), varArray | varVariant);
    EXPECT_EQ(arr.LowBound(), 1);
    EXPECT_EQ(arr.HighBound(), 3);
    arr.Element(3) = Variant(int32_t{9});
    EXPECT_EQ(arr.Element(3).AsInteger(), 9);
    EXPECT_TRUE(arr.Element(1).IsEmpty());
    try {
        arr.Element(4);
        ADD_FAILURE();
    } catch (const EVariantBadIndexError& e) {
        EXPECT_EQ(e.Message, "Variant or safe array index out of bounds");
    }
    EXPECT_THROW(arr.Element(0), EVariantBadIndexError);
    Variant copy = arr;  // arrays are copied, not shared
    copy.Element(3) = Variant(int32_t{1});
    EXPECT_EQ(arr.Element(3).AsInteger(), 9);
    Variant empty = Variant::ArrayOf(0, -1);
    EXPECT_EQ(empty.HighBound(), -1);
    EXPECT_THROW(empty.Element(0), EVariantBadIndexError);
    EXPECT_THROW(Variant::ArrayOf(5, 2), EVariantArrayCreateError);
    EXPECT_THROW(Variant(1).LowBound(), EVariantInvalidOpError);
    EXPECT_THROW(arr.AsInteger(), EVariantTypeCastError);
    EXPECT_EQ(Variant::TypeName(arr.VarType()), "Array Variant");
}

TEST(Variant, AVariantTakesTheValueOfOneOfItsOwnElements) {
    for (const bool move : {false, true}) {
        Variant arr = Variant::ArrayOf(0, 1);
        arr.Element(1) = Variant::FromUtf8("kept");
        if (move)
            arr = std::move(arr.Element(1));
        else
            arr = arr.Element(1);
        EXPECT_EQ(arr.VarType(), varUString);
        EXPECT_EQ(arr.AsUtf8(), "kept");
    }
}

struct OpCase {
    TVarOp op;
    Variant a, b;
    uint16_t type;
    const char* text;  // the result as text with "." as decimal separator
};

TEST(Variant, OperatorsFollowTheTypeRules) {
    const TFormatSettings dot = Dot();
    const OpCase cases[] = {
        {TVarOp::Add, Variant(int32_t{2}), Variant(int32_t{3}), varInteger, "5"},
        {TVarOp::Add, Variant(int32_t{0x7FFFFFFF}), Variant(int32_t{1}), varInt64, "2147483648"},
        {TVarOp::Add, Variant(int64_t{INT64_MAX}), Variant(int32_t{1}), varDouble, "9.22337203685478E18"},
        {TVarOp::Add, Text("1"), Variant(int32_t{2}), varDouble, "3"},
        {TVarOp::Add, Text("a"), Text("b"), varUString, "ab"},
        {TVarOp::Add, Variant(AnsiString(std::string_view("a"))), Variant(), varString, "a"},
        {TVarOp::Add, Variant(AnsiString(std::string_view("a"))), Text("b"), varUString, "ab"},
        {TVarOp::Subtract, Variant::FromDate(10), Variant(int32_t{3}), varDate, "1900-01-06"},
        {TVarOp::Subtract, Variant::FromDate(10), Variant::FromDate(3), varDouble, "7"},
        {TVarOp::Multiply, Variant::FromCurrency(15000), Variant(int32_t{3}), varCurrency, "4.5"},
        {TVarOp::Multiply, Variant::FromCurrency(15000), Variant(1.5), varDouble, "2.25"},
        {TVarOp::Divide, Variant(int32_t{7}), Variant(int32_t{2}), varDouble, "3.5"},
        {TVarOp::IntDivide, Variant(int32_t{7}), Variant(int32_t{2}), varInteger, "3"},
        {TVarOp::IntDivide, Variant(-7.0), Variant(int32_t{2}), varInt64, "-3"},
        {TVarOp::Modulus, Variant(int32_t{-7}), Variant(int32_t{2}), varInteger, "-1"},
        {TVarOp::Shl, Variant(int32_t{1}), Variant(int32_t{33}), varInteger, "2"},
        {TVarOp::Shl, Variant(int64_t{1}), Variant(int32_t{33}), varInt64, "8589934592"},
        {TVarOp::And, Variant(true), Variant(false), varBoolean, "False"},
        {TVarOp::Or, Variant(true), Variant(int32_t{2}), varInteger, "-1"},
        {TVarOp::Xor, Variant(int32_t{6}), Variant(int32_t{3}), varInteger, "5"},
        {TVarOp::Add, Variant::Null(), Variant(int32_t{1}), varNull, nullptr},
        {TVarOp::Multiply, Variant(int32_t{1}), Variant::Null(), varNull, nullptr},
        {TVarOp::Add, Variant(), Variant(), varEmpty, ""},
    };
    for (const auto& c : cases) {
        const Variant r = Variant::BinaryOp(c.op, c.a, c.b, &dot);
        EXPECT_EQ(r.VarType(), c.type) << static_cast<int>(c.op) << " " << (c.text ? c.text : "null");
        if (c.text) {
            EXPECT_EQ(r.AsUtf8(&dot), c.text) << static_cast<int>(c.op);
        }
    }
}

TEST(Variant, DivisionFaultsRaiseTheMathErrors) {
    EXPECT_THROW(Variant::BinaryOp(TVarOp::IntDivide, Variant(int32_t{1}), Variant(int32_t{0})), EDivByZero);
    EXPECT_THROW(Variant::BinaryOp(TVarOp::Modulus, Variant(int32_t{1}), Variant()), EDivByZero);
    EXPECT_THROW(Variant::BinaryOp(TVarOp::Divide, Variant(int32_t{1}), Variant(int32_t{0})), EZeroDivide);
    EXPECT_THROW(Variant::BinaryOp(TVarOp::Divide, Variant(0.0), Variant(0.0)), EInvalidOp);
    EXPECT_THROW(Variant::BinaryOp(TVarOp::Multiply, Variant(1e300), Variant(1e300)), EOverflow);
    EXPECT_THROW(Variant::BinaryOp(TVarOp::IntDivide, Variant(INT64_MIN), Variant(int32_t{-1})),
                 EIntOverflow);
    EXPECT_THROW(Variant::BinaryOp(TVarOp::Add, Variant::ArrayOf(0, 1), Variant(1)), EVariantInvalidOpError);
    EXPECT_THROW(Variant::BinaryOp(TVarOp::Add, Text("x"), Variant(int32_t{1})), EVariantTypeCastError);
}

TEST(Variant, NegateAndNotKeepOrWidenTheType) {
    EXPECT_EQ(Variant(int32_t{INT32_MIN}).Negate().VarType(), varInt64);
    EXPECT_EQ(Variant(int32_t{5}).Negate().AsInteger(), -5);
    EXPECT_EQ(Variant(2.5).Negate().AsDouble(), -2.5);
    EXPECT_TRUE(Variant::Null().Negate().IsNull());
    EXPECT_EQ(Variant(true).Not().AsBoolean(), false);
    EXPECT_EQ(Variant(uint8_t{5}).Not().AsInteger(), 250);
    EXPECT_EQ(Variant(int32_t{0}).Not().AsInteger(), -1);
    EXPECT_EQ(Text("True").Not().VarType(), varBoolean);
    EXPECT_TRUE(Variant::Null().Not().IsNull());
}

struct CompareCase {
    Variant a, b;
    TVarCompare expected;
};

TEST(Variant, ComparisonPutsNullFirstAndComparesTextAgainstNumbersAsNumbers) {
    const TFormatSettings dot = Dot();
    const CompareCase cases[] = {
        {Variant::Null(), Variant::Null(), TVarCompare::Equal},
        {Variant::Null(), Variant(int32_t{-5}), TVarCompare::Less},
        {Text(""), Variant::Null(), TVarCompare::Greater},
        {Text("10"), Variant(int32_t{9}), TVarCompare::Greater},
        {Text("10"), Text("9"), TVarCompare::Less},  // two texts compare as text
        {Text("B"), Text("a"), TVarCompare::Less},   // by character codes
        {Variant(), Variant(int32_t{0}), TVarCompare::Equal},
        {Variant(), Text(""), TVarCompare::Equal},
        {Variant(1.5), Variant::FromCurrency(15000), TVarCompare::Equal},
        {Variant(uint32_t{0xFFFFFFFF}), Variant(int32_t{-1}), TVarCompare::Greater},
        {Variant(false), Variant(true), TVarCompare::Less},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Variant::Compare(c.a, c.b, &dot), c.expected)
            << Variant::TypeName(c.a.VarType()) << " " << Variant::TypeName(c.b.VarType());
}

// Counts the references it holds.
class TCountedIntf : public TInterfacedObject {};

TEST(Variant, InterfaceReferencesAreCountedAndReleased) {
    auto* obj = new TCountedIntf;
    obj->AddRef();
    {
        Variant v = Variant::FromInterface(obj, false);
        Variant w = v;
        EXPECT_EQ(obj->RefCount(), 3);
        EXPECT_EQ(w.AsInterface(), obj);
        EXPECT_FALSE(v.IsClear());
        EXPECT_THROW(v.AsInteger(), EVariantTypeCastError);
    }
    EXPECT_EQ(obj->RefCount(), 1);
    obj->Release();
    EXPECT_TRUE(Variant::FromInterface(nullptr, true).IsClear());
    EXPECT_TRUE(Variant().IsClear());
}

}  // namespace
}  // namespace tv

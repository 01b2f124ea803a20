#include <gtest/gtest.h>

#include "platform/rtl/interface.h"
#include "script/runtime/stack.h"
#include "script/runtime/value_ops.h"
#include "script/runtime/value_text.h"
#include "types_fixture.h"

namespace tv::script {
namespace {

using test::Types;

struct SetCase {
    uint32_t bits, bytes;
};

TEST(TypeRecords, SetSizesRoundUpToWholeBytes) {
    Types t;
    for (SetCase c : {SetCase{9, 2}, {256, 32}, {8, 1}, {1, 1}, {0, 0}}) {
        EXPECT_EQ(t.Set(c.bits)->FByteSize, c.bytes) << c.bits;
        EXPECT_EQ(t.Set(c.bits)->FRealSize, c.bytes) << c.bits;
    }
}

TEST(TypeRecords, RecordFieldsArePackedWithoutPadding) {
    Types t;
    auto* r = t.Record({t.Plain(btU8), t.Plain(btS32)});
    EXPECT_EQ(r->FRealSize, 5u);
    EXPECT_EQ(r->FRealFieldOffsets, (std::vector<uint32_t>{0, 1}));
    EXPECT_FALSE(r->IsManaged());
    // Fields holding references take their size in this process; SizeOf keeps the 32-bit one.
    auto* s = t.Record({t.Plain(btU8), t.Plain(btString), t.Plain(btProcPtr)});
    EXPECT_EQ(s->FRealFieldOffsets, (std::vector<uint32_t>{0, 1, 9}));
    EXPECT_EQ(s->ScriptSize, 1u + 4 + 12);
    EXPECT_TRUE(s->IsManaged());
    EXPECT_EQ(t.StaticArray(r, 3)->FRealSize, 15u);
}

TEST(TypeRecords, ScriptSizesFollowThe32BitLayout) {
    Types t;
    const std::pair<uint8_t, uint32_t> cases[] = {
        {btU8, 1},        {btWideChar, 2}, {btS32, 4},           {btDouble, 8},
        {btExtended, 10}, {btString, 4},   {btUnicodeString, 4}, {btPointer, 12},
        {btProcPtr, 12},  {btVariant, 16}, {btClass, 4},         {btCurrency, 8},
    };
    for (auto [code, size] : cases) EXPECT_EQ(t.Plain(code)->ScriptSize, size) << int(code);
}

int32_t RefCountOfArray(const void* value) {
    return ArrayHeader(DynamicArrayData(value))->RefCount;
}

TEST(DynamicArrays, ResizingASharedArrayCopiesAndLeavesTheOtherHolderAlone) {
    Types t;
    auto* arr = t.Array(t.Plain(btS32));
    alignas(8) char a[8] = {}, b[8] = {};
    ResizeDynamicArray(a, arr, 2);
    static_cast<int32_t*>(DynamicArrayData(a))[0] = 7;
    static_cast<int32_t*>(DynamicArrayData(a))[1] = 8;
    ASSERT_TRUE(CopyValues(b, a, 1, arr));
    EXPECT_EQ(DynamicArrayData(a), DynamicArrayData(b));  // shared block
    EXPECT_EQ(RefCountOfArray(a), 2);
    ResizeDynamicArray(b, arr, 3);
    EXPECT_NE(DynamicArrayData(a), DynamicArrayData(b));
    EXPECT_EQ(DynamicArrayLength(a, arr), 2);
    EXPECT_EQ(RefCountOfArray(a), 1);
    const auto* nb = static_cast<int32_t*>(DynamicArrayData(b));
    EXPECT_EQ(nb[0], 7);
    EXPECT_EQ(nb[1], 8);
    EXPECT_EQ(nb[2], 0);  // new elements are empty
    // A unique array resizes in place, keeping its elements.
    ResizeDynamicArray(a, arr, 5);
    EXPECT_EQ(static_cast<int32_t*>(DynamicArrayData(a))[1], 8);
    FinalizeValue(a, arr);
    FinalizeValue(b, arr);
    EXPECT_EQ(DynamicArrayData(a), nullptr);
}

TEST(DynamicArrays, SameLengthNilToZeroAndNegativeLengthsAreHandled) {
    Types t;
    auto* arr = t.Array(t.Plain(btUnicodeString));
    alignas(8) char a[8] = {};
    ResizeDynamicArray(a, arr, 0);
    EXPECT_EQ(DynamicArrayData(a), nullptr);
    ResizeDynamicArray(a, arr, 2);
    void* block = DynamicArrayData(a);
    ResizeDynamicArray(a, arr, 2);
    EXPECT_EQ(DynamicArrayData(a), block);
    UnicodeString::RawSet(DynamicArrayData(a), UnicodeString(std::u16string_view(u"x")));
    ResizeDynamicArray(a, arr, -4);  // counts as 0: the string element is released (LeakSanitizer)
    EXPECT_EQ(DynamicArrayLength(a, arr), 0);
    try {
        DynamicArrayLength(a, t.Plain(btS32));
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Invalid array");
    }
    EXPECT_THROW(ResizeDynamicArray(a, t.Plain(btS32), 1), Exception);
}

// Counts its live references so that a test can see them released.
class TTracked : public TInterfacedObject {};

TEST(Values, FinalizingARecordReleasesItsStringVariantAndOwnedCopy) {
    Types t;
    TPSTypeRec* str = t.Plain(btString);
    auto* rec = t.Record({t.Plain(btU8), str, t.Plain(btVariant), t.Plain(btPointer), t.Plain(btInterface)});
    ASSERT_TRUE(rec->IsManaged());
    std::vector<char> buf(rec->FRealSize);
    InitializeValue(buf.data(), rec);
    AnsiString kept(std::string_view("shared"));
    AnsiString::RawSet(buf.data() + rec->FRealFieldOffsets[1], kept);
    EXPECT_EQ(kept.RefCount(), 2);
    StoreVariant(buf.data() + rec->FRealFieldOffsets[2], Variant::FromUtf8("in a variant"));
    void* copy = NewRawValue(str);
    AnsiString::RawSet(copy, AnsiString(std::string_view("owned")));
    Store(buf.data() + rec->FRealFieldOffsets[3], PointerValue{copy, str, -1});
    auto* obj = new TTracked;
    obj->AddRef();
    obj->AddRef();
    Store<void*>(buf.data() + rec->FRealFieldOffsets[4], static_cast<IInterface*>(obj));
    FinalizeValue(buf.data(), rec);
    EXPECT_EQ(kept.RefCount(), 1);
    EXPECT_EQ(obj->RefCount(), 1);
    obj->Release();
    // The variant and the owned copy are freed: LeakSanitizer reports them otherwise.
}

TEST(Values, ArraysOfVariantsReleaseEveryElement) {
    Types t;
    TPSTypeRec* var = t.Plain(btVariant);
    auto* dyn = t.Array(var);
    auto* fixed = t.StaticArray(var, 2);
    alignas(8) char d[8] = {};
    ResizeDynamicArray(d, dyn, 2);
    StoreVariant(DynamicArrayData(d), Variant::FromUtf8("a"));
    std::vector<char> s(fixed->FRealSize);
    InitializeValue(s.data(), fixed);
    StoreVariant(s.data() + var->FRealSize, Variant::FromUtf8("b"));
    FinalizeValue(d, dyn);
    FinalizeValue(s.data(), fixed);
}

TEST(Values, CopyingAnOwningPointerGivesAnOwnCopyAndANonOwningOneShares) {
    Types t;
    TPSTypeRec* i32 = t.Plain(btS32);
    TPSTypeRec* ptr = t.Plain(btPointer);
    int32_t target = 5;
    alignas(8) char a[sizeof(PointerValue)] = {}, b[sizeof(PointerValue)] = {};
    Store(a, PointerValue{&target, i32, 0});
    ASSERT_TRUE(CopyValues(b, a, 1, ptr));
    EXPECT_EQ(Load<PointerValue>(b).Data, &target);
    void* owned = NewRawValue(i32);
    Store<int32_t>(owned, 9);
    Store(a, PointerValue{owned, i32, -1});
    ASSERT_TRUE(CopyValues(b, a, 1, ptr));
    const auto pb = Load<PointerValue>(b);
    EXPECT_NE(pb.Data, owned);
    EXPECT_NE(pb.Owned, 0);
    Store<int32_t>(pb.Data, 10);
    EXPECT_EQ(Load<int32_t>(owned), 9);
    FinalizeValue(a, ptr);
    FinalizeValue(b, ptr);
    EXPECT_EQ(Load<PointerValue>(a).Data, nullptr);
}

TEST(Values, HeapValuesStartEmptyAndReleaseWhatTheyHold) {
    Types t;
    TPSVariant* v = CreateHeapValue(t.Plain(btUnicodeString));
    EXPECT_EQ(UnicodeString::RawLength(v->Data()), 0);
    UnicodeString::RawSet(v->Data(), UnicodeString(std::u16string_view(u"heap")));
    DestroyHeapValue(v);
    DestroyHeapValue(nullptr);
}

TEST(Sets, BitOperationsWorkBytewise) {
    uint8_t a[2] = {0b0101, 0x80}, b[2] = {0b0011, 0x00};
    UnionSetBits(a, b, 2);
    EXPECT_EQ(a[0], 0b0111);
    SubtractSetBits(a, b, 2);
    EXPECT_EQ(a[0], 0b0100);
    EXPECT_TRUE(IsBitSet(15, a));
    EXPECT_FALSE(IsBitSet(0, a));
    IntersectSetBits(a, b, 2);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[1], 0);
    EXPECT_TRUE(IsSetBitsSubset(a, b, 2));
    EXPECT_FALSE(IsSetBitsSubset(b, a, 2));
}

struct QuoteCase {
    const char* text;
    const char* literal;
};

TEST(ValueText, LiteralsQuoteTextAndWriteControlCharactersAsCodes) {
    const QuoteCase cases[] = {
        {"ab", "'ab'"}, {"it's", "'it''s'"}, {"a\r\nb", "'a'#13#10'b'"},
        {"\n", "#10"},  {"", "''"},          {"\t\x01", "#9#1"},
    };
    for (const auto& c : cases) EXPECT_EQ(QuoteAsLiteral(std::string_view(c.text)), c.literal) << c.text;
    EXPECT_EQ(QuoteAsLiteral(UnicodeString(std::u16string_view(u"å"))), "'\xE5'");
    EXPECT_EQ(CutAtControlChar("abc\x01"
                               "def"),
              "abc");
    EXPECT_EQ(TrimSpaces("  a b\t "), "a b\t");
}

TEST(ValueText, PaddingNeverCutsTheText) {
    const AnsiString abc(std::string_view("abc"));
    EXPECT_EQ(PadL(abc, 2), std::string_view("abc"));
    EXPECT_EQ(PadL(abc, 5), std::string_view("  abc"));
    EXPECT_EQ(PadZ(abc, 5), std::string_view("00abc"));
    EXPECT_EQ(PadR(abc, 5), std::string_view("abc  "));
    EXPECT_EQ(PadL(UnicodeString(std::u16string_view(u"7")), 3), std::u16string_view(u"  7"));
}

TEST(ValueText, ValuesShowAsTheDebuggerShowsThem) {
    Types t;
    int64_t cur = 15000;
    uint8_t set[1] = {1};
    PointerValue p{nullptr, nullptr, 0};
    EXPECT_EQ(ValueToText({&cur, t.Plain(btCurrency), false}, {}), "[Invalid]");
    EXPECT_EQ(ValueToText({set, t.Set(4), false}, {}), "[Invalid]");
    EXPECT_EQ(ValueToText({&p, t.Plain(btPointer), false}, {}), "Nil");
    int32_t n = -5;
    uint32_t u = 0xFFFFFFFF;
    EXPECT_EQ(ValueToText({&n, t.Plain(btS32), false}, {}), "-5");
    EXPECT_EQ(ValueToText({&u, t.Plain(btU32), false}, {}), "4294967295");
    EXPECT_EQ(ValueToText({}, {}), "nil");
    auto* rec = t.Record({t.Plain(btS32), t.Plain(btChar)});
    char r[5];
    Store<int32_t>(r, 3);
    r[4] = 'x';
    EXPECT_EQ(ValueToText({r, rec, false}, {}), "(3, 'x')");
    ProcPtrValue pp{4, 0, nullptr, nullptr};
    EXPECT_EQ(ValueToText({&pp, t.Plain(btProcPtr), false}, {}), "Proc: 4");
}

}  // namespace
}  // namespace tv::script

#include <gtest/gtest.h>

#include "script/common/names.h"
#include "script/runtime/attributes.h"
#include "script/runtime/stack.h"

namespace tv::script {
namespace {

std::unique_ptr<TPSTypeRec> Plain(uint8_t code) {
    auto t = std::make_unique<TPSTypeRec>(nullptr, code);
    t->CalcSize();
    return t;
}

TEST(Stack, ItemsAreCountedFromTheTopOrFromTheBottom) {
    auto s32 = Plain(btS32);
    TPSStack st;
    for (int i = 0; i < 3; ++i) {
        st.PushType(s32.get());
        st.SetInt(-1, 10 + i);
    }
    EXPECT_EQ(st.GetInt(-1), 12);
    EXPECT_EQ(st.GetInt(-2), 11);
    EXPECT_EQ(st.GetInt(0), 10);
    EXPECT_EQ(st.GetItem(3), nullptr);
    EXPECT_EQ(st.Item(-4), nullptr);
    EXPECT_THROW(st.GetInt(5), Exception);
}

TEST(Stack, ItemsKeepTheirAddressesWhileTheStackGrows) {
    auto s32 = Plain(btS32);
    TPSStack st;
    TPSVariant* first = st.PushType(s32.get());
    st.SetInt(0, 42);
    for (int i = 0; i < 100000; ++i) st.PushType(s32.get());
    EXPECT_EQ(st.GetItem(0), first);
    EXPECT_EQ(Load<int32_t>(first->Data()), 42);
    st.PopTo(1);
    EXPECT_EQ(st.Count(), 1);
    // Popped space is reused: the next push lands right after the first item.
    EXPECT_EQ(reinterpret_cast<char*>(st.PushType(s32.get())), reinterpret_cast<char*>(first) + 16);
}

TEST(Stack, PushesAreRoundedToEightBytes) {
    TPSStack st;
    st.Push(5 + 8);
    EXPECT_EQ(st.BytesInUse(), 16u);
    st.Push(1);
    EXPECT_EQ(st.BytesInUse(), 24u);
    st.Pop();
    st.Pop();
    EXPECT_EQ(st.BytesInUse(), 0u);
}

TEST(Stack, PoppingAStringReleasesItAndAnIntegerNothing) {
    auto str = Plain(btUnicodeString);
    auto s32 = Plain(btS32);
    TPSStack st;
    UnicodeString s(std::u16string_view(u"text"));
    st.PushType(str.get());
    st.SetUnicodeString(-1, s);
    EXPECT_EQ(s.RefCount(), 2);
    st.PushType(s32.get());
    st.Pop();
    EXPECT_EQ(s.RefCount(), 2);
    st.Pop();
    EXPECT_EQ(s.RefCount(), 1);
}

TEST(Stack, SettersRefuseTypesThatCannotTakeTheValue) {
    auto str = Plain(btUnicodeString);
    auto s32 = Plain(btS32);
    TPSStack st;
    st.PushType(str.get());
    try {
        st.SetInt(-1, 1);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Type Mismatch");
    }
    st.PushType(s32.get());
    EXPECT_THROW(st.SetUnicodeString(-1, UnicodeString(std::u16string_view(u"x"))), Exception);
    st.SetBool(-1, true);
    EXPECT_EQ(st.GetInt(-1), 1);
    EXPECT_TRUE(st.GetBool(-1));
}

TEST(Stack, APointerItemStandsForItsTarget) {
    auto s32 = Plain(btS32);
    auto ptr = Plain(btPointer);
    TPSStack st;
    TPSVariant* target = st.PushType(s32.get());
    TPSVariant* ref = st.PushType(ptr.get());
    PointValueAt(ref->Data(), target->Data(), s32.get());
    st.SetInt(-1, 77);
    EXPECT_EQ(st.GetInt(0), 77);
    const TPSValueRef r = MakeValueRef(ref, true);
    EXPECT_EQ(r.Data, target->Data());
    EXPECT_EQ(r.TypeRec, s32.get());
    EXPECT_TRUE(r.VarParam);
}

TEST(Stack, ElementAndFieldReferencesStayInsideTheirValue) {
    auto s32 = Plain(btS32);
    TPSTypeRec_StaticArray arr(nullptr, btStaticArray);
    arr.FArrayType = s32.get();
    arr.FSize = 3;
    arr.CalcSize();
    TPSTypeRec_Record rec(nullptr, btRecord);
    rec.FFieldTypes = {s32.get(), &arr};
    rec.CalcSize();
    std::vector<char> data(rec.FRealSize);
    const TPSValueRef r{data.data(), &rec, false};
    EXPECT_EQ(FieldRef(r, 1).Data, data.data() + 4);
    EXPECT_EQ(FieldRef(r, 2).Data, nullptr);
    const TPSValueRef a = FieldRef(r, 1);
    EXPECT_EQ(ElementRef(a, 2).Data, data.data() + 12);
    EXPECT_EQ(ElementRef(a, 3).TypeRec, nullptr);
    EXPECT_EQ(ElementRef(a, -1).Data, nullptr);
    EXPECT_EQ(ElementRef(r, 0).Data, nullptr);  // a record is no array
}

TEST(Stack, RunawayGrowthStopsAtTheLimit) {
    TPSStack st;
    EXPECT_THROW(
        {
            for (;;) st.Push(1 << 20);
        },
        EStackOverflow);
    EXPECT_LE(st.BytesInUse(), TPSStack::kMaxBytes);
}

TEST(Stack, TheLimitHoldsInsideAChunkAndAgainAfterPoppingBackIntoOne) {
    // Items of 3000 bytes never fill a chunk exactly, so the limit falls inside one.
    TPSStack st;
    const auto fill = [&st] {
        int32_t pushed = 0;
        try {
            for (;;) {
                st.Push(3000);
                ++pushed;
            }
        } catch (const EStackOverflow&) {
        }
        return pushed;
    };
    const int32_t full = fill();
    EXPECT_EQ(st.BytesInUse(), size_t{3000} * full);
    EXPECT_GT(st.BytesInUse() + 3000, TPSStack::kMaxBytes);
    // Down into an earlier chunk and up again: exactly as many items fit.
    st.PopTo(full / 3);
    EXPECT_EQ(fill(), full - full / 3);
    st.PopTo(0);
    EXPECT_EQ(st.BytesInUse(), 0u);
    EXPECT_EQ(fill(), full);
}

TEST(Attributes, OnlyTheLastValueCanBeDeleted) {
    auto s32 = Plain(btS32);
    TPSRuntimeAttributes list(nullptr);
    TPSRuntimeAttribute* a = list.Add();
    a->AddValue(s32.get());
    a->AddValue(s32.get());
    try {
        a->DeleteValue(0);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Can only remove last item from stack");
    }
    a->DeleteValue(1);
    a->DeleteValue(0);
    EXPECT_EQ(a->ValueCount(), 0);
}

TEST(Attributes, NamesAreFoundUpperCased) {
    TPSRuntimeAttributes list(nullptr);
    TPSRuntimeAttribute* upper = list.Add();
    upper->FAttribType = "ABC";
    upper->FAttribTypeHash = HashName("ABC");
    TPSRuntimeAttribute* lower = list.Add();
    lower->FAttribType = "xyz";
    lower->FAttribTypeHash = HashName("xyz");
    EXPECT_EQ(list.FindAttribute("abc"), upper);
    EXPECT_EQ(list.FindAttribute("xyz"), nullptr);
}

}  // namespace
}  // namespace tv::script

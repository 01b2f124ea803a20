#include <gtest/gtest.h>

#include "assembler.h"
#include "platform/rtl/component.h"
#include "platform/rtl/object_handles.h"
#include "script/runtime/exec.h"
#include "script/runtime/value_access.h"
#include "script/runtime/variant_value.h"
#include "test_support.h"

namespace tv::script {
namespace {

using test::ContainerBuilder;

// An executor loaded with one global of each type the tests need, found by name.
class Globals {
public:
    Globals() {
        ContainerBuilder b;
        u8 = b.Type(btU8);
        boolean = b.Type(btU8, "BOOLEAN");
        s32 = b.Type(btS32);
        u32 = b.Type(btU32);
        dbl = b.Type(btDouble);
        date = b.Type(btDouble, "TDATETIME");
        cur = b.Type(btCurrency);
        ansi = b.Type(btString);
        uni = b.Type(btUnicodeString);
        chr = b.Type(btChar);
        var = b.Type(btVariant);
        arr = b.Array(s32);
        arr2 = b.Array(s32);
        rec = b.Record({s32});
        rec2 = b.Record({s32});
        cls = b.Class("TCOMPONENT");
        intf = b.RawType(std::string(1, static_cast<char>(btInterface)) + std::string(16, '\x11'));
        ptr = b.Type(btPointer);
        for (uint32_t t = 0; t <= ptr; ++t) b.Var(t, "V" + std::to_string(t));
        b.NoMain();
        EXPECT_TRUE(exec.LoadData(b.Build()));
    }
    TPSVariant* Var(uint32_t type) { return exec.GetVar2("V" + std::to_string(type)); }
    void* Data(uint32_t type) { return Var(type)->Data(); }
    const TPSTypeRec* Type(uint32_t type) { return exec.GetTypeNo(type); }
    bool Assign(uint32_t dest, uint32_t src) {
        return exec.AssignValue(Data(dest), Data(src), Type(dest), Type(src));
    }

    TPSExec exec;
    uint32_t u8, boolean, s32, u32, dbl, date, cur, ansi, uni, chr, var, arr, arr2, rec, rec2, cls, intf, ptr;
};

TEST(AssignValue, StringsNeverConvertToIntegersButVariantsDo) {
    Globals g;
    UnicodeString::RawSet(g.Data(g.uni), UnicodeString(std::u16string_view(u"5")));
    EXPECT_FALSE(g.Assign(g.s32, g.uni));
    EXPECT_EQ(g.exec.ExceptionCode(), erException);
    EXPECT_EQ(g.exec.ExceptionString(), "Type Mismatch");
    StoreVariant(g.Data(g.var), Variant::FromUtf8("5"));
    EXPECT_TRUE(g.Assign(g.s32, g.var));
    EXPECT_EQ(Load<int32_t>(g.Data(g.s32)), 5);
}

TEST(AssignValue, ABytesTextIsItsCharacterAndAnIntegerHasNone) {
    Globals g;
    Store<uint8_t>(g.Data(g.u8), 65);
    ASSERT_TRUE(g.Assign(g.ansi, g.u8));
    EXPECT_EQ(AnsiString::RawGet(g.Data(g.ansi)), std::string_view("A"));
    EXPECT_FALSE(g.Assign(g.ansi, g.s32));
    EXPECT_EQ(g.exec.ExceptionString(), "Type Mismatch");
}

TEST(AssignValue, CurrencyAndDoubleConvertBothWays) {
    Globals g;
    Store<int64_t>(g.Data(g.cur), 15000);
    ASSERT_TRUE(g.Assign(g.dbl, g.cur));
    EXPECT_EQ(Load<double>(g.Data(g.dbl)), 1.5);
    Store<double>(g.Data(g.dbl), 2.25);
    ASSERT_TRUE(g.Assign(g.cur, g.dbl));
    EXPECT_EQ(Load<int64_t>(g.Data(g.cur)), 22500);
    Store<double>(g.Data(g.dbl), 0.03125);  // 312.5 steps: a tie rounds to even
    ASSERT_TRUE(g.Assign(g.cur, g.dbl));
    EXPECT_EQ(Load<int64_t>(g.Data(g.cur)), 312);
}

TEST(AssignValue, RecordsOnlyFromTheVeryTypeArraysFromTheSameElementType) {
    Globals g;
    EXPECT_FALSE(g.Assign(g.rec, g.rec2));
    EXPECT_EQ(g.exec.ExceptionCode(), ErTypeMismatch);
    ResizeDynamicArray(g.Data(g.arr2), g.Type(g.arr2), 3);
    ASSERT_TRUE(g.Assign(g.arr, g.arr2));
    EXPECT_EQ(DynamicArrayData(g.Data(g.arr)), DynamicArrayData(g.Data(g.arr2)));  // shared
}

TEST(AssignValue, AVariantArrayFillsADynamicArray) {
    Globals g;
    Variant va = Variant::ArrayOf(1, 3);
    for (int i = 1; i <= 3; ++i) va.Element(i) = Variant(int32_t{i * 10});
    StoreVariant(g.Data(g.var), va);
    ASSERT_TRUE(g.Assign(g.arr, g.var));
    ASSERT_EQ(DynamicArrayLength(g.Data(g.arr), g.Type(g.arr)), 3);
    EXPECT_EQ(static_cast<int32_t*>(DynamicArrayData(g.Data(g.arr)))[2], 30);
}

// A component that answers for one interface.
class TWithIntf : public TComponent, public IInterface {
public:
    int32_t QueryInterface(const TGUID& iid, void** obj) override {
        const TGUID mine{0x11111111, 0x1111, 0x1111, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}};
        if (!(iid == mine)) return E_NOINTERFACE;
        ++refs;
        *obj = static_cast<IInterface*>(this);
        return S_OK;
    }
    int32_t AddRef() override { return ++refs; }
    int32_t Release() override { return --refs; }
    int refs = 0;
};

TEST(AssignValue, AnObjectWithoutTheInterfaceOrNilIsNotSupported) {
    Globals g;
    TComponent plain;
    SetValueFromObject(g.Data(g.cls), g.Type(g.cls), &plain);
    EXPECT_FALSE(g.Assign(g.intf, g.cls));
    EXPECT_EQ(g.exec.ExceptionCode(), erInterfaceNotSupported);
    SetValueFromObject(g.Data(g.cls), g.Type(g.cls), nullptr);
    EXPECT_FALSE(g.Assign(g.intf, g.cls));
    EXPECT_EQ(g.exec.ExceptionCode(), erInterfaceNotSupported);
    TWithIntf both;
    SetValueFromObject(g.Data(g.cls), g.Type(g.cls), static_cast<TObject*>(&both));
    ASSERT_TRUE(g.Assign(g.intf, g.cls));
    EXPECT_EQ(both.refs, 1);
    FinalizeValue(g.Data(g.intf), g.Type(g.intf));
    EXPECT_EQ(both.refs, 0);
}

TEST(AssignValue, ObjectsTravelThroughIntegersAsHandles) {
    Globals g;
    auto* obj = new TComponent;
    SetValueFromObject(g.Data(g.cls), g.Type(g.cls), obj);
    ASSERT_TRUE(g.Assign(g.s32, g.cls));
    const int32_t handle = Load<int32_t>(g.Data(g.s32));
    EXPECT_EQ(handle, TObjectHandles::HandleOf(obj));
    SetValueFromObject(g.Data(g.cls), g.Type(g.cls), nullptr);
    ASSERT_TRUE(g.Assign(g.cls, g.s32));
    EXPECT_EQ(GetValueAsObject(g.Data(g.cls), g.Type(g.cls)), obj);
    delete obj;
    // The handle of a freed object is refused, never turned into a pointer.
    EXPECT_FALSE(g.Assign(g.cls, g.s32));
    EXPECT_EQ(g.exec.ExceptionCode(), erException);
    EXPECT_EQ(g.exec.ExceptionString(), "Invalid object handle " + std::to_string(handle));
    Store<int32_t>(g.Data(g.s32), 0);
    EXPECT_TRUE(g.Assign(g.cls, g.s32));
    EXPECT_EQ(GetValueAsObject(g.Data(g.cls), g.Type(g.cls)), nullptr);
}

TEST(Getters, AOneCharacterStringVariantReadsAsItsCode) {
    Globals g;
    StoreVariant(g.Data(g.var), Variant(AnsiString(std::string_view("A"))));
    EXPECT_EQ(GetValueAsUInt(g.Data(g.var), g.Type(g.var)), 65u);
    StoreVariant(g.Data(g.var), Variant(AnsiString(std::string_view("AB"))));
    EXPECT_THROW(GetValueAsUInt(g.Data(g.var), g.Type(g.var)), Exception);
    EXPECT_THROW(GetValueAsReal(g.Data(g.chr), g.Type(g.chr)), Exception);  // characters are no numbers
}

TEST(Setters, AnEmptyTextLeavesACharUnchanged) {
    Globals g;
    Store<char>(g.Data(g.chr), 'q');
    EXPECT_TRUE(SetValueFromAnsiString(g.Data(g.chr), g.Type(g.chr), AnsiString()));
    EXPECT_EQ(Load<char>(g.Data(g.chr)), 'q');
    EXPECT_FALSE(SetValueFromUnicodeString(g.Data(g.chr), g.Type(g.chr), UnicodeString()));
    EXPECT_FALSE(SetValueFromReal(g.Data(g.s32), g.Type(g.s32), 1.5));
    EXPECT_THROW(SetValueFromObject(g.Data(g.s32), g.Type(g.s32), nullptr), Exception);
}

TEST(ScriptVariants, ValuesBecomeVariantsOfTheirKind) {
    Globals g;
    Variant v;
    Store<uint8_t>(g.Data(g.boolean), 1);
    ASSERT_TRUE(StackItemToVariant(g.Var(g.boolean), v));
    EXPECT_EQ(v.VarType(), varBoolean);
    Store<uint8_t>(g.Data(g.u8), 1);
    ASSERT_TRUE(StackItemToVariant(g.Var(g.u8), v));
    EXPECT_EQ(v.VarType(), varByte);
    ASSERT_TRUE(StackItemToVariant(g.Var(g.date), v));
    EXPECT_EQ(v.VarType(), varDate);
    ASSERT_TRUE(StackItemToVariant(g.Var(g.dbl), v));
    EXPECT_EQ(v.VarType(), varDouble);
    Store<char>(g.Data(g.chr), 'x');
    ASSERT_TRUE(StackItemToVariant(g.Var(g.chr), v));
    EXPECT_EQ(v.VarType(), varString);
    EXPECT_EQ(v.AsUtf8(), "x");
    ASSERT_TRUE(ValueToVariant(nullptr, nullptr, v));
    EXPECT_TRUE(v.IsNull());
    EXPECT_FALSE(StackItemToVariant(g.Var(g.rec), v));
    EXPECT_FALSE(StackItemToVariant(g.Var(g.cls), v));
}

TEST(ScriptVariants, DynamicArraysBecomeVariantArraysFromZero) {
    Globals g;
    Variant v;
    ASSERT_TRUE(StackItemToVariant(g.Var(g.arr), v));  // empty array: no elements
    EXPECT_EQ(v.HighBound(), -1);
    ResizeDynamicArray(g.Data(g.arr), g.Type(g.arr), 3);
    static_cast<int32_t*>(DynamicArrayData(g.Data(g.arr)))[1] = 4;
    ASSERT_TRUE(StackItemToVariant(g.Var(g.arr), v));
    EXPECT_EQ(v.LowBound(), 0);
    EXPECT_EQ(v.HighBound(), 2);
    EXPECT_EQ(v.Element(1).VarType(), varInteger);
    EXPECT_EQ(v.Element(1).AsInteger(), 4);
}

TEST(ScriptVariants, ArraysOfRecordsFailAtTheirFirstElement) {
    ContainerBuilder b;
    const uint32_t s32 = b.Type(btS32);
    const uint32_t rec = b.Record({s32});
    const uint32_t arr = b.Array(rec);
    b.Var(arr, "A");
    b.NoMain();
    TPSExec exec;
    ASSERT_TRUE(exec.LoadData(b.Build()));
    ResizeDynamicArray(exec.GetVar2("A")->Data(), exec.GetTypeNo(arr), 2);
    Variant v;
    EXPECT_FALSE(StackItemToVariant(exec.GetVar2("A"), v));
}

TEST(ScriptVariants, AVariantStoredIntoAPointerItemLandsInItsTarget) {
    Globals g;
    TPSStack st;
    TPSVariant* ref = st.PushType(g.Type(g.ptr));
    PointValueAt(ref->Data(), g.Data(g.s32), g.Type(g.s32));
    ASSERT_TRUE(VariantToStackItem(g.exec, Variant(int32_t{12}), ref));
    EXPECT_EQ(Load<int32_t>(g.Data(g.s32)), 12);
    EXPECT_FALSE(VariantToStackItem(g.exec, Variant(int32_t{1}), nullptr));
}

}  // namespace
}  // namespace tv::script

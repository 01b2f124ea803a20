#include "platform/rtl/class_info.h"

#include <gtest/gtest.h>

#include <new>

#include "platform/rtl/component.h"
#include "platform/rtl/object_handles.h"

namespace tv {

enum TAlign : uint8_t { alNone, alTop, alBottom, alClient };
TV_ENUM_INFO(TAlign, "alNone", "alTop", "alBottom", "alClient");
enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
TV_ENUM_INFO(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut");
using TFontStyles = TSet<TFontStyle>;

namespace {

// A component publishing one property of every kind.
class TSample : public TComponent {
    TV_CLASS(TSample, TComponent)
public:
    explicit TSample(TComponent* owner = nullptr) : TComponent(owner) {}
    const std::string& Caption() const { return fCaption; }
    void SetCaption(const std::string& v) { fCaption = v; }
    TAlign Align = alNone;
    TFontStyles Style;
    double Ratio = 0;
    int16_t Small = 0;
    bool Enabled = true;
    char Accel = 'a';
    TComponent* Buddy = nullptr;
    TNotifyEvent OnClick;
    int ReadOnlyCount() const { return 7; }

private:
    std::string fCaption;
};

const TClassInfo& TSample::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSample>("TSample")
                                       .Published("Caption", &TSample::Caption, &TSample::SetCaption)
                                       .Published("Align", &TSample::Align, &TSample::Align)
                                       .Published("Style", &TSample::Style, &TSample::Style)
                                       .Published("Ratio", &TSample::Ratio, &TSample::Ratio)
                                       .Published("Small", &TSample::Small, &TSample::Small)
                                       .Published("Enabled", &TSample::Enabled, &TSample::Enabled)
                                       .Published("Accel", &TSample::Accel, &TSample::Accel)
                                       .Published("Buddy", &TSample::Buddy, &TSample::Buddy)
                                       .Published("OnClick", &TSample::OnClick)
                                       .Published("Count", &TSample::ReadOnlyCount)
                                       .Build();
    return info;
}

TEST(ClassInfo, ClassesAreFoundByNameWithoutCase) {
    EXPECT_EQ(&FindClass("tcomponent"), &TComponent::StaticClassInfo());
    // The library's own classes are known from the start, the lists and streams too.
    for (const char* name : {"TStringList", "TMemoryStream", "TBits", "TParser", "TOwnedCollection"})
        EXPECT_EQ(FindClass(name).Name(), name);
    EXPECT_TRUE(FindClass("TStringList").CanConstruct());
    EXPECT_EQ(GetClass("TSample"), nullptr);
    RegisterClass(TSample::StaticClassInfo());
    RegisterClass(TSample::StaticClassInfo());  // twice is harmless
    EXPECT_EQ(GetClass("TSAMPLE"), &TSample::StaticClassInfo());
    try {
        FindClass("TNoSuch");
        ADD_FAILURE();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message, "Class TNoSuch not found");
    }
}

TEST(ClassInfo, ParentsAndInstancesFollowTheClassTree) {
    TSample s;
    EXPECT_EQ(s.ClassName(), "TSample");
    EXPECT_EQ(TSample::StaticClassInfo().Parent(), &TComponent::StaticClassInfo());
    EXPECT_TRUE(s.InheritsFrom(TPersistent::StaticClassInfo()));
    EXPECT_FALSE(TComponent::StaticClassInfo().IsInstance(nullptr));
    TComponent c;
    EXPECT_FALSE(TSample::StaticClassInfo().IsInstance(&c));
}

TEST(ClassInfo, APublishedPropertyIsFoundByNameAndSetThroughItsSetter) {
    TSample s;
    const TClassInfo& cls = s.ClassInfo();
    const TPropInfo* caption = cls.FindProperty("CAPTION");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->PropType->Kind, TTypeKind::String);
    caption->SetStr(s, "Hej");
    EXPECT_EQ(s.Caption(), "Hej");
    EXPECT_EQ(caption->GetStr(s), "Hej");
    // Inherited properties are found too, and the list starts with the root class's.
    const TPropInfo* name = cls.FindProperty("name");
    ASSERT_NE(name, nullptr);
    name->SetStr(s, "Sample1");
    EXPECT_EQ(s.Name(), "Sample1");
    EXPECT_EQ(cls.Properties().front()->Name, "Name");
    EXPECT_EQ(cls.FindProperty("NoSuch"), nullptr);
}

TEST(ClassInfo, PropertiesOfEachKindReadAndWriteTheirValue) {
    TSample s;
    const TClassInfo& cls = s.ClassInfo();
    const TPropInfo* align = cls.FindProperty("Align");
    EXPECT_EQ(align->PropType->Kind, TTypeKind::Enumeration);
    EXPECT_EQ(align->PropType->EnumValue("ALCLIENT"), 3);
    align->SetOrd(s, 3);
    EXPECT_EQ(s.Align, alClient);

    const TPropInfo* style = cls.FindProperty("Style");
    EXPECT_EQ(style->PropType->Kind, TTypeKind::Set);
    EXPECT_EQ(style->PropType->CompType->EnumNames[2], "fsUnderline");
    EXPECT_EQ(style->PropType->DataSize(), 1);
    style->SetOrd(s, 0b101);
    EXPECT_TRUE(s.Style.Contains(fsBold));
    EXPECT_TRUE(s.Style.Contains(fsUnderline));
    EXPECT_FALSE(s.Style.Contains(fsItalic));

    const TPropInfo* small = cls.FindProperty("Small");
    EXPECT_EQ(small->PropType->OrdType, TOrdType::S16);
    small->SetOrd(s, -5);
    EXPECT_EQ(small->GetOrd(s), -5);

    const TPropInfo* enabled = cls.FindProperty("Enabled");
    EXPECT_EQ(enabled->PropType->Name, "Boolean");
    enabled->SetOrd(s, 0);
    EXPECT_FALSE(s.Enabled);

    const TPropInfo* accel = cls.FindProperty("Accel");
    EXPECT_EQ(accel->PropType->Kind, TTypeKind::Char);
    s.Accel = static_cast<char>(0xE5);
    EXPECT_EQ(accel->GetOrd(s), 0xE5);  // characters read unsigned

    const TPropInfo* ratio = cls.FindProperty("Ratio");
    ratio->SetFloat(s, 2.5);
    EXPECT_EQ(s.Ratio, 2.5);
    EXPECT_EQ(ratio->PropType->DataSize(), 8);

    const TPropInfo* buddy = cls.FindProperty("Buddy");
    EXPECT_EQ(&buddy->PropType->ClassType(), &TComponent::StaticClassInfo());
    TComponent other;
    buddy->SetObj(s, &other);
    EXPECT_EQ(buddy->GetObj(s), &other);
    TObject plain;
    EXPECT_THROW(buddy->SetObj(s, &plain), EPropertyError);  // not a component
    buddy->SetObj(s, nullptr);
    EXPECT_EQ(s.Buddy, nullptr);

    const TPropInfo* count = cls.FindProperty("Count");
    EXPECT_TRUE(count->Readable());
    EXPECT_FALSE(count->Writable());
    EXPECT_EQ(count->GetOrd(s), 7);
}

TEST(ClassInfo, AnAccessorRefusesAnObjectOfAnotherClass) {
    TComponent c;
    const TPropInfo* caption = TSample::StaticClassInfo().FindProperty("Caption");
    EXPECT_THROW(caption->GetStr(c), EPropertyError);
}

// Records the calls it handles, the way a script bridge would take them.
class TRecordingCode : public TMethodCode {
public:
    void Call(void* data, std::span<TEventArg> args, TEventArg* result) const override {
        calls.push_back({data, args.size()});
        if (!args.empty() && args[0].Type->Kind == TTypeKind::Class)
            sender = *static_cast<TObject**>(args[0].Address);
        if (args.size() > 1 && args[1].ByRef) *static_cast<uint16_t*>(args[1].Address) = 0;
        if (result) *static_cast<bool*>(result->Address) = true;
    }
    struct CallRecord {
        void* data;
        size_t argc;
    };
    mutable std::vector<CallRecord> calls;
    mutable TObject* sender = nullptr;
};

TEST(Event, AMethodReferenceIsCalledWithTheArgumentsAndReadBack) {
    TSample s;
    TRecordingCode code;
    int tag = 0;
    const TPropInfo* onClick = s.ClassInfo().FindProperty("OnClick");
    ASSERT_EQ(onClick->PropType->Kind, TTypeKind::Method);
    ASSERT_EQ(onClick->PropType->Signature->Params.size(), 1u);
    EXPECT_EQ(onClick->PropType->Signature->Params[0].Type->Kind, TTypeKind::Class);
    onClick->SetMethod(s, TMethod{&code, &tag});
    EXPECT_EQ(onClick->GetMethod(s), (TMethod{&code, &tag}));
    s.OnClick(&s);
    ASSERT_EQ(code.calls.size(), 1u);
    EXPECT_EQ(code.calls[0].data, &tag);
    EXPECT_EQ(code.sender, &s);
    // A plain C++ handler has no method reference to read back.
    int clicks = 0;
    s.OnClick = [&](TObject*) { ++clicks; };
    s.OnClick(nullptr);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(onClick->GetMethod(s));
    onClick->SetMethod(s, TMethod{});
    EXPECT_FALSE(s.OnClick);
}

TEST(Event, VarParametersAreWrittenBackAndResultsReturned) {
    TEvent<bool(TObject*, uint16_t&)> onKey;
    TRecordingCode code;
    onKey.SetMethod(TMethod{&code, nullptr});
    const TEventSignature& sig = onKey.Signature();
    ASSERT_EQ(sig.Params.size(), 2u);
    EXPECT_TRUE(sig.Params[1].ByRef);
    EXPECT_EQ(sig.Params[1].Type->OrdType, TOrdType::U16);
    EXPECT_EQ(sig.Result->Name, "Boolean");
    uint16_t key = 13;
    EXPECT_TRUE(onKey(nullptr, key));
    EXPECT_EQ(key, 0);
}

TEST(ClassInfo, VirtualConstructorsBuildTheClassNamed) {
    TComponent owner;
    const TClassInfo& cls = TSample::StaticClassInfo();
    ASSERT_TRUE(cls.CanConstruct<TComponent*>());
    TObject* obj = cls.Construct<TComponent*>(&owner);
    EXPECT_EQ(obj->ClassName(), "TSample");
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_FALSE(cls.CanConstruct<int>());
    EXPECT_THROW(cls.Construct<int>(1), EAbstractError);
}

TEST(ObjectHandles, AHandleStandsForItsObjectUntilTheObjectIsFreed) {
    auto* obj = new TComponent;
    const int32_t h = TObjectHandles::HandleOf(obj);
    EXPECT_NE(h, 0);
    EXPECT_EQ(TObjectHandles::HandleOf(obj), h);  // the same handle every time
    EXPECT_EQ(TObjectHandles::ObjectOf(h), obj);
    EXPECT_TRUE(TObjectHandles::IsLive(obj));
    auto* other = new TComponent;
    EXPECT_NE(TObjectHandles::HandleOf(other), h);
    delete obj;
    EXPECT_FALSE(TObjectHandles::IsLive(obj));
    EXPECT_EQ(TObjectHandles::TryObjectOf(h), nullptr);
    try {
        TObjectHandles::ObjectOf(h);
        ADD_FAILURE();
    } catch (const EInvalidHandle& e) {
        EXPECT_EQ(e.Message, "Invalid object handle " + std::to_string(h));
    }
    delete other;
}

TEST(ObjectHandles, ASerialNumberTellsAFreedObjectFromANewOneAtItsAddress) {
    alignas(TObject) unsigned char slot[sizeof(TObject)];
    auto* first = new (slot) TObject;
    const uint64_t serial = TObjectHandles::SerialOf(first);
    EXPECT_NE(serial, 0u);
    EXPECT_TRUE(TObjectHandles::IsLive(first, serial));
    first->~TObject();
    EXPECT_EQ(TObjectHandles::SerialOf(first), 0u);
    auto* second = new (slot) TObject;
    ASSERT_EQ(static_cast<void*>(second), static_cast<void*>(first));
    EXPECT_TRUE(TObjectHandles::IsLive(first));  // by its address alone it looks alive again
    EXPECT_FALSE(TObjectHandles::IsLive(first, serial));
    EXPECT_TRUE(TObjectHandles::IsLive(second, TObjectHandles::SerialOf(second)));
    second->~TObject();
    EXPECT_FALSE(TObjectHandles::IsLive(nullptr, 0));
}

TEST(ObjectHandles, NilAndUnknownNumbersAreHandledWithoutDereferencing) {
    EXPECT_EQ(TObjectHandles::HandleOf(nullptr), 0);
    EXPECT_EQ(TObjectHandles::ObjectOf(0), nullptr);
    EXPECT_EQ(TObjectHandles::TryObjectOf(1), nullptr);
    EXPECT_THROW(TObjectHandles::ObjectOf(-1), EInvalidHandle);
    EXPECT_FALSE(TObjectHandles::IsLive(nullptr));
}

}  // namespace
}  // namespace tv

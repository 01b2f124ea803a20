#include <gtest/gtest.h>

#include "host_script.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/component.h"
#include "script/runtime/class_binding.h"
#include "script/runtime/class_bridge.h"
#include "script/runtime/event_bridge.h"
#include "test_support.h"

namespace tv {

// A record passed by value, described field by field.
struct TTestRect {
    int32_t Left, Top, Right, Bottom;
};
template <>
struct TTypeInfoOf<TTestRect> {
    static const TTypeInfo& Get() {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Name = "TRect";
            t.Kind = TTypeKind::Record;
            t.Fields.assign(4, &TypeInfoOf<int32_t>());
            return t;
        }();
        return info;
    }
};

// A host object whose events scripts handle.
class TTestButton : public TComponent {
    TV_CLASS(TTestButton, TComponent)
public:
    using TComponent::TComponent;
    TNotifyEvent OnClick;
    TEvent<void(TObject*, uint16_t&)> OnKey;
    TEvent<void(TObject*, char16_t&)> OnPress;
    TEvent<void(TObject*, double, int32_t)> OnMove;
    TEvent<std::string(TObject*)> OnText;
    TEvent<Variant(TObject*)> OnMoney;
    TEvent<int64_t(TObject*)> OnBig;
    TEvent<void(TObject*, TTestRect)> OnDraw;
    TEvent<int32_t(TObject*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)> OnSum;
    TNotifyEvent OnChange;  // published, no registered routines
};

const TClassInfo& TTestButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTestButton>("TTestButton").Published("OnChange", &TTestButton::OnChange).Build();
    return info;
}

}  // namespace tv

namespace tv::script {
namespace {

constexpr const char* kHost = R"(class TObject
class TPersistent : TObject
class TComponent : TPersistent
  property Name "string" rw
type TNotifyEvent = procedure(Sender: TObject)
type TKeyEvent = procedure(Sender: TObject; var Key: Word)
type TPressEvent = procedure(Sender: TObject; var Key: Char)
type TMoveEvent = procedure(Sender: TObject; X: Double; N: Integer)
type TTextEvent = function(Sender: TObject): string
type TMoneyEvent = function(Sender: TObject): Currency
type TBigEvent = function(Sender: TObject): Int64
type TRect = record Left, Top, Right, Bottom: Integer; end;
type TDrawEvent = procedure(Sender: TObject; Rect: TRect)
type TSumEvent = function(Sender: TObject; A, B, C, D, E, F, G: Integer): Integer
class TTestButton : TComponent
  property OnClick "TNotifyEvent" rw
  property OnKey "TKeyEvent" rw
  property OnPress "TPressEvent" rw
  property OnMove "TMoveEvent" rw
  property OnText "TTextEvent" rw
  property OnMoney "TMoneyEvent" rw
  property OnBig "TBigEvent" rw
  property OnDraw "TDrawEvent" rw
  property OnSum "TSumEvent" rw
  property OnChange "TNotifyEvent" rw
function Button: TTestButton;
procedure Fire;
procedure FireAndSwallow;
)";

// The script: handlers of every kind, assigned in the main block.
constexpr const char* kScript = R"(
var Count: Integer; Keep: TNotifyEvent;
procedure Clicked(Sender: TObject);
begin
  Count := Count + 1;
  Print('clicked ' + TComponent(Sender).Name + ' ' + IntToStr(Count));
end;
procedure Changed(Sender: TObject);
begin
  Print('changed');
end;
procedure KeyDown(Sender: TObject; var Key: Word);
begin
  Print('key ' + IntToStr(Key));
  Key := 0;
end;
procedure Press(Sender: TObject; var Key: Char);
begin
  Print('press ' + IntToStr(Ord(Key)));
  if Key = 'a' then Key := 'b';
end;
procedure Moved(Sender: TObject; X: Double; N: Integer);
begin
  Print('moved ' + FloatToStr(X) + ' ' + IntToStr(N));
end;
function Text(Sender: TObject): string;
begin
  Result := 'grüß €';
end;
function Money(Sender: TObject): Currency;
begin
  Result := 1.5;
end;
function Big(Sender: TObject): Int64;
begin
  Result := 12345678901;
end;
procedure Draw(Sender: TObject; Rect: TRect);
begin
  Print('draw ' + IntToStr(Rect.Right - Rect.Left) + 'x' + IntToStr(Rect.Bottom - Rect.Top));
end;
procedure Fails(Sender: TObject);
begin
  RaiseException(erCustomError, 'handler failed');
end;
begin
  Button.OnClick := @Clicked;
  Button.OnKey := @KeyDown;
  Button.OnPress := @Press;
  Button.OnMove := @Moved;
  Button.OnText := @Text;
  Button.OnMoney := @Money;
  Button.OnBig := @Big;
  Button.OnDraw := @Draw;
  Button.OnChange := @Changed;
end.
)";

// A host method that adds its integer arguments (and writes the sum as its result).
class SummingCode : public TMethodCode {
public:
    void Call(void*, std::span<TEventArg> args, TEventArg* result) const override {
        int32_t sum = 0;
        for (size_t i = 1; i < args.size(); ++i) sum += *static_cast<int32_t*>(args[i].Address);
        if (result) *static_cast<int32_t*>(result->Address) = sum;
    }
};

// A host method that records its calls.
class RecordingCode : public TMethodCode {
public:
    void Call(void* data, std::span<TEventArg> args, TEventArg*) const override {
        calls.push_back({data, args.empty() ? nullptr : *static_cast<TObject**>(args[0].Address)});
    }
    mutable std::vector<std::pair<void*, TObject*>> calls;
};

class Events : public ::testing::Test {
protected:
    Events() { button.SetName("Ok"); }

    // Compiles and runs `script`, leaving it loaded so that events can call into it.
    test::HostRun Load(const std::string& script) {
        return test::RunHostScript(exec, script, kHost, [this](TPSExec& e) {
            TPSRuntimeClassImporter* ri = TPSRuntimeClassImporter::CreateAndRegister(e, true);
            ri->Add(TObject::StaticClassInfo());
            ri->Add(TPersistent::StaticClassInfo());
            ri->Add(TComponent::StaticClassInfo());
            TPSRuntimeClass* b = ri->Add(TTestButton::StaticClassInfo());
            b->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnClick>(),
                                           EventFieldSet<&TTestButton::OnClick>(), "OnClick");
            b->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnKey>(),
                                           EventFieldSet<&TTestButton::OnKey>(), "OnKey");
            b->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnPress>(),
                                           EventFieldSet<&TTestButton::OnPress>(), "OnPress");
            b->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnMove>(),
                                           EventFieldSet<&TTestButton::OnMove>(), "OnMove");
            b->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnText>(),
                                           EventFieldSet<&TTestButton::OnText>(), "OnText");
            b->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnMoney>(),
                                           EventFieldSet<&TTestButton::OnMoney>(), "OnMoney");
            b->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnBig>(),
                                           EventFieldSet<&TTestButton::OnBig>(), "OnBig");
            b->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnDraw>(),
                                           EventFieldSet<&TTestButton::OnDraw>(), "OnDraw");
            b->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnSum>(),
                                           EventFieldSet<&TTestButton::OnSum>(), "OnSum");
            RegisterNativeCallable(e, "Button", [this]() -> TTestButton* { return &button; });
            RegisterNativeCallable(e, "Fire", [this]() { button.OnClick(&button); });
            RegisterNativeCallable(e, "FireAndSwallow", [this]() {
                try {
                    button.OnClick(&button);
                } catch (const EPSException& e) {
                    swallowed = e.Message;
                }
            });
        });
    }

    TTestButton button{nullptr};
    TPSExec exec;
    std::string swallowed;
};

TEST_F(Events, HostEventsRunScriptHandlersWithTheirArguments) {
    const test::HostRun r = Load(kScript);
    ASSERT_TRUE(r.Ran) << test::Describe(r);
    button.OnClick(&button);
    uint16_t key = 13;
    button.OnKey(&button, key);
    EXPECT_EQ(key, 0) << "a var parameter the handler changed";
    char16_t press = u'a';
    button.OnPress(&button, press);
    EXPECT_EQ(press, u'b');
    char16_t euro = u'€';
    button.OnPress(&button, euro);
    EXPECT_EQ(euro, u'€');
    char16_t wide = u'\x4E2D';
    button.OnPress(&button, wide);
    EXPECT_EQ(wide, u'\x4E2D') << "a character without an 8-bit form that the handler left stays";
    button.OnMove(&button, 2.5, 7);
    EXPECT_EQ(button.OnText(&button), "grüß €");
    const Variant money = button.OnMoney(&button);
    EXPECT_EQ(money.VarType(), varCurrency);
    EXPECT_EQ(money.AsCurrency(), 15000);
    EXPECT_EQ(button.OnBig(&button), 0) << "an Int64 result does not travel back";
    button.OnChange(&button);
    button.OnDraw(&button, TTestRect{10, 20, 110, 70});
    EXPECT_EQ(r.Printed->str(),
              "clicked Ok 1\nkey 13\npress 97\npress 128\npress 63\nmoved 2.500000000000 7\nchanged\ndraw "
              "100x50\n");
}

TEST_F(Events, ReadingAnEventGivesTheProcedureOrTheHostMethod) {
    RecordingCode host;
    int data = 0;
    button.OnKey.SetMethod(TMethod{&host, &data});
    const test::HostRun r = Load(R"(
var p, Keep: TNotifyEvent; k: TKeyEvent; w: Word;
procedure Clicked(Sender: TObject); begin Print('via number'); end;
begin
  Button.OnClick := @Clicked;
  p := Button.OnClick;
  p(nil);
  k := Button.OnKey;
  w := 5;
  k(Button, w);
  Button.OnKey := k;
  Button.OnClick := Keep;
  Button.OnChange := p;
end.
)");
    ASSERT_TRUE(r.Ran) << test::Describe(r);
    EXPECT_EQ(r.Out, "via number\n");
    ASSERT_EQ(host.calls.size(), 1u) << "the host method was called through the procedure value";
    EXPECT_EQ(host.calls[0].first, &data);
    EXPECT_EQ(host.calls[0].second, &button);
    EXPECT_EQ(button.OnKey.Method(), (TMethod{&host, &data})) << "written back as it was read";
    EXPECT_FALSE(button.OnClick) << "a nil procedure value clears the event";
    EXPECT_EQ(button.OnChange.Method(), exec.GetProcAsMethodN("Clicked")) << "through the published property";
}

// A host method with seven arguments and a result called through a procedure value.
TEST_F(Events, AHostMethodWithManyArgumentsCalledByTheScript) {
    SummingCode sum;
    button.OnSum.SetMethod(TMethod{&sum, nullptr});
    const test::HostRun r = Load(R"(
var s: TSumEvent;
begin
  s := Button.OnSum;
  Print(IntToStr(s(Button, 1, 2, 3, 4, 5, 6, 7)));
end.
)");
    ASSERT_TRUE(r.Ran) << test::Describe(r);
    EXPECT_EQ(r.Out, "28\n");
}

TEST_F(Events, MethodReferencesOfScriptProcedures) {
    const test::HostRun r = Load(kScript);
    ASSERT_TRUE(r.Ran) << test::Describe(r);
    const int32_t clicked = exec.GetProc("CLICKED");
    ASSERT_GT(clicked, 0);
    const TMethod a = exec.GetProcAsMethod(static_cast<uint32_t>(clicked));
    const TMethod b = exec.GetProcAsMethodN("Clicked");
    EXPECT_TRUE(a);
    EXPECT_EQ(a.Data, b.Data) << "one record per procedure";
    EXPECT_EQ(exec.ProcNoOfMethod(a), static_cast<uint32_t>(clicked));
    EXPECT_EQ(button.OnClick.Method(), a) << "the handler the script assigned";
    EXPECT_FALSE(exec.GetProcAsMethodN("Nothing"));
    EXPECT_FALSE(exec.GetProcAsMethod(0));
    EXPECT_FALSE(exec.GetProcAsMethod(UINT32_MAX));
    TPSExec other;
    EXPECT_EQ(other.ProcNoOfMethod(a), 0u) << "the reverse test answers only for its own executor";
}

TEST_F(Events, AnUnhandledErrorInAHandlerReachesTheHost) {
    const test::HostRun r =
        Load(std::string(kScript).replace(std::string(kScript).find("@Clicked"), 8, "@Fails"));
    ASSERT_TRUE(r.Ran) << test::Describe(r);
    try {
        button.OnClick(&button);
        ADD_FAILURE() << "nothing raised";
    } catch (const EPSException& e) {
        EXPECT_EQ(e.Message, "handler failed");
        EXPECT_EQ(e.FExec, &exec);
    }
    EXPECT_EQ(exec.ExceptionCode(), ErNoError)
        << "the error went to the host, not into the executor's record";
}

// A handler that runs while the script is in the middle of a host call: the script goes on as it
// was, whether the handler succeeds or fails and the host swallows its error or lets it through.
TEST_F(Events, EventsFiredDuringARunLeaveTheRunAsItWas) {
    const test::HostRun r = Load(R"(
var Count: Integer;
procedure Clicked(Sender: TObject); begin Count := Count + 1; Print('clicked'); end;
procedure Draw(Sender: TObject; Rect: TRect);
begin
  Print('draw ' + IntToStr(Rect.Right - Rect.Left) + 'x' + IntToStr(Rect.Bottom - Rect.Top));
end;
procedure Fails(Sender: TObject); var a: array of Integer; begin a[3] := 1; end;
procedure Outer(A, B: Integer);
var L: string;
begin
  L := 'local';
  Button.OnClick := @Clicked;
  Fire;
  Button.OnClick := @Fails;
  FireAndSwallow;
  Print(L + ' ' + IntToStr(A + B) + ' ' + IntToStr(Count));
  try
    Fire;
  except
    Print('caught: ' + ExceptionParam);
  end;
  Print(L + ' ' + IntToStr(A * B));
end;
begin
  Outer(3, 4);
  Print('end');
end.
)");
    EXPECT_TRUE(r.Ran) << test::Describe(r);
    EXPECT_EQ(r.Out,
              "clicked\nlocal 7 1\ncaught: Out Of Range! Element index is out of Array range: Element Index "
              "is 3, Array length = 0\nlocal 12\nend\n");
    EXPECT_EQ(swallowed,
              "Out Of Range! Element index is out of Array range: Element Index is 3, Array length = 0");
}

TEST_F(Events, AHandlerCalledAfterItsExecutorWentIsIgnored) {
    std::vector<std::string> reported;
    SetLateEventReporter([&reported](std::string_view t) { reported.emplace_back(t); });
    {
        TPSExec gone;
        const test::HostRun r = test::RunHostScript(
            gone,
            "procedure Clicked(Sender: TObject); begin Print('no'); end; begin Button.OnClick := @Clicked; "
            "end.",
            kHost, [this](TPSExec& e) {
                TPSRuntimeClassImporter* ri = TPSRuntimeClassImporter::CreateAndRegister(e, true);
                ri->Add(TTestButton::StaticClassInfo())
                    ->RegisterEventPropertyHelper(EventFieldGet<&TTestButton::OnClick>(),
                                                  EventFieldSet<&TTestButton::OnClick>(), "OnClick");
                RegisterNativeCallable(e, "Button", [this]() -> TTestButton* { return &button; });
            });
        ASSERT_TRUE(r.Ran) << test::Describe(r);
    }
    button.OnClick(&button);
    // Another script's handler takes the released record's place; the old reference still finds
    // nothing.
    const test::HostRun r = Load(
        "procedure Changed(Sender: TObject); begin Print('changed'); end;\n"
        "begin Button.OnChange := @Changed; end.");
    ASSERT_TRUE(r.Ran) << test::Describe(r);
    button.OnClick(&button);
    button.OnChange(&button);
    EXPECT_EQ(r.Printed->str(), "changed\n");
    EXPECT_EQ(reported, std::vector<std::string>(2, std::string(kLateEventCall)));
    SetLateEventReporter(nullptr);
}

}  // namespace
}  // namespace tv::script

#include <gtest/gtest.h>

#include <new>

#include "host_script.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/component.h"
#include "platform/rtl/interface.h"
#include "script/runtime/class_binding.h"
#include "script/runtime/class_bridge.h"
#include "test_support.h"

namespace tv {

// A small hierarchy of host classes: shapes with a virtual member, a published caption and an
// indexed property, and a greeter that offers an interface.
class TTestShape : public TComponent {
    TV_CLASS(TTestShape, TComponent)
public:
    explicit TTestShape(TComponent* owner = nullptr) : TComponent(owner) {}
    virtual std::string Describe() const { return "shape"; }
    int32_t Twice(int32_t x) const { return 2 * x; }
    void Bump(int32_t& n) const { n += 10; }
    void BumpOther(int32_t& n) const { n += 100; }
    const std::string& Caption() const { return fCaption; }
    void SetCaption(const std::string& c) { fCaption = c; }
    int32_t Weight() const { return 12; }
    int32_t Item(int32_t i) const { return fItems.at(static_cast<size_t>(i)); }
    void SetItem(int32_t i, int32_t v) { fItems.at(static_cast<size_t>(i)) = v; }

private:
    std::string fCaption;
    std::array<int32_t, 4> fItems{};
};

class TTestCircle : public TTestShape {
    TV_CLASS(TTestCircle, TTestShape)
public:
    using TTestShape::TTestShape;
    std::string Describe() const override { return "circle"; }
};

class TTestSquare : public TTestShape {
    TV_CLASS(TTestSquare, TTestShape)
public:
    using TTestShape::TTestShape;
};

// Every instance is made in the same storage, as an allocator may make a new object where a freed
// one was; one lives at a time.
class TTestReused : public TTestShape {
    TV_CLASS(TTestReused, TTestShape)
public:
    using TTestShape::TTestShape;
    std::string Describe() const override { return "reused"; }
    static void* operator new(size_t size);
    static void operator delete(void*) noexcept {}
};

alignas(TTestReused) unsigned char gReusedSlot[sizeof(TTestReused)];

void* TTestReused::operator new(size_t size) {
    if (size > sizeof gReusedSlot) throw std::bad_alloc();
    return gReusedSlot;
}

struct ITestGreeter : IInterface {
    static constexpr TGUID IID{0x1A2B3C4D, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
    virtual UnicodeString Greet(const UnicodeString& name) = 0;

protected:
    ~ITestGreeter() = default;
};

// One interface base only, so the object converts to IInterface without ambiguity.
class TTestGreeter : public TObject, public ITestGreeter {
    TV_CLASS(TTestGreeter, TObject)
public:
    int32_t QueryInterface(const TGUID& iid, void** obj) override {
        if (iid == ITestGreeter::IID || iid == IID_IUnknown) {
            AddRef();
            *obj = static_cast<IInterface*>(this);
            return S_OK;
        }
        *obj = nullptr;
        return E_NOINTERFACE;
    }
    int32_t AddRef() override { return ++fRefs; }
    int32_t Release() override {
        const int32_t n = --fRefs;
        if (n == 0) delete this;
        return n;
    }
    int32_t RefCount() const { return fRefs; }
    UnicodeString Greet(const UnicodeString& name) override { return UnicodeString(u"Hello ") + name.view(); }

private:
    int32_t fRefs = 0;
};

const TClassInfo& TTestShape::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTestShape>("TTestShape")
                                       .Published("Caption", &TTestShape::Caption, &TTestShape::SetCaption)
                                       .Published("Weight", &TTestShape::Weight)
                                       .Build();
    return info;
}
const TClassInfo& TTestCircle::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTestCircle>("TTestCircle").Build();
    return info;
}
const TClassInfo& TTestSquare::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTestSquare>("TTestSquare").Build();
    return info;
}
const TClassInfo& TTestReused::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTestReused>("TTestReused").Build();
    return info;
}
const TClassInfo& TTestGreeter::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTestGreeter>("TTestGreeter").Build();
    return info;
}

}  // namespace tv

namespace tv::script {
namespace {

using test::HostRun;
using test::RunHostScript;

// The compile side of the hierarchy.
constexpr const char* kHost = R"(class TObject
  constructor Create
  procedure Free
class TPersistent : TObject
class TComponent : TPersistent
  constructor Create(AOwner: TComponent); virtual;
class TTestShape : TComponent
  function Describe: string;
  function Twice(X: Integer): Integer;
  procedure Bump(var N: Integer);
  function Foo: Integer;
  function Mismatch(X: Integer): Integer;
  procedure NotBound;
  property Caption "string" rw
  property Weight "Integer" rw
  property Size "Integer" rw
  property Items "Integer Integer" rw
  property Named "string" r
  property Hidden "Integer" r
  default Items
class TTestCircle : TTestShape
class TTestSquare : TTestShape
class TTestReused : TTestShape
interface ITestGreeter : IUnknown {1A2B3C4D-1111-2222-0102-030405060708}
  function Greet(Name: string): string;
interface ITestOther : IUnknown {99999999-1111-2222-0102-030405060708}
  procedure Nothing;
class TTestGreeter : TObject
function Greeter: TTestGreeter;
function GreeterRefs: Integer;
function HostLastExParam: string;
)";

std::string NamedGet(TTestShape*, const AnsiString& name) {
    return "got " + std::string(name.view());
}
void FreeObject(TObject* self) {
    delete self;
}
int32_t FooFirst(TTestShape*) {
    return 1;
}
int32_t FooSecond(TTestShape*) {
    return 2;
}
int32_t MismatchVar(TTestShape*, int32_t& x) {
    return x;
}
int32_t SizeOf(TTestShape*) {
    return 3;
}

// The run side of the hierarchy.
void RegisterShapes(TPSRuntimeClassImporter& ri) {
    TPSRuntimeClass* obj = ri.Add(TObject::StaticClassInfo());
    obj->RegisterConstructor(Constructor<>(), "Create");
    obj->RegisterMethod(Method<&FreeObject>(), "Free");
    ri.Add(TPersistent::StaticClassInfo());
    ri.Add(TComponent::StaticClassInfo())->RegisterVirtualConstructor(Constructor<TComponent*>(), "Create");
    TPSRuntimeClass* shape = ri.Add(TTestShape::StaticClassInfo());
    shape->RegisterVirtualMethod(Method<&TTestShape::Describe>(), "Describe");
    shape->RegisterMethod(Method<&TTestShape::Twice>(), "TWICE");
    shape->RegisterMethod(Method<&TTestShape::BumpOther>(), "bump");
    shape->RegisterMethod(Method<&TTestShape::Bump>(), "Bump");  // the later registration wins
    shape->RegisterMethod(Method<&FooFirst>(), "Foo");
    shape->RegisterMethod(Method<&FooSecond>(), "Foo");
    shape->RegisterMethod(Method<&MismatchVar>(), "Mismatch");
    shape->RegisterPropertyHelper(PropGet<&SizeOf>(), {}, "Size");
    shape->RegisterPropertyHelper(PropGet<&TTestShape::Item>(), PropSet<&TTestShape::SetItem>(), "Items");
    shape->RegisterPropertyHelperName(PropGetName<&NamedGet>(), {}, "Named");
    ri.Add(TTestCircle::StaticClassInfo());
    ri.Add(TTestSquare::StaticClassInfo());
    ri.Add(TTestReused::StaticClassInfo());
    ri.Add(TTestGreeter::StaticClassInfo());
    RegisterInterfaceMethod(ITestGreeter::IID, 3, InterfaceMethod<&ITestGreeter::Greet>());
}

struct BridgeCase {
    const char* name;
    const char* body;  // the statements of the main block, with the variables below
    const char* out;
    const char* error;  // "load: ..." for a refused load, else the run's error, "" for none
};

constexpr const char* kVars =
    "var s, t: TTestShape; c: TTestCircle; q: TTestSquare; g, h: ITestGreeter; o: ITestOther; n: Integer;\n";

const BridgeCase kCases[] = {
    {"a virtual member runs the override of the object's class",
     "s := TTestCircle.Create(nil); Print(s.Describe); s.Free; s := TTestShape.Create(nil); "
     "Print(s.Describe); "
     "s.Free;",
     "circle\nshape\n", ""},
    {"a direct method with an argument and a var parameter",
     "s := TTestShape.Create(nil); n := 5; s.Bump(n); Print(IntToStr(s.Twice(n))); s.Free;", "30\n", ""},
    {"the later of two registrations binds", "s := TTestShape.Create(nil); Print(IntToStr(s.Foo)); s.Free;",
     "2\n", ""},
    {"an unregistered property is the published one, read and written",
     "s := TTestShape.Create(nil); s.Caption := 'hi'; Print(s.Caption + IntToStr(s.Weight)); s.Free;",
     "hi12\n", ""},
    {"a published property without a setter refuses a write at load", "s := nil; s.Weight := 1;", "",
     "load: Cannot Import class:TTESTSHAPE|WEIGHT@|"},
    {"a property pair without a write routine refuses a write at load", "s := nil; s.Size := 1;", "",
     "load: Cannot Import class:TTESTSHAPE|SIZE@|"},
    {"a member registered nowhere refuses the load", "s := nil; s.NotBound;", "",
     "load: Cannot Import class:TTESTSHAPE|NOTBOUND|"},
    {"a property neither registered nor published refuses the load", "s := nil; n := s.Hidden;", "",
     "load: Cannot Import class:TTESTSHAPE|HIDDEN|"},
    {"a declaration that differs from the host member refuses the load", "s := nil; n := s.Mismatch(1);", "",
     "load: Cannot Import class:TTESTSHAPE|MISMATCH|"},
    {"an indexed property and the default property",
     "s := TTestShape.Create(nil); s.Items[1] := 7; s[2] := 8; Print(IntToStr(s[1] + s.Items[2])); s.Free;",
     "15\n", ""},
    {"an index outside the host's range is a script exception",
     "s := TTestShape.Create(nil); try n := s.Items[9]; except Print('caught'); end; s.Free;", "caught\n",
     ""},
    {"a property with name gets the upper-case name", "s := TTestShape.Create(nil); Print(s.Named); s.Free;",
     "got NAMED\n", ""},
    {"a method on nil", "s := nil; Print(s.Describe);", "", "Null Pointer Exception"},
    {"a property on nil", "s := nil; n := s.Size;", "", "Could not call proc"},
    {"a published property on nil", "s := nil; Print(s.Caption);", "", "Could not call proc"},
    {"a method of an object the script freed", "s := TTestShape.Create(nil); s.Free; Print(s.Describe);", "",
     "Exception: Object reference to no live object"},
    {"a freed object's reference stays refused when a new object is made at its address",
     "s := TTestReused.Create(nil); s.Free; t := TTestReused.Create(nil); Print(t.Describe); "
     "if s <> t then Print('another object'); if not (s is TTestShape) then Print('not a shape'); "
     "try n := Integer(s); except Print('no handle'); end; "
     "try Print(s.Describe); except Print(ExceptionToString(ExceptionType, ExceptionParam)); end; t.Free;",
     "reused\nanother object\nnot a shape\nno handle\nException: Object reference to no live object\n", ""},
    {"an object the script freed as an argument of a cast",
     "s := TTestShape.Create(nil); s.Free; c := TTestCircle(s);", "",
     "Exception: Object reference to no live object"},
    {"a cast to the object's own class",
     "s := TTestCircle.Create(nil); c := TTestCircle(s); Print(c.Describe); c.Free;", "circle\n", ""},
    {"a cast to a class the object is not of",
     "s := TTestSquare.Create(nil); try c := TTestCircle(s); except Print(ExceptionToString(ExceptionType, "
     "ExceptionParam)); end; s.Free;",
     "Cannot cast an object\n", ""},
    {"a cast of nil stays nil", "s := nil; c := TTestCircle(s); if c = nil then Print('nil');", "nil\n", ""},
    {"is asks the host class", "s := TTestCircle.Create(nil); if s is TTestCircle then Print('yes'); s.Free;",
     "yes\n", ""},
    {"a class to an interface and an interface method by slot",
     "g := Greeter; Print(g.Greet('Bo')); Print(IntToStr(GreeterRefs)); g := nil; "
     "Print(IntToStr(GreeterRefs));",
     "Hello Bo\n2\n1\n", ""},
    {"an interface cast from an object", "g := ITestGreeter(Greeter); Print(g.Greet('Al')); g := nil;",
     "Hello Al\n", ""},
    {"an interface the object does not offer", "o := ITestOther(Greeter);", "", "Cannot cast an interface"},
    {"a cast of a nil interface", "g := nil; o := ITestOther(g);", "", "Cannot cast an interface"},
    {"a method of a nil interface", "g := nil; Print(g.Greet('x'));", "", "Null Pointer Exception"},
    {"LastExParam inside and after an except part",
     "try RaiseException(erCustomError, 'boom'); except Print(HostLastExParam); end; "
     "Print('[' + HostLastExParam + ']');",
     "boom\n[]\n", ""},
};

class Bridge : public ::testing::Test {
protected:
    void SetUp() override {
        greeter = new TTestGreeter();
        greeter->AddRef();
    }
    void TearDown() override { greeter->Release(); }

    HostRun Run(const std::string& body) {
        const std::string script = std::string(kVars) + "begin\n" + body + "\nend.";
        TPSExec exec;
        return RunHostScript(exec, script, kHost, [this](TPSExec& e) {
            RegisterShapes(*TPSRuntimeClassImporter::CreateAndRegister(e, true));
            RegisterNativeCallable(e, "Greeter", [this]() -> TObject* { return greeter; });
            RegisterNativeCallable(e, "GreeterRefs", [this]() { return greeter->RefCount(); });
            RegisterNativeCallable(e, "HostLastExParam", [&e]() { return e.LastExParam(); });
        });
    }

    TTestGreeter* greeter = nullptr;
};

TEST_F(Bridge, MembersOfHostClassesBindAndRunAsDeclared) {
    for (const BridgeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const HostRun r = Run(c.body);
        ASSERT_TRUE(r.Compiled) << test::Describe(r);
        const std::string error = r.LoadError.empty() ? r.Error : "load: " + r.LoadError;
        EXPECT_EQ(error, c.error) << test::Describe(r);
        EXPECT_EQ(r.Out, c.out) << test::Describe(r);
    }
}

}  // namespace
}  // namespace tv::script

namespace tv::script {
namespace {

TEST(RuntimeClassImporter, FindsClassesInAnyCaseAndAddsEachOnce) {
    TPSRuntimeClassImporter ri;
    TPSRuntimeClass* shape = ri.Add(TTestShape::StaticClassInfo());
    EXPECT_EQ(ri.FindClass("ttestshape"), shape);
    EXPECT_EQ(ri.Add(TTestShape::StaticClassInfo()), shape);
    EXPECT_EQ(ri.Count(), 1u);
    TPSRuntimeClass* alias = ri.Add2(TTestCircle::StaticClassInfo(), "Round");
    EXPECT_EQ(ri.FindClass("ROUND"), alias);
    EXPECT_EQ(ri.FindHostClass("round"), &TTestCircle::StaticClassInfo());
    EXPECT_EQ(ri.FindClass("TTestCircle"), nullptr);
    EXPECT_EQ(ri.FindHostClass("nothing"), nullptr);
}

struct ImportCase {
    const char* name;
    std::string decl;
    bool binds;
};

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s.push_back(static_cast<char>(c));
    return s;
}

// Declarations as the loader hands them to the two special importers.
TEST(RuntimeClassImporter, ImportersBindOnlyWellFormedDeclarations) {
    TPSRuntimeClassImporter ri;
    TPSRuntimeClass* shape = ri.Add(TTestShape::StaticClassInfo());
    shape->RegisterMethod(Method<&TTestShape::Twice>(), "Twice");
    shape->RegisterPropertyHelper(PropGet<&TTestShape::Item>(), PropSet<&TTestShape::SetItem>(), "Items");
    const ImportCase cases[] = {
        {"a method with its declaration", "class:TTESTSHAPE|TWICE|" + Bytes({0, 1, 0}), true},
        {"a method declared as a procedure", "class:TTESTSHAPE|TWICE|" + Bytes({0, 0, 0}), false},
        {"a method declared with a var parameter", "class:TTESTSHAPE|TWICE|" + Bytes({0, 1, 1}), false},
        {"a method declaration without result byte", "class:TTESTSHAPE|TWICE|" + Bytes({0}), false},
        {"an unknown class", "class:TNOTHING|TWICE|" + Bytes({0, 1, 0}), false},
        {"an unknown member", "class:TTESTSHAPE|THRICE|" + Bytes({0, 1, 0}), false},
        {"no bar after the member", "class:TTESTSHAPE|TWICE", false},
        {"no bar after the class", "class:TTESTSHAPE", false},
        {"a property read with one index", "class:TTESTSHAPE|ITEMS|" + Bytes({2, 0, 0, 0}), true},
        {"a property write with one index", "class:TTESTSHAPE|ITEMS@|" + Bytes({2, 0, 0, 0}), true},
        {"a property read with a wrong index count", "class:TTESTSHAPE|ITEMS|" + Bytes({1, 0, 0, 0}), false},
        {"a property count cut short", "class:TTESTSHAPE|ITEMS|" + Bytes({2, 0}), false},
        {"the published property", "class:TTESTSHAPE|CAPTION@|" + Bytes({1, 0, 0, 0}), true},
        {"a cast", "class:+", true},
        {"nil", "class:-", true},
        {"an interface method", "intf:." + Bytes({3, 0, 0, 0, 0, 1}), true},
        {"an interface method without a dot", "intf:x" + Bytes({3, 0, 0, 0, 0, 1}), false},
        {"an interface method cut short", "intf:." + Bytes({3, 0, 0, 0, 0}), false},
    };
    TPSExec exec;
    for (const ImportCase& c : cases) {
        TPSExternalProcRec p(&exec);
        p.FDecl = c.decl;
        const bool intf = c.decl.rfind("intf:", 0) == 0;
        const bool bound = intf ? InterfaceImporter(exec, p, nullptr) : ClassImporter(exec, p, &ri);
        EXPECT_EQ(bound, c.binds) << c.name;
        if (!bound) {
            EXPECT_EQ(p.FDecl, c.decl) << c.name << ": a refused declaration stays as it was";
        }
    }
}

TEST(RuntimeClassImporter, TheSameHostExceptionObjectIsRaisedAgain) {
    TPSExec exec;
    const Exception* thrown = nullptr;
    const test::HostRun r =
        test::RunHostScript(exec, "begin HostFails; end.", "procedure HostFails;", [&thrown](TPSExec& e) {
            RegisterNativeCallable(e, "HostFails", [&thrown]() {
                try {
                    throw Exception("host failed");
                } catch (const Exception& ex) {
                    thrown = &ex;
                    throw;
                }
            });
        });
    EXPECT_EQ(r.Error, "Exception: host failed");
    try {
        exec.RaiseCurrentException();
        ADD_FAILURE() << "nothing raised";
    } catch (const Exception& ex) {
        EXPECT_EQ(&ex, thrown);
    }
}

int32_t Seven() {
    return 7;
}

TEST(RuntimeClassImporter, NativeRoutinesRegisterOnlyUnderKnownConventions) {
    TPSExec exec;
    EXPECT_NE(RegisterNativeFunction<&Seven>(exec, "Seven", cdSafeCall), nullptr);
    EXPECT_EQ(RegisterNativeFunction<&Seven>(exec, "Eight", 5), nullptr);
}

}  // namespace
}  // namespace tv::script

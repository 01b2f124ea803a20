#pragma once
// Typed routines for members of host classes (runtime_class_importer.h), made from C++ member
// functions and free functions at compile time, each with the declaration a script must have for it.
//
//   Method<&TStrings::Append>()        a member function, or a free function R (C* self, A...)
//   Constructor<A...>()                builds the class the script names with its (A...) constructor
//   ConstructorFn<&Fn>()               TObject* Fn(const TClassInfo& target, A...)
//   PropGet<&Fn>()                     T (C::*)(Idx...) const, or T Fn(C*, Idx...)
//   PropSet<&Fn>()                     void (C::*)(Idx..., T), or void Fn(C*, Idx..., T)
//   PropGetName<&Fn>(), PropSetName<&Fn>()   T Fn(C*, const AnsiString& name, Idx...) and
//                                      void Fn(C*, const AnsiString& name, Idx..., T)
//   EventGet<&Fn>(), EventSet<&Fn>()   TMethod Fn(C*, Idx...);  void Fn(C*, TMethod)
//   EventFieldGet<&C::OnX>(), EventFieldSet<&C::OnX>()   the routines of a TEvent field
//   FieldGet<&C::f>(), FieldSet<&C::f>()                   the routines of a plain field
//   EventRefGet<&Fn>(), EventRefSet<&Fn>()                 an event reached through E& Fn(C*)
//   InterfaceMethod<&I::M>()           a method of interface I (which names its I::IID)
//
// Stack places (the value stack counted from the top): a function's result is the top item; Self (or
// the number of the class type a constructor builds) is next, then the arguments in declaration
// order. A property write has Self on top, then the index arguments, then the new value.

#include <functional>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/rtl/class_info.h"
#include "platform/rtl/event.h"
#include "platform/rtl/interface.h"
#include "script/runtime/binding.h"
#include "script/runtime/busy_objects.h"
#include "script/runtime/event_bridge.h"
#include "script/runtime/runtime_class_importer.h"

namespace tv::script {

inline constexpr std::string_view kNilArgument = "An object argument is nil";

// The object behind an argument a member needs; nil is refused with an exception.
template <class C>
C& NotNil(C* p) {
    if (!p) throw Exception(std::string(kNilArgument));
    return *p;
}

// The host class a constructor call builds: the class registered under the name of the script class
// whose type number the call passes; nil (an error recorded where the call must fail so) when none.
const TClassInfo* ConstructorTarget(TPSExec& exec, TPSExternalProcRec& p, TPSStack& stack);

namespace binding {

// The object a member call runs on, for TBusyObject; nil for a Self that is no TObject.
template <class C>
TObject* RunningObject(C* self) {
    if constexpr (std::is_base_of_v<TObject, C>)
        return self;
    else
        return nullptr;
}

// A member function, or a free function taking Self first: its result, Self's class and the other
// parameters.
template <class F>
struct MemberTraits;
template <class R, class C, class... A>
struct MemberTraits<R (C::*)(A...)> {
    using Result = R;
    using Self = C;
    using Args = std::tuple<A...>;
};
template <class R, class C, class... A>
struct MemberTraits<R (C::*)(A...) const> : MemberTraits<R (C::*)(A...)> {};
template <class R, class C, class... A>
struct MemberTraits<R (*)(C*, A...)> : MemberTraits<R (C::*)(A...)> {};

template <auto M, class R = typename MemberTraits<decltype(M)>::Result,
          class C = typename MemberTraits<decltype(M)>::Self,
          class Args = typename MemberTraits<decltype(M)>::Args>
struct MethodCode;
template <auto M, class R, class C, class... A>
struct MethodCode<M, R, C, std::tuple<A...>> {
    static bool Proc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
        return Invoke<R, C*, A...>(
            exec, s,
            [](C* self, auto&&... a) -> R {
                const TBusyObject running(RunningObject(self));
                return std::invoke(M, self, a...);
            },
            std::index_sequence_for<C*, A...>());
    }
    static constexpr std::string_view Sig = SignatureBytes<R, A...>::View;
    static constexpr int32_t Indexes = sizeof...(A);
};

// A constructor: the result, then the class type's number, then the arguments.
template <class... A, class Make>
bool Construct(TPSExec& exec, TPSExternalProcRec& p, TPSStack& s, Make make) {
    const TClassInfo* target = ConstructorTarget(exec, p, s);
    if (!target) return false;
    return InvokeAt<TObject*, A...>(
        exec, s, [&](auto&&... a) -> TObject* { return make(*target, a...); },
        std::index_sequence_for<A...>(), -3);
}

template <class... A>
struct ConstructorCode {
    static bool Proc(TPSExec& exec, TPSExternalProcRec& p, TPSStack&, TPSStack& s) {
        return Construct<A...>(
            exec, p, s, [](const TClassInfo& target, auto&&... a) { return target.Construct<A...>(a...); });
    }
    static constexpr std::string_view Sig = SignatureBytes<TObject*, A...>::View;
};

template <auto Fn, class F = decltype(Fn)>
struct ConstructorFnCode;
template <auto Fn, class... A>
struct ConstructorFnCode<Fn, TObject* (*)(const TClassInfo&, A...)> {
    static bool Proc(TPSExec& exec, TPSExternalProcRec& p, TPSStack&, TPSStack& s) {
        return Construct<A...>(exec, p, s, Fn);
    }
    static constexpr std::string_view Sig = SignatureBytes<TObject*, A...>::View;
};

// A read routine takes Self and the index arguments; a write routine Self, the index arguments and
// then the value, as they lie below Self.
template <auto S, class C = typename MemberTraits<decltype(S)>::Self,
          class Args = typename MemberTraits<decltype(S)>::Args>
struct SetterCode;
template <auto S, class C, class... A>
struct SetterCode<S, C, std::tuple<A...>> {
    static_assert(sizeof...(A) >= 1, "a write routine takes the value");
    static bool Proc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
        return InvokeAt<void, C*, A...>(
            exec, s,
            [](C* self, auto&&... a) {
                const TBusyObject running(RunningObject(self));
                std::invoke(S, self, a...);
            },
            std::index_sequence_for<C*, A...>(), -1);
    }
    static constexpr int32_t Indexes = sizeof...(A) - 1;
};

// Property routines that also get the property's name (the member name the script used), right
// after Self.
template <auto G, class F = decltype(G)>
struct NamedGetterCode;
template <auto G, class T, class C, class... Idx>
struct NamedGetterCode<G, T (*)(C*, const AnsiString&, Idx...)> {
    static bool Proc(TPSExec& exec, TPSExternalProcRec& p, TPSStack&, TPSStack& s) {
        const AnsiString name(std::string_view(p.FName));
        return Invoke<T, C*, Idx...>(
            exec, s,
            [&name](C* self, auto&&... i) -> T {
                const TBusyObject running(RunningObject(self));
                return G(self, name, i...);
            },
            std::index_sequence_for<C*, Idx...>());
    }
    static constexpr int32_t Indexes = sizeof...(Idx);
};
template <auto S, class F = decltype(S)>
struct NamedSetterCode;
template <auto S, class C, class... A>
struct NamedSetterCode<S, void (*)(C*, const AnsiString&, A...)> {
    static_assert(sizeof...(A) >= 1, "a write routine takes the value");
    static bool Proc(TPSExec& exec, TPSExternalProcRec& p, TPSStack&, TPSStack& s) {
        const AnsiString name(std::string_view(p.FName));
        return InvokeAt<void, C*, A...>(
            exec, s,
            [&name](C* self, auto&&... a) {
                const TBusyObject running(RunningObject(self));
                S(self, name, a...);
            },
            std::index_sequence_for<C*, A...>(), -1);
    }
    static constexpr int32_t Indexes = sizeof...(A) - 1;
};

template <auto M, class F = decltype(M)>
struct InterfaceMethodCode;
template <auto M, class R, class I, class... A>
struct InterfaceMethodCode<M, R (I::*)(A...)> {
    static bool Proc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
        constexpr int32_t selfAt = std::is_void_v<R> ? -1 : -2;
        TPSVariant* item = s.Item(selfAt);
        auto* intf = item ? static_cast<IInterface*>(LoadPtr(item->Data())) : nullptr;
        void* got = nullptr;
        if (!intf || intf->QueryInterface(I::IID, &got) != S_OK || !got) ThrowTypeMismatch();
        I* self = static_cast<I*>(static_cast<IInterface*>(got));
        struct Release {
            I* i;
            ~Release() { i->Release(); }
        } release{self};
        return InvokeAt<R, A...>(
            exec, s, [self](auto&&... a) -> R { return (self->*M)(a...); }, std::index_sequence_for<A...>(),
            selfAt - 1);
    }
    static constexpr std::string_view Sig = SignatureBytes<R, A...>::View;
};

template <auto F, class P = decltype(F)>
struct FieldCode;
template <auto F, class C, class T>
struct FieldCode<F, T C::*> {
    static T Get(C* self) { return self->*F; }
    static void Set(C* self, T value) { self->*F = value; }
};

// An event reached through a function giving the object's event (E& Ref(C*)).
template <auto Ref, class F = decltype(Ref)>
struct EventRefCode;
template <auto Ref, class C, class E>
struct EventRefCode<Ref, E& (*)(C*)> {
    static TMethod Get(C* self) { return Ref(self).Method(); }
    static void Set(C* self, TMethod m) { Ref(self).SetMethod(m); }
};

template <auto F, class P = decltype(F)>
struct EventFieldCode;
template <auto F, class C, class E>
struct EventFieldCode<F, E C::*> {
    static TMethod Get(C* self) { return (self->*F).Method(); }
    static void Set(C* self, TMethod m) { (self->*F).SetMethod(m); }
};

}  // namespace binding

template <auto M>
constexpr TPSMemberCode Method() {
    return {&binding::MethodCode<M>::Proc, binding::MethodCode<M>::Sig, 0};
}

template <class... A>
constexpr TPSMemberCode Constructor() {
    return {&binding::ConstructorCode<A...>::Proc, binding::ConstructorCode<A...>::Sig, 0};
}

template <auto Fn>
constexpr TPSMemberCode ConstructorFn() {
    return {&binding::ConstructorFnCode<Fn>::Proc, binding::ConstructorFnCode<Fn>::Sig, 0};
}

template <auto G>
constexpr TPSMemberCode PropGet() {
    return {&binding::MethodCode<G>::Proc, {}, binding::MethodCode<G>::Indexes};
}

template <auto S>
constexpr TPSMemberCode PropSet() {
    return {&binding::SetterCode<S>::Proc, {}, binding::SetterCode<S>::Indexes};
}

template <auto G>
constexpr TPSMemberCode PropGetName() {
    return {&binding::NamedGetterCode<G>::Proc, {}, binding::NamedGetterCode<G>::Indexes};
}

template <auto S>
constexpr TPSMemberCode PropSetName() {
    return {&binding::NamedSetterCode<S>::Proc, {}, binding::NamedSetterCode<S>::Indexes};
}

template <auto G>
constexpr TPSMemberCode EventGet() {
    return PropGet<G>();
}

template <auto S>
constexpr TPSMemberCode EventSet() {
    return PropSet<S>();
}

template <auto F>
constexpr TPSMemberCode FieldGet() {
    return PropGet<&binding::FieldCode<F>::Get>();
}

template <auto F>
constexpr TPSMemberCode FieldSet() {
    return PropSet<&binding::FieldCode<F>::Set>();
}

template <auto Ref>
constexpr TPSMemberCode EventRefGet() {
    return PropGet<&binding::EventRefCode<Ref>::Get>();
}

template <auto Ref>
constexpr TPSMemberCode EventRefSet() {
    return PropSet<&binding::EventRefCode<Ref>::Set>();
}

template <auto F>
constexpr TPSMemberCode EventFieldGet() {
    return PropGet<&binding::EventFieldCode<F>::Get>();
}

template <auto F>
constexpr TPSMemberCode EventFieldSet() {
    return PropSet<&binding::EventFieldCode<F>::Set>();
}

template <auto M>
constexpr TPSMemberCode InterfaceMethod() {
    return {&binding::InterfaceMethodCode<M>::Proc, binding::InterfaceMethodCode<M>::Sig, 0};
}

}  // namespace tv::script

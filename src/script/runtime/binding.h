#pragma once
// Typed host routines: a C++ function, member function or callable is registered on an executor
// under a script name, and a generated handler reads its arguments from the value stack with the
// value conversions, calls it and stores the result and the by-reference arguments back. The
// handler's declaration (result flag and one by-reference flag per parameter) is checked against
// the one the script was compiled with when the script loads; a mismatch refuses the load.
//
// Argument types: integers of 8 to 64 bits, bool, float, double (also TDateTime, days since
// 1899-12-30), long double, Currency, char (the script's 8-bit Char), char16_t, AnsiString,
// UnicodeString, std::string (UTF-8), Variant, pointers to classes derived from TObject (checked
// against the live objects and the class), enumerations, TSet, std::vector<Variant> for an open array
// (of Variant, or of const), and T& for a by-reference parameter of any of these; a std::string_view
// parameter gets the text as UTF-8. A reference to a class derived from TObject (TStrings&, const
// TStrings&) is the object a value parameter holds, never nil: a script's object variable refers to
// its object, so the callee changes the script's object without a var parameter (a var parameter of
// a class type is C*&). A function may give a new object as std::unique_ptr<C>: the script owns it
// from then on and frees it. Stack places: for a function the result is the top item and the
// arguments follow below it in declaration order; for a procedure the first argument is the top.

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/rtl/enum_set.h"
#include "platform/rtl/object.h"
#include "platform/rtl/object_handles.h"
#include "script/runtime/exec.h"
#include "script/runtime/value_access.h"
#include "script/runtime/variant_value.h"

namespace tv::script {

// The script's Currency: the amount times 10000.
struct Currency {
    int64_t Raw = 0;
    friend bool operator==(Currency, Currency) = default;
};

[[noreturn]] void ThrowTypeMismatch();
// Raised for nil where an object must be given.
[[noreturn]] void ThrowNilObject();
// The object a class value holds: nil, or a live object; a reference to a freed one raises.
inline TObject* CheckedObject(const TPSValueRef& v) {
    return GetValueAsObject(v.Data, v.TypeRec);
}
// The variant form of any script value (a Variant as it is); raises "Type Mismatch" when it has none.
Variant ReadAsVariant(const TPSValueRef& v);
void WriteFromVariant(TPSExec& exec, const TPSValueRef& v, const Variant& value);
// The elements of an open array (of Variant or of const) as variants.
std::vector<Variant> ReadOpenArray(const TPSValueRef& v);
void WriteOpenArray(TPSExec& exec, const TPSValueRef& v, const std::vector<Variant>& values);

template <class T, class = void>
struct ArgTraits;

#define TV_SCRIPT_ARG(Type, Read, Write)                                 \
    template <>                                                          \
    struct ArgTraits<Type> {                                             \
        static Type Get(TPSExec&, const TPSValueRef& v) { return Read; } \
        static void Put(TPSExec&, const TPSValueRef& v, const Type& x) { \
            if (!(Write)) ThrowTypeMismatch();                           \
        }                                                                \
    }

TV_SCRIPT_ARG(int8_t, static_cast<int8_t>(GetValueAsInt(v.Data, v.TypeRec)),
              SetValueFromInt(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(int16_t, static_cast<int16_t>(GetValueAsInt(v.Data, v.TypeRec)),
              SetValueFromInt(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(int32_t, GetValueAsInt(v.Data, v.TypeRec), SetValueFromInt(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(uint8_t, static_cast<uint8_t>(GetValueAsUInt(v.Data, v.TypeRec)),
              SetValueFromUInt(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(uint16_t, static_cast<uint16_t>(GetValueAsUInt(v.Data, v.TypeRec)),
              SetValueFromUInt(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(uint32_t, GetValueAsUInt(v.Data, v.TypeRec), SetValueFromUInt(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(int64_t, GetValueAsInt64(v.Data, v.TypeRec), SetValueFromInt64(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(bool, GetValueAsUInt(v.Data, v.TypeRec) != 0, SetValueFromUInt(v.Data, v.TypeRec, x ? 1 : 0));
TV_SCRIPT_ARG(float, static_cast<float>(GetValueAsReal(v.Data, v.TypeRec)),
              SetValueFromReal(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(double, static_cast<double>(GetValueAsReal(v.Data, v.TypeRec)),
              SetValueFromReal(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(long double, GetValueAsReal(v.Data, v.TypeRec), SetValueFromReal(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(Currency, Currency{GetValueAsCurrency(v.Data, v.TypeRec)},
              SetValueFromCurrency(v.Data, v.TypeRec, x.Raw));
TV_SCRIPT_ARG(char, GetValueAsChar(v.Data, v.TypeRec),
              SetValueFromAnsiString(v.Data, v.TypeRec, AnsiString(std::string_view(&x, 1))));
TV_SCRIPT_ARG(char16_t, static_cast<char16_t>(GetValueAsUInt(v.Data, v.TypeRec)),
              SetValueFromWideString(v.Data, v.TypeRec, UnicodeString(std::u16string_view(&x, 1))));
TV_SCRIPT_ARG(AnsiString, GetValueAsAnsiString(v.Data, v.TypeRec),
              SetValueFromAnsiString(v.Data, v.TypeRec, x));
TV_SCRIPT_ARG(UnicodeString, GetValueAsUnicodeString(v.Data, v.TypeRec),
              SetValueFromUnicodeString(v.Data, v.TypeRec, x));
#undef TV_SCRIPT_ARG

template <>
struct ArgTraits<std::string> {
    static std::string Get(TPSExec&, const TPSValueRef& v);
    static void Put(TPSExec&, const TPSValueRef& v, const std::string& x);
};

template <>
struct ArgTraits<Variant> {
    static Variant Get(TPSExec&, const TPSValueRef& v) { return ReadAsVariant(v); }
    static void Put(TPSExec& exec, const TPSValueRef& v, const Variant& x) { WriteFromVariant(exec, v, x); }
};

template <>
struct ArgTraits<std::vector<Variant>> {
    static std::vector<Variant> Get(TPSExec&, const TPSValueRef& v) { return ReadOpenArray(v); }
    static void Put(TPSExec& exec, const TPSValueRef& v, const std::vector<Variant>& x) {
        WriteOpenArray(exec, v, x);
    }
};

// The object as a C, or nil when it is not one. A method called in a loop meets objects of one
// class again and again: the class last found to be a C is remembered (per thread) with where its C
// part lies, so that only another class takes the full search. An object has one TObject part, so
// for one class that place never differs.
template <class C>
C* AsClass(TObject* obj) {
    thread_local const std::type_info* lastClass = nullptr;
    thread_local std::ptrdiff_t lastOffset = 0;
    const std::type_info* cls = &typeid(*obj);
    if (cls == lastClass) return reinterpret_cast<C*>(reinterpret_cast<char*>(obj) + lastOffset);
    C* c = dynamic_cast<C*>(obj);
    if (c) {
        lastClass = cls;
        lastOffset = reinterpret_cast<const char*>(c) - reinterpret_cast<const char*>(obj);
    }
    return c;
}

template <class C>
struct ArgTraits<C*, std::enable_if_t<std::is_base_of_v<TObject, C>>> {
    static C* Get(TPSExec&, const TPSValueRef& v) {
        TObject* obj = CheckedObject(v);
        if (!obj) return nullptr;
        if (auto* c = AsClass<C>(obj)) return c;
        ThrowTypeMismatch();
    }
    static void Put(TPSExec&, const TPSValueRef& v, C* x) { SetValueFromObject(v.Data, v.TypeRec, x); }
};

// An object parameter taken by reference: the object itself; nil is refused.
template <class C>
struct ObjectArg {
    C* Object = nullptr;
    operator C&() const { return *Object; }
};

template <class C>
struct ArgTraits<ObjectArg<C>> {
    static ObjectArg<C> Get(TPSExec& exec, const TPSValueRef& v) {
        C* obj = ArgTraits<C*>::Get(exec, v);
        if (!obj) ThrowNilObject();
        return {obj};
    }
};

// A new object given to the script, which owns it from then on; a result only.
template <class C>
struct ArgTraits<std::unique_ptr<C>, std::enable_if_t<std::is_base_of_v<TObject, C>>> {
    static void Put(TPSExec&, const TPSValueRef& v, std::unique_ptr<C>& x) {
        SetValueFromObject(v.Data, v.TypeRec, x.get());
        x.release();
    }
};

template <class E>
struct ArgTraits<E, std::enable_if_t<std::is_enum_v<E>>> {
    static E Get(TPSExec&, const TPSValueRef& v) { return static_cast<E>(GetValueAsUInt(v.Data, v.TypeRec)); }
    static void Put(TPSExec&, const TPSValueRef& v, E x) {
        if (!SetValueFromUInt(v.Data, v.TypeRec, static_cast<uint32_t>(x))) ThrowTypeMismatch();
    }
};

// A set travels as its byte image.
uint64_t ReadSetBits(const TPSValueRef& v, int byteSize);
void WriteSetBits(const TPSValueRef& v, uint64_t bits, int byteSize);

template <class E>
struct ArgTraits<TSet<E>> {
    static TSet<E> Get(TPSExec&, const TPSValueRef& v) {
        return TSet<E>::FromBits(ReadSetBits(v, TSet<E>::ByteSize));
    }
    static void Put(TPSExec&, const TPSValueRef& v, TSet<E> x) {
        WriteSetBits(v, x.Bits(), TSet<E>::ByteSize);
    }
};

namespace binding {

template <class A>
constexpr bool IsObjectClass = std::is_class_v<A> && std::is_base_of_v<TObject, A>;

// What holds an argument for the call: its own type, but a text view gets a string to view and an
// object taken by reference the object's address.
template <class A, class = void>
struct StorageOf {
    using type = A;
};
template <>
struct StorageOf<std::string_view> {
    using type = std::string;
};
template <class A>
struct StorageOf<A, std::enable_if_t<IsObjectClass<A>>> {
    using type = ObjectArg<A>;
};
template <class A>
using Stored = typename StorageOf<std::remove_cvref_t<A>>::type;

template <class A>
constexpr bool IsByRef = std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>> &&
                         !IsObjectClass<std::remove_cvref_t<A>>;

// The stack item of parameter i, the first being at `first` (counted from the top), as a value
// reference.
inline TPSValueRef ArgRef(TPSStack& stack, size_t i, int32_t first, bool byRef) {
    TPSVariant* item = stack.Item(first - static_cast<int32_t>(i));
    if (!item) ThrowTypeMismatch();
    TPSValueRef r = MakeValueRef(item, byRef);
    if (!r.Data || !r.TypeRec) ThrowTypeMismatch();
    return r;
}

template <class R, class... A>
std::string Signature() {
    std::string s(1, std::is_void_v<R> ? '\0' : '\1');
    ((s.push_back(IsByRef<A> ? '\1' : '\0')), ...);
    return s;
}

// The same declaration bytes as constant data.
template <class R, class... A>
struct SignatureBytes {
    static constexpr char Data[] = {std::is_void_v<R> ? '\0' : '\1', (IsByRef<A> ? '\1' : '\0')...};
    static constexpr std::string_view View{Data, sizeof Data};
};

// Reads the arguments (the first at stack place `first`, the others below it), calls `call` with them,
// writes the result (the top item) and the by-reference arguments.
template <class R, class... A, class Call, size_t... I>
bool InvokeAt(TPSExec& exec, TPSStack& stack, Call&& call, std::index_sequence<I...>,
              [[maybe_unused]] int32_t first) {
    constexpr bool hasResult = !std::is_void_v<R>;
    const TPSValueRef refs[sizeof...(A) + 1] = {ArgRef(stack, I, first, IsByRef<A>)..., TPSValueRef{}};
    std::tuple<Stored<A>...> args{ArgTraits<Stored<A>>::Get(exec, refs[I])...};
    if constexpr (hasResult) {
        R r = call(std::get<I>(args)...);
        TPSValueRef res = MakeValueRef(stack.Item(-1), true);
        if (!res.Data) ThrowTypeMismatch();
        ArgTraits<Stored<R>>::Put(exec, res, r);
    } else {
        call(std::get<I>(args)...);
    }
    (
        [&] {
            if constexpr (IsByRef<A>) ArgTraits<Stored<A>>::Put(exec, refs[I], std::get<I>(args));
        }(),
        ...);
    return true;
}

// As InvokeAt, the arguments just below the result (or from the top for a procedure).
template <class R, class... A, class Call, size_t... I>
bool Invoke(TPSExec& exec, TPSStack& stack, Call&& call, std::index_sequence<I...> seq) {
    return InvokeAt<R, A...>(exec, stack, std::forward<Call>(call), seq, std::is_void_v<R> ? -1 : -2);
}

template <class F>
struct FunctionTraits;
template <class R, class... A>
struct FunctionTraits<R (*)(A...)> {
    using Result = R;
    using Args = std::tuple<A...>;
};
template <class R, class C, class... A>
struct FunctionTraits<R (C::*)(A...)> {
    using Result = R;
    using Class = C;
    using Args = std::tuple<A...>;
};
template <class R, class C, class... A>
struct FunctionTraits<R (C::*)(A...) const> {
    using Result = R;
    using Class = const C;
    using Args = std::tuple<A...>;
};

template <auto Fn, class Args = typename FunctionTraits<decltype(Fn)>::Args>
struct FunctionBinding;
template <auto Fn, class... A>
struct FunctionBinding<Fn, std::tuple<A...>> {
    using R = typename FunctionTraits<decltype(Fn)>::Result;
    static bool Handler(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& stack) {
        return Invoke<R, A...>(exec, stack, Fn, std::index_sequence_for<A...>());
    }
};

template <auto M, class Args = typename FunctionTraits<decltype(M)>::Args>
struct MethodBinding;
template <auto M, class... A>
struct MethodBinding<M, std::tuple<A...>> {
    using R = typename FunctionTraits<decltype(M)>::Result;
    using C = typename FunctionTraits<decltype(M)>::Class;
    static bool Handler(TPSExec& exec, TPSExternalProcRec& p, TPSStack&, TPSStack& stack) {
        auto* self = static_cast<C*>(p.FExt2);
        return Invoke<R, A...>(
            exec, stack, [self](auto&&... a) -> R { return (self->*M)(a...); },
            std::index_sequence_for<A...>());
    }
};

template <class F, class Sig = decltype(&F::operator())>
struct CallableBinding;
template <class F, class R, class C, class... A>
struct CallableBinding<F, R (C::*)(A...) const> {
    static bool Handler(TPSExec& exec, TPSExternalProcRec& p, TPSStack&, TPSStack& stack) {
        const F& f = *static_cast<const F*>(p.FExt1);
        return Invoke<R, A...>(exec, stack, f, std::index_sequence_for<A...>());
    }
    static void Free(TPSExec&, TProcRec& rec) { delete static_cast<F*>(rec.Ext1); }
    static std::string Sig() { return Signature<R, A...>(); }
};
template <class F, class R, class C, class... A>
struct CallableBinding<F, R (C::*)(A...)> : CallableBinding<F, R (C::*)(A...) const> {};

template <class R, class Tuple>
struct SignatureOf;
template <class R, class... A>
struct SignatureOf<R, std::tuple<A...>> {
    static std::string Get() { return Signature<R, A...>(); }
};

}  // namespace binding

// Registers a free function under `name`.
template <auto Fn>
TProcRec* RegisterNativeFunction(TPSExec& exec, std::string_view name) {
    using T = binding::FunctionTraits<decltype(Fn)>;
    TProcRec* r = exec.RegisterFunctionName(name, &binding::FunctionBinding<Fn>::Handler, nullptr, nullptr);
    r->Signature = binding::SignatureOf<typename T::Result, typename T::Args>::Get();
    return r;
}

// Registers a member function, called on `self`.
template <auto M, class C>
TProcRec* RegisterNativeMethod(TPSExec& exec, C* self, std::string_view name) {
    using T = binding::FunctionTraits<decltype(M)>;
    TProcRec* r = exec.RegisterFunctionName(name, &binding::MethodBinding<M>::Handler, nullptr,
                                            const_cast<std::remove_const_t<C>*>(self));
    r->Signature = binding::SignatureOf<typename T::Result, typename T::Args>::Get();
    return r;
}

// The same with a calling convention named: one outside cdRegister to cdSafeCall registers nothing.
template <auto Fn>
TProcRec* RegisterNativeFunction(TPSExec& exec, std::string_view name, uint8_t cc) {
    return cc <= cdSafeCall ? RegisterNativeFunction<Fn>(exec, name) : nullptr;
}
template <auto M, class C>
TProcRec* RegisterNativeMethod(TPSExec& exec, C* self, std::string_view name, uint8_t cc) {
    return cc <= cdSafeCall ? RegisterNativeMethod<M>(exec, self, name) : nullptr;
}

// Registers a callable (a lambda, possibly holding state); the executor keeps a copy.
template <class F>
TProcRec* RegisterNativeCallable(TPSExec& exec, std::string_view name, F f) {
    using B = binding::CallableBinding<F>;
    TProcRec* r = exec.RegisterFunctionName(name, &B::Handler, new F(std::move(f)), nullptr);
    r->FreeProc = &B::Free;
    r->Signature = B::Sig();
    return r;
}

}  // namespace tv::script

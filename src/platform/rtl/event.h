#pragma once
// Events of the class library: a property such as OnChange holds either a C++ handler or a method
// reference (code and data) that a bridge installed, for example a script procedure. The reference
// is kept beside the handler so that reading the event back tells who handles it.

#include <functional>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/rtl/type_info.h"

namespace tv {

// One argument (or the result) of an event call, described for a generic handler: the address of
// the C++ value and its type. By-reference parameters are written back through `Address`. Class
// arguments are passed as a TObject* whatever the declared class; strings as std::string (UTF-8).
struct TEventArg {
    const TTypeInfo* Type = nullptr;
    void* Address = nullptr;
    bool ByRef = false;
};

// Something that handles events of any signature through their generic description.
class TMethodCode {
public:
    virtual ~TMethodCode() = default;
    virtual void Call(void* data, std::span<TEventArg> args, TEventArg* result) const = 0;
};

// A method reference: the code that runs and the data it runs for. Both nil: no handler.
struct TMethod {
    const TMethodCode* Code = nullptr;
    void* Data = nullptr;
    explicit operator bool() const { return Code != nullptr; }
    friend bool operator==(const TMethod&, const TMethod&) = default;
};

struct TEventParam {
    const TTypeInfo* Type;
    bool ByRef;
};

// The parameters and result of an event type.
struct TEventSignature {
    std::vector<TEventParam> Params;
    const TTypeInfo* Result = nullptr;  // nil for a procedure
};

namespace detail {
template <class A>
using EventStorage =
    std::conditional_t<std::is_pointer_v<std::remove_cvref_t<A>>, TObject*, std::remove_cvref_t<A>>;

template <class A>
constexpr bool IsEventRef = std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;

template <class A>
TEventArg MakeEventArg(EventStorage<A>& value) {
    return TEventArg{&TypeInfoOf<std::remove_cvref_t<A>>(), &value, IsEventRef<A>};
}
}  // namespace detail

template <class Sig>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
public:
    using Handler = std::function<R(A...)>;

    TEvent() = default;
    TEvent(Handler h) : fHandler(std::move(h)) {}  // NOLINT: events are assigned handlers freely
    TEvent& operator=(Handler h) {
        fHandler = std::move(h);
        fMethod = {};
        return *this;
    }

    static const TEventSignature& Signature() {
        static const TEventSignature sig{
            {TEventParam{&TypeInfoOf<std::remove_cvref_t<A>>(), detail::IsEventRef<A>}...}, ResultInfo()};
        return sig;
    }

    // Installs a method reference; calls then go to its code with the arguments described.
    void SetMethod(TMethod m) {
        fMethod = m;
        if (!m) {
            fHandler = nullptr;
            return;
        }
        fHandler = [m](A... args) -> R { return CallMethod(m, std::forward<A>(args)...); };
    }
    // The method reference installed, nil when the event is empty or has a plain C++ handler.
    TMethod Method() const { return fMethod; }

    explicit operator bool() const { return static_cast<bool>(fHandler); }
    R operator()(A... args) const { return fHandler(std::forward<A>(args)...); }

private:
    static const TTypeInfo* ResultInfo() {
        if constexpr (std::is_void_v<R>)
            return nullptr;
        else
            return &TypeInfoOf<R>();
    }

    static R CallMethod(const TMethod& m, A... args) {
        // Values are copied into storage the generic handler can address; pointers to classes
        // travel as TObject*. By-reference arguments are copied back after the call.
        std::tuple<detail::EventStorage<A>...> store{static_cast<detail::EventStorage<A>>(args)...};
        TEventArg list[sizeof...(A) + 1];
        std::apply(
            [&](auto&... v) {
                int i = 0;
                ((list[i++] = detail::MakeEventArg<A>(v)), ...);
            },
            store);
        if constexpr (std::is_void_v<R>) {
            m.Code->Call(m.Data, std::span<TEventArg>(list, sizeof...(A)), nullptr);
            WriteBack(store, std::forward_as_tuple(args...), std::index_sequence_for<A...>());
        } else {
            R result{};
            TEventArg res{&TypeInfoOf<R>(), &result, false};
            m.Code->Call(m.Data, std::span<TEventArg>(list, sizeof...(A)), &res);
            WriteBack(store, std::forward_as_tuple(args...), std::index_sequence_for<A...>());
            return result;
        }
    }

    template <class Store, class Args, size_t... I>
    static void WriteBack(Store& store, Args&& args, std::index_sequence<I...>) {
        (
            [&] {
                using P = std::tuple_element_t<I, std::tuple<A...>>;
                if constexpr (detail::IsEventRef<P> && !std::is_pointer_v<std::remove_cvref_t<P>>)
                    std::get<I>(args) = std::get<I>(store);
            }(),
            ...);
    }

    Handler fHandler;
    TMethod fMethod;
};

template <class Sig>
struct TTypeInfoOf<TEvent<Sig>> {
    static const TTypeInfo& Get() {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Name = "event";
            t.Kind = TTypeKind::Method;
            t.Signature = &TEvent<Sig>::Signature();
            return t;
        }();
        return info;
    }
};

// The events of the class library's non-visual classes.
using TNotifyEvent = TEvent<void(TObject*)>;

}  // namespace tv

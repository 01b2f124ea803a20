#pragma once
// Script procedures as host event handlers, and host methods as script procedure values. A script
// procedure becomes a method reference (TMethod) whose code is the script thunk and whose data names
// the executor and the procedure; host code calls it like any event handler. The names are weak: once
// the executor releases its loaded script, a late call through such a reference is ignored and
// reported, never a read of freed memory.

#include <functional>
#include <string_view>

#include "platform/rtl/event.h"
#include "script/runtime/binding.h"

namespace tv::script {

// Where late calls of released script handlers are reported; nil: standard error.
void SetLateEventReporter(std::function<void(std::string_view)> reporter);
inline constexpr std::string_view kLateEventCall =
    "An event handler of a script that is no longer loaded was called; the call is ignored";

// A host value of any kind its type information describes, copied into a script value of its declared
// type, and back. Records travel field by field.
void HostValueToScript(TPSExec& exec, const TEventArg& host, const TPSValueRef& v);
void ScriptValueToHost(TPSExec& exec, const TPSValueRef& v, const TEventArg& host);

// A record passed by value (TPoint, TRect), described by its type information.
template <class T>
struct RecordArgTraits {
    static T Get(TPSExec& exec, const TPSValueRef& v) {
        T x{};
        ScriptValueToHost(exec, v, TEventArg{&TypeInfoOf<T>(), &x, false});
        return x;
    }
    static void Put(TPSExec& exec, const TPSValueRef& v, const T& x) {
        HostValueToScript(exec, TEventArg{&TypeInfoOf<T>(), const_cast<T*>(&x), false}, v);
    }
};

// A method reference as a script value: a procedure number (U32), or a procedure value whose number
// 0 carries the data and code of a host method.
template <>
struct ArgTraits<TMethod> {
    static TMethod Get(TPSExec& exec, const TPSValueRef& v);
    static void Put(TPSExec& exec, const TPSValueRef& v, const TMethod& m);
};

}  // namespace tv::script

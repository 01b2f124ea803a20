// The interpreter against Lua 5.4 on the same small programs: counting loops on Integer and Int64,
// a recursive function, calls, arrays, records, real arithmetic, string routines, building a string
// piece by piece and a host object's method; then the interpreter alone on long string appends,
// calls with string and var parameters, host events and the import pattern of walking a string list
// through many small calls. Each script run reports its heap allocations per loop turn.
// Scripts are compiled and loaded once; each iteration runs the main procedure. Lua runs as the
// lua5.4 program, which reports the time of the work itself (its start-up not counted).

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/rtl/string_list.h"
#include "script/compiler/pascal_compiler.h"
#include "script/host/component/script.h"
#include "script/host/units/import_plugins.h"
#include "script/runtime/class_binding.h"
#include "script/runtime/exec.h"

// Heap allocations of this process, counted by the replaced operator new: a run that allocates per
// executed instruction shows it as allocations per loop turn.
namespace {
std::atomic<int64_t> gAllocations{0};
}

void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using tv::script::TPSExec;
using tv::script::TPSPascalCompiler;

struct Program {
    const char* name;
    const char* pascal;
    const char* lua;      // the same program in Lua; nil where there is none
    int64_t turns;        // loop turns (or calls) of one run, for the allocations per turn
};

constexpr Program kLoop{
    "Loop",
    "var i, s: Integer; begin s := 0; for i := 1 to 1000000 do s := s + i mod 7; end.",
    "local s = 0 for i = 1, 1000000 do s = s + i % 7 end",
    1000000,
};
constexpr Program kInt64Loop{
    "Int64Loop",
    "var i: Integer; s, k: Int64; begin s := 0; for i := 1 to 1000000 do begin k := i; s := s + k * k mod 7;"
    " end; end.",
    "local s = 0 for i = 1, 1000000 do local k = i s = s + k * k % 7 end",
    1000000,
};
constexpr Program kRecursion{
    "Recursion",
    "function Fib(n: Integer): Integer; begin if n < 2 then Result := n else Result := Fib(n - 1) + Fib(n - "
    "2); end;"
    " var r: Integer; begin r := Fib(24); end.",
    "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end local r = fib(24)",
    75025,
};
constexpr Program kStrings{
    "Strings",
    "var i: Integer; s: string; begin s := ''; for i := 1 to 20000 do s := s + 'x'; end.",
    "local s = '' for i = 1, 20000 do s = s .. 'x' end",
    20000,
};
constexpr Program kReal{
    "Real",
    "var i: Integer; x: Double; begin x := 0; for i := 1 to 1000000 do x := x + i * 0.5; end.",
    "local x = 0.0 for i = 1, 1000000 do x = x + i * 0.5 end",
    1000000,
};
constexpr Program kStringRoutines{
    "StringRoutines",
    "var i, n: Integer; s, t: string; begin n := 0; for i := 1 to 20000 do begin t := 'Item ' + IntToStr(i);"
    " s := Copy(t, 1, 4) + ';'; if Pos('9', t) > 0 then n := n + Length(s); end; end.",
    "local n = 0 for i = 1, 20000 do local t = 'Item ' .. tostring(i) local s = string.sub(t, 1, 4) .. ';'"
    " if string.find(t, '9', 1, true) then n = n + #s end end",
    20000,
};
constexpr Program kArrays{
    "Arrays",
    "var a: array of Integer; i, k, s: Integer; begin SetLength(a, 1000); s := 0; for k := 1 to 50 do begin"
    " for i := 0 to 999 do a[i] := i * 3; for i := 0 to 999 do s := s + a[i]; end; end.",
    "local a = {} for i = 0, 999 do a[i] = 0 end local s = 0 for k = 1, 50 do"
    " for i = 0, 999 do a[i] = i * 3 end for i = 0, 999 do s = s + a[i] end end",
    100000,
};
constexpr Program kRecords{
    "Records",
    "type TRow = record Key: Integer; Qty: Integer; Price: Double; end;"
    " var rows: array of TRow; i, k: Integer; t: Double;"
    " begin SetLength(rows, 1000); t := 0; for k := 1 to 20 do begin"
    " for i := 0 to 999 do begin rows[i].Key := i; rows[i].Qty := i mod 10; rows[i].Price := i * 1.5; end;"
    " for i := 0 to 999 do t := t + rows[i].Qty * rows[i].Price; end; end.",
    "local rows = {} for i = 0, 999 do rows[i] = {Key = 0, Qty = 0, Price = 0.0} end local t = 0.0"
    " for k = 1, 20 do for i = 0, 999 do local r = rows[i] r.Key = i r.Qty = i % 10 r.Price = i * 1.5 end"
    " for i = 0, 999 do t = t + rows[i].Qty * rows[i].Price end end",
    40000,
};
constexpr Program kCalls{
    "Calls",
    "function Add(a, b: Integer): Integer; begin Result := a + b; end;"
    " function Mid(a, b, c: Integer): Integer; begin if a < b then Result := b else Result := a + c; end;"
    " var i, s: Integer; begin s := 0; for i := 1 to 100000 do s := Mid(Add(s, i) mod 1000, i, 1); end.",
    "local function add(a, b) return a + b end"
    " local function mid(a, b, c) if a < b then return b else return a + c end end"
    " local s = 0 for i = 1, 100000 do s = mid(add(s, i) % 1000, i, 1) end",
    100000,
};

// 1,000,000 appends of one character: the script's strings grow in place.
constexpr Program kLongAppend{
    "Append",
    "var i: Integer; s: string; begin s := ''; for i := 1 to 1000000 do s := s + 'x'; end.",
    nullptr,
    1000000,
};
constexpr Program kShortAppend{
    "Append",
    "var i: Integer; s: string; begin s := ''; for i := 1 to 100000 do s := s + 'x'; end.",
    nullptr,
    100000,
};
constexpr Program kArraysRecords{
    "ArraysRecords",
    "type TRow = record Key: Integer; Qty: Integer; Price: Double; end;"
    " var a: array of Integer; rows: array of TRow; i, k, s: Integer; t: Double;"
    " begin SetLength(a, 1000); SetLength(rows, 1000); s := 0; t := 0; for k := 1 to 20 do begin"
    " for i := 0 to 999 do begin a[i] := i * 3; rows[i].Key := i; rows[i].Qty := i mod 10;"
    " rows[i].Price := i * 1.5; end;"
    " for i := 0 to 999 do begin s := s + a[i] + rows[i].Qty; t := t + rows[i].Qty * rows[i].Price; end;"
    " end; end.",
    nullptr,
    40000,
};
constexpr Program kParameters{
    "Parameters",
    "function Add(a, b: Integer): Integer; begin Result := a + b; end;"
    " procedure Note(const s: string; var n: Integer); begin n := n + Length(s); end;"
    " var i, s, n: Integer; begin s := 0; n := 0; for i := 1 to 100000 do begin s := Add(s, i);"
    " Note('abc', n); end; end.",
    nullptr,
    100000,
};

std::unique_ptr<TPSExec> Load(const char* text) {
    TPSPascalCompiler compiler;
    compiler.OnUses = [](TPSPascalCompiler&, const std::string& unit) { return unit == "SYSTEM"; };
    std::string container;
    if (!compiler.Compile(text) || !compiler.GetOutput(container))
        throw std::runtime_error("script does not compile");
    auto exec = std::make_unique<TPSExec>();
    if (!exec->LoadData(container)) throw std::runtime_error("script does not load");
    return exec;
}

void Script(benchmark::State& state, const Program& p) {
    std::unique_ptr<TPSExec> exec = Load(p.pascal);
    int64_t allocations = 0;
    for (auto _ : state) {
        const int64_t before = gAllocations.load(std::memory_order_relaxed);
        if (!exec->RunScript()) state.SkipWithError("the script failed");
        allocations += gAllocations.load(std::memory_order_relaxed) - before;
    }
    state.counters["allocs/turn"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations() * p.turns);
}

// Runs the Lua program `repeat` times inside one lua5.4 process and gives the seconds of one run.
double LuaSeconds(const Program& p, int repeat) {
    const std::string chunk = std::string("local t0 = os.clock() for _ = 1, ") + std::to_string(repeat) +
                              " do " + p.lua + " end print((os.clock() - t0) / " + std::to_string(repeat) +
                              ")";
    std::string cmd = "lua5.4 -e \"" + chunk + "\" 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    if (!pipe) return -1;
    std::array<char, 64> buf{};
    if (!fgets(buf.data(), buf.size(), pipe.get())) return -1;
    return std::stod(buf.data());
}

void Lua(benchmark::State& state, const Program& p) {
    for (auto _ : state) {
        const double seconds = LuaSeconds(p, 5);
        if (seconds < 0) {
            state.SkipWithError("lua5.4 is not available");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

// The loop through the script component, whose debugging executor runs its hook before every
// instruction while debug information is on.
void ComponentLoop(benchmark::State& state, bool debugInfo) {
    tv::script::TPSScript script;
    script.UseDebugInfo = debugInfo;
    script.Script().SetText(kLoop.pascal);
    if (!script.Compile()) {
        state.SkipWithError("script does not compile");
        return;
    }
    for (auto _ : state)
        if (!script.Execute()) state.SkipWithError("the script failed");
}

// A host class method called from a script loop, through the class bridge; in Lua a method of a
// table that reads one of its fields.
constexpr Program kObjects{
    "Objects",
    "var i, s: Integer; begin for i := 1 to 100000 do s := List.AddTo(i); end.",
    "local list = {count = 0} function list:AddTo(x) return self.count + x end"
    " local s = 0 for i = 1, 100000 do s = list:AddTo(i) end",
    100000,
};

int32_t AddTo(tv::TStrings* self, int32_t x) {
    return self->Count() + x;
}
void HostMethodCalls(benchmark::State& state) {
    tv::script::TPSScript script;
    tv::TStringList list;
    script.OnCompile = [](tv::script::TPSScript& s) {
        s.Comp().AddClassN(nullptr, "TStrings")->RegisterMethod("function AddTo(X: Integer): Integer;");
        s.AddRegisteredVariable("List", "TStrings");
    };
    script.OnExecImport = [](tv::TObject*, TPSExec&, tv::script::TPSRuntimeClassImporter& ri) {
        ri.Add(tv::TStrings::StaticClassInfo())->RegisterMethod(tv::script::Method<&AddTo>(), "AddTo");
    };
    script.Script().SetText(kObjects.pascal);
    if (!script.Compile()) {
        state.SkipWithError("script does not compile");
        return;
    }
    script.SetVarToInstance("List", &list);
    for (auto _ : state)
        if (!script.Execute()) state.SkipWithError("the script failed");
    state.SetItemsProcessed(state.iterations() * 100000);
}

// The import pattern: a job walks the lines of a string list, takes each apart with the string
// routines and hands the pieces to a host routine.
void ImportPattern(benchmark::State& state) {
    tv::script::TPSScript script;
    tv::script::TPSImport_Classes classes;
    script.Plugins().Add(&classes);
    int64_t items = 0;
    script.OnCompile = [&items](tv::script::TPSScript& s) {
        s.AddCallable("procedure AddItem(Key, Value: string);",
                      [&items](const std::string& key, const std::string& value) {
                          items += static_cast<int64_t>(key.size() + value.size() > 0);
                      });
    };
    script.Script().SetText(
        "var list: TStringList; i, p: Integer; s: string;"
        " begin list := TStringList.Create; try"
        " for i := 1 to 2000 do list.Add('K' + IntToStr(i) + ';Value ' + IntToStr(i * 7));"
        " for i := 0 to list.Count - 1 do begin s := list[i]; p := Pos(';', s);"
        " if p > 0 then AddItem(Copy(s, 1, p - 1), Copy(s, p + 1, Length(s) - p)); end;"
        " finally list.Free; end; end.");
    if (!script.Compile()) {
        state.SkipWithError("script does not compile");
        return;
    }
    for (auto _ : state)
        if (!script.Execute()) state.SkipWithError("the script failed");
    state.SetItemsProcessed(items);
}

// A host event handled by a script procedure, fired from C++.
void EventCalls(benchmark::State& state) {
    tv::script::TPSScript script;
    script.Script().SetText(
        "var n: Integer; procedure Changed(Sender: TObject); begin n := n + 1; end; begin end.");
    script.OnCompile = [](tv::script::TPSScript& s) { s.Comp().AddClassN(nullptr, "TObject"); };
    if (!script.Compile() || !script.Execute()) {
        state.SkipWithError("script does not run");
        return;
    }
    tv::TNotifyEvent event;
    event.SetMethod(script.GetProcMethod("Changed"));
    tv::TObject sender;
    for (auto _ : state) event(&sender);
    state.SetItemsProcessed(state.iterations());
}

// Each program beside the same program in Lua.
#define TV_SCRIPT_AND_LUA(program)                                                      \
    BENCHMARK_CAPTURE(Script, program, k##program)->Unit(benchmark::kMillisecond);      \
    BENCHMARK_CAPTURE(Lua, program, k##program)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)

TV_SCRIPT_AND_LUA(Loop);
TV_SCRIPT_AND_LUA(Int64Loop);
TV_SCRIPT_AND_LUA(Recursion);
TV_SCRIPT_AND_LUA(Calls);
TV_SCRIPT_AND_LUA(Arrays);
TV_SCRIPT_AND_LUA(Records);
TV_SCRIPT_AND_LUA(Real);
TV_SCRIPT_AND_LUA(StringRoutines);
TV_SCRIPT_AND_LUA(Strings);
BENCHMARK(HostMethodCalls)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lua, Objects, kObjects)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK_CAPTURE(Script, Append100k, kShortAppend)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Script, Append1M, kLongAppend)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Script, ArraysRecords, kArraysRecords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Script, Parameters, kParameters)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ComponentLoop, DebugInfoOn, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ComponentLoop, DebugInfoOff, false)->Unit(benchmark::kMillisecond);
BENCHMARK(EventCalls);
BENCHMARK(ImportPattern)->Unit(benchmark::kMillisecond);

}  // namespace

#pragma once
// The job API: the 91 routines job scripts call, one table (job_api_rows.h) whose row holds the
// routine's registration number, its declaration exactly as stored (blanks, "overload" and a
// missing semicolon included; the compiler reads a heading up to its result type), the data module
// it is bound to and the adapter that binds the module's operation on the executor. A row without
// an adapter (its operation is not built yet) is still declared, so that every job script
// compiles; a script that calls it is refused at load with "Cannot Import" and the routine's name.
// An exception an operation raises becomes a run-time error the script can catch.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tv::script {
class TPSScript;
}

namespace tv {

// The program's data modules a row is bound to.
enum class TJobApiObject : uint8_t { MainForm, MainDM, DMImport, DMExport, DMPlugins };
inline constexpr size_t kJobApiObjectCount = 5;

// Declares the row's routine and binds the operation on `self` (never nil); false when nothing was
// registered (outside a compile).
using TJobApiBind = bool (*)(script::TPSScript& script, void* self, std::string_view declaration);

struct TJobApiRow {
    int N;
    std::string_view Declaration;
    TJobApiObject Object;
    TJobApiBind Bind = nullptr;  // nil: the operation is not built yet
};

inline constexpr size_t kJobApiRowCount = 91;

// The rows over the live objects they are bound to: what a script host registers on every compile.
class TJobApi {
public:
    TJobApi() = default;

    // The rows of `Classes` (naming the bound classes MainForm, MainDM, DMImport, DMExport and
    // DMPlugins, see job_api_rows.h) over these objects; the rows of an object given as nil are only
    // declared.
    template <class Classes>
    static TJobApi Over(typename Classes::MainForm* mainForm, typename Classes::MainDM* mainDM,
                        typename Classes::DMImport* dmImport, typename Classes::DMExport* dmExport,
                        typename Classes::DMPlugins* dmPlugins);

    std::span<const TJobApiRow> Rows() const { return rows_; }
    // Declares the row's routine to the compiler and, when it has an operation and an object,
    // binds it on the executor. False when nothing was registered (outside a compile).
    bool Register(script::TPSScript& script, const TJobApiRow& row) const;

private:
    TJobApi(std::span<const TJobApiRow> rows, std::array<void*, kJobApiObjectCount> objects)
        : rows_(rows), objects_(objects) {}

    std::span<const TJobApiRow> rows_;
    std::array<void*, kJobApiObjectCount> objects_{};
};

}  // namespace tv

#pragma once
// Import units as data: one table per unit lists, in the compile order, its types, constants, classes
// and members with their declaration texts exactly as scripts see them, and per member how the run
// side binds it. One routine declares a unit to the compiler, one binds it on the run side.

#include <cstdint>
#include <span>
#include <string_view>

#include "script/compiler/host_classes.h"
#include "script/runtime/class_binding.h"
#include "script/runtime/runtime_class_importer.h"

namespace tv::script {
class TPSPascalCompiler;
class TPSExec;
struct TProcRec;
}  // namespace tv::script

namespace tv::script::units {

enum class TRowKind : uint8_t {
    Type,      // Name = Text (a declaration the compiler parses)
    BaseType,  // Name: a type of base type code Value, its name exported
    Constant,  // Name of type Text with value Value (a character's code for Char)
    Class,     // Name with the parent Text (none when empty); an existing class is taken as it is
    Method,    // of the class Owner: the declaration Text
    Property,  // of the class Owner: Name with the type string Text and the access Value
    Default,   // of the class Owner: Name is its default property
    Routine,   // a host routine: the declaration Text; the run side registers it by name
};

// How the run side binds a member.
enum class TBind : uint8_t {
    None,                // not bound: a script that uses it does not load
    Direct,              // RegisterMethod
    Virtual,             // RegisterVirtualMethod
    VirtualThrough,      // RegisterVirtualAbstractMethod, located through the class Through
    Constructor,         // RegisterConstructor
    VirtualConstructor,  // RegisterVirtualConstructor
    Pair,                // RegisterPropertyHelper (Code reads, Code2 writes; either may be absent)
    EventPair,           // RegisterEventPropertyHelper
    Published,           // served by the class's published property of that name
};

struct TImportRow {
    TRowKind Kind = TRowKind::Type;
    std::string_view Owner;
    std::string_view Name;
    std::string_view Text;
    int64_t Value = 0;
    bool Streams = false;  // left out when the unit is registered without streams
    TBind Bind = TBind::None;
    TPSMemberCode Code{}, Code2{};
    std::string_view Through;
    TProcRec* (*Register)(TPSExec&, std::string_view) = nullptr;  // a routine's binding
    const TClassInfo& (*Info)() = nullptr;                        // a class: the host class
};

struct TImportUnit {
    std::string_view Name;
    std::span<const TImportRow> Rows;
    // The classes (or routines) in the order the run side registers them.
    std::span<const std::string_view> RunOrder;
};

// Row makers, so that a table reads as the declarations do.
constexpr TImportRow Type(std::string_view name, std::string_view decl) {
    return {.Kind = TRowKind::Type, .Name = name, .Text = decl};
}
constexpr TImportRow BaseType(std::string_view name, uint8_t baseType) {
    return {.Kind = TRowKind::BaseType, .Name = name, .Value = baseType};
}
constexpr TImportRow Constant(std::string_view name, std::string_view type, int64_t value) {
    return {.Kind = TRowKind::Constant, .Name = name, .Text = type, .Value = value};
}
constexpr TImportRow Class(std::string_view name, std::string_view parent, const TClassInfo& (*info)()) {
    return {.Kind = TRowKind::Class, .Name = name, .Text = parent, .Info = info};
}
constexpr TImportRow Member(std::string_view owner, std::string_view decl, TBind bind,
                            TPSMemberCode code = {}, std::string_view through = {}) {
    return {.Kind = TRowKind::Method,
            .Owner = owner,
            .Text = decl,
            .Bind = bind,
            .Code = code,
            .Through = through};
}
constexpr TImportRow Property(std::string_view owner, std::string_view name, std::string_view types,
                              TPSPropType access, TBind bind, TPSMemberCode read = {},
                              TPSMemberCode write = {}) {
    return {.Kind = TRowKind::Property,
            .Owner = owner,
            .Name = name,
            .Text = types,
            .Value = access,
            .Bind = bind,
            .Code = read,
            .Code2 = write};
}
constexpr TImportRow Default(std::string_view owner, std::string_view name) {
    return {.Kind = TRowKind::Default, .Owner = owner, .Name = name};
}
constexpr TImportRow Routine(std::string_view decl, std::string_view name,
                             TProcRec* (*reg)(TPSExec&, std::string_view)) {
    return {.Kind = TRowKind::Routine, .Name = name, .Text = decl, .Register = reg};
}
// A row of the stream classes and members.
constexpr TImportRow Streamed(TImportRow row) {
    row.Streams = true;
    return row;
}

// Declares the unit to the compiler (only while a compile asks for its units).
void CompileImport(TPSPascalCompiler& c, const TImportUnit& unit, bool streams);
// Binds the unit's classes on the run side, in its run order.
void ExecImport(TPSRuntimeClassImporter& ri, const TImportUnit& unit, bool streams);
// Registers the unit's routines on the executor, in its run order.
void ExecImportRoutines(TPSExec& exec, const TImportUnit& unit);

// The member name a declaration text declares ("function Add(S: string): Integer;" -> "Add").
std::string_view DeclaredName(std::string_view decl);

}  // namespace tv::script::units

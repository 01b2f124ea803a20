#pragma once
// How compiled scripts reach host objects: the special importers of "class:" declarations (members of
// registered classes, casts, nil) and "intf:" declarations (interface methods by slot), and the
// handlers they install. Every handler checks Self before it is used: nil is the script's "Null
// Pointer Exception", a freed object a script exception, never a crash.

#include <cstdint>
#include <string_view>

#include "platform/rtl/interface.h"
#include "script/runtime/runtime_class_importer.h"

namespace tv {
class TObject;
}

namespace tv::script {

class TPSExternalProcRec;
struct TPSVariant;

inline constexpr std::string_view kCannotCastInterface = "Cannot cast an interface";
inline constexpr std::string_view kCannotCastObject = "Cannot cast an object";

// The "class" special importer; its tag is the TPSRuntimeClassImporter.
bool ClassImporter(TPSExec& sender, TPSExternalProcRec& p, void* tag);
// The "intf" special importer (no tag); every executor has it.
bool InterfaceImporter(TPSExec& sender, TPSExternalProcRec& p, void* tag);

// Methods of host interfaces, called by scripts by their slot in the interface's method table
// (slots 0 to 2 are the identity query and the two counts, an interface's own methods follow).
// The typed routine gets the interface the object answers for `iid` as its Self (class_binding.h,
// InterfaceMethod). Registrations are for the whole process; a later one for a slot replaces it.
void RegisterInterfaceMethod(const TGUID& iid, uint32_t slot, TPSMemberCode code);

// Stores `obj` as the value of a global variable of a class type; other variables are left alone.
void SetVariableToInstance(TPSVariant* variable, TObject* obj);

}  // namespace tv::script

#pragma once
// Script values to variants and back: a value of any type that has a variant form becomes a
// variant (arrays become variant arrays), and a variant is stored into a stack item with the
// executor's converting assignment.

#include <cstdint>

#include "platform/rtl/variant.h"
#include "script/runtime/stack.h"

namespace tv::script {

class TPSExec;

// False when the type has no variant form (records, sets, classes, procedure values ...); a nil
// type gives Null.
bool ValueToVariant(const void* data, const TPSTypeRec* t, Variant& out);
bool StackItemToVariant(TPSVariant* item, Variant& out);
// A variant array with bounds 0..count-1 of the elements' variant forms; the first element without
// one stops with false.
bool ArrayToVariantArray(const void* elements, const TPSTypeRec* elemType, int32_t count, Variant& out);
// Stores v into the item's value (or the target of a Pointer item).
bool VariantToStackItem(TPSExec& exec, const Variant& v, TPSVariant* item);

}  // namespace tv::script

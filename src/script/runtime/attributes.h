#pragma once
// Run-time attributes: named lists of typed values that a container attaches to types and
// procedures, and the attribute types a host registers to check them while a container loads.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "script/runtime/stack.h"

namespace tv::script {

class TPSExec;
class TPSRuntimeAttributes;

class TPSRuntimeAttribute {
public:
    explicit TPSRuntimeAttribute(TPSRuntimeAttributes* owner) : FOwner(owner) {}

    // Pushes a new value of type t and returns it.
    TPSVariant* AddValue(const TPSTypeRec* t) { return FValues.PushType(t); }
    // Removes the last value; any other index raises "Can only remove last item from stack".
    void DeleteValue(int32_t i);
    void AdjustSize() {}
    int32_t ValueCount() const { return FValues.Count(); }
    TPSVariant* Value(int32_t i) const { return FValues.GetItem(i); }

    TPSStack FValues;
    std::string FAttribType;
    TPSRuntimeAttributes* FOwner;
    uint32_t FAttribTypeHash = 0;
};

class TPSRuntimeAttributes {
public:
    explicit TPSRuntimeAttributes(TPSExec* owner) : FOwner(owner) {}
    ~TPSRuntimeAttributes();

    TPSRuntimeAttribute* Add();
    void Delete(int32_t i);
    // The first attribute whose stored type name is the upper-cased name; nil when none.
    TPSRuntimeAttribute* FindAttribute(std::string_view name) const;
    int32_t Count() const { return static_cast<int32_t>(FAttributes.size()); }
    TPSRuntimeAttribute* Item(int32_t i) const { return FAttributes[static_cast<size_t>(i)].get(); }

    std::vector<std::unique_ptr<TPSRuntimeAttribute>> FAttributes;
    TPSExec* FOwner;
};

// A registered attribute type: its use routine is asked about every attribute of that type a
// container carries; false refuses the container.
using TPSAttributeUseProc =
    std::function<bool(TPSExec& sender, const std::string& attribType, TPSRuntimeAttribute& attr)>;

struct TPSRuntimeAttributeType {
    std::string FTypeName;
    TPSAttributeUseProc FUseProc;
    uint32_t FTypeNameHash = 0;
};

}  // namespace tv::script

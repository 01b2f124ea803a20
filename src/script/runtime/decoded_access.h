#pragma once
// Fields and elements read in place by decoded code: the variable followed to its target, the
// position read and checked, and the value's address taken in one step, as the general way
// (ReadPlace) finds them when nothing goes wrong. Whatever goes wrong gives nil and changes
// nothing: the instruction then runs the general way, which records the error at its position.

#include "script/runtime/exec.h"
#include "script/runtime/quick_ops.h"
#include "script/runtime/value_access.h"

namespace tv::script {

namespace decoded {
// A Pointer value (data of type `type`) followed to its target; anything else stays. False for a
// Pointer to nothing.
[[gnu::always_inline]] inline bool FollowTarget(void*& data, const TPSTypeRec*& type) {
    if (type->FBaseType != btPointer) return true;
    const auto p = Load<PointerValue>(data);
    if (!p.Data || !p.Type) return false;
    data = p.Data;
    type = p.Type;
    return true;
}
}  // namespace decoded

[[gnu::always_inline]] inline bool TPSExec::SelectDecoded(const decoded::Operand& o, void*& data,
                                                          const TPSTypeRec*& type) const {
    TPSVariant* item = o.Base.Item ? o.Base.Item : FStack.ItemAt(FCurrStackBase, o.Base.Offset);
    if (!item) return false;
    data = item->Data();
    type = item->FType;
    if (!decoded::FollowTarget(data, type)) return false;
    uint32_t index = o.Index;
    if (o.Select == decoded::Selector::VariableIndex) {
        TPSVariant* iv = o.IndexVar.Item ? o.IndexVar.Item : FStack.ItemAt(FCurrStackBase, o.IndexVar.Offset);
        if (!iv) return false;
        const uint8_t it = iv->FType->FBaseType;
        if (it == btS32) {
            index = Load<uint32_t>(iv->Data());
        } else {
            if (!IsNarrowIntegerCode(it)) return false;
            int64_t v = 0;
            LoadInteger(iv->Data(), it, v);
            index = static_cast<uint32_t>(v);
        }
    }
    return quick::SelectElement(data, type, index);
}

[[gnu::always_inline]] inline void* TPSExec::ElementPlace(const decoded::Operand& o, uint8_t& code) const {
    void* data = nullptr;
    const TPSTypeRec* type = nullptr;
    if (!SelectDecoded(o, data, type) || !decoded::FollowTarget(data, type)) return nullptr;
    code = type->FBaseType;
    return data;
}

}  // namespace tv::script

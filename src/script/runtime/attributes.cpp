#include "script/runtime/attributes.h"

#include "script/common/names.h"
#include "script/runtime/errors.h"

namespace tv::script {

void TPSRuntimeAttribute::DeleteValue(int32_t i) {
    if (i != FValues.Count() - 1) throw Exception(std::string(kOnlyLastItem));
    FValues.Pop();
}

TPSRuntimeAttributes::~TPSRuntimeAttributes() {
    while (!FAttributes.empty()) FAttributes.pop_back();
}

TPSRuntimeAttribute* TPSRuntimeAttributes::Add() {
    FAttributes.push_back(std::make_unique<TPSRuntimeAttribute>(this));
    return FAttributes.back().get();
}

void TPSRuntimeAttributes::Delete(int32_t i) {
    if (i >= 0 && i < Count()) FAttributes.erase(FAttributes.begin() + i);
}

TPSRuntimeAttribute* TPSRuntimeAttributes::FindAttribute(std::string_view name) const {
    const std::string upper = AsciiUpperCase(name);
    const uint32_t hash = HashName(upper);
    for (const auto& a : FAttributes)
        if (a->FAttribTypeHash == hash && a->FAttribType == upper) return a.get();
    return nullptr;
}

}  // namespace tv::script

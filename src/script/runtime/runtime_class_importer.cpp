#include "script/runtime/runtime_class_importer.h"

#include "platform/rtl/class_info.h"
#include "script/common/names.h"
#include "script/runtime/class_bridge.h"
#include "script/runtime/exec.h"

namespace tv::script {

TPSRuntimeClass::TPSRuntimeClass(const TClassInfo& aClass, std::string_view name)
    : fClassName(AsciiUpperCase(name.empty() ? std::string_view(aClass.Name()) : name)),
      fClassNameHash(HashName(fClassName)),
      fClass(&aClass) {}

void TPSRuntimeClass::Append(uint8_t kind, TPSMemberCode ptr, TPSMemberCode read, TPSMemberCode write,
                             std::string_view name) {
    TClassItem item;
    item.FName = AsciiUpperCase(name);
    item.FNameHash = HashName(item.FName);
    item.b = kind;
    item.Ptr = ptr;
    item.FReadFunc = read;
    item.FWriteFunc = write;
    fItems.push_back(std::move(item));
}

void TPSRuntimeClass::RegisterConstructor(TPSMemberCode code, std::string_view name) {
    Append(ikConstructor, code, {}, {}, name);
}

void TPSRuntimeClass::RegisterMethod(TPSMemberCode code, std::string_view name) {
    Append(ikMethod, code, {}, {}, name);
}

void TPSRuntimeClass::RegisterVirtualMethod(TPSMemberCode code, std::string_view name) {
    Append(ikVirtualMethod, code, {}, {}, name);
}

void TPSRuntimeClass::RegisterVirtualAbstractMethod(const TClassInfo&, TPSMemberCode code,
                                                    std::string_view name) {
    // The typed routine calls through the object, so the concrete class is not needed to find it.
    Append(ikVirtualMethod, code, {}, {}, name);
}

void TPSRuntimeClass::RegisterVirtualConstructor(TPSMemberCode code, std::string_view name) {
    Append(ikVirtualConstructor, code, {}, {}, name);
}

void TPSRuntimeClass::RegisterPropertyHelper(TPSMemberCode read, TPSMemberCode write, std::string_view name) {
    Append(ikProperty, {}, read, write, name);
}

void TPSRuntimeClass::RegisterEventPropertyHelper(TPSMemberCode read, TPSMemberCode write,
                                                  std::string_view name) {
    Append(ikEventProperty, {}, read, write, name);
}

void TPSRuntimeClass::RegisterPropertyHelperName(TPSMemberCode read, TPSMemberCode write,
                                                 std::string_view name) {
    Append(ikPropertyWithName, {}, read, write, name);
}

const TClassItem* TPSRuntimeClass::FindItem(std::string_view upperName, uint32_t hash) const {
    for (auto it = fItems.rbegin(); it != fItems.rend(); ++it)
        if (it->FNameHash == hash && it->FName == upperName) return &*it;
    return nullptr;
}

// ---- the registry

TPSRuntimeClassImporter::~TPSRuntimeClassImporter() = default;

TPSRuntimeClassImporter* TPSRuntimeClassImporter::CreateAndRegister(TPSExec& exec, bool autoFree) {
    auto* ri = new TPSRuntimeClassImporter();
    exec.AddSpecialProcImport(kClassImporterName, ClassImporter, ri,
                              autoFree ? std::shared_ptr<TPSRuntimeClassImporter>(ri) : nullptr);
    return ri;
}

void TPSRuntimeClassImporter::RegisterOn(TPSExec& exec) {
    exec.AddSpecialProcImport(kClassImporterName, ClassImporter, this);
}

TPSRuntimeClass* TPSRuntimeClassImporter::Add(const TClassInfo& aClass) {
    return Add2(aClass, aClass.Name());
}

TPSRuntimeClass* TPSRuntimeClassImporter::Add2(const TClassInfo& aClass, std::string_view name) {
    if (TPSRuntimeClass* found = FindClass(name)) return found;
    fClasses.push_back(std::make_unique<TPSRuntimeClass>(aClass, name));
    return fClasses.back().get();
}

TPSRuntimeClass* TPSRuntimeClassImporter::FindClass(std::string_view name) const {
    const std::string upper = AsciiUpperCase(name);
    const uint32_t hash = HashName(upper);
    for (auto it = fClasses.rbegin(); it != fClasses.rend(); ++it)
        if ((*it)->FClassNameHash() == hash && (*it)->FClassName() == upper) return it->get();
    return nullptr;
}

void TPSRuntimeClassImporter::Clear() {
    fClasses.clear();
}

const TClassInfo* TPSRuntimeClassImporter::FindHostClass(std::string_view name) const {
    const TPSRuntimeClass* c = FindClass(name);
    return c ? &c->FClass() : nullptr;
}

}  // namespace tv::script

#include "platform/rtl/class_info.h"

#include <mutex>

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/rtl_classes.h"

namespace tv {

bool TClassInfo::InheritsFrom(const TClassInfo& cls) const {
    for (const TClassInfo* c = this; c; c = c->fParent)
        if (c == &cls) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->fParent)
        for (const TPropInfo& p : c->fProps)
            if (SameTextAscii(p.Name, name)) return &p;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->fParent) chain.push_back(c);
    std::vector<const TPropInfo*> result;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const TPropInfo& p : (*it)->fProps) result.push_back(&p);
    return result;
}

TClassInfo::Factory TClassInfo::FindFactory(const std::type_info& sig) const {
    for (const FactoryEntry& f : fFactories)
        if (*f.Sig == sig) return f.Fn;
    return nullptr;
}

void TClassInfo::ThrowCannotConstruct() const {
    throw EAbstractError("Cannot create an instance of " + fName + " this way");
}

namespace {

struct ClassRegistry {
    std::mutex lock;
    std::vector<const TClassInfo*> classes;
};

ClassRegistry& Classes() {
    static ClassRegistry* r = [] {
        auto* reg = new ClassRegistry;
        for (const TClassInfo* c : RtlClasses()) reg->classes.push_back(c);
        return reg;
    }();
    return *r;
}

}  // namespace

void RegisterClass(const TClassInfo& cls) {
    ClassRegistry& r = Classes();
    std::lock_guard g(r.lock);
    for (const TClassInfo* c : r.classes)
        if (c == &cls) return;
    r.classes.push_back(&cls);
}

const TClassInfo* GetClass(std::string_view name) {
    ClassRegistry& r = Classes();
    std::lock_guard g(r.lock);
    for (auto it = r.classes.rbegin(); it != r.classes.rend(); ++it)
        if (SameTextAscii((*it)->Name(), name)) return *it;
    return nullptr;
}

const TClassInfo& FindClass(std::string_view name) {
    if (const TClassInfo* c = GetClass(name)) return *c;
    throw EClassNotFound("Class " + std::string(name) + " not found");
}

}  // namespace tv

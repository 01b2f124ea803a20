#include "platform/rtl/prop_path.h"

#include "platform/rtl/type_info.h"

namespace tv {

namespace {

// The object and the property that the last part of `path` names.
std::pair<TObject*, const TPropInfo*> Resolve(TObject& obj, std::string_view path) {
    TObject* target = &obj;
    std::string rest(path);
    ResolvePropPath(target, rest);
    return {target, &FindPublished(*target, rest)};
}

[[noreturn]] void WrongKind(const TPropInfo& prop, std::string_view kind) {
    throw EPropertyError("Property " + prop.Name + " is not " + std::string(kind));
}

}  // namespace

const TPropInfo& FindPublished(const TObject& obj, std::string_view name) {
    const TPropInfo* prop = obj.ClassInfo().FindProperty(name);
    if (!prop) throw EPropertyError("Class " + obj.ClassName() + " has no property " + std::string(name));
    return *prop;
}

void ResolvePropPath(TObject*& obj, std::string& path) {
    for (size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.')) {
        const TPropInfo& prop = FindPublished(*obj, std::string_view(path).substr(0, dot));
        if (!prop.GetObj) WrongKind(prop, "an object property");
        TObject* next = prop.GetObj(*obj);
        if (!next) throw EPropertyError("Property " + prop.Name + " holds no object");
        obj = next;
        path.erase(0, dot + 1);
    }
}

std::string GetPathEnumProp(TObject& obj, std::string_view path) {
    auto [target, prop] = Resolve(obj, path);
    if (!prop->GetOrd || !prop->PropType || prop->PropType->Kind != TTypeKind::Enumeration)
        WrongKind(*prop, "an enumeration");
    const int64_t ordinal = prop->GetOrd(*target);
    const auto& names = prop->PropType->EnumNames;
    if (ordinal < 0 || ordinal >= static_cast<int64_t>(names.size()))
        throw EPropertyError("Property " + prop->Name + " holds no value of its enumeration");
    return names[static_cast<size_t>(ordinal)];
}

std::string GetPathWideStrProp(TObject& obj, std::string_view path) {
    auto [target, prop] = Resolve(obj, path);
    if (!prop->GetStr) WrongKind(*prop, "a readable text");
    return prop->GetStr(*target);
}

void SetPathWideStrProp(TObject& obj, std::string_view path, const std::string& value) {
    auto [target, prop] = Resolve(obj, path);
    if (!prop->SetStr) WrongKind(*prop, "a writable text");
    prop->SetStr(*target, value);
}

TObject* GetPathObjectProp(TObject& obj, std::string_view path) {
    auto [target, prop] = Resolve(obj, path);
    if (!prop->GetObj) WrongKind(*prop, "an object property");
    return prop->GetObj(*target);
}

}  // namespace tv

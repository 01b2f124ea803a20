#pragma once
// Classes of the class library at run time: name, parent, the constructors a class offers (so that
// the class named by a script or a form description builds its own kind of object) and its published
// properties with getters and setters. Classes are found by name once registered.

#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "platform/rtl/event.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/object.h"

namespace tv {

class TComponent;
class TCollection;

TV_DECLARE_EXCEPTION(EClassNotFound, Exception);  // no class of that name is registered
TV_DECLARE_EXCEPTION(EPropertyError, Exception);  // a property that cannot be read or written so
TV_DECLARE_EXCEPTION(EAbstractError, Exception);  // an abstract method, or a class that cannot be built so

// A published property. Only the accessors of the property type's kind are set: ordinals (integers,
// characters, enumerations, sets as their bits, Int64), floats, strings (UTF-8), classes and
// methods. An empty getter or setter means the property cannot be read or written.
struct TPropInfo {
    std::string Name;
    const TTypeInfo* PropType = nullptr;

    std::function<int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, int64_t)> SetOrd;
    std::function<double(const TObject&)> GetFloat;
    std::function<void(TObject&, double)> SetFloat;
    std::function<std::string(const TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<TObject*(const TObject&)> GetObj;
    std::function<void(TObject&, TObject*)> SetObj;
    std::function<TMethod(const TObject&)> GetMethod;
    std::function<void(TObject&, TMethod)> SetMethod;

    bool Readable() const { return GetOrd || GetFloat || GetStr || GetObj || GetMethod; }
    bool Writable() const { return SetOrd || SetFloat || SetStr || SetObj || SetMethod; }
};

class TClassInfo {
public:
    using Factory = void (*)();

    const std::string& Name() const { return fName; }
    const TClassInfo* Parent() const { return fParent; }
    bool InheritsFrom(const TClassInfo& cls) const;
    bool IsInstance(const TObject* obj) const { return obj && obj->ClassInfo().InheritsFrom(*this); }

    // The published property of that name, compared without case, this class's own first.
    const TPropInfo* FindProperty(std::string_view name) const;
    // Every published property, the root class's first.
    std::vector<const TPropInfo*> Properties() const;
    const std::vector<TPropInfo>& OwnProperties() const { return fProps; }

    // Builds an object of this very class with the constructor taking exactly these argument types:
    // Construct() is the plain constructor, Construct<TComponent*>(owner) a component's.
    template <class... A>
    bool CanConstruct() const {
        return FindFactory(typeid(TObject * (*)(A...))) != nullptr;
    }
    template <class... A>
    TObject* Construct(A... args) const {
        Factory f = FindFactory(typeid(TObject * (*)(A...)));
        if (!f) ThrowCannotConstruct();
        return reinterpret_cast<TObject* (*)(A...)>(f)(args...);
    }

private:
    template <class C>
    friend class TClassBuilder;
    Factory FindFactory(const std::type_info& sig) const;
    [[noreturn]] void ThrowCannotConstruct() const;

    struct FactoryEntry {
        const std::type_info* Sig;
        Factory Fn;
    };
    std::string fName;
    const TClassInfo* fParent = nullptr;
    std::vector<TPropInfo> fProps;
    std::vector<FactoryEntry> fFactories;
};

// Classes found by name (compared without case): every class of this library is known; other
// libraries register theirs. GetClass gives nil for an unknown name, FindClass raises EClassNotFound.
void RegisterClass(const TClassInfo& cls);
const TClassInfo* GetClass(std::string_view name);
const TClassInfo& FindClass(std::string_view name);

namespace detail {
template <class V>
int64_t ToOrdinal(const V& v) {
    if constexpr (std::is_enum_v<V>)
        return static_cast<int64_t>(v);
    else if constexpr (std::is_same_v<V, char>)
        return static_cast<unsigned char>(v);
    else if constexpr (requires { v.Bits(); })
        return static_cast<int64_t>(v.Bits());
    else
        return static_cast<int64_t>(v);
}
template <class V>
V FromOrdinal(int64_t n) {
    if constexpr (std::is_same_v<V, bool>)
        return n != 0;
    else if constexpr (requires { V::FromBits(0); })
        return V::FromBits(static_cast<uint64_t>(n));
    else
        return static_cast<V>(n);
}
template <class C>
const C& Downcast(const TObject& o, const std::string& prop) {
    if (auto* c = dynamic_cast<const C*>(&o)) return *c;
    throw EPropertyError("Property " + prop + " does not belong to class " + o.ClassName());
}
template <class C>
C& Downcast(TObject& o, const std::string& prop) {
    return const_cast<C&>(Downcast<C>(static_cast<const TObject&>(o), prop));
}
}  // namespace detail

// Describes class C (declared with TV_CLASS): its name, its published properties and the
// constructors found on it. A getter is a const member function, a field or a callable taking
// const C&; a setter a member function, a field or a callable taking C& and the value; nullptr
// leaves the property read-only.
template <class C>
class TClassBuilder {
public:
    explicit TClassBuilder(std::string name) {
        fInfo.fName = std::move(name);
        if constexpr (!std::is_same_v<C, TObject>) fInfo.fParent = &C::inherited::StaticClassInfo();
        if constexpr (std::is_constructible_v<C>) Constructor<>();
        if constexpr (std::is_constructible_v<C, TComponent*>) Constructor<TComponent*>();
        if constexpr (std::is_constructible_v<C, TCollection*>) Constructor<TCollection*>();
    }

    template <class... A>
    TClassBuilder& Constructor() {
        TObject* (*fn)(A...) = [](A... args) -> TObject* { return new C(args...); };
        fInfo.fFactories.push_back({&typeid(TObject * (*)(A...)), reinterpret_cast<TClassInfo::Factory>(fn)});
        return *this;
    }

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Published(std::string name, G getter, S setter = nullptr) {
        using V = std::remove_cvref_t<std::invoke_result_t<G, const C&>>;
        constexpr bool canSet = !std::is_same_v<S, std::nullptr_t>;
        TPropInfo p;
        p.Name = std::move(name);
        p.PropType = &TypeInfoOf<V>();
        const std::string n = p.Name;
        auto get = [getter, n](const TObject& o) -> V {
            return std::invoke(getter, detail::Downcast<C>(o, n));
        };
        auto set = [setter, n](TObject& o, auto v) {
            C& c = detail::Downcast<C>(o, n);
            if constexpr (std::is_member_object_pointer_v<S>)
                c.*setter = std::move(v);
            else
                std::invoke(setter, c, std::move(v));
        };
        if constexpr (std::is_floating_point_v<V>) {
            p.GetFloat = [get](const TObject& o) { return static_cast<double>(get(o)); };
            if constexpr (canSet) p.SetFloat = [set](TObject& o, double v) { set(o, static_cast<V>(v)); };
        } else if constexpr (std::is_same_v<V, std::string>) {
            p.GetStr = get;
            if constexpr (canSet) p.SetStr = [set](TObject& o, const std::string& v) { set(o, v); };
        } else if constexpr (std::is_pointer_v<V>) {
            p.GetObj = [get](const TObject& o) -> TObject* { return get(o); };
            if constexpr (canSet)
                p.SetObj = [set, n](TObject& o, TObject* v) {
                    auto* t = dynamic_cast<V>(v);
                    if (v && !t) throw EPropertyError("Invalid class for property " + n);
                    set(o, t);
                };
        } else if constexpr (requires(const V& v) { v.Method(); }) {
            p.GetMethod = [get](const TObject& o) { return get(o).Method(); };
            static_assert(std::is_member_object_pointer_v<G>, "an event property is a field");
            p.SetMethod = [getter, n](TObject& o, TMethod m) {
                (detail::Downcast<C>(o, n).*getter).SetMethod(m);
            };
        } else {
            p.GetOrd = [get](const TObject& o) { return detail::ToOrdinal(get(o)); };
            if constexpr (canSet)
                p.SetOrd = [set](TObject& o, int64_t v) { set(o, detail::FromOrdinal<V>(v)); };
        }
        fInfo.fProps.push_back(std::move(p));
        return *this;
    }

    TClassInfo Build() { return std::move(fInfo); }

private:
    TClassInfo fInfo;
};

}  // namespace tv

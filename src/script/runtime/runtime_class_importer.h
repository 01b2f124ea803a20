#pragma once
// The run side of host classes: the registry of the host classes one script run may use, and per
// class its members (methods, constructors, property routines, event property routines) as typed
// routines that read their arguments from the value stack. The "class" special importer binds a
// script's member calls to them at load time (class_bridge.h); the import units fill it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/runtime/class_registry.h"
#include "script/runtime/proc_rec.h"

namespace tv {
class TClassInfo;
}

namespace tv::script {

class TPSExec;

// Kinds of class members, as the binding records them.
enum TPSRuntimeItemKind : uint8_t {
    ikMethod = 0,
    ikVirtualMethod = 1,
    ikProperty = 3,
    ikConstructor = 4,
    ikVirtualConstructor = 5,
    ikEventProperty = 6,
    ikPropertyWithName = 7,
};

// A typed routine behind a member, made by the templates of class_binding.h. Proc reads its
// arguments where the member's kind puts them on the stack. Signature is what a script's
// declaration must say for it: for methods and constructors the result flag and one by-reference
// flag per parameter; for property routines IndexCount is the number of index parameters.
struct TPSMemberCode {
    TPSProcPtr Proc = nullptr;
    std::string_view Signature;
    int32_t IndexCount = 0;
    explicit operator bool() const { return Proc != nullptr; }
};

// One registered member.
struct TClassItem {
    std::string FName;  // upper case
    uint32_t FNameHash = 0;
    uint8_t b = ikMethod;                 // TPSRuntimeItemKind
    TPSMemberCode Ptr;                    // methods and constructors
    TPSMemberCode FReadFunc, FWriteFunc;  // property routines; either may be absent
};

// The binding of one host class.
class TPSRuntimeClass {
public:
    // `name` empty: the class's own name.
    TPSRuntimeClass(const TClassInfo& aClass, std::string_view name);

    // Each registration appends an item under the upper-cased name; a name registered twice keeps
    // both, and binding takes the later one. Virtual members run the override of the object's own
    // class (the typed routine calls through the object); "located through a class" names the
    // concrete class that implements what this class leaves abstract and is otherwise the same.
    void RegisterConstructor(TPSMemberCode code, std::string_view name);
    void RegisterMethod(TPSMemberCode code, std::string_view name);
    void RegisterVirtualMethod(TPSMemberCode code, std::string_view name);
    void RegisterVirtualAbstractMethod(const TClassInfo& classDef, TPSMemberCode code, std::string_view name);
    void RegisterVirtualConstructor(TPSMemberCode code, std::string_view name);
    void RegisterPropertyHelper(TPSMemberCode read, TPSMemberCode write, std::string_view name);
    void RegisterEventPropertyHelper(TPSMemberCode read, TPSMemberCode write, std::string_view name);
    void RegisterPropertyHelperName(TPSMemberCode read, TPSMemberCode write, std::string_view name);

    // The item of that upper-case name and hash, the last registered first; nil when none.
    const TClassItem* FindItem(std::string_view upperName, uint32_t hash) const;

    const std::string& FClassName() const { return fClassName; }
    uint32_t FClassNameHash() const { return fClassNameHash; }
    const TClassInfo& FClass() const { return *fClass; }
    const std::vector<TClassItem>& FClassItems() const { return fItems; }

private:
    void Append(uint8_t kind, TPSMemberCode ptr, TPSMemberCode read, TPSMemberCode write,
                std::string_view name);

    std::string fClassName;
    uint32_t fClassNameHash = 0;
    std::vector<TClassItem> fItems;
    const TClassInfo* fClass;
};

// The host classes of one script run. Installed on an executor as the tag of the "class" special
// importer, it also tells the operators "is" and "as" which host class a script class names.
class TPSRuntimeClassImporter : public TPSClassRegistry {
public:
    TPSRuntimeClassImporter() = default;
    ~TPSRuntimeClassImporter() override;
    TPSRuntimeClassImporter(const TPSRuntimeClassImporter&) = delete;
    TPSRuntimeClassImporter& operator=(const TPSRuntimeClassImporter&) = delete;

    // Creates a registry and installs it as the "class" importer of `exec`. With `autoFree` the
    // executor owns it and frees it with that importer entry (when the executor goes, or its special
    // importers are cleared); without, the caller keeps it alive while scripts using it are loaded.
    static TPSRuntimeClassImporter* CreateAndRegister(TPSExec& exec, bool autoFree);
    // Installs this registry as the "class" importer of `exec` (the caller keeps it).
    void RegisterOn(TPSExec& exec);

    // The class registered under the class's own name, created when there is none.
    TPSRuntimeClass* Add(const TClassInfo& aClass);
    // The same under another name.
    TPSRuntimeClass* Add2(const TClassInfo& aClass, std::string_view name);
    // The class of that name (any case), the last registered first; nil when none.
    TPSRuntimeClass* FindClass(std::string_view name) const;
    void Clear();
    size_t Count() const { return fClasses.size(); }

    const TClassInfo* FindHostClass(std::string_view name) const override;

private:
    std::vector<std::unique_ptr<TPSRuntimeClass>> fClasses;
};

}  // namespace tv::script

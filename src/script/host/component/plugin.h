#pragma once
// Import plug-ins of the script component: each contributes an import unit, declared to the compiler
// and bound on the run side at fixed points of every compile, and the collection that lists them on a
// component (an item refers to a plug-in component it does not own).

#include <string>

#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"

namespace tv::script {

class TPSScript;
class TPSRuntimeClassImporter;

// The base of import plug-ins; every step does nothing here.
class TPSPlugin : public TComponent {
    TV_CLASS(TPSPlugin, TComponent)
public:
    explicit TPSPlugin(TComponent* owner = nullptr) : TComponent(owner) {}

    virtual void CompOnUses(TPSScript& compExec);
    virtual void ExecOnUses(TPSScript& compExec);
    virtual void CompileImport1(TPSScript& compExec);
    virtual void CompileImport2(TPSScript& compExec);
    virtual void ExecImport1(TPSScript& compExec, TPSRuntimeClassImporter& ri);
    virtual void ExecImport2(TPSScript& compExec, TPSRuntimeClassImporter& ri);
};

class TPSPluginItem : public TCollectionItem {
    TV_CLASS(TPSPluginItem, TCollectionItem)
public:
    explicit TPSPluginItem(TCollection* collection = nullptr) : TCollectionItem(collection) {}

    TPSPlugin* Plugin() const { return fPlugin; }
    // Stores the plug-in and asks it to tell the owning script when it is freed.
    void SetPlugin(TPSPlugin* plugin);
    void Assign(TPersistent* source) override;
    // The plug-in's component name, "<nil>" without a plug-in.
    std::string DisplayName() const override;

private:
    TPSPlugin* fPlugin = nullptr;
};

class TPSPlugins : public TCollection {
    TV_CLASS(TPSPlugins, TCollection)
public:
    explicit TPSPlugins(TPSScript* compExec = nullptr);
    TPersistent* Owner() const override;
    TPSScript* CompExec() const { return fCompExec; }
    TPSPluginItem* Items(int index) const;
    // A new item referring to `plugin`.
    TPSPluginItem* Add(TPSPlugin* plugin);

private:
    TPSScript* fCompExec;
};

}  // namespace tv::script

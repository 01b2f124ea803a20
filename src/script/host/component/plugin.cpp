#include "script/host/component/plugin.h"

#include "platform/rtl/class_info.h"
#include "script/host/component/script.h"

namespace tv::script {

namespace {
constexpr std::string_view kNoPlugin = "<nil>";
}

const TClassInfo& TPSPlugin::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPSPlugin>("TPSPlugin").Build();
    return info;
}

void TPSPlugin::CompOnUses(TPSScript&) {}
void TPSPlugin::ExecOnUses(TPSScript&) {}
void TPSPlugin::CompileImport1(TPSScript&) {}
void TPSPlugin::CompileImport2(TPSScript&) {}
void TPSPlugin::ExecImport1(TPSScript&, TPSRuntimeClassImporter&) {}
void TPSPlugin::ExecImport2(TPSScript&, TPSRuntimeClassImporter&) {}

const TClassInfo& TPSPluginItem::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPSPluginItem>("TPSPluginItem")
                                       .Published("Plugin", &TPSPluginItem::Plugin, &TPSPluginItem::SetPlugin)
                                       .Build();
    return info;
}

void TPSPluginItem::SetPlugin(TPSPlugin* plugin) {
    fPlugin = plugin;
    auto* plugins = dynamic_cast<TPSPlugins*>(Collection());
    if (plugin && plugins && plugins->CompExec()) plugin->FreeNotification(plugins->CompExec());
    Changed(false);
}

void TPSPluginItem::Assign(TPersistent* source) {
    if (auto* item = dynamic_cast<TPSPluginItem*>(source)) {
        SetPlugin(item->Plugin());
        return;
    }
    TCollectionItem::Assign(source);
}

std::string TPSPluginItem::DisplayName() const {
    return fPlugin ? fPlugin->Name() : std::string(kNoPlugin);
}

const TClassInfo& TPSPlugins::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPSPlugins>("TPSPlugins").Build();
    return info;
}

TPSPlugins::TPSPlugins(TPSScript* compExec)
    : TCollection(TPSPluginItem::StaticClassInfo()), fCompExec(compExec) {}

TPersistent* TPSPlugins::Owner() const {
    return fCompExec;
}

TPSPluginItem* TPSPlugins::Items(int index) const {
    return static_cast<TPSPluginItem*>(TCollection::Items(index));
}

TPSPluginItem* TPSPlugins::Add(TPSPlugin* plugin) {
    auto* item = static_cast<TPSPluginItem*>(TCollection::Add());
    item->SetPlugin(plugin);
    return item;
}

}  // namespace tv::script

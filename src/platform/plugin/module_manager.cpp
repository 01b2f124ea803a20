#include "platform/plugin/module_manager.h"

#include <dlfcn.h>

#include <filesystem>

#include "platform/plugin/module_widgets.h"
#include "platform/rtl/format.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace {

constexpr std::string_view kCannotLoadModule = "Could not load the plug-in module %s: %s";
constexpr std::string_view kNotAPluginModule = "%s is not a plug-in module: %s";
constexpr std::string_view kNoModuleInformation = "its entry point gives no module information";
constexpr std::string_view kOtherApiVersion =
    "The plug-in module %s was built for plug-in API version %d; this program takes version %d";
constexpr std::string_view kBadRegistration =
    "The plug-in module %s registers a plug-in without a name or factory";
constexpr std::string_view kPluginNotRegistered = "No loaded plug-in module has the plug-in %s";
constexpr std::string_view kPluginNotCreated = "The plug-in %s could not be created";
constexpr std::string_view kInstancesReleased =
    "%d plug-in instance(s) still in use released before unloading";
constexpr std::string_view kWidgetsDeleted = "%d window(s) of the plug-in deleted before unloading";
constexpr std::string_view kModuleKept =
    "A plug-in instance is still referenced from inside the plug-in: the module stays in memory";
constexpr std::string_view kCannotUnload = "Could not unload: %s";

// The file a path names, with links and ".." resolved, so that two spellings of one file match.
std::string ResolvedPath(std::string_view fileName) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(fileName), ec);
    if (ec) return std::string(fileName);
    const fs::path resolved = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal().string() : resolved.string();
}

std::string LoaderError() {
    const char* text = dlerror();
    return text ? text : "unknown error";
}

}  // namespace

struct THYModuleManager::TModule {
    std::string FileName;
    void* Handle = nullptr;
    const void* Base = nullptr;  // where the loader mapped it: widgets of its classes are found by it
    const plugin::TPluginModuleInfo* Info = nullptr;
    std::vector<std::weak_ptr<detail::TPluginInstance>> Instances;
};

THYModuleManager::THYModuleManager() = default;

THYModuleManager::~THYModuleManager() {
    while (!modules_.empty()) {
        std::unique_ptr<TModule> module = std::move(modules_.back());
        modules_.pop_back();
        Unload(*module, false);
    }
}

bool THYModuleManager::FindModule(std::string_view fileName) const {
    const std::string path = ResolvedPath(fileName);
    for (const auto& module : modules_)
        if (module->FileName == path) return true;
    return false;
}

void THYModuleManager::LoadModule(std::string_view fileName) {
    const std::string path = ResolvedPath(fileName);
    if (FindModule(path)) return;

    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw EModuleManagerError(Format(kCannotLoadModule, {path, LoaderError()}));
    for (const auto& module : modules_) {
        if (module->Handle != handle) continue;
        dlclose(handle);  // the same file under another name: loaded already
        return;
    }
    auto refuse = [&](std::string message) {
        dlclose(handle);
        throw EModuleManagerError(std::move(message));
    };

    dlerror();
    auto entry = reinterpret_cast<plugin::TPluginEntryPoint>(dlsym(handle, plugin::kPluginEntryPoint));
    if (!entry) refuse(Format(kNotAPluginModule, {path, LoaderError()}));
    const plugin::TPluginModuleInfo* info = entry();
    if (!info) refuse(Format(kNotAPluginModule, {path, kNoModuleInformation}));
    if (info->ApiVersion != plugin::kPluginApiVersion)
        refuse(Format(kOtherApiVersion, {path, info->ApiVersion, plugin::kPluginApiVersion}));
    if (info->PluginCount < 0 || (info->PluginCount > 0 && !info->Plugins))
        refuse(Format(kBadRegistration, {path}));
    for (int32_t i = 0; i < info->PluginCount; ++i)
        if (!info->Plugins[i].Name || !*info->Plugins[i].Name || !info->Plugins[i].Create)
            refuse(Format(kBadRegistration, {path}));

    Dl_info where{};
    if (!dladdr(reinterpret_cast<void*>(entry), &where))
        refuse(Format(kCannotLoadModule, {path, LoaderError()}));

    auto module = std::make_unique<TModule>();
    module->FileName = path;
    module->Handle = handle;
    module->Base = where.dli_fbase;
    module->Info = info;
    modules_.push_back(std::move(module));
}

void THYModuleManager::CreateVisualPlugin(std::string_view name, TPluginRef<IHYVisualPlugin>& instance,
                                          QWidget* parent) {
    instance.reset();
    for (const auto& module : modules_) {
        for (int32_t i = 0; i < module->Info->PluginCount; ++i) {
            const plugin::TPluginRegistration& registration = module->Info->Plugins[i];
            if (!AnsiSameText(registration.Name, name)) continue;
            IHYVisualPlugin* created = registration.Create(parent);
            if (!created) throw EModuleManagerError(Format(kPluginNotCreated, {name}));
            auto record = std::make_shared<detail::TPluginInstance>(created);
            std::erase_if(module->Instances, [](const auto& weak) { return weak.expired(); });
            module->Instances.push_back(record);
            instance = TPluginRef<IHYVisualPlugin>(std::move(record), created);
            return;
        }
    }
    throw EModuleManagerError(Format(kPluginNotRegistered, {name}));
}

void THYModuleManager::ReleaseInstance(TPluginRef<IHYVisualPlugin>& instance) {
    if (instance.instance_) instance.instance_->Release();
    instance.reset();
}

void THYModuleManager::UnloadModules() {
    while (!modules_.empty()) {
        std::unique_ptr<TModule> module = std::move(modules_.back());
        modules_.pop_back();
        Unload(*module, true);
        if (OnAfterUnloadModule) OnAfterUnloadModule(*this, module->FileName);
    }
}

int THYModuleManager::GetModuleCount() const {
    return static_cast<int>(modules_.size());
}

void THYModuleManager::Unload(TModule& module, bool report) {
    auto say = [&](const std::string& text) {
        if (report && OnUnloadCleanup) OnUnloadCleanup(module.FileName, text);
    };
    int released = 0;
    bool stillReferenced = false;
    for (const auto& weak : module.Instances) {
        const std::shared_ptr<detail::TPluginInstance> record = weak.lock();
        if (!record || !record->Alive()) continue;
        ++released;
        if (record->Release() > 0) stillReferenced = true;
    }
    module.Instances.clear();
    const int widgets = DeleteWidgetsOfModule(module.Base);

    if (released > 0) say(Format(kInstancesReleased, {released}));
    if (widgets > 0) say(Format(kWidgetsDeleted, {widgets}));
    if (stillReferenced) {
        say(std::string(kModuleKept));  // its handle is kept open for good
        return;
    }
    dlerror();
    if (dlclose(module.Handle) != 0) say(Format(kCannotUnload, {LoaderError()}));
}

}  // namespace tv

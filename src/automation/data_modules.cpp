#include "automation/data_modules.h"

#include <utility>

#include "automation/plugins_context.h"
#include "platform/rtl/exception.h"

namespace tv {
namespace {

constexpr std::string_view kNoPluginHost = "No plug-in host has been made";

TDMPlugins* gDMPlugins = nullptr;

// Owns the modules and answers DMPlugins() for as long as it lives.
struct TDataModules {
    explicit TDataModules(std::unique_ptr<TDMPlugins> plugins) : Plugins(std::move(plugins)) {
        gDMPlugins = Plugins.get();
    }
    ~TDataModules() {
        if (gDMPlugins == Plugins.get()) gDMPlugins = nullptr;
    }
    TDataModules(const TDataModules&) = delete;
    TDataModules& operator=(const TDataModules&) = delete;

    std::unique_ptr<TDMPlugins> Plugins;
};

}  // namespace

std::shared_ptr<void> CreateDataModules(TMainDM& mainDM, std::function<QWidget*()> mainWindow) {
    TPluginsContext context = MakePluginsContext(mainDM);
    context.MainWindow = std::move(mainWindow);
    return std::make_shared<TDataModules>(std::make_unique<TDMPlugins>(std::move(context)));
}

TDMPlugins& DMPlugins() {
    if (!gDMPlugins) throw Exception(std::string(kNoPluginHost));
    return *gDMPlugins;
}

}  // namespace tv

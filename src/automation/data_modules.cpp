#include "automation/data_modules.h"

#include <string>
#include <string_view>
#include <utility>

#include "automation/engine_contexts.h"
#include "core/main_dm.h"
#include "automation/plugins_context.h"
#include "export/export_module.h"
#include "export/export_writers.h"
#include "export/forms/form_extra_price_list_data.h"
#include "platform/gui/gui_dialog_service.h"
#include "platform/rtl/exception.h"

namespace tv {
namespace {

constexpr std::string_view kNoDataModules = "The data modules have not been made";

// Owns the modules and answers DMImport(), DMExport() and DMPlugins() for as long as it lives.
// The members are made in the start-up order and freed in the reverse one. The import module
// only keeps the key registry's place when it is made (the registry is made last) and first
// reaches it in an import.
class TDataModules {
public:
    TDataModules(TMainDM& mainDM, std::function<QWidget*()> mainWindow)
        : importContext_(MakeImportContext(mainDM)),
          dmImport_(importContext_, keyHelper_),
          exportModule_(ExportContext(mainDM, extraPriceListData_)),
          exportWriters_(exportModule_),
          dmExport_(exportModule_, exportWriters_),
          dmPlugins_(PluginsContext(mainDM, std::move(mainWindow))),
          dmScripts_([&mainDM] { return mainDM.getScriptFolder(); }) {
        // The order import runs its post-processing rules through the plug-in host.
        importContext_.RuleService = &dmPlugins_;
        gModules = this;
    }
    ~TDataModules() {
        if (gModules == this) gModules = nullptr;
    }
    TDataModules(const TDataModules&) = delete;
    TDataModules& operator=(const TDataModules&) = delete;

    static bool Made() { return gModules != nullptr; }
    static TDataModules& Current() {
        if (!gModules) throw Exception(std::string(kNoDataModules));
        return *gModules;
    }

    bool DataModulesMade() {
    return TDataModules::Made();
}

TDMImport& DMImport() { return dmImport_; }
    TDMExport& DMExport() { return dmExport_; }
    TDMPlugins& DMPlugins() { return dmPlugins_; }
    TDMScripts& DMScripts() { return dmScripts_; }

private:
    // The export asks its extra-data question through the form, while the main window shows.
    static TExportContext ExportContext(TMainDM& mainDM, IExtraPriceListData& question) {
        TExportContext context = MakeExportContext(mainDM);
        context.ExtraPriceListData = &question;
        context.Interactive = MainFormShowing;
        return context;
    }

    static TPluginsContext PluginsContext(TMainDM& mainDM, std::function<QWidget*()> mainWindow) {
        TPluginsContext context = MakePluginsContext(mainDM);
        context.MainWindow = std::move(mainWindow);
        return context;
    }

    static inline TDataModules* gModules = nullptr;

    TExtraPriceListDataDialog extraPriceListData_;
    TImportContext importContext_;
    TDMImport dmImport_;
    TExportModule exportModule_;
    TExportWriters exportWriters_;
    TDMExport dmExport_;
    TDMPlugins dmPlugins_;
    TDMScripts dmScripts_;
    TKeyHelperDM keyHelper_;
};

}  // namespace

std::shared_ptr<void> CreateDataModules(TMainDM& mainDM, std::function<QWidget*()> mainWindow) {
    return std::make_shared<TDataModules>(mainDM, std::move(mainWindow));
}

bool DataModulesMade() {
    return TDataModules::Made();
}

TDMImport& DMImport() {
    return TDataModules::Current().DMImport();
}

TDMExport& DMExport() {
    return TDataModules::Current().DMExport();
}

TDMPlugins& DMPlugins() {
    return TDataModules::Current().DMPlugins();
}

TDMScripts& DMScripts() {
    return TDataModules::Current().DMScripts();
}

}  // namespace tv

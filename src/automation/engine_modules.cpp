#include "automation/engine_modules.h"

#include "automation/engine_contexts.h"
#include "platform/rtl/exception.h"

namespace tv {
namespace {

TEngineModules* gModules = nullptr;

TEngineModules& Modules() {
    if (!gModules) throw Exception("The engines' data modules are not made");
    return *gModules;
}

}  // namespace

TEngineModules::TEngineModules(TMainDM& mainDM) : importContext_(MakeImportContext(mainDM)) {
    dmImport_ = std::make_unique<TDMImport>(importContext_, keyHelper_);
    exportModule_ = std::make_unique<TExportModule>(MakeExportContext(mainDM));
    exportWriters_ = std::make_unique<TExportWriters>(*exportModule_);
    dmExport_ = std::make_unique<TDMExport>(*exportModule_, *exportWriters_);
    gModules = this;
}

TEngineModules::~TEngineModules() {
    if (gModules == this) gModules = nullptr;
}

std::unique_ptr<TComponent> CreateEngineModules(TMainDM& mainDM) {
    return std::make_unique<TEngineModules>(mainDM);
}

TDMImport& DMImport() {
    return Modules().DMImport();
}

TDMExport& DMExport() {
    return Modules().DMExport();
}

}  // namespace tv

#pragma once
// The engines' data modules, made over the central data module: the import module with its key
// registry over the import context, and the export facade over the export module and the central
// data module's writers. The program makes them right after the central data module (through the
// main window's services) and frees them after the main window; DMImport() and DMExport() reach
// them while they live.

#include <memory>

#include "export/dm_export.h"
#include "export/export_module.h"
#include "export/export_writers.h"
#include "import/dm_import.h"
#include "import/key_helper_dm.h"
#include "platform/rtl/component.h"

namespace tv {

class TMainDM;

class TEngineModules : public TComponent {
public:
    // `mainDM` must outlive the modules.
    explicit TEngineModules(TMainDM& mainDM);
    ~TEngineModules() override;

    TDMImport& DMImport() const { return *dmImport_; }
    TDMExport& DMExport() const { return *dmExport_; }
    TKeyHelperDM& KeyHelperDM() { return keyHelper_; }

private:
    TImportContext importContext_;
    TKeyHelperDM keyHelper_;
    std::unique_ptr<TDMImport> dmImport_;
    std::unique_ptr<TExportModule> exportModule_;
    std::unique_ptr<TExportWriters> exportWriters_;
    std::unique_ptr<TDMExport> dmExport_;
};

// The program's hook: the engines' modules over the central data module.
std::unique_ptr<TComponent> CreateEngineModules(TMainDM& mainDM);

// The process's import and export modules; raise when none are made.
TDMImport& DMImport();
TDMExport& DMExport();

}  // namespace tv

#pragma once
// The data modules above the core, made by the entry routine over the central data module
// (TMainFormServices::CreateDataModules): the import module with its key registry over the import
// context, the export facade over the export module and the central data module's writers, and the
// plug-in host, whose rule runs give their plug-ins the main window and which runs the rules the
// order import names, and the catalogue of job scripts. One set lives for the whole process.

#include <functional>
#include <memory>

#include "automation/dm_plugins.h"
#include "automation/dm_scripts.h"
#include "export/dm_export.h"
#include "import/dm_import.h"
#include "import/key_helper_dm.h"

class QWidget;

namespace tv {

class TMainDM;

// Makes the modules in the start-up order (TDMImport, TDMExport, TDMPlugins, TDMScripts,
// TKeyHelperDM); the result owns them. While it lives, DMImport(), DMExport(), DMPlugins() and
// DMScripts() answer them.
std::shared_ptr<void> CreateDataModules(TMainDM& mainDM, std::function<QWidget*()> mainWindow);

// Whether the modules are made (and the three below answer).
bool DataModulesMade();

// The process's modules; each raises when none is made.
TDMImport& DMImport();
TDMExport& DMExport();
TDMPlugins& DMPlugins();
TDMScripts& DMScripts();

}  // namespace tv

#pragma once
// The data modules of the job automation, made by the entry routine over the central data module
// (TMainFormServices::CreateDataModules): the plug-in host, whose rule runs give their plug-ins the
// main window. One set lives for the whole process.

#include <functional>
#include <memory>

#include "automation/dm_plugins.h"

class QWidget;

namespace tv {

class TMainDM;

// Makes the modules; the result owns them. While it lives, DMPlugins() answers the plug-in host.
std::shared_ptr<void> CreateDataModules(TMainDM& mainDM, std::function<QWidget*()> mainWindow);

// The process's plug-in host; raises when none is made.
TDMPlugins& DMPlugins();

}  // namespace tv

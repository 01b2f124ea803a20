#pragma once
// The plug-in host's context, built from the central data module: its event tree, the rule tables
// it loads and saves, the work-folder moves of rules, its folders and its debug log file. The
// module must outlive the host. The main window is the caller's to add.

#include "automation/dm_plugins.h"

namespace tv {

class TMainDM;

TPluginsContext MakePluginsContext(TMainDM& mainDM);

}  // namespace tv

#include "automation/plugins_context.h"

#include "core/main_dm.h"

namespace tv {

TPluginsContext MakePluginsContext(TMainDM& mainDM) {
    TPluginsContext context;
    context.Events = &mainDM.Events();
    context.RuleTables = &mainDM.RuleTables();
    context.FileMoves = &mainDM.RuleFileMoves();
    context.getPluginFolder = [&mainDM] { return mainDM.getPluginFolder(); };
    context.getRuleFolder = [&mainDM] { return mainDM.getRuleFolder(); };
    context.getPluginTmpFolder = [&mainDM] { return mainDM.getPluginTmpFolder(); };
    context.getWorkFolder = [&mainDM](int side, std::string_view subfolder) {
        return mainDM.getWorkFolder(side, subfolder);
    };
    context.getLogFile = [&mainDM] { return mainDM.getLogFile(); };
    return context;
}

}  // namespace tv

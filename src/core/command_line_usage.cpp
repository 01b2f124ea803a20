#include "core/command_line_usage.h"

#include <algorithm>
#include <iostream>

#include "core/app_logger.h"
#include "core/app_names.h"
#include "core/settings_folders.h"
#include "core/settings_root.h"
#include "core/work_folders.h"
#include "platform/ini/ini_file.h"
#include "platform/rtl/files.h"
#include "platform/rtl/text_file.h"

namespace tv {
namespace {

// The switches as an operator or the integration menu gives them, one row each.
struct TSwitchHelp {
    std::string_view Switch;
    std::string_view Meaning;
};
constexpr TSwitchHelp kSwitchHelp[] = {
    {"/import", "kör importscriptet scripts/import/default_import.pas och avslutar"},
    {"/export", "kör exportscriptet scripts/export/default_export.pas och avslutar"},
    {"/runscript FIL", "kör scriptet FIL (i scriptmappen, annars som sökvägen anger) och avslutar"},
    {"/nevershutdown", "låter programmet vara öppet när jobbet är klart"},
    {"/setup", "läser in setup.ini i aktuell mapp, sparar inställningarna och avslutar"},
    {"/workfolder MAPP", "använder MAPP som inställningsmapp (utan instansmapp)"},
    {"/appinstance NAMN", "använder instansen NAMN (även /appinst, /profile); annars \"default\""},
    {"/forcedot", "decimaltecken \".\" och blanksteg som tusentalsavgränsare"},
    {"/adklog", "ber affärssystemets integrationsdel logga när företaget öppnas"},
    {"/ftg /register /id /prg /gemfiler", "skickas av affärssystemets integrationsmeny"},
    {"--help, /?", "visar den här texten"},
};

// The log file the instance's "log4d.props" names for its file appender, or where a first start
// points it.
std::string LogFile(const std::string& root) {
    const std::string props = root + std::string(kLogConfigFileName);
    if (FileExists(props)) {
        const std::string text = ReadTextFile(props);
        for (size_t pos = 0; pos < text.size();) {
            size_t end = std::min(text.find('\n', pos), text.size());
            std::string_view line(text.data() + pos, end - pos);
            if (line.ends_with('\r')) line.remove_suffix(1);
            if (line.starts_with(kFil1FileNameKey)) return std::string(line.substr(kFil1FileNameKey.size()));
            pos = end + 1;
        }
    }
    return root + std::string(kLogsFolderName) + "/log.txt";
}

// The work root as the settings give it: FORCED_WORKFOLDER of the general settings, else the
// settings root.
std::string WorkRoot(const std::string& settingsFile, const std::string& root) {
    std::string forced = TIniFile(settingsFile).ReadString("general", "FORCED_WORKFOLDER", "");
    return forced.empty() ? root : IncludeTrailingPathDelimiter(forced);
}

}  // namespace

bool AsksForUsage(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return std::find(std::begin(kHelpSwitches), std::end(kHelpSwitches), arg) != std::end(kHelpSwitches);
    });
}

std::string UsageText() {
    UpdateApplicationInstance();
    const std::string root = GetPrefsRoot();
    const std::string settingsFile = GetSettingsFile();
    const std::string workRoot = WorkRoot(settingsFile, root);

    std::string text =
        "Tollvane flyttar affärsdata mellan affärssystemets företag och XML-filer.\n\n"
        "Användning: tollvane [växlar]\n"
        "Utan jobbväxel öppnas fönstret. Växlarna kan också skrivas med \"-\" eller \"--\".\n\n";
    for (const auto& row : kSwitchHelp) {
        std::string name(row.Switch);
        text += "  " + name;
        text += name.size() < 34 ? std::string(34 - name.size(), ' ') : "\n" + std::string(36, ' ');
        text += std::string(row.Meaning) + "\n";
    }
    text += "\nMappar för instansen \"" + AppInstanceName() + "\":\n";
    text += "  Inställningar    " + settingsFile + "\n";
    text += "  Scripts          " + GetScriptFolder() + "/\n";
    text += "  Regler           " + GetRuleFolder() + "\n";
    text += "  Plug-ins         " + GetPluginFolder() + "\n";
    text += "  Logg             " + LogFile(root) + "\n";
    text += "  Arbetsmappar     " + workRoot + std::string(kImportSideFolder) + "/ och " + workRoot +
            std::string(kExportSideFolder) + "/\n";
    text +=
        "\nEtt jobb från kommandoraden avslutar programmet med status 0 när det lyckades och 1 när det\n"
        "misslyckades. Körs programmet från en terminal skrivs de rader som loggas som fel också till\n"
        "standard error.\n";
    return text;
}

int PrintUsage() {
    try {
        std::cout << UsageText() << std::flush;
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        return 1;
    }
}

}  // namespace tv

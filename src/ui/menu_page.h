#pragma once
// The integration-menu page ("Integrationsmeny"): the program's four entries in the business
// system's integration menu, one plain check box each, and the texts its buttons show. The page is
// its block of the settings schema; its buttons are the behaviours MenuPageBehaviours gives.

#include <string_view>

namespace tv {

// The menu the entries stand in, its company and the application the entries name.
inline constexpr std::string_view kMenuCategory = "Quorvel";
inline constexpr std::string_view kMenuCompany = "Brismark";
inline constexpr std::string_view kMenuApplicationName = "Quorvel";

struct TMenuEntry {
    std::string_view CheckBox;  // the name of its check box in the page's block
    std::string_view Title;
    std::string_view Parameters;
};

inline constexpr TMenuEntry kMenuEntries[] = {
    {"checkStartApp", "Quorvel", ""},
    {"checkPlainImport", "Import", "/import"},
    {"checkPlainExport", "Export", "/export"},
    {"checkSmartExport", "Exportera dokument",
     "/ftg %F /register %R /id %U /runscript export\\default_smart.pas /nevershutdown"},
};

inline constexpr std::string_view kMenuFileFound =
    "Hittade menyfilen\r\n\r\n%s.\r\n Vill du uppdatera denna menyfil?";
inline constexpr std::string_view kNoMenuFileGiven = "Installationen avbröts: ingen menyfil angavs.";
inline constexpr std::string_view kMenuUpdated =
    "Integrationsmenyn har uppdaterats.\r\nGlöm inte att starta om Visma Administration";
inline constexpr std::string_view kMenuFailed = "Ett fel uppstod: ";
inline constexpr std::string_view kShowMenuFileFailed = "Ett fel uppstod när filen skulle visas:";

}  // namespace tv

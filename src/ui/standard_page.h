#pragma once
// What the standard page ("Grundinställningar") does beyond binding its fields: browsing for a
// folder and storing it at once, testing the company connection, starting the business system's
// program on the company, showing the default work folder, and writing the running numbers the
// operator changed when the settings window's OK confirms them. The page itself is its block of
// the settings schema; these are its behaviours (StandardPageBehaviours).

#include <functional>
#include <string>
#include <string_view>

namespace tv {

inline constexpr std::string_view kChooseFolderTitle = "Välj mapp";
inline constexpr std::string_view kConnectionLooksGood = "Det ser lovande ut! Ansluten till %s";
inline constexpr std::string_view kSomethingWentWrong = "Något gick snett: ";
inline constexpr std::string_view kFolderMissing = "Mappen finns inte";
inline constexpr std::string_view kFolderLookupFailed = "Fel uppstod när mapp skulle hämtas";
inline constexpr std::string_view kDefaultFolderFailed = "Error :(";
inline constexpr std::string_view kAdminProgram = "spcsadm.exe";
inline constexpr std::string_view kAdminFolderParameter = "/f ";
inline constexpr std::string_view kAdminProgramMissing = "Programmet finns inte: %s";
inline constexpr std::string_view kAdminProgramNotStarted = "Programmet kunde inte startas: %s";

// The folder the operator chose in the folder dialog titled `title`, starting in `initialFolder`
// (the dialog's own start when empty), without a trailing delimiter; empty when cancelled.
std::string BrowseForFolder(std::string_view title, std::string_view initialFolder, bool newFolderButton);

// The folder to start the business system's program on, for the folder that holds a company:
// with its trailing delimiter; raises kFolderLookupFailed when it does not exist. A folder that
// is itself a company folder (it holds "*.DBF" files or the kit's company database) gives the
// folder that holds it.
std::string FindCompanyRoot(std::string_view folder);

// The text of the default work folder's label: the folder `lookUp` answers, or "Error :(" when it
// raises.
std::string DefaultWorkFolderText(const std::function<std::string()>& lookUp);

}  // namespace tv

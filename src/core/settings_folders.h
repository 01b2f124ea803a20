#pragma once
// Where the settings files and folders of the central data module are, each resolved through the
// settings root (GetPrefsFolder). The data and script folders come without a trailing delimiter,
// the plug-in, rule, logs and plug-in temporary folders with one.

#include <string>
#include <string_view>

namespace tv {

inline constexpr std::string_view kDataFolderName = "data";
inline constexpr std::string_view kPluginFolderName = "plugins";
inline constexpr std::string_view kRuleFolderName = "rules";
inline constexpr std::string_view kScriptFolderName = "scripts";
inline constexpr std::string_view kLogsFolderName = "logs";
// The plug-in temporary folder is looked up as "plgtmp" but named "tmp".
inline constexpr std::string_view kPluginTmpLookupName = "plgtmp";
inline constexpr std::string_view kPluginTmpFolderName = "tmp";
inline constexpr std::string_view kTimestampFileName = "timestamps.xml";
inline constexpr std::string_view kSchemaFolderName = "schema";
inline constexpr std::string_view kSchemaFileName = "quorvel.xsd";
inline constexpr std::string_view kSchemaFileMissing = "Kunde inte hitta schemafil: %s";

// The program file's name with the extension ".ini" ("tollvane.ini"), in the folder where it is
// used.
std::string GetSettingsFile();
std::string GetDataFolder();
std::string GetPluginFolder();
std::string GetRuleFolder();
std::string GetScriptFolder();
std::string GetLogsFolder();
std::string GetPluginTmpFolder();
std::string GetTimestampFile();
// "schema/quorvel.xsd"; raises kSchemaFileMissing with the path when the file is not there.
std::string GetSchemaFile();

// The settings hold passwords: the settings root is made (when missing) and kept private to the
// user (0700), and the files in it and in its data folder readable by the user alone (0600 at
// most; a mode is only ever narrowed). What cannot be changed is logged as a warning.
void MakeSettingsRootPrivate();
inline constexpr std::string_view kLogNotPrivate = "The settings are not private to the user: ";

}  // namespace tv

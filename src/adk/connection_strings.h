#pragma once
// The ADO connection strings of the company database: a company folder of the business system's
// tables (the VFP provider, or the ODBC source "Visual FoxPro Tables") or its SQL Server database
// named in "Ftg.ini". Each is made from a fixed template by putting values into its keys.
//
// Values that hold ";" or a quote are written in quotes the ADO way, and keys are looked for outside
// quoted values, so a password such as "a;User ID=x" stays one value and changes no other key.

#include <string>
#include <string_view>

namespace tv {

// The templates, used when the caller gives an empty connection string.
inline constexpr std::string_view kVfpConnectionTemplate =
    "Provider=VFPOLEDB.1;Data Source=;Password=\"\";Collating Sequence=SWEFIN;VARCHARMAPPING=True";
inline constexpr std::string_view kOdbcConnectionTemplate =
    "Provider=MSDASQL.1;Persist Security Info=False;Extended Properties=\"DSN=Visual FoxPro "
    "Tables;UID=;SourceDB=;"
    "SourceType=DBF;Exclusive=No;BackgroundFetch=Yes;Collate=SWEFIN;Null=Yes;Deleted=Yes;VARCHARMAPPING=True;"
    "\"";
inline constexpr std::string_view kSqlServerWindowsTemplate =
    "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=;Data Source=";
inline constexpr std::string_view kSqlServerPasswordTemplate =
    "Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=;Initial Catalog=;Data Source=";

// The company's "Ftg.ini" and its keys naming the SQL Server database.
inline constexpr std::string_view kCompanySettingsFile = "Ftg.ini";
inline constexpr std::string_view kDataSourceSection = "DataSource";
inline constexpr std::string_view kDBInstanceKey = "DBInstance";
inline constexpr std::string_view kDBNameKey = "DBName";

// Replaces the value of `key`: the first place where the key followed by "=" stands (letter case
// ignored, also at the end of a longer key: "Source" finds "Data Source="), outside quoted values;
// the old value runs to the next ";" or the end (a quoted one to its closing quote). Without the
// key the string comes back unchanged.
std::string SetConnectionStringValue(std::string_view connectionString, std::string_view key,
                                     std::string_view value);

// An SQL Server connection string: an empty input becomes the Windows-authentication or the
// user-and-password template; then "Source" gets the server, "Initial Catalog" the database and,
// without Windows authentication, "User ID" the user and "Password" the password.
std::string MakeSQLServerConnectionString(std::string_view connectionString, std::string_view server,
                                          std::string_view database, bool windowsAuthentication,
                                          std::string_view password, std::string_view user);

// The connection string of the company in `path` by mode: 0 the folder's tables through the VFP
// provider ("Data Source"), 1 the folder through the ODBC source ("SourceDB", inside "Extended
// Properties" when it stands there), 2 the SQL Server database named by "DBInstance" and "DBName"
// of section "DataSource" of the folder's "Ftg.ini", with Windows authentication. An empty input
// becomes the mode's template; another mode leaves it as it is.
std::string MakeCompanyConnectionString(std::string_view connectionString, std::string_view path, int mode);

// The string with the value of every "Password" and "PWD" (also inside "Extended Properties")
// replaced by "***", for log lines.
std::string MaskConnectionStringPasswords(std::string_view connectionString);

}  // namespace tv

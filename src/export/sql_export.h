#pragma once
// The SQL query export: the result of a named query of the query table (CDSExportSQLPrefs,
// "sqlqueries.txt") written to a file under "quorvel/custom" as one "metadata"/"rows" pair per run
// of the query; the same query run once per key of a list into one file; and the settings window's
// tests of a named query or of any selection text (record count and milliseconds). The query runs
// on ADOArbitrarySQL over the company database, which every operation leaves disconnected.

#include <string>
#include <string_view>

#include "export/export_module.h"
#include "platform/rtl/string_list.h"

namespace tv {

inline constexpr std::string_view kExportingSqlQuery = "Exporterar sql-fråga %s";
inline constexpr std::string_view kNoQueryDefinition = "Saknar definition för %s";
inline constexpr std::string_view kNoSqlSelection = "Inget utrval, avbryter .. ";
inline constexpr std::string_view kExportingSqlFile = "Exporterar: ";
inline constexpr std::string_view kCouldNotSaveFile = "Kunde inte spara fil: [%s] [%s]";

class TSqlExport {
public:
    explicit TSqlExport(TExportModule& module) : module_(module) {}

    // Writes the result of the query named `name` (letter case counts) to `fileName`, used as it
    // stands, or, when empty, to the query's own file-name template (generateSQLFileName). No
    // folder is made. Every failure is reported at level 2 under the operation's item.
    void ExportSQL(const std::string& name, const std::string& fileName);
    // The same with the query run once per key of `items`, in list order, the key given to its first
    // parameter as text. No list, or an empty one, writes nothing (level 1).
    void ExportSQLFromList(const std::string& name, const std::string& fileName, const TStrings* items);
    // Runs the named query, or `query`, and gives its record count and the whole milliseconds its
    // opening took. Errors reach the caller ("Saknar definition för %s" for an unknown name).
    void TestSQL(const std::string& name, int& reccount, int& ms);
    void TestSQLText(const std::string& query, int& reccount, int& ms);

    // Appends to the document's "custom" element one "metadata" (queryname, numresult) and one
    // "rows" with a "row" per result row of the open ADOArbitrarySQL, one child per column named
    // by the column, holding its value as text without surrounding blanks (nothing for no value).
    void SQLResultToXML(TExportDocument& document, const std::string& queryName);

private:
    void Export(const std::string& name, const std::string& fileName, const TStrings* items, bool fromList);
    // The query table on the row of `name`; raises kNoQueryDefinition when there is none.
    TDataSet& FindQuery(const std::string& name);
    // Opens the query on ADOArbitrarySQL, appends its result and closes it.
    void AppendResult(const std::string& queryName);
    void Save(const std::string& fileName);
    // Times `sql` on the connected database; closes the query and disconnects, also after an error.
    void TimeQuery(const std::string& sql, int& reccount, int& ms);

    TExportModule& module_;
};

// A result cell's text in the SQL result document: trimmed; money with the currency decimals of
// the field's format settings; bytes as hexadecimal digits; empty for no value.
std::string SqlCellText(const TField& field);

}  // namespace tv

#pragma once
// The company's rows of a table as the SQL side reads them, for comparing with a hand-written dump:
// one line per row in the order given, the columns joined by "|", a column without a value empty.

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/db/ado_query.h"
#include "tests/import/import_world.h"

namespace tv::test {

inline std::vector<std::string> DumpTable(TImportWorld& world, const std::string& table,
                                          std::initializer_list<const char*> columns,
                                          const std::string& orderBy) {
    std::string line;
    for (const char* column : columns) {
        if (!line.empty()) line += " || '|' || ";
        line += std::string("ifnull(") + column + ", '')";
    }
    TADOQuery query;
    query.SetConnection(&world.AdminODBC());
    query.SQL().SetText("select " + line + " as line from " + table + " order by " + orderBy);
    query.Open();
    std::vector<std::string> lines;
    for (; !query.Eof(); query.Next()) lines.push_back(query.FieldByName("line").AsString());
    return lines;
}

}  // namespace tv::test

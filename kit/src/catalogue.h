#pragma once
// Look-ups on the generated catalogue: tables by kit number, fields by number, sort orders by
// constant, and the names the company database uses for them.

#include <string>
#include <vector>

#include "schema_types.h"
#include "sql_expr.h"

namespace tv::kit {

const TableDef* FindTable(int no);
// The field definition, or nullptr for a number inside 0..max that has no name (or outside it).
const FieldDef* FindField(const TableDef& table, int no);
const SortDef* FindSort(const TableDef& table, int constant);
const SortDef* DefaultSort(const TableDef& table);
const std::vector<const TableDef*>& AllTables();

// The SQL that creates every table, index and view of a company database.
const char* CompanyDdl();

KeyKind KeyKindOf(const TableDef& table, const FieldDef& field);
bool IsKeyField(const TableDef& table, int no);
// The ordering and comparison expression of a field as the indexes use it.
std::string KeyExpressionOf(const TableDef& table, const FieldDef& field);

}  // namespace tv::kit

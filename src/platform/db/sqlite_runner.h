#pragma once
// Runs SQL on a SQLite connection: every statement of a text in turn, parameters bound, all rows of
// the last statement that returns rows read at once, so that no statement stays open after the
// call. Failures raise EDatabaseError with SQLite's text.

#include "platform/data/value_view.h"
#include "platform/db/ado_parameters.h"
#include "platform/db/sql_parameters.h"

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

namespace tv::db_detail {

struct Cell {
    TValueView::Kind kind = TValueView::Kind::Null;
    bool blob = false;
    std::int64_t integer = 0;
    double number = 0;
    std::string text;
};

struct ResultSet {
    bool hasColumns = false;
    std::vector<std::string> names;
    std::vector<std::string> declaredTypes;  // as the table declares the column; empty for expressions
    std::vector<std::vector<Cell>> rows;
};

// `parameters` must hold one parameter per name of `sql` (TParameters::Assign). `changes`
// receives the rows the last statement changed.
ResultSet RunStatements(sqlite3* db, const TParsedSql& sql, const TParameters& parameters, int* changes);

[[noreturn]] void RaiseSqliteError(sqlite3* db);

}  // namespace tv::db_detail

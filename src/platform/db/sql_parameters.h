#pragma once
// Named parameters of SQL texts: ":name" outside quoted literals, bracketed names and comments
// ("::" is no parameter). The text handed to SQLite numbers them "?1", "?2" ... in the order their
// names first appear, so a name used twice binds one value.

#include <string>
#include <string_view>
#include <vector>

namespace tv {

struct TParsedSql {
    std::string text;                // the statement with every parameter as "?N"
    std::vector<std::string> names;  // distinct names (letter case ignored), "?N" is names[N-1]
    // The first parameter of another form that SQLite would take ("?", "@name", "$name"), which
    // would bind nothing; empty when there is none.
    std::string foreignParameter;
};

TParsedSql ParseSqlParameters(std::string_view sql);

}  // namespace tv

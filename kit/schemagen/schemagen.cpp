// Reads the company schema and writes what the build needs from it: the kit's catalogue as C++
// data, the SQL that creates a company database, and the field-definition table "ooi.table".
// Usage: kit_schemagen <company.schema> <catalogue.inc> <company.sql> <ooi.table>
// Any inconsistency in the schema stops the build with the line it was found on.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "src/sql_expr.h"

namespace {

using tv::kit::KeyExpression;
using tv::kit::KeyKind;

struct Field {
    int no = 0;
    std::string name, type, column, def, xml;
    int length = 0, decimals = -1;
    bool ro = false;
};
struct Sort {
    int constant = 0;
    std::string name;
    std::vector<int> keys, then;
    int whereField = -1;
    std::string whereOp;
};
struct Table {
    int no = 0, line = 0, max = 0;
    std::string name, sql, ooi, oof;
    std::vector<int> pk;
    bool number = false, single = false, range = false;
    int ts = -1;
    bool tsUnix = false;
    int rowsTable = -1, rowsField = -1, countField = -1, parent = -1, like = -1;
    std::map<int, Field> fields;
    std::vector<Sort> sorts;
};

[[noreturn]] void Fail(int line, const std::string& what) {
    throw std::runtime_error("company.schema:" + std::to_string(line) + ": " + what);
}

std::vector<int> Ints(const std::string& text, int line) {
    std::vector<int> out;
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, ',')) {
        try {
            size_t used = 0;
            out.push_back(std::stoi(part, &used));
            if (used != part.size()) Fail(line, "not a number: " + part);
        } catch (const std::logic_error&) {
            Fail(line, "not a number: " + part);
        }
    }
    return out;
}

int Int(const std::string& text, int line) {
    auto v = Ints(text, line);
    if (v.size() != 1) Fail(line, "one number expected: " + text);
    return v[0];
}

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<Table> Parse(std::istream& in) {
    std::vector<Table> tables;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        if (auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::stringstream ss(text);
        std::vector<std::string> tok;
        for (std::string t; ss >> t;) tok.push_back(t);
        if (tok.empty()) continue;
        if (tok[0] == "table") {
            if (tok.size() < 5) Fail(line, "table <no> <name> <sql> <max> expected");
            Table t;
            t.line = line;
            t.no = Int(tok[1], line);
            t.name = tok[2];
            t.sql = tok[3];
            t.max = Int(tok[4], line);
            for (size_t i = 5; i < tok.size(); ++i) {
                const std::string& o = tok[i];
                auto eq = o.find('=');
                std::string key = o.substr(0, eq), val = eq == std::string::npos ? "" : o.substr(eq + 1);
                if (key == "pk")
                    t.pk = Ints(val, line);
                else if (key == "number")
                    t.number = true;
                else if (key == "single")
                    t.single = true;
                else if (key == "range")
                    t.range = true;
                else if (key == "ooi")
                    t.ooi = val;
                else if (key == "oof")
                    t.oof = val;
                else if (key == "parent")
                    t.parent = Int(val, line);
                else if (key == "like")
                    t.like = Int(val, line);
                else if (key == "ts") {
                    auto colon = val.find(':');
                    t.ts = Int(val.substr(0, colon), line);
                    std::string form = colon == std::string::npos ? "" : val.substr(colon + 1);
                    if (form != "text" && form != "unix") Fail(line, "ts=<field>:text|unix expected");
                    t.tsUnix = form == "unix";
                } else if (key == "rows") {
                    std::replace(val.begin(), val.end(), ':', ',');
                    auto v = Ints(val, line);
                    if (v.size() != 3) Fail(line, "rows=<table>:<field>:<count field> expected");
                    t.rowsTable = v[0], t.rowsField = v[1], t.countField = v[2];
                } else
                    Fail(line, "unknown table option " + o);
            }
            if (t.like >= 0) {
                auto src = std::find_if(tables.begin(), tables.end(),
                                        [&](const Table& x) { return x.no == t.like; });
                if (src == tables.end()) Fail(line, "like= names a table not yet defined");
                t.fields = src->fields;
            }
            tables.push_back(std::move(t));
        } else if (tok[0] == "f") {
            if (tables.empty()) Fail(line, "field before any table");
            if (tok.size() < 4) Fail(line, "f <no> <NAME> <type> expected");
            Field f;
            f.no = Int(tok[1], line);
            f.name = tok[2];
            std::string type = tok[3];
            if (type[0] == 'c' && type.size() > 1 && std::isdigit(static_cast<unsigned char>(type[1]))) {
                f.type = "c";
                f.length = Int(type.substr(1), line);
            } else if (type == "d" || type == "b" || type == "dt" || type == "ts" || type == "rows") {
                f.type = type;
            } else
                Fail(line, "unknown field type " + type);
            f.column = Lower(f.name);
            for (size_t i = 4; i < tok.size(); ++i) {
                const std::string& o = tok[i];
                auto eq = o.find('=');
                std::string key = o.substr(0, eq), val = eq == std::string::npos ? "" : o.substr(eq + 1);
                if (key == "ro")
                    f.ro = true;
                else if (key == "def")
                    f.def = val;
                else if (key == "col")
                    f.column = val;
                else if (key == "dec")
                    f.decimals = Int(val, line);
                else if (key == "xml")
                    f.xml = val;
                else
                    Fail(line, "unknown field option " + o);
            }
            Table& t = tables.back();
            if (f.no < 0 || f.no > t.max) Fail(line, "field number outside 0.." + std::to_string(t.max));
            for (auto& [no, other] : t.fields)
                if (no != f.no && other.name == f.name) Fail(line, "field name used twice: " + f.name);
            t.fields[f.no] = f;
        } else if (tok[0] == "sort") {
            if (tables.empty()) Fail(line, "sort before any table");
            if (tok.size() < 4) Fail(line, "sort <constant> <name> <keys> expected");
            Sort s;
            s.constant = Int(tok[1], line);
            s.name = tok[2];
            if (tok[3] != "-") s.keys = Ints(tok[3], line);
            for (size_t i = 4; i < tok.size(); ++i) {
                const std::string& o = tok[i];
                if (o.rfind("then=", 0) == 0)
                    s.then = Ints(o.substr(5), line);
                else if (o.rfind("where=", 0) == 0) {
                    std::string w = o.substr(6);
                    auto ne = w.find("!=0"), e = w.find("=0");
                    if (ne != std::string::npos && ne + 3 == w.size())
                        s.whereField = Int(w.substr(0, ne), line), s.whereOp = "!=";
                    else if (e != std::string::npos && e + 2 == w.size())
                        s.whereField = Int(w.substr(0, e), line), s.whereOp = "=";
                    else
                        Fail(line, "where=<field>=0 or where=<field>!=0 expected");
                } else
                    Fail(line, "unknown sort option " + o);
            }
            for (const auto& other : tables.back().sorts)
                if (other.constant == s.constant) Fail(line, "sort constant used twice in the table");
            tables.back().sorts.push_back(s);
        } else
            Fail(line, "unknown line " + tok[0]);
    }
    return tables;
}

const Table& Find(const std::vector<Table>& tables, int no, int line) {
    for (const auto& t : tables)
        if (t.no == no) return t;
    Fail(line, "no table " + std::to_string(no));
}

void Check(const std::vector<Table>& tables) {
    std::set<int> nos;
    std::set<std::string> names, sqls;
    for (const auto& t : tables) {
        if (!nos.insert(t.no).second) Fail(t.line, "table number used twice");
        if (!names.insert(t.name).second || !sqls.insert(t.sql).second) Fail(t.line, "table name used twice");
        if (!t.fields.count(0)) Fail(t.line, "every table names its field 0");
        auto named = [&](int f, const char* what) {
            if (!t.fields.count(f))
                Fail(t.line, std::string(what) + " field " + std::to_string(f) + " has no name");
        };
        for (int f : t.pk) named(f, "key");
        if (t.parent < 0 && !t.single && t.pk.empty()) Fail(t.line, "a table needs pk=, parent= or single");
        if (t.number && t.pk.size() != 1) Fail(t.line, "numbering needs a single key field");
        if (t.ts >= 0) {
            named(t.ts, "time-stamp");
            if (t.fields.at(t.ts).type != "ts") Fail(t.line, "the time-stamp field must have type ts");
        }
        for (const auto& [no, f] : t.fields) {
            if (f.type == "ts" && no != t.ts)
                Fail(t.line, "type ts on a field that is not the table's time stamp");
            if (f.type == "rows" && no != t.rowsField)
                Fail(t.line, "type rows on a field that is not the rows field");
        }
        if (t.rowsTable >= 0) {
            named(t.rowsField, "rows");
            named(t.countField, "row-count");
            if (Find(tables, t.rowsTable, t.line).parent != t.no)
                Fail(t.line, "the rows table must name this table as parent");
        }
        if (t.parent >= 0) {
            const Table& head = Find(tables, t.parent, t.line);
            if (head.rowsTable != t.no) Fail(t.line, "the parent must name this table as its rows table");
        }
        for (const auto& s : t.sorts) {
            for (int f : s.keys) named(f, "sort key");
            for (int f : s.then) named(f, "sort order");
            if (s.whereField >= 0) named(s.whereField, "sort filter");
        }
        std::set<std::string> xml;
        for (const auto& [no, f] : t.fields)
            if (!f.xml.empty()) {
                if (t.ooi.empty()) Fail(t.line, "xml= on a table without ooi=");
                if (!xml.insert(f.xml).second) Fail(t.line, "element name used twice: " + f.xml);
            }
    }
}

KeyKind Kind(const Table& t, const Field& f) {
    if (f.type == "c") return KeyKind::Text;
    if (f.type == "b") return KeyKind::Flag;
    if (f.type == "dt") return KeyKind::DateText;
    if (f.type == "ts") return t.tsUnix ? KeyKind::StampNumber : KeyKind::DateText;
    return KeyKind::Number;
}

std::string SqlType(const Table& t, const Field& f) {
    if (f.type == "c" || f.type == "dt") return "TEXT";
    if (f.type == "ts") return t.tsUnix ? "INTEGER" : "TEXT";
    if (f.type == "b") return "INTEGER";
    return "NUMERIC";  // whole numbers are stored as integers, so SQL reads "12", not "12.0"
}

bool InPk(const Table& t, int f) {
    return std::find(t.pk.begin(), t.pk.end(), f) != t.pk.end();
}

// The columns of a rows table that carry the head's key (named as the head's key columns).
std::vector<const Field*> ParentKey(const std::vector<Table>& tables, const Table& t) {
    std::vector<const Field*> out;
    if (t.parent < 0) return out;
    const Table& head = Find(tables, t.parent, t.line);
    for (int f : head.pk) out.push_back(&head.fields.at(f));
    return out;
}

std::string Quote(const std::string& s) {
    return "\"" + s + "\"";
}

std::string Ddl(const std::vector<Table>& tables) {
    std::ostringstream o;
    for (const auto& t : tables) {
        std::vector<std::string> cols;
        std::set<std::string> seen;
        const Table* head = t.parent >= 0 ? &Find(tables, t.parent, t.line) : nullptr;
        for (const Field* k : ParentKey(tables, t)) {
            cols.push_back(Quote(k->column) + " " + SqlType(*head, *k) + " NOT NULL");
            seen.insert(k->column);
        }
        if (t.parent >= 0 && !seen.count("radnr")) {
            bool named = false;
            for (const auto& [no, f] : t.fields) named |= f.column == "radnr";
            if (!named) cols.push_back("\"radnr\" NUMERIC NOT NULL"), seen.insert("radnr");
        }
        for (const auto& [no, f] : t.fields) {
            if (f.type == "rows" || seen.count(f.column)) continue;
            seen.insert(f.column);
            cols.push_back(Quote(f.column) + " " + SqlType(t, f) + (f.column == "radnr" ? " NOT NULL" : ""));
        }
        o << "CREATE TABLE " << Quote(t.sql) << " (";
        for (size_t i = 0; i < cols.size(); ++i) o << (i ? ", " : "") << cols[i];
        o << ");\n";
        // Identity: the primary key, or the head's key and the row position.
        std::vector<std::string> ident;
        if (t.parent >= 0) {
            for (const Field* k : ParentKey(tables, t))
                ident.push_back(KeyExpression(k->column, Kind(*head, *k), true));
            ident.push_back("\"radnr\"");
        } else
            for (int f : t.pk)
                ident.push_back(KeyExpression(t.fields.at(f).column, Kind(t, t.fields.at(f)), true));
        if (!ident.empty()) {
            o << "CREATE UNIQUE INDEX " << Quote(t.sql + "_pk") << " ON " << Quote(t.sql) << " (";
            for (size_t i = 0; i < ident.size(); ++i) o << (i ? ", " : "") << ident[i];
            o << ");\n";
        }
        std::set<std::vector<std::string>> made;
        if (!ident.empty()) made.insert(ident);
        for (const auto& s : t.sorts) {
            std::vector<std::string> exprs;
            std::vector<int> order = s.keys;
            for (int f : s.then) order.push_back(f);
            for (int f : t.pk) order.push_back(f);
            std::set<int> used;
            for (int f : order)
                if (used.insert(f).second)
                    exprs.push_back(
                        KeyExpression(t.fields.at(f).column, Kind(t, t.fields.at(f)), InPk(t, f)));
            if (!made.insert(exprs).second) continue;
            o << "CREATE INDEX " << Quote(t.sql + "_s" + std::to_string(s.constant)) << " ON " << Quote(t.sql)
              << " (";
            for (size_t i = 0; i < exprs.size(); ++i) o << (i ? ", " : "") << exprs[i];
            o << ");\n";
        }
    }
    // The view the system's own SQL reads documents through: one relation for four kinds of head.
    std::vector<const Table*> oof;
    for (const auto& t : tables)
        if (!t.oof.empty()) oof.push_back(&t);
    if (!oof.empty()) {
        o << "CREATE VIEW \"oof\" AS";
        for (size_t i = 0; i < oof.size(); ++i) {
            const Table& t = *oof[i];
            o << (i ? " UNION ALL" : "") << " SELECT \"" << t.fields.at(0).column << "\" AS \"doknr\", '"
              << t.oof << "' AS \"doktyp\", \"" << t.fields.at(t.ts).column << "\" AS \"timestamp\" FROM "
              << Quote(t.sql);
        }
        o << ";\n";
    }
    return o.str();
}

std::string CString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string Catalogue(const std::vector<Table>& tables, const std::string& ddl) {
    std::ostringstream o;
    o << "// Generated by kit_schemagen from kit/schema/company.schema. Do not edit.\n";
    o << "namespace tv::kit::generated {\n";
    for (const auto& t : tables) {
        std::string id = std::to_string(t.no);
        o << "inline constexpr FieldDef kFields" << id << "[] = {\n";
        for (const auto& [no, f] : t.fields) {
            std::string type = f.type == "c"      ? "Char"
                               : f.type == "d"    ? "Double"
                               : f.type == "b"    ? "Bool"
                               : f.type == "rows" ? "Data"
                                                  : "Date";
            int len = f.type == "c"      ? f.length
                      : f.type == "b"    ? 1
                      : f.type == "d"    ? 15
                      : f.type == "rows" ? 0
                      : f.type == "ts"   ? 19
                                         : 10;
            int dec = f.decimals >= 0 ? f.decimals : (f.type == "d" ? 2 : 0);
            o << "    {" << no << ", " << CString(f.name) << ", FieldType::" << type << ", "
              << (f.type == "ts" ? "true" : "false") << ", " << len << ", " << dec << ", "
              << (f.ro ? "true" : "false") << ", " << (f.type == "rows" ? "nullptr" : CString(f.column))
              << ", " << (f.def.empty() ? "nullptr" : CString(f.def)) << "},\n";
        }
        o << "};\n";
        if (!t.pk.empty()) {
            o << "inline constexpr int16_t kPk" << id << "[] = {";
            for (int f : t.pk) o << f << ", ";
            o << "};\n";
        }
        for (const auto& s : t.sorts) {
            std::string sid = id + "_" + std::to_string(s.constant);
            o << "inline constexpr int16_t kKeys" << sid << "[] = {";
            for (int f : s.keys) o << f << ", ";
            if (s.keys.empty()) o << "-1";  // no key fields: the order of the primary key
            o << "};\ninline constexpr int16_t kOrder" << sid << "[] = {";
            std::set<int> used;
            std::vector<int> order = s.keys;
            for (int f : s.then) order.push_back(f);
            for (int f : t.pk) order.push_back(f);
            for (int f : order)
                if (used.insert(f).second) o << f << ", ";
            o << "};\n";
        }
        if (!t.sorts.empty()) {
            o << "inline constexpr SortDef kSorts" << id << "[] = {\n";
            for (const auto& s : t.sorts) {
                std::string sid = id + "_" + std::to_string(s.constant);
                std::set<int> used;
                size_t count = 0;
                for (int f : s.keys) count += used.insert(f).second;
                for (int f : s.then) count += used.insert(f).second;
                for (int f : t.pk) count += used.insert(f).second;
                o << "    {" << s.constant << ", " << CString(s.name) << ", kKeys" << sid << ", "
                  << s.keys.size() << ", kOrder" << sid << ", " << count << ", " << s.whereField
                  << ", SortFilter::"
                  << (s.whereOp.empty()  ? "None"
                      : s.whereOp == "=" ? "QuantityZero"
                                         : "QuantityNotZero")
                  << "},\n";
            }
            o << "};\n";
        }
    }
    o << "inline constexpr TableDef kTables[] = {\n";
    for (const auto& t : tables) {
        std::string id = std::to_string(t.no);
        o << "    {" << t.no << ", " << CString(t.name) << ", " << CString(t.sql) << ", " << t.max
          << ", kFields" << id << ", " << t.fields.size() << ", " << (t.pk.empty() ? "nullptr" : "kPk" + id)
          << ", " << t.pk.size() << ", " << (t.number ? "true" : "false") << ", " << t.ts << ", "
          << (t.tsUnix ? "true" : "false") << ", " << t.rowsTable << ", " << t.rowsField << ", "
          << t.countField << ", " << t.parent << ", " << (t.single ? "true" : "false") << ", "
          << (t.range ? "true" : "false") << ", " << (t.sorts.empty() ? "nullptr" : "kSorts" + id) << ", "
          << t.sorts.size() << "},\n";
    }
    o << "};\n";
    o << "inline constexpr const char* kCompanyDdl = R\"KITSQL(" << ddl << ")KITSQL\";\n";
    o << "}  // namespace tv::kit::generated\n";
    return o.str();
}

// ';'-separated, no header line: const_table;const_string;const_value;const_title, CR LF line ends.
std::string Ooi(const std::vector<Table>& tables) {
    std::ostringstream o;
    for (const auto& t : tables)
        for (const auto& [no, f] : t.fields)
            if (!f.xml.empty()) o << t.ooi << ";" << f.name << ";" << no << ";" << f.xml << "\r\n";
    return o.str();
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: kit_schemagen <company.schema> <catalogue.inc> <company.sql> <ooi.table>\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
        auto tables = Parse(in);
        Check(tables);
        std::string ddl = Ddl(tables);
        Write(argv[2], Catalogue(tables, ddl));
        Write(argv[3], ddl);
        Write(argv[4], Ooi(tables));
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}

// adkctl: the kit's tool for demos, tests and support. It makes companies, seeds them from SQL or
// CSV fixtures, lists tables and fields, dumps tables, and finds and edits records, all through the
// kit's own exports (linked in), so what it shows is what the system sees.

#include <sqlite3.h>
#include <strings.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue.h"
#include "company.h"
#include "dates.h"
#include "kit_state.h"
#include "kit/adk_abi.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/number_text.h"

extern "C" {
AdkErrorRec AdkOpen(const char*, const char*);
AdkErrorRec AdkClose(void);
AdkHandle AdkCreateData(int32_t);
AdkErrorRec AdkDeleteStruct(AdkHandle);
AdkErrorRec AdkGetStr(AdkHandle, int32_t, char*, int32_t);
AdkErrorRec AdkGetBool(AdkHandle, int32_t, int32_t*);
AdkErrorRec AdkGetDouble(AdkHandle, int32_t, double*);
AdkErrorRec AdkGetDate(AdkHandle, int32_t, int32_t*);
AdkErrorRec AdkGetData(AdkHandle, int32_t, int32_t, AdkHandle*);
AdkErrorRec AdkSetStr(AdkHandle, int32_t, const char*);
AdkErrorRec AdkSetBool(AdkHandle, int32_t, uint8_t);
AdkErrorRec AdkSetDouble(AdkHandle, int32_t, double);
AdkErrorRec AdkSetDate(AdkHandle, int32_t, int32_t);
AdkErrorRec AdkAdd(AdkHandle);
AdkErrorRec AdkUpdate(AdkHandle);
AdkErrorRec AdkFirst(AdkHandle);
AdkErrorRec AdkNext(AdkHandle);
AdkErrorRec AdkFind(AdkHandle);
AdkErrorRec AdkSetSortOrder(AdkHandle, int32_t);
AdkErrorRec AdkGetErrorText(const AdkErrorRec*, int32_t, char*, int32_t);
}

namespace {

using namespace tv::kit;

constexpr const char* kUsage =
    "usage: adkctl <command> ...\n"
    "  create <company> [--name NAME] [--variant N]     make a company folder with an empty database\n"
    "  seed <company> <fixture.sql>                     run the INSERT, UPDATE and DELETE statements of a "
    "fixture\n"
    "  seed <company> <fixture.csv> --table T           add one record per line (first line: field names)\n"
    "  tables                                           list the kit's tables\n"
    "  fields <table>                                   list a table's named fields\n"
    "  dump <company> <table> [--sort N]                print every record (and its rows)\n"
    "  find <company> <table> FIELD=VALUE... [--sort N] find a record and print it\n"
    "  edit <company> <table> FIELD=VALUE... --set FIELD=VALUE...\n"
    "                                                   change the record whose key the first values give\n"
    "A table is a kit number or name (atKunder); a field a number or name; text is UTF-8, dates\n"
    "yyyy-mm-dd, time stamps yyyy-mm-dd hh:nn:ss, numbers with a decimal point, Booleans 1 or 0.\n";

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string ErrorText(const AdkErrorRec& e) {
    char buf[101];
    AdkGetErrorText(&e, ADK_TEXT_MESSAGE, buf, 100);
    std::string text = "kit code " + std::to_string(e.lRc) + ": " + tv::Cp1252ToUtf8(buf);
    if (e.lField != ADK_NO_FIELD) text += " (field " + std::to_string(e.lField) + ")";
    return text;
}

void Check(const AdkErrorRec& e, const std::string& what) {
    if (e.lRc) throw Failure(what + ": " + ErrorText(e));
}

const TableDef& TableArg(const std::string& arg) {
    for (const TableDef* t : AllTables())
        if (arg == std::to_string(t->no) || strcasecmp(arg.c_str(), t->name) == 0 || arg == t->sqlName)
            return *t;
    throw Failure("no table " + arg);
}

const FieldDef& FieldArg(const TableDef& t, const std::string& arg) {
    for (uint16_t i = 0; i < t.fieldCount; ++i)
        if (strcasecmp(arg.c_str(), t.fields[i].name) == 0 || arg == std::to_string(t.fields[i].no))
            return t.fields[i];
    throw Failure("no field " + arg + " in " + t.name);
}

void SetField(AdkHandle h, const FieldDef& f, const std::string& utf8) {
    std::string what = std::string("field ") + f.name + " = \"" + utf8 + "\"";
    switch (f.type) {
        case FieldType::Char:
            Check(AdkSetStr(h, f.no, tv::Utf8ToCp1252(utf8).c_str()), what);
            return;
        case FieldType::Bool:
            if (utf8 != "0" && utf8 != "1") throw Failure(what + ": 1 or 0 expected");
            Check(AdkSetBool(h, f.no, utf8 == "1"), what);
            return;
        case FieldType::Date: {
            auto n = f.stamp ? DateTimeTextToNumber(utf8) : DateTextToNumber(utf8);
            if (!n && !utf8.empty()) throw Failure(what + ": not a date");
            Check(AdkSetDate(h, f.no, n.value_or(0)), what);
            return;
        }
        case FieldType::Double: {
            double d = 0;
            auto res = std::from_chars(utf8.data(), utf8.data() + utf8.size(), d);
            if (res.ec != std::errc() || res.ptr != utf8.data() + utf8.size())
                throw Failure(what + ": not a number");
            Check(AdkSetDouble(h, f.no, d), what);
            return;
        }
        default:
            throw Failure(what + ": the field cannot be set here");
    }
}

// The field's value as text, or nullopt when it holds none.
std::optional<std::string> GetField(AdkHandle h, const FieldDef& f) {
    AdkErrorRec e{};
    std::string out;
    switch (f.type) {
        case FieldType::Char: {
            std::vector<char> buf(static_cast<size_t>(f.length) + 1);
            e = AdkGetStr(h, f.no, buf.data(), f.length);
            out = tv::Cp1252ToUtf8(buf.data());
            break;
        }
        case FieldType::Bool: {
            int32_t v = 0;
            e = AdkGetBool(h, f.no, &v);
            out = v ? "1" : "0";
            break;
        }
        case FieldType::Double: {
            double v = 0;
            e = AdkGetDouble(h, f.no, &v);
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.15g", v);
            out = buf;
            break;
        }
        case FieldType::Date: {
            int32_t v = 0;
            e = AdkGetDate(h, f.no, &v);
            out = (f.stamp ? DateTimeNumberToText(v) : DateNumberToText(v)).value_or("");
            break;
        }
        default:
            return std::nullopt;
    }
    if (e.lRc == ADK_ERR_NO_VALUE) return std::nullopt;
    Check(e, std::string("reading ") + f.name);
    return out;
}

std::string RecordLine(AdkHandle h, const TableDef& t) {
    std::string line;
    for (uint16_t i = 0; i < t.fieldCount; ++i) {
        auto v = GetField(h, t.fields[i]);
        if (!v) continue;
        line += (line.empty() ? "" : "; ") + std::string(t.fields[i].name) + "=" + *v;
    }
    return line;
}

void PrintRecord(AdkHandle h, const TableDef& t) {
    std::cout << RecordLine(h, t) << "\n";
    if (t.rowsTable < 0) return;
    const TableDef& rt = *FindTable(t.rowsTable);
    double count = 0;
    AdkGetDouble(h, t.countField, &count);
    for (int32_t i = 0; i < static_cast<int32_t>(count); ++i) {
        AdkHandle row = nullptr;
        Check(AdkGetData(h, t.rowsField, i, &row), "reading row " + std::to_string(i));
        std::cout << "  " << RecordLine(row, rt) << "\n";
    }
}

class Open {
public:
    explicit Open(const std::string& folder) {
        Check(AdkOpen("", tv::Utf8ToCp1252(folder).c_str()), "opening " + folder);
    }
    ~Open() { AdkClose(); }
};

class Data {
public:
    explicit Data(const TableDef& t) : h_(AdkCreateData(t.no)) {
        if (!h_) throw Failure(std::string("cannot make a structure of ") + t.name);
    }
    ~Data() { AdkDeleteStruct(h_); }
    AdkHandle get() const { return h_; }

private:
    AdkHandle h_;
};

// The whole number an option gives; a text that is none is refused with the option and `allowed`.
int WholeNumber(const std::string& option, const std::string& text, const std::string& allowed) {
    int32_t value = 0;
    if (!tv::TryStrToInt(text, value))
        throw Failure(option + ": \"" + text + "\" is not a number; " + allowed);
    return value;
}

// The value after an option at a[i]; refused when the option stands last.
const std::string& OptionValue(const std::vector<std::string>& a, size_t i) {
    if (i + 1 >= a.size()) throw Failure(a[i] + " needs a value");
    return a[i + 1];
}

std::pair<std::string, std::string> Assignment(const std::string& arg) {
    auto eq = arg.find('=');
    if (eq == std::string::npos) throw Failure("FIELD=VALUE expected: " + arg);
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

int Create(const std::vector<std::string>& a) {
    if (a.empty()) throw Failure("create needs a company folder");
    std::string name = "Demoföretaget";
    int variant = kDefaultVariant;
    const std::string allowedVariants = "the variants are " + ProgramVariantList();
    for (size_t i = 1; i < a.size(); i += 2) {
        if (a[i] == "--name") {
            name = OptionValue(a, i);
        } else if (a[i] == "--variant") {
            variant = WholeNumber(a[i], OptionValue(a, i), allowedVariants);
            if (std::none_of(std::begin(kProgramVariants), std::end(kProgramVariants),
                             [&](const ProgramVariant& v) { return v.number == variant; }))
                throw Failure("--variant: " + std::to_string(variant) + " is no program variant; " + allowedVariants);
        } else {
            throw Failure("unknown option " + a[i] + "; the options are --name and --variant");
        }
    }
    std::string message;
    if (int32_t rc = Company::Create(a[0], name, variant, message))
        throw Failure("kit code " + std::to_string(rc) + ": " + message);
    // The company's settings records; the company name is field 0 of the settings table.
    Open open(a[0]);
    for (int table : {27, 58, 84}) {
        Data d(*FindTable(table));
        if (table == 27) Check(AdkSetStr(d.get(), 0, tv::Utf8ToCp1252(name).c_str()), "company name");
        Check(AdkAdd(d.get()), "settings record");
    }
    return 0;
}

// Statements of a fixture may read and change the company's tables, nothing else.
int Authorize(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
        case SQLITE_INSERT:
        case SQLITE_UPDATE:
        case SQLITE_DELETE:
        case SQLITE_READ:
        case SQLITE_SELECT:
        case SQLITE_FUNCTION:
        case SQLITE_TRANSACTION:
        case SQLITE_SAVEPOINT:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        default:
            return SQLITE_DENY;
    }
}

void SeedSql(const std::string& folder, const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Failure("cannot read " + file);
    std::stringstream text;
    text << in.rdbuf();
    {
        Open open(folder);  // the same checks as the kit: the folder holds a company of this kit
    }
    sqlite3* db = nullptr;
    std::string path = folder + "/" + ADK_COMPANY_DATABASE_NAME;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::string m = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw Failure("cannot open " + path + ": " + m);
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_set_authorizer(db, Authorize, nullptr);
    std::string sql = "BEGIN;\n" + text.str() + "\nCOMMIT;";
    char* error = nullptr;
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    std::string m = error ? error : "";
    sqlite3_free(error);
    sqlite3_close_v2(db);
    if (rc != SQLITE_OK) throw Failure(file + ": " + m);
}

std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> out;
    std::string cell;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                cell += '"', ++i;
            else if (c == '"')
                quoted = false;
            else
                cell += c;
        } else if (c == '"')
            quoted = true;
        else if (c == ',' || c == ';')
            out.push_back(cell), cell.clear();
        else if (c != '\r')
            cell += c;
    }
    out.push_back(cell);
    return out;
}

void SeedCsv(const std::string& folder, const std::string& file, const TableDef& t) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Failure("cannot read " + file);
    std::string line;
    if (!std::getline(in, line)) throw Failure(file + ": no header line");
    std::vector<const FieldDef*> fields;
    for (const auto& name : SplitCsv(line)) fields.push_back(&FieldArg(t, name));
    Open open(folder);
    // All or nothing: a refused line leaves the company as it was.
    Company& company = *State().company;
    if (int32_t rc = company.BeginBatch()) throw Failure("kit code " + std::to_string(rc) + ": " + company.LastError());
    struct Batch {
        Company& company;
        bool done = false;
        ~Batch() {
            if (!done) company.EndBatch(false);
        }
    } batch{company};
    int number = 1;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line == "\r") continue;
        auto cells = SplitCsv(line);
        if (cells.size() != fields.size())
            throw Failure(file + ":" + std::to_string(number) + ": " + std::to_string(fields.size()) +
                          " values expected; nothing of the file was stored");
        Data d(t);
        try {
            for (size_t i = 0; i < cells.size(); ++i)
                if (!cells[i].empty()) SetField(d.get(), *fields[i], cells[i]);
            Check(AdkAdd(d.get()), "adding the record");
        } catch (const Failure& f) {
            throw Failure(file + ":" + std::to_string(number) + ": " + f.what() +
                          "; nothing of the file was stored");
        }
    }
    batch.done = true;
    if (int32_t rc = company.EndBatch(true)) throw Failure("kit code " + std::to_string(rc) + ": " + company.LastError());
}

int Seed(const std::vector<std::string>& a) {
    if (a.size() < 2) throw Failure("seed needs a company folder and a fixture");
    const std::string& file = a[1];
    if (file.size() > 4 && file.compare(file.size() - 4, 4, ".sql") == 0) {
        if (a.size() != 2) throw Failure("an SQL fixture takes no options");
        SeedSql(a[0], file);
    } else {
        if (a.size() != 4 || a[2] != "--table") throw Failure("a CSV fixture needs --table T");
        SeedCsv(a[0], file, TableArg(a[3]));
    }
    return 0;
}

int Tables() {
    for (const TableDef* t : AllTables())
        std::cout << t->no << "\t" << t->name << "\t" << t->sqlName << "\tfields 0-" << t->maxField << "\n";
    return 0;
}

int Fields(const std::vector<std::string>& a) {
    if (a.size() != 1) throw Failure("fields needs a table");
    const TableDef& t = TableArg(a[0]);
    static const char* kTypes[] = {"unused", "bool", "char", "number", "double", "date", "data"};
    for (uint16_t i = 0; i < t.fieldCount; ++i) {
        const FieldDef& f = t.fields[i];
        std::cout << f.no << "\t" << f.name << "\t"
                  << (f.stamp ? "time stamp" : kTypes[static_cast<int>(f.type)]);
        if (f.type == FieldType::Char) std::cout << "(" << f.length << ")";
        std::cout << (f.readOnly ? "\tread-only" : "") << "\n";
    }
    return 0;
}

int SortOption(const std::vector<std::string>& a, size_t& end) {
    end = a.size();
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] == "--sort") {
            end = i;
            const std::string allowed = "a sort order is a kit sort constant, 0 or more";
            const int sort = WholeNumber(a[i], OptionValue(a, i), allowed);
            if (sort < 0) throw Failure("--sort: " + a[i + 1] + " is below 0; " + allowed);
            return sort;
        }
    return -1;
}

int Dump(const std::vector<std::string>& a) {
    size_t end;
    int sort = SortOption(a, end);
    if (end != 2) throw Failure("dump needs a company folder and a table");
    const TableDef& t = TableArg(a[1]);
    Open open(a[0]);
    Data d(t);
    if (sort >= 0) Check(AdkSetSortOrder(d.get(), sort), "sort order");
    AdkErrorRec e = AdkFirst(d.get());
    while (e.lRc == ADK_OK) {
        PrintRecord(d.get(), t);
        e = AdkNext(d.get());
    }
    if (e.lRc != ADK_ERR_BEGIN_OF_TABLE && e.lRc != ADK_ERR_END_OF_TABLE) Check(e, "reading");
    return 0;
}

int Find(const std::vector<std::string>& a) {
    size_t end;
    int sort = SortOption(a, end);
    if (end < 3) throw Failure("find needs a company folder, a table and FIELD=VALUE");
    const TableDef& t = TableArg(a[1]);
    Open open(a[0]);
    Data d(t);
    if (sort >= 0) Check(AdkSetSortOrder(d.get(), sort), "sort order");
    for (size_t i = 2; i < end; ++i) {
        auto [field, value] = Assignment(a[i]);
        SetField(d.get(), FieldArg(t, field), value);
    }
    AdkErrorRec e = AdkFind(d.get());
    if (e.lRc == ADK_ERR_NOT_FOUND) {
        std::cerr << "adkctl: not found\n";
        return 1;
    }
    Check(e, "find");
    PrintRecord(d.get(), t);
    return 0;
}

int Edit(const std::vector<std::string>& a) {
    if (a.size() < 3) throw Failure("edit needs a company folder, a table, the key and --set");
    const TableDef& t = TableArg(a[1]);
    Open open(a[0]);
    Data d(t);
    bool setting = false, changes = false;
    for (size_t i = 2; i < a.size(); ++i) {
        if (a[i] == "--set") {
            setting = true;
            continue;
        }
        auto [field, value] = Assignment(a[i]);
        const FieldDef& f = FieldArg(t, field);
        if (!setting && !IsKeyField(t, f.no))
            throw Failure(std::string(f.name) + " is not a key field of " + t.name);
        SetField(d.get(), f, value);
        changes |= setting;
    }
    if (!changes) throw Failure("nothing to --set");
    Check(AdkUpdate(d.get()), "update");
    PrintRecord(d.get(), t);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "create") return Create(args);
        if (command == "seed") return Seed(args);
        if (command == "tables") return Tables();
        if (command == "fields") return Fields(args);
        if (command == "dump") return Dump(args);
        if (command == "find") return Find(args);
        if (command == "edit") return Edit(args);
        if (command == "--help" || command == "help") {
            std::cout << kUsage;
            return 0;
        }
        std::cerr << "adkctl: unknown command " << command << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "adkctl: " << e.what() << "\n";
        return 1;
    }
}

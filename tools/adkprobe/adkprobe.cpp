// adkprobe: opens a company through the kit-access layer (TAdkDatabase, TAdkDataSet) and reads,
// finds or changes records the way the import and export engines do, printing what the kit gave
// back. It is how the layer is checked by hand against a kit and a company.

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "adk/adk_catalogue.h"
#include "adk/adk_database.h"
#include "adk/adk_dataset.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/number_text.h"

namespace {

using namespace tv;

constexpr const char* kUsage =
    "usage: adkprobe --kit <folder of Adk.dll> --company <company folder> [--adklog] <command> ...\n"
    "  list <table> [--sort <order>] [--max N]     read records one kit step at a time\n"
    "  find <table> <text> [--sort <order>]        find by the key field of the sort order\n"
    "  edit <table> <text> FIELD=VALUE... [--sort <order>]\n"
    "                                              find a record, set fields through the dataset, post\n"
    "Tables and sort orders by name (atKunder, asKundnr); a field by kit number or name; values as\n"
    "text in the current number and date format. A head table is read with its rows.\n";

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Arguments {
    std::string kit, company, command, sort;
    bool adklog = false;
    int max = 1000;
    std::vector<std::string> words;  // the command's own words
};

// The number of records an option allows: a whole number, 0 or more.
int CountOption(const std::string& option, const std::string& text) {
    int32_t value = 0;
    if (!TryStrToInt(text, value) || value < 0)
        throw Failure(option + ": \"" + text + "\" is not a number of records; give a whole number, 0 or more");
    return value;
}

Arguments Parse(int argc, char** argv) {
    Arguments a;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw Failure(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--kit")
            a.kit = value();
        else if (arg == "--company")
            a.company = value();
        else if (arg == "--sort")
            a.sort = value();
        else if (arg == "--max")
            a.max = CountOption(arg, value());
        else if (arg == "--adklog")
            a.adklog = true;
        else if (a.command.empty())
            a.command = arg;
        else
            a.words.push_back(arg);
    }
    if (a.kit.empty() || a.company.empty() || a.command.empty())
        throw Failure("missing --kit, --company or command");
    return a;
}

TAdkSortOrder SortOrderNamed(const std::string& name) {
    for (int o = 0; o < kAdkSortOrderCount; ++o)
        if (SameTextAscii(AdkSortOrderName(TAdkSortOrder(o)), name)) return TAdkSortOrder(o);
    throw Failure("no sort order " + name);
}

std::string KitResult(const AdkErrorRec& e) {
    return "kit: lRc=" + std::to_string(e.lRc) + " lDbTable=" + std::to_string(e.lDbTable) +
           " lField=" + std::to_string(e.lField) + " lFunction=" + std::to_string(e.lFunction);
}

void PrintRecord(const TAdkDataSet& dataSet, const std::string& indent) {
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        const TField& field = dataSet.Fields(i);
        if (field.Tag() < 0 || field.IsNull() || field.FieldName().starts_with("unnamed")) continue;
        std::cout << indent << field.Tag() << " " << field.FieldName() << " = " << field.AsString() << "\n";
    }
}

void PrintCurrent(TAdkDataSet& dataSet) {
    std::cout << "record " << dataSet.RecNo() << "\n";
    PrintRecord(dataSet, "  ");
    if (TAdkDataSet* rows = dataSet.ChildTable(); rows && rows->Active()) {
        for (rows->First(); !rows->Eof(); rows->Next()) {
            std::cout << "  row " << rows->FieldByName(kRowNumberName).AsInteger() << "\n";
            PrintRecord(*rows, "    ");
        }
    }
}

TField& FieldNamed(TAdkDataSet& dataSet, const std::string& name) {
    int32_t number = 0;
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) {
        if (!TryStrToInt(name, number))
            throw Failure("no field " + name + "; a field is a kit field number or name");
        return dataSet.FieldByAdkIndex(number);
    }
    return dataSet.FieldByName(name);
}

int Run(const Arguments& a) {
    TComponent module;
    auto* db = new TAdkDatabase(&module);
    db->SetName("AdkDBSRC");
    db->AdkPath = a.kit;
    db->AdkLogging = a.adklog;
    db->ProgramSettings = {piArtikelStreckkod, piOmvandByggSkatt};
    db->SetCompanyPath(a.company);
    db->SetConnected(true);
    std::cout << "company " << a.company << " (" << db->AdkProgramName() << ", kit " << db->AdkVersion()
              << ")\n";

    if (a.words.empty()) throw Failure("the command needs a table");
    const TAdkTable table = TADkExt().getAdkTableForName(a.words[0]);
    auto* dataSet = new TAdkDataSet(&module);
    dataSet->SetName("Probe");
    if (GetAdkHasRows(table)) {
        auto* rows = new TAdkDataSet(&module);
        rows->SetName("ProbeRows");
        dataSet->SetChildTable(rows);
    }
    dataSet->SetAdkTable(table);
    if (!a.sort.empty()) dataSet->SetAdkSortOrder(SortOrderNamed(a.sort));
    if (!dataSet->MakeOpen()) throw Failure("the table could not be opened");
    std::cout << "table " << AdkTableName(table) << " sorted by " << AdkSortOrderName(dataSet->AdkSortOrder())
              << " (key field " << dataSet->AdkKeyField() << ")\n";

    if (a.command == "list") {
        int n = 0;
        for (bool more = dataSet->AdkNavFirst(true); more && n < a.max; more = dataSet->AdkNavNext(), ++n)
            PrintCurrent(*dataSet);
        std::cout << KitResult(dataSet->AdkErr) << "\n";
        return 0;
    }
    if (a.words.size() < 2) throw Failure(a.command + " needs a search text");
    const bool found = dataSet->AdkNavFind(a.words[1], true, true);
    std::cout << KitResult(dataSet->AdkErr) << "\n";
    if (!found) {
        std::cout << "not found\n";
        return 2;
    }
    if (a.command == "find") {
        PrintCurrent(*dataSet);
        return 0;
    }
    if (a.command == "edit") {
        dataSet->Edit();
        for (size_t i = 2; i < a.words.size(); ++i) {
            const auto eq = a.words[i].find('=');
            if (eq == std::string::npos) throw Failure("not FIELD=VALUE: " + a.words[i]);
            FieldNamed(*dataSet, a.words[i].substr(0, eq)).SetAsString(a.words[i].substr(eq + 1));
        }
        dataSet->Post();
        std::cout << "posted; " << KitResult(dataSet->AdkErr) << "\n";
        dataSet->RefreshAdkRow();
        PrintCurrent(*dataSet);
        return 0;
    }
    throw Failure("unknown command " + a.command);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(Parse(argc, argv));
    } catch (const Failure& e) {
        std::cerr << "adkprobe: " << e.what() << "\n" << kUsage;
    } catch (const std::exception& e) {
        std::cerr << "adkprobe: " << e.what() << "\n";
    }
    return 1;
}

#pragma once
// The world of the combined runs: the demo company with the import suites' additions
// (tests/fixtures/import/company.sql), the time-reporting database of tests/fixtures/import/tid.sql
// switched on, the rule fake and the recording sleeper of the order import; and what a run leaves
// behind as text: the company's tables that the import kinds write (the columns the files set or
// the import decides), the time-reporting tables, what the import wrote into the loaded document
// compared with the file as it stands, and the kit datasets left with a pending change.

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "tests/import/combined/job_order.h"
#include "tests/import/orders/order_support.h"

namespace tv::test {

class TCombinedWorld : public TTidWorld {
public:
    explicit TCombinedWorld(const TFormatSettings& formats) : TTidWorld(FixtureText("import/company.sql")) {
        Formats() = formats;
        Context().RuleService = &Rules;
        Context().Sleeper = &Sleeper;
        // Contacts are searched by name, as the settings page offers it.
        Set("CDSImportContacts", "SEARCH_CDX", std::to_string(int(asKontakt)));
        // Purchase orders and delivery notes are searched on their numbers, a new purchase order
        // is written, and a supplier invoice row names the purchase order row it comes from.
        Set("CDSImportBestPrefs", "SEARCH_CDX", std::to_string(int(asBestallningNr)));
        Set("CDSImportBestPrefs", "ON_BEST_DOES_NOT_EXIST", "0");
        Set("CDSImportInkFS", "SEARCH_CDX", std::to_string(int(asInkommandefoljesedelNr)));
        Set("CDSImportSupplierInvoicePrefs", "ON_SUPINVOIC_GUESS_BESTROW", "True");
    }
    TRecordingRules Rules;
    TRecordingSleeper Sleeper;
};

// Every row of a table as "table: a|b|c", the columns given (NULL as empty), ordered as given.
inline std::vector<std::string> TableLines(TADOConnection& connection, const std::string& table,
                                           const std::string& columns, const std::string& order) {
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().SetText("select " + columns + " from " + table + " order by " + order);
    query.Open();
    std::vector<std::string> lines;
    for (; !query.Eof(); query.Next()) {
        std::string line = table + ":";
        for (int i = 0; i < query.FieldCount(); ++i) line += (i ? "|" : " ") + query.Fields(i).AsString();
        lines.push_back(line);
    }
    query.Close();
    return lines;
}

struct TDumpedTable {
    const char* Table;
    const char* Columns;
    const char* Order;
};

// The company's tables that the import kinds of the run write, with the columns the file sets or
// the import decides (the change stamps hold the time of the run and are left out).
inline constexpr TDumpedTable kCompanyTables[] = {
    {"kund", "kundnr, namn, ort, kreditgrans, orgnr, kundsedan", "kundnr"},
    {"lev", "levnr, namn, ort", "levnr"},
    {"art", "artnr, benamning, enhet, vikt, huvudleverantor, webshop, inaktiv", "artnr"},
    {"artspr", "sprakkod, artnr, benamning, benamning2", "artnr, sprakkod"},
    {"kontakt", "kontaktid, namn, kundnr, titel", "kontaktid"},
    {"projekt", "projektkod, benamning, kundnr", "projektkod"},
    {"inkpris", "artnr, levnr, antal, pris, levartnr", "artnr, levnr, antal"},
    {"prislista", "kod, benamning", "kod"},
    {"forspris", "prislista, artnr, antal, pris", "prislista, artnr, antal"},
    {"orderhuvud", "doknr, kundnr, kundnamn, datum, ertordernr, levort, utskriven, levererad, antalrader", "doknr"},
    {"orderrad", "doknr, radnr, artnr, levantal, bestantal, apris, text, radtyp", "doknr, radnr"},
    {"offerthuvud", "doknr, kundnr, datum, antalrader", "doknr"},
    {"offertrad", "doknr, radnr, artnr, bestantal", "doknr, radnr"},
    {"fakturahuvud", "doknr, kundnr, kundnamn, datum, datum2, utskriven, ertordernr, antalrader", "doknr"},
    {"fakturarad", "doknr, radnr, artnr, levantal, text, radtyp, datum3", "doknr, radnr"},
    {"avtal", "doknr, kundnr, text, startdatum, slutdatum, antalrader", "doknr"},
    {"avtalrad", "doknr, radnr, artnr, bestantal, text, radtyp", "doknr, radnr"},
    {"kundinbet", "betalnr, fakturanr, datum, belopp", "betalnr"},
    {"best", "doknr, levnr, datum, antalrader", "doknr"},
    {"bestrad", "doknr, radnr, artnr, levartnr, bestantal, text, radtyp", "doknr, radnr"},
    {"levfakturahuvud", "doknr, levnr, fakturanr, antalrader", "doknr"},
    {"levfakturarad", "doknr, radnr, artnr, levantal, text, radtyp, frandokument, franrad", "doknr, radnr"},
    {"inkfs", "doknr, levnr, datum, antalrader", "doknr"},
    {"inkfsrad", "doknr, radnr, artnr, levantal, text, radtyp", "doknr, radnr"},
    {"manin", "doknr, artnr, antal, text", "doknr"},
    {"manut", "doknr, artnr, antal, text", "doknr"},
};
inline constexpr TDumpedTable kTidTables[] = {
    {"customer", "CustomerId, CustomerNo, CustomerName, OrganisationNo, ProgramUserId", "CustomerId"},
    {"Id", "LastId", "LastId"},
};

// One of the company's tables above, by name.
inline std::vector<std::string> CompanyTable(TCombinedWorld& world, std::string_view name) {
    for (const TDumpedTable& table : kCompanyTables)
        if (table.Table == name) return TableLines(world.AdminODBC(), table.Table, table.Columns, table.Order);
    throw std::invalid_argument("no dumped table " + std::string(name));
}

// The company's tables, then the time-reporting tables.
inline std::vector<std::string> CompanyDump(TCombinedWorld& world) {
    std::vector<std::string> lines;
    auto add = [&](TADOConnection& connection, const TDumpedTable& table) {
        std::vector<std::string> rows = TableLines(connection, table.Table, table.Columns, table.Order);
        lines.insert(lines.end(), rows.begin(), rows.end());
    };
    for (const TDumpedTable& table : kCompanyTables) add(world.AdminODBC(), table);
    for (const TDumpedTable& table : kTidTables) add(world.Tid(), table);
    return lines;
}

// The element's place: its ancestors' names below the root, each with its position among its
// parent's children ("orders/order#1/atOrder#0").
inline std::string NodePath(const TXMLNode& node) {
    std::string path;
    for (const TXMLNode* n = &node; n->ParentNode() && n->ParentNode()->ParentNode(); n = n->ParentNode()) {
        const auto& siblings = n->ParentNode()->ChildNodes();
        const size_t position = std::find(siblings.begin(), siblings.end(), n) - siblings.begin();
        path = n->NodeName() + "#" + std::to_string(position) + (path.empty() ? "" : "/" + path);
    }
    return path;
}

// What `written` holds that `file` does not, element by element: "+ path @name=value" for an
// attribute added or changed, "+ path/NAME = text" for a child element added (or one whose text
// changed), "- path/NAME" for one removed. Children are paired in order by name.
inline void WrittenBack(const TXMLNode& file, const TXMLNode& written, std::vector<std::string>& lines) {
    for (const TXMLAttribute& attribute : written.Attributes()) {
        const std::string* before = file.FindAttribute(*attribute.Name);
        if (!before || *before != attribute.Value)
            lines.push_back("+ " + NodePath(written) + " @" + *attribute.Name + "=" + attribute.Value);
    }
    const auto& children = written.ChildNodes();
    size_t next = 0;
    for (const TXMLNode* original : file.ChildNodes()) {
        if (original->NodeType() != TNodeType::ntElement) continue;
        size_t found = next;
        while (found < children.size() && !(children[found]->NodeType() == TNodeType::ntElement &&
                                             children[found]->NodeName() == original->NodeName()))
            ++found;
        if (found == children.size()) {
            lines.push_back("- " + NodePath(written) + "/" + original->NodeName());
            continue;
        }
        for (; next < found; ++next)
            if (children[next]->NodeType() == TNodeType::ntElement)
                lines.push_back("+ " + NodePath(*children[next]) + " = " + children[next]->Text());
        const TXMLNode& match = *children[next++];
        if (match.IsTextElement() && original->IsTextElement() && match.Text() != original->Text())
            lines.push_back("+ " + NodePath(match) + " = " + match.Text());
        else
            WrittenBack(*original, match, lines);
    }
    for (; next < children.size(); ++next)
        if (children[next]->NodeType() == TNodeType::ntElement)
            lines.push_back("+ " + NodePath(*children[next]) + " = " + children[next]->Text());
}

inline std::vector<std::string> WrittenBack(TCombinedWorld& world, const std::string& fixture) {
    TXMLDocument file;
    file.LoadFromFile(FixturePath("import/" + fixture));
    std::vector<std::string> lines;
    WrittenBack(*file.DocumentElement(), *world.Import().XMLDocument1.DocumentElement(), lines);
    return lines;
}

// No kit dataset of the central data module is left in edit or insert state.
inline std::vector<std::string> PendingDataSets(TCombinedWorld& world) {
    std::vector<std::string> pending;
    for (int i = 0; i < world.MainDM().ComponentCount(); ++i)
        if (auto* dataSet = dynamic_cast<TAdkDataSet*>(world.MainDM().Components(i)))
            if (dataSet->IsEditing()) pending.push_back(dataSet->Name());
    return pending;
}

}  // namespace tv::test

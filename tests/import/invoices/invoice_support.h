#pragma once
// What the invoice, agreement and customer payment tests share: the demo company with a printed
// invoice of two rows and two agreements beside its invoice, the document and payment tables as
// lines, what the import wrote into the loaded document, and the run of a case: an interchange
// file made of the demo's customers and articles and the case's own containers, the settings, the
// steps after the customers and articles were checked and imported, and everything compared with
// lines written by hand.

#include <string>
#include <vector>

#include "import/import_xml.h"
#include "tests/import/contacts_projects_tid/import_steps.h"

namespace tv::test {

// Invoice 2 of customer 1001, printed, with two rows; agreement 1 of customer 1001 with a row and
// an end date, agreement 2 of customer 1002 with an end date and no rows.
constexpr const char* kInvoiceSeed = R"(
INSERT INTO fakturahuvud (doknr, kundnr, kundnamn, datum, datum2, utskriven, valuta, antalrader, timestamp) VALUES
    (2, '1001', 'Åsa Öberg AB', '2024-02-01', '2024-03-02', 1, 'SEK', 2, 1706781600);
INSERT INTO fakturarad (doknr, radnr, artnr, levantal, text) VALUES
    (2, 1, 'A100', 3, 'Skruv'), (2, 2, 'A200', 1, 'Kaffe');
INSERT INTO avtal (doknr, kundnr, kundnamn, text, startdatum, slutdatum, antalrader) VALUES
    (1, '1001', 'Åsa Öberg AB', 'Service', '2024-01-01', '2024-12-31', 1),
    (2, '1002', 'Bengt Berg', 'Hyra', '2024-01-01', '2025-06-30', 0);
INSERT INTO avtalrad (doknr, radnr, artnr, bestantal, text) VALUES (1, 1, 'A100', 1, 'Skruv');
)";

// The demo's customers and articles, registered and found by the check and import before a case.
constexpr const char* kRegisters = R"(	<customers>
		<atKunder key="1001" option="noedit"/>
		<atKunder key="1002" option="noedit"/>
	</customers>
	<articles>
		<atArtiklar key="a100" option="noedit"/>
		<atArtiklar key="a200" option="noedit"/>
	</articles>
)";

// A search of invoices by their number in SQL: a key that is no number finds none.
constexpr const char* kInvoiceSql = "select doknr from fakturahuvud where doknr = :nr";
constexpr const char* kAgreementSql = "select doknr from avtal where doknr = :nr";

struct Setting {
    const char* table;
    const char* field;
    const char* value;
};

inline std::vector<std::string> InvoiceHeads(TImportWorld& world) {
    return Dump(
        world.AdminODBC(),
        "doknr || '|' || ifnull(kundnr,'') || '|' || ifnull(kundnamn,'') || '|' || ifnull(datum,'') || "
        "'|' || ifnull(datum2,'') || '|' || ifnull(utskriven,'') || '|' || ifnull(ertordernr,'') || '|' "
        "|| ifnull(antalrader,'')",
        "fakturahuvud", "doknr");
}
inline std::vector<std::string> InvoiceRows(TImportWorld& world) {
    return Dump(world.AdminODBC(),
                "doknr || '|' || radnr || '|' || ifnull(artnr,'') || '|' || ifnull(levantal,'') || '|' || "
                "ifnull(text,'') || '|' || ifnull(radtyp,'') || '|' || ifnull(konto,'') || '|' || "
                "ifnull(datum3,'')",
                "fakturarad", "doknr, radnr");
}
inline std::vector<std::string> AgreementHeads(TImportWorld& world) {
    return Dump(
        world.AdminODBC(),
        "doknr || '|' || ifnull(kundnr,'') || '|' || ifnull(kundnamn,'') || '|' || ifnull(text,'') || "
        "'|' || ifnull(startdatum,'') || '|' || ifnull(slutdatum,'') || '|' || ifnull(antalrader,'')",
        "avtal", "doknr");
}
inline std::vector<std::string> AgreementRows(TImportWorld& world) {
    return Dump(world.AdminODBC(),
                "doknr || '|' || radnr || '|' || ifnull(artnr,'') || '|' || ifnull(bestantal,'') || '|' || "
                "ifnull(text,'') || '|' || ifnull(radtyp,'') || '|' || ifnull(konto,'')",
                "avtalrad", "doknr, radnr");
}
inline std::vector<std::string> Payments(TImportWorld& world) {
    return Dump(
        world.AdminODBC(),
        "betalnr || '|' || ifnull(fakturanr,'') || '|' || ifnull(datum,'') || '|' || ifnull(belopp,'')",
        "kundinbet", "betalnr");
}

// One line per item of the container: "#position vismakey=..." and the text of `element` of the
// item or of its head `head` when one is named.
inline std::vector<std::string> ItemLines(TImportWorld& world, const char* container, const char* head,
                                          const char* element) {
    std::vector<std::string> lines;
    TXMLNode* root = world.Import().XMLDocument1.DocumentElement();
    TXMLNode* items = root ? root->FindNode(container) : nullptr;
    if (!items) return lines;
    ForEachItem(*items, [&](TXMLNode& item, int position) {
        const TXMLNode* holder = *head ? ChildElement(item, head) : &item;
        lines.push_back("#" + std::to_string(position) + " vismakey=" + item.Attribute("vismakey") + " " +
                        element + "=" + (holder ? ChildText(*holder, element) : ""));
        return true;
    });
    return lines;
}

// A world of the demo company and the seed above (and `extraSeed`), connected, with the settings
// given, a file of the registers and `containers` loaded, its customers and articles checked and
// imported, the event lines cleared; then `steps` run.
class TInvoiceWorld : public TImportWorld {
public:
    TInvoiceWorld(const std::string& extraSeed, const std::vector<Setting>& settings,
                  const std::string& containers, const std::vector<std::string>& steps)
        : TImportWorld({"kit/demo_company.sql"}, "", kInvoiceSeed + extraSeed) {
        Open();
        for (const Setting& s : settings) Set(s.table, s.field, s.value);
        const std::string file =
            WriteFile("invoices.xml", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quorvel>\n") +
                                          kRegisters + containers + "</quorvel>\n");
        if (!Import().LoadXML(file)) throw std::runtime_error("the case's file does not load");
        RunSteps(*this, {"CheckCustomers", "ImportCustomers", "CheckArticles", "ImportArticles"});
        Events().Clear();
        RunSteps(*this, steps);
    }
};

}  // namespace tv::test

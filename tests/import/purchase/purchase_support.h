#pragma once
// What the purchase and stock document import tests share: the demo company with a purchase order
// of three rows, a supplier invoice, a delivery note and a manual receipt and issue beside it (on
// the import suites' field-definition table); the steps of a job by name; and the company's tables
// and the loaded document's written numbers as lines.

#include <map>
#include <string>
#include <vector>

#include "import/import_xml.h"
#include "tests/import/contacts_projects_tid/import_steps.h"

namespace tv::test {

// An AdkAdd that fails once, after `skip` adds have gone through.
inline std::string FailingAdd(int skip) {
    return "INSERT INTO kit_faults(function, code, message, skip, times) VALUES('AdkAdd', 0, 'kit fault', " +
           std::to_string(skip) + ", 1);\n";
}

class TPurchaseWorld : public TImportWorld {
public:
    explicit TPurchaseWorld(const std::string& extraSeed = "")
        : TImportWorld({"kit/demo_company.sql", "import/purchase/purchase_seed.sql"}, "", extraSeed) {
        Open();
    }
};

// Runs the steps as a job script calls them ("LoadXML purchase/<file>", a check, an import) and
// writes each step's outcome after its lines.
inline void RunPurchaseSteps(TImportWorld& world, const std::vector<std::string>& steps) {
    static const std::map<std::string, bool (TDMImport::*)()> imports = {
        {"ImportBest", &TDMImport::ImportBest},
        {"ImportSupplierInvoices", &TDMImport::ImportSupplierInvoices},
        {"ImportDeliveryNotes", &TDMImport::ImportDeliveryNotes},
        {"ImportManualDeliveryIn", &TDMImport::ImportManualDeliveryIn},
        {"ImportManualDeliveryOut", &TDMImport::ImportManualDeliveryOut},
    };
    for (const std::string& step : steps) {
        auto it = imports.find(step);
        if (it == imports.end()) {
            RunSteps(world, {step});
            continue;
        }
        std::string outcome;
        try {
            outcome = (world.Import().*it->second)() ? " true" : " false";
        } catch (const std::exception& e) {
            outcome = std::string(" raises: ") + e.what();
        }
        world.Events().Lines.push_back(step + outcome);
    }
}

// The documents of a kind as SQL reads them: heads, then rows under "  ".
struct TDocumentTables {
    const char* heads;
    const char* headColumns;
    const char* rows;  // nullptr: a kind without rows
    const char* rowColumns;
};

constexpr TDocumentTables kBookingTables{
    "best", "doknr || '|' || ifnull(levnr,'') || '|' || ifnull(datum,'') || '|' || ifnull(antalrader,'')",
    "bestrad",
    "doknr || '|' || radnr || '|' || ifnull(artnr,'') || '|' || ifnull(levartnr,'') || '|' || "
    "ifnull(bestantal,'') || '|' || ifnull(text,'') || '|' || ifnull(radtyp,'')"};
constexpr TDocumentTables kSupplierInvoiceTables{
    "levfakturahuvud",
    "doknr || '|' || ifnull(levnr,'') || '|' || ifnull(fakturanr,'') || '|' || ifnull(antalrader,'')",
    "levfakturarad",
    "doknr || '|' || radnr || '|' || ifnull(artnr,'') || '|' || ifnull(levantal,'') || '|' || "
    "ifnull(text,'') || '|' || ifnull(radtyp,'') || '|' || ifnull(frandokument,'') || '|' || "
    "ifnull(franrad,'')"};
constexpr TDocumentTables kDeliveryNoteTables{
    "inkfs", "doknr || '|' || ifnull(levnr,'') || '|' || ifnull(datum,'') || '|' || ifnull(antalrader,'')",
    "inkfsrad",
    "doknr || '|' || radnr || '|' || ifnull(artnr,'') || '|' || ifnull(levantal,'') || '|' || "
    "ifnull(text,'') || '|' || ifnull(radtyp,'')"};
constexpr const char* kManualColumns =
    "doknr || '|' || ifnull(artnr,'') || '|' || ifnull(antal,'') || '|' || ifnull(text,'')";
constexpr TDocumentTables kManualInTables{"manin", kManualColumns, nullptr, nullptr};
constexpr TDocumentTables kManualOutTables{"manut", kManualColumns, nullptr, nullptr};

inline std::vector<std::string> DocumentTables(TImportWorld& world, const TDocumentTables& tables) {
    std::vector<std::string> lines = Dump(world.AdminODBC(), tables.headColumns, tables.heads, "doknr");
    if (tables.rows)
        for (const std::string& row : Dump(world.AdminODBC(), tables.rowColumns, tables.rows, "doknr, radnr"))
            lines.push_back("  " + row);
    return lines;
}

// One line per item of the container: "#position vismakey=..." followed by the elements named, as
// "NAME=text" when the item (or its head `headName`) has them; then per row its elements as
// "  NAME=text".
inline std::vector<std::string> WrittenBack(TImportWorld& world, const char* container, const char* headName,
                                            const std::vector<std::string>& headElements) {
    std::vector<std::string> lines;
    TXMLNode* root = world.Import().XMLDocument1.DocumentElement();
    TXMLNode* items = root ? root->FindNode(container) : nullptr;
    if (!items) return lines;
    ForEachItem(*items, [&](TXMLNode& item, int position) {
        const TXMLNode* head = headName ? ChildElement(item, headName) : &item;
        std::string line = "#" + std::to_string(position) + " vismakey=" + item.Attribute("vismakey");
        for (const std::string& name : headElements)
            if (const TXMLNode* element = head ? ChildElement(*head, name) : nullptr)
                line += " " + name + "=" + element->Text();
        lines.push_back(line);
        if (const TXMLNode* rows = ChildElement(item, "rows"))
            ForEachItem(*rows, [&](TXMLNode& row, int) {
                std::string rowLine = " ";
                for (const TXMLNode* element : row.ChildNodes())
                    if (IsElement(*element)) rowLine += " " + element->NodeName() + "=" + element->Text();
                lines.push_back(rowLine);
                return true;
            });
        return true;
    });
    return lines;
}

}  // namespace tv::test

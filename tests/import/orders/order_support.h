#pragma once
// What the order and offer import tests share: a plug-in host that writes down the rule calls
// (and raises when told to), the demo company's document tables as lines, and what the import
// wrote into the loaded document: per document its "vismakey" and customer number, per row its
// article number and the names of the elements it kept.

#include <string>
#include <vector>

#include "import/import_xml.h"
#include "import/rule_service.h"
#include "tests/import/contacts_projects_tid/import_steps.h"

namespace tv::test {

class TRecordingRules : public IRuleService {
public:
    std::vector<std::string> Lines;
    std::string RaiseText;  // not empty: RunRule raises it

    void ClearRuleParams() override { Lines.push_back("ClearRuleParams"); }
    void AddRuleParam(const std::string& aKey, const std::string& aValue) override {
        Lines.push_back("AddRuleParam " + aKey + "=" + aValue);
    }
    void RunRule(const std::string& rulename) override {
        Lines.push_back("RunRule " + rulename);
        if (!RaiseText.empty()) throw std::runtime_error(RaiseText);
    }
};

// The demo company with the rule fake as the import's plug-in host, connected.
class TOrderWorld : public TImportWorld {
public:
    explicit TOrderWorld(const std::string& extraSeed = "")
        : TImportWorld({"kit/demo_company.sql"}, "", extraSeed) {
        Context().RuleService = &Rules;
    }
    TRecordingRules Rules;
};

// Heads and rows of orders or offers, as the SQL side reads them.
constexpr const char* kHeadColumns =
    "doknr || '|' || ifnull(kundnr,'') || '|' || ifnull(kundnamn,'') || '|' || ifnull(datum,'') || '|' || "
    "ifnull(datum2,'') || '|' || ifnull(ertordernr,'') || '|' || ifnull(valuta,'') || '|' || "
    "ifnull(levnamn,'') || '|' || ifnull(levadress1,'') || '|' || ifnull(levpostnr,'') || '|' || "
    "ifnull(levort,'') || '|' || ifnull(levlandkod,'') || '|' || ifnull(utskriven,'') || "
    "ifnull(makulerad,'') || ifnull(levererad,'') || '|' || ifnull(antalrader,'')";
constexpr const char* kRowColumns =
    "doknr || '|' || radnr || '|' || ifnull(artnr,'') || '|' || ifnull(levantal,'') || '|' || "
    "ifnull(bestantal,'') || '|' || ifnull(apris,'') || '|' || ifnull(text,'') || '|' || ifnull(radtyp,'') "
    "|| "
    "'|' || ifnull(projekt,'')";

inline std::vector<std::string> Heads(TImportWorld& world, bool offers) {
    return Dump(world.AdminODBC(), kHeadColumns, offers ? "offerthuvud" : "orderhuvud", "doknr");
}
inline std::vector<std::string> Rows(TImportWorld& world, bool offers) {
    return Dump(world.AdminODBC(), kRowColumns, offers ? "offertrad" : "orderrad", "doknr, radnr");
}

// One line per document of the container: "#position vismakey=... customer=...", then one per row:
// "  row OOI_ROW_ARTICLE_NUMBER's text: its element names".
inline std::vector<std::string> DocumentLines(TImportWorld& world, const char* container,
                                              const char* headName) {
    std::vector<std::string> lines;
    TXMLNode* root = world.Import().XMLDocument1.DocumentElement();
    TXMLNode* documents = root ? root->FindNode(container) : nullptr;
    if (!documents) return lines;
    ForEachItem(*documents, [&](TXMLNode& document, int position) {
        const TXMLNode* head = ChildElement(document, headName);
        lines.push_back("#" + std::to_string(position) + " vismakey=" + document.Attribute("vismakey") +
                        " customer=" + (head ? ChildText(*head, "OOI_HEAD_CUSTOMER_NUMBER") : ""));
        if (const TXMLNode* rows = ChildElement(document, "rows"))
            ForEachItem(*rows, [&](TXMLNode& row, int) {
                std::string line = "  row " + ChildText(row, "OOI_ROW_ARTICLE_NUMBER") + ":";
                for (const TXMLNode* element : row.ChildNodes())
                    if (IsElement(*element)) line += " " + element->NodeName();
                lines.push_back(line);
                return true;
            });
        return true;
    });
    return lines;
}

}  // namespace tv::test

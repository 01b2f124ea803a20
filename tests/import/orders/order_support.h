#pragma once
// What the order and offer import tests share: a plug-in host that writes down the rule calls
// (and raises when told to), a sleeper that writes its pauses down, the run of one case, the demo
// company's document tables as lines, and what the import wrote into the loaded document: per
// document its "vismakey" and customer number, per row its article number and the names of the
// elements it kept.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "import/import_sleeper.h"
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

// A sleeper that writes the pauses and message passes down instead of making them.
class TRecordingSleeper : public IImportSleeper {
public:
    std::vector<std::string> Lines;
    void Sleep(int milliseconds) override { Lines.push_back("Sleep " + std::to_string(milliseconds)); }
    void ProcessMessages() override { Lines.push_back("ProcessMessages"); }
};

// The demo company with the rule fake as the import's plug-in host and the recording sleeper.
class TOrderWorld : public TImportWorld {
public:
    explicit TOrderWorld(const std::string& extraSeed = "")
        : TImportWorld({"kit/demo_company.sql"}, "", extraSeed) {
        Context().RuleService = &Rules;
        Context().Sleeper = &Sleeper;
    }
    TRecordingRules Rules;
    TRecordingSleeper Sleeper;
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

// One import case: the settings, the steps, and what the tables, the loaded document, the
// plug-in host and the sleeper hold afterwards, written by hand.
inline constexpr const char* kOrderPrefs = "CDSImportOrderPrefs";
inline constexpr const char* kOfferPrefs = "CDSImportOffersPrefs";

inline constexpr const char* kSeededOrders = R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
)";
inline constexpr const char* kSeededOrderRows = R"(
1|1|A100|0|5|10|Skruv M6||
1|2|A200|0|2|120|Kaffe||
1|3|||||Leverans på fredag|T|
)";
inline constexpr const char* kSeededOffer = "1|1003|Cecilia Ek|2024-01-10||||||||||1";
inline constexpr const char* kSeededOfferRow = "1|1|A300||1|199|||";

struct Setting {
    const char* table;
    const char* field;
    const char* value;
};

struct DocumentCase {
    const char* name;
    const char* fixture;  // below tests/fixtures/import/orders
    std::vector<Setting> settings;
    std::vector<std::string> steps;  // after the file's customers and articles were checked and imported
    const char* events;              // of the steps
    const char* heads;               // the kind's heads afterwards
    const char* rows;                // and rows
    const char* document;            // the documents of the loaded file afterwards
    const char* rules = "";          // the calls of the plug-in host
    const char* ruleRaises = "";     // what its RunRule raises
    const char* seed = "";           // statements run on the demo company first
    const char* waits = "";          // the calls of the sleeper
};

inline void RunCase(const DocumentCase& c, bool offers) {
    TOrderWorld world(c.seed);
    world.Open();
    world.Rules.RaiseText = c.ruleRaises;
    for (const Setting& s : c.settings) world.Set(s.table, s.field, s.value);
    RunSteps(world, {std::string("LoadXML orders/") + c.fixture, "CheckCustomers", "ImportCustomers",
                     "CheckArticles", "ImportArticles"});
    world.Events().Clear();
    RunSteps(world, c.steps);
    EXPECT_EQ(Visible(world.Events().Take()), Lines(c.events)) << c.name;
    EXPECT_EQ(Heads(world, offers), Lines(c.heads)) << c.name;
    EXPECT_EQ(Rows(world, offers), Lines(c.rows)) << c.name;
    EXPECT_EQ(DocumentLines(world, offers ? "offers" : "orders", offers ? "atOffert" : "atOrder"),
              Lines(c.document))
        << c.name;
    EXPECT_EQ(world.Rules.Lines, Lines(c.rules)) << c.name;
    EXPECT_EQ(world.Sleeper.Lines, Lines(c.waits)) << c.name;
}

}  // namespace tv::test

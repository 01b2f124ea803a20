// The purchase-price import end to end: the demo company, a fixture file, the checks and imports a
// job script calls; the event lines and the purchase prices afterwards, written by hand. The demo
// company holds A100 from L10 (base 5 "L10-M6", bracket 50 at 4.5) and A200 from L20 (base 80).

#include "tests/import/prices/price_support.h"

namespace tv {
namespace {

using test::Lines;

constexpr const char* kDemoPrices = R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.5|L10-M6
A200|L20|0|80|L20-KAF
)";

// purchase.xml with the default settings: A100's base price keeps its stored price and number, its
// bracket of 50 is replaced and one of 100 added; A300 from L20 (both by key) is added with its
// bracket, which carries no supplier article number.
constexpr const char* kPurchaseEvents = R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  + Importerar stafflingar
    [8] A100
    [8] A100
  - Inköpspris - #3
  [8] Lägger till artikel: A300
  + Importerar stafflingar
    [8] A300
ImportPurchasePrices true
)";
constexpr const char* kPurchasePrices = R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.25|
A100|L10|100|4|
A200|L20|0|80|L20-KAF
A300|L20|0|70|L20-BOK
A300|L20|10|65|
)";

struct PurchaseCase {
    const char* name;
    const char* fixture;
    bool checked;        // the check runs first (it refuses a bracket without quantity)
    int ignorefailures;  // -1: ImportPurchasePrices
    std::vector<std::pair<const char*, const char*>> settings;
    std::string extraSeed;
    int runs;
    const char* events;  // of the last import
    const char* prices;
};

const PurchaseCase kCases[] = {
    {"a stored base price keeps its price and number when the item has neither; a bracket of a "
     "stored quantity is replaced; keys resolve to the business system's numbers",
     "purchase.xml",
     true,
     -1,
     {},
     "",
     1,
     kPurchaseEvents,
     kPurchasePrices},

    {"the same file imported twice leaves the same rows",
     "purchase.xml",
     true,
     -1,
     {},
     "",
     2,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  + Importerar stafflingar
    [8] A100
    [8] A100
  - Inköpspris - #3
  [8] Ändrar artikel: A300
  + Importerar stafflingar
    [8] A300
ImportPurchasePrices true
)",
     kPurchasePrices},

    {"ON_PP_EXIST 1 skips the item with its brackets",
     "purchase.xml",
     true,
     -1,
     {{"ON_PP_EXIST", "1"}},
     "",
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  - Inköpspris - #3
  [8] Lägger till artikel: A300
  + Importerar stafflingar
    [8] A300
ImportPurchasePrices true
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.5|L10-M6
A200|L20|0|80|L20-KAF
A300|L20|0|70|L20-BOK
A300|L20|10|65|
)"},

    {"ON_PP_EXIST 2 refuses a stored base price",
     "purchase.xml",
     true,
     -1,
     {{"ON_PP_EXIST", "2"}},
     "",
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [2] Inköpspris finns readan
ImportPurchasePrices false
)",
     kDemoPrices},

    {"ON_PP_DOES_NOT_EXIST 1 skips the item with its brackets",
     "purchase.xml",
     true,
     -1,
     {{"ON_PP_DOES_NOT_EXIST", "1"}},
     "",
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  + Importerar stafflingar
    [8] A100
    [8] A100
  - Inköpspris - #3
ImportPurchasePrices true
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.25|
A100|L10|100|4|
A200|L20|0|80|L20-KAF
)"},

    {"ON_PP_DOES_NOT_EXIST 2 refuses a missing base price",
     "purchase.xml",
     true,
     -1,
     {{"ON_PP_DOES_NOT_EXIST", "2"}},
     "",
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  + Importerar stafflingar
    [8] A100
    [8] A100
  - Inköpspris - #3
  [2] Grundpris finns inte
ImportPurchasePrices false
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.25|
A100|L10|100|4|
A200|L20|0|80|L20-KAF
)"},

    {"ON_PP_DOES_NOT_EXIST 3 imports the brackets without a base price",
     "purchase.xml",
     true,
     -1,
     {{"ON_PP_DOES_NOT_EXIST", "3"}},
     "",
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  + Importerar stafflingar
    [8] A100
    [8] A100
  - Inköpspris - #3
  + Importerar stafflingar
    [8] A300
ImportPurchasePrices true
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.25|
A100|L10|100|4|
A200|L20|0|80|L20-KAF
A300|L20|10|65|
)"},

    {"a bracket of quantity 0 ends the import; the base price written before stays",
     "zero_quantity.xml",
     true,
     1,
     {},
     "",
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #1
  [8] Ändrar artikel: A200
  + Importerar stafflingar
  [2] Ogiltligt antal för staffling
ImportPurchasePrices2 false
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.5|L10-M6
A200|L20|0|78|L20-KAF
)"},

    {"a bracket without quantity ends the import",
     "missing_quantity.xml",
     false,
     1,
     {},
     "",
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #1
  [8] Ändrar artikel: A200
  + Importerar stafflingar
  [2] Ogiltligt antal för staffling
ImportPurchasePrices2 false
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.5|L10-M6
A200|L20|0|78|L20-KAF
)"},

    {"an empty container has nothing to import",
     "empty.xml",
     true,
     -1,
     {},
     "",
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  [1] Inga inköpspriser att importera
ImportPurchasePrices true
)",
     kDemoPrices},

    {"without ignorefailures a bracket the kit refuses ends the import with the kit's text",
     "purchase.xml",
     true,
     0,
     {},
     test::KitFault("AdkAdd", 312, 0),
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  + Importerar stafflingar
    [8] A100
  [2] Misslyckades att spara till Administration: Visma Integration felkod 312:  Fel i företagets databas. (lRc: 312, lDbTable: 187, lField: 188, lFunction: 25)
ImportPurchasePrices2 false
)",
     R"(
A100|L10|0|5|L10-M6
A200|L20|0|80|L20-KAF
)"},

    {"with ignorefailures a bracket the kit refuses is reported and the next one imported",
     "purchase.xml",
     true,
     1,
     {},
     test::KitFault("AdkAdd", 312, 0),
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  + Importerar stafflingar
    [8] A100
    [2] Misslyckades med artikel/lev A100 L10
    [8] A100
  - Inköpspris - #3
  [8] Lägger till artikel: A300
  + Importerar stafflingar
    [8] A300
ImportPurchasePrices2 true
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|100|4|
A200|L20|0|80|L20-KAF
A300|L20|0|70|L20-BOK
A300|L20|10|65|
)"},

    {"without ignorefailures a base price the kit refuses to change ends the import",
     "purchase.xml",
     true,
     0,
     {},
     test::KitFault("AdkUpdate", 312, 0),
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  [2] Misslyckades ändra artikel: A100, Visma Integration felkod 312:  Fel i företagets databas. (lRc: 312, lDbTable: 187, lField: 188, lFunction: 26)
ImportPurchasePrices2 false
)",
     kDemoPrices},

    {"with ignorefailures a base price the kit refuses to change is reported and its brackets passed over",
     "purchase.xml",
     true,
     1,
     {},
     test::KitFault("AdkUpdate", 312, 0),
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  [2] Misslyckades med artikel/lev A100 L10
  - Inköpspris - #3
  [8] Lägger till artikel: A300
  + Importerar stafflingar
    [8] A300
ImportPurchasePrices2 true
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.5|L10-M6
A200|L20|0|80|L20-KAF
A300|L20|0|70|L20-BOK
A300|L20|10|65|
)"},

    {"without ignorefailures a base price the kit refuses to add ends the import",
     "purchase.xml",
     true,
     0,
     {},
     test::KitFault("AdkAdd", 312, 2),
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  + Importerar stafflingar
    [8] A100
    [8] A100
  - Inköpspris - #3
  [8] Lägger till artikel: A300
  [2] Misslyckades att ändra artikel: A300, Visma Integration felkod 312:  Fel i företagets databas. (lRc: 312, lDbTable: 187, lField: 188, lFunction: 25)
ImportPurchasePrices2 false
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.25|
A100|L10|100|4|
A200|L20|0|80|L20-KAF
)"},

    {"with ignorefailures a base price the kit refuses to add is reported and its brackets passed over",
     "purchase.xml",
     true,
     1,
     {},
     test::KitFault("AdkAdd", 312, 2),
     1,
     R"(
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Ändrar artikel: A100
  + Importerar stafflingar
    [8] A100
    [8] A100
  - Inköpspris - #3
  [8] Lägger till artikel: A300
  [2] Misslyckades med artikel/lev A300 L20
ImportPurchasePrices2 true
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.25|
A100|L10|100|4|
A200|L20|0|80|L20-KAF
)"},
};

// One test per case, so that ctest runs shares of them side by side.
class PurchasePriceImport : public ::testing::TestWithParam<size_t> {};

TEST_P(PurchasePriceImport, EndToEnd) {
    const PurchaseCase& c = kCases[GetParam()];
    test::TImportWorld world({"kit/demo_company.sql"}, "", c.extraSeed);
    world.Open();
    for (const auto& [field, value] : c.settings) world.Set("CDSImportPurchasePrices", field, value);
    TDMImport& dm = world.Import();
    const bool plain = c.ignorefailures < 0;
    std::vector<std::string> events;
    for (int run = 0; run < c.runs; ++run)
        events = test::RunPriceImport(
            world, c.fixture, c.checked ? &TDMImport::CheckPurchasePrices : nullptr,
            plain ? "ImportPurchasePrices" : "ImportPurchasePrices2",
            [&] { return plain ? dm.ImportPurchasePrices() : dm.ImportPurchasePrices2(c.ignorefailures); });
    EXPECT_EQ(events, Lines(c.events)) << c.name;
    EXPECT_EQ(test::PurchasePriceDump(world), Lines(c.prices)) << c.name;
    EXPECT_FALSE(world.DataSet("AdkInkPris").IsEditing()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, PurchasePriceImport, ::testing::Range(size_t{0}, std::size(kCases)));

}  // namespace
}  // namespace tv

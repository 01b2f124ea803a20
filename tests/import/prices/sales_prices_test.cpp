// The sales-price import end to end: the demo company, a fixture file, the checks and imports a job
// script calls; the event lines, the sales prices and price lists afterwards, written by hand.
// The demo company holds PL1 (A100 base 10, brackets 10 and 100; A200 base 120) and PL2 (A100 base 11).

#include "tests/import/prices/price_support.h"

namespace tv {
namespace {

using test::Lines;
using test::TNumbers;

constexpr const char* kDemoPrices = R"(
PL1|A100|0|10
PL1|A100|10|9
PL1|A100|100|8
PL1|A200|0|120
PL2|A100|0|11
)";
constexpr const char* kDemoLists = R"(
PL1|Grundpriser
PL2|Återförsäljare
)";
constexpr const char* kWithPL3 = R"(
PL1|Grundpriser
PL2|Återförsäljare
PL3|Kampanj
)";

// sales.xml into the demo company with the default settings: PL1's base prices changed, A300's
// added by its key, brackets of 1 and 5 added, the bracket of 10 replaced; PL3 created with A100's
// base price 0, the row having no price.
constexpr const char* kSalesEvents = R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Ändrar grundpris för artikel: A100
  [8] Ändrar grundpris för artikel: A200
  [8] Lägger till artikelpris: A300
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 1.00
      [8] A300, 5.00
      [8] A100, 10.00
  - Försäljningsprislista - #3
  [1] Skapade prislista: PL3
  [8] Lägger till artikelpris: A100
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
ImportSalesPrices true
)";
constexpr const char* kSalesPrices = R"(
PL1|A100|0|12.5
PL1|A100|1|12.5
PL1|A100|10|8.75
PL1|A100|100|8
PL1|A200|0|130
PL1|A300|0|99
PL1|A300|5|90
PL2|A100|0|11
PL3|A100|0|0
)";

struct SalesCase {
    const char* name;
    const char* fixture;
    std::vector<std::pair<const char*, const char*>> settings;
    std::string extraSeed;
    int runs;  // the file is loaded, checked and imported this many times
    TNumbers numbers;
    const char* events;  // of the last import
    const char* prices;
    const char* lists;
};

const SalesCase kCases[] = {
    {"quantity 1 is a base price and a bracket, 0 or none a base price only, 5 a bracket only; a "
     "bracket of an existing quantity is replaced; a bracket row keyed by articlekey writes the "
     "resolved article; a base row without price adds 0; a new list takes its code and name",
     "sales.xml",
     {},
     "",
     1,
     TNumbers::Dot,
     kSalesEvents,
     kSalesPrices,
     kWithPL3},

    {"the same file imported twice leaves the same rows",
     "sales.xml",
     {},
     "",
     2,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Ändrar grundpris för artikel: A100
  [8] Ändrar grundpris för artikel: A200
  [8] Ändrar grundpris för artikel: A300
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 1.00
      [8] A300, 5.00
      [8] A100, 10.00
  - Försäljningsprislista - #3
  [1] Ändrar prislista: PL3
  [8] Ändrar grundpris för artikel: A100
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
ImportSalesPrices true
)",
     kSalesPrices,
     kWithPL3},

    {"ON_SPLIST_EXIST 1 skips the existing list with its base prices and brackets",
     "sales.xml",
     {{"ON_SPLIST_EXIST", "1"}},
     "",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  - Försäljningsprislista - #3
  [1] Skapade prislista: PL3
  [8] Lägger till artikelpris: A100
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
ImportSalesPrices true
)",
     R"(
PL1|A100|0|10
PL1|A100|10|9
PL1|A100|100|8
PL1|A200|0|120
PL2|A100|0|11
PL3|A100|0|0
)",
     kWithPL3},

    {"ON_SPLIST_EXIST 2 refuses the existing list",
     "sales.xml",
     {{"ON_SPLIST_EXIST", "2"}},
     "",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [2] Prislista finns redan: PL1
ImportSalesPrices false
)",
     kDemoPrices,
     kDemoLists},

    {"ON_SPLIST_DOES_NOT_EXIST 1 skips the missing list",
     "sales.xml",
     {{"ON_SPLIST_DOES_NOT_EXIST", "1"}},
     "",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Ändrar grundpris för artikel: A100
  [8] Ändrar grundpris för artikel: A200
  [8] Lägger till artikelpris: A300
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 1.00
      [8] A300, 5.00
      [8] A100, 10.00
  - Försäljningsprislista - #3
ImportSalesPrices true
)",
     R"(
PL1|A100|0|12.5
PL1|A100|1|12.5
PL1|A100|10|8.75
PL1|A100|100|8
PL1|A200|0|130
PL1|A300|0|99
PL1|A300|5|90
PL2|A100|0|11
)",
     kDemoLists},

    {"ON_SP_EXIST 1 keeps the stored base prices; brackets are still written",
     "sales.xml",
     {{"ON_SP_EXIST", "1"}},
     "",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Lägger till artikelpris: A300
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 1.00
      [8] A300, 5.00
      [8] A100, 10.00
  - Försäljningsprislista - #3
  [1] Skapade prislista: PL3
  [8] Lägger till artikelpris: A100
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
ImportSalesPrices true
)",
     R"(
PL1|A100|0|10
PL1|A100|1|12.5
PL1|A100|10|8.75
PL1|A100|100|8
PL1|A200|0|120
PL1|A300|0|99
PL1|A300|5|90
PL2|A100|0|11
PL3|A100|0|0
)",
     kWithPL3},

    {"ON_SP_EXIST 2 refuses the first stored base price",
     "sales.xml",
     {{"ON_SP_EXIST", "2"}},
     "",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [2] Försäljningspris finns redan
ImportSalesPrices false
)",
     kDemoPrices,
     kDemoLists},

    {"ON_SP_DOES_NOT_EXIST other than 0 and 2 skips the missing base prices",
     "sales.xml",
     {{"ON_SP_DOES_NOT_EXIST", "3"}},
     "",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Ändrar grundpris för artikel: A100
  [8] Ändrar grundpris för artikel: A200
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 1.00
      [8] A300, 5.00
      [8] A100, 10.00
  - Försäljningsprislista - #3
  [1] Skapade prislista: PL3
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
ImportSalesPrices true
)",
     R"(
PL1|A100|0|12.5
PL1|A100|1|12.5
PL1|A100|10|8.75
PL1|A100|100|8
PL1|A200|0|130
PL1|A300|5|90
PL2|A100|0|11
)",
     kWithPL3},

    {"ON_SP_DOES_NOT_EXIST 2 ends the import at the first missing base price; what was written stays",
     "sales.xml",
     {{"ON_SP_DOES_NOT_EXIST", "2"}},
     "",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Ändrar grundpris för artikel: A100
  [8] Ändrar grundpris för artikel: A200
  [2] Grundpris finns inte
ImportSalesPrices false
)",
     R"(
PL1|A100|0|12.5
PL1|A100|10|9
PL1|A100|100|8
PL1|A200|0|130
PL2|A100|0|11
)",
     kDemoLists},

    {"CLEAR_OLD_QTY_PRICES 1 deletes the listed articles' brackets of this list only, never a base "
     "price, before the new ones are added",
     "clear.xml",
     {{"CLEAR_OLD_QTY_PRICES", "1"}},
     "INSERT INTO forspris (prislista, artnr, antal, pris, ejstaffling, timestamp) VALUES "
     "('PL2', 'A100', 10, 10.5, 0, '2024-01-05 12:10:00');\n",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #1
  [1] Ändrar prislista: PL1
  + Importerar stafflingar
    + Tar bort gamla stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 20.00
ImportSalesPrices true
)",
     R"(
PL1|A100|0|10
PL1|A100|20|8.5
PL1|A200|0|120
PL2|A100|0|11
PL2|A100|10|10.5
)",
     kDemoLists},

    {"without CLEAR_OLD_QTY_PRICES the old brackets stay",
     "clear.xml",
     {},
     "",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #1
  [1] Ändrar prislista: PL1
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 20.00
ImportSalesPrices true
)",
     R"(
PL1|A100|0|10
PL1|A100|10|9
PL1|A100|20|8.5
PL1|A100|100|8
PL1|A200|0|120
PL2|A100|0|11
)",
     kDemoLists},

    {"a list without head takes its code from its first row; numbers are read and the bracket line written "
     "in a Swedish format",
     "without_head.xml",
     {},
     "",
     1,
     TNumbers::Swedish,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #1
  [8] Lägger till artikelpris: A200
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A200, 1 000,00
ImportSalesPrices true
)",
     R"(
PL1|A100|0|10
PL1|A100|10|9
PL1|A100|100|8
PL1|A200|0|120
PL2|A100|0|11
PL2|A200|0|115
PL2|A200|1000|100.5
)",
     kDemoLists},

    {"the bracket line follows forcedot",
     "without_head_dot.xml",
     {},
     "",
     1,
     TNumbers::ForceDot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #1
  [8] Lägger till artikelpris: A200
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A200, 1 000.00
ImportSalesPrices true
)",
     R"(
PL1|A100|0|10
PL1|A100|10|9
PL1|A100|100|8
PL1|A200|0|120
PL2|A100|0|11
PL2|A200|0|115
PL2|A200|1000|100.5
)",
     kDemoLists},

    {"rows keyed by pricelistkey in a list without head are refused by the check and by the import; "
     "nothing is written",
     "pricelistkey.xml",
     {},
     "",
     1,
     TNumbers::Dot,
     R"(
  [2] Nyckel PL2 finns inte bland definierade prislistor.
check false
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #1
  [2] Nyckel PL2 finns inte bland definierade prislistor.
ImportSalesPrices false
)",
     kDemoPrices,
     kDemoLists},

    {"an empty container has nothing to import",
     "empty.xml",
     {},
     "",
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  [1] Inga försäljningspriser att importera
ImportSalesPrices true
)",
     kDemoPrices,
     kDemoLists},

    {"a base price the kit refuses to add is reported and the next row imported",
     "sales.xml",
     {},
     test::KitFault("AdkAdd", 312, 0),
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Ändrar grundpris för artikel: A100
  [8] Ändrar grundpris för artikel: A200
  [8] Lägger till artikelpris: A300
  [2] Misslyckades att skapa pris för artikel: A300
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 1.00
      [8] A300, 5.00
      [8] A100, 10.00
  - Försäljningsprislista - #3
  [1] Skapade prislista: PL3
  [8] Lägger till artikelpris: A100
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
ImportSalesPrices true
)",
     R"(
PL1|A100|0|12.5
PL1|A100|1|12.5
PL1|A100|10|8.75
PL1|A100|100|8
PL1|A200|0|130
PL1|A300|5|90
PL2|A100|0|11
PL3|A100|0|0
)",
     kWithPL3},

    {"a bracket the kit refuses to add is reported with its article and list and the next one added",
     "sales.xml",
     {},
     test::KitFault("AdkAdd", 312, 1),
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Ändrar grundpris för artikel: A100
  [8] Ändrar grundpris för artikel: A200
  [8] Lägger till artikelpris: A300
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 1.00
      [2] Misslyckades med artikel/prislista A100 PL1
      [8] A300, 5.00
      [8] A100, 10.00
  - Försäljningsprislista - #3
  [1] Skapade prislista: PL3
  [8] Lägger till artikelpris: A100
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
ImportSalesPrices true
)",
     R"(
PL1|A100|0|12.5
PL1|A100|10|8.75
PL1|A100|100|8
PL1|A200|0|130
PL1|A300|0|99
PL1|A300|5|90
PL2|A100|0|11
PL3|A100|0|0
)",
     kWithPL3},

    {"a base price the kit refuses to change ends the import with the kit's text",
     "sales.xml",
     {},
     test::KitFault("AdkUpdate", 312, 1),
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Ändrar grundpris för artikel: A100
  [2] Misslyckades ändra grundpris för artikel: A100, Visma Integration felkod 312:  Fel i företagets databas.
ImportSalesPrices false
)",
     kDemoPrices,
     kDemoLists},

    {"an old bracket the kit refuses to delete ends the import with the kit's text",
     "sales.xml",
     {},
     test::KitFault("AdkDelete", 312, 0),
     1,
     TNumbers::Dot,
     R"(
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Ändrar grundpris för artikel: A100
  [8] Ändrar grundpris för artikel: A200
  [8] Lägger till artikelpris: A300
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] A100, 1.00
      [8] A300, 5.00
  [2] Visma Integration felkod 312:  Fel i företagets databas.
ImportSalesPrices false
)",
     R"(
PL1|A100|0|12.5
PL1|A100|1|12.5
PL1|A100|10|9
PL1|A100|100|8
PL1|A200|0|130
PL1|A300|0|99
PL1|A300|5|90
PL2|A100|0|11
)",
     kDemoLists},
};

// One test per case, so that ctest runs shares of them side by side.
class SalesPriceImport : public ::testing::TestWithParam<size_t> {};

TEST_P(SalesPriceImport, EndToEnd) {
    const SalesCase& c = kCases[GetParam()];
    test::TImportWorld world({"kit/demo_company.sql"}, "", c.extraSeed);
    test::UseNumbers(world, c.numbers);
    world.Open();
    for (const auto& [field, value] : c.settings) world.Set("CDSImportSalesPrices", field, value);
    std::vector<std::string> events;
    for (int run = 0; run < c.runs; ++run)
        events = test::RunPriceImport(world, c.fixture, &TDMImport::CheckSalesPrices, "ImportSalesPrices",
                                      [&] { return world.Import().ImportSalesPrices(); });
    EXPECT_EQ(events, Lines(c.events)) << c.name;
    EXPECT_EQ(test::SalesPriceDump(world), Lines(c.prices)) << c.name;
    EXPECT_EQ(test::PriceListDump(world), Lines(c.lists)) << c.name;
    EXPECT_FALSE(world.DataSet("AdkPrislistor").IsEditing()) << c.name;
    EXPECT_FALSE(world.DataSet("AdkForsaljningspriser").IsEditing()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, SalesPriceImport, ::testing::Range(size_t{0}, std::size(kCases)));

}  // namespace
}  // namespace tv

// Existing orders and offers changed by the import: the row managements that delete, match by
// article or by row number, the removal of the printed mark before the change, the pause after a
// deletion, and a kit that does not delete a row.

#include <gtest/gtest.h>

#include "tests/import/orders/order_support.h"

namespace tv {
namespace {

using namespace test;

constexpr const char* kPrintedSeed =
    "UPDATE orderhuvud SET utskriven = 1 WHERE doknr = 1;\n"
    "UPDATE offerthuvud SET utskriven = 1 WHERE doknr = 1;\n";
constexpr const char* kDeleteRowDoesNothing =
    "INSERT INTO kit_faults (function, code, message, skip, times) VALUES ('AdkDeleteRow', 0, '', 0, -1);\n";

// Orders pause 0.5 s after deleting rows, offers 3 s, in steps of 0.25 s.
constexpr const char* kOrderWait = "Sleep 250\nProcessMessages\nSleep 250";
constexpr const char* kOfferWait = R"(
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
ProcessMessages
Sleep 250
)";

constexpr const char* kOrderDocument = R"(
#0 vismakey=1 customer=1002
  row a100: OOI_ROW_ARTICLE_NUMBER OOI_ROW_QUANTITY2 OOI_ROW_ROWNUMBER
  row A100: OOI_ROW_ARTICLE_NUMBER OOI_ROW_QUANTITY2 OOI_ROW_ROWNUMBER
  row : OOI_ROW_TYPE_OF_ROW OOI_ROW_TEXT OOI_ROW_ROWNUMBER
)";
constexpr const char* kOfferDocument = R"(
#0 vismakey=1 customer=1003
  row a300: OOI_ROW_ARTICLE_NUMBER OOI_ROW_QUANTITY2 OOI_ROW_ROWNUMBER
  row : OOI_ROW_TEXT OOI_ROW_ROWNUMBER
)";

const DocumentCase kOrderCases[] = {
    {"row management 2 deletes the existing rows through the kit, waits and appends the file's rows",
     "rows_management.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "0"}, {kOrderPrefs, "ORDER_ROWS_MANAGEMENT", "2"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Tar bort rader
  [8] Rader borta (3 st)
  [8] Hämtar order på nytt
  [8] Lägger till rad.
  [8] Lägger till rad.
  [8] Lägger till rad.
  [4] Skapade order : 1
ImportOrders true
)",
     R"(
1|1002|Åsa Öberg AB|2024-01-15||PO-78|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
)",
     R"(
1|1|a100||7||||
1|2|A100||8||||
1|3|||||Ny text|T|
)",
     kOrderDocument,
     "",
     "",
     "",
     kOrderWait},

    {"row management 3 changes the first row of the file row's article, case-insensitively, twice; a "
     "row without article is appended",
     "rows_management.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "0"}, {kOrderPrefs, "ORDER_ROWS_MANAGEMENT", "3"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Ändrar rad.
  [8] Ändrar rad.
  [8] Lägger till rad.
  [8] Antalet rader stämmer inte 3 / 4
  [4] Skapade order : 1
ImportOrders true
)",
     R"(
1|1002|Åsa Öberg AB|2024-01-15||PO-78|SEK|||||||4
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
)",
     R"(
1|1|A100|0|8|10|Skruv M6||
1|2|A200|0|2|120|Kaffe||
1|3|||||Leverans på fredag|T|
1|4|||||Ny text|T|
)",
     kOrderDocument},

    {"row management 4 changes the row of the file row's row number and appends where there is none",
     "rows_management.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "0"}, {kOrderPrefs, "ORDER_ROWS_MANAGEMENT", "4"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Ändrar rad.
  [8] Lägger till rad.
  [8] Ändrar rad.
  [8] Antalet rader stämmer inte 3 / 4
  [4] Skapade order : 1
ImportOrders true
)",
     R"(
1|1002|Åsa Öberg AB|2024-01-15||PO-78|SEK|||||||4
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
)",
     R"(
1|1|A100|0|5|10|Skruv M6||
1|2|a100|0|7|120|Kaffe||
1|3|||||Ny text|T|
1|4|A100||8||||
)",
     kOrderDocument},

    {"a printed existing order loses its printed mark before it changes",
     "rows_management.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "0"}, {kOrderPrefs, "ORDER_ROWS_MANAGEMENT", "0"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Antalet rader stämmer inte 0 / 3
  [4] Skapade order : 1
ImportOrders true
)",
     R"(
1|1002|Åsa Öberg AB|2024-01-15||PO-78|SEK||||||0|3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
)",
     kSeededOrderRows,
     kOrderDocument,
     "",
     "",
     kPrintedSeed},

    {"a kit that answers a row delete with success without deleting ends the order with an error, never "
     "a hang",
     "rows_management.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "0"}, {kOrderPrefs, "ORDER_ROWS_MANAGEMENT", "2"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Tar bort rader
  [2] Failed to remove row:0 (order 1)
ImportOrders false
)",
     kSeededOrders,
     kSeededOrderRows,
     R"(
#0 vismakey= customer=1002
  row a100: OOI_ROW_ARTICLE_NUMBER OOI_ROW_QUANTITY2 OOI_ROW_ROWNUMBER
  row A100: OOI_ROW_ARTICLE_NUMBER OOI_ROW_QUANTITY2 OOI_ROW_ROWNUMBER
  row : OOI_ROW_TYPE_OF_ROW OOI_ROW_TEXT OOI_ROW_ROWNUMBER
)",
     "",
     "",
     kDeleteRowDoesNothing},
};

const DocumentCase kOfferCases[] = {
    {"row management 2 deletes the existing rows one by one, waits and appends the file's rows",
     "rows_management.xml",
     {{kOfferPrefs, "ON_EXIST", "0"}, {kOfferPrefs, "ROWS_MANAGEMENT", "2"}},
     {"ImportOffers"},
     R"(
step Importerar offert (5)
+ Importerar offert
  - Offer - #1
  [8] Tar bort rader
  [8] Rader borta (1 st)
  [8] Hämtar offert på nytt
  [8] Lägger till rad.
  [8] Lägger till rad.
  [4] Skapade offert : 1
ImportOffers true
)",
     "1|1003|Cecilia Ek|2024-01-10||Ändrad||||||||2",
     "1|1|a300||4||||\n1|2|||||Ny offertrad||",
     kOfferDocument,
     "",
     "",
     "",
     kOfferWait},

    {"row management 3 changes the offer row of the article and appends the text row",
     "rows_management.xml",
     {{kOfferPrefs, "ON_EXIST", "0"}, {kOfferPrefs, "ROWS_MANAGEMENT", "3"}},
     {"ImportOffers"},
     R"(
step Importerar offert (5)
+ Importerar offert
  - Offer - #1
  [8] Ändrar rad.
  [8] Lägger till rad.
  [4] Skapade offert : 1
ImportOffers true
)",
     "1|1003|Cecilia Ek|2024-01-10||Ändrad||||||||2",
     R"(
1|1|a300||4|199|||
1|2|||||Ny offertrad||
)",
     kOfferDocument},

    {"row management 4 appends every row of an offer",
     "rows_management.xml",
     {{kOfferPrefs, "ON_EXIST", "0"}, {kOfferPrefs, "ROWS_MANAGEMENT", "4"}},
     {"ImportOffers"},
     R"(
step Importerar offert (5)
+ Importerar offert
  - Offer - #1
  [8] Lägger till rad.
  [8] Lägger till rad.
  [8] Antalet rader stämmer inte 2 / 3
  [4] Skapade offert : 1
ImportOffers true
)",
     "1|1003|Cecilia Ek|2024-01-10||Ändrad||||||||3",
     R"(
1|1|A300||1|199|||
1|2|a300||4||||
1|3|||||Ny offertrad||
)",
     kOfferDocument},

    {"a printed existing offer loses its printed mark on the offer itself before it changes",
     "rows_management.xml",
     {{kOfferPrefs, "ON_EXIST", "0"}, {kOfferPrefs, "ROWS_MANAGEMENT", "0"}},
     {"ImportOffers"},
     R"(
step Importerar offert (5)
+ Importerar offert
  - Offer - #1
  [8] Antalet rader stämmer inte 0 / 1
  [4] Skapade offert : 1
ImportOffers true
)",
     "1|1003|Cecilia Ek|2024-01-10||Ändrad|||||||0|1",
     kSeededOfferRow,
     kOfferDocument,
     "",
     "",
     kPrintedSeed},
};

TEST(ExistingOrders, ChangeAsTheRowManagementSays) {
    for (const DocumentCase& c : kOrderCases) RunCase(c, false);
}

TEST(ExistingOffers, ChangeAsTheRowManagementSays) {
    for (const DocumentCase& c : kOfferCases) RunCase(c, true);
}

}  // namespace
}  // namespace tv

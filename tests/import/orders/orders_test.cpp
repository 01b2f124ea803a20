// The import of orders and offers end to end: the demo company, a fixture file whose customers and
// articles are checked and imported first (so that the documents' keys resolve), then the kind's
// import as a job script calls it; the event lines, the document tables afterwards, what the import
// wrote into the loaded document and the rule calls, all written by hand.

#include <gtest/gtest.h>

#include "tests/import/orders/order_support.h"

namespace tv {
namespace {

using namespace test;

const DocumentCase kOrderCases[] = {
    {"new orders get their mapped fields, the customer's and articles' numbers, and every row; an empty "
     "document-number element is the key even beside a \"key\"",
     "new_orders.xml",
     {},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #2
  [8] Lägger till rad.
  [8] Lägger till rad.
  [8] Lägger till rad.
  [8] Lägger till rad.
  [4] Skapade order : 3
  - Order - #3
  [4] Skapade order : 4
ImportOrders true
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1004|Örjan Åkesson|2024-03-01|2024-03-08|W-100|EUR|Lager Syd|Hamngatan 1|211 22|Malmö|SE||4
4|1001||||W-101||||||||0
)",
     R"(
1|1|A100|0|5|10|Skruv M6||
1|2|A200|0|2|120|Kaffe||
1|3|||||Leverans på fredag|T|
3|1|A100||4|10|Skruv M6||
3|2|||||Levereras i två kartonger|T|P1
3|3|A200||1.5||||
3|4|okänd||||Utan artikel i filen||
)",
     R"(
#1 vismakey=3 customer=1004
  row A100: OOI_ROW_QUANTITY2 OOI_ROW_PRICE OOI_ROW_TEXT OOI_ROW_ROWNUMBER OOI_ROW_ARTICLE_NUMBER
  row : OOI_ROW_TYPE_OF_ROW OOI_ROW_TEXT OOI_ROW_QUANTITY2 OOI_ROW_PROJECT
  row A200: OOI_ROW_ARTICLE_NUMBER OOI_ROW_QUANTITY2
  row okänd: OOI_ROW_TEXT OOI_ROW_ARTICLE_NUMBER
#2 vismakey=4 customer=1001
)"},

    {"a text of exactly the text field's size is written whole; one character more goes on in an extra "
     "text row, which is not counted",
     "text_split.xml",
     {},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Lägger till rad.
  [8] Lägger till rad.
  [8] Antalet rader stämmer inte 2 / 3
  [4] Skapade order : 3
ImportOrders true
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||||||||||3
)",
     R"(
1|1|A100|0|5|10|Skruv M6||
1|2|A200|0|2|120|Kaffe||
1|3|||||Leverans på fredag|T|
3|1|||||Sextio tecken med å, ä och ö: xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx||
3|2|||||Sextio tecken med å, ä och ö: xxxxxxxxxxxxxxxxxxxxxxxxxxxxxy|T|
3|3|||||z|T|
)",
     R"(
#0 vismakey=3 customer=1001
  row : OOI_ROW_TEXT
  row : OOI_ROW_TYPE_OF_ROW OOI_ROW_TEXT
)"},

    {"with row management 0 an existing order's head changes and its rows stay; a new order gets every "
     "row",
     "existing.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "0"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Antalet rader stämmer inte 0 / 3
  [4] Skapade order : 1
  - Order - #2
  [8] Lägger till rad.
  [8] Lägger till rad.
  [4] Skapade order : 3
ImportOrders true
)",
     R"(
1|1002|Åsa Öberg AB|2024-01-15||PO-78|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||PO-79||||||||2
)",
     R"(
1|1|A100|0|5|10|Skruv M6||
1|2|A200|0|2|120|Kaffe||
1|3|||||Leverans på fredag|T|
3|1|||||Första raden||
3|2|||||Andra raden||
)",
     R"(
#0 vismakey=1 customer=1002
  row : OOI_ROW_TEXT
#1 vismakey=3 customer=1001
  row : OOI_ROW_TEXT
  row : OOI_ROW_TEXT
)"},

    {"with another row management the file's rows are appended to an existing order's",
     "existing.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "0"}, {kOrderPrefs, "ORDER_ROWS_MANAGEMENT", "1"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Lägger till rad.
  [8] Antalet rader stämmer inte 1 / 4
  [4] Skapade order : 1
  - Order - #2
  [8] Lägger till rad.
  [8] Lägger till rad.
  [4] Skapade order : 3
ImportOrders true
)",
     R"(
1|1002|Åsa Öberg AB|2024-01-15||PO-78|SEK|||||||4
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||PO-79||||||||2
)",
     R"(
1|1|A100|0|5|10|Skruv M6||
1|2|A200|0|2|120|Kaffe||
1|3|||||Leverans på fredag|T|
1|4|||||Ny rad till en befintlig order||
3|1|||||Första raden||
3|2|||||Andra raden||
)",
     R"(
#0 vismakey=1 customer=1002
  row : OOI_ROW_TEXT
#1 vismakey=3 customer=1001
  row : OOI_ROW_TEXT
  row : OOI_ROW_TEXT
)"},

    {"ON_ORDER_EXIST 1 skips an existing order with its number right after \"Hittade order\"",
     "existing.xml",
     {},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Hittade order1, hoppar över.
  - Order - #2
  [8] Lägger till rad.
  [8] Lägger till rad.
  [4] Skapade order : 3
ImportOrders true
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||PO-79||||||||2
)",
     R"(
1|1|A100|0|5|10|Skruv M6||
1|2|A200|0|2|120|Kaffe||
1|3|||||Leverans på fredag|T|
3|1|||||Första raden||
3|2|||||Andra raden||
)",
     R"(
#0 vismakey= customer=1002
  row : OOI_ROW_TEXT
#1 vismakey=3 customer=1001
  row : OOI_ROW_TEXT
  row : OOI_ROW_TEXT
)"},

    {"ON_ORDER_DOES_NOT_EXIST 1 skips a missing order",
     "existing.xml",
     {{kOrderPrefs, "ON_ORDER_DOES_NOT_EXIST", "1"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Hittade order1, hoppar över.
  - Order - #2
  [8] Hittade ingen order, hoppar över.
ImportOrders true
)",
     kSeededOrders,
     kSeededOrderRows,
     R"(
#0 vismakey= customer=1002
  row : OOI_ROW_TEXT
#1 vismakey= customer=1001
  row : OOI_ROW_TEXT
  row : OOI_ROW_TEXT
)"},

    {"ON_ORDER_EXIST 2 refuses an existing order and ends the import",
     "existing.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "2"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [2] Order existerar redan 1
ImportOrders false
)",
     kSeededOrders,
     kSeededOrderRows,
     R"(
#0 vismakey= customer=1002
  row : OOI_ROW_TEXT
#1 vismakey= customer=
  row : OOI_ROW_TEXT
  row : OOI_ROW_TEXT
)"},

    {"ON_ORDER_DOES_NOT_EXIST 2 refuses a missing order with its key after the orders before it",
     "existing.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "0"}, {kOrderPrefs, "ON_ORDER_DOES_NOT_EXIST", "2"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Antalet rader stämmer inte 0 / 3
  [4] Skapade order : 1
  - Order - #2
  [2] Order existerar inte 55
ImportOrders false
)",
     R"(
1|1002|Åsa Öberg AB|2024-01-15||PO-78|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
)",
     kSeededOrderRows,
     R"(
#0 vismakey=1 customer=1002
  row : OOI_ROW_TEXT
#1 vismakey= customer=1001
  row : OOI_ROW_TEXT
  row : OOI_ROW_TEXT
)"},

    {"an existence setting outside 0 to 2 is invalid",
     "existing.xml",
     {{kOrderPrefs, "ON_ORDER_EXIST", "3"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [2] Ogiltligt alternativ
ImportOrders false
)",
     kSeededOrders,
     kSeededOrderRows,
     R"(
#0 vismakey= customer=1002
  row : OOI_ROW_TEXT
#1 vismakey= customer=
  row : OOI_ROW_TEXT
  row : OOI_ROW_TEXT
)"},

    {"a search mode other than 0 and 1 is refused with the kind's text",
     "existing.xml",
     {{kOrderPrefs, "SEARCH_ORDER_MODE", "2"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [2] Unimplemented searchmode for ImportOrdersFindOrder: 2
ImportOrders false
)",
     kSeededOrders,
     kSeededOrderRows,
     R"(
#0 vismakey= customer=
  row : OOI_ROW_TEXT
#1 vismakey= customer=
  row : OOI_ROW_TEXT
  row : OOI_ROW_TEXT
)"},

    {"an order without \"customerkey\" is reported by its position from 0 and the next one imported; "
     "the items count from 1",
     "positions.xml",
     {},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #2
  [2] Order #1 saknar customerkey attribut
  - Order - #3
  [4] Skapade order : 3
ImportOrders false
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||Med kund||||||||0
)",
     kSeededOrderRows,
     R"(
#1 vismakey= customer=
#2 vismakey=3 customer=1001
)"},

    {"a document without its head has nothing to write: it is refused by its position from 0 and ends "
     "the import",
     "no_head.xml",
     {},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #2
  [2] Order #1 saknar huvud (atOrder)
ImportOrders false
)",
     kSeededOrders,
     kSeededOrderRows,
     R"(
#1 vismakey= customer=
  row : OOI_ROW_TEXT
#2 vismakey= customer=
)"},

    {"with CHECK_CUSTOMER_ON_IMPORT 0 the customer is neither checked nor resolved",
     "positions.xml",
     {{kOrderPrefs, "CHECK_CUSTOMER_ON_IMPORT", "0"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #2
  [4] Skapade order : 3
  - Order - #3
  [4] Skapade order : 4
ImportOrders true
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|||||Utan kund||||||||0
4|||||Med kund||||||||0
)",
     kSeededOrderRows,
     R"(
#1 vismakey=3 customer=
#2 vismakey=4 customer=
)"},

    {"the marks of the head are read from the file as flags, not written, and set by the status marks "
     "(printed, then delivered); a mark that is no Boolean ends the import",
     "flags.xml",
     {},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [4] Skapade order : 3
  - Order - #2
  [2] 'ja' is not a valid boolean value
ImportOrders false
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||Med märken|||||||11|0
)",
     kSeededOrderRows,
     R"(
#0 vismakey=3 customer=1001
#1 vismakey= customer=1001
)"},

    {"the default search by SQL finds an order through the \"oof\" view by its trimmed key",
     "sql.xml",
     {{kOrderPrefs, "SEARCH_ORDER_MODE", "1"}, {kOrderPrefs, "ON_ORDER_EXIST", "0"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Söker efter order med nyckel:1
  [8] Antalet rader stämmer inte 0 / 3
  [4] Skapade order : 1
  - Order - #2
  [8] Söker efter order med nyckel:99
  [4] Skapade order : 3
ImportOrders true
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||Funnen med SQL|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||Ny||||||||0
)",
     kSeededOrderRows,
     R"(
#0 vismakey=1 customer=1001
#1 vismakey=3 customer=1001
)"},

    {"only the low byte of the search mode counts: 257 searches by SQL",
     "sql.xml",
     {{kOrderPrefs, "SEARCH_ORDER_MODE", "257"}, {kOrderPrefs, "ON_ORDER_EXIST", "1"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Söker efter order med nyckel:1
  [8] Hittade order1, hoppar över.
  - Order - #2
  [8] Söker efter order med nyckel:99
  [4] Skapade order : 3
ImportOrders true
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||Ny||||||||0
)",
     kSeededOrderRows,
     R"(
#0 vismakey= customer=1001
#1 vismakey=3 customer=1001
)"},

    {"a failing statement is reported and the order counts as missing",
     "sql.xml",
     {{kOrderPrefs, "SEARCH_ORDER_MODE", "1"},
      {kOrderPrefs, "SEARCH_ORDER_SQL", "select doknr from ingen_sadan where doknr = :param1"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Söker efter order med nyckel:1
  [2] no such table: ingen_sadan
  [4] Skapade order : 3
  - Order - #2
  [8] Söker efter order med nyckel:99
  [2] no such table: ingen_sadan
  [4] Skapade order : 4
ImportOrders true
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||Funnen med SQL||||||||0
4|1001||||Ny||||||||0
)",
     kSeededOrderRows,
     R"(
#0 vismakey=3 customer=1001
#1 vismakey=4 customer=1001
)"},

    {"the rule named by ON_IMPORT_RUN_RULE runs after each order with its two parameters",
     "sql.xml",
     {{kOrderPrefs, "ON_IMPORT_RUN_RULE", " Efter order "}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Hittade order1, hoppar över.
  - Order - #2
  [4] Skapade order : 3
  [8] Kör efterbehandlingsplugin
ImportOrders true
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||Ny||||||||0
)",
     kSeededOrderRows,
     R"(
#0 vismakey= customer=1001
#1 vismakey=3 customer=1001
)",
     R"(
ClearRuleParams
AddRuleParam ADK_OOI_HEAD_CUSTOMER_ORDER_NUMBER=Ny
AddRuleParam ADK_OOI_HEAD_DOCUMENT_NUMBER=3
RunRule Efter order
)"},

    {"a rule that raises ends the import with its message; the order before it stays written",
     "positions.xml",
     {{kOrderPrefs, "ON_IMPORT_RUN_RULE", "Efter order"}, {kOrderPrefs, "CHECK_CUSTOMER_ON_IMPORT", "0"}},
     {"ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #2
  [4] Skapade order : 3
  [8] Kör efterbehandlingsplugin
  [2] Kunde inte hitta efterfrågad regel Efter order
ImportOrders false
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|||||Utan kund||||||||0
)",
     kSeededOrderRows,
     R"(
#1 vismakey= customer=
#2 vismakey= customer=
)",
     R"(
ClearRuleParams
AddRuleParam ADK_OOI_HEAD_CUSTOMER_ORDER_NUMBER=Utan kund
AddRuleParam ADK_OOI_HEAD_DOCUMENT_NUMBER=3
RunRule Efter order
)",
     "Kunde inte hitta efterfrågad regel Efter order"},

    {"a document that fails part-way leaves nothing of itself behind, neither at once nor when the next "
     "import starts",
     "guard.xml",
     {},
     {"ImportOrders", "ImportOrders"},
     R"(
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Lägger till rad.
  [4] Skapade order : 3
  - Order - #2
  [8] Lägger till rad.
  [8] Lägger till rad.
  [2] 'x' is not a valid floating point value for field 'BESTANTAL'
ImportOrders false
step Importerar order (5)
+ Importerar order
  - Order - #1
  [8] Lägger till rad.
  [4] Skapade order : 4
  - Order - #2
  [8] Lägger till rad.
  [8] Lägger till rad.
  [2] 'x' is not a valid floating point value for field 'BESTANTAL'
ImportOrders false
)",
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||3
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
3|1001||||Hel||||||||1
4|1001||||Hel||||||||1
)",
     R"(
1|1|A100|0|5|10|Skruv M6||
1|2|A200|0|2|120|Kaffe||
1|3|||||Leverans på fredag|T|
3|1|||||Sparas||
4|1|||||Sparas||
)",
     R"(
#0 vismakey=4 customer=1001
  row : OOI_ROW_TEXT
#1 vismakey= customer=1001
  row : OOI_ROW_TEXT
  row : OOI_ROW_QUANTITY2
#2 vismakey= customer=
)"},
};

TEST(OrderImport, WritesOrdersAsTheirSettingsSay) {
    for (const DocumentCase& c : kOrderCases) RunCase(c, false);
}

const DocumentCase kOfferCases[] = {
    {"an offer without \"customerkey\" is reported and the next one imported: its quantities read as "
     "numbers, its row number left to the business system, its long text split",
     "offers.xml",
     {},
     {"ImportOffers"},
     R"(
step Importerar offert (5)
+ Importerar offert
  - Offer - #2
  [2] Offert #1 saknar customerkey attribut
  - Offer - #3
  [8] Lägger till rad.
  [8] Lägger till rad.
  [8] Antalet rader stämmer inte 2 / 3
  [4] Skapade offert : 2
ImportOffers false
)",
     R"(
1|1003|Cecilia Ek|2024-01-10||||||||||1
2|1003||2024-04-02|2024-05-02|Förfrågan 12|NOK|||||||3
)",
     R"(
1|1|A300||1|199|||
2|1|A200|0.25|2.5|120|Kaffe, mörkrost||
2|2|||||Priset gäller i trettio dagar från offertdatum, frakt tillko|T|
2|3|||||mmer enligt prislista|T|
)",
     R"(
#1 vismakey= customer=
#2 vismakey=2 customer=1003
  row A200: OOI_ROW_QUANTITY1 OOI_ROW_QUANTITY2 OOI_ROW_PRICE OOI_ROW_TEXT OOI_ROW_ROWNUMBER OOI_ROW_ARTICLE_NUMBER
  row : OOI_ROW_TYPE_OF_ROW OOI_ROW_TEXT
)"},

    {"an offer's marks are written as they stand",
     "flags.xml",
     {},
     {"ImportOffers"},
     R"(
step Importerar offert (5)
+ Importerar offert
  - Offer - #1
  [4] Skapade offert : 2
ImportOffers true
)",
     R"(
1|1003|Cecilia Ek|2024-01-10||||||||||1
2|1001||||Med märken|||||||101|0
)",
     R"(
1|1|A300||1|199|||
)",
     R"(
#0 vismakey=2 customer=1001
)"},

    {"ON_EXIST 1 skips an existing offer found on the sort order its settings name; a missing one is "
     "created",
     "existing_offer.xml",
     {},
     {"ImportOffers"},
     R"(
step Importerar offert (5)
+ Importerar offert
  - Offer - #1
  [8] Hittade offert1, hoppar över.
  - Offer - #2
  [4] Skapade offert : 2
ImportOffers true
)",
     R"(
1|1003|Cecilia Ek|2024-01-10||||||||||1
2|1003||||Ny offert||||||||0
)",
     R"(
1|1|A300||1|199|||
)",
     R"(
#0 vismakey= customer=1003
  row : OOI_ROW_TEXT
#1 vismakey=2 customer=1003
)"},

    {"an existing offer found by the default SQL has its head changed and, with row management 4, the "
     "file's rows appended; ON_DOES_NOT_EXIST 2 refuses a missing one with its key",
     "existing_offer.xml",
     {{kOfferPrefs, "SEARCH_MODE", "1"},
      {kOfferPrefs, "ON_EXIST", "0"},
      {kOfferPrefs, "ON_DOES_NOT_EXIST", "2"},
      {kOfferPrefs, "ROWS_MANAGEMENT", "4"}},
     {"ImportOffers"},
     R"(
step Importerar offert (5)
+ Importerar offert
  - Offer - #1
  [8] Söker efter offert med nyckel:1
  [8] Lägger till rad.
  [8] Antalet rader stämmer inte 1 / 2
  [4] Skapade offert : 1
  - Offer - #2
  [8] Söker efter offert med nyckel:55
  [2] Offert existerar inte 55
ImportOffers false
)",
     R"(
1|1003|Cecilia Ek|2024-01-10||Ändrad||||||||2
)",
     R"(
1|1|A300||1|199|||
1|2|||||Ny offertrad||
)",
     R"(
#0 vismakey=1 customer=1003
  row : OOI_ROW_TEXT
#1 vismakey= customer=1003
)"},
};

TEST(OfferImport, WritesOffersAsTheirSettingsSay) {
    for (const DocumentCase& c : kOfferCases) RunCase(c, true);
}

}  // namespace
}  // namespace tv

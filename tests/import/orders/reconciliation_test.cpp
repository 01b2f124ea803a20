// The order reconciliation end to end on orders seeded into the demo company: each failure of an
// order is reported and the next one reconciled; a second run finds every reconciled order
// handled.

#include <gtest/gtest.h>

#include "tests/import/orders/order_support.h"

namespace tv {
namespace {

using namespace test;

// Order 10 pairs the file's rows past its text row; 11 has a file row too many; 12 an article that
// differs (its head and rows stay unsaved and it is not delivered); 13 an ignored article's row
// before the last ordinary row, passed over with the file row kept for the next one.
// Orders 10 to 13 are printed and have a freight row after their article rows; order 10 a text row
// between them, order 13 a row of an ignored article first. Order 14 is delivered.
constexpr const char* kOrdersSeed = R"(
INSERT INTO orderhuvud (doknr, kundnr, kundnamn, ertordernr, utskriven, levererad, antalrader, timestamp) VALUES
    (10, '1001', 'Tio', NULL, 1, 0, 4, 1705312800),
    (11, '1001', 'Elva', NULL, 1, 0, 3, 1705312800),
    (12, '1001', 'Tolv', NULL, 1, 0, 3, 1705312800),
    (13, '1001', 'Tretton', NULL, 1, 0, 3, 1705312800),
    (14, '1001', 'Fjorton', '77', 0, 1, 0, 1705312800);
INSERT INTO orderrad (doknr, radnr, artnr, bestantal, levantal, radtyp, text) VALUES
    (10, 1, 'A100', 5, 0, NULL, NULL),
    (10, 2, NULL, NULL, NULL, 'T', 'Text'),
    (10, 3, 'A200', 2, 0, NULL, NULL),
    (10, 4, 'FRAKT', 1, 0, NULL, NULL),
    (11, 1, 'A100', 5, 0, NULL, NULL),
    (11, 2, 'A200', 2, 0, NULL, NULL),
    (11, 3, 'FRAKT', 1, 0, NULL, NULL),
    (12, 1, 'A100', 5, 0, NULL, NULL),
    (12, 2, 'A200', 2, 0, NULL, NULL),
    (12, 3, 'FRAKT', 1, 0, NULL, NULL),
    (13, 1, 'expavg', 1, 0, NULL, NULL),
    (13, 2, 'A100', 5, 0, NULL, NULL),
    (13, 3, 'FRAKT', 1, 0, NULL, NULL);
)";

// Number, customer's order number, marks printed and delivered.
constexpr const char* kHeadLine =
    "doknr || '|' || ifnull(ertordernr,'') || '|' || ifnull(utskriven,0) || ifnull(levererad,0)";
constexpr const char* kRowLine =
    "doknr || '|' || radnr || '|' || ifnull(artnr,'') || '|' || ifnull(levantal,'')";

TEST(OrderReconciliation, ReconcilesEachOrderAndReportsEachFailure) {
    TOrderWorld world(kOrdersSeed);
    world.Open();
    RunSteps(world, {"LoadXML orders/reconciliation.xml"});
    world.Events().Clear();
    RunSteps(world, {"CustomImportOrderAvstamning"});
    EXPECT_EQ(Visible(world.Events().Take()), Lines(R"(
- Order  [99]
[2] Okänt fel: Kunde inte hitta eftersökt order i SPCS: 99
[2] Okänt fel: Felaktigt XML format saknar huvud eller rader order #1
- Order  [10]
[1] Tar bort ordererkännande
[8] Sätter levererad
[8] Sätter tillbaka ordererkännande:
- Order  [11]
[1] Tar bort ordererkännande
[2] Misslyckades att spara order : Olika mängd rader 
[8] Sätter tillbaka ordererkännande:
- Order  [12]
[1] Tar bort ordererkännande
[2] Misslyckades att spara order : Artikelnummer skiljer sig åt på raderna A200 != A300
[8] Sätter tillbaka ordererkännande:
- Order  [13]
[1] Tar bort ordererkännande
[8] Sätter levererad
[8] Sätter tillbaka ordererkännande:
- Order  [14]
[1] Order redan behandlad  [14]
[2] Okänt fel: Inget Mavroordernr#7
CustomImportOrderAvstamning true
)"));
    EXPECT_EQ(Dump(world.AdminODBC(), kHeadLine, "orderhuvud", "doknr"), Lines(R"(
1|PO-77|00
2||00
10|510|01
11||10
12||10
13|513|01
14|77|01
)"));
    EXPECT_EQ(Dump(world.AdminODBC(), kRowLine, "orderrad", "doknr, radnr"), Lines(R"(
1|1|A100|0
1|2|A200|0
1|3||
10|1|A100|4
10|2||
10|3|A200|1
10|4|FRAKT|0
11|1|A100|0
11|2|A200|0
11|3|FRAKT|0
12|1|A100|0
12|2|A200|0
12|3|FRAKT|0
13|1|expavg|0
13|2|A100|6
13|3|FRAKT|0
)"));

    RunSteps(world, {"CustomImportOrderAvstamning"});
    EXPECT_EQ(Visible(world.Events().Take()), Lines(R"(
- Order  [99]
[2] Okänt fel: Kunde inte hitta eftersökt order i SPCS: 99
[2] Okänt fel: Felaktigt XML format saknar huvud eller rader order #1
- Order  [10]
[1] Order redan behandlad  [10]
- Order  [11]
[1] Tar bort ordererkännande
[2] Misslyckades att spara order : Olika mängd rader 
[8] Sätter tillbaka ordererkännande:
- Order  [12]
[1] Tar bort ordererkännande
[2] Misslyckades att spara order : Artikelnummer skiljer sig åt på raderna A200 != A300
[8] Sätter tillbaka ordererkännande:
- Order  [13]
[1] Order redan behandlad  [13]
- Order  [14]
[1] Order redan behandlad  [14]
[2] Okänt fel: Inget Mavroordernr#7
CustomImportOrderAvstamning true
)"));
}

}  // namespace
}  // namespace tv

// The status marks of orders and offers: the marks a written order gets from its file's flags and
// the settings, in their order, and each status operation on its own, with the marks that hold it
// back.

#include <gtest/gtest.h>

#include "adk/adk_dataset.h"
#include "tests/import/orders/order_support.h"

namespace tv {
namespace {

using namespace test;

// Per head: its number, then its marks not done, printed, cancelled, delivered and pick list.
std::vector<std::string> Marks(TImportWorld& world, const char* table) {
    return Dump(world.AdminODBC(),
                "doknr || '|' || ifnull(ejklar,0) || ifnull(utskriven,0) || ifnull(makulerad,0) || "
                "ifnull(levererad,0) || ifnull(plocklista,0)",
                table, "doknr");
}

struct MarksCase {
    const char* name;
    std::vector<Setting> settings;
    const char* marks;  // of the seeded orders 1 and 2, then of the file's orders: none, printed,
                        // cancelled, delivered, printed and cancelled
};

const MarksCase kMarksCases[] = {
    {"no setting: the file's flags alone; cancelled wins over printed", {}, R"(
1|00000
2|00000
3|00000
4|01000
5|00100
6|00010
7|00100
)"},
    {"not done and printed by the settings, but never on a cancelled order",
     {{kOrderPrefs, "ON_IMPORT_SET_NOT_DONE", "True"}, {kOrderPrefs, "ON_IMPORT_SET_PRINTED", "True"}},
     R"(
1|00000
2|00000
3|11000
4|11000
5|00100
6|11010
7|00100
)"},
    {"delivered by the setting unless the file marks the order cancelled",
     {{kOrderPrefs, "ON_IMPORT_SET_DELIVERED", "True"}},
     R"(
1|00000
2|00000
3|00010
4|01010
5|00100
6|00010
7|00100
)"},
    {"delivered with printed by the settings, and the pick list on every order",
     {{kOrderPrefs, "ON_IMPORT_SET_DELIVERED", "True"},
      {kOrderPrefs, "ON_IMPORT_SET_PRINTED", "True"},
      {kOrderPrefs, "ON_IMPORT_SET_PICKLIST", "1"}},
     R"(
1|00000
2|00000
3|01011
4|01011
5|00101
6|01011
7|00101
)"},
};

TEST(StatusMarks, AWrittenOrderGetsTheMarksOfItsFlagsAndSettings) {
    for (const MarksCase& c : kMarksCases) {
        TOrderWorld world;
        world.Open();
        for (const Setting& s : c.settings) world.Set(s.table, s.field, s.value);
        RunSteps(world, {"LoadXML orders/marks.xml", "CheckCustomers", "ImportCustomers", "ImportOrders"});
        EXPECT_EQ(Marks(world, "orderhuvud"), Lines(c.marks)) << c.name;
    }
}

using TStatusOperation = void (TDMImport::*)(const std::string&);

struct OperationCase {
    const char* name;
    TStatusOperation operation;
    const char* number;
    const char* seededMarks;  // "ejklar = 1, ..." on order 1 and offer 1; empty: none
    std::vector<Setting> settings;
    const char* error;  // what the operation raises; empty: nothing
    const char* order;  // marks of order 1 afterwards
    const char* offer;  // and of offer 1
};

const OperationCase kOperationCases[] = {
    {"not done", &TDMImport::SetOrderNotDone, "1", "", {}, "", "1|10000", "1|00000"},
    {"not done is held back by delivered",
     &TDMImport::SetOrderNotDone,
     "1",
     "levererad = 1",
     {},
     "",
     "1|00010",
     "1|00010"},
    {"printed", &TDMImport::SetOrderPrinted, "1", "", {}, "", "1|01000", "1|00000"},
    {"printed is held back by delivered",
     &TDMImport::SetOrderPrinted,
     "1",
     "levererad = 1",
     {},
     "",
     "1|00010",
     "1|00010"},
    {"delivered", &TDMImport::SetOrderDelivered, "1", "", {}, "", "1|00010", "1|00000"},
    {"delivered sets printed too when the setting says so",
     &TDMImport::SetOrderDelivered,
     "1",
     "",
     {{kOrderPrefs, "ON_IMPORT_SET_PRINTED", "True"}},
     "",
     "1|01010",
     "1|00000"},
    {"delivered only never sets printed",
     &TDMImport::SetOrderDeliveredOnly,
     "1",
     "",
     {{kOrderPrefs, "ON_IMPORT_SET_PRINTED", "True"}},
     "",
     "1|00010",
     "1|00000"},
    {"cancelled", &TDMImport::SetOrderCancelled, "1", "", {}, "", "1|00100", "1|00000"},
    {"the printed mark removed",
     &TDMImport::RemoveOrderPrinted,
     "1",
     "utskriven = 1",
     {},
     "",
     "1|00000",
     "1|01000"},
    {"the pick list with the setting 1",
     &TDMImport::SetOrderPickList,
     "1",
     "",
     {{kOrderPrefs, "ON_IMPORT_SET_PICKLIST", "1"}},
     "",
     "1|00001",
     "1|00000"},
    {"the pick list with the setting off does not even search",
     &TDMImport::SetOrderPickList,
     "99",
     "",
     {{kOrderPrefs, "ON_IMPORT_SET_PICKLIST", "2"}},
     "",
     "1|00000",
     "1|00000"},
    {"the pick list of an order that is not there",
     &TDMImport::SetOrderPickList,
     "99",
     "",
     {{kOrderPrefs, "ON_IMPORT_SET_PICKLIST", "1"}},
     "Kunde inte hitta order 99",
     "1|00000",
     "1|00000"},
    {"an order that is not there",
     &TDMImport::SetOrderCancelled,
     "99",
     "",
     {},
     "Kunde inte hitta order 99",
     "1|00000",
     "1|00000"},
    {"an offer printed", &TDMImport::SetOfferPrinted, "1", "", {}, "", "1|00000", "1|01000"},
    {"an offer printed is held back by not done",
     &TDMImport::SetOfferPrinted,
     "1",
     "ejklar = 1",
     {},
     "",
     "1|10000",
     "1|10000"},
    {"the offer's printed mark removed",
     &TDMImport::RemoveOfferPrinted,
     "1",
     "utskriven = 1",
     {},
     "",
     "1|01000",
     "1|00000"},
    {"an offer that is not there",
     &TDMImport::SetOfferPrinted,
     "99",
     "",
     {},
     "Kunde inte hitta offert 99",
     "1|00000",
     "1|00000"},
};

TEST(StatusMarks, EachOperationChangesItsMarkUnlessHeldBack) {
    for (const OperationCase& c : kOperationCases) {
        std::string seed;
        if (*c.seededMarks)
            seed = std::string("UPDATE orderhuvud SET ") + c.seededMarks + " WHERE doknr = 1;\n" +
                   "UPDATE offerthuvud SET " + c.seededMarks + " WHERE doknr = 1;\n";
        TOrderWorld world(seed);
        world.Open();
        for (const Setting& s : c.settings) world.Set(s.table, s.field, s.value);
        world.DataSet("AdkOrder").SetAdkSortOrder(asOrderNr);
        world.DataSet("AdkOffert").SetAdkSortOrder(asOffertNr);
        std::string error;
        try {
            (world.Import().*c.operation)(c.number);
        } catch (const std::exception& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(Marks(world, "orderhuvud").front(), c.order) << c.name;
        EXPECT_EQ(Marks(world, "offerthuvud").front(), c.offer) << c.name;
    }
}

}  // namespace
}  // namespace tv

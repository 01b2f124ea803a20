// The time-reporting customer import end to end: the demo company and a time-reporting database
// seeded by hand, the customers of a fixture file checked and imported into the company, then the
// time-reporting check and import as a job script calls them; the event lines, the company's
// customers and both tables of the time-reporting database afterwards, all written by hand.

#include <gtest/gtest.h>

#include "tests/import/contacts_projects_tid/import_steps.h"

namespace tv {
namespace {

using test::Lines;

constexpr const char* kCustomerColumns = "kundnr || '|' || ifnull(namn,'') || '|' || ifnull(orgnr,'')";
constexpr const char* kTidCustomerColumns =
    "CustomerId || '|' || ifnull(CustomerNo,'') || '|' || ifnull(CustomerName,'') || '|' || "
    "ifnull(OrganisationNo,'') || '|' || ifnull(ProgramUserId,'')";

// The customers file checked and imported into the company.
const std::vector<std::string> kCustomersImported = {"LoadXML tid/customers.xml", "CheckCustomers",
                                                     "ImportCustomers"};
const std::vector<std::string> kTidSteps = {"TID_CheckCustomers", "TID_ImportCustomers"};

// The company's customers after the customers file is imported.
constexpr const char* kCompanyAfterFile = R"(
1001|Åsa Öberg AB|556677-8899
1002|Bengt Berg|
1003|Cecilia Ek|
1004|Dalarö Bygg|556000-1111
1005|Ny kund tre|559999-0001
1006|Ny kund fyra|5599990002
1007|Utan organisationsnummer|
)";

// The check of the customers file, every customer registered.
const std::string kCheckPasses = R"(
+ Visma TID: Kontrollerar kunder
  - Kund: [0]
  - Kund: [1]
  - Kund: [2]
  - Kund: [3]
  - Kund: [4]
  - Kund: [5]
TID_CheckCustomers true
)";

// The time-reporting customers as the fixture seeds them.
constexpr const char* kTidSeeded = R"(
7|1001|Gammalt namn|556677-8899|3
8|9001|Dalarö gammalt|5560001111 |3
9|9002|Blankt nummer|  |3
)";

struct TidCase {
    const char* name;
    const char* tidSeed;               // statements after the fixture's
    std::vector<std::string> prepare;  // steps whose lines are not compared
    std::vector<std::string> steps;    // then these
    std::string events;                // of the steps
    const char* company;               // the company's customers afterwards
    const char* tidCustomers;          // the time-reporting customers afterwards
    const char* lastId;                // and the "Id" table
};

const TidCase kCases[] = {
    {"organisation numbers with dashes match stored ones with or without dashes and only the name "
     "changes; new customers get consecutive ids; a customer without organisation number leaves the "
     "blank-numbered customer alone and is added",
     "", kCustomersImported, kTidSteps, kCheckPasses + R"(
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
  count 6
  - Kundnr/nyckel : 1001
  - Kundnr/nyckel : c2
  [1] Reserverade id: 101
  - Kundnr/nyckel : c3
  [1] Reserverade id: 102
  - Kundnr/nyckel : c4
  [1] Reserverade id: 103
  - Kundnr/nyckel : c5
TID_ImportCustomers true
)",
     kCompanyAfterFile,
     R"(
7|1001|Åsa Öberg AB|556677-8899|3
8|9001|Dalarö Bygg|5560001111 |3
9|9002|Blankt nummer|  |3
101|1005|Ny kund tre|5599990001|42
102|1006|Ny kund fyra|5599990002|42
103|1007|Utan organisationsnummer||42
)",
     "103"},

    {"a second run finds the customer without organisation number by its own number and renames it",
     "",
     {"LoadXML tid/customers.xml", "CheckCustomers", "ImportCustomers", "TID_ImportCustomers",
      "LoadXML tid/renamed.xml", "CheckCustomers", "ImportCustomers"},
     {"TID_ImportCustomers"},
     R"(
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
  count 1
  - Kundnr/nyckel : 1007
TID_ImportCustomers true
)",
     R"(
1001|Åsa Öberg AB|556677-8899
1002|Bengt Berg|
1003|Cecilia Ek|
1004|Dalarö Bygg|556000-1111
1005|Ny kund tre|559999-0001
1006|Ny kund fyra|5599990002
1007|Nytt namn utan nummer|
)",
     R"(
7|1001|Åsa Öberg AB|556677-8899|3
8|9001|Dalarö Bygg|5560001111 |3
9|9002|Blankt nummer|  |3
101|1005|Ny kund tre|5599990001|42
102|1006|Ny kund fyra|5599990002|42
103|1007|Nytt namn utan nummer||42
)",
     "103"},

    {"customers checked but not imported into the company: the check passes and the import stops at "
     "the first",
     "",
     {"LoadXML tid/customers.xml", "CheckCustomers"},
     kTidSteps,
     kCheckPasses + R"(
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
  count 6
  [2] Kunde inte hitta kundnr: 
TID_ImportCustomers false
)",
     R"(
1001|Åsa Öberg AB|
1002|Bengt Berg|
1003|Cecilia Ek|
)",
     kTidSeeded,
     "100"},

    {"without an id row the reservation is rolled back and the import ends; the names changed before stay",
     "DELETE FROM Id;",
     kCustomersImported,
     {"TID_ImportCustomers"},
     R"(
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
  count 6
  - Kundnr/nyckel : 1001
  - Kundnr/nyckel : c2
  [2] Performed rollbackRervering misslyckades. Inget ID:nr
TID_ImportCustomers false
)",
     kCompanyAfterFile,
     R"(
7|1001|Åsa Öberg AB|556677-8899|3
8|9001|Dalarö Bygg|5560001111 |3
9|9002|Blankt nummer|  |3
)",
     ""},

    {"a time-reporting database without customer table",
     "DROP TABLE customer;",
     kCustomersImported,
     {"TID_ImportCustomers"},
     R"(
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
  count 6
  [2] TidKunder:: SQL Error: no such table: customer
TID_ImportCustomers false
)",
     kCompanyAfterFile,
     "",
     "100"},
};

class TidCustomerImport : public ::testing::Test {
protected:
    static std::vector<std::string> TidRows(test::TTidWorld& world, const char* columns, const char* table,
                                            const char* key) {
        try {
            return test::Dump(world.Tid(), columns, table, key);
        } catch (const std::exception&) {
            return {};  // the case dropped the table
        }
    }
};

TEST_F(TidCustomerImport, CopiesTheImportedCustomers) {
    for (const TidCase& c : kCases) {
        test::TTidWorld world("", c.tidSeed);
        test::RunSteps(world, c.prepare);
        world.Events().Clear();
        test::RunSteps(world, c.steps);
        EXPECT_EQ(world.Events().Take(), Lines(c.events.c_str())) << c.name;
        EXPECT_EQ(test::Dump(world.AdminODBC(), kCustomerColumns, "kund", "kundnr"), Lines(c.company))
            << c.name;
        EXPECT_EQ(TidRows(world, kTidCustomerColumns, "customer", "CustomerId"), Lines(c.tidCustomers))
            << c.name;
        EXPECT_EQ(TidRows(world, "LastId", "Id", "LastId"), Lines(c.lastId)) << c.name;
    }
}

struct FileCase {
    const char* name;
    const char* body;                  // the root's children
    std::vector<std::string> prepare;  // steps whose lines are not compared
    std::vector<std::string> steps;
    const char* events;
};

const FileCase kFileCases[] = {
    {"a customer without key fails the check; its next customer is checked",
     "<customers><atKunder/><atKunder key='1001'/></customers>",
     {"CheckCustomers"},
     {"TID_CheckCustomers"},
     R"(
+ Visma TID: Kontrollerar kunder
  - Kund: [0]
  [2] Kund saknar nyckelattribut
  - Kund: [1]
TID_CheckCustomers false
)"},
    {"a customer never checked reaches the caller",
     "<customers><atKunder key=' c1 '/></customers>",
     {},
     {"TID_CheckCustomers"},
     R"(
+ Visma TID: Kontrollerar kunder
  - Kund: [0]
TID_CheckCustomers raises: Nyckelvärdet har inte importerats till Visma: c1
)"},
    {"a file without customers",
     "<suppliers/>",
     {},
     kTidSteps,
     R"(
+ Visma TID: Kontrollerar kunder
TID_CheckCustomers true
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
  [1] Ingen kundtag i denna fil
TID_ImportCustomers true
)"},
    {"an empty customer container",
     "<customers/>",
     {},
     {"TID_ImportCustomers"},
     R"(
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
  [1] Visma Tid: Inga kunder att importera
TID_ImportCustomers true
)"},
};

TEST_F(TidCustomerImport, ChecksAndFramesOfTheFile) {
    test::TTidWorld world;
    for (const FileCase& c : kFileCases) {
        const std::string file = world.WriteFile("tid.xml", "<quorvel>" + std::string(c.body) + "</quorvel>");
        ASSERT_TRUE(world.Import().LoadXML(file));
        test::RunSteps(world, c.prepare);
        world.Events().Clear();
        test::RunSteps(world, c.steps);
        EXPECT_EQ(world.Events().Take(), Lines(c.events)) << c.name;
    }
}

TEST_F(TidCustomerImport, SwitchedOffTheCheckWarnsAndNothingIsCopied) {
    test::TTidWorld world;
    world.Set("CDSTidPrefs", "TIDActivated", "False");
    test::RunSteps(world, kCustomersImported);
    world.Events().Clear();
    test::RunSteps(world, kTidSteps);
    EXPECT_EQ(world.Events().Take(), Lines(R"(
[3] Tid import ej aktiverad
TID_CheckCustomers true
TID_ImportCustomers true
)"));
    EXPECT_EQ(test::Dump(world.Tid(), kTidCustomerColumns, "customer", "CustomerId"), Lines(kTidSeeded));
    EXPECT_EQ(test::Dump(world.Tid(), "LastId", "Id", "LastId"), Lines("100"));
}

}  // namespace
}  // namespace tv

// The import of contacts and projects end to end: the demo company with one project more, a fixture
// file whose customers are checked and imported first, then the kind's check and import as a job
// script calls them; the event lines, the contact and project tables afterwards and what the import
// wrote into the loaded document, all written by hand.

#include <gtest/gtest.h>

#include "import/mapped_field_writer.h"
#include "tests/import/contacts_projects_tid/import_steps.h"

namespace tv {
namespace {

using test::Lines;

constexpr const char* kContactColumns =
    "kontaktid || '|' || ifnull(namn,'') || '|' || ifnull(kundnr,'') || '|' || ifnull(levnr,'') || '|' || "
    "ifnull(titel,'')";
constexpr const char* kProjectColumns =
    "projektkod || '|' || ifnull(benamning,'') || '|' || ifnull(kundnr,'')";

// A contact search on names, as the settings page stores it.
const std::string kByName = std::to_string(int(asKontakt));
constexpr const char* kSqlSearch =
    "select kontaktid as kontaktnr from kontakt where namn = :CONTACTS_NAME and kundnr = "
    ":CONTACTS_CUSTOMER_NUMBER";

struct Setting {
    const char* table;
    const char* field;
    std::string value;
};

struct KindCase {
    const char* name;
    const char* fixture;  // below tests/fixtures/import/contacts_projects
    std::vector<Setting> settings;
    std::vector<std::string> steps;  // after the file's customers were checked and imported
    const char* events;              // of the steps
    const char* contacts;            // the company's contacts afterwards
    const char* projects;            // and its projects
};

const KindCase kCases[] = {
    {"a contact gets the number of a customer created earlier in the file; one without key is found by "
     "its CONTACTS_ID and changed (its supplier number as the mapping writes it); one without either is "
     "created",
     "contacts.xml",
     {{"CDSImportContacts", "SEARCH_CDX", kByName}},
     {"CheckContacts", "ImportContacts"},
     R"(
+ Kontrollerar kontakter.
  - kontakter: [1]
  - kontakter: [2]
  [2] kontakter saknar nyckelattribut
  - kontakter: [4]
  [2] kontakter saknar nyckelattribut
CheckContacts false
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #2
  [4] Skapade/Uppdaterade kontakter: 2
  - KONTAKTER - #3
  [4] Skapade/Uppdaterade kontakter: 1
  - KONTAKTER - #5
  [4] Skapade/Uppdaterade kontakter: 3
ImportContacts true
)",
     R"(
1|Anna Andersson|1002|L10|Ekonomichef
2|Karin Kvist|1004||
3|Utan nummer|||
)",
     R"(
P1|Gammalt projekt|1002
)"},

    {"a contact with an empty number is refused by ON_ITEM_DOES_NOT_EXIST 2",
     "contacts.xml",
     {{"CDSImportContacts", "SEARCH_CDX", kByName}, {"CDSImportContacts", "ON_ITEM_DOES_NOT_EXIST", "2"}},
     {"ImportContacts"},
     R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #2
  [2] kontakter:  existerar inte 
ImportContacts false
)",
     R"(
1|Anna Andersson|1001||Inköpare
)",
     R"(
P1|Gammalt projekt|1002
)"},

    {"an existing contact is refused by ON_ITEM_EXIST 2 after the new one before it is written",
     "contacts.xml",
     {{"CDSImportContacts", "SEARCH_CDX", kByName}, {"CDSImportContacts", "ON_ITEM_EXIST", "2"}},
     {"ImportContacts"},
     R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #2
  [4] Skapade/Uppdaterade kontakter: 2
  - KONTAKTER - #3
  [2] kontakter existerar redan: 1.
ImportContacts false
)",
     R"(
1|Anna Andersson|1001||Inköpare
2|Karin Kvist|1004||
)",
     R"(
P1|Gammalt projekt|1002
)"},

    {"an existing contact is skipped by ON_ITEM_EXIST 1",
     "contacts.xml",
     {{"CDSImportContacts", "SEARCH_CDX", kByName}, {"CDSImportContacts", "ON_ITEM_EXIST", "1"}},
     {"ImportContacts"},
     R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #2
  [4] Skapade/Uppdaterade kontakter: 2
  - KONTAKTER - #3
  - KONTAKTER - #5
  [4] Skapade/Uppdaterade kontakter: 3
ImportContacts true
)",
     R"(
1|Anna Andersson|1001||Inköpare
2|Karin Kvist|1004||
3|Utan nummer|||
)",
     R"(
P1|Gammalt projekt|1002
)"},

    {"the SQL search binds the elements as the file wrote them, before the customer number is filled; "
     "a parameter without element ends the import",
     "contacts_sql.xml",
     {{"CDSImportContacts", "SEARCH_MODE", "1"}, {"CDSImportContacts", "SEARCH_SQL", kSqlSearch}},
     {"CheckContacts", "ImportContacts"},
     R"(
+ Kontrollerar kontakter.
  - kontakter: [1]
  - kontakter: [2]
CheckContacts true
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #2
  [4] Skapade/Uppdaterade kontakter: 1
  - KONTAKTER - #3
  [2] Saknar nod för parameter CONTACTS_NAME
ImportContacts false
)",
     R"(
1|Anna Andersson|1004||Inköpare
)",
     R"(
P1|Gammalt projekt|1002
)"},

    {"a second project without code is created and never changes the first; a project's customerkey is "
     "checked but its customer number is not filled in",
     "projects.xml",
     {},
     {"CheckProjects", "ImportProjects"},
     R"(
+ Kontrollerar projekt.
  [8] Projekt #0 saknar customerkey attribut
  [8] Projekt #1 saknar customerkey attribut
CheckProjects true
step Importerar projekt. (11)
+ Importerar projekt.
  - PROJEKT - #1
  [4] Skapade/Uppdaterade projekt: P2
  - PROJEKT - #2
  [4] Skapade/Uppdaterade projekt: 1
  - PROJEKT - #4
  [4] Skapade/Uppdaterade projekt: P1
ImportProjects true
)",
     R"(
1|Anna Andersson|1001||Inköpare
)",
     R"(
1|Utan kod|
P1|Ändrat projekt|1002
P2|Nytt projekt|1004
)"},

    {"an existing project is refused by ON_PROJECT_EXISTS 2; a missing one is skipped by "
     "ON_PROJECT_DOES_NOT_EXIST 1",
     "projects.xml",
     {{"CDSImportProjectPrefs", "ON_PROJECT_EXISTS", "2"},
      {"CDSImportProjectPrefs", "ON_PROJECT_DOES_NOT_EXIST", "1"}},
     {"ImportProjects"},
     R"(
step Importerar projekt. (11)
+ Importerar projekt.
  - PROJEKT - #1
  - PROJEKT - #2
  - PROJEKT - #4
  [2] projekt existerar redan: P1.
ImportProjects false
)",
     R"(
1|Anna Andersson|1001||Inköpare
)",
     R"(
P1|Gammalt projekt|1002
)"},
};

TEST(ContactProjectImport, WritesTheRecordsTheItemsIdentify) {
    for (const KindCase& c : kCases) {
        test::TImportWorld world({"kit/demo_company.sql", "import/company.sql"});  // project P1 of 1002
        world.Open();
        for (const Setting& s : c.settings) world.Set(s.table, s.field, s.value);
        test::RunSteps(world, {std::string("LoadXML contacts_projects/") + c.fixture, "CheckCustomers",
                               "ImportCustomers"});
        world.Events().Clear();
        test::RunSteps(world, c.steps);
        EXPECT_EQ(world.Events().Take(), Lines(c.events)) << c.name;
        EXPECT_EQ(test::Dump(world.AdminODBC(), kContactColumns, "kontakt", "kontaktid"), Lines(c.contacts))
            << c.name;
        EXPECT_EQ(test::Dump(world.AdminODBC(), kProjectColumns, "projekt", "projektkod"), Lines(c.projects))
            << c.name;
    }
}

// A project code that differs from the company's by letter case and trailing blanks names that
// project, which is changed rather than added again; a name the company cannot hold is stored with
// "?" and reported.
TEST(ContactProjectImport, CodesMatchByTheCompanysRuleAndUnstorableTextIsReported) {
    test::TImportWorld world({"kit/demo_company.sql", "import/company.sql"});  // project P1 of 1002
    world.Open();
    ASSERT_TRUE(world.Import().LoadXML(world.WriteFile(
        "projects.xml", "<quorvel><projects><atProjekt><PROJECT_CODE_OF_PROJECT>p1 </PROJECT_CODE_OF_PROJECT>"
                        "<PROJECT_NAME>Проект Ä</PROJECT_NAME></atProjekt></projects></quorvel>")));
    world.Events().Clear();
    test::RunSteps(world, {"ImportProjects"});
    EXPECT_EQ(world.Events().Take(), Lines(R"(
step Importerar projekt. (11)
+ Importerar projekt.
  - PROJEKT - #1
  [3] PROJEKT - #1, PROJECT_NAME: tecken som Visma inte kan lagra sparas som "?" ("?????? Ä")
  [4] Skapade/Uppdaterade projekt: P1
ImportProjects true
)"));
    EXPECT_EQ(test::Dump(world.AdminODBC(), kProjectColumns, "projekt", "projektkod"), Lines(R"(
P1|?????? Ä|1002
)"));
}

class ContactProjectItems : public ::testing::Test {
protected:
    ContactProjectItems() : world_({"kit/demo_company.sql"}) { world_.Open(); }

    // Loads a file of these root children, runs the steps and answers the last step's lines.
    std::vector<std::string> Run(const std::string& body, const std::vector<std::string>& steps) {
        EXPECT_TRUE(
            world_.Import().LoadXML(world_.WriteFile("items.xml", "<quorvel>" + body + "</quorvel>")));
        test::RunSteps(world_, std::vector<std::string>(steps.begin(), steps.end() - 1));
        world_.Events().Clear();
        test::RunSteps(world_, {steps.back()});
        return world_.Events().Take();
    }
    const TXMLNode& Item(const char* container, size_t position) {
        return *world_.Import().XMLDocument1.DocumentElement()->FindNode(container)->ChildNode(position);
    }

    test::TImportWorld world_;
};

TEST_F(ContactProjectItems, TheItemsCarryTheirNumbersAndTheContactKeyItsFoundNumber) {
    world_.Set("CDSImportContacts", "SEARCH_MODE", "1");
    world_.Set("CDSImportContacts", "SEARCH_SQL", kSqlSearch);
    test::RunSteps(world_, {"LoadXML contacts_projects/contacts_sql.xml", "CheckCustomers", "ImportCustomers",
                            "CheckContacts", "ImportContacts"});
    const TXMLNode& contact = Item("contacts", 1);
    EXPECT_EQ(contact.Attribute("vismakey"), "1");
    EXPECT_EQ(contact.FindNode("CONTACTS_CUSTOMER_NUMBER")->Text(), "1004");
    EXPECT_EQ(world_.Import().KeyHelper().GetVismaValue("K1", TKnownKey_Contacts), "1");

    test::RunSteps(world_, {"LoadXML contacts_projects/projects.xml", "CheckCustomers", "ImportCustomers",
                            "CheckProjects", "ImportProjects"});
    // The code is added as the last child of an item whose key gives it, and stays as the file
    // wrote it where the item carries one.
    const TXMLNode& keyed = Item("projects", 0);
    EXPECT_EQ(keyed.ChildNode(keyed.ChildCount() - 1)->NodeName(), "PROJECT_CODE_OF_PROJECT");
    EXPECT_EQ(keyed.FindNode("PROJECT_CODE_OF_PROJECT")->Text(), "P2");
    EXPECT_EQ(keyed.FindNode("PROJECT_CUSTOMER_NUMBER")->Text(), "1005");
    EXPECT_EQ(keyed.Attribute("vismakey"), "P2");
    EXPECT_EQ(Item("projects", 1).FindNode("PROJECT_CODE_OF_PROJECT")->Text(), "");
    EXPECT_EQ(Item("projects", 1).Attribute("vismakey"), "1");
    EXPECT_EQ(Item("projects", 3).FindNode("PROJECT_CUSTOMER_NUMBER"), nullptr);
    // Neither kind adds to the imported items: only the customers are there.
    EXPECT_EQ(world_.Import().ImportedItems(), (std::vector<std::string>{"1004", "1005"}));
}

struct ItemCase {
    const char* name;
    std::vector<Setting> settings;
    const char* body;
    std::vector<std::string> steps;  // the last one's lines are compared
    const char* events;
};

const ItemCase kItemCases[] = {
    {"a file without contacts", {}, "<projects/>", {"ImportContacts"}, R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
ImportContacts true
)"},
    {"an empty contact container", {}, "<contacts/>", {"ImportContacts"}, R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  [1] Inga kontakter att importera,
ImportContacts true
)"},
    {"an empty project container", {}, "<projects/>", {"ImportProjects"}, R"(
step Importerar projekt. (11)
+ Importerar projekt.
  [1] Inga projekt att importera,
ImportProjects true
)"},
    {"a customer reference the check did not register",
     {},
     "<contacts><atKontakter customerKey=' c9 '/></contacts>",
     {"ImportContacts"},
     R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #1
  [2] Nyckeln c9 fanns ej i systemet
ImportContacts false
)"},
    {"a contact carrying \"customerkey\", as the contact export writes it, gets no customer number",
     {},
     "<contacts><atKontakter "
     "customerkey='c9'><CONTACTS_NAME>Exporterad</CONTACTS_NAME></atKontakter></contacts>",
     {"ImportContacts"},
     R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #1
  [4] Skapade/Uppdaterade kontakter: 2
ImportContacts true
)"},
    {"a contact key searched with no sort order set",
     {},
     "<contacts><atKontakter key='k1'/></contacts>",
     {"CheckContacts", "ImportContacts"},
     R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #1
  [2] Kontrollera sökinställningar för import av kontakter.
ImportContacts false
)"},
    {"a contact key the check did not register is found",
     {{"CDSImportContacts", "SEARCH_CDX", kByName}},
     "<contacts><atKontakter key='Anna Andersson'/></contacts>",
     {"ImportContacts"},
     R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #1
  [2] Hittade inte nyckeln [Anna Andersson] när den skulle uppdateras med vismanr
ImportContacts false
)"},
    {"a contact search by SQL without statement",
     {{"CDSImportContacts", "SEARCH_MODE", "1"}},
     "<contacts><atKontakter key='k1'/></contacts>",
     {"CheckContacts", "ImportContacts"},
     R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #1
  [2] Inget SQL uttryck satt
ImportContacts false
)"},
    {"a failing statement finds nothing; the contact's CONTACTS_ID still identifies it",
     {{"CDSImportContacts", "SEARCH_MODE", "1"},
      {"CDSImportContacts", "SEARCH_SQL", "select kontaktnr from ingen_tabell where x = :CONTACTS_ID"}},
     "<contacts><atKontakter key='k1'><CONTACTS_ID>1</CONTACTS_ID></atKontakter></contacts>",
     {"CheckContacts", "ImportContacts"},
     R"(
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #1
  [2] no such table: ingen_tabell
  [4] Skapade/Uppdaterade kontakter: 1
ImportContacts true
)"},
    {"an existence setting outside 0 to 2",
     {{"CDSImportProjectPrefs", "ON_PROJECT_DOES_NOT_EXIST", "3"}},
     "<projects><atProjekt key='P9'/></projects>",
     {"ImportProjects"},
     R"(
step Importerar projekt. (11)
+ Importerar projekt.
  - PROJEKT - #1
  [2] Ogiltligt alternativ
ImportProjects false
)"},
};

TEST_F(ContactProjectItems, ItemsTheImportCannotTake) {
    for (const ItemCase& c : kItemCases) {
        for (const Setting& s : c.settings) world_.Set(s.table, s.field, s.value);
        EXPECT_EQ(Run(c.body, c.steps), Lines(c.events)) << c.name;
        for (const Setting& s : c.settings) world_.Set(s.table, s.field, "");
    }
}

// Contacts and projects write every mapped field, also one the kit maintains itself; the register
// kinds pass such a field over.
TEST_F(ContactProjectItems, TheWriterWritesFieldsTheKitKeepsOnlyWhenAsked) {
    TAdkDataSet& contacts = world_.DataSet("ADKKontakter");
    const TFieldMapping mapping = TFieldMapping::For(world_.FieldDefinitions(), "atKontakter");
    ASSERT_TRUE(world_.Import().LoadXML(world_.WriteFile(
        "stamp.xml",
        "<atKontakter><CONTACTS_TIMESTAMP>2020-01-02 03:04:05</CONTACTS_TIMESTAMP></atKontakter>")));
    const TXMLNode& item = *world_.Import().XMLDocument1.DocumentElement();
    constexpr int kTimeStampField = 23;
    ASSERT_TRUE(contacts.IsFieldReadOnly(kTimeStampField));
    for (const bool skipReadOnly : {true, false}) {
        contacts.Append();
        TMappedFieldWriter(mapping, contacts, skipReadOnly).Write(item);
        EXPECT_EQ(contacts.FieldByAdkIndex(kTimeStampField).IsNull(), skipReadOnly);
        contacts.Cancel();
    }
}

}  // namespace
}  // namespace tv

// What the customer and supplier imports write back into the loaded document, and how they end on
// items they cannot take.

#include <gtest/gtest.h>

#include "tests/import/check_pass/check_support.h"

namespace tv {
namespace {

using test::Lines;

class RegisterItems : public ::testing::Test {
protected:
    RegisterItems() : world_({"kit/demo_company.sql"}) { world_.Open(); }

    // Loads a file of these root children, runs the check and the import, and answers the import's
    // event lines with its result.
    std::vector<std::string> Import(const std::string& body, bool suppliers, bool check = true) {
        EXPECT_TRUE(
            world_.Import().LoadXML(world_.WriteFile("items.xml", "<quorvel>" + body + "</quorvel>")));
        if (check) test::RunChecks(world_, {suppliers ? "CheckSuppliers" : "CheckCustomers"});
        world_.Events().Clear();
        const bool result = suppliers ? world_.Import().ImportSuppliers() : world_.Import().ImportCustomers();
        world_.Events().Lines.push_back(result ? "true" : "false");
        return world_.Events().Take();
    }
    const TXMLNode& Item(const char* container, size_t position) {
        return *world_.Import().XMLDocument1.DocumentElement()->FindNode(container)->ChildNode(position);
    }

    test::TImportWorld world_;
};

TEST_F(RegisterItems, TheNumbersGoIntoTheLoadedDocumentAndAChangedCustomerLosesItsNumberElement) {
    ASSERT_TRUE(world_.Import().LoadXML(test::FixturePath("import/registers/new_and_changed.xml")));
    ASSERT_TRUE(world_.Import().CheckCustomers());
    ASSERT_TRUE(world_.Import().ImportCustomers());
    const TXMLNode& created = Item("customers", 1);
    EXPECT_EQ(created.Attribute("visma_customer_number"), "1004");
    EXPECT_NE(created.FindNode("CUSTOMER_NAME"), nullptr);
    const TXMLNode& changed = Item("customers", 2);
    EXPECT_EQ(changed.Attribute("visma_customer_number"), "1002");
    EXPECT_EQ(changed.FindNode("CUSTOMER_NUMBER"), nullptr);
    EXPECT_EQ(changed.Attribute("key"), " 1002 ");  // the key stays as the file wrote it

    ASSERT_TRUE(world_.Import().LoadXML(test::FixturePath("import/registers/suppliers.xml")));
    ASSERT_TRUE(world_.Import().CheckSuppliers());
    ASSERT_TRUE(world_.Import().ImportSuppliers());
    EXPECT_EQ(Item("suppliers", 0).Attribute("visma_supplier_number"), "1");
    EXPECT_EQ(Item("suppliers", 2).Attribute("visma_supplier_number"), "L10");
    EXPECT_NE(Item("suppliers", 2).FindNode("SUPPLIER_NUMBER"), nullptr);  // a supplier's elements all stay
    EXPECT_FALSE(Item("suppliers", 3).HasAttribute("visma_supplier_number"));  // noedit: nothing written
}

struct ItemCase {
    const char* name;
    bool suppliers;
    bool check;  // the check runs first
    const char* body;
    const char* events;
};

const ItemCase kItemCases[] = {
    {"a file without customers", false, true, "<suppliers/>", R"(
step Importerar kunder (4)
+ Importerar kunder
  [1] Ingen kundtag i denna fil
true
)"},
    {"an empty customer container", false, true, "<customers><!-- inga --></customers>", R"(
step Importerar kunder (4)
+ Importerar kunder
  count 1
true
)"},
    {"no customer container children at all", false, true, "<customers/>", R"(
step Importerar kunder (4)
+ Importerar kunder
  [1] Inga kunder att importera
true
)"},
    {"a customer without key", false, true, "<customers><atKunder key='c1'/><atKunder/></customers>", R"(
step Importerar kunder (4)
+ Importerar kunder
  count 2
  - Kund/nyckel : c1
  [8] Lägger till 
  [4] VISMA Kundnr [1004]
  [2] Fanns ingen nyckel på denna kund, omöjligt scenario om ingen modifierat trädet
false
)"},
    {"a customer key of blanks", false, true, "<customers><atKunder key='  '/></customers>", R"(
step Importerar kunder (4)
+ Importerar kunder
  count 1
  [2] Nyckeln för kunden är tom!
false
)"},
    {"a customer the check did not register", false, false, "<customers><atKunder key='c1'/></customers>", R"(
step Importerar kunder (4)
+ Importerar kunder
  count 1
  [2] Kunde inte hitta kund med nyckel [c1]bland registrerade nycklar
false
)"},
    {"text among the customers", false, true, "<customers><atKunder key='1001'/>text</customers>", R"(
step Importerar kunder (4)
+ Importerar kunder
  count 2
  - Kund/nyckel : 1001
  [4] VISMA Kundnr [1001]
  [2] Felaktigt XML format saknar kundinformation
false
)"},
    {"text the company cannot hold is stored as it can and reported", false, true,
     "<customers><atKunder key='c1'><CUSTOMER_NAME>Иван AB</CUSTOMER_NAME><CUSTOMER_CITY>Åre</CUSTOMER_CITY>"
     "</atKunder></customers>",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 1
  - Kund/nyckel : c1
  [8] Lägger till 
  [3] Kund/nyckel : c1, CUSTOMER_NAME: tecken som Visma inte kan lagra sparas som "?" ("???? AB")
  [4] VISMA Kundnr [1005]
true
)"},
    {"a file without suppliers", true, true, "<customers/>", R"(
step Importerar leverantörer (4)
+ Importerar leverantörer
  [1] Ingen leverantör i denna fil
true
)"},
    {"no supplier container children", true, true, "<suppliers/>", R"(
step Importerar leverantörer (4)
+ Importerar leverantörer
  [1] Inga leverantörer att importera
true
)"},
    {"a supplier without key", true, true, "<suppliers><atLeverantorer/></suppliers>", R"(
step Importerar leverantörer (4)
+ Importerar leverantörer
  count 1
  [2] Fanns ingen nyckel på denna leverantör, omöjligt scenario om ingen modifierat trädet
false
)"},
    {"a supplier the check did not register", true, false,
     "<suppliers><atLeverantorer key='s1'/></suppliers>",
     R"(
step Importerar leverantörer (4)
+ Importerar leverantörer
  count 1
  [2] Kunde inte hitta leverantör med nyckel [s1]bland registrerade nycklar
false
)"},
    {"noedit and not found", true, true,
     "<suppliers><atLeverantorer key='L10' option='noedit'/><atLeverantorer key='s9' option='noedit'/>"
     "<atLeverantorer key='s10'/></suppliers>",
     R"(
step Importerar leverantörer (4)
+ Importerar leverantörer
  count 3
  - Leverantör : L10
  - Leverantör : s9
  [2] No supplier found and noedit
false
)"},
    {"a supplier key of blanks is never searched: a new supplier", true, true,
     "<suppliers><atLeverantorer key=' '><SUPPLIER_NAME>Utan "
     "nyckel</SUPPLIER_NAME></atLeverantorer></suppliers>",
     R"(
step Importerar leverantörer (4)
+ Importerar leverantörer
  count 1
  - Leverantör : 
  [8] Lägger till 
  [4] VISMA Levnr [1]
true
)"},
};

TEST_F(RegisterItems, ItemsTheImportCannotTake) {
    for (const ItemCase& c : kItemCases)
        EXPECT_EQ(Import(c.body, c.suppliers, c.check), Lines(c.events)) << c.name;
}

}  // namespace
}  // namespace tv

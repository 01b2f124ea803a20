// The import of customers and suppliers end to end: the demo company, a fixture file, the check and
// the import as a job script calls them; the event lines, the numbers written and the company's
// tables afterwards, all written by hand.

#include <gtest/gtest.h>

#include "tests/import/check_pass/check_support.h"

namespace tv {
namespace {

using test::Lines;
using test::Visible;

constexpr const char* kCustomerColumns =
    "kundnr || '|' || ifnull(namn,'') || '|' || ifnull(ort,'') || '|' || ifnull(kreditgrans,'') || '|' || "
    "ifnull(orgnr,'') || '|' || ifnull(kundsedan,'') || '|' || ifnull(omvandbyggskatt,'') || '|' || "
    "ifnull(ignoreraorgnr,'')";
constexpr const char* kSupplierColumns = "levnr || '|' || ifnull(namn,'') || '|' || ifnull(ort,'')";

struct RegisterCase {
    const char* name;
    const char* fixture;  // below tests/fixtures/import/registers
    std::vector<std::pair<const char*, const char*>> settings;
    const char* extraSeed;
    const char* events;  // of the import
    const char* dump;    // the register's table afterwards
    std::vector<std::string> imported;
    const char* registry;  // the kind's registry afterwards
};

class RegisterImport : public ::testing::Test {
protected:
    void Run(const RegisterCase& c, bool suppliers) {
        auto world = std::make_unique<test::TImportWorld>(std::vector<std::string>{"kit/demo_company.sql"},
                                                          "", c.extraSeed);
        world->Open();
        const char* table = suppliers ? "CDSImportSuppliersPrefs" : "CDSImportCustomersPrefs";
        for (const auto& [field, value] : c.settings) world->Set(table, field, value);
        ASSERT_TRUE(world->Import().LoadXML(test::FixturePath(std::string("import/registers/") + c.fixture)));
        test::RunChecks(*world, {suppliers ? "CheckSuppliers" : "CheckCustomers"});
        world->Events().Clear();
        const bool result = suppliers ? world->Import().ImportSuppliers() : world->Import().ImportCustomers();
        world->Events().Lines.push_back(std::string(suppliers ? "ImportSuppliers " : "ImportCustomers ") +
                                        (result ? "true" : "false"));
        EXPECT_EQ(Visible(world->Events().Take()), Lines(c.events)) << c.name;
        EXPECT_EQ(suppliers ? test::Dump(world->AdminODBC(), kSupplierColumns, "lev", "levnr")
                            : test::Dump(world->AdminODBC(), kCustomerColumns, "kund", "kundnr"),
                  Lines(c.dump))
            << c.name;
        EXPECT_EQ(world->Import().ImportedItems(), c.imported) << c.name;
        EXPECT_EQ(test::RegistryLines(world->Import()), Lines(c.registry)) << c.name;
    }
};

const RegisterCase kCustomerCases[] = {
    {"a new customer with converted fields, and an existing one changed under its own number",
     "new_and_changed.xml",
     {},
     "",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 3
  - Kund/nyckel : c1
  [8] Lägger till 
  [4] VISMA Kundnr [1004]
  - Kund/nyckel : 1002
  [4] VISMA Kundnr [1002]
ImportCustomers true
)",
     R"(
1001|Åsa Öberg AB|Göteborg|||||0
1002|Bengt Berg AB|Umeå|||||0
1003|Cecilia Ek|göteborg|||||0
1004|Örjan Åkesson|Västerås|12500.75|556677-8899|2024-03-01|1|
)",
     {"1004", "1002"},
     R"(
ValidCustomerKyes "c1" [] = 1004
ValidCustomerKyes "1002" [edit] = 1002
)"},

    {"an existing customer is skipped by ON_CUSTOMER_EXISTS 1",
     "policies.xml",
     {{"ON_CUSTOMER_EXISTS", "1"}},
     "",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 3
  - Kund/nyckel : 1001
  - Kund/nyckel : c2
  [8] Lägger till 
  [4] VISMA Kundnr [1004]
  - Kund/nyckel : c3
  [8] Lägger till 
  [4] VISMA Kundnr [1005]
ImportCustomers true
)",
     R"(
1001|Åsa Öberg AB|Göteborg|||||0
1002|Bengt Berg|Umeå|||||0
1003|Cecilia Ek|göteborg|||||0
1004|Ny två||||||
1005|Ny tre||||||
)",
     {"1004", "1005"},
     R"(
ValidCustomerKyes "1001" [] = 1001
ValidCustomerKyes "c2" [] = 1004
ValidCustomerKyes "c3" [] = 1005
)"},

    {"an existing customer is refused by ON_CUSTOMER_EXISTS 2",
     "policies.xml",
     {{"ON_CUSTOMER_EXISTS", "2"}},
     "",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 3
  - Kund/nyckel : 1001
  [2] Kund existerar redan 1001
ImportCustomers false
)",
     R"(
1001|Åsa Öberg AB|Göteborg|||||0
1002|Bengt Berg|Umeå|||||0
1003|Cecilia Ek|göteborg|||||0
)",
     {},
     R"(
ValidCustomerKyes "1001" [] = 1001
ValidCustomerKyes "c2" []
ValidCustomerKyes "c3" []
)"},

    {"a missing customer is refused by ON_CUSTOMER_DOES_NOT_EXIST 2 after the one before is written",
     "policies.xml",
     {{"ON_CUSTOMER_DOES_NOT_EXIST", "2"}},
     "",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 3
  - Kund/nyckel : 1001
  [4] VISMA Kundnr [1001]
  - Kund/nyckel : c2
  [2] Kund existerar inte c2
ImportCustomers false
)",
     R"(
1001|Ändrad|Göteborg|||||0
1002|Bengt Berg|Umeå|||||0
1003|Cecilia Ek|göteborg|||||0
)",
     {"1001"},
     R"(
ValidCustomerKyes "1001" [] = 1001
ValidCustomerKyes "c2" []
ValidCustomerKyes "c3" []
)"},

    {"an existence setting outside 0 to 2 is invalid",
     "policies.xml",
     {{"ON_CUSTOMER_EXISTS", "3"}},
     "",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 3
  - Kund/nyckel : 1001
  [2] Ogiltligt alternativ
ImportCustomers false
)",
     R"(
1001|Åsa Öberg AB|Göteborg|||||0
1002|Bengt Berg|Umeå|||||0
1003|Cecilia Ek|göteborg|||||0
)",
     {},
     R"(
ValidCustomerKyes "1001" [] = 1001
ValidCustomerKyes "c2" []
ValidCustomerKyes "c3" []
)"},

    {"noedit only resolves; autocreate creates without searching, and a key written before is changed",
     "options.xml",
     {{"SEARCH_CUSTOMER_CDX", "2"}},  // asKundNamn: the keys here are names
     "",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 6
  - Kund/nyckel : Cecilia Ek
  - Kund/nyckel : Ingen Alls
  - Kund/nyckel : 1001
  [8] Lägger till 
  [4] VISMA Kundnr [1004]
  - Kund/nyckel : dup
  [8] Lägger till 
  [4] VISMA Kundnr [1005]
  - Kund/nyckel : DUP
  [4] VISMA Kundnr [1005]
ImportCustomers true
)",
     R"(
1001|Åsa Öberg AB|Göteborg|||||0
1002|Bengt Berg|Umeå|||||0
1003|Cecilia Ek|göteborg|||||0
1004|Kopia av Åsa||||||
1005|Andra||||||
)",
     {"1004", "1005", "1005"},
     R"(
ValidCustomerKyes "cecilia ek" [noedit] = 1003
ValidCustomerKyes "ingen alls" [noedit]
ValidCustomerKyes "1001" [autocreate] = 1004
ValidCustomerKyes "dup" [autocreate] = 1005
)"},

    {"FORCE_IGNORE_ORGNR 1 marks every customer written",
     "force_orgnr.xml",
     {{"FORCE_IGNORE_ORGNR", "1"}},
     "",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 2
  - Kund/nyckel : c1
  [8] Lägger till 
  [4] VISMA Kundnr [1004]
  - Kund/nyckel : 1001
  [4] VISMA Kundnr [1001]
ImportCustomers true
)",
     R"(
1001|Åsa Öberg AB|Borås|||||1
1002|Bengt Berg|Umeå|||||0
1003|Cecilia Ek|göteborg|||||0
1004|Ny||||||1
)",
     {"1004", "1001"},
     R"(
ValidCustomerKyes "c1" [] = 1004
ValidCustomerKyes "1001" [] = 1001
)"},

    {"with FORCE_IGNORE_ORGNR 0 the field is not touched",
     "force_orgnr.xml",
     {},
     "UPDATE kund SET ignoreraorgnr = 1 WHERE kundnr = '1001';\n",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 2
  - Kund/nyckel : c1
  [8] Lägger till 
  [4] VISMA Kundnr [1004]
  - Kund/nyckel : 1001
  [4] VISMA Kundnr [1001]
ImportCustomers true
)",
     R"(
1001|Åsa Öberg AB|Borås|||||1
1002|Bengt Berg|Umeå|||||0
1003|Cecilia Ek|göteborg|||||0
1004|Ny||||||
)",
     {"1004", "1001"},
     R"(
ValidCustomerKyes "c1" [] = 1004
ValidCustomerKyes "1001" [] = 1001
)"},

    {"a value that does not convert ends the import; the customer before it stays written",
     "bad_value.xml",
     {},
     "",
     R"(
step Importerar kunder (4)
+ Importerar kunder
  count 3
  - Kund/nyckel : c1
  [8] Lägger till 
  [4] VISMA Kundnr [1004]
  - Kund/nyckel : c2
  [8] Lägger till 
  [2] Fel vid uppläggning av kund: 'tolv' is not a valid floating point value for field 'KREDITGRANS'
  [2] 'tolv' is not a valid floating point value for field 'KREDITGRANS'
ImportCustomers false
)",
     R"(
1001|Åsa Öberg AB|Göteborg|||||0
1002|Bengt Berg|Umeå|||||0
1003|Cecilia Ek|göteborg|||||0
1004|Först||||||
)",
     {"1004"},
     R"(
ValidCustomerKyes "c1" [] = 1004
ValidCustomerKyes "c2" []
ValidCustomerKyes "c3" []
)"},
};

TEST_F(RegisterImport, Customers) {
    for (const RegisterCase& c : kCustomerCases) Run(c, false);
}

const RegisterCase kSupplierCases[] = {
    {"a new supplier, an existing one changed under its own number, and one only resolved",
     "suppliers.xml",
     {},
     "",
     R"(
step Importerar leverantörer (4)
+ Importerar leverantörer
  count 4
  - Leverantör : s1
  [8] Lägger till 
  [4] VISMA Levnr [1]
  - Leverantör : l10
  [4] VISMA Levnr [L10]
  - Leverantör : L20
ImportSuppliers true
)",
     R"(
1|Ny Leverantör|Kiruna
L10|Leverantör Ett AB|Malmö
L20|Leverantör Två|Luleå
)",
     {"1", "L10"},
     R"(
ValidSuppliers "s1" [] = 1
ValidSuppliers "l10" [] = L10
ValidSuppliers "l20" [noedit] = L20
ValidKeys 5 "s1" [] = 1
ValidKeys 5 "l10" [] = L10
ValidKeys 5 "l20" [noedit] = L20
)"},

    {"a supplier the kit refuses is reported and the next one is imported",
     "supplier_failure.xml",
     {},
     "INSERT INTO kit_faults(function, code, message, skip, times) VALUES('AdkAdd', 0, 'kit fault', 0, 1);\n",
     R"(
step Importerar leverantörer (4)
+ Importerar leverantörer
  count 2
  - Leverantör : s1
  [8] Lägger till 
  [2] Error occured in AdkAdd:\r\n\r\nkit fault
  - Leverantör : s2
  [8] Lägger till 
  [4] VISMA Levnr [1]
ImportSuppliers true
)",
     R"(
1|Går bra|
L10|Leverantör Ett|Malmö
L20|Leverantör Två|Luleå
)",
     {"1"},
     R"(
ValidSuppliers "s1" []
ValidSuppliers "s2" [] = 1
ValidKeys 5 "s1" []
ValidKeys 5 "s2" [] = 1
)"},
};

TEST_F(RegisterImport, Suppliers) {
    for (const RegisterCase& c : kSupplierCases) Run(c, true);
}

}  // namespace
}  // namespace tv

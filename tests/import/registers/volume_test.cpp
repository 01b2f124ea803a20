// A file of 10,000 new customers imports whole: every customer gets its number in order, and the
// company holds them all.

#include <gtest/gtest.h>

#include "platform/db/ado_query.h"
#include "tests/import/import_world.h"

namespace tv {
namespace {

constexpr int kCustomers = 10000;

std::string CustomersFile() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<quorvel>\r\n\t<customers>\r\n";
    for (int i = 1; i <= kCustomers; ++i) {
        const std::string n = std::to_string(i);
        xml += "\t\t<atKunder key=\"k" + n + "\">\r\n\t\t\t<CUSTOMER_NAME>Kund " + n +
               "</CUSTOMER_NAME>\r\n\t\t\t<CUSTOMER_CITY>Ort " + n +
               "</CUSTOMER_CITY>\r\n\t\t\t<CUSTOMER_CREDIT_LIMIT>" + n +
               ".5</CUSTOMER_CREDIT_LIMIT>\r\n\t\t</atKunder>\r\n";
    }
    return xml + "\t</customers>\r\n</quorvel>\r\n";
}

std::string One(test::TImportWorld& world, const std::string& sql) {
    TADOQuery query;
    query.SetConnection(&world.AdminODBC());
    query.SQL().SetText(sql);
    query.Open();
    return query.Fields(0).AsString();
}

TEST(CustomerVolume, TenThousandNewCustomersImport) {
    test::TImportWorld world({"kit/demo_company.sql"});
    world.Open();
    ASSERT_TRUE(world.Import().LoadXML(world.WriteFile("many.xml", CustomersFile())));
    ASSERT_TRUE(world.Import().CheckCustomers());
    world.Events().Clear();
    ASSERT_TRUE(world.Import().ImportCustomers());
    const std::vector<std::string>& imported = world.Import().ImportedItems();
    ASSERT_EQ(imported.size(), size_t(kCustomers));
    EXPECT_EQ(imported.front(), "1004");
    EXPECT_EQ(imported.back(), "11003");
    EXPECT_EQ(world.Import().ValidCustomerKyes.Locate("K10000")->KEY_VALUE_IN_VISMA, "11003");
    EXPECT_EQ(One(world, "select count(*) from kund"), "10003");
    EXPECT_EQ(One(world, "select namn || '|' || ort || '|' || kreditgrans from kund where kundnr = '6003'"),
              "Kund 5000|Ort 5000|5000.5");
    // Every line is the item, "Lägger till" and the number; nothing else was reported.
    EXPECT_EQ(world.Events().Lines.size(), size_t(3 + 3 * kCustomers));
    EXPECT_EQ(world.Events().Lines.back(), "  [4] VISMA Kundnr [11003]");
}

}  // namespace
}  // namespace tv

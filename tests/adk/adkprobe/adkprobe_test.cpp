// adkprobe on the demo company: listing, finding an order with its rows, editing a field, and the
// failures it reports.

#include <gtest/gtest.h>

#include <fstream>

#include "tests/adk/adk_test_support.h"

namespace tv {
namespace {

class AdkProbe : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream demo(std::string(TV_FIXTURES_DIR) + "/kit/demo_company.sql");
        test::MakeCompany(
            dir_, dir_.Path("demo"),
            std::string((std::istreambuf_iterator<char>(demo)), std::istreambuf_iterator<char>()));
    }
    // Runs adkprobe on the demo company; its exit status and output.
    std::pair<int, std::string> Probe(std::vector<std::string> args) {
        args.insert(args.begin(), {"--kit", test::FolderOf(TV_KIT), "--company", dir_.Path("demo")});
        int status = test::RunProgram(TV_ADKPROBE, args, dir_.Path("probe.out"));
        return {status, dir_.Read("probe.out")};
    }
    static bool Has(const std::string& output, const std::string& line) {
        return output.find(line + "\n") != std::string::npos;
    }
    test::TempDir dir_;
};

TEST_F(AdkProbe, ListsFindsAndEditsThroughTheDataset) {
    auto [status, out] = Probe({"list", "atKunder"});
    ASSERT_EQ(status, 0) << out;
    EXPECT_TRUE(Has(out, "table atKunder sorted by asKundnr (key field 0)")) << out;
    EXPECT_TRUE(Has(out, "  1 NAMN = Åsa Öberg AB")) << out;
    EXPECT_TRUE(Has(out, "record 3")) << out;
    EXPECT_TRUE(Has(out, "kit: lRc=79 lDbTable=0 lField=188 lFunction=40"))
        << out;  // the end, after AdkNextEx

    std::tie(status, out) = Probe({"find", "atOrder", "1"});
    ASSERT_EQ(status, 0) << out;
    EXPECT_TRUE(Has(out, "  28 ERTORDERNR = PO-77")) << out;
    EXPECT_TRUE(Has(out, "  row 3")) << out;
    EXPECT_TRUE(Has(out, "    14 TEXT = Leverans på fredag")) << out;

    std::tie(status, out) = Probe({"edit", "atKunder", "1003", "ORT=Göteborg", "1=Cecilia Ek AB"});
    ASSERT_EQ(status, 0) << out;
    EXPECT_TRUE(Has(out, "  7 ORT = Göteborg")) << out;
    std::tie(status, out) = Probe({"find", "atKunder", "1003"});
    EXPECT_TRUE(Has(out, "  1 NAMN = Cecilia Ek AB")) << out;
}

TEST_F(AdkProbe, ReportsWhatItCannotDo) {
    auto [status, out] = Probe({"find", "atKunder", "9999"});
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(Has(out, "not found")) << out;
    std::tie(status, out) = Probe({"list", "Kunder"});
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(Has(out, "adkprobe: No such table : Kunder")) << out;
    std::tie(status, out) = Probe({"list", "atKunder", "--max", "x"});
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(Has(out, "adkprobe: --max: \"x\" is not a number of records; give a whole number, 0 or more"))
        << out;
    std::tie(status, out) = Probe({"edit", "atKunder", "1001", "99999999999=1"});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out.find("stoi"), std::string::npos) << out;
    std::tie(status, out) = Probe({"edit", "atKunder", "1001", "NOSUCHFIELD=1"});
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("adkprobe: "), std::string::npos) << out;
}

}  // namespace
}  // namespace tv

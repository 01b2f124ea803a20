#include <gtest/gtest.h>

#include "adk/adk_binding.h"
#include "adk/adk_calls.h"
#include "platform/rtl/environment_info.h"
#include "tests/adk/adk_test_support.h"

namespace tv {
namespace {

class AdkBinding : public ::testing::Test {
protected:
    void SetUp() override { FreeAdkLibrary(); }
    void TearDown() override { FreeAdkLibrary(); }
    test::TempDir dir_;
};

// The exports whose binding depends on the kit's version.
constexpr TAdkExport kGated[] = {
    TAdkExport::AdkOpenEx,     TAdkExport::AdkResetStruct, TAdkExport::AdkFindEx,
    TAdkExport::AdkGetVariant, TAdkExport::AdkGetSie,      TAdkExport::AdkFind2,
    TAdkExport::AdkGetVersion, TAdkExport::AdkOpen2,       TAdkExport::AdkSetFilter,
};

struct GateCase {
    const char* version;
    const char* bound;  // one letter per export of kGated, in order: 'y' bound, '.' not
};
constexpr GateCase kGateCases[] = {
    {"4.1.0.0", "........."},                                // below 4.2: only the exports without a minimum
    {"4.2.0.0", "yy......."},                                // the 4.2 group
    {"4.3.0.0", "yy......."},                                // the kit exports AdkFindEx, but it is below 4.4
    {"4.4.0.0", "yyy......"},     {"5.0.0.0", "yyy......"},  // not above 5.0
    {"5.0.1.0", "yyyyy...."},                                // above 5.0 only
    {"5.1.0.0", "yyyyy...."},     {"5.1.1.0", "yyyyyyy.."},  // above 5.1
    {"17.1.0.0", "yyyyyyyy."},                               // AdkOpen2 from 17.1
    {"19.0.0.0", "yyyyyyyyy"},                               // AdkSetFilter from 19.0
    {"20.3.1.5867", "yyyyyyyyy"},
};

TEST_F(AdkBinding, TheKitsVersionDecidesWhichExportsBind) {
    for (const auto& c : kGateCases) {
        std::string folder = test::KitCopy(dir_, TV_KIT, c.version, c.version);
        ASSERT_TRUE(LoadAdkLibrary(folder, "")) << c.version << ": " << AdkLastLoadError();
        EXPECT_EQ(EnvironmentInfoValue("Adk.dll ver"), c.version);
        EXPECT_EQ(EnvironmentInfoValue("Adk.dll"), folder);
        EXPECT_TRUE(AdkFunctionBound(TAdkExport::AdkOpen)) << c.version;
        for (size_t i = 0; i < std::size(kGated); ++i)
            EXPECT_EQ(AdkFunctionBound(kGated[i]), c.bound[i] == 'y')
                << c.version << " " << AdkDecoratedName(kGated[i]);
        FreeAdkLibrary();
    }
}

TEST_F(AdkBinding, TheDurabilityExportsBindWhereTheKitHasThem) {
    constexpr TAdkExport kDurability[] = {TAdkExport::AdkHoldWrites, TAdkExport::AdkCommit,
                                          TAdkExport::AdkSync};
    // The stand-in has them whatever version it carries.
    for (const char* version : {"4.1.0.0", "20.3.1.5867"}) {
        ASSERT_TRUE(LoadAdkLibrary(test::KitCopy(dir_, TV_KIT, version, std::string("kit") + version), ""));
        for (TAdkExport e : kDurability)
            EXPECT_TRUE(AdkFunctionBound(e)) << version << " " << AdkDecoratedName(e);
        FreeAdkLibrary();
    }
    // A kit without them loads; calling one is refused instead of jumping to nothing.
    ASSERT_TRUE(LoadAdkLibrary(test::KitCopy(dir_, TV_FAKE_KIT, "20.3.1.5867", "full"), ""));
    for (TAdkExport e : kDurability) EXPECT_FALSE(AdkFunctionBound(e)) << AdkDecoratedName(e);
    EXPECT_EQ(test::MessageOf([&] { AdkSync(); }), "Kunde inte hitta funktion: _AdkSync@0.");
}

TEST_F(AdkBinding, AnExportMissingFromAKitOfItsMinimumVersionStaysUnbound) {
    std::string folder = test::KitCopy(dir_, TV_FAKE_KIT_LACKING, "4.2.0.0", "lacking");
    ASSERT_TRUE(LoadAdkLibrary(folder, ""));
    EXPECT_FALSE(AdkFunctionBound(TAdkExport::AdkResetStruct));
    // Calling it is refused instead of jumping to nothing.
    TAdkData data = AdkCreateData(0);
    EXPECT_EQ(test::MessageOf([&] { AdkResetStruct(data); }),
              "Kunde inte hitta funktion: _AdkResetStruct@4.");
}

TEST_F(AdkBinding, AnExportMissingFromANewerKitFailsTheLoadAndLeavesNothingBound) {
    std::string folder = test::KitCopy(dir_, TV_FAKE_KIT_LACKING, "4.3.0.0", "lacking");
    EXPECT_EQ(test::MessageOf([&] { LoadAdkLibrary(folder, ""); }),
              "Kunde inte hitta funktion: _AdkResetStruct@4.\r\n"
              "Visma Integration version 4.2 eller högre krävs och du har version 4.3.");
    EXPECT_FALSE(AdkLibraryLoaded());
    EXPECT_FALSE(AdkFunctionBound(TAdkExport::AdkOpen));
    EXPECT_THROW(AdkClose(), Exception);

    // A later load binds again from the file instead of answering "already loaded".
    std::string good = test::KitCopy(dir_, TV_FAKE_KIT, "20.3.1.5867", "full");
    ASSERT_TRUE(LoadAdkLibrary(good, ""));
    EXPECT_TRUE(AdkFunctionBound(TAdkExport::AdkResetStruct));
}

TEST_F(AdkBinding, AKitOlderThanRequiredIsRefused) {
    std::string folder = test::KitCopy(dir_, TV_FAKE_KIT, "20.3.1.5867", "full");
    EXPECT_EQ(test::MessageOf([&] { LoadAdkLibrary(folder, "21.0"); }),
              "Det här programmet kräver att Visma Integration version 21.0 eller högre är installerad. "
              "Aktuell version 20.3.1.5867");
    EXPECT_FALSE(AdkLibraryLoaded());
    EXPECT_TRUE(LoadAdkLibrary(folder, "20.3"));
}

TEST_F(AdkBinding, ASecondLoadKeepsTheFirstKit) {
    std::string first = test::KitCopy(dir_, TV_FAKE_KIT, "20.3.1.5867", "first");
    std::string second = test::KitCopy(dir_, TV_FAKE_KIT_LACKING, "4.2.0.0", "second");
    ASSERT_TRUE(LoadAdkLibrary(first, ""));
    EXPECT_TRUE(LoadAdkLibrary(second, ""));
    EXPECT_EQ(EnvironmentInfoValue("Adk.dll"), first);
    EXPECT_TRUE(AdkFunctionBound(TAdkExport::AdkResetStruct));  // still the first kit's binding
}

TEST_F(AdkBinding, AFileThatCannotBeLoadedGivesFalseWithTheReason) {
    EXPECT_FALSE(LoadAdkLibrary(dir_.Root(), ""));
    EXPECT_NE(AdkLastLoadError(), "");
    dir_.Write("broken/Adk.dll", "not a library");
    EXPECT_FALSE(LoadAdkLibrary(dir_.Path("broken"), ""));
    EXPECT_FALSE(AdkLibraryLoaded());
}

TEST(AdkNames, PlainNamesComeFromTheDecoratedOnes) {
    EXPECT_EQ(AdkDecoratedName(TAdkExport::AdkOpen), "_AdkOpen@8");
    EXPECT_EQ(AdkDecoratedName(TAdkExport::AdkSetFilter), "_AdkSetFilter@16");
    EXPECT_EQ(AdkPlainName("_AdkGetCustomerPrice@36"), "AdkGetCustomerPrice");
    EXPECT_EQ(AdkPlainName("_AdkClose@0"), "AdkClose");
}

}  // namespace
}  // namespace tv

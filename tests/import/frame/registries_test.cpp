// The key registries, the typed registry, the imported items and the existence policy.

#include <gtest/gtest.h>

#include "import/dm_import.h"
#include "import/import_policies.h"
#include "import/key_helper_dm.h"
#include "import/key_registry.h"
#include "import/key_text.h"
#include "tests/adk/adk_test_support.h"

namespace tv {
namespace {

using test::MessageOf;

TEST(KeyText, LettersFoldByTheOneCaseTableBothWays) {
    struct Case {
        const char* text;
        const char* lower;
        const char* upper;
    };
    constexpr Case kCases[] = {
        {"Åsa ÖBERG ab-7", "åsa öberg ab-7", "ÅSA ÖBERG AB-7"},
        {"en", "en", "EN"},
        {"Ab\xff", "ab\xff", "AB\xff"},  // a byte that is no UTF-8 stays as it is
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(LowerKey(c.text), c.lower) << c.text;
        EXPECT_EQ(UpperKey(c.text), c.upper) << c.text;
    }
}

TEST(KeyRegistry, KeysAreTrimmedStoredInSmallLettersAndFoundInAnyCase) {
    TKeyRegistry registry("ValidCustomerKyes");
    registry.Register("  ÅSA Öberg ", "noedit");
    ASSERT_EQ(registry.Count(), 1u);
    const TKeyRecord& record = registry.Records()[0];
    EXPECT_EQ(record.KEY_KEY_VALUE, "åsa öberg");
    EXPECT_TRUE(record.KEY_IN_TREE);
    EXPECT_FALSE(record.KEY_IN_VISMA);
    EXPECT_EQ(record.KEY_VALUE_IN_VISMA, "");
    EXPECT_EQ(record.KEY_OPTION, "noedit");
    for (const char* lookUp : {"åsa öberg", "ÅSA ÖBERG", "Åsa Öberg"})
        EXPECT_EQ(registry.Locate(lookUp), &record) << lookUp;
    EXPECT_EQ(registry.Locate("åsa"), nullptr);         // whole keys only
    EXPECT_EQ(registry.Locate("åsa öberg "), nullptr);  // a look-up is not trimmed
}

TEST(KeyRegistry, RegisteringAKeyAgainKeepsItsOptionAndNumber) {
    TKeyRegistry registry("ValidArticleKeys");
    registry.Register("A1", "autocreate").KEY_VALUE_IN_VISMA = "100";
    registry.Register("a1", "noedit");
    ASSERT_EQ(registry.Count(), 1u);
    EXPECT_EQ(registry.Records()[0].KEY_OPTION, "autocreate");
    EXPECT_EQ(registry.Records()[0].KEY_VALUE_IN_VISMA, "100");
    registry.Clear();
    EXPECT_EQ(registry.Count(), 0u);
    EXPECT_EQ(registry.Locate("a1"), nullptr);
}

TEST(KeyHelper, OneRecordPerKeyAndTypeWithTheFirstOption) {
    TKeyHelperDM keys;
    keys.AddKnownKey(TKnownKey_Supplier, "S1", "Edit");
    keys.AddKnownKey(TKnownKey_Pricelist, "S1", "edit");
    keys.AddKnownKey(TKnownKey_Supplier, "s1", "noedit");
    keys.AddKnownKey(TKnownKey_Supplier, " s1", "");  // not trimmed: another key
    ASSERT_EQ(keys.ValidKeys().size(), 3u);
    EXPECT_EQ(keys.ValidKeys()[0].KEY_TYPE, "5");
    EXPECT_EQ(keys.ValidKeys()[0].KEY_KEY_VALUE, "s1");
    EXPECT_EQ(keys.ValidKeys()[1].KEY_TYPE, "7");
    EXPECT_EQ(keys.GetOptionFor("S1", TKnownKey_Supplier), "Edit");
    EXPECT_TRUE(keys.FindKnownKey("S1", TKnownKey_Pricelist));
    EXPECT_FALSE(keys.FindKnownKey("S1", TKnownKey_Contacts));

    keys.SetKnowVismaKeyValue("s1", "L10", TKnownKey_Supplier);
    EXPECT_EQ(keys.GetVismaValue("S1", TKnownKey_Supplier), "L10");
    EXPECT_EQ(keys.GetVismaValue("S1", TKnownKey_Pricelist), "");
    keys.Clear();
    EXPECT_TRUE(keys.ValidKeys().empty());
}

TEST(KeyHelper, AKeyTheTypeDoesNotHoldRaises) {
    TKeyHelperDM keys;
    keys.AddKnownKey(TKnownKey_Contacts, "k1", "");
    const std::string expected = "Hittade inte nyckeln [K2] när den skulle uppdateras med vismanr";
    EXPECT_EQ(MessageOf([&] { keys.GetOptionFor("K2", TKnownKey_Contacts); }), expected);
    EXPECT_EQ(MessageOf([&] { keys.GetVismaValue("K2", TKnownKey_Contacts); }), expected);
    EXPECT_EQ(MessageOf([&] { keys.SetKnowVismaKeyValue("K2", "9", TKnownKey_Contacts); }), expected);
    EXPECT_EQ(MessageOf([&] { keys.GetVismaValue("k1", TKnownKey_Project); }),
              "Hittade inte nyckeln [k1] när den skulle uppdateras med vismanr");
}

struct PolicyCase {
    int setting;
    const char* outcome;  // "go on", "skip" or the message raised
};
constexpr PolicyCase kPolicyCases[] = {
    {0, "go on"},
    {1, "skip"},
    {2, "Kund existerar redan c1"},
    {3, "Ogiltligt alternativ"},
    {-1, "Ogiltligt alternativ"},
};

TEST(ExistencePolicy, ZeroGoesOnOneSkipsTwoFailsAnythingElseIsInvalid) {
    for (const PolicyCase& c : kPolicyCases) {
        std::string outcome;
        try {
            outcome = ApplyExistencePolicy(c.setting, "Kund existerar redan ", "c1") == TExistenceAction::GoOn
                          ? "go on"
                          : "skip";
        } catch (const EImportError& e) {
            outcome = e.Message;
        }
        EXPECT_EQ(outcome, c.outcome) << c.setting;
    }
}

TEST(ImportedItems, AreCutToFiftyCharactersAndEmptiedOnlyOnRequest) {
    TImportContext context;
    TKeyHelperDM keys;
    TDMImport import(context, keys);
    const std::string longItem = std::string(45, 'x') + "åäöÅÄÖ";  // 51 characters
    import.AddImportedItem("1001");
    import.AddImportedItem(longItem);
    ASSERT_EQ(import.ImportedItems().size(), 2u);
    EXPECT_EQ(import.ImportedItems()[1], std::string(45, 'x') + "åäöÅÄ");
    std::unique_ptr<TStringList> list = import.getImportedItems();
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Strings(0), "1001");
    import.clearImportedItems("whatever");
    EXPECT_TRUE(import.ImportedItems().empty());
    EXPECT_EQ(import.getImportedItems()->Count(), 0);
}

TEST(ImportedItems, StoringANumberNeedsARegisteredKey) {
    TImportContext context;
    TKeyHelperDM keys;
    TDMImport import(context, keys);
    import.ValidCustomerKyes.Register("C1", "");
    import.SetValidKeyVismaValue("c1", "1004", "0", import.ValidCustomerKyes);
    EXPECT_EQ(import.ValidCustomerKyes.Locate("C1")->KEY_VALUE_IN_VISMA, "1004");
    EXPECT_EQ(MessageOf([&] { import.SetValidKeyVismaValue("c2", "1", "0", import.ValidCustomerKyes); }),
              "Hittade inte nyckeln [c2] när den skulle uppdateras med vismanr");
}

}  // namespace
}  // namespace tv

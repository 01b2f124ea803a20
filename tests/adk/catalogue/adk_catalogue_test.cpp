#include "adk/adk_catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/adk/adk_test_support.h"

namespace tv {
namespace {

struct TableCase {
    TAdkTable table;
    int kitTable;
    int maxField;
    TAdkTable rowsTable;
    int rowsField, rowCountField;
};
constexpr TableCase kTableCases[] = {
    {atIngen, -1, -1, atIngen, -1, -1},
    {atKunder, 0, 135, atIngen, -1, -1},
    {atOfferter, 4, 149, atOffertrader, 103, 104},  // offers and orders exchange kit numbers
    {atOrder, 2, 149, atOrderrader, 103, 104},
    {atLevFakturor, 8, 46, atLevFakturarader, 36, 37},
    {atRabattavtalsrader, 34, 6, atIngen, -1, -1},
    {atBestallningar, 32, 48, atBestallningrader, 39, 40},
    {atKolli, 53, 14, atKollirader, 13, 14},
    {atLeveransaviseringskolli, 55, 13, atLeveransaviseringskollirader, 12, 13},
    {atForsaljningspriser, 37, 7, atIngen, -1, -1},
    {atPaketartiklar, 35, 12, atIngen, -1, -1},
    {atFriKategori10, 49, 2, atIngen, -1, -1},
    {atArtikelbenamningar, 36, 4, atIngen, -1, -1},
    {atVerifikationer, 65, 19, atVerifikationsrader, 14, 15},
    {atAvtal, 74, 119, atAvtalrader, 82, 83},
    {atInstallningar3, 84, 0, atIngen, -1, -1},
    {static_cast<TAdkTable>(86), -1, -1, atIngen, -1, -1},  // outside the enumeration
};

TEST(AdkCatalogue, TablesCarryKitNumberFieldRangeAndRows) {
    for (const auto& c : kTableCases) {
        EXPECT_EQ(GetAdkTableIndex(c.table), c.kitTable) << c.table;
        EXPECT_EQ(GetMaxAdkFieldIndex(c.table), c.maxField) << c.table;
        EXPECT_EQ(GetAdkRowTable(c.table), c.rowsTable) << c.table;
        EXPECT_EQ(GetAdkHasRows(c.table), c.rowsTable != atIngen) << c.table;
        EXPECT_EQ(GetRowsField(c.table), c.rowsField) << c.table;
        EXPECT_EQ(GetRowCountField(c.table), c.rowCountField) << c.table;
    }
}

// The kit numbers follow stretches of the ordinals; checking the table against them catches a
// slipped row anywhere in it.
int KitNumberByStretch(int ord) {
    if (ord == 0) return -1;
    constexpr int kOffersAndOrders[] = {4, 5, 2, 3}, kPrices[] = {37, 38, 35, 39};
    if (ord >= 3 && ord <= 6) return kOffersAndOrders[ord - 3];
    if (ord == 23) return 34;
    if (ord >= 24 && ord <= 35) return ord - 2;
    if (ord >= 36 && ord <= 41) return ord + 15;
    if (ord >= 42 && ord <= 45) return kPrices[ord - 42];
    if (ord >= 46 && ord <= 56) return ord - 6;
    if (ord == 57) return 36;
    return ord - 1;
}

TEST(AdkCatalogue, EveryKitNumberFollowsItsStretchAndIsUnique) {
    std::set<int> seen;
    for (int t = 0; t < kAdkTableCount; ++t) {
        EXPECT_EQ(GetAdkTableIndex(TAdkTable(t)), KitNumberByStretch(t)) << AdkTableName(TAdkTable(t));
        EXPECT_TRUE(seen.insert(GetAdkTableIndex(TAdkTable(t))).second) << t;
    }
}

struct SortConstantCase {
    TAdkSortOrder order;
    int constant;
};
constexpr SortConstantCase kSortConstants[] = {
    {asIngen, -1},
    {asKundnr, 0},
    {asProjektkod, 23},
    {asProjektnamn, 24},
    {asInventeringArtikelnr, 16},  // the article orders of the kit
    {asInventeringArtikelben, 17},
    {asInvetneringArtikelgrupp, 20},
    {asInventeringArtikellagervara, 91},
    {asManuellUtleverans, 99},
    {asManuellInleverans, 98},
    {asSpeditor, 100},
    {asKundEpost, 240},
    {static_cast<TAdkSortOrder>(250), -1},
};

TEST(AdkCatalogue, SortConstantsFollowTheKitsNumbering) {
    for (const auto& c : kSortConstants) EXPECT_EQ(GetAdkSortOrderIndex(c.order), c.constant) << c.order;
}

struct ValidOrderCase {
    const char* rule;
    TAdkTable table;
    TAdkSortOrder asked, valid;
    int keyField;
};
constexpr ValidOrderCase kValidOrderCases[] = {
    {"an order the table lacks gives its default", atOfferter, asKundnr, asOffertNr, 0},
    {"time stamps are allowed unless said otherwise", atInkopspriser, asTidstampel, asTidstampel, 10},
    {"no time-stamp order on verification series", atVerifikationsserier, asTidstampel, asVerifikationSerie,
     0},
    {"asKundnr keys by table: customers", atKunder, asKundnr, asKundnr, 0},
    {"asKundnr keys by table: agreements", atAvtal, asKundnr, asKundnr, 5},
    {"asIngen becomes the default", atArtiklar, asIngen, asArtikelnr, 0},
    {"a table without orders keeps asIngen", atOrderrader, asOrderNr, asIngen, 0},
    {"a stored ordinal past the enumeration", atKunder, static_cast<TAdkSortOrder>(250), asKundnr, 0},
    {"time stamp of a head", atOrder, asTidstampel, asTidstampel, 137},
    {"time stamp on a table without one", atKolli, asTidstampel, asTidstampel, -1},
    {"default of purchase prices", atInkopspriser, asIngen, asInkopspriserArtNrGrund, 0},
    {"free categories find by their code", atFriKategori3, asIngen, asMedlemmarFrikategori3, 0},
    {"members find by the category", atMedlemmar, asMedlemmarFrikategori3, asMedlemmarFrikategori3, 20},
    {"receipts belong to invoices", atFakturor, asKassakvittonr, asKassakvittonr, 121},
    {"an order of another table", atKunder, asArtikelnr, asKundnr, 0},
};

TEST(AdkCatalogue, SortOrdersAreMadeValidForTheirTable) {
    for (const auto& c : kValidOrderCases) {
        EXPECT_EQ(GetValidSortOrder(c.table, c.asked), c.valid) << c.rule;
        EXPECT_EQ(GetSortKeyField(c.table, c.asked), c.keyField) << c.rule;
    }
}

TEST(AdkCatalogue, EveryDefaultOrderIsValidAndEveryKeyFieldIsInsideItsTable) {
    for (int t = 1; t < kAdkTableCount; ++t) {
        auto table = TAdkTable(t);
        auto orders = GetValidSortOrders(table);
        if (orders.empty()) continue;
        EXPECT_EQ(GetValidSortOrder(table, asIngen), orders.front()) << AdkTableName(table);
        for (auto order : orders) {
            EXPECT_TRUE(IsValidSortOrder(table, order));
            for (int field : GetSortKeyFields(table, order))
                EXPECT_LE(field, GetMaxAdkFieldIndex(table))
                    << AdkTableName(table) << " " << AdkSortOrderName(order);
        }
    }
}

struct KeyFieldsCase {
    TAdkTable table;
    TAdkSortOrder order;
    std::vector<int> fields;
};

TEST(AdkCatalogue, CompoundKeysListEveryKeyField) {
    const KeyFieldsCase cases[] = {
        {atPrislistor, asPrislista, {0, 1}},
        {atArtikelbenamningar, asArtikelbenamningNr, {0, 1}},
        {atRabattavtalsrader, asRabattavtalsraderArtGrp, {0, 2}},
        {atRabattavtalsrader, asRabattavtalsraderArtNr, {0, 3}},
        {atForsaljningspriser, asForsaljningspriserInteGrundArtnr, {0, 1, 2}},
        {atInkopspriser, asInkopspriserLevNrStaffling, {0, 1, 2}},
        {atInkopspriser, asInkopspriserLevNrArtNr, {1, 0}},  // supplier and article, not the supplier alone
        {atKundinbetalningar, asKundInbetAvgift, {1, 25}},
        {atKontakter, asKontaktLevSign, {1, 4}},
        {atKontakter, asKontaktKundnr, {2, 3}},
        {atKunder, asKundNamn, {1}},
        {atAvtal, asKundnr, {5}},
        {atOrderrader, asIngen, {0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetSortKeyFields(c.table, c.order), c.fields) << AdkSortOrderName(c.order);
}

struct AvailabilityCase {
    const char* rule;
    TAdkTable table;
    TAdkProgram program;
    const char* productVersion;
    bool available;
};
constexpr AvailabilityCase kAvailability[] = {
    {"an unknown variant has nothing", atKunder, apUnknown, "21.0", false},
    {"customers everywhere", atKunder, apAdmin500, "21.0", true},
    {"no members in Admin2000", atMedlemmar, apAdmin2000, "21.0", false},
    {"no offers in Admin1000", atOfferter, apAdmin1000, "21.0", false},
    {"Admin500 lacks the Admin1000 tables too", atPaketartiklar, apAdmin500, "21.0", false},
    {"Admin500 lacks the Admin2000 tables too", atFriKategori1, apAdmin500, "21.0", false},
    {"no orders in Admin500", atOrder, apAdmin500, "21.0", false},
    {"associations have agreements", atAvtal, apForening, "21.0", true},
    {"associations have no orders", atOrder, apForening, "21.0", false},
    {"associations have members", atMedlemmar, apForening, "21.0", true},
    {"associations have no languages", atSprak, apForening, "21.0", false},
    {"agreements need 5.1", atAvtal, apForening, "5.0", false},
    {"agreements with 5.1", atAvtal, apAdmin2000, "5.1", true},
    {"vouchers need 5.0", atVerifikationer, apAdmin2000, "4.99", false},
    {"vouchers with 5.0", atVerifikationer, apAdmin2000, "5.0", true},
    {"booking history needs 5.1", atBokforingshistorik, apAdmin2000, "5.0.9", false},
    {"versions compare by number", atBokforingshistorik, apAdmin2000, "5.09", true},
    {"accruals need no version", atPeriodiseringar, apAdmin2000, "1.0", true},
};

TEST(AdkCatalogue, TablesExistByProgramVariantAndKitVersion) {
    for (const auto& c : kAvailability)
        EXPECT_EQ(AdkTableAvailableFor(c.table, c.program, c.productVersion), c.available) << c.rule;
}

TEST(AdkCatalogue, OptionalFieldsNeedTheirProgramSettings) {
    const TAdkProgramSettings none, barcode{piArtikelStreckkod}, reverse{piOmvandByggSkatt};
    struct Case {
        TAdkTable table;
        int field;
        TAdkProgramSettings settings;
        bool ok;
    } cases[] = {
        {atKunder, 78, none, false},      {atKunder, 78, reverse, true},     {atOrder, 119, barcode, false},
        {atFakturor, 119, reverse, true}, {atArtikelkonto, 12, none, false}, {atArtikelkonto, 14, none, true},
        {atArtiklar, 67, none, false},    {atArtiklar, 67, barcode, true},   {atKunder, 135, none, true},
        {atKunder, 136, reverse, false},  {atKunder, -1, reverse, false},    {atIngen, 0, barcode, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetAdkFieldOkToUse(c.table, c.field, c.settings), c.ok) << c.table << " " << c.field;
}

TEST(AdkCatalogue, ModulesSwitchTablesOffWithTheirMessage) {
    std::string message;
    EXPECT_TRUE(TableDisabledByAdminSettings({}, atSkattereduktionPaOrder, message));
    EXPECT_EQ(
        message,
        "Denna tabell \"Skattereduktion på order\" är inte tillgänglig när skattereduktion är inaktiverat i "
        "Visma Administration.");
    EXPECT_FALSE(TableDisabledByAdminSettings({amTaxReduction}, atSkattereduktion, message));
    EXPECT_EQ(message, "");
    EXPECT_TRUE(TableDisabledByAdminSettings({amTaxReduction}, atVerifikationsserier, message));
    EXPECT_EQ(
        message,
        "Denna tabell \"Verifikationsserier\" är inte tillgänglig när verifikationsserier är inaktiverat i "
        "Visma Administration.");
    EXPECT_FALSE(TableDisabledByAdminSettings({}, atKunder, message));
}

TEST(AdkCatalogue, TablesAreFoundByNameInAnyLetterCase) {
    TADkExt ext;
    ASSERT_EQ(ext.HashList.size(), size_t(kAdkTableCount));
    EXPECT_EQ(ext.getAdkTableForName("atkunder"), atKunder);
    EXPECT_EQ(ext.getAdkTableForName("ATKUNDER"), atKunder);
    EXPECT_EQ(ext.getAdkTableForName("atIngen"), atIngen);
    for (int t = 0; t < kAdkTableCount; ++t)
        EXPECT_EQ(ext.getAdkTableForName(AdkTableName(TAdkTable(t))), TAdkTable(t));
    EXPECT_EQ(test::MessageOf([&] { ext.getAdkTableForName("Kunder"); }), "No such table : Kunder");
}

TEST(AdkCatalogue, NamesKeepTheirStoredSpelling) {
    EXPECT_EQ(AdkSortOrderName(asInvetneringArtikelgrupp), "asInvetneringArtikelgrupp");
    EXPECT_EQ(AdkSortOrderName(atErReferensLev), "atErReferensLev");
    EXPECT_EQ(AdkSortOrderName(asKundEpost), "asKundEpost");
    EXPECT_EQ(AdkTableName(atInstallningar3), "atInstallningar3");
    EXPECT_EQ(GetAdkTableCaption(atLevRefPersoner), "Leverantörreferenspersoner");
}

TEST(AdkCatalogue, FixedFieldCaptions) {
    EXPECT_TRUE(HasFieldCaptions(atKunder));
    EXPECT_TRUE(HasFieldCaptions(atAvtal));
    EXPECT_FALSE(HasFieldCaptions(atRabattavtalsrader));
    EXPECT_EQ(GetFieldCaption(atKunder, 2), "Kortnamn");
    EXPECT_EQ(GetFieldCaption(atVerifikationsrader, 2), "Rad");
    EXPECT_EQ(GetFieldCaption(atKunder, 3), "");  // the kit's name is shown instead
}

}  // namespace
}  // namespace tv

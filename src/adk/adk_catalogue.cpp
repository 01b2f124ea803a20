#include "adk/adk_catalogue.h"

#include <algorithm>
#include <array>

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/format.h"
#include "platform/rtl/version_compare.h"

namespace tv {
namespace {

struct TableRow {
    std::string_view name;
    int kitTable;
    std::string_view caption;
    int maxField;
    TAdkTable rowsTable;
    int rowsField;
    int rowCountField;
};

constexpr TableRow kTables[kAdkTableCount] = {
    {"atIngen", -1, "", -1, atIngen, -1, -1},                                                         // 0
    {"atKunder", 0, "Kunder", 135, atIngen, -1, -1},                                                  // 1
    {"atArtiklar", 1, "Artiklar", 77, atIngen, -1, -1},                                               // 2
    {"atOfferter", 4, "Offerter", 149, atOffertrader, 103, 104},                                      // 3
    {"atOffertrader", 5, "Offertrader", 51, atIngen, -1, -1},                                         // 4
    {"atOrder", 2, "Order", 149, atOrderrader, 103, 104},                                             // 5
    {"atOrderrader", 3, "Orderrader", 51, atIngen, -1, -1},                                           // 6
    {"atFakturor", 6, "Fakturor", 149, atFakturarader, 103, 104},                                     // 7
    {"atFakturarader", 7, "Fakturarader", 51, atIngen, -1, -1},                                       // 8
    {"atLevFakturor", 8, "Leverantörsfakturor", 46, atLevFakturarader, 36, 37},                       // 9
    {"atLevFakturarader", 9, "Leverantörsfakturarader", 51, atIngen, -1, -1},                         // 10
    {"atProjekt", 10, "Projekt", 22, atIngen, -1, -1},                                                // 11
    {"atKonto", 11, "Konto", 24, atIngen, -1, -1},                                                    // 12
    {"atLeverantorer", 12, "Leverantörer", 67, atIngen, -1, -1},                                      // 13
    {"atLeveransvillkor", 13, "Leveransvillkor", 2, atIngen, -1, -1},                                 // 14
    {"atLeveranssatt", 14, "Leveranssätt", 2, atIngen, -1, -1},                                       // 15
    {"atBetalningsvillkor", 15, "Betalningsvillkor", 3, atIngen, -1, -1},                             // 16
    {"atSprak", 16, "Språk", 3, atIngen, -1, -1},                                                     // 17
    {"atValutor", 17, "Valutor", 6, atIngen, -1, -1},                                                 // 18
    {"atKundkategorier", 18, "Kundkategorier", 3, atIngen, -1, -1},                                   // 19
    {"atDistrikt", 19, "Distrikt", 2, atIngen, -1, -1},                                               // 20
    {"atSaljare", 20, "Säljare", 5, atIngen, -1, -1},                                                 // 21
    {"atRabattavtal", 21, "Rabattavtal", 5, atIngen, -1, -1},                                         // 22
    {"atRabattavtalsrader", 34, "Rabattavtalsrader", 6, atIngen, -1, -1},                             // 23
    {"atArtikelgrupper", 22, "Artikelgrupper", 2, atIngen, -1, -1},                                   // 24
    {"atArtikelkonto", 23, "Artikelkonto", 16, atIngen, -1, -1},                                      // 25
    {"atEnheter", 24, "Enheter", 6, atIngen, -1, -1},                                                 // 26
    {"atResultatenheter", 25, "Resultatenheter", 3, atIngen, -1, -1},                                 // 27
    {"atPrislistor", 26, "Prislistor", 15, atIngen, -1, -1},                                          // 28
    {"atInstallningar", 27, "Inställningar", 80, atIngen, -1, -1},                                    // 29
    {"atInventering", 28, "Inventering", 13, atIngen, -1, -1},                                        // 30
    {"atManuellinleverans", 29, "Manuellinleverans", 17, atIngen, -1, -1},                            // 31
    {"atManuellutleverans", 30, "Manuellutleverans", 15, atIngen, -1, -1},                            // 32
    {"atSpeditor", 31, "Speditör", 3, atIngen, -1, -1},                                               // 33
    {"atBestallningar", 32, "Beställningar", 48, atBestallningrader, 39, 40},                         // 34
    {"atBestallningrader", 33, "Beställningsrader", 51, atIngen, -1, -1},                             // 35
    {"atInkommandeFoljesedel", 51, "Inkommandeföljesedel", 23, atInkommandeFoljesedelrader, 14, 15},  // 36
    {"atInkommandeFoljesedelrader", 52, "Inkommandeföljesedelsrader", 51, atIngen, -1, -1},           // 37
    {"atKolli", 53, "Kolli", 14, atKollirader, 13, 14},                                               // 38
    {"atKollirader", 54, "Kollirader", 7, atIngen, -1, -1},                                           // 39
    {"atLeveransaviseringskolli", 55, "Leveransaviseringskolli", 13, atLeveransaviseringskollirader, 12,
     13},                                                                                        // 40
    {"atLeveransaviseringskollirader", 56, "Leveransaviseringskollirader", 6, atIngen, -1, -1},  // 41
    {"atForsaljningspriser", 37, "Försäljningspriser", 7, atIngen, -1, -1},                      // 42
    {"atInkopspriser", 38, "Inköpspriser", 10, atIngen, -1, -1},                                 // 43
    {"atPaketartiklar", 35, "Paketartiklar", 12, atIngen, -1, -1},                               // 44
    {"atBetalsatt", 39, "Betalsätt", 3, atIngen, -1, -1},                                        // 45
    {"atFriKategori1", 40, "Fri kategori 1", 2, atIngen, -1, -1},                                // 46
    {"atFriKategori2", 41, "Fri kategori 2", 2, atIngen, -1, -1},                                // 47
    {"atFriKategori3", 42, "Fri kategori 3", 2, atIngen, -1, -1},                                // 48
    {"atFriKategori4", 43, "Fri kategori 4", 2, atIngen, -1, -1},                                // 49
    {"atFriKategori5", 44, "Fri kategori 5", 2, atIngen, -1, -1},                                // 50
    {"atFriKategori6", 45, "Fri kategori 6", 2, atIngen, -1, -1},                                // 51
    {"atFriKategori7", 46, "Fri kategori 7", 2, atIngen, -1, -1},                                // 52
    {"atFriKategori8", 47, "Fri kategori 8", 2, atIngen, -1, -1},                                // 53
    {"atFriKategori9", 48, "Fri kategori 9", 2, atIngen, -1, -1},                                // 54
    {"atFriKategori10", 49, "Fri kategori 10", 2, atIngen, -1, -1},                              // 55
    {"atMedlemmar", 50, "Medlemmar", 44, atIngen, -1, -1},                                       // 56
    {"atArtikelbenamningar", 36, "Artikelbenämningar", 4, atIngen, -1, -1},                      // 57
    {"atLeveransadresser", 57, "Leveransadresser", 15, atIngen, -1, -1},                         // 58
    {"atInstallningar2", 58, "Inställningar 2", 91, atIngen, -1, -1},                            // 59
    {"atKundRefPersoner", 59, "Kundreferenspersoner", 3, atIngen, -1, -1},                       // 60
    {"atLevRefPersoner", 60, "Leverantörreferenspersoner", 3, atIngen, -1, -1},                  // 61
    {"atLandskoder", 61, "Landskoder", 3, atIngen, -1, -1},                                      // 62
    {"atKundinbetalningar", 62, "Kundinbetalningar", 38, atIngen, -1, -1},                       // 63
    {"atBortskrivningskoder", 63, "Bortskrivningar", 3, atIngen, -1, -1},                        // 64
    {"atLevinbetalningar", 64, "Leverantörinbetalningar", 48, atIngen, -1, -1},                  // 65
    {"atVerifikationer", 65, "Verifikationer", 19, atVerifikationsrader, 14, 15},                // 66
    {"atVerifikationsrader", 66, "Verifikationsrader", 15, atIngen, -1, -1},                     // 67
    {"atBokforingsar", 67, "Bokföringsår", 6, atIngen, -1, -1},                                  // 68
    {"atRabattkoder", 68, "Rabattkoder", 3, atIngen, -1, -1},                                    // 69
    {"atKontakter", 69, "Kontakter", 23, atIngen, -1, -1},                                       // 70
    {"atKontakttitlar", 70, "Kontakttitlar", 2, atIngen, -1, -1},                                // 71
    {"atKontaktgrupper", 71, "Kontaktgrupper", 2, atIngen, -1, -1},                              // 72
    {"atKontaktkopplingar", 72, "Kontaktkopplingar", 3, atIngen, -1, -1},                        // 73
    {"atSkattereduktion", 73, "Skattereduktion", 10, atIngen, -1, -1},                           // 74
    {"atAvtal", 74, "Avtal", 119, atAvtalrader, 82, 83},                                         // 75
    {"atAvtalrader", 75, "Avtalrader", 51, atIngen, -1, -1},                                     // 76
    {"atSkattereduktionPaOrder", 76, "Skattereduktion på order", 10, atIngen, -1, -1},           // 77
    {"atSkattereduktionPaAvtal", 77, "Skattereduktion på avtal", 10, atIngen, -1, -1},           // 78
    {"atVerifikationsserier", 78, "Verifikationsserier", 4, atIngen, -1, -1},                    // 79
    {"atBokforingshistorik", 79, "Bokföringshistorik", 6, atIngen, -1, -1},                      // 80
    {"atPeriodiseringar", 80, "Periodiseringar", 22, atIngen, -1, -1},                           // 81
    {"atKundartiklar", 81, "Kundartiklar", 3, atIngen, -1, -1},                                  // 82
    {"atKoppladeUnderlag", 82, "Kopplade underlag", 7, atIngen, -1, -1},                         // 83
    {"atHusarbetstyper", 83, "Husarbetstyper", 5, atIngen, -1, -1},                              // 84
    {"atInstallningar3", 84, "Inställningar3", 0, atIngen, -1, -1},                              // 85
};

constexpr int kByTable = -2;  // the key field depends on the table (asKundnr, asTidstampel)

struct SortOrderRow {
    std::string_view name;
    int keyField;
};

// clang-format off
constexpr SortOrderRow kSortOrders[kAdkSortOrderCount] = {
    {"asIngen", 0}, {"asKundnr", kByTable}, {"asKundNamn", 1}, {"asLevNr", 0}, {"asLevNamn", 1},  // 0
    {"asKundKortnamn", 2}, {"asKundPostnummer", 6}, {"asKundSorteringsbegrepp", 58}, {"asOffertNr", 0}, {"asOffertDatum", 8},  // 5
    {"asOrderNr", 0}, {"asOrderDatum", 8}, {"asLeveransDatum", 9}, {"asFakturaNr", 0}, {"asFakturaDatum", 8},  // 10
    {"asLevFakturaNr", 0}, {"asLevFakturaForfallodatum", 9}, {"asArtikelnr", 0}, {"asArtikelnamn", 1}, {"asArtikelKortnamn", 3},  // 15
    {"asArtikelSorteringsbegrepp", 8}, {"asArtikelgrupp", 4}, {"asKontonr", 1}, {"asKontoText", 2}, {"asProjektkod", 0},  // 20
    {"asProjektnamn", 1}, {"asLevKortnamn", 2}, {"asLevSorteringsbegrepp", 31}, {"asLevTelefon", 9}, {"asLevvillkorKod", 0},  // 25
    {"asLevsattKod", 0}, {"asBetvillkKod", 0}, {"asSprakKod", 0}, {"asSprakNamn", 1}, {"asValutaKod", 0},  // 30
    {"asKundkategoriKod", 0}, {"asDistriktKod", 0}, {"asSaljareKod", 0}, {"asRabattAvtalnr", 0}, {"asRabattAvtaltext", 1},  // 35
    {"asArtikelgruppKod", 0}, {"asArtikelkontoKod", 0}, {"asEnhetskod", 0}, {"asResultatenhet", 1}, {"asPrislista", 0},  // 40
    {"asOffertEjOrderKundnr", 14}, {"asOffertEjUtskrivenOffertnr", 0}, {"asOffertEjUtskrivenDatum", 8}, {"asOffertEjUtskrivenKundnr", 14}, {"asOffertEjUtskrivenKundnamn", 15},  // 45
    {"asOrderEjFakturaKundnr", 14}, {"asOrderOmvandOrdernr", 0}, {"asOrderEjUtskrivenOrdernr", 0}, {"asOrderEjUtskrivenDatum", 8}, {"asOrderEjUtkrivenKundnr", 14},  // 50
    {"asOrderEjUtkrivenKundnamn", 15}, {"asOrderEjUtkrivenLeveransdatum", 9}, {"asOrderIngenFoljesedelOrdernr", 0}, {"asOrderIngenFoljesedelDatum", 8}, {"asOrderIngenFoljesedelKundnr", 14},  // 55
    {"asOrderIngenFoljesedelKundnamn", 15}, {"asOrderIngenFoljesedelLeveransdatum", 9}, {"asFakturaJournalfordForfallodatum", 9}, {"asFakturaJournalfordKundnr", 14}, {"asFakturaJournalfordKundnamn", 15},  // 60
    {"asFakturaJournalfordFakturanr", 0}, {"asFakturaObetaldaKundnr", 14}, {"asFakturaObetaldaDatum", 8}, {"asFakturaBetaldaKundnr", 14}, {"asFakturaManuellFakturanr", 0},  // 65
    {"asFakturaEjUtskrivenFakturanr", 0}, {"asFakturaEjUtskrivenDatum", 8}, {"asFakturaEjUtskrivenKundnr", 14}, {"asFakturaEjUtskrivenKundnamn", 15}, {"asFakturaEjRanteFakturanr", 0},  // 70
    {"asFakturaEjRanteKundnr", 14}, {"asFakturaAvtalFakturanr", 0}, {"asLevFakturaObetaldaFakturanr", 6}, {"asLevFakturaObetaldaLevnr", 1}, {"asLevFakturaObetaldaLevnamn", 2},  // 75
    {"asLevFakturaObetaldaForfallodatum", 9}, {"asLevFakturaBetaldaLevnr", 1}, {"asLevFakturaUtlandsbetalningFakturanr", 6}, {"asLevFakturaUtlandsbetalningLevnr", 1}, {"asLevFakturaUtlandsbetalningLevnamn", 2},  // 80
    {"asLevFakturaUtlandsbetalningForfallodatum", 9}, {"asLevFakturaInrikesFakturanr", 6}, {"asLevFakturaInrikesLevnr", 1}, {"asLevFakturaInrikesLevnamn", 2}, {"asLevFakturaInrikesForfallodatum", 9},  // 85
    {"asLevFakturaEjJournalfordFakturanr", 6}, {"asArtikelSaknas", 0}, {"asArtikelLagerplats", 16}, {"asKontoAkrivaKontonr", 1}, {"asKontoAktivaKontonamn", 2},  // 90
    {"asProjektEjKlaraProjektkod", 0}, {"asProjektEjKlaraNamn", 1}, {"asProjektKlaraProjektkod", 0}, {"asProjektKlaraNamn", 1}, {"asInventeringArtikelnr", 0},  // 95
    {"asInventeringArtikelben", 1}, {"asInvetneringArtikelgrupp", 2}, {"asInventeringArtikellagervara", 3}, {"asManuellUtleverans", 0}, {"asManuellInleverans", 0},  // 100
    {"asSpeditor", 0}, {"asBestallningNr", 0}, {"asBestallningLevrantorsNr", 0}, {"asBestallningLevNamn", 2}, {"asBestallningEjUtskrivenBestNr", 0},  // 105
    {"asBestallningEjUtskrivenLevrantorsNr", 1}, {"asBestallningEjUtskrivenLevDatum", 29}, {"asBestallningEjLevereradBestNr", 0}, {"asBestallningEjLevereradLevNr", 1}, {"asBestallningEjLevereradLevNamn", 2},  // 110
    {"asBestallningEjLevereradLevrantorsLevDatum", 29}, {"asRabattavtalsraderArtGrp", 0}, {"asRabattavtalsraderArtNr", 0}, {"asPaketArtiklarRadNrPaket", 0}, {"asPaketArtiklarArtnrPaket", 0},  // 115
    {"asPaketArtiklarArtnr", 1}, {"asArtikelbenamningNr", 1}, {"asForsaljningspriserArtNr", 1}, {"asForsaljningspriserGrundArtNr", 1}, {"asForsaljningspriserInteGrundArtnr", 1},  // 120
    {"asForsaljningspriserLista", 0}, {"asForsaljningspriserGrundlista", 0}, {"asForsaljningspriserEjGrundlista", 0}, {"asInkopspriserArtNrGrund", 0}, {"asInkopspriserArtNrStaffling", 0},  // 125
    {"asInkopspriserArtnrAlla", 0}, {"asInkopspriserLevNrGrund", 1}, {"asInkopspriserLevNrStaffling", 1}, {"asInkopspriserLevNrArtNr", 1}, {"asBetalsatt", 0},  // 130
    {"asMedlemmarNr", 0}, {"asMedlemmarFornamn", 1}, {"asMedlemmarEfternamn", 2}, {"asMedlemmarPostnr", 6}, {"asMedlemmarPersonnr", 11},  // 135
    {"asMedlemmarKategori", 17}, {"asMedlemmarFrikategori1", 18}, {"asMedlemmarFrikategori2", 19}, {"asMedlemmarFrikategori3", 20}, {"asMedlemmarFrikategori4", 21},  // 140
    {"asMedlemmarFrikategori5", 22}, {"asMedlemmarFrikategori6", 23}, {"asMedlemmarFrikategori7", 24}, {"asMedlemmarFrikategori8", 25}, {"asMedlemmarFrikategori9", 26},  // 145
    {"asMedlemmarFrikategori10", 27}, {"asInkommandefoljesedelNr", 0}, {"asInkommandefoljesedelLevNr", 1}, {"asInkommandefoljesedelLevNamn", 2}, {"asInkommandefoljesedelEjLevereradNr", 0},  // 150
    {"asInkommandefoljesedelEjLevereradLevNr", 0}, {"asInkommandefoljesedelEjLevereradLevNamn", 2}, {"asKolliOrderNr", 11}, {"asLevAviKolliInkommandefoljesedelNr", 10}, {"asLevAdressKundNr", 0},  // 155
    {"asArtikelWebShop", 71}, {"asArtikelStreckkod", 67}, {"asEnhetSprakkod", 2}, {"asErReferensKunder", 0}, {"atErReferensLev", 0},  // 160
    {"asLandskod", 0}, {"asKundInbetFaktura", 1}, {"asKundInbetBortskrivningar", 0}, {"asKundInbetAvgift", 0}, {"asKundInbetFakturaBetDatum", 2},  // 165
    {"asKundInbetEjJournalforda", 0}, {"asKundInbetBortskrivningsValuta", 0}, {"asKundInbetFakturarader", 0}, {"asBortskrivningskod", 0}, {"asLevInbetAlla", 0},  // 170
    {"asLevInbetFaktororAlla", 5}, {"asLevInbetObetFakturor", 5}, {"asLevInbetVantandeFakturor", 5}, {"asLevInbetBetaldaFakturor", 5}, {"asKassakvittonr", 121},  // 175
    {"asKassakvittoDatum", 118}, {"asKassakvittoKundnr", 14}, {"asKassakvittoKundnamn", 15}, {"asOrderEjFakturerade", 0}, {"asVerificationNr", 1},  // 180
    {"asVerificationTransaktionsdatum", 2}, {"asBokforingsar", 0}, {"asBokforingsarStart", 1}, {"asRabattkod", 0}, {"asKontaktID", 0},  // 185
    {"asKontakt", 2}, {"asKontaktforetag", 10}, {"asKontakttitel", 5}, {"asKontaktKund", 2}, {"asKontaktKundforetag", 10},  // 190
    {"asKontaktKundtitel", 5}, {"asKontaktKundnr", 3}, {"asKontaktLeverantor", 2}, {"asKontaktLeverantorforetag", 10}, {"asKontaktLeverantortitel", 5},  // 195
    {"asKontaktLevnr", 4}, {"asKontaktAnnat", 2}, {"asKontaktAnnatForetag", 10}, {"asKontaktAnnanTitel", 5}, {"asKontaktReklamSMS", 2},  // 200
    {"asKontaktReklamEpost", 2}, {"asKontaktKundSign", 3}, {"asKontaktLevSign", 4}, {"asKontaktAnnatSign", 1}, {"asKontakttitelkod", 0},  // 205
    {"asKontakttitelnamn", 1}, {"asKontaktgruppKod", 0}, {"asKontaktgruppNamn", 1}, {"asKoppladeKontakterOchKontaktgrupper", 0}, {"asKoppladeKontakterOchKontaktgrupperGruppID", 1},  // 210
    {"asSkattereduktionFakturanr", 0}, {"asSkattereduktionFakturanrVerkstallda", 0}, {"asSkattereduktionFakturanrGodkanda", 0}, {"asSkattereduktionPersonnr", 1}, {"asSkattereduktionPersonnrVerkstallda", 1},  // 215
    {"asSkattereduktionPersonnrGodkanda", 1}, {"asSkattereduktionPIDFaktura", 0}, {"asOrderEjLevererade", 0}, {"asOrderEjLevereradeKundnr", 14}, {"asAvtalnr", 0},  // 220
    {"asTidstampel", kByTable}, {"asFriKategori", 0}, {"asVerifikationSerie", 0}, {"asBokhistNr", 0}, {"asBokhistDatum", 1},  // 225
    {"asBokhistText", 4}, {"asSkattereduktionOrdernr", 0}, {"asSkattereduktionOrderPersonnr", 1}, {"asSkattereduktionOrderPersonnrOrder", 0}, {"asSkattereduktionAvtalnr", 0},  // 230
    {"asSkattereduktionAvtalPersonnr", 1}, {"asSkattereduktionAvtalPersonnrAvtal", 0}, {"asPeriodiseringarKonto", 2}, {"asKundinbetalningarDatum", 2}, {"asKundartiklarArtnrKundnr", 0},  // 235
    {"asKundartiklarKundnrArtnr", 1}, {"asKundartiklarKundnrKundartnr", 1}, {"asKopplUnderlagLevFakt", 2}, {"asKopplUnderlagVerifikation", 5}, {"asHusarbetstyperId", 0},  // 240
    {"asKundEpost", 62},  // 245
};
// clang-format on

// asKundnr's key field on the tables that allow it.
struct TableField {
    TAdkTable table;
    int field;
};
constexpr TableField kCustomerNumberKeys[] = {
    {atKunder, 0}, {atOfferter, 14}, {atOrder, 14}, {atFakturor, 14}, {atAvtal, 5},
};

// The time-stamp field of each table, the key of asTidstampel; other tables have none.
constexpr TableField kTimestampKeys[] = {
    {atKunder, 94},
    {atArtiklar, 75},
    {atOfferter, 137},
    {atOrder, 137},
    {atFakturor, 137},
    {atLevFakturor, 43},
    {atProjekt, 21},
    {atKonto, 22},
    {atLeverantorer, 54},
    {atLeveransvillkor, 2},
    {atLeveranssatt, 2},
    {atBetalningsvillkor, 3},
    {atSprak, 3},
    {atValutor, 6},
    {atKundkategorier, 3},
    {atDistrikt, 2},
    {atSaljare, 5},
    {atRabattavtal, 3},
    {atArtikelgrupper, 2},
    {atArtikelkonto, 16},
    {atEnheter, 6},
    {atResultatenheter, 3},
    {atPrislistor, 15},
    {atManuellinleverans, 14},
    {atManuellutleverans, 12},
    {atSpeditor, 3},
    {atBestallningar, 44},
    {atInkommandeFoljesedel, 22},
    {atForsaljningspriser, 7},
    {atInkopspriser, 10},
    {atPaketartiklar, 12},
    {atBetalsatt, 3},
    {atMedlemmar, 44},
    {atArtikelbenamningar, 4},
    {atLeveransadresser, 14},
    {atKundRefPersoner, 3},
    {atLevRefPersoner, 3},
    {atLandskoder, 3},
    {atKundinbetalningar, 38},
    {atBortskrivningskoder, 3},
    {atLevinbetalningar, 48},
    {atVerifikationer, 19},
    {atBokforingsar, 3},
    {atRabattkoder, 3},
    {atKontakter, 23},
    {atKontakttitlar, 2},
    {atKontaktgrupper, 2},
    {atKontaktkopplingar, 3},
    {atSkattereduktion, 9},
    {atAvtal, 112},
};

// Sort orders with more than one key field; a record written back carries all of them.
struct CompoundKey {
    TAdkSortOrder first, last;  // an inclusive range of orders sharing the key
    std::array<int, 3> fields;
    int count;
};
constexpr CompoundKey kCompoundKeys[] = {
    {asPrislista, asPrislista, {0, 1}, 2},
    {asArtikelbenamningNr, asArtikelbenamningNr, {0, 1}, 2},
    {asForsaljningspriserArtNr, asForsaljningspriserGrundArtNr, {0, 1}, 2},
    {asForsaljningspriserGrundlista, asForsaljningspriserGrundlista, {0, 1}, 2},
    {asInkopspriserArtNrGrund, asInkopspriserArtNrGrund, {0, 1}, 2},
    {asInkopspriserArtnrAlla, asInkopspriserLevNrGrund, {0, 1}, 2},
    {asRabattkod, asRabattkod, {0, 1}, 2},
    {asKoppladeKontakterOchKontaktgrupper, asKoppladeKontakterOchKontaktgrupperGruppID, {0, 1}, 2},
    {asSkattereduktionPIDFaktura, asSkattereduktionPIDFaktura, {0, 1}, 2},
    {asSkattereduktionOrderPersonnrOrder, asSkattereduktionOrderPersonnrOrder, {0, 1}, 2},
    {asSkattereduktionAvtalPersonnrAvtal, asSkattereduktionAvtalPersonnrAvtal, {0, 1}, 2},
    {asRabattavtalsraderArtGrp, asRabattavtalsraderArtGrp, {0, 2}, 2},
    {asRabattavtalsraderArtNr, asRabattavtalsraderArtNr, {0, 3}, 2},
    {asForsaljningspriserInteGrundArtnr, asForsaljningspriserInteGrundArtnr, {0, 1, 2}, 3},
    {asForsaljningspriserEjGrundlista, asForsaljningspriserEjGrundlista, {0, 1, 2}, 3},
    {asInkopspriserArtNrStaffling, asInkopspriserArtNrStaffling, {0, 1, 2}, 3},
    {asInkopspriserLevNrStaffling, asInkopspriserLevNrStaffling, {0, 1, 2}, 3},
    {asKundInbetFaktura, asKundInbetFakturarader, {1, 25}, 2},
    {asKontaktKundnr, asKontaktKundnr, {2, 3}, 2},
    {asKontaktLevnr, asKontaktLevnr, {2, 4}, 2},
    {asKontaktKundSign, asKontaktKundSign, {1, 3}, 2},
    {asKontaktLevSign, asKontaktLevSign, {1, 4}, 2},
    // Supplier and article, as the order's name says: by the supplier alone a record written back
    // under this order would be found as the supplier's first price, and the change would land there.
    {asInkopspriserLevNrArtNr, asInkopspriserLevNrArtNr, {1, 0}, 2},
};

// The sort orders each table allows, as inclusive ranges of ordinals; the first entry of a table is
// its default order. Tables listed in kNoTimestampOrder do not also allow asTidstampel.
struct ValidOrders {
    TAdkTable table;
    TAdkSortOrder first, last;
};
constexpr ValidOrders kValidOrders[] = {
    {atKunder, asKundnr, asKundnr},
    {atKunder, asKundNamn, asKundNamn},
    {atKunder, asKundKortnamn, asKundSorteringsbegrepp},
    {atKunder, asKundEpost, asKundEpost},
    {atArtiklar, asArtikelnr, asArtikelnr},
    {atArtiklar, asArtikelnamn, asArtikelgrupp},
    {atArtiklar, asArtikelSaknas, asArtikelLagerplats},
    {atArtiklar, asArtikelWebShop, asArtikelStreckkod},
    {atOfferter, asOffertNr, asOffertDatum},
    {atOfferter, asOffertEjOrderKundnr, asOffertEjUtskrivenKundnamn},
    {atOrder, asOrderNr, asLeveransDatum},
    {atOrder, asOrderEjFakturaKundnr, asOrderIngenFoljesedelLeveransdatum},
    {atOrder, asOrderEjFakturerade, asOrderEjFakturerade},
    {atOrder, asOrderEjLevererade, asOrderEjLevereradeKundnr},
    {atFakturor, asFakturaNr, asFakturaDatum},
    {atFakturor, asFakturaJournalfordForfallodatum, asFakturaAvtalFakturanr},
    {atFakturor, asKassakvittonr, asKassakvittoKundnamn},
    {atLevFakturor, asLevFakturaNr, asLevFakturaForfallodatum},
    {atLevFakturor, asLevFakturaObetaldaFakturanr, asLevFakturaEjJournalfordFakturanr},
    {atProjekt, asProjektkod, asProjektnamn},
    {atProjekt, asProjektEjKlaraProjektkod, asProjektKlaraNamn},
    {atKonto, asKontonr, asKontoText},
    {atKonto, asKontoAkrivaKontonr, asKontoAktivaKontonamn},
    {atLeverantorer, asLevNr, asLevNr},
    {atLeverantorer, asLevNamn, asLevNamn},
    {atLeverantorer, asLevKortnamn, asLevTelefon},
    {atSprak, asSprakKod, asSprakNamn},
    {atRabattavtal, asRabattAvtalnr, asRabattAvtaltext},
    {atRabattavtalsrader, asRabattavtalsraderArtNr, asRabattavtalsraderArtNr},
    {atRabattavtalsrader, asRabattavtalsraderArtGrp, asRabattavtalsraderArtGrp},
    {atEnheter, asEnhetskod, asEnhetskod},
    {atEnheter, asEnhetSprakkod, asEnhetSprakkod},
    {atLeveransvillkor, asLevvillkorKod, asLevvillkorKod},
    {atLeveranssatt, asLevsattKod, asLevsattKod},
    {atBetalningsvillkor, asBetvillkKod, asBetvillkKod},
    {atValutor, asValutaKod, asValutaKod},
    {atKundkategorier, asKundkategoriKod, asKundkategoriKod},
    {atDistrikt, asDistriktKod, asDistriktKod},
    {atSaljare, asSaljareKod, asSaljareKod},
    {atArtikelgrupper, asArtikelgruppKod, asArtikelgruppKod},
    {atArtikelkonto, asArtikelkontoKod, asArtikelkontoKod},
    {atResultatenheter, asResultatenhet, asResultatenhet},
    {atPrislistor, asPrislista, asPrislista},
    {atManuellinleverans, asManuellInleverans, asManuellInleverans},
    {atManuellutleverans, asManuellUtleverans, asManuellUtleverans},
    {atKolli, asKolliOrderNr, asKolliOrderNr},
    {atLeveransaviseringskolli, asLevAviKolliInkommandefoljesedelNr, asLevAviKolliInkommandefoljesedelNr},
    {atBetalsatt, asBetalsatt, asBetalsatt},
    {atFriKategori1, asMedlemmarFrikategori1, asMedlemmarFrikategori1},
    {atFriKategori2, asMedlemmarFrikategori2, asMedlemmarFrikategori2},
    {atFriKategori3, asMedlemmarFrikategori3, asMedlemmarFrikategori3},
    {atFriKategori4, asMedlemmarFrikategori4, asMedlemmarFrikategori4},
    {atFriKategori5, asMedlemmarFrikategori5, asMedlemmarFrikategori5},
    {atFriKategori6, asMedlemmarFrikategori6, asMedlemmarFrikategori6},
    {atFriKategori7, asMedlemmarFrikategori7, asMedlemmarFrikategori7},
    {atFriKategori8, asMedlemmarFrikategori8, asMedlemmarFrikategori8},
    {atFriKategori9, asMedlemmarFrikategori9, asMedlemmarFrikategori9},
    {atFriKategori10, asMedlemmarFrikategori10, asMedlemmarFrikategori10},
    {atArtikelbenamningar, asArtikelbenamningNr, asArtikelbenamningNr},
    {atLeveransadresser, asLevAdressKundNr, asLevAdressKundNr},
    {atKundRefPersoner, asErReferensKunder, asErReferensKunder},
    {atLevRefPersoner, atErReferensLev, atErReferensLev},
    {atLandskoder, asLandskod, asLandskod},
    {atBortskrivningskoder, asBortskrivningskod, asBortskrivningskod},
    {atRabattkoder, asRabattkod, asRabattkod},
    {atInventering, asInventeringArtikelnr, asInventeringArtikellagervara},
    {atBestallningar, asBestallningNr, asBestallningNr},
    {atBestallningar, asBestallningLevrantorsNr, asBestallningEjLevereradLevrantorsLevDatum},
    {atInkommandeFoljesedel, asInkommandefoljesedelNr, asInkommandefoljesedelEjLevereradLevNamn},
    {atForsaljningspriser, asForsaljningspriserArtNr, asForsaljningspriserEjGrundlista},
    {atInkopspriser, asInkopspriserArtNrGrund, asInkopspriserLevNrArtNr},
    {atPaketartiklar, asPaketArtiklarRadNrPaket, asPaketArtiklarArtnr},
    {atMedlemmar, asMedlemmarNr, asMedlemmarFrikategori10},
    {atKundinbetalningar, asKundInbetFaktura, asKundInbetFakturarader},
    {atKundinbetalningar, asKundinbetalningarDatum, asKundinbetalningarDatum},
    {atLevinbetalningar, asLevInbetAlla, asLevInbetBetaldaFakturor},
    {atVerifikationer, asVerificationNr, asVerificationTransaktionsdatum},
    {atBokforingsar, asBokforingsar, asBokforingsarStart},
    {atKontakter, asKontaktID, asKontaktAnnatSign},
    {atKontakttitlar, asKontakttitelkod, asKontakttitelnamn},
    {atKontaktgrupper, asKontaktgruppKod, asKontaktgruppNamn},
    {atKontaktkopplingar, asKoppladeKontakterOchKontaktgrupper, asKoppladeKontakterOchKontaktgrupperGruppID},
    {atSkattereduktion, asSkattereduktionFakturanr, asSkattereduktionPIDFaktura},
    {atAvtal, asAvtalnr, asAvtalnr},
    {atAvtal, asKundnr, asKundnr},
    {atSkattereduktionPaOrder, asSkattereduktionOrdernr, asSkattereduktionOrderPersonnrOrder},
    {atSkattereduktionPaAvtal, asSkattereduktionAvtalnr, asSkattereduktionAvtalPersonnrAvtal},
    {atVerifikationsserier, asVerifikationSerie, asVerifikationSerie},
    {atBokforingshistorik, asBokhistNr, asBokhistText},
    {atPeriodiseringar, asPeriodiseringarKonto, asPeriodiseringarKonto},
    {atKundartiklar, asKundartiklarArtnrKundnr, asKundartiklarKundnrKundartnr},
    {atKoppladeUnderlag, asKopplUnderlagLevFakt, asKopplUnderlagVerifikation},
    {atHusarbetstyper, asHusarbetstyperId, asHusarbetstyperId},
};
constexpr TAdkTable kNoTimestampOrder[] = {
    atSkattereduktionPaOrder, atSkattereduktionPaAvtal, atVerifikationsserier, atBokforingshistorik,
    atPeriodiseringar,        atKundartiklar,           atKoppladeUnderlag,    atHusarbetstyper,
};

// Tables each program variant lacks, in addition to those of the variants listed before it.
constexpr TAdkTable kNotInAdmin2000[] = {
    atFriKategori1, atFriKategori2, atFriKategori3, atFriKategori4,  atFriKategori5, atFriKategori6,
    atFriKategori7, atFriKategori8, atFriKategori9, atFriKategori10, atMedlemmar,
};
constexpr TAdkTable kNotInAdmin1000[] = {
    atOfferter,
    atOffertrader,
    atBestallningar,
    atBestallningrader,
    atLeveransaviseringskolli,
    atLeveransaviseringskollirader,
    atPaketartiklar,
};
constexpr TAdkTable kNotInAdmin500[] = {
    atOrder,
    atOrderrader,
    atProjekt,
    atDistrikt,
    atSaljare,
    atInventering,
    atManuellinleverans,
    atManuellutleverans,
    atInkommandeFoljesedel,
    atInkommandeFoljesedelrader,
    atKolli,
    atKollirader,
    atInkopspriser,
    atAvtal,
    atAvtalrader,
    atSkattereduktionPaOrder,
    atSkattereduktionPaAvtal,
};
// The association variant lacks the tables of kNotInAdmin1000 and kNotInAdmin500 except the
// agreements, and these; it has the free categories and the members.
constexpr TAdkTable kNotInForening[] = {
    atSprak,         atValutor,        atSpeditor,          atArtikelbenamningar,
    atKontakttitlar, atKontaktgrupper, atKontaktkopplingar, atSkattereduktion,
};

// Display labels of the fields whose labels are fixed; every other field of a table with captions
// shows the kit's field name.
struct FieldCaption {
    TAdkTable table;
    int field;
    std::string_view caption;
};
constexpr FieldCaption kFieldCaptions[] = {
    {atKunder, 0, "Kundnr"},
    {atKunder, 1, "Namn"},
    {atKunder, 2, "Kortnamn"},
    {atVerifikationer, 0, "År"},
    {atVerifikationer, 1, "Vernr"},
    {atVerifikationer, 2, "Trans.datum"},
    {atVerifikationer, 3, "Reg.datum"},
    {atVerifikationsrader, 0, "År"},
    {atVerifikationsrader, 1, "Vernr"},
    {atVerifikationsrader, 2, "Rad"},
    {atVerifikationsrader, 3, "Datum"},
};

inline constexpr std::string_view kNoSuchTable = "No such table : ";
inline constexpr std::string_view kDisabledWithoutTaxReduction =
    "Denna tabell \"%s\" är inte tillgänglig när skattereduktion är inaktiverat i Visma Administration.";
inline constexpr std::string_view kDisabledWithoutVerificationSeries =
    "Denna tabell \"%s\" är inte tillgänglig när verifikationsserier är inaktiverat i Visma Administration.";

bool InTables(TAdkTable table) {
    return table >= 0 && table < kAdkTableCount;
}
bool InSortOrders(TAdkSortOrder order) {
    return order >= 0 && order < kAdkSortOrderCount;
}

template <size_t N>
bool Lists(const TAdkTable (&list)[N], TAdkTable table) {
    return std::find(std::begin(list), std::end(list), table) != std::end(list);
}

template <size_t N>
int FieldOf(const TableField (&list)[N], TAdkTable table) {
    for (const auto& e : list)
        if (e.table == table) return e.field;
    return -1;
}

// The key field of `order` on `table`, without first making the order valid for the table.
int KeyFieldOf(TAdkTable table, TAdkSortOrder order) {
    if (!InSortOrders(order)) return -1;
    // A free-category table is sorted by the members' order of that category, whose key (fields 18
    // to 27 of the members) lies outside the category table's three fields; a find there fills the
    // category code.
    if (table >= atFriKategori1 && table <= atFriKategori10 && order >= asMedlemmarFrikategori1 &&
        order <= asMedlemmarFrikategori10)
        return 0;
    if (order == asKundnr) return FieldOf(kCustomerNumberKeys, table);
    if (order == asTidstampel) return FieldOf(kTimestampKeys, table);
    return kSortOrders[order].keyField;
}

}  // namespace

std::string_view AdkTableName(TAdkTable table) {
    return InTables(table) ? kTables[table].name : "";
}

std::string_view AdkSortOrderName(TAdkSortOrder order) {
    return InSortOrders(order) ? kSortOrders[order].name : "";
}

std::string_view GetAdkTableCaption(TAdkTable table) {
    return InTables(table) ? kTables[table].caption : "";
}

int GetAdkTableIndex(TAdkTable table) {
    return InTables(table) ? kTables[table].kitTable : -1;
}

int GetMaxAdkFieldIndex(TAdkTable table) {
    return InTables(table) ? kTables[table].maxField : -1;
}

TAdkTable GetAdkRowTable(TAdkTable table) {
    return InTables(table) ? kTables[table].rowsTable : atIngen;
}

bool GetAdkHasRows(TAdkTable table) {
    return GetAdkRowTable(table) != atIngen;
}

int GetRowsField(TAdkTable head) {
    return InTables(head) ? kTables[head].rowsField : -1;
}

int GetRowCountField(TAdkTable head) {
    return InTables(head) ? kTables[head].rowCountField : -1;
}

int GetAdkSortOrderIndex(TAdkSortOrder order) {
    if (!InSortOrders(order) || order == asIngen) return -1;
    if (order <= 98) return order - 1;
    switch (order) {
        case asInventeringArtikelnr:
            return 16;
        case asInventeringArtikelben:
            return 17;
        case asInvetneringArtikelgrupp:
            return 20;
        case asInventeringArtikellagervara:
            return 91;
        case asManuellUtleverans:
            return 99;
        case asManuellInleverans:
            return 98;
        default:
            return order - 5;
    }
}

std::vector<TAdkSortOrder> GetValidSortOrders(TAdkTable table) {
    std::vector<TAdkSortOrder> orders;
    for (const auto& e : kValidOrders)
        if (e.table == table)
            for (int o = e.first; o <= e.last; ++o) orders.push_back(static_cast<TAdkSortOrder>(o));
    bool hasTimestamp = std::find(orders.begin(), orders.end(), asTidstampel) != orders.end();
    if (!orders.empty() && !hasTimestamp && !Lists(kNoTimestampOrder, table)) orders.push_back(asTidstampel);
    return orders;
}

bool IsValidSortOrder(TAdkTable table, TAdkSortOrder order) {
    auto orders = GetValidSortOrders(table);
    return std::find(orders.begin(), orders.end(), order) != orders.end();
}

TAdkSortOrder GetValidSortOrder(TAdkTable table, TAdkSortOrder order) {
    auto orders = GetValidSortOrders(table);
    if (orders.empty()) return asIngen;
    if (std::find(orders.begin(), orders.end(), order) != orders.end()) return order;
    return orders.front();
}

int GetSortKeyField(TAdkTable table, TAdkSortOrder order) {
    return KeyFieldOf(table, GetValidSortOrder(table, order));
}

std::vector<int> GetSortKeyFields(TAdkTable table, TAdkSortOrder order) {
    TAdkSortOrder used = GetValidSortOrder(table, order);
    for (const auto& key : kCompoundKeys)
        if (used >= key.first && used <= key.last)
            return std::vector<int>(key.fields.begin(), key.fields.begin() + key.count);
    int field = KeyFieldOf(table, used);
    return field < 0 ? std::vector<int>{} : std::vector<int>{field};
}

bool GetAdkFieldOkToUse(TAdkTable table, int adkIndex, TAdkProgramSettings settings) {
    if (adkIndex < 0 || adkIndex > GetMaxAdkFieldIndex(table)) return false;
    bool reverseCharge =
        (table == atKunder && adkIndex == 78) ||
        ((table == atOfferter || table == atOrder || table == atFakturor) && adkIndex == 119) ||
        (table == atArtikelkonto && adkIndex >= 11 && adkIndex <= 13);
    if (reverseCharge) return settings.Contains(piOmvandByggSkatt);
    if (table == atArtiklar && adkIndex == 67) return settings.Contains(piArtikelStreckkod);
    return true;
}

bool AdkTableAvailableFor(TAdkTable table, TAdkProgram program, std::string_view productVersion) {
    switch (program) {
        case apUnknown:
            return false;
        case apAdmin500:
            if (Lists(kNotInAdmin500, table)) return false;
            [[fallthrough]];
        case apAdmin1000:
            if (Lists(kNotInAdmin1000, table)) return false;
            [[fallthrough]];
        case apAdmin2000:
            if (Lists(kNotInAdmin2000, table)) return false;
            break;
        case apForening: {
            bool agreements = table == atAvtal || table == atAvtalrader;
            if (Lists(kNotInAdmin1000, table) || (Lists(kNotInAdmin500, table) && !agreements) ||
                Lists(kNotInForening, table))
                return false;
            break;
        }
        default:
            return false;
    }
    if (table >= atVerifikationer && table <= atSkattereduktion)
        return CompareVersions(productVersion, "5.0") >= 0;
    if (table >= atAvtal && table <= atBokforingshistorik) return CompareVersions(productVersion, "5.1") >= 0;
    return InTables(table);
}

bool TableDisabledByAdminSettings(TAdminActivatedModules modules, TAdkTable table, std::string& message) {
    message.clear();
    bool taxReductionTable =
        table == atSkattereduktion || table == atSkattereduktionPaOrder || table == atSkattereduktionPaAvtal;
    if (taxReductionTable && !modules.Contains(amTaxReduction))
        message = Format(kDisabledWithoutTaxReduction, {GetAdkTableCaption(table)});
    else if (table == atVerifikationsserier && !modules.Contains(amVerificationSeries))
        message = Format(kDisabledWithoutVerificationSeries, {GetAdkTableCaption(table)});
    return !message.empty();
}

bool HasFieldCaptions(TAdkTable table) {
    return (table >= atKunder && table <= atRabattavtal) ||
           (table >= atArtikelgrupper && table <= atSpeditor) || table == atVerifikationer ||
           table == atVerifikationsrader || table == atAvtal;
}

std::string_view GetFieldCaption(TAdkTable table, int adkIndex) {
    for (const auto& c : kFieldCaptions)
        if (c.table == table && c.field == adkIndex) return c.caption;
    return "";
}

TADkExt::TADkExt() {
    HashList.reserve(kAdkTableCount);
    for (const auto& row : kTables) HashList.emplace_back(row.name);
}

TAdkTable TADkExt::getAdkTableForName(std::string_view tablename) const {
    for (size_t i = 0; i < HashList.size(); ++i)
        if (SameTextAscii(HashList[i], tablename)) return static_cast<TAdkTable>(i);
    throw Exception(std::string(kNoSuchTable) + std::string(tablename));
}

}  // namespace tv

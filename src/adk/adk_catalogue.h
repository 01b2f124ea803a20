#pragma once
// The catalogue of the kit's tables and sort orders: the two enumerations whose value names are
// also element names of the interchange XML and values stored in settings, and every fixed look-up
// on them (kit numbers, field ranges, rows tables, valid and default sort orders, key fields, sort
// constants, availability per program variant and kit version, captions, name look-up). Nothing
// here asks the kit.

#include <string>
#include <string_view>
#include <vector>

#include "adk/adk_types.h"

namespace tv {

// The kit's tables, in the order of their stored ordinals.
enum TAdkTable : int {
    atIngen,
    atKunder,
    atArtiklar,
    atOfferter,
    atOffertrader,
    atOrder,
    atOrderrader,
    atFakturor,
    atFakturarader,
    atLevFakturor,
    atLevFakturarader,
    atProjekt,
    atKonto,
    atLeverantorer,
    atLeveransvillkor,
    atLeveranssatt,
    atBetalningsvillkor,
    atSprak,
    atValutor,
    atKundkategorier,
    atDistrikt,
    atSaljare,
    atRabattavtal,
    atRabattavtalsrader,
    atArtikelgrupper,
    atArtikelkonto,
    atEnheter,
    atResultatenheter,
    atPrislistor,
    atInstallningar,
    atInventering,
    atManuellinleverans,
    atManuellutleverans,
    atSpeditor,
    atBestallningar,
    atBestallningrader,
    atInkommandeFoljesedel,
    atInkommandeFoljesedelrader,
    atKolli,
    atKollirader,
    atLeveransaviseringskolli,
    atLeveransaviseringskollirader,
    atForsaljningspriser,
    atInkopspriser,
    atPaketartiklar,
    atBetalsatt,
    atFriKategori1,
    atFriKategori2,
    atFriKategori3,
    atFriKategori4,
    atFriKategori5,
    atFriKategori6,
    atFriKategori7,
    atFriKategori8,
    atFriKategori9,
    atFriKategori10,
    atMedlemmar,
    atArtikelbenamningar,
    atLeveransadresser,
    atInstallningar2,
    atKundRefPersoner,
    atLevRefPersoner,
    atLandskoder,
    atKundinbetalningar,
    atBortskrivningskoder,
    atLevinbetalningar,
    atVerifikationer,
    atVerifikationsrader,
    atBokforingsar,
    atRabattkoder,
    atKontakter,
    atKontakttitlar,
    atKontaktgrupper,
    atKontaktkopplingar,
    atSkattereduktion,
    atAvtal,
    atAvtalrader,
    atSkattereduktionPaOrder,
    atSkattereduktionPaAvtal,
    atVerifikationsserier,
    atBokforingshistorik,
    atPeriodiseringar,
    atKundartiklar,
    atKoppladeUnderlag,
    atHusarbetstyper,
    atInstallningar3
};
inline constexpr int kAdkTableCount = 86;

// The kit's sort orders (indexes), in the order of their stored ordinals. Names are kept exactly as
// settings and pick lists store them, irregular spellings included.
enum TAdkSortOrder : int {
    asIngen,
    asKundnr,
    asKundNamn,
    asLevNr,
    asLevNamn,
    asKundKortnamn,
    asKundPostnummer,
    asKundSorteringsbegrepp,
    asOffertNr,
    asOffertDatum,
    asOrderNr,
    asOrderDatum,
    asLeveransDatum,
    asFakturaNr,
    asFakturaDatum,
    asLevFakturaNr,
    asLevFakturaForfallodatum,
    asArtikelnr,
    asArtikelnamn,
    asArtikelKortnamn,
    asArtikelSorteringsbegrepp,
    asArtikelgrupp,
    asKontonr,
    asKontoText,
    asProjektkod,
    asProjektnamn,
    asLevKortnamn,
    asLevSorteringsbegrepp,
    asLevTelefon,
    asLevvillkorKod,
    asLevsattKod,
    asBetvillkKod,
    asSprakKod,
    asSprakNamn,
    asValutaKod,
    asKundkategoriKod,
    asDistriktKod,
    asSaljareKod,
    asRabattAvtalnr,
    asRabattAvtaltext,
    asArtikelgruppKod,
    asArtikelkontoKod,
    asEnhetskod,
    asResultatenhet,
    asPrislista,
    asOffertEjOrderKundnr,
    asOffertEjUtskrivenOffertnr,
    asOffertEjUtskrivenDatum,
    asOffertEjUtskrivenKundnr,
    asOffertEjUtskrivenKundnamn,
    asOrderEjFakturaKundnr,
    asOrderOmvandOrdernr,
    asOrderEjUtskrivenOrdernr,
    asOrderEjUtskrivenDatum,
    asOrderEjUtkrivenKundnr,
    asOrderEjUtkrivenKundnamn,
    asOrderEjUtkrivenLeveransdatum,
    asOrderIngenFoljesedelOrdernr,
    asOrderIngenFoljesedelDatum,
    asOrderIngenFoljesedelKundnr,
    asOrderIngenFoljesedelKundnamn,
    asOrderIngenFoljesedelLeveransdatum,
    asFakturaJournalfordForfallodatum,
    asFakturaJournalfordKundnr,
    asFakturaJournalfordKundnamn,
    asFakturaJournalfordFakturanr,
    asFakturaObetaldaKundnr,
    asFakturaObetaldaDatum,
    asFakturaBetaldaKundnr,
    asFakturaManuellFakturanr,
    asFakturaEjUtskrivenFakturanr,
    asFakturaEjUtskrivenDatum,
    asFakturaEjUtskrivenKundnr,
    asFakturaEjUtskrivenKundnamn,
    asFakturaEjRanteFakturanr,
    asFakturaEjRanteKundnr,
    asFakturaAvtalFakturanr,
    asLevFakturaObetaldaFakturanr,
    asLevFakturaObetaldaLevnr,
    asLevFakturaObetaldaLevnamn,
    asLevFakturaObetaldaForfallodatum,
    asLevFakturaBetaldaLevnr,
    asLevFakturaUtlandsbetalningFakturanr,
    asLevFakturaUtlandsbetalningLevnr,
    asLevFakturaUtlandsbetalningLevnamn,
    asLevFakturaUtlandsbetalningForfallodatum,
    asLevFakturaInrikesFakturanr,
    asLevFakturaInrikesLevnr,
    asLevFakturaInrikesLevnamn,
    asLevFakturaInrikesForfallodatum,
    asLevFakturaEjJournalfordFakturanr,
    asArtikelSaknas,
    asArtikelLagerplats,
    asKontoAkrivaKontonr,
    asKontoAktivaKontonamn,
    asProjektEjKlaraProjektkod,
    asProjektEjKlaraNamn,
    asProjektKlaraProjektkod,
    asProjektKlaraNamn,
    asInventeringArtikelnr,
    asInventeringArtikelben,
    asInvetneringArtikelgrupp,
    asInventeringArtikellagervara,
    asManuellUtleverans,
    asManuellInleverans,
    asSpeditor,
    asBestallningNr,
    asBestallningLevrantorsNr,
    asBestallningLevNamn,
    asBestallningEjUtskrivenBestNr,
    asBestallningEjUtskrivenLevrantorsNr,
    asBestallningEjUtskrivenLevDatum,
    asBestallningEjLevereradBestNr,
    asBestallningEjLevereradLevNr,
    asBestallningEjLevereradLevNamn,
    asBestallningEjLevereradLevrantorsLevDatum,
    asRabattavtalsraderArtGrp,
    asRabattavtalsraderArtNr,
    asPaketArtiklarRadNrPaket,
    asPaketArtiklarArtnrPaket,
    asPaketArtiklarArtnr,
    asArtikelbenamningNr,
    asForsaljningspriserArtNr,
    asForsaljningspriserGrundArtNr,
    asForsaljningspriserInteGrundArtnr,
    asForsaljningspriserLista,
    asForsaljningspriserGrundlista,
    asForsaljningspriserEjGrundlista,
    asInkopspriserArtNrGrund,
    asInkopspriserArtNrStaffling,
    asInkopspriserArtnrAlla,
    asInkopspriserLevNrGrund,
    asInkopspriserLevNrStaffling,
    asInkopspriserLevNrArtNr,
    asBetalsatt,
    asMedlemmarNr,
    asMedlemmarFornamn,
    asMedlemmarEfternamn,
    asMedlemmarPostnr,
    asMedlemmarPersonnr,
    asMedlemmarKategori,
    asMedlemmarFrikategori1,
    asMedlemmarFrikategori2,
    asMedlemmarFrikategori3,
    asMedlemmarFrikategori4,
    asMedlemmarFrikategori5,
    asMedlemmarFrikategori6,
    asMedlemmarFrikategori7,
    asMedlemmarFrikategori8,
    asMedlemmarFrikategori9,
    asMedlemmarFrikategori10,
    asInkommandefoljesedelNr,
    asInkommandefoljesedelLevNr,
    asInkommandefoljesedelLevNamn,
    asInkommandefoljesedelEjLevereradNr,
    asInkommandefoljesedelEjLevereradLevNr,
    asInkommandefoljesedelEjLevereradLevNamn,
    asKolliOrderNr,
    asLevAviKolliInkommandefoljesedelNr,
    asLevAdressKundNr,
    asArtikelWebShop,
    asArtikelStreckkod,
    asEnhetSprakkod,
    asErReferensKunder,
    atErReferensLev,
    asLandskod,
    asKundInbetFaktura,
    asKundInbetBortskrivningar,
    asKundInbetAvgift,
    asKundInbetFakturaBetDatum,
    asKundInbetEjJournalforda,
    asKundInbetBortskrivningsValuta,
    asKundInbetFakturarader,
    asBortskrivningskod,
    asLevInbetAlla,
    asLevInbetFaktororAlla,
    asLevInbetObetFakturor,
    asLevInbetVantandeFakturor,
    asLevInbetBetaldaFakturor,
    asKassakvittonr,
    asKassakvittoDatum,
    asKassakvittoKundnr,
    asKassakvittoKundnamn,
    asOrderEjFakturerade,
    asVerificationNr,
    asVerificationTransaktionsdatum,
    asBokforingsar,
    asBokforingsarStart,
    asRabattkod,
    asKontaktID,
    asKontakt,
    asKontaktforetag,
    asKontakttitel,
    asKontaktKund,
    asKontaktKundforetag,
    asKontaktKundtitel,
    asKontaktKundnr,
    asKontaktLeverantor,
    asKontaktLeverantorforetag,
    asKontaktLeverantortitel,
    asKontaktLevnr,
    asKontaktAnnat,
    asKontaktAnnatForetag,
    asKontaktAnnanTitel,
    asKontaktReklamSMS,
    asKontaktReklamEpost,
    asKontaktKundSign,
    asKontaktLevSign,
    asKontaktAnnatSign,
    asKontakttitelkod,
    asKontakttitelnamn,
    asKontaktgruppKod,
    asKontaktgruppNamn,
    asKoppladeKontakterOchKontaktgrupper,
    asKoppladeKontakterOchKontaktgrupperGruppID,
    asSkattereduktionFakturanr,
    asSkattereduktionFakturanrVerkstallda,
    asSkattereduktionFakturanrGodkanda,
    asSkattereduktionPersonnr,
    asSkattereduktionPersonnrVerkstallda,
    asSkattereduktionPersonnrGodkanda,
    asSkattereduktionPIDFaktura,
    asOrderEjLevererade,
    asOrderEjLevereradeKundnr,
    asAvtalnr,
    asTidstampel,
    asFriKategori,
    asVerifikationSerie,
    asBokhistNr,
    asBokhistDatum,
    asBokhistText,
    asSkattereduktionOrdernr,
    asSkattereduktionOrderPersonnr,
    asSkattereduktionOrderPersonnrOrder,
    asSkattereduktionAvtalnr,
    asSkattereduktionAvtalPersonnr,
    asSkattereduktionAvtalPersonnrAvtal,
    asPeriodiseringarKonto,
    asKundinbetalningarDatum,
    asKundartiklarArtnrKundnr,
    asKundartiklarKundnrArtnr,
    asKundartiklarKundnrKundartnr,
    asKopplUnderlagLevFakt,
    asKopplUnderlagVerifikation,
    asHusarbetstyperId,
    asKundEpost
};
inline constexpr int kAdkSortOrderCount = 246;

// Value names ("atKunder", "asKundnr"); empty for a value outside the enumeration.
std::string_view AdkTableName(TAdkTable table);
std::string_view AdkSortOrderName(TAdkSortOrder order);
// The Swedish caption of a table ("Kunder"); empty for atIngen and values outside.
std::string_view GetAdkTableCaption(TAdkTable table);

// The kit's own table number; -1 for atIngen and values outside the enumeration.
int GetAdkTableIndex(TAdkTable table);
// The highest kit field number of a table (a dataset has fields 0 to this number); -1 outside.
int GetMaxAdkFieldIndex(TAdkTable table);
// The rows table of a head table, atIngen for other tables.
TAdkTable GetAdkRowTable(TAdkTable table);
bool GetAdkHasRows(TAdkTable table);
// The head's kit field holding its rows structure and the one holding its row count; -1 when the
// head has no rows.
int GetRowsField(TAdkTable head);
int GetRowCountField(TAdkTable head);

// The kit sort constant passed to AdkSetSortOrder; -1 for asIngen (no order is set) and outside.
int GetAdkSortOrderIndex(TAdkSortOrder order);
// The sort orders a table allows, its default first; empty when it allows none.
std::vector<TAdkSortOrder> GetValidSortOrders(TAdkTable table);
bool IsValidSortOrder(TAdkTable table, TAdkSortOrder order);
// `order` when the table allows it, else the table's default order, else asIngen.
TAdkSortOrder GetValidSortOrder(TAdkTable table, TAdkSortOrder order);
// The kit field a find fills with the search text, for the order the table actually uses
// (GetValidSortOrder first); -1 when there is none.
int GetSortKeyField(TAdkTable table, TAdkSortOrder order);
// Every key field of the order the table uses, in key order: the compound keys, or the single one.
std::vector<int> GetSortKeyFields(TAdkTable table, TAdkSortOrder order);

// A field number is usable when it lies within the table's fields and the program settings that
// some optional fields need are on.
bool GetAdkFieldOkToUse(TAdkTable table, int adkIndex, TAdkProgramSettings settings);
// Whether a table exists in a company of this program variant and kit product version.
bool AdkTableAvailableFor(TAdkTable table, TAdkProgram program, std::string_view productVersion);
// True, with the message, when the company's activated modules switch the table off.
bool TableDisabledByAdminSettings(TAdminActivatedModules modules, TAdkTable table, std::string& message);

// Display labels by kit field number. Tables with a caption array answer HasFieldCaptions; a field
// whose label is not fixed answers empty, and the kit's field name is shown instead.
bool HasFieldCaptions(TAdkTable table);
std::string_view GetFieldCaption(TAdkTable table, int adkIndex);

// Name look-up of tables, as the import uses it for element names.
class TADkExt {
public:
    TADkExt();
    // The table whose value name equals `tablename`, letter case ignored; raises
    // "No such table : " followed by the name otherwise.
    TAdkTable getAdkTableForName(std::string_view tablename) const;

    std::vector<std::string> HashList;  // the value names in ordinal order
};

}  // namespace tv

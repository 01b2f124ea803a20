// The check pass: each kind's check walks its container without writing anything into the business
// system, registers the keys of the kind's records, verifies that every reference names a key an
// earlier check registered, and verifies that the kind's kit table is open.

#include <string>

#include "adk/adk_dataset.h"
#include "import/check_frame.h"
#include "import/document_head.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/price_key_resolvers.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {

inline constexpr std::string_view kTableNotOpen = "Tabellen %s är inte öppen. ";
inline constexpr std::string_view kTableNotAvailable =
    "Tabellen %s är inte tillgänglig för denna programversionen av Visma Administration/Förening.";
inline constexpr std::string_view kNotImplementedOption = "Not implemented";
inline constexpr std::string_view kArticleKeyUnknown = "Artikelnyckeln fanns ej i systemet";

inline constexpr std::string_view kCustomerItem = "Kundnr: [";
inline constexpr std::string_view kCustomerNoKey = "Kund saknar nyckelattribut";
inline constexpr std::string_view kSupplierItem = "Levnr: [";
inline constexpr std::string_view kSupplierNoKey = "Leverantör saknar nyckelattribut";
inline constexpr std::string_view kArticleNoKey = "Nyckelattribut saknas";
inline constexpr std::string_view kCheckingWord = "Kontrollerar %s.";
inline constexpr std::string_view kContactsWord = "kontakter";
inline constexpr std::string_view kProjectsWord = "projekt";
inline constexpr std::string_view kContactItem = "%s: [%d]";
inline constexpr std::string_view kContactNoKey = "%s saknar nyckelattribut";
inline constexpr std::string_view kProjectCustomerUnknown = "Projektnyckel: %s fanns ej i systemet";
inline constexpr std::string_view kProjectNoCustomerKey = " saknar customerkey attribut";
inline constexpr std::string_view kPriceListNoRows = "Prislistan saknar rader.";
inline constexpr std::string_view kPriceListUnreadable = " är tom";
inline constexpr std::string_view kPriceRowNoArticle = "Saknar artikelnr på rad";
inline constexpr std::string_view kPriceRowNoVismaArticle = "Saknar visma artikelnr för nyckel ";
inline constexpr std::string_view kPriceListEmptyOrMissing =
    "Prislistan för posten är tom, eller saknas i Administration";
inline constexpr std::string_view kPriceListUnknown = "Okänd nyckel för prislista:";
inline constexpr std::string_view kPurchasePriceUnreadable = " är tom";
inline constexpr std::string_view kBracketQuantityEmpty =
    "Node ARTICLE_PURCHASE_PRICE_QUANTITY must not be empty";
inline constexpr std::string_view kBracketPriceMissing = "Missing node ARTICLE_PURCHASE_PRICE_PRICE";
inline constexpr std::string_view kBracketPriceEmpty = "Node ARTICLE_PURCHASE_PRICE_PRICE must not be empty";
inline constexpr std::string_view kPaymentUnknownInvoice =
    " refererar till en faktura som inte finns i filen";
inline constexpr std::string_view kPaymentNoReference = " saknar fakturareferens";

inline constexpr std::string_view kQuantityElement = "ARTICLE_PURCHASE_PRICE_QUANTITY";
inline constexpr std::string_view kPriceElement = "ARTICLE_PURCHASE_PRICE_PRICE";
inline constexpr std::string_view kPaymentInvoiceElement = "CUSTOMERPAYMENT_INVOICE_NUMBER";

std::string At(std::string_view noun, int position, std::string_view text) {
    std::string line(noun);
    line.append(std::to_string(position)).append(text);
    return line;
}

// The "option" attribute: lower-cased for the registries of the module, as written for typed keys.
std::string LowerOption(const TXMLNode& item) {
    return LowerKey(item.Attribute("option"));
}

// ---- The checks' frames.

constexpr TCheckFrame kCustomers{.Caption = "Kontrollerar kunder",
                                 .Container = "customers",
                                 .DataSet = &TImportDataSets::AdkKunder,
                                 .TableWord = "kunder",
                                 .Registry = &TDMImport::ValidCustomerKyes,
                                 .EmptyRegistryAfterTableTest = true,
                                 .ErrorsReachCaller = true};
constexpr TCheckFrame kSuppliers{.Caption = "Kontrollerar leverantörer",
                                 .Container = "suppliers",
                                 .Registry = &TDMImport::ValidSuppliers,
                                 .ErrorsReachCaller = true};
constexpr TCheckFrame kArticles{
    .Caption = "Kontrollerar artiklar", .Container = "articles", .Registry = &TDMImport::ValidArticleKeys};
// Stock-taking lines refer to articles by their keys; the article check's keys stay.
constexpr TCheckFrame kInventory{.Caption = "Kontrollerar inventeringsunderlag", .Container = "inventory"};
constexpr TCheckFrame kProjects{.Container = "projects",
                                .DataSet = &TImportDataSets::ADKProjekt,
                                .TableWord = "projekt",
                                .MissingContainerText = "Ingen projektdata finns i denna fil.",
                                .UnavailableTableIsNotice = true};
constexpr TCheckFrame kContacts{.Container = "contacts", .ErrorsReachCaller = true};
constexpr TCheckFrame kManualIn{.Caption = "Kontrollerar manuella inleveranser",
                                .Container = "manualDeliveryIn",
                                .DataSet = &TImportDataSets::ADKManuellIn,
                                .TableWord = "manuella inleveranser",
                                .MissingContainerText = "Ingen dokument finns i denna fil"};
constexpr TCheckFrame kManualOut{.Caption = "Kontrollerar manuella utleveranser",
                                 .Container = "manualDeliveryOut",
                                 .DataSet = &TImportDataSets::AdkManuellUt,
                                 .TableWord = "manuella utleveranser",
                                 .MissingContainerText = "Ingen dokument finns i denna fil"};
constexpr TCheckFrame kSalesPrices{.Caption = "Kontrollerar försäljningspriser",
                                   .Container = "pricelists",
                                   .DataSet = &TImportDataSets::AdkPrislistor,
                                   .TableWord = "prislistor",
                                   .MissingContainerText = "Inga försäljningspriser finns i denna fil"};
constexpr TCheckFrame kPurchasePrices{.Caption = "Kontrollerar inköpspriser",
                                      .Container = "purchaseprices",
                                      .DataSet = &TImportDataSets::AdkInkPris,
                                      .TableWord = "inköpspriser",
                                      .MissingContainerText = "Inga inköpspriser finns i denna fil"};
constexpr TCheckFrame kCustomerPayments{.Caption = "Kontrollerar kundinbetalningar",
                                        .Container = "customerpayments",
                                        .DataSet = &TImportDataSets::ADKFakturor,
                                        .TableWord = "fakturor",
                                        .SecondDataSet = &TImportDataSets::ADKKundinbetalningar,
                                        .SecondTableWord = "kundinbetalningar",
                                        .MissingContainerText = "Inga kundinbetalningar finns i denna fil"};

// ---- The document checks.

constexpr TDocumentCheck kOrders{.Frame = {.Caption = "Kontrollerar order",
                                           .Container = "orders",
                                           .DataSet = &TImportDataSets::AdkOrder,
                                           .TableWord = "order",
                                           .MissingContainerText = "Ingen orderdata finns i denna fil",
                                           .Registry = &TDMImport::ValidOrderKeys},
                                 .Head = "atOrder",
                                 .Noun = "Order #",
                                 .UnreadableText = " saknar kundnr huvud",
                                 .Reference = "customerkey",
                                 .ReferenceNoun = "Order #",
                                 .ReferenceMissingText = kCustomerKeyMissing,
                                 .ReferenceRegistry = &TDMImport::ValidCustomerKyes,
                                 .ReferenceUnknownText = "Kundnyckel fanns ej i systemet",
                                 .NoRowsText = "Inga rader på denna order",
                                 .KeyRegistry = &TDMImport::ValidOrderKeys,
                                 .KeyElement = "OOI_HEAD_DOCUMENT_NUMBER"};

constexpr TDocumentCheck kOffers{.Frame = {.Caption = "Kontrollerar offerter",
                                           .Container = "offers",
                                           .DataSet = &TImportDataSets::AdkOffert,
                                           .TableWord = "offert",
                                           .MissingContainerText = "Ingen offertdata finns i denna fil",
                                           .Registry = &TDMImport::ValidOfferKeys},
                                 .Head = "atOffert",
                                 .Noun = "Offert #",
                                 .UnreadableText = " saknar kundnr huvud",
                                 .Reference = "customerkey",
                                 .ReferenceNoun = "Offert #",
                                 .ReferenceMissingText = kCustomerKeyMissing,
                                 .ReferenceRegistry = &TDMImport::ValidCustomerKyes,
                                 .ReferenceUnknownText = "Kundnyckel fanns ej i systemet",
                                 .NoRowsText = "Inga rader på denna offert",
                                 .KeyRegistry = &TDMImport::ValidOfferKeys,
                                 .KeyElement = "OOI_HEAD_DOCUMENT_NUMBER"};

constexpr TDocumentCheck kInvoices{
    .Frame = {.Caption = "Kontrollerar fakturor",
              .Container = "invoices",
              .DataSet = &TImportDataSets::ADKFakturor,
              .TableWord = "fakturor",
              .MissingContainerText = "Ingen fakturainformation finns i denna fil",
              .Registry = &TDMImport::ValidInvoiceKeys},
    .Head = "atFakturor",
    .Noun = "Faktura #",
    .UnreadableText = " saknar kundnr huvud",
    .HeadMissingLine = "Saknar fakturahuvud (atFakturor)",
    .Reference = "customerkey",
    .ReferenceNoun = "Faktura  #",
    .ReferenceMissingText = kCustomerKeyMissing,
    .ReferenceRegistry = &TDMImport::ValidCustomerKyes,
    .ReferenceUnknownText = "Kundnyckel fanns ej i systemet",
    .NoRowsText = "Inga rader på denna faktura",
    .GoOnWithoutRows = true,
    .SkipEmptyArticleKey = true,
    .KeyRegistry = &TDMImport::ValidInvoiceKeys,
    .KeyElement = "OOI_HEAD_DOCUMENT_NUMBER",
    .KeyBeforeRows = true};

constexpr TDocumentCheck kAgreements{.Frame = {.Caption = "Kontrollerar avtal",
                                               .Container = "agreements",
                                               .DataSet = &TImportDataSets::AdkAvtal,
                                               .TableWord = "avtal",
                                               .MissingContainerText = "Inga avtal finns i denna fil",
                                               .Registry = &TDMImport::ValidAgreementKeys},
                                     .Head = "atAvtal",
                                     .Noun = "Avtal #",
                                     .UnreadableText = " saknar kundnr på huvud",
                                     .Reference = "customerkey",
                                     .ReferenceNoun = "Avtal  #",
                                     .ReferenceMissingText = kCustomerKeyMissing,
                                     .ReferenceRegistry = &TDMImport::ValidCustomerKyes,
                                     .ReferenceUnknownText = "Kundnyckel fanns ej i systemet",
                                     .NoRowsText = "Inga rader på detta avtal",
                                     .GoOnWithoutRows = true,
                                     .KeyRegistry = &TDMImport::ValidAgreementKeys,
                                     .KeyElement = "AGREEMENT_HEAD_DOCUMENT_NUMBER",
                                     .AgreementKeyNotes = true};

constexpr TDocumentCheck kSupplierInvoices{
    .Frame = {.Caption = "Kontrollerar leverantörsfakturor",
              .Container = "supplierinvoices",
              .DataSet = &TImportDataSets::ADKLevFakturor,
              .TableWord = "leverantörsfakturor",
              .MissingContainerText = "Inga leverantörsfakturor finns i denna fil."},
    .Head = "atLevFakturor",
    .Noun = "Leverantörsfaktura #",
    .UnreadableText = " saknar leverantör huvud",
    .Reference = "supplierkey",
    .ReferenceNoun = "Leverantörsfaktura #",
    .ReferenceMissingText = " saknar supplierkey attribut",
    .ReferenceRegistry = &TDMImport::ValidSuppliers,
    .ReferenceUnknownText = "Leverantörsnyckel fanns ej i systemet",
    .NoRowsText = "Inga rader på denna leverantörsfaktura"};

constexpr TDocumentCheck kDeliveryNotes{
    .Frame = {.Caption = "Kontrollerar följesedlar",
              .Container = "deliverynotes",
              .DataSet = &TImportDataSets::AdkInkFs,
              .TableWord = "följesedlar",
              .MissingContainerText = "Inga följesedlar finns i denna fil."},
    .Head = "atInkFs",
    .Noun = "Följesedel #",
    .UnreadableText = " saknar följesedel-huvud",
    .Reference = "supplierkey",
    .ReferenceNoun = "Följesedel #",
    .ReferenceMissingText = " saknar supplierkey attribut",
    .BestKeyRequired = true,
    .BestKeyMissingText = " saknar @bestkey attribut",
    .ReferenceRegistry = &TDMImport::ValidSuppliers,
    .ReferenceUnknownText = "Leverantörsnyckel fanns ej i systemet",
    .NoRowsText = "Inga rader på denna följesedel",
    .GoOnWithoutRows = true};

constexpr TDocumentCheck kBests{.Frame = {.Caption = "Kontrollerar beställningar",
                                          .Container = "bests",
                                          .DataSet = &TImportDataSets::ADKBest,
                                          .TableWord = "beställningar",
                                          .MissingContainerText = "Ingen beställningsdata finns i denna fil"},
                                .Head = "atBestallningar",
                                .Noun = "Beställning #",
                                .UnreadableText = " saknar huvud",
                                .GoOnAfterUnreadable = true,
                                .HeadMissingText = " saknar huvud (<atBestallningar>)",
                                .Reference = "supplierkey",
                                .ReferenceRequired = false,
                                .ReferenceRegistry = &TDMImport::ValidSuppliers,
                                .ReferenceUnknownText = "Leverantörsnyckel @supplierkey fanns ej i systemet",
                                .NoRowsText = "Inga rader på denna beställning",
                                .BookingKey = true};

}  // namespace

// ---------------------------------------------------------------- the frame

void TDMImport::RequireOpen(TAdkDataSet* dataSet, std::string_view word, bool unavailableIsNotice,
                            bool& notice) {
    if (dataSet && dataSet->Active()) return;
    if (!dataSet || dataSet->AdkTableAvailible()) throw EImportError(Format(kTableNotOpen, {word}));
    if (!unavailableIsNotice) throw EImportError(Format(kTableNotAvailable, {word}));
    Events().reportError(Format(kTableNotAvailable, {word}), elExcessive);
    notice = true;
}

bool TDMImport::RunCheck(const TCheckFrame& frame, bool (TDMImport::*walk)(const TXMLNode&)) {
    IEventSink& events = Events();
    events.addEventItem(frame.Caption, true);
    bool result = true;
    try {
        if (frame.Registry && !frame.EmptyRegistryAfterTableTest) (this->*frame.Registry).Clear();
        bool notice = false;
        if (frame.DataSet)
            RequireOpen(context_.DataSets.*frame.DataSet, frame.TableWord, frame.UnavailableTableIsNotice,
                        notice);
        if (frame.SecondDataSet && !notice)
            RequireOpen(context_.DataSets.*frame.SecondDataSet, frame.SecondTableWord, false, notice);
        if (frame.Registry && frame.EmptyRegistryAfterTableTest) (this->*frame.Registry).Clear();
        const TXMLNode* root = notice ? nullptr : DocumentElement();
        const TXMLNode* container = root ? root->FindNode(frame.Container) : nullptr;
        if (root && !container && !frame.MissingContainerText.empty())
            events.reportError(frame.MissingContainerText, elInfo);
        if (container && container->HasChildNodes()) result = (this->*walk)(*container);
    } catch (const std::exception& e) {
        if (frame.ErrorsReachCaller) {
            events.CloseNestedEventItem();
            throw;
        }
        events.reportError(e.what(), elError);
        result = false;
    }
    events.CloseNestedEventItem();
    return result;
}

// ---------------------------------------------------------------- register checks

bool TDMImport::CheckCustomers() {
    return RunCheck(kCustomers, &TDMImport::WalkCustomers);
}

bool TDMImport::WalkCustomers(const TXMLNode& container) {
    bool result = true;
    ForEachItem(container, [&](const TXMLNode& item, int position) {
        Events().addEventItem(At(kCustomerItem, position, "]"), false);
        if (!item.HasAttribute("key")) {
            result = false;
            Events().reportError(kCustomerNoKey, elError);
        } else if (TrimView(item.Attribute("key")).empty()) {
            // The import refuses a blank key when it comes to it, after the customers before it
            // are written: the check says so first.
            result = false;
            Events().reportError(kCustomerKeyEmpty, elError);
        } else {
            ValidCustomerKyes.Register(item.Attribute("key"), LowerOption(item));
        }
        return true;
    });
    return result;
}

bool TDMImport::CheckSuppliers() {
    return RunCheck(kSuppliers, &TDMImport::WalkSuppliers);
}

bool TDMImport::WalkSuppliers(const TXMLNode& container) {
    bool result = true;
    ForEachItem(container, [&](const TXMLNode& item, int position) {
        Events().addEventItem(At(kSupplierItem, position, "]"), false);
        if (!item.HasAttribute("key")) {
            result = false;
            Events().reportError(kSupplierNoKey, elError);
        } else {
            const std::string key = Trim(item.Attribute("key"));
            ValidSuppliers.Register(key, LowerOption(item));
            keyHelper_.AddKnownKey(TKnownKey_Supplier, key, item.Attribute("option"));
        }
        return true;
    });
    return result;
}

bool TDMImport::CheckArticles() {
    return RunCheck(kArticles, &TDMImport::WalkArticles);
}

bool TDMImport::WalkArticles(const TXMLNode& container) {
    bool result = true;
    ForEachItem(container, [&](const TXMLNode& item, int) {
        if (!item.HasAttribute("key")) {
            result = false;
            Events().reportError(kArticleNoKey, elError);
        } else {
            ValidArticleKeys.Register(item.Attribute("key"), LowerOption(item));
        }
        return true;
    });
    return result;
}

bool TDMImport::CheckContacts() {
    TCheckFrame frame = kContacts;
    const std::string caption = Format(kCheckingWord, {kContactsWord});
    frame.Caption = caption;
    return RunCheck(frame, &TDMImport::WalkContacts);
}

bool TDMImport::WalkContacts(const TXMLNode& container) {
    bool result = true;
    ForEachItem(container, [&](const TXMLNode& item, int position) {
        if (!IsElement(item) || item.NodeName() != "atKontakter") return true;
        Events().addEventItem(Format(kContactItem, {kContactsWord, position}), false);
        if (!item.HasAttribute("key")) {
            result = false;
            Events().reportError(Format(kContactNoKey, {kContactsWord}), elError);
            return true;
        }
        const std::string key = Trim(item.Attribute("key"));
        if (!key.empty()) keyHelper_.AddKnownKey(TKnownKey_Contacts, key, LowerOption(item));
        return true;
    });
    return result;
}

bool TDMImport::CheckProjects() {
    TCheckFrame frame = kProjects;
    const std::string caption = Format(kCheckingWord, {kProjectsWord});
    frame.Caption = caption;
    return RunCheck(frame, &TDMImport::WalkProjects);
}

bool TDMImport::WalkProjects(const TXMLNode& container) {
    ForEachItem(container, [&](const TXMLNode& item, int position) {
        if (!IsElement(item) || item.NodeName() != "atProjekt") return true;
        if (item.HasAttribute("customerkey")) {
            const std::string customer = Trim(item.Attribute("customerkey"));
            if (!customer.empty() && !ValidCustomerKyes.Locate(customer))
                throw EImportError(Format(kProjectCustomerUnknown, {customer}));
        } else {
            Events().reportError(At("Projekt #", position, kProjectNoCustomerKey), elExcessive);
        }
        const std::string key = Trim(item.Attribute("key"));
        if (!key.empty()) keyHelper_.AddKnownKey(TKnownKey_Project, key, "");
        return true;
    });
    return true;
}

// ---------------------------------------------------------------- document checks

bool TDMImport::RunDocumentCheck(const TDocumentCheck& check) {
    documentCheck_ = &check;
    return RunCheck(check.Frame, &TDMImport::WalkDocuments);
}

bool TDMImport::CheckOrders() {
    return RunDocumentCheck(kOrders);
}
bool TDMImport::CheckOffers() {
    return RunDocumentCheck(kOffers);
}
bool TDMImport::CheckInvoices() {
    return RunDocumentCheck(kInvoices);
}
bool TDMImport::CheckAgreements() {
    return RunDocumentCheck(kAgreements);
}
bool TDMImport::CheckSupplierInvoices() {
    return RunDocumentCheck(kSupplierInvoices);
}
bool TDMImport::CheckDeliveryNotes() {
    return RunDocumentCheck(kDeliveryNotes);
}
bool TDMImport::CheckBest() {
    return RunDocumentCheck(kBests);
}

bool TDMImport::WalkDocuments(const TXMLNode& container) {
    const TDocumentCheck& check = *documentCheck_;
    IEventSink& events = Events();

    // The head's key, else its document-number element, trimmed; registered when not empty.
    auto registerKey = [&](const TXMLNode& head, int position) {
        const bool hasKey = head.HasAttribute("key");
        if (check.AgreementKeyNotes && !hasKey && !ChildElement(head, check.KeyElement))
            events.reportError(At("Avtal  #", position, " saknar nyckelattribut"), elExcessive);
        const std::string key = Trim(hasKey ? head.Attribute("key") : ChildText(head, check.KeyElement));
        if (key.empty()) {
            if (check.AgreementKeyNotes)
                events.reportError(At("Avtal  #", position, " saknar nyckelattribut"), elExcessive);
            return;
        }
        (this->*check.KeyRegistry).Register(key, kNotImplementedOption);
    };

    ForEachItem(container, [&](const TXMLNode& item, int position) {
        if (!IsElement(item)) {
            events.reportError(At(check.Noun, position, check.UnreadableText), elError);
            return check.GoOnAfterUnreadable;
        }
        const TXMLNode* head = item.FindNode(check.Head);
        if (!head) {
            if (!check.HeadMissingLine.empty()) {
                events.reportError(check.HeadMissingLine, elError);
                return true;
            }
            if (!check.HeadMissingText.empty()) {
                events.reportError(At(check.Noun, position, check.HeadMissingText), elError);
                return true;
            }
            throw EImportError(Format(kHeadMissing, {check.Noun, position, check.Head}));
        }
        if (check.BookingKey) {
            const std::string& key = head->Attribute("key");  // registered as written
            if (!key.empty()) keyHelper_.AddKnownKey(TKnownKey_Booking, key, head->Attribute("option"));
        }
        if (check.ReferenceRequired && !head->HasAttribute(check.Reference)) {
            events.reportError(At(check.ReferenceNoun, position, check.ReferenceMissingText), elError);
            return false;
        }
        if (check.BestKeyRequired && !head->HasAttribute("bestkey")) {
            events.reportError(At(check.ReferenceNoun, position, check.BestKeyMissingText), elError);
            return false;
        }
        if (!(this->*check.ReferenceRegistry).Locate(Trim(head->Attribute(check.Reference))))
            throw EImportError(std::string(check.ReferenceUnknownText));
        if (check.KeyRegistry && check.KeyBeforeRows) registerKey(*head, position);
        const TXMLNode* rows = item.FindNode(kRowsElement);
        if (!rows) {
            events.reportError(check.NoRowsText, elWarning);
            return check.GoOnWithoutRows;
        }
        ForEachItem(*rows, [&](const TXMLNode& row, int) {
            if (!row.HasAttribute("artkey")) return true;
            const std::string article = Trim(row.Attribute("artkey"));
            if (article.empty() && check.SkipEmptyArticleKey) return true;
            if (!ValidArticleKeys.Locate(article)) throw EImportError(std::string(kArticleKeyUnknown));
            return true;
        });
        if (check.KeyRegistry && !check.KeyBeforeRows) registerKey(*head, position);
        return true;
    });
    return true;
}

// ---------------------------------------------------------------- manual stock documents

bool TDMImport::CheckManualDeliveryIn() {
    return RunCheck(kManualIn, &TDMImport::WalkManualDeliveryIn);
}
bool TDMImport::CheckManualDeliveryOut() {
    return RunCheck(kManualOut, &TDMImport::WalkManualDeliveryOut);
}

bool TDMImport::WalkManualDeliveryIn(const TXMLNode& container) {
    return WalkManualDocuments(container, "MANUAL_DELIVERY_IN_DOCUMENT_NUMBER", TKnownKey_ManualDeliveryIn);
}

bool TDMImport::WalkManualDeliveryOut(const TXMLNode& container) {
    return WalkManualDocuments(container, "MANUAL_DELIVERY_OUT_DOCUMENT_NUMBER", TKnownKey_ManualDeliveryOut);
}

bool TDMImport::WalkManualDocuments(const TXMLNode& container, std::string_view numberElement,
                                    TKnownKeyType type) {
    ForEachItem(container, [&](const TXMLNode& item, int) {
        const std::string key =
            Trim(item.HasAttribute("key") ? item.Attribute("key") : ChildText(item, numberElement));
        const std::string& option = item.Attribute("option");
        if (!key.empty()) keyHelper_.AddKnownKey(type, key, option.empty() ? kOptionEdit : option);
        return true;
    });
    return true;
}

// ---------------------------------------------------------------- prices

bool TDMImport::CheckSalesPrices() {
    return RunCheck(kSalesPrices, &TDMImport::WalkSalesPrices);
}

bool TDMImport::WalkSalesPrices(const TXMLNode& container) {
    ForEachItem(container, [&](const TXMLNode& document, int position) {
        if (!IsElement(document)) {
            Events().reportError(At("Prislista #", position, kPriceListUnreadable), elError);
            return false;
        }
        std::string documentList;
        if (const TXMLNode* head = document.FindNode("atPrislistor"))
            documentList = RegisterPriceListHead(*head, keyHelper_).Text;
        const TXMLNode* rows = document.FindNode(kRowsElement);
        if (!rows) {
            Events().reportError(kPriceListNoRows, elExcessive);
            return true;
        }
        ForEachItem(*rows, [&](const TXMLNode& row, int) {
            const TResolvedKey article = ResolvePriceRowArticle(row, ValidArticleKeys);
            if (article.FromAttribute) {
                if (article.Text.empty()) throw EImportError(std::string(kPriceRowNoArticle));
                ArticleKeyToVisma(article.Text, ValidArticleKeys);
            } else if (TrimView(article.Text).empty()) {
                throw EImportError(std::string(kPriceRowNoVismaArticle) + article.Text);
            }
            if (!documentList.empty()) return true;
            const TResolvedKey list = ResolvePriceRowPriceList(row, keyHelper_);
            std::string number;
            if (list.FromAttribute) {
                number = keyHelper_.GetVismaValue(list.Text, TKnownKey_Pricelist);
            } else {
                keyHelper_.AddKnownKey(TKnownKey_Pricelist, list.Text, kOptionEdit);
                keyHelper_.SetKnowVismaKeyValue(list.Text, list.Text, TKnownKey_Pricelist);
                number = list.Text;
            }
            if (number.empty()) throw EImportError(std::string(kPriceListEmptyOrMissing));
            if (!keyHelper_.FindKnownKey(number, TKnownKey_Pricelist))
                throw EImportError(std::string(kPriceListUnknown) + number);
            return true;
        });
        return true;
    });
    return true;
}

bool TDMImport::CheckPurchasePrices() {
    return RunCheck(kPurchasePrices, &TDMImport::WalkPurchasePrices);
}

bool TDMImport::WalkPurchasePrices(const TXMLNode& container) {
    bool walking = true;
    for (const TXMLNode* group : container.ChildNodes()) {
        ForEachItem(*group, [&](const TXMLNode& item, int position) {
            if (!IsElement(item)) {
                Events().reportError(At("Inköpspris #", position, kPurchasePriceUnreadable), elError);
                walking = false;
                return false;
            }
            ResolvePurchasePriceArticle(item, ValidArticleKeys);
            ResolvePurchasePriceSupplier(item, ValidSuppliers);
            if (const TXMLNode* brackets = item.FindNode("pricebrackets")) {
                ForEachItem(*brackets, [&](const TXMLNode& bracket, int) {
                    const TXMLNode* quantity = ChildElement(bracket, kQuantityElement);
                    if (!quantity || TrimView(quantity->Text()).empty())
                        throw EImportError(std::string(kBracketQuantityEmpty));
                    const TXMLNode* price = ChildElement(bracket, kPriceElement);
                    if (!price) throw EImportError(std::string(kBracketPriceMissing));
                    if (TrimView(price->Text()).empty()) throw EImportError(std::string(kBracketPriceEmpty));
                    return true;
                });
            }
            return true;
        });
        if (!walking) break;
    }
    return true;
}

// ---------------------------------------------------------------- payments and the rest

bool TDMImport::CheckCustomerPayments() {
    return RunCheck(kCustomerPayments, &TDMImport::WalkCustomerPayments);
}

bool TDMImport::WalkCustomerPayments(const TXMLNode& container) {
    bool result = true;
    ForEachItem(container, [&](const TXMLNode& payment, int position) {
        if (payment.HasAttribute("invoiceKey")) {
            if (!ValidInvoiceKeys.Locate(Trim(payment.Attribute("invoiceKey")))) {
                Events().reportError(At("Kundinbetalning  #", position, kPaymentUnknownInvoice), elError);
                result = false;
            }
        } else if (!payment.HasAttribute("key") &&
                   TrimView(ChildText(payment, kPaymentInvoiceElement)).empty()) {
            Events().reportError(At("Kundinbetalning  #", position, kPaymentNoReference), elError);
            result = false;
        }
        return true;
    });
    return result;
}

bool TDMImport::CheckAuxillary() {
    return true;
}

bool TDMImport::CheckInventory() {
    return RunCheck(kInventory, &TDMImport::WalkInventory);
}

bool TDMImport::WalkInventory(const TXMLNode& container) {
    ForEachItem(container, [&](const TXMLNode& line, int) {
        if (line.HasAttribute("key")) ValidArticleKeys.Register(line.Attribute("key"), LowerOption(line));
        return true;
    });
    return true;
}

}  // namespace tv

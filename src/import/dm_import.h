#pragma once
// The import engine's data module: the interchange file being imported, the key registries that tie
// its kinds together, the list of business-system numbers written during the job, and the check and
// import operation of each kind that job scripts call. Everything it writes goes into the company
// through the kit datasets of the central data module; every outcome is reported into the event
// tree.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "import/import_context.h"
#include "import/key_helper_dm.h"
#include "import/key_registry.h"
#include "platform/rtl/component.h"
#include "platform/rtl/string_list.h"
#include "platform/xml/xml_document.h"

namespace tv {

class TADOQuery;
class TAdkDataSet;
struct TAdkData;
class TMappedFieldWriter;
class TXMLNode;
struct TCheckFrame;
struct TFormatSettings;
struct TContactProjectKind;
struct TDocumentCheck;
struct TImportFrame;
struct TInvoiceKind;
struct TInvoiceRun;
struct TKeyRecord;
struct TManualDeliveryKind;
struct TOrderKind;
struct TOrderRun;
struct TPurchaseKind;
struct TPurchaseRun;
struct TStatusOperation;
struct TRegisterKind;
struct TRegisterRun;
struct TRegisterStep;

inline constexpr std::string_view kFindFilesNoSide =
    "FindFiles:: Angav standardmapp, men har ej angivet varken import eller export";
inline constexpr std::string_view kUsingPath = "Använder path: ";
inline constexpr std::string_view kLoadXmlFailed = "Fel vid inläsning av XML-fil: ";
inline constexpr size_t kImportedItemLength = 50;
// The customer key rule, shared by the customer check, the customer import and the time-reporting
// customer import. A customer key of blanks: refused by the check and by the imports.
inline constexpr std::string_view kCustomerKeyEmpty = "Nyckeln för kunden är tom!";
inline constexpr std::string_view kCustomerUnreadable = "Felaktigt XML format saknar kundinformation";
inline constexpr std::string_view kCustomerWithoutKey =
    "Fanns ingen nyckel på denna kund, omöjligt scenario om ingen modifierat trädet";
inline constexpr std::string_view kCustomerKeyUnknown = "Kunde inte hitta kund med nyckel [";
inline constexpr std::string_view kNoCustomerContainer = "Ingen kundtag i denna fil";

class TDMImport : public TComponent {
    TV_CLASS(TDMImport, TComponent)
public:
    TDMImport(TImportContext& context, TKeyHelperDM& keyHelper, TComponent* AOwner = nullptr);
    ~TDMImport() override;

    // ---- The loaded file and the registries of the current file.
    TXMLDocument XMLDocument1;
    TKeyRegistry ValidCustomerKyes{"ValidCustomerKyes"};
    TKeyRegistry ValidArticleKeys{"ValidArticleKeys"};
    TKeyRegistry ValidSuppliers{"ValidSuppliers"};
    TKeyRegistry ValidInvoiceKeys{"ValidInvoiceKeys"};
    TKeyRegistry ValidOrderKeys{"ValidOrderKeys"};
    TKeyRegistry ValidAgreementKeys{"ValidAgreementKeys"};
    TKeyRegistry ValidOfferKeys{"ValidOfferKeys"};
    TKeyHelperDM& KeyHelper() const { return keyHelper_; }
    // The query every search by SQL runs on.
    TADOQuery& qArtikelUrval() const { return *query_; }
    // The query that reserves customer ids in the time-reporting database.
    TADOQuery& TIDReserveraID() const { return *tidReserveraID_; }

    // ---- Files.
    // Lists folder + name of every file (not folder) in `directory`, or without one in the side's
    // "obehandlade" work folder, that matches `mask` without regard to case, in name order.
    void FindFiles(const std::string& mask, TStrings& files, int IMPORT_EXPORT, const std::string& directory);
    // Empties the registries of the previous file (not those of orders, offers and agreements, nor
    // the imported items) and loads the file. A file that cannot be loaded is reported and leaves
    // no document: nothing of the previous file can be imported again.
    bool LoadXML(const std::string& filename);

    // ---- The numbers written during the job, until a script empties the list.
    void AddImportedItem(std::string_view str);
    void clearImportedItems(std::string_view str);
    std::unique_ptr<TStringList> getImportedItems() const;
    const std::vector<std::string>& ImportedItems() const { return importedItems_; }

    // Stores a found number with a registered key; raises when the key is not registered.
    void SetValidKeyVismaValue(std::string_view key, std::string_view number, std::string_view typeText,
                               TKeyRegistry& registry);

    // ---- The check pass: one check per kind, run after LoadXML and before the kind's import.
    // Customers, suppliers and contacts let their errors reach the caller. CheckInventory registers
    // the article keys of the stock-taking lines beside those of the articles.
    bool CheckCustomers();
    bool CheckSuppliers();
    bool CheckArticles();
    bool CheckContacts();
    bool CheckProjects();
    bool CheckBest();
    bool CheckManualDeliveryIn();
    bool CheckManualDeliveryOut();
    bool CheckOrders();
    bool CheckOffers();
    bool CheckInvoices();
    bool CheckAgreements();
    bool CheckSalesPrices();
    bool CheckPurchasePrices();
    bool CheckCustomerPayments();
    bool CheckDeliveryNotes();
    bool CheckSupplierInvoices();
    bool CheckAuxillary();
    bool CheckInventory();

    // ---- Customers and suppliers: each item is found in the business system or created, its
    // mapped elements written, and its number stored with its key for the later kinds.
    bool ImportCustomers();
    bool ImportSuppliers();

    // ---- Contacts and projects: each item's record is identified by a number or code taken
    // from the item, its customer reference filled in as the customer's number, and its mapped
    // elements written.
    bool ImportContacts();
    bool ImportProjects();

    // ---- The customers of the file copied into the time-reporting database, when that is
    // switched on, after they were imported into the business system. The check lets its errors
    // reach the caller.
    bool TID_CheckCustomers();
    bool TID_ImportCustomers();
    // Raises the last id handed out by one in one transaction and answers it; rolled back and
    // raised again on an error.
    int ReserveTidId();

    // ---- Articles with their supplier article numbers and names in other languages, the
    // registers of the "aux" container (each element names its kit table), and the stock-taking
    // lines of the "inventory" container onto lines the company already holds.
    bool ImportArticles();
    bool ImportAuxillary();
    bool ImportInventory();
    // Writes the names of the item's "languages" onto the article of the item's key; a language
    // that fails is reported and the next one taken.
    void ImportArticleLanguages(TXMLNode& item);

    // ---- Orders and offers: each document is found by its key, decided by the kind's existence
    // settings, and written with its rows; its number goes back onto the document as "vismakey".
    // False when a document lacked its customer key (the others are imported) or an error ended
    // the import.
    bool ImportOrders();
    bool ImportOffers();

    // ---- Status marks of an existing order or offer, found by its number on the dataset's
    // current sort order: raise "Kunde inte hitta order " (offers: "offert ") + the number when it
    // is not there. Marks set only where nothing holds them back; see import/order_status.cpp.
    void SetOrderNotDone(const std::string& number);
    void SetOrderPickList(const std::string& number);
    void SetOrderPrinted(const std::string& number);
    void SetOrderDelivered(const std::string& number);
    void SetOrderDeliveredOnly(const std::string& number);
    void SetOrderCancelled(const std::string& number);
    void RemoveOrderPrinted(const std::string& number);
    void SetOfferPrinted(const std::string& number);
    void RemoveOfferPrinted(const std::string& number);

    // The order reconciliation of the loaded file's "orders": each order not yet delivered gets the
    // file's quantities in its ordinary rows and the customer's order number, and is marked
    // delivered; its printed mark is set back. Failures are reported per order; always true.
    bool CustomImportOrderAvstamning();

    // Deletes every row of the order `head` (its kit record) holds in the business system and
    // writes the head back; answers the number of rows the head counted. A row the kit does not
    // delete fails with "Failed to remove row:" and the code.
    int ClearOrderRows(double orderNumber, const TAdkData& head);

    // ---- Sales prices: each price list's head created or changed, then the base prices of its
    // rows, then its quantity brackets, the old ones of the listed articles first deleted when the
    // settings ask. Purchase prices: each supplier's base price of an article created or changed,
    // then its brackets replaced; with `ignorefailures` non-zero a write that fails is reported and
    // passed over instead of ending the import (ImportPurchasePrices: never).
    bool ImportSalesPrices();
    bool ImportPurchasePrices();
    bool ImportPurchasePrices2(int ignorefailures);

    // ---- Purchase orders and supplier invoices: each document is found by its key or number,
    // decided by the kind's existence settings, and written with its rows; its number goes back
    // onto the document as "vismakey". An existing purchase order found by its key gets its number
    // stored against the key (TKnownKey_Booking). Supplier invoice rows from a purchase order can
    // get its row number guessed. False when a supplier invoice lacked its supplier key (the others
    // are imported) or an error ended the import.
    bool ImportBest();
    bool ImportSupplierInvoices();

    // ---- Stock documents, never changed once written. Delivery notes: a missing note is written
    // with its rows, an existing one reported as written. Manual stock receipts and issues: each
    // document written as a new one unless the settings or its option say otherwise; with
    // ON_ERROR_CONTINUE a document that fails to be written can be passed over. False when an
    // error ended the import or a manual document failed.
    bool ImportDeliveryNotes();
    bool ImportManualDeliveryIn();
    bool ImportManualDeliveryOut();

    // ---- Invoices and agreements: each document is found by its key, decided by the kind's
    // existence settings and written with its rows; an invoice then has its due date, its rows'
    // third dates and, as its settings say, its printed mark written again after the first save.
    // Customer payments are always created, each for the invoice its "invoiceKey" (an invoice of
    // the file) or its "key" (searched for) names. False when a document lacked its customer key
    // or head, a payment failed, or an error ended the import.
    bool ImportInvoices();
    bool ImportAgreements();
    bool ImportCustomerPayments();

    // The kit dataset of the context named so; raises when the host gave none.
    TAdkDataSet& KitDataSet(TImportDataSet member, std::string_view name) const;

private:
    IEventSink& Events() const;
    TXMLNode* DocumentElement() const;
    bool RunCheck(const TCheckFrame& frame, bool (TDMImport::*walk)(const TXMLNode&));
    void RequireOpen(TAdkDataSet* dataSet, std::string_view word, bool unavailableIsNotice, bool& notice);
    bool RunDocumentCheck(const TDocumentCheck& check);
    bool WalkDocuments(const TXMLNode& container);
    bool WalkCustomers(const TXMLNode& container);
    bool WalkSuppliers(const TXMLNode& container);
    bool WalkArticles(const TXMLNode& container);
    bool WalkContacts(const TXMLNode& container);
    bool WalkProjects(const TXMLNode& container);
    bool WalkManualDeliveryIn(const TXMLNode& container);
    bool WalkManualDeliveryOut(const TXMLNode& container);
    bool WalkManualDocuments(const TXMLNode& container, std::string_view numberElement, TKnownKeyType type);
    bool WalkSalesPrices(const TXMLNode& container);
    bool WalkPurchasePrices(const TXMLNode& container);
    bool WalkCustomerPayments(const TXMLNode& container);
    bool WalkTidCustomers(const TXMLNode& container);

    // The register import of one kind, as its row says (import/register_kind.h); the time-reporting
    // customers run the same frame and key rule with their own routine for the items.
    using TRegisterItems = void (TDMImport::*)(const TRegisterKind&, TXMLNode&);
    bool RunRegisterImport(const TRegisterKind& kind,
                           TRegisterItems importItems = &TDMImport::ImportRegisterItems);
    void ImportRegisterItems(const TRegisterKind& kind, TXMLNode& container);
    bool FindRegisterRecord(const TRegisterKind& kind, TRegisterRun& run, const std::string& key);
    void WriteRegisterRecord(const TRegisterKind& kind, TRegisterStep& step, const std::string& key);
    // The frame of an import operation around `walk` of the container (import/import_frame.h).
    bool RunImportFrame(const TImportFrame& frame, const std::function<void(TXMLNode&)>& walk);
    // Runs the walk with the company's writes held, when the context holds them.
    void WalkHoldingWrites(TXMLNode& items, const std::function<void(TXMLNode&)>& walk);
    // The "aux" and "inventory" containers (import_auxiliary.cpp, import_inventory.cpp).
    void ImportAuxElements(TXMLNode& container);
    void OpenAuxTable(TAdkDataSet& aux, const std::string& name);
    void WriteAuxRecord(TAdkDataSet& aux, TMappedFieldWriter& writer, const std::string& name,
                        const std::string& key, TXMLNode& element);
    void ImportInventoryLines(TXMLNode& container);
    bool WalkInventory(const TXMLNode& container);

    // The import of contacts or projects, as its row says (import/import_contacts_projects.cpp).
    bool RunContactProjectImport(const TContactProjectKind& kind);
    void ImportContactProjectItems(const TContactProjectKind& kind, TXMLNode& container);
    void ImportTidCustomers(const TRegisterKind& kind, TXMLNode& container);
    bool TidActivated() const;

    // The import of orders or offers, as its row says (import/import_orders.cpp). A document
    // without its customer key answers false.
    bool RunOrderImport(const TOrderKind& kind);
    bool ImportOrderDocument(const TOrderKind& kind, TOrderRun& run, TXMLNode& document, int position);
    void WriteOrderDocument(const TOrderKind& kind, TOrderRun& run, TXMLNode& document, TXMLNode& head,
                            std::string number, bool exists);
    void PrepareExistingDocument(const TOrderKind& kind, TOrderRun& run, const std::string& number);
    bool MatchExistingRow(const TOrderKind& kind, TOrderRun& run, const TXMLNode& row);

    void ReconcileOrder(TAdkDataSet& head, TXMLNode& order, int position);
    void WriteReconciledOrder(TAdkDataSet& head, const TXMLNode& fileRows, const std::string& number,
                              const std::string& customerOrderNumber);
    void RunStatusOperation(const TStatusOperation& op, const std::string& number);

    // Purchase orders or supplier invoices, as the kind's row says (import/import_purchase.cpp). A
    // supplier invoice without its supplier key answers false.
    bool RunPurchaseImport(const TPurchaseKind& kind);
    bool ImportPurchaseDocument(const TPurchaseKind& kind, TPurchaseRun& run, TXMLNode& document,
                                int position);
    void WritePurchaseDocument(const TPurchaseKind& kind, TPurchaseRun& run, TXMLNode& document,
                               TXMLNode& head, const std::string& number, bool exists);
    // Manual stock receipts or issues, as the kind's row says (import/import_delivery.cpp).
    bool RunManualDeliveryImport(const TManualDeliveryKind& kind);

    // The price lists and purchase prices of the loaded file (import_sales_prices.cpp,
    // import_purchase_prices.cpp).
    void ImportPriceLists(TXMLNode& container);
    void ImportPurchasePriceItems(TXMLNode& container, bool ignoreFailures);
    const TFormatSettings& NumberFormat() const;

    // The invoices and agreements, and the customer payments (import_invoices.cpp,
    // import_customer_payments.cpp).
    bool RunInvoiceImport(const TInvoiceKind& kind);
    bool ImportInvoiceDocument(const TInvoiceKind& kind, TInvoiceRun& run, TXMLNode& document, TXMLNode& head,
                               int position);
    void EmptyExistingInvoice(const TInvoiceKind& kind, TInvoiceRun& run, const std::string& number);
    void WriteInvoiceDocument(const TInvoiceKind& kind, TInvoiceRun& run, TXMLNode& document, TXMLNode& head,
                              const std::string& key, std::string number, bool exists);
    bool InvoicePrintedWanted(const TInvoiceRun& run, const TXMLNode& head) const;
    void WriteInvoiceAgain(TInvoiceRun& run, const TXMLNode& head, const std::string& number);
    void ImportPaymentItems(TXMLNode& container, bool& everyPayment);

    TImportContext& context_;
    TKeyHelperDM& keyHelper_;
    std::vector<std::string> importedItems_;
    std::unique_ptr<TADOQuery> query_;
    std::unique_ptr<TADOQuery> tidReserveraID_;
    const TDocumentCheck* documentCheck_ = nullptr;  // the document check being walked
};

// One registry of the module, as rows of tables name it.
using TRegistryMember = TKeyRegistry TDMImport::*;

// Whether the plain number reader (decimal point, no grouping) takes the whole text as a number:
// the invoice head's dates are written as day numbers then, else as the dates their texts read.
bool IsNumericText(std::string_view text);

}  // namespace tv

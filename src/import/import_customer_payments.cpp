// The import of customer payments: each payment of the "customerpayments" container names the
// invoice it pays, by the key of an invoice of the same file ("invoiceKey", through the invoice
// registry the invoice import filled) or by a key searched for among the company's invoices
// ("key"); the invoice's number goes into the payment, which is always created through the field
// mapping. The payment's own number goes into the imported items; the invoice's number onto the
// payment element as "vismakey".

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/document_head.h"
#include "import/import_frame.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/mapped_field_writer.h"
#include "import/record_finder.h"
#include "import/record_write.h"
#include "platform/data/data_set.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {

inline constexpr std::string_view kPaymentsTable = "CDSImportCustomerPaymentsPrefs";
inline constexpr std::string_view kPaymentsMapping = "atKundInbetalningar";
inline constexpr std::string_view kInvoiceNumberElement = "CUSTOMERPAYMENT_INVOICE_NUMBER";
inline constexpr std::string_view kItemText = "Kundinbetalning - #";
inline constexpr std::string_view kUnreadable = "Felaktigt XML format: saknar data";
inline constexpr std::string_view kInvoiceKeyEmpty = "DataError: invoiceKey får inte vara tom";
inline constexpr std::string_view kInvoiceKeyUnknown = "Nyckeln fanns ej i systemet [%s]";
inline constexpr std::string_view kNoInvoiceNumber = "Inget värde på fakturanyckeln";
inline constexpr std::string_view kNoInvoiceNumberForKey = "Inget värde på fakturanyckeln: [%s]";
inline constexpr std::string_view kSkipNoInvoice = "Fakturan finns inte i spcs [%s], hoppar över ...";
inline constexpr std::string_view kSkipNoInvoiceForKey = "Fakturan finns inte i spcs [%s], key=[%s]";
inline constexpr std::string_view kPaymentFailed = "Ett fel uppstod för key [%s]: %s";
inline constexpr std::string_view kCreated = "Skapade inbetalning för faktura : ";

// ON_INVOICE_DOES_NOT_EXIST: 0 refuses a payment without an invoice number, 1 passes it over
// with a warning, any other value creates it without one. ON_ERROR_CONTINUE: 0 ends the import
// at a payment that cannot be written, 1 reports it and goes on, any other value goes on.
inline constexpr int kRefuse = 0;
inline constexpr int kPassOver = 1;

constexpr TImportFrame kPaymentsFrame{.Caption = "Importerar kundinbetalningar",
                                      .StepPicture = 5,
                                      .Container = "customerpayments",
                                      .EmptyText = "Inga kundinbetalningar att importera",
                                      .CountsItems = false};

// FindInvoiceForPayment: the invoice finder, read from the payments' own settings.
constexpr TFinderDef kPaymentInvoiceFinder{
    .ModeField = "SEARCH_INVOICE_MODE",
    .CdxField = "SEARCH_INVOICE_CDX",
    .SqlField = "SEARCH_INVOICE_SQL",
    .NoModeText = "Ingen urvalsmetod för att hitta kunder är satt. Kontrollera inställningarna",
    .EmptySqlText = kNoSqlStatement,
    .DefaultOrder = asFakturaNr};

// A setting of the payments read once per call: its low byte, 0 when it cannot be read.
int PaymentSetting(const TDataSet& settings, std::string_view field) {
    try {
        return ReadIntegerSetting(settings, field) & 0xFF;
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

bool TDMImport::ImportCustomerPayments() {
    bool everyPayment = true;
    const bool ran = RunImportFrame(
        kPaymentsFrame, [&](TXMLNode& container) { ImportPaymentItems(container, everyPayment); });
    return ran && everyPayment;
}

void TDMImport::ImportPaymentItems(TXMLNode& container, bool& everyPayment) {
    const TDataSet& settings = context_.SettingsTable(kPaymentsTable);
    const int onMissingInvoice = PaymentSetting(settings, "ON_INVOICE_DOES_NOT_EXIST");
    const int onError = PaymentSetting(settings, "ON_ERROR_CONTINUE");
    TAdkDataSet& payments = KitDataSet(&TImportDataSets::ADKKundinbetalningar, "ADKKundinbetalningar");
    TRecordFinder invoiceFinder(kPaymentInvoiceFinder, settings,
                                KitDataSet(&TImportDataSets::ADKFakturor, "ADKFakturor"), qArtikelUrval(),
                                context_.adminODBC, Events());
    const TFieldMapping mapping = TFieldMapping::For(*context_.FieldDefinitions, kPaymentsMapping);
    TMappedFieldWriter writer(mapping, payments);

    ForEachItem(container, [&](TXMLNode& payment, int position) {
        Events().addEventItem(std::string(kItemText) + std::to_string(position + 1), false);
        if (!IsElement(payment)) throw EImportError(std::string(kUnreadable));
        std::string key;
        std::string invoice;
        if (payment.HasAttribute("invoiceKey")) {
            key = Trim(payment.Attribute("invoiceKey"));
            if (key.empty()) throw EImportError(std::string(kInvoiceKeyEmpty));
            const TKeyRecord* record = ValidInvoiceKeys.Locate(key);
            if (!record) throw EImportError(Format(kInvoiceKeyUnknown, {key}));
            invoice = Trim(record->KEY_VALUE_IN_VISMA);
            if (invoice.empty()) {
                if (onMissingInvoice == kRefuse) throw EImportError(std::string(kNoInvoiceNumber));
                if (onMissingInvoice == kPassOver) {
                    Events().reportError(Format(kSkipNoInvoice, {invoice}), elWarning);
                    return true;
                }
            }
        } else if (payment.HasAttribute("key")) {
            key = Trim(payment.Attribute("key"));
            invoiceFinder.Find(key, invoice);
            invoice = Trim(invoice);
            if (invoice.empty()) {
                if (onMissingInvoice == kRefuse) throw EImportError(Format(kNoInvoiceNumberForKey, {key}));
                if (onMissingInvoice == kPassOver) {
                    Events().reportError(Format(kSkipNoInvoiceForKey, {invoice, key}), elWarning);
                    return true;
                }
            }
        }
        if (!invoice.empty()) ElementOf(payment, kInvoiceNumberElement).SetText(invoice);

        try {
            payments.Append();
            writer.Write(payment);
            payments.Post();
            AddImportedItem(ReadBackNumber(payments));
            Events().reportError(std::string(kCreated) + invoice, elResult);
            payment.SetAttribute(kWrittenDocumentAttribute, invoice);
        } catch (const std::exception& e) {
            CancelPending(payments);
            everyPayment = false;
            const std::string message = Format(kPaymentFailed, {key, std::string(e.what())});
            if (onError == 0) throw EImportError(message);
            if (onError == 1) Events().reportError(message, elError);
        }
        return true;
    });
}

}  // namespace tv

// The import of customer payments end to end: the invoices of the same file imported first (their
// numbers stored with their keys) or the company's invoices searched for by SQL, then the
// payments as a job script imports them; the event lines, the payment table afterwards and what the
// import wrote into the loaded document, all written by hand.

#include <gtest/gtest.h>

#include "tests/import/invoices/invoice_support.h"

namespace tv {
namespace {

using test::Lines;
using test::Setting;
using test::Visible;

constexpr const char* kPrefs = "CDSImportCustomerPaymentsPrefs";

// An invoice of the file with capitals in its key, and payments: by that key (beside a "key" that
// would name invoice 1), by a key searched for, and by neither.
constexpr const char* kInvoiceAndPayments = R"(	<invoices>
		<invoice>
			<atFakturor customerkey="1001" key="F-Stor"/>
		</invoice>
	</invoices>
	<customerpayments>
		<!-- positions count this comment -->
		<payment invoiceKey=" F-Stor " key="1">
			<CUSTOMERPAYMENT_DATE>2024-06-10</CUSTOMERPAYMENT_DATE>
			<CUSTOMERPAYMENT_AMOUNT>100</CUSTOMERPAYMENT_AMOUNT>
		</payment>
		<payment key="1">
			<CUSTOMERPAYMENT_AMOUNT>50.5</CUSTOMERPAYMENT_AMOUNT>
		</payment>
		<payment>
			<CUSTOMERPAYMENT_AMOUNT>5</CUSTOMERPAYMENT_AMOUNT>
		</payment>
	</customerpayments>
)";

// A payment for an invoice the company does not have, between two it has.
constexpr const char* kUnknownInvoice = R"(	<customerpayments>
		<payment key="1">
			<CUSTOMERPAYMENT_AMOUNT>10</CUSTOMERPAYMENT_AMOUNT>
		</payment>
		<payment key="99">
			<CUSTOMERPAYMENT_AMOUNT>20</CUSTOMERPAYMENT_AMOUNT>
		</payment>
		<payment key="2">
			<CUSTOMERPAYMENT_AMOUNT>30</CUSTOMERPAYMENT_AMOUNT>
		</payment>
	</customerpayments>
)";

struct PaymentCase {
    const char* name;
    std::vector<Setting> settings;
    const char* containers;
    std::vector<std::string> steps;
    const char* events;  // of ImportCustomerPayments
    const char* payments;
    const char* document;  // per payment: "vismakey" and the invoice number written in
    const char* importedItems;
    const char* seed = "";
};

const char* const kKitFault =
    "INSERT INTO kit_faults(function, code, message, skip, times) VALUES('AdkAdd', 0, 'kit fault', 0, 1);\n";

const PaymentCase kPaymentCases[] = {
    {"\"invoiceKey\" before \"key\", found whatever its letter case; \"key\" searched for; neither: a "
     "payment without an invoice; \"vismakey\" the invoice's number, the imported items the payments'",
     {},
     kInvoiceAndPayments,
     {"CheckInvoices", "ImportInvoices", "ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #2
  [4] Skapade inbetalning för faktura : 3
  - Kundinbetalning - #3
  [4] Skapade inbetalning för faktura : 1
  - Kundinbetalning - #4
  [4] Skapade inbetalning för faktura : 
ImportCustomerPayments true
)",
     R"(
1|3|2024-06-10|100
2|1||50.5
3|||5
)",
     R"(
#1 vismakey=3 CUSTOMERPAYMENT_INVOICE_NUMBER=3
#2 vismakey=1 CUSTOMERPAYMENT_INVOICE_NUMBER=1
#3 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
)",
     "3 1 2 3"},

    {"run before the invoices, a payment by \"invoiceKey\" finds no registered key and ends the import",
     {},
     kInvoiceAndPayments,
     {"ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #2
  [2] Nyckeln fanns ej i systemet [F-Stor]
ImportCustomerPayments false
)",
     "",
     R"(
#1 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#2 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#3 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
)",
     ""},

    {"a registered invoice key without a number under ON_INVOICE_DOES_NOT_EXIST 0 ends the import",
     {},
     kInvoiceAndPayments,
     {"CheckInvoices", "ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #2
  [2] Inget värde på fakturanyckeln
ImportCustomerPayments false
)",
     "",
     R"(
#1 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#2 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#3 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
)",
     ""},

    {"... and under 1 is passed over with a warning",
     {{kPrefs, "ON_INVOICE_DOES_NOT_EXIST", "1"}},
     kInvoiceAndPayments,
     {"CheckInvoices", "ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #2
  [3] Fakturan finns inte i spcs [], hoppar över ...
  - Kundinbetalning - #3
  [4] Skapade inbetalning för faktura : 1
  - Kundinbetalning - #4
  [4] Skapade inbetalning för faktura : 
ImportCustomerPayments true
)",
     R"(
1|1||50.5
2|||5
)",
     R"(
#1 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#2 vismakey=1 CUSTOMERPAYMENT_INVOICE_NUMBER=1
#3 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
)",
     "1 2"},

    {"an unknown invoice by \"key\" under ON_INVOICE_DOES_NOT_EXIST 0 ends the import with the key",
     {},
     kUnknownInvoice,
     {"ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #1
  [4] Skapade inbetalning för faktura : 1
  - Kundinbetalning - #2
  [2] Inget värde på fakturanyckeln: [99]
ImportCustomerPayments false
)",
     "1|1||10",
     R"(
#0 vismakey=1 CUSTOMERPAYMENT_INVOICE_NUMBER=1
#1 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#2 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
)",
     "1"},

    {"... under 1 is passed over with a warning naming the key",
     {{kPrefs, "ON_INVOICE_DOES_NOT_EXIST", "1"}},
     kUnknownInvoice,
     {"ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #1
  [4] Skapade inbetalning för faktura : 1
  - Kundinbetalning - #2
  [3] Fakturan finns inte i spcs [], key=[99]
  - Kundinbetalning - #3
  [4] Skapade inbetalning för faktura : 2
ImportCustomerPayments true
)",
     R"(
1|1||10
2|2||30
)",
     R"(
#0 vismakey=1 CUSTOMERPAYMENT_INVOICE_NUMBER=1
#1 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#2 vismakey=2 CUSTOMERPAYMENT_INVOICE_NUMBER=2
)",
     "1 2"},

    {"... and under 2 is created without an invoice",
     {{kPrefs, "ON_INVOICE_DOES_NOT_EXIST", "2"}},
     kUnknownInvoice,
     {"ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #1
  [4] Skapade inbetalning för faktura : 1
  - Kundinbetalning - #2
  [4] Skapade inbetalning för faktura : 
  - Kundinbetalning - #3
  [4] Skapade inbetalning för faktura : 2
ImportCustomerPayments true
)",
     R"(
1|1||10
2|||20
3|2||30
)",
     R"(
#0 vismakey=1 CUSTOMERPAYMENT_INVOICE_NUMBER=1
#1 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#2 vismakey=2 CUSTOMERPAYMENT_INVOICE_NUMBER=2
)",
     "1 2 3"},

    {"a payment the kit refuses under ON_ERROR_CONTINUE 0 ends the import with its key",
     {},
     kUnknownInvoice,
     {"ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #1
  [2] Ett fel uppstod för key [1]: Error occured in AdkAdd:\r\n\r\nkit fault
ImportCustomerPayments false
)",
     "",
     R"(
#0 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=1
#1 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#2 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
)",
     "",
     kKitFault},

    {"... under 1 is reported and the next payment created; the call answers false",
     {{kPrefs, "ON_ERROR_CONTINUE", "1"}, {kPrefs, "ON_INVOICE_DOES_NOT_EXIST", "2"}},
     kUnknownInvoice,
     {"ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #1
  [2] Ett fel uppstod för key [1]: Error occured in AdkAdd:\r\n\r\nkit fault
  - Kundinbetalning - #2
  [4] Skapade inbetalning för faktura : 
  - Kundinbetalning - #3
  [4] Skapade inbetalning för faktura : 2
ImportCustomerPayments false
)",
     R"(
1|||20
2|2||30
)",
     R"(
#0 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=1
#1 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#2 vismakey=2 CUSTOMERPAYMENT_INVOICE_NUMBER=2
)",
     "1 2",
     kKitFault},

    {"... under any other value goes on without a line; the call answers false",
     {{kPrefs, "ON_ERROR_CONTINUE", "2"}, {kPrefs, "ON_INVOICE_DOES_NOT_EXIST", "2"}},
     kUnknownInvoice,
     {"ImportCustomerPayments"},
     R"(
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #1
  - Kundinbetalning - #2
  [4] Skapade inbetalning för faktura : 
  - Kundinbetalning - #3
  [4] Skapade inbetalning för faktura : 2
ImportCustomerPayments false
)",
     R"(
1|||20
2|2||30
)",
     R"(
#0 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=1
#1 vismakey= CUSTOMERPAYMENT_INVOICE_NUMBER=
#2 vismakey=2 CUSTOMERPAYMENT_INVOICE_NUMBER=2
)",
     "1 2",
     kKitFault},
};

class PaymentImport : public testing::TestWithParam<size_t> {};

TEST_P(PaymentImport, CreatesEachPaymentForItsInvoice) {
    const PaymentCase& c = kPaymentCases[GetParam()];
    std::vector<Setting> settings = {{"CDSImportInvoicesPrefs", "SEARCH_INVOICE_MODE", "1"},
                                     {"CDSImportInvoicesPrefs", "SEARCH_INVOICE_SQL", test::kInvoiceSql},
                                     {kPrefs, "SEARCH_INVOICE_MODE", "1"},
                                     {kPrefs, "SEARCH_INVOICE_SQL", test::kInvoiceSql}};
    settings.insert(settings.end(), c.settings.begin(), c.settings.end());
    test::TInvoiceWorld world(c.seed, settings, c.containers, c.steps);
    std::vector<std::string> events = Visible(world.Events().Take());
    events.erase(events.begin(),
                 std::find(events.begin(), events.end(), "step Importerar kundinbetalningar (5)"));
    EXPECT_EQ(events, Lines(c.events)) << c.name;
    EXPECT_EQ(test::Payments(world), Lines(c.payments)) << c.name;
    EXPECT_EQ(test::ItemLines(world, "customerpayments", "", "CUSTOMERPAYMENT_INVOICE_NUMBER"),
              Lines(c.document))
        << c.name;
    std::string items;
    for (const std::string& item : world.Import().ImportedItems()) items += (items.empty() ? "" : " ") + item;
    EXPECT_EQ(items, c.importedItems) << c.name;
}
INSTANTIATE_TEST_SUITE_P(Cases, PaymentImport, testing::Range<size_t>(0, std::size(kPaymentCases)));

}  // namespace
}  // namespace tv

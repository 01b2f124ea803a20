// The calls of a job: the table from job-API names to the import module's operations holds every
// check and import row of the job API that has its operation, and the order is the default job's.

#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "automation/job_api_rows.h"
#include "tests/automation/job_api/job_api_doubles.h"
#include "tests/import/combined/job_order.h"

namespace tv {
namespace {

// The routine's name in a row's declaration: the word after "function" or "procedure".
std::string_view RoutineName(std::string_view declaration) {
    const size_t kind = declaration.find_first_not_of(' ');
    const size_t start = declaration.find(' ', kind) + 1;
    const size_t end = declaration.find_first_of("( :;", start);
    return declaration.substr(start, end - start);
}

bool IsCheckOrImport(std::string_view name) {
    return name.starts_with("Check") || name.starts_with("Import") || name.starts_with("TID_") ||
           name.starts_with("CustomImport");
}

TEST(JobOrder, TheTableHoldsEveryCheckAndImportRowOfTheJobApiThatHasItsOperation) {
    std::vector<std::string> waiting;
    std::set<std::string_view> rows;
    for (const TJobApiRow& row : TJobApiRows<test::TDoubleClasses>::kRows) {
        const std::string_view name = RoutineName(row.Declaration);
        if (row.Object != TJobApiObject::DMImport || !IsCheckOrImport(name)) continue;
        rows.insert(name);
        if (row.Bind)
            EXPECT_NE(test::FindJobOperation(name), nullptr) << name;
        else
            waiting.emplace_back(name);
    }
    for (const test::TJobOperation& operation : test::kJobOperations)
        EXPECT_TRUE(rows.contains(operation.Name)) << operation.Name << " is no row of the job API";
    // The operations still being built; each becomes a row of the table when its adapter lands.
    EXPECT_EQ(waiting, std::vector<std::string>{});
}

TEST(JobOrder, IsTheDefaultImportJobsThenTheTimeReportingCopy) {
    EXPECT_EQ(test::JobOrder(), (std::vector<std::string>{
                                    "CheckCustomers", "CheckSuppliers", "CheckArticles", "CheckContacts",
                                    "CheckProjects", "CheckPurchasePrices", "CheckSalesPrices", "CheckOrders",
                                    "CheckOffers", "CheckInvoices", "CheckAgreements", "CheckCustomerPayments",
                                    "CheckBest", "CheckSupplierInvoices", "CheckDeliveryNotes",
                                    "CheckManualDeliveryIn", "CheckManualDeliveryOut", "ImportCustomers",
                                    "ImportSuppliers", "ImportArticles", "ImportAuxillary", "ImportContacts",
                                    "ImportProjects", "ImportPurchasePrices2", "ImportSalesPrices",
                                    "ImportOrders", "ImportOffers", "ImportInvoices", "ImportAgreements",
                                    "ImportCustomerPayments", "ImportBest", "ImportSupplierInvoices",
                                    "ImportDeliveryNotes", "ImportManualDeliveryIn", "ImportManualDeliveryOut",
                                    "TID_CheckCustomers", "TID_ImportCustomers"}));
}

}  // namespace
}  // namespace tv

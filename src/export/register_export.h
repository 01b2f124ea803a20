#pragma once
// The register exports of the central data module: customers (with their includes), suppliers,
// contacts, and the chart of accounts with profit centres and projects of one accounting year.
// Each writes the whole selection into one file or one file per record, as its settings say, and
// raises its failures to the export facade.

#include <string>
#include <string_view>

#include "export/export_module.h"
#include "export/price_list_export.h"

namespace tv {

inline constexpr std::string_view kExportingCustomersCount = "Exporterar kunder %d";
inline constexpr std::string_view kExportingContactsCount = "Exporterar kontakter %d";
inline constexpr std::string_view kCustomerNotFound = "Kunde inte hitta kund: ";
inline constexpr std::string_view kContactNotFound = "Kunde inte hitta kontakt med id: ";
inline constexpr std::string_view kNoAccountingYearToday = "Inget bokföringsår för dagens datum";
inline constexpr std::string_view kCustomerPriceListPrefix = "Customer:";

class TRegisterExport {
public:
    // `priceLists` writes the customer price lists a customer file includes.
    TRegisterExport(TExportModule& module, TPriceListExport& priceLists)
        : module_(module), priceLists_(priceLists) {}

    void ExportCustomers(TDataSet& selection);
    void ExportSuppliers(TDataSet& selection);
    void ExportContacts(TDataSet& selection);
    // A year id, or empty for the year of today's date.
    void ExportAccountPlan(const std::string& year);

    // The record the customer (contact) dataset stands on, into the container.
    void writeCustomerNode(TXMLNode& container);
    void writeContactNode(TXMLNode& container);

    // The customer price lists of the codes the customer export collected, with their articles
    // collected in the article selection; `askForMetaData` 1 asks for each list's extra data.
    void writeCustomerPriceLists(int askForMetaData);

private:
    void WriteCustomerIncludes(const TDataSet& prefs);
    void WriteCompanyInformation();

    TExportModule& module_;
    TPriceListExport& priceLists_;
};

}  // namespace tv

#include "ui/settings_page_table.h"

#include "ui/automation_windows.h"
#include "ui/job_script_host.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

// Pages built from their block of the settings schema.
constexpr TSettingsPageFactory kBlock = GeneratedSettingsPage;

constexpr TSettingsPageRow kRows[] = {
    {"TFormSettingsStandard", "Grundinställningar", "", 2, kBlock},
    {"TFormSetupVismaIntegration", "Integrationsmeny", "Visma", 17, kBlock},
    {"TFormVismaTid", "Visma Tid inställningar", "Visma", 3, kBlock},
    {"TFormExportArticlesPrefs", "Export - Artiklar", "Export", 3, kBlock},
    {"TFormExportBestPrefs", "Export - Beställningar", "Export", 16, kBlock},
    {"TFormExportContactsPrefs", "Export - Kontakter", "Export", 16, kBlock},
    {"TFormExportCustomersPrefs", "Export - Kunder", "Export", 4, kBlock},
    {"TFormSettingsExportCustomerExtraData", "Export kundprislista", "Export - Kunder", 19, kBlock},
    {"TFormExportOfferPrefs", "Export - Offert", "Export", 25, kBlock},
    {"TFormExportOrderPrefs", "Export - Order", "Export", 5, kBlock},
    {"TFormExportInvoicesPrefs", "Export - Fakturor", "Export", 6, kBlock},
    {"TFormExportPricelistsPrefs", "Export - Prislistor", "Export", 16, kBlock},
    {"TFormExportSQL", "Export - SQL", "Export", 7, kBlock},
    {"TFormExportSupplierInvoicesPrefs", "Export - Lev.fakturor", "Export", 8, kBlock},
    {"TFormExportSuppliersPrefs", "Export - Leverantörer", "Export", 9, kBlock},
    {"TFormImportArticlesPrefs", "Import - Artiklar", "Import", 10, kBlock},
    {"TFormImportBestsPrefs", "Import - Beställning", "Import", 10, kBlock},
    {"TFormImportContactsPrefs", "Import - Kontakter", "Import", 12, kBlock},
    {"TFormImportCustomersPrefs", "Import - Kunder", "Import", 11, kBlock},
    {"TFormImportCustomerPaymentsPrefs", "Import - Kundinbetalningar", "Import", 10, kBlock},
    {"TFormImportInvoicesPrefs", "Import - Fakturor", "Import", 13, kBlock},
    {"TFormImportSupplierPrefs", "Import - Leverantörer", "Import", 14, kBlock},
    {"TFormSettingsImportSupplierInvoice", "Import - Leverantörsfakturor", "Import", 15, kBlock},
    {"TFormImportOfferPrefs", "Import - Offert", "Import", 12, kBlock},
    {"TFormImportOrdersPrefs", "Import - Order", "Import", 12, kBlock},
    {"TFormImportProjectsPrefs", "Import - Projekt", "Import", 11, kBlock},
    {"TFormImportAgreementPrefs", "Import - Avtal", "Import", 18, kBlock},
    {"TFormSettingsImportPurchasePrices", "Import - Inköpspriser", "Import", 20, kBlock},
    {"TFormImportSalesPrices", "Import - Försäljningspriser", "Import", 24, kBlock},
    {"TFormImportManInPrefs", "Import - Manuella inleveranser", "Import", 21, kBlock},
    {"TFormImportManOutPrefs", "Import - Manuella utleveranser", "Import", 22, kBlock},
    {"TFormImportDeliveryNotesPrefs", "Import - Följesedel", "Import", 23, kBlock},
    {"TFormScriptHandler", "Scripter", "", 1, NewScripterPage},
    {"TFormRuleMaker", "Regelmakaren", "", 1, NewRuleMakerPage},
};

}  // namespace

std::span<const TSettingsPageRow> SettingsPageRows() {
    return kRows;
}

}  // namespace tv

#include "export/register_export.h"

#include <optional>
#include <vector>

#include "core/app_logger.h"
#include "core/string_utils.h"
#include "export/export_text.h"
#include "export/value_text.h"
#include "platform/data/field.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

constexpr std::string_view kKey = "key";

int IntegerSetting(const TDataSet& prefs, std::string_view field) {
    return prefs.FieldByName(field).AsInteger();
}

// Adds an attribute holding a kit field's text, when that text is not blank.
void SetReferenceAttribute(TXMLNode& record, std::string_view name, const TField& field) {
    const std::string text = field.AsString();
    if (!TrimView(text).empty()) record.SetAttribute(name, text);
}

}  // namespace

void TRegisterExport::WriteCompanyInformation() {
    module_.writeDataSetNodes(*module_.Document().NodeFTGInfo, "atInstallningar",
                              module_.KitDataSet(&TExportDataSets::AdkPrm));
}

void TRegisterExport::writeCustomerPriceLists(int askForMetaData) {
    TSelectionTables& selections = module_.Selections();
    priceLists_.writeCustomerPriceLists(*module_.Document().NodePriceLists, askForMetaData,
                                        selections.CDSArtikelUrval(), selections.CDSPrislistUrval());
}

void TRegisterExport::WriteCustomerIncludes(const TDataSet& prefs) {
    TExportDocument& doc = module_.Document();
    if (IntegerSetting(prefs, "INCLUDES_PRICE_LIST") == 1) {
        writeCustomerPriceLists(IntegerSetting(prefs, "INCLUDES_PRICELIST_META_DATA"));
        if (IntegerSetting(prefs, "INCLUDES_ART_INFO") == 1)
            module_.writeKeyedRegisterNodes(*doc.NodeArticles, module_.Selections().CDSArtikelUrval(), true,
                                            module_.KitDataSet(&TExportDataSets::ADKArtiklar), "atArtiklar");
    }
    if (IntegerSetting(prefs, "INCLUDES_FTG_INFO") == 1) WriteCompanyInformation();
}

void TRegisterExport::writeCustomerNode(TXMLNode& container) {
    TAdkDataSet& customers = module_.KitDataSet(&TExportDataSets::AdkKunder);
    TXMLNode* record = container.AddChild("atKunder");
    const std::string number = customers.FieldByAdkIndex(0).AsString();
    record->SetAttribute(kKey, StripCharsInSet2(number));
    // The customer's own prices are asked for by this code; a code that cannot be added is left
    // out and the run goes on.
    try {
        AppendSelectionKey(module_.Selections().CDSPrislistUrval(),
                           std::string(kCustomerPriceListPrefix) + number);
    } catch (const std::exception& e) {
        AppLogger().LogWarn(std::string(kCustomerPriceListPrefix) + number, e);
    }
    module_.Nodes().AddMappedFields(*record, "atKunder", customers, TRefusedValue::StripAndLogReads);
}

void TRegisterExport::writeContactNode(TXMLNode& container) {
    TAdkDataSet& contacts = module_.KitDataSet(&TExportDataSets::ADKKontakter);
    TXMLNode* record = container.AddChild("atKontakter");
    SetReferenceAttribute(*record, "customerkey", contacts.FieldByAdkIndex(3));
    SetReferenceAttribute(*record, "supplierkey", contacts.FieldByAdkIndex(4));
    record->SetAttribute(kKey, contacts.FieldByAdkIndex(0).AsString());
    // A value that cannot be read or set is logged and written stripped, as for customers,
    // rather than its element left out without a word.
    module_.Nodes().AddMappedFields(*record, "atKontakter", contacts, TRefusedValue::StripAndLogReads);
}

void TRegisterExport::ExportCustomers(TDataSet& selection) {
    const TDataSet& prefs = module_.Settings("CDSExportCustomersPrefs");
    const int mode = IntegerSetting(prefs, "FILE_MANAGEMENT_TYPE");
    if (!module_.FileModeIsBuilt(mode)) return;
    TExportRun run(module_);
    TExportDocument& doc = module_.Document();
    TSelectionTables& selections = module_.Selections();
    selections.CDSPrislistUrval().EmptyDataSet();
    selections.CDSArtikelUrval().EmptyDataSet();
    selection.First();
    TAdkDataSet& customers = module_.KitDataSet(&TExportDataSets::AdkKunder);
    customers.SetAdkSortOrder(asKundnr);
    if (mode == kOneFile) doc.createDefaultNodes();
    // Of each customer found only the fields the document carries are read, not the whole record,
    // unless each file's price lists read the customer (its EAN location and name) as well.
    std::optional<TAdkDataSet::OnlyFieldsScope> onlyMapped;
    if (mode == kOneFile || IntegerSetting(prefs, "INCLUDES_PRICE_LIST") != 1)
        onlyMapped.emplace(customers, module_.Mapping().FieldNumbers("atKunder"));

    module_.Events().setEventCount(selection.RecordCount());
    module_.Events().reportError(Format(kExportingCustomersCount, {selection.RecordCount()}), elInfo);
    for (; !selection.Eof(); selection.Next()) {
        module_.Events().StepProgress();
        const std::string number = Trim(selection.Fields(0).AsString());
        // Each customer read replaces the one before: the dataset never holds the whole register.
        customers.EmptyDataSet();
        if (!customers.AdkNavFind(number, true, true))
            throw Exception(std::string(kCustomerNotFound) + number);
        if (mode == kFilePerRecord) {
            doc.ClearRoot();
            doc.createDefaultNodes();
            selections.CDSPrislistUrval().EmptyDataSet();
            selections.CDSArtikelUrval().EmptyDataSet();
        }
        writeCustomerNode(*doc.NodeCustomers);
        if (mode == kFilePerRecord) {
            WriteCustomerIncludes(prefs);
            module_.SaveDocument(module_.generateCustomerFilename());
        }
    }
    // The dataset is left holding the last customer whole, as a read without the scope leaves it.
    onlyMapped.reset();
    if (!customers.IsEmpty()) customers.RefreshAdkRow();
    if (mode == kOneFile) {
        WriteCustomerIncludes(prefs);
        module_.SaveDocument(module_.generateCustomerFilename());
    }
}

void TRegisterExport::ExportSuppliers(TDataSet& selection) {
    TExportRun run(module_);
    module_.createDefaultNodes();
    module_.writeKeyedRegisterNodes(*module_.Document().NodeSuppliers, selection, true,
                                    module_.KitDataSet(&TExportDataSets::ADKLeverantorer), "atLeverantorer");
    module_.SaveDocument(module_.generateSupplierFilename());
}

void TRegisterExport::ExportContacts(TDataSet& selection) {
    const TDataSet& prefs = module_.Settings("CDSExportContactsPrefs");
    const int mode = IntegerSetting(prefs, "FILE_MANAGEMENT_TYPE");
    if (!module_.FileModeIsBuilt(mode)) return;
    TExportRun run(module_);
    TExportDocument& doc = module_.Document();
    module_.Selections().CDSPrislistUrval().EmptyDataSet();
    module_.Selections().CDSArtikelUrval().EmptyDataSet();
    selection.First();
    TAdkDataSet& contacts = module_.KitDataSet(&TExportDataSets::ADKKontakter);
    contacts.SetAdkSortOrder(asKontaktID);
    if (mode == kOneFile) doc.createDefaultNodes();
    const bool companyInformation = IntegerSetting(prefs, "INCLUDES_FTG_INFO") == 1;

    module_.Events().setEventCount(selection.RecordCount());
    module_.Events().reportError(Format(kExportingContactsCount, {selection.RecordCount()}), elInfo);
    for (; !selection.Eof(); selection.Next()) {
        module_.Events().StepProgress();
        const std::string id = Trim(selection.Fields(0).AsString());
        if (!contacts.AdkNavFind(id, true, true)) throw Exception(std::string(kContactNotFound) + id);
        if (mode == kFilePerRecord) {
            doc.ClearRoot();
            doc.createDefaultNodes();
        }
        writeContactNode(*doc.NodeContacts);
        if (mode == kFilePerRecord) {
            if (companyInformation) WriteCompanyInformation();
            module_.SaveDocument(module_.generateContactsFilename());
        }
    }
    if (mode == kOneFile) {
        if (companyInformation) WriteCompanyInformation();
        module_.SaveDocument(module_.generateContactsFilename());
    }
}

}  // namespace tv

#include "export/document_export.h"

#include "export/export_text.h"
#include "export/package_articles.h"
#include "platform/data/field.h"

namespace tv {
namespace {

// Reported before each include (in TDocumentInclude order; none before suppliers) and the file
// name of the invoices' per-document files.
constexpr std::string_view kIncludeLines[] = {"Hämtar kunder", "Hämtar artiklar", "FTG-Info", ""};
static_assert(std::size(kIncludeLines) == static_cast<size_t>(TDocumentInclude::Suppliers) + 1);
constexpr std::string_view kMakingFileName = "Skapar filnamn";

constexpr int kPrinted = 6;
constexpr int kPickListPrinted = 11;
constexpr int kDeliveryNotePrinted = 12;
constexpr int kBestPrinted = 24;

constexpr std::array<TIncludeSelection, 2> kSalesIncludes{&TSelectionTables::CDSKundUrval,
                                                          &TSelectionTables::CDSArtikelUrval};

constexpr TDocumentKind kOrders{
    .WriteNode = &TDocumentNodes::writeOrderNode,
    .Container = &TExportDocument::NodeOrders,
    .Head = &TExportDataSets::AdkOrder,
    .SortOrder = asOrderNr,
    .SettingsTable = "CDSExportOrderPrefs",
    .FileModeSetting = "ORDER_FILE_MANAGEMENT_TYPE",
    .IncludeSelections = kSalesIncludes,
    .Includes = {{{TDocumentInclude::Customers, "ORDER_INCLUDES_CUSTOMERS"},
                  {TDocumentInclude::Articles, "ORDER_INCLUDES_ARTICLES"},
                  {TDocumentInclude::CompanyInformation, "INCLUDES_FTG_INFO"}}},
    .ExportingText = "Exporterar order ",
    .NotFoundText = "Kunde inte hitta order",
    .FileName = &TExportModule::generateOrderFilename,
    .MarkNoun = "order",
    .MarkFlags = {{{"ORDER_PRINT_ON_EXPORT", kPrinted},
                   {"ORDER_PLOCKLISTA_ON_EXPORT", kPickListPrinted},
                   {"ORDER_FS_ON_EXPORT", kDeliveryNotePrinted}}},
};
constexpr TDocumentKind kOffers{
    .WriteNode = &TDocumentNodes::writeOfferNode,
    .Container = &TExportDocument::NodeOffers,
    .Head = &TExportDataSets::AdkOffert,
    .SortOrder = asOffertNr,
    .SettingsTable = "CDSExportOfferPrefs",
    .FileModeSetting = "FILE_MANAGEMENT_TYPE",
    .IncludeSelections = kSalesIncludes,
    .Includes = {{{TDocumentInclude::Customers, "INCLUDES_CUSTOMERS"},
                  {TDocumentInclude::Articles, "INCLUDES_ARTICLES"},
                  {TDocumentInclude::CompanyInformation, "INCLUDES_FTG_INFO"}}},
    .ExportingText = "Exporterar offert ",
    .NotFoundText = "Kunde inte hitta offert",
    .FileName = &TExportModule::generateOfferFilename,
    .MarkNoun = "offert",
    .MarkFlags = {{{"PRINT_ON_EXPORT", kPrinted}}},
};
constexpr TDocumentKind kInvoices{
    .WriteNode = &TDocumentNodes::writeInvoiceNode,
    .Container = &TExportDocument::NodeInvoices,
    .Head = &TExportDataSets::ADKFakturor,
    .SortOrder = asFakturaNr,
    .SettingsTable = "CDSExportInvoicesPrefs",
    .FileModeSetting = "INVOICE_FILE_MANAGEMENT_TYPE",
    .IncludeSelections = kSalesIncludes,
    .Includes = {{{TDocumentInclude::Customers, "INVOICE_INCLUDES_CUSTOMERS"},
                  {TDocumentInclude::Articles, "INVOICE_INCLUDES_ARTICLES"},
                  {TDocumentInclude::CompanyInformation, "INCLUDES_FTG_INFO"}}},
    .ExportingText = "Exporterar faktura ",
    .NotFoundText = "Kunde inte hitta faktura: ",
    .FetchingText = "Hämtar fakturor",
    .FileName = &TExportModule::generateInvoiceFilename,
    .MarkNoun = "faktura",
    .MarkFlags = {{{"INVOICE_SET_PRINTED", kPrinted}}},
    .MarkSetting = "INVOICE_SET_PRINTED",
};
// Purchase orders carry the company information before their suppliers and articles.
constexpr TDocumentKind kBest{
    .WriteNode = &TDocumentNodes::writeBestNode,
    .Container = &TExportDocument::NodeBest,
    .Head = &TExportDataSets::ADKBest,
    .SortOrder = asBestallningNr,
    .OpensHead = true,
    .SettingsTable = "CDSExportBestPrefs",
    .FileModeSetting = "BEST_FILE_MANAGEMENT_TYPE",
    .IncludeSelections = {&TSelectionTables::CDSLeverantorUrval, &TSelectionTables::CDSArtikelUrval},
    .Includes = {{{TDocumentInclude::CompanyInformation, "BEST_INCLUDES_FTG_INFO"},
                  {TDocumentInclude::Suppliers, "BEST_INCLUDES_CUSTOMERS"},
                  {TDocumentInclude::Articles, "BEST_INCLUDES_ARTICLES"}}},
    .ExportingText = "Exporterar beställning ",
    .NotFoundText = "Kunde inte hitta beställning ",
    .FileName = &TExportModule::generateBestFilename,
    .EmptyNameText = "Filnamnet för beställning är tomt, kontrollera inställningarna",
    .MarkNoun = "beställning",
    .MarkFlags = {{{.KitField = kBestPrinted, .Always = true}}},
    .MarkSetting = "BEST_MARK_PRINTED",
};
// Supplier invoices carry their suppliers only, and are not marked.
constexpr TDocumentKind kSupplierInvoices{
    .WriteNode = &TDocumentNodes::writeSupplierInvoiceNode,
    .Container = &TExportDocument::NodeSupplierInvoices,
    .Head = &TExportDataSets::ADKLevFakturor,
    .SortOrder = asLevFakturaNr,
    .SettingsTable = "CDSExportSupplierInvoicePrefs",
    .FileModeSetting = "SUPINV_FILE_MANAGEMENT_TYPE",
    .IncludeSelections = {&TSelectionTables::CDSLeverantorUrval},
    .Includes = {{{TDocumentInclude::Suppliers, "SUPINV_INCLUDES_SUPPLIERS", true}}},
    .ExportingText = "Behandlar leverantörsfaktura[",
    .ExportingItem = true,
    .NotFoundText = "Kunde inte hitta leverantörsfaktura ",
    .FileName = &TExportModule::generateSupplierInvoiceFilename,
};

// A Boolean setting is on when set, an integer one when it is 1.
bool SwitchIsOn(const TDataSet& prefs, std::string_view setting) {
    const TField& field = prefs.FieldByName(setting);
    return field.DataType() == TFieldType::ftBoolean ? field.AsBoolean() : field.AsInteger() == 1;
}

}  // namespace

void TDocumentExport::ExportOrders(TDataSet& selection) {
    Export(kOrders, selection);
}

void TDocumentExport::ExportOffers(TDataSet& selection) {
    Export(kOffers, selection);
}

void TDocumentExport::ExportInvoices(TDataSet& selection) {
    Export(kInvoices, selection);
}

void TDocumentExport::ExportBest(TDataSet& selection) {
    Export(kBest, selection);
}

void TDocumentExport::ExportSupplierInvoices(TDataSet& selection) {
    Export(kSupplierInvoices, selection);
}

void TDocumentExport::onPrintOrder(TDataSet& selection, int single) {
    Mark(kOrders, selection, single);
}

void TDocumentExport::onPrintOffer(TDataSet& selection, int single) {
    Mark(kOffers, selection, single);
}

void TDocumentExport::onSaveInvoice(TDataSet& selection, int single) {
    Mark(kInvoices, selection, single);
}

void TDocumentExport::onPrintBest(TDataSet& selection, int single) {
    Mark(kBest, selection, single);
}

void TDocumentExport::Export(const TDocumentKind& kind, TDataSet& selection) {
    const TDataSet& prefs = module_.Settings(kind.SettingsTable);
    const int mode = prefs.FieldByName(kind.FileModeSetting).AsInteger();
    if (!module_.FileModeIsBuilt(mode)) return;
    TAdkDataSet& head = module_.KitDataSet(kind.Head);
    if (kind.OpensHead && !head.Active()) head.MakeOpen();
    TExportRun run(module_);
    TExportDocument& doc = module_.Document();
    TSelectionTables& selections = module_.Selections();
    const auto emptyIncludes = [&] {
        for (TIncludeSelection include : kind.IncludeSelections)
            if (include) (selections.*include)().EmptyDataSet();
    };
    emptyIncludes();
    selection.First();
    if (head.AdkSortOrder() != kind.SortOrder) head.SetAdkSortOrder(kind.SortOrder);
    if (mode == kOneFile) doc.createDefaultNodes();
    if (kind.FetchingText.empty() && !kind.ExportingItem)
        module_.Events().setEventCount(selection.RecordCount());

    int position = -1;
    for (; !selection.Eof(); selection.Next()) {
        ++position;
        const std::string number = Trim(selection.Fields(0).AsString());
        ReportDocument(kind, number);
        if (!head.AdkNavFind(number, true, true)) throw Exception(std::string(kind.NotFoundText) + number);
        if (mode == kFilePerRecord) {
            doc.ClearRoot();
            doc.createDefaultNodes();
            emptyIncludes();
        }
        (nodes_.*kind.WriteNode)(*(doc.*kind.Container));
        if (mode == kFilePerRecord) {
            WriteIncludes(kind, prefs, true);
            Save(kind, position, true);
            Mark(kind, selection, 1);
        }
    }
    if (mode == kOneFile) {
        WriteIncludes(kind, prefs, false);
        Save(kind, position, false);
        Mark(kind, selection, 0);
    }
}

void TDocumentExport::ReportDocument(const TDocumentKind& kind, const std::string& number) {
    IEventSink& events = module_.Events();
    if (kind.ExportingItem) {
        events.addEventItem(std::string(kind.ExportingText) + number + "]", false);
        return;
    }
    events.reportError(std::string(kind.ExportingText) + number, elInfo);
    if (kind.FetchingText.empty()) {
        events.StepProgress();
    } else {
        events.reportError(kind.FetchingText, elInfo);
    }
}

void TDocumentExport::WriteIncludes(const TDocumentKind& kind, const TDataSet& prefs, bool perDocument) {
    TExportDocument& doc = module_.Document();
    TDataSet& articles = module_.Selections().CDSArtikelUrval();
    for (const TIncludeSwitch& include : kind.Includes) {
        if (include.Setting.empty() || !SwitchIsOn(prefs, include.Setting)) continue;
        const std::string_view line = kIncludeLines[static_cast<int>(include.Include)];
        if (perDocument && !kind.FetchingText.empty() && !line.empty())
            module_.Events().reportError(line, elInfo);
        switch (include.Include) {
            case TDocumentInclude::Customers:
                module_.writeKeyedRegisterNodes(*doc.NodeCustomers, module_.Selections().CDSKundUrval(),
                                                include.CountsProgress,
                                                module_.KitDataSet(&TExportDataSets::AdkKunder), "atKunder");
                break;
            case TDocumentInclude::Suppliers:
                module_.writeKeyedRegisterNodes(
                    *doc.NodeSuppliers, module_.Selections().CDSLeverantorUrval(), include.CountsProgress,
                    module_.KitDataSet(&TExportDataSets::ADKLeverantorer), "atLeverantorer");
                break;
            case TDocumentInclude::Articles: {
                const bool packages = module_.Settings("CDSExportArticlesPrefs")
                                          .FieldByName("INCLUDE_PACKAGE_ARTICLES")
                                          .AsBoolean();
                addPackageArticles(module_, articles);
                module_.writeKeyedRegisterNodes(*doc.NodeArticles, articles, true,
                                                module_.KitDataSet(&TExportDataSets::ADKArtiklar),
                                                "atArtiklar");
                if (packages)
                    module_.writeAdkRecordsByKey(*doc.NodeParcelArticles, articles, true,
                                                 module_.KitDataSet(&TExportDataSets::AdkPaketArtiklar),
                                                 "atPaketArtiklar");
                break;
            }
            case TDocumentInclude::CompanyInformation:
                module_.writeDataSetNodes(*doc.NodeFTGInfo, "atInstallningar",
                                          module_.KitDataSet(&TExportDataSets::AdkPrm));
                break;
        }
    }
}

void TDocumentExport::Save(const TDocumentKind& kind, int position, bool perDocument) {
    if (perDocument && !kind.FetchingText.empty()) module_.Events().reportError(kMakingFileName, elInfo);
    const std::string name = (module_.*kind.FileName)(position);
    if (!perDocument && !kind.EmptyNameText.empty() && Trim(name).empty())
        throw Exception(std::string(kind.EmptyNameText));
    module_.SaveDocument(name);
}

void TDocumentExport::Mark(const TDocumentKind& kind, TDataSet& selection, int single) {
    const TDataSet& prefs = module_.Settings(kind.SettingsTable);
    std::array<bool, 3> flagsOn{};
    bool marks = !kind.MarkSetting.empty() && prefs.FieldByName(kind.MarkSetting).AsInteger() != 0;
    for (size_t i = 0; i < kind.MarkFlags.size(); ++i) {
        const TMarkFlag& flag = kind.MarkFlags[i];
        if (flag.Setting.empty() && !flag.Always) continue;
        flagsOn[i] = flag.Always || SwitchIsOn(prefs, flag.Setting);
        if (kind.MarkSetting.empty()) marks = marks || flagsOn[i];
    }
    if (!marks) return;
    TAdkDataSet& head = module_.KitDataSet(kind.Head);
    if (single == 1) {
        MarkDocument(kind, head, selection.Fields(0).AsString(), flagsOn);
        return;
    }
    selection.First();
    selection.SetFiltered(false);
    for (; !selection.Eof(); selection.Next())
        MarkDocument(kind, head, selection.Fields(0).AsString(), flagsOn);
}

void TDocumentExport::MarkDocument(const TDocumentKind& kind, TAdkDataSet& head, const std::string& number,
                                   const std::array<bool, 3>& flagsOn) {
    if (!head.AdkNavFind(number, true, true)) return;
    IEventSink& events = module_.Events();
    try {
        head.Edit();
        events.reportError(std::string(kMarkingFlags) + std::string(kind.MarkNoun) + " [" + number + "]",
                           elExcessive);
        for (size_t i = 0; i < kind.MarkFlags.size(); ++i)
            if (flagsOn[i]) head.FieldByAdkIndex(kind.MarkFlags[i].KitField).SetAsBoolean(true);
        head.Post();
    } catch (const std::exception& e) {
        head.Cancel();
        events.reportError(std::string(kMarkingFailed) + std::string(kind.MarkNoun) + " " + number +
                               std::string(kMarkingFailedReason) + e.what(),
                           elWarning);
    }
}

}  // namespace tv

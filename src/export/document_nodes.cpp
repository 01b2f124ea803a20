#include "export/document_nodes.h"

#include "core/app_logger.h"
#include "core/string_utils.h"
#include "export/value_text.h"
#include "platform/data/db_error.h"
#include "platform/data/field.h"
#include "platform/rtl/hundredths_text.h"
#include "platform/rtl/number_text.h"
#include "platform/xml/xml_error.h"

namespace tv {
namespace {

constexpr std::string_view kKey = "key";
constexpr std::string_view kRowsElement = "rows";
constexpr std::string_view kRowElement = "row";
constexpr std::string_view kArticleColumn = "artnr";

// Kit fields: the document's number (head field 0), and of each row its article and its type
// (empty for an article row).
constexpr int kDocumentNumber = 0;
constexpr int kRowArticle = 0;
constexpr int kRowType = 19;
// Parcels: their order's number, and what their elements are named after.
constexpr int kParcelOrder = 11;
constexpr std::string_view kParcelHead = "atKolliHuvud";
constexpr std::string_view kParcelRows = "atKolliRader";

constexpr TDocumentReference kCustomer{"customerkey", 14, &TSelectionTables::CDSKundUrval};
// Purchase documents add their supplier on every document, as often as it comes.
constexpr TDocumentReference kSupplier{"", 1, &TSelectionTables::CDSLeverantorUrval};

constexpr TDocumentLayout kOrderLayout{
    .Item = "order",
    .Head = "atOrder",
    .Rows = "atOrderRader",
    .HeadData = &TExportDataSets::AdkOrder,
    .Keys = TDocumentKeys::KeyAndStrippedReference,
    .Reference = kCustomer,
    .HeadValues = TRefusedValue::StripAndLogReads,
    .RowValues = TRefusedValue::StripAndLogRows,
    .Vat = TVatDifference::TotalMinusStored,
    .SettingsTable = "CDSExportOrderPrefs",
    .ParcelsSetting = "ORDER_INCLUDES_KOLLI",
};
// A head value the document refuses keeps its element, logged and stripped, as for orders,
// rather than the element vanishing without a word.
constexpr TDocumentLayout kOfferLayout{
    .Item = "offer",
    .Head = "atOffert",
    .Rows = "atOffertRader",
    .HeadData = &TExportDataSets::AdkOffert,
    .Keys = TDocumentKeys::KeyAndReference,
    .Reference = kCustomer,
    .HeadValues = TRefusedValue::StripAndLogReads,
    .RowValues = TRefusedValue::Raise,
};
constexpr TDocumentLayout kInvoiceLayout{
    .Item = "invoice",
    .Head = "atFakturor",
    .Rows = "atFakturaRader",
    .HeadData = &TExportDataSets::ADKFakturor,
    .Keys = TDocumentKeys::None,
    .Reference = kCustomer,
    .HeadValues = TRefusedValue::StripAlways,
    .RowValues = TRefusedValue::StripAlways,
    .Vat = TVatDifference::RowsMinusStored,
};

constexpr TDocumentLayout kBestLayout{
    .Item = "best",
    .Head = "atBestallningar",
    .Rows = "atBestallningrader",
    .HeadData = &TExportDataSets::ADKBest,
    .Keys = TDocumentKeys::None,
    .Reference = kSupplier,
    .HeadValues = TRefusedValue::StripAndLogRows,
    .RowValues = TRefusedValue::StripAndLogRows,
};
constexpr TDocumentLayout kSupplierInvoiceLayout{
    .Item = "supplierinvoice",
    .Head = "atLevFakturor",
    .Rows = "atLevFakturaRader",
    .HeadData = &TExportDataSets::ADKLevFakturor,
    .Keys = TDocumentKeys::None,
    .Reference = kSupplier,
    .HeadValues = TRefusedValue::StripAndLogNamingOthers,
    .RowValues = TRefusedValue::StripAndLogRows,
    .CollectsArticles = false,
};

}  // namespace

void TDocumentNodes::writeOrderNode(TXMLNode& container) {
    WriteDocument(kOrderLayout, container);
}

void TDocumentNodes::writeOfferNode(TXMLNode& container) {
    WriteDocument(kOfferLayout, container);
}

void TDocumentNodes::writeInvoiceNode(TXMLNode& container) {
    WriteDocument(kInvoiceLayout, container);
}

void TDocumentNodes::writeBestNode(TXMLNode& container) {
    WriteDocument(kBestLayout, container);
}

void TDocumentNodes::writeSupplierInvoiceNode(TXMLNode& container) {
    WriteDocument(kSupplierInvoiceLayout, container);
}

void TDocumentNodes::WriteDocument(const TDocumentLayout& layout, TXMLNode& container) {
    TAdkDataSet& head = module_.KitDataSet(layout.HeadData);
    TAdkDataSet& rows = module_.RowsOf(head);
    TRecordNodes& nodes = module_.Nodes();
    const TFormatSettings& settings = head.FormatSettings();

    TXMLNode* item = container.AddChild(layout.Item);
    TXMLNode* headNode = item->AddChild(layout.Head);
    SetKeys(layout, *headNode, head);
    TXMLNode* rowsNode = item->AddChild(kRowsElement);
    AddReference(layout.Reference, head);
    nodes.AddMappedFields(*headNode, layout.Head, head, layout.HeadValues);

    std::optional<TCalculatedVat> vat;
    if (layout.Vat) vat.emplace(head);
    for (rows.First(); !rows.Eof(); rows.Next()) {
        TXMLNode* row = rowsNode->AddChild(kRowElement);
        nodes.AddMappedFields(*row, layout.Rows, rows, layout.RowValues);
        if (vat) {
            const int64_t rowVat = vat->AddRow(rows);
            AddNumber(*row, kRowVat, rowVat);
            row->AddChild(kRowVatFloat)->SetText(HundredthsToStr(rowVat, settings));
        }
        if (layout.CollectsArticles) AddArticle(rows);
    }
    if (!layout.ParcelsSetting.empty() &&
        module_.Settings(layout.SettingsTable).FieldByName(layout.ParcelsSetting).AsInteger() == 1)
        WriteParcels(*item, head);
    if (!vat) return;
    WriteHeadVat(*headNode, *vat, *layout.Vat, settings);
    const int64_t difference = vat->Difference(*layout.Vat);
    if (difference != 0 && rowsNode->HasChildNodes()) AdjustLastRow(*rowsNode, difference);
}

void TDocumentNodes::SetKeys(const TDocumentLayout& layout, TXMLNode& head, const TAdkDataSet& data) {
    if (layout.Keys == TDocumentKeys::None) return;
    std::string scratch;
    head.SetAttribute(kKey, FieldText(data.FieldByAdkIndex(kDocumentNumber), scratch));
    const std::string reference = data.FieldByAdkIndex(layout.Reference.KitField).AsString();
    if (reference.empty()) return;
    const std::string_view attribute = layout.Reference.Attribute;
    if (layout.Keys == TDocumentKeys::KeyAndStrippedReference) {
        head.SetAttribute(attribute, StripCharsInSet2(reference));
        return;
    }
    try {
        head.SetAttribute(attribute, reference);
    } catch (const EXMLDocError&) {
        head.SetAttribute(attribute, StripCharsInSet2(reference));
    }
}

void TDocumentNodes::AddReference(const TDocumentReference& reference, const TAdkDataSet& data) {
    // A number already in a selection that refuses duplicates is simply not added again.
    try {
        AppendSelectionKey((module_.Selections().*reference.Selection)(),
                           data.FieldByAdkIndex(reference.KitField).AsString());
    } catch (const EDatabaseError& e) {
        if (std::string_view(e.what()) != kKeyViolation) throw;
    }
}

void TDocumentNodes::AddArticle(const TAdkDataSet& rows) {
    if (!rows.FieldByAdkIndex(kRowType).AsString().empty()) return;
    const std::string number = rows.FieldByAdkIndex(kRowArticle).AsString();
    TClientDataSet& articles = module_.Selections().CDSArtikelUrval();
    if (articles.Locate(kArticleColumn, Variant::FromUtf8(number))) return;
    // An article that cannot be added is left out of the include; the document is written.
    try {
        AppendSelectionKey(articles, number);
    } catch (const std::exception& e) {
        AppLogger().LogWarn(number, e);
    }
}

void TDocumentNodes::WriteParcels(TXMLNode& item, const TAdkDataSet& head) {
    TAdkDataSet& parcels = module_.KitDataSet(&TExportDataSets::ADKKolli);
    TAdkDataSet& parcelRows = module_.RowsOf(parcels);
    TRecordNodes& nodes = module_.Nodes();
    if (parcels.AdkSortOrder() != asKolliOrderNr) parcels.SetAdkSortOrder(asKolliOrderNr);
    std::string scratch;
    const TField& order = head.FieldByAdkIndex(kDocumentNumber);
    // The kit keeps a find on parcels to the parcels of that order; the walk still stops at the
    // first parcel of another one.
    bool positioned = parcels.AdkNavFind(std::string(FieldText(order, scratch)), true, true);
    if (!positioned) return;
    TXMLNode* parcelsNode = item.AddChild("parcels");
    while (positioned && parcels.FieldByAdkIndex(kParcelOrder).AsFloat() == order.AsFloat()) {
        TXMLNode* parcel = parcelsNode->AddChild("parcel");
        nodes.AddMappedFields(*parcel, kParcelHead, parcels, TRefusedValue::Raise);
        for (parcelRows.First(); !parcelRows.Eof(); parcelRows.Next())
            nodes.AddMappedFields(*parcel->AddChild("parcelrow"), kParcelRows, parcelRows, TRefusedValue::Raise);
        positioned = parcels.AdkNavNext();
    }
}

void TDocumentNodes::WriteHeadVat(TXMLNode& head, const TCalculatedVat& vat, TVatDifference difference,
                                  const TFormatSettings& settings) {
    AddNumber(head, kHeadFreightVat, vat.Freight());
    AddNumber(head, kHeadDispatchFeeVat, vat.DispatchFee());
    AddNumber(head, kHeadRowVat, vat.RowSum());
    head.AddChild(kHeadRowVatFloat)->SetText(HundredthsToStr(vat.RowSum(), settings));
    AddNumber(head, kHeadVat, vat.Total());
    head.AddChild(kHeadVatFloat)->SetText(HundredthsToStr(vat.Total(), settings));
    AddNumber(head, kHeadVatDifference, vat.Difference(difference));
}

void TDocumentNodes::AdjustLastRow(TXMLNode& rows, int64_t difference) {
    TXMLNode& last = *rows.ChildNode(rows.ChildCount() - 1);
    TXMLNode* rowVat = last.FindNode(kRowVat);
    if (!rowVat || rowVat->Text() == "0") return;
    const std::string before = rowVat->Text();
    const int64_t adjusted = StrToInt64(before) + difference;
    last.AddChild(kRowVatBeforeAdjustment)->SetText(before);
    rowVat->SetText(IntToStr(adjusted));
}

void TDocumentNodes::AddNumber(TXMLNode& parent, std::string_view name, int64_t hundredths) {
    parent.AddChild(name)->SetText(IntToStr(hundredths));
}

}  // namespace tv

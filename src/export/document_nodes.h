#pragma once
// The node writers of documents: one document item (its head with the mapped fields and reference
// attributes, its rows, for sales documents the calculated VAT, for orders their parcels) appended
// to a container, the numbers it refers to added to the include selections. What a kind writes is
// one row of data (TDocumentLayout); further document kinds add a row.

#include <optional>
#include <string>
#include <string_view>

#include "export/calculated_vat.h"
#include "export/export_module.h"

namespace tv {

// The VAT elements, in the order they are written.
inline constexpr std::string_view kRowVat = "OOI_ROW_CALCULATED_VAT";
inline constexpr std::string_view kRowVatFloat = "OOI_ROW_CALCULATED_VAT_FLOAT";
inline constexpr std::string_view kRowVatBeforeAdjustment = "OOI_ROW_CALCULATED_VAT_BEFORE_ADJUSTMENT";
inline constexpr std::string_view kHeadFreightVat = "OOI_HEAD_CARGO_CALCULATED_VAT";
inline constexpr std::string_view kHeadDispatchFeeVat = "OOI_HEAD_DISPATCH_FEE_CALCULATED_VAT";
inline constexpr std::string_view kHeadRowVat = "OOI_HEAD_SUM_ROW_CALCULATED_VAT";
inline constexpr std::string_view kHeadRowVatFloat = "OOI_HEAD_SUM_ROW_CALCULATED_VAT_FLOAT";
inline constexpr std::string_view kHeadVat = "OOI_HEAD_SUM_CALCULATED_VAT";
inline constexpr std::string_view kHeadVatFloat = "OOI_HEAD_SUM_CALCULATED_VAT_FLOAT";
inline constexpr std::string_view kHeadVatDifference = "OOI_HEAD_SUM_CALCULATED_VAT_DIFF";

// The attributes of a document's head element.
enum class TDocumentKeys {
    None,
    KeyAndStrippedReference,  // "key"; the reference without the strip set, when not empty
    KeyAndReference,          // "key"; the reference as it stands (stripped only when refused), when not empty
};

// A number of the head that the document refers to, collected into an include selection.
struct TDocumentReference {
    std::string_view Attribute;  // "customerkey"; empty for documents whose head has no attributes
    int KitField;
    TClientDataSet& (TSelectionTables::*Selection)() const;
};

struct TDocumentLayout {
    std::string_view Item;  // "order"
    std::string_view Head;  // "atOrder": the head element and its mapping table
    std::string_view Rows;  // "atOrderRader": the rows' mapping table
    // Stands on the document; its rows dataset follows it.
    TExportDataSet HeadData;
    TDocumentKeys Keys;
    TDocumentReference Reference;
    TRefusedValue HeadValues;
    TRefusedValue RowValues;
    // The calculated VAT and the difference it reports; none: no VAT elements.
    std::optional<TVatDifference> Vat;
    // The numbers of the rows' articles join the article selection (not for supplier invoices).
    bool CollectsArticles = true;
    // The integer setting of `SettingsTable` whose 1 writes the order's parcels; empty: none.
    std::string_view SettingsTable;
    std::string_view ParcelsSetting;
};

class TDocumentNodes {
public:
    explicit TDocumentNodes(TExportModule& module) : module_(module) {}

    // The document the kind's head dataset stands on, appended to the container.
    void writeOrderNode(TXMLNode& container);
    void writeOfferNode(TXMLNode& container);
    void writeInvoiceNode(TXMLNode& container);
    void writeBestNode(TXMLNode& container);
    void writeSupplierInvoiceNode(TXMLNode& container);
    void WriteDocument(const TDocumentLayout& layout, TXMLNode& container);

private:
    void SetKeys(const TDocumentLayout& layout, TXMLNode& head, const TAdkDataSet& data);
    void AddReference(const TDocumentReference& reference, const TAdkDataSet& data);
    // An article row's number (row field 19 empty) joins the article selection unless it is there.
    void AddArticle(const TAdkDataSet& rows);
    void WriteParcels(TXMLNode& item, const TAdkDataSet& head);
    void WriteHeadVat(TXMLNode& head, const TCalculatedVat& vat, TVatDifference difference,
                      const TFormatSettings& settings);
    // The last row's VAT moved by a difference, keeping what it was.
    void AdjustLastRow(TXMLNode& rows, int64_t difference);
    void AddNumber(TXMLNode& parent, std::string_view name, int64_t hundredths);

    TExportModule& module_;
};

}  // namespace tv

#include "export/file_names.h"

#include <algorithm>

#include "export/export_text.h"
#include "platform/data/field.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"

namespace tv {
namespace {

using enum TNameValue;
constexpr TNamePlaceholder kExportDate{"$exportdatum", ExportDate, -1};

constexpr TNamePlaceholder kDateOnly[] = {kExportDate};
constexpr TNamePlaceholder kBest[] = {{"$bestnr", Number, 0}, {"$levnr", Text, 1}, kExportDate};
constexpr TNamePlaceholder kContacts[] = {{"$kundnr", Text, 3}, kExportDate};
constexpr TNamePlaceholder kCustomer[] = {{"$kundnr", Text, 0}, kExportDate};
constexpr TNamePlaceholder kInvoice[] = {
    {"$fakturanr", Number, 0}, {"$kundnr", Text, 14}, kExportDate, {"$orderdatum", RecordDate, 8}};
constexpr TNamePlaceholder kOffer[] = {{"$offertnr", Number, 0},
                                       {"$kundnr", Text, 14},
                                       kExportDate,
                                       {"$offertdatum", RecordDate, 8},
                                       {"$datum", RecordDate, 8}};
constexpr TNamePlaceholder kOrder[] = {
    {"$ordernr", Number, 0}, {"$kundnr", Text, 14}, kExportDate, {"$orderdatum", RecordDate, 8}};
constexpr TNamePlaceholder kPricelist[] = {{"$prislista", Text, 0}, kExportDate};
constexpr TNamePlaceholder kSupplier[] = {{"$levnr", Text, 0}, kExportDate};
// Supplier invoices name the supplier "$kundnr".
constexpr TNamePlaceholder kSupplierInvoice[] = {
    {"$ordernr", Number, 0}, {"$kundnr", Text, 1}, kExportDate, {"$orderdatum", RecordDate, 8}};

using enum TFileNameKind;
using enum TNameDefault;
// In TFileNameKind order. The chart of accounts, contacts and supplier invoices keep running
// numbers of their own; contacts replace the placeholder they test for.
constexpr TFileNameDef kDefs[] = {
    {AccountingYear, "FILE_MANAGEMENT_TMPL", "FILE_DATE_FORMAT", "", "FILE_IDENTITY_FORMAT", "", None,
     kDateOnly, "$lopnr", "LOPNR_EXPORT_ACCOUNTPLAN"},
    {Article, "FILE_MANAGEMENT_TMPL", "FILE_DATE_FORMAT", "", "FILE_IDENTITY_FORMAT", "", None, kDateOnly,
     "$lopnr", "LOPNR_EXPORT_ARTIKLAR"},
    {Best, "BEST_FILE_MANAGEMENT_TMPL", "BEST_FILE_DATE_FORMAT", "BEST_FILE_ORDERNR_FORMAT",
     "BEST_FILE_IDENTITY_FORMAT", "Best_$exportdatum.xml", WhenBlank, kBest, "$lopnr_best",
     "LOPNR_EXPORT_BEST"},
    {Contacts, "FILE_MANAGEMENT_TMPL", "FILE_DATE_FORMAT", "", "FILE_IDENTITY_FORMAT", "", None, kContacts,
     "$lopnr", "LOPNR_EXPORT_KONTAKTER"},
    {Customer, "FILE_MANAGEMENT_TMPL", "FILE_DATE_FORMAT", "", "FILE_IDENTITY_FORMAT", "", None, kCustomer,
     "$lopnr_kunder", "LOPNR_EXPORT_KUNDER"},
    {Invoice, "INVOICE_FILE_MANAGEMENT_TMPL", "INVOICE_FILE_DATE_FORMAT", "INVOICE_FILE_INVOICE_FORMAT",
     "INVOICE_FILE_IDENTITY_FORMAT", "Invoice_$exportdatum", WhenBlank, kInvoice, "$lopnr_faktura",
     "LOPNR_EXPORT_FAKTUROR"},
    {Offer, "FILE_MANAGEMENT_TMPL", "FILE_DATE_FORMAT", "FILE_ORDERNR_FORMAT", "FILE_IDENTITY_FORMAT",
     "Offert_$exportdatum", WhenBlank, kOffer, "$lopnr_offert", "LOPNR_EXPORT_OFFER"},
    {Order, "ORDER_FILE_MANAGEMENT_TMPL", "ORDER_FILE_DATE_FORMAT", "ORDER_FILE_ORDERNR_FORMAT",
     "ORDER_FILE_IDENTITY_FORMAT", "Order_$exportdatum", WhenBlank, kOrder, "$lopnr_order",
     "LOPNR_EXPORT_ORDER"},
    {Pricelist, "FILE_MANAGEMENT_TMPL", "FILE_DATE_FORMAT", "", "", "export.xml", WhenBlankAfterReplacing,
     kPricelist, "", ""},
    {SQL, "SQL_FILE_MANAGEMENT_TMPL", "SQL_FILE_DATE_FORMAT", "", "", "custom.xml", WhenEmpty, kDateOnly, "",
     ""},
    {Supplier, "FILE_MANAGEMENT_TMPL", "FILE_DATE_FORMAT", "", "FILE_IDENTITY_FORMAT", "", None, kSupplier,
     "$lopnr_levnr", "LOPNR_EXPORT_LEVERANTORER"},
    {SupplierInvoice, "SUPINV_FILE_MANAGEMENT_TMPL", "SUPINV_FILE_DATE_FORMAT", "SUPINV_FILE_SUPINV_FORMAT",
     "SUPINV_FILE_IDENTITY_FORMAT", "", None, kSupplierInvoice, "$lopnr_order", "LOPNR_EXPORT_SUPINV"},
};

constexpr bool DefsInKindOrder() {
    for (size_t i = 0; i < std::size(kDefs); ++i)
        if (static_cast<size_t>(kDefs[i].Kind) != i) return false;
    return std::size(kDefs) == static_cast<size_t>(SupplierInvoice) + 1;
}
static_assert(DefsInKindOrder());

// A value put into a name stays inside one path component: separators become "_", and a value of
// dots alone ("." or "..") cannot name a folder.
std::string Harmless(std::string value) {
    std::replace(value.begin(), value.end(), '/', '_');
    std::replace(value.begin(), value.end(), '\\', '_');
    if (!value.empty() && value.find_first_not_of('.') == std::string::npos) value.assign(value.size(), '_');
    return value;
}

// Templates written on Windows separate folders with "\".
std::string WithSlashes(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

}  // namespace

const TFileNameDef& FileNameDef(TFileNameKind kind) {
    return kDefs[static_cast<int>(kind)];
}

std::string TExportFileNames::WithFolder(std::string name) const {
    if (!ExtractFilePath(name).empty()) return name;
    // A host without an export folder leaves a bare name relative to the current folder, as a
    // name with a relative folder is, rather than putting it at the file system's root.
    std::string folder = exportFolder_();
    if (folder.empty()) return name;
    return folder + "/" + name;
}

std::string TExportFileNames::Value(const TNamePlaceholder& placeholder, const TFileNameInputs& inputs,
                                    size_t& recordIndex, std::string_view dateFormat,
                                    std::string_view numberFormat, TDateTime now) const {
    if (placeholder.Value == ExportDate) return FormatDateTime(dateFormat, now, settings_);
    if (recordIndex >= inputs.Record.size())
        throw Exception("The name of " + std::string(placeholder.Name) + " has no record value");
    const TFileNameInputs::TValue& value = inputs.Record[recordIndex++];
    switch (placeholder.Value) {
        case Number:
            return FormatFloat(numberFormat, value.Number, settings_);
        case RecordDate:
            return FormatDateTime(dateFormat, value.Number, settings_);
        default:
            return value.Text;
    }
}

std::string TExportFileNames::Expand(TFileNameKind kind, const TFileNameInputs& inputs) {
    const TFileNameDef& def = FileNameDef(kind);
    const std::string_view dateFormat =
        inputs.DateFormat.empty() ? kDefaultNameDateFormat : inputs.DateFormat;
    const std::string_view numberFormat =
        inputs.NumberFormat.empty() ? kDefaultNameNumberFormat : std::string_view(inputs.NumberFormat);
    const TDateTime now = clock_();

    std::string name = inputs.Template;
    if ((def.DefaultRule == WhenBlank && TrimView(name).empty()) ||
        (def.DefaultRule == WhenEmpty && name.empty()))
        name = def.Default;
    name = WithSlashes(std::move(name));
    // The query export puts the folder in front before it replaces the export date.
    if (kind == SQL) name = WithFolder(std::move(name));

    size_t recordIndex = 0;
    for (const TNamePlaceholder& placeholder : def.Placeholders)
        name = ReplaceAllIgnoreCase(
            name, placeholder.Name,
            Harmless(Value(placeholder, inputs, recordIndex, dateFormat, numberFormat, now)));

    if (!def.LopnrPlaceholder.empty() && name.find(def.LopnrPlaceholder) != std::string::npos) {
        const int number = numbers_.getLopNr(def.LopnrField);
        if (number < 0) throw Exception(Format(kNoRunningNumber, {def.LopnrField}));
        name = ReplaceAllIgnoreCase(name, def.LopnrPlaceholder,
                                    Harmless(FormatFloat(inputs.IdentityFormat, number, settings_)));
    }
    if (def.DefaultRule == WhenBlankAfterReplacing && TrimView(name).empty()) name = def.Default;
    return kind == SQL ? name : WithFolder(std::move(name));
}

std::string TExportFileNames::Generate(TFileNameKind kind, const TDataSet& prefs, const TAdkDataSet* record) {
    const TFileNameDef& def = FileNameDef(kind);
    auto setting = [&prefs](std::string_view field) {
        return field.empty() ? std::string() : prefs.FieldByName(field).AsString();
    };
    TFileNameInputs inputs{setting(def.TemplateField),
                           setting(def.DateFormatField),
                           setting(def.NumberFormatField),
                           setting(def.IdentityFormatField),
                           {}};
    for (const TNamePlaceholder& placeholder : def.Placeholders) {
        if (placeholder.AdkField < 0) continue;
        if (!record)
            throw Exception("The name of " + std::string(placeholder.Name) + " needs the kit record");
        const TField& field = record->FieldByAdkIndex(placeholder.AdkField);
        if (placeholder.Value == Text)
            inputs.Record.push_back({field.AsString(), 0});
        else
            inputs.Record.push_back(
                {{}, placeholder.Value == RecordDate ? field.AsDateTime() : field.AsFloat()});
    }
    return Expand(kind, inputs);
}

}  // namespace tv

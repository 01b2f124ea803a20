#pragma once
// Export file names: the template each kind of export keeps in its settings, its placeholders
// (the export date, values of the record written, a running number), the defaults, and the rule
// that puts a bare file name into the export work folder's "obehandlade" folder.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "adk/adk_dataset.h"
#include "export/running_numbers.h"
#include "platform/rtl/date_time.h"
#include "platform/rtl/format_settings.h"

namespace tv {

// The name generators, one per kind of export file.
enum class TFileNameKind {
    AccountingYear,
    Article,
    Best,
    Contacts,
    Customer,
    Invoice,
    Offer,
    Order,
    Pricelist,
    SQL,
    Supplier,
    SupplierInvoice,
};

// What a placeholder stands for.
enum class TNameValue : unsigned char {
    ExportDate,  // the current date and time, with the date format
    Text,        // a kit field's text
    Number,      // a kit field read as a number, with the number format
    RecordDate,  // a kit field read as a date, with the date format
};

struct TNamePlaceholder {
    std::string_view Name;
    TNameValue Value;
    int AdkField;  // -1 for the export date
};

// When a kind's default name applies.
enum class TNameDefault : unsigned char {
    None,
    WhenBlank,                // the template is empty after trimming
    WhenBlankAfterReplacing,  // the name is empty after trimming, placeholders replaced
    WhenEmpty,                // the template is empty as stored
};

// One kind's template fields, placeholders in the order they are replaced, and running number.
struct TFileNameDef {
    TFileNameKind Kind;
    std::string_view TemplateField;
    std::string_view DateFormatField;
    std::string_view NumberFormatField;    // empty: the kind has no number format
    std::string_view IdentityFormatField;  // empty: the kind has no running number
    std::string_view Default;
    TNameDefault DefaultRule;
    std::span<const TNamePlaceholder> Placeholders;
    std::string_view LopnrPlaceholder;  // tested with letter case, replaced without
    std::string_view LopnrField;        // the identities field
};

const TFileNameDef& FileNameDef(TFileNameKind kind);

// The texts a name is made from: the kind's settings and the values of the record's placeholders.
struct TFileNameInputs {
    std::string Template;
    std::string DateFormat;
    std::string NumberFormat;
    std::string IdentityFormat;
    // Per placeholder with a kit field, in the order the kind lists them: the field's text, or its number.
    struct TValue {
        std::string Text;
        double Number = 0;
    };
    std::vector<TValue> Record;
};

inline constexpr std::string_view kDefaultNameDateFormat = "yyyy-mm-dd";
inline constexpr std::string_view kDefaultNameNumberFormat = "0";
inline constexpr std::string_view kUnprocessedFolder = "obehandlade";
// Raised instead of putting -1 into a name when the identities table lacks the kind's field.
inline constexpr std::string_view kNoRunningNumber = "Löpnummer %s saknas bland identiteterna";

class TExportFileNames {
public:
    // `exportFolder` gives the export work folder's "obehandlade" folder (no trailing delimiter;
    // empty: bare names stay as they are); `clock` the current date and time.
    TExportFileNames(TRunningNumbers& numbers, std::function<std::string()> exportFolder,
                     std::function<TDateTime()> clock = Now,
                     const TFormatSettings& settings = DefaultFormatSettings())
        : numbers_(numbers),
          exportFolder_(std::move(exportFolder)),
          clock_(std::move(clock)),
          settings_(settings) {}

    // The full path of the file to write. `prefs` is the kind's settings table (for SQL the query
    // table on its current row); `record` the kit dataset on the record written, for the kinds
    // whose placeholders read one. Every placeholder's field is read, used or not.
    std::string Generate(TFileNameKind kind, const TDataSet& prefs, const TAdkDataSet* record);

    // The name from its inputs: placeholders replaced, the running number taken when the name
    // holds its placeholder, the defaults, the folder. Path separators and dot runs in the values
    // put in are made harmless, so no record value moves the file out of its folder.
    std::string Expand(TFileNameKind kind, const TFileNameInputs& inputs);

private:
    std::string Value(const TNamePlaceholder& placeholder, const TFileNameInputs& inputs, size_t& recordIndex,
                      std::string_view dateFormat, std::string_view numberFormat, TDateTime now) const;
    std::string WithFolder(std::string name) const;

    TRunningNumbers& numbers_;
    std::function<std::string()> exportFolder_;
    std::function<TDateTime()> clock_;
    const TFormatSettings& settings_;
};

}  // namespace tv

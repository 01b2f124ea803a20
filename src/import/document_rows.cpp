#include "import/document_rows.h"

#include <algorithm>

#include "adk/adk_dataset.h"
#include "import/import_xml.h"
#include "import/key_helper_dm.h"
#include "import/key_registry.h"
#include "import/key_text.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace {

inline constexpr std::string_view kNoRowsDataSet = "The import has no rows dataset for ";
inline constexpr int kDeliveredQuantityField = 2;
inline constexpr int kOrderedQuantityField = 3;
inline constexpr int kRowNumberField = 31;

size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); ++count) NextCharOrByte(text, pos);
    return count;
}

}  // namespace

TAdkDataSet& RowsOf(const TAdkDataSet& head) {
    TAdkDataSet* rows = head.ChildTable();
    if (!rows) throw EImportError(std::string(kNoRowsDataSet) + head.Name());
    return *rows;
}

std::string ResolveArticleKey(const TXMLNode& item, const TKeyRegistry& articles) {
    std::string article = Trim(item.Attribute("artkey"));
    if (const TKeyRecord* record = articles.Locate(article)) article = Trim(record->KEY_VALUE_IN_VISMA);
    return article;
}

void ResolveRowArticle(TXMLNode& row, const TKeyRegistry& articles) {
    const std::string article = ResolveArticleKey(row, articles);
    if (!article.empty()) ElementOf(row, kRowArticleNumber).SetText(article);
}

bool ReadRowType(TXMLNode& row, bool ignoreEmptyTexts) {
    bool textRow = false;
    if (TXMLNode* type = ChildElement(row, kRowTypeOfRow)) {
        const std::string& text = type->Text();
        textRow = text == kTextRowType;
        if (text.empty()) row.RemoveChild(type);
    }
    if (!textRow && ignoreEmptyTexts) {
        TXMLNode* text = ChildElement(row, kRowText);
        if (text && text->Text().empty()) row.RemoveChild(text);
    }
    return textRow;
}

TDocumentRowWriter::TDocumentRowWriter(const TFieldMapping& mapping, TAdkDataSet& rows,
                                       const TRowRules& rules)
    : rows_(rows), rules_(rules), writer_(mapping, rows, false) {}

std::string TDocumentRowWriter::Write(const TXMLNode& row, bool textRow) {
    std::string rest;
    writer_.ForEachMapped(row, [&](const TFieldMappingRow& mapping, TField& field, const TXMLNode& element) {
        if (textRow && std::find(rules_.TextRowTitles.begin(), rules_.TextRowTitles.end(), mapping.Element) ==
                           rules_.TextRowTitles.end())
            return;
        const std::string& text = element.Text();
        switch (mapping.Field) {
            case kRowTextField:
                if (rules_.SplitsText && field.Size() > 0 && CharacterCount(text) > size_t(field.Size())) {
                    const std::string first = CutToCharacters(text, field.Size());
                    rest = text.substr(first.size());
                    field.SetAsString(first);
                    return;
                }
                break;
            case kRowNumberField:
                if (rules_.SkipsRowNumber) return;
                break;
            case kDeliveredQuantityField:
            case kOrderedQuantityField:
                if (rules_.NumericQuantities) {
                    field.SetAsFloat(StrToFloat(text, rows_.FormatSettings()));
                    return;
                }
                break;
            default:
                break;
        }
        field.SetAsString(text);
    });
    return rest;
}

void TDocumentRowWriter::PostWithRest(std::string_view rest) {
    Post();
    AppendRest(rest);
}

void TDocumentRowWriter::Post() {
    rows_.Post();
}

void TDocumentRowWriter::AppendRest(std::string_view rest) {
    if (rest.empty()) return;
    TField& text = rows_.FieldByAdkIndex(kRowTextField);
    TField& type = rows_.FieldByAdkIndex(kRowTypeField);
    while (!rest.empty()) {
        const std::string part = CutToCharacters(rest, std::max(text.Size(), 1));
        rows_.Append();
        text.SetAsString(part);
        type.SetAsString(kTextRowType);
        rows_.Post();
        rest.remove_prefix(part.size());
    }
}

int DeleteDocumentRows(TAdkDataSet& head) {
    TAdkDataSet& rows = RowsOf(head);
    rows.First();
    if (!head.IsEditing()) head.Edit();
    // Each delete takes one row: never more rounds than there were rows.
    int deleted = 0;
    for (const int count = rows.RecordCount(); deleted < count && !rows.IsEmpty(); ++deleted)
        rows.DeleteChildRow();
    return deleted;
}

}  // namespace tv

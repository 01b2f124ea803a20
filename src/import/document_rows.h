#pragma once
// Pieces every document import takes for the rows of a document: the article a row refers to, its
// row type, the writing of its mapped fields by the kind's rules (a row text too long for the text
// field goes on in extra text rows), and the deletion of every row of a document. Rows are the
// head dataset's rows dataset (its ChildTable); they reach the business system when the head is
// saved.

#include <span>
#include <string>
#include <string_view>

#include "import/mapped_field_writer.h"

namespace tv {

class TAdkDataSet;
class TKeyRegistry;
class TXMLNode;

inline constexpr std::string_view kRowArticleNumber = "OOI_ROW_ARTICLE_NUMBER";
// Followed by the position of a row that is no element.
inline constexpr std::string_view kInvalidRow = "Ogiltlig rad ";
inline constexpr std::string_view kRowTypeOfRow = "OOI_ROW_TYPE_OF_ROW";
inline constexpr std::string_view kRowText = "OOI_ROW_TEXT";
inline constexpr std::string_view kTextRowType = "T";
inline constexpr int kRowTextField = 14;
inline constexpr int kRowTypeField = 19;

// The elements a text row of an order or offer takes; its other elements are passed over.
inline constexpr std::string_view kOrderTextRowTitles[] = {
    "OOI_ROW_TYPE_OF_ROW",   "OOI_ROW_TEXT",    "OOI_ROW_AMOUNT_CURRENT_CURRENCY",
    "OOI_ROW_PROFIT_CENTRE", "OOI_ROW_PROJECT", "OOI_ROW_VAT_CODE",
    "OOI_ROW_PRINT",         "OOI_ROW_PRINT2"};

// What the document kinds differ in when they write a row.
struct TRowRules {
    std::span<const std::string_view> TextRowTitles;
    // The quantities (row fields 2 and 3) are read as numbers in the process's format.
    bool NumericQuantities = false;
    // The row number (row field 31) is never written.
    bool SkipsRowNumber = false;
    // A text longer than the text field goes on in extra text rows; otherwise it is cut.
    bool SplitsText = true;
};

// The rows dataset of a head dataset; raises when the head has none.
TAdkDataSet& RowsOf(const TAdkDataSet& head);

// The article an item refers to: its "artkey", trimmed, as the number the registry stored for that
// key when it holds one, else as it stands.
std::string ResolveArticleKey(const TXMLNode& item, const TKeyRegistry& articles);
// The row's article (ResolveArticleKey); when not empty it goes into the row's
// OOI_ROW_ARTICLE_NUMBER (added when absent).
void ResolveRowArticle(TXMLNode& row, const TKeyRegistry& articles);

// True for a text row (OOI_ROW_TYPE_OF_ROW "T"). An empty OOI_ROW_TYPE_OF_ROW goes; so does an
// empty OOI_ROW_TEXT of a row that is no text row when `ignoreEmptyTexts`.
bool ReadRowType(TXMLNode& row, bool ignoreEmptyTexts);

// Writes row elements into the current row of a rows dataset by a kind's rules.
class TDocumentRowWriter {
public:
    TDocumentRowWriter(const TFieldMapping& mapping, TAdkDataSet& rows, const TRowRules& rules);

    // Writes the row's mapped elements into the row in insert or edit state; a text row only those
    // of the kind's text-row titles. Answers what did not fit into the text field.
    std::string Write(const TXMLNode& row, bool textRow);
    // Saves the row, then appends and saves a text row for each text field's worth of `rest`.
    // These extra rows are not rows of the file.
    void PostWithRest(std::string_view rest);
    // The two halves of PostWithRest, for a kind that notes the saved row before its extra rows.
    void Post();
    void AppendRest(std::string_view rest);

private:
    TAdkDataSet& rows_;
    const TRowRules& rules_;
    TMappedFieldWriter writer_;
};

// Deletes every row of the current document of `head` in the business system at once, leaving
// the head in edit state with its row count lowered; saving the head is the caller's. Answers the
// number of rows deleted.
int DeleteDocumentRows(TAdkDataSet& head);

}  // namespace tv

#pragma once
// Ordering a grid's dataset by the grid's order text, and reading the dataset's order back.
//
// Order text: items separated by ",", each a field name optionally followed by " DESC" (or
// " ASC"), as the grid's OrderFields holds it ("Name DESC,Id"). Index text: the same items
// separated by ";", as a dataset's IndexFieldNames holds it; with a suffix definition ("_A;_D")
// a descending item is written as the name plus the descending suffix ("Name_D;Id").
//
// How a dataset is ordered is looked up by its exact class name in one shared table,
// GetChangeOrderList(), searched from its last entry to its first:
//   coChangeIndexFields     writes the index text into a text property ("IndexFieldNames");
//   coChangeOrderFields     rewrites the ORDER BY of a command text property ("CommandText");
//   coChangeSQLOrderFields  rewrites the ORDER BY inside a string-list property ("SQL");
//   coCustomChangeOrder     calls the procedures a program assigns on its entry.
// An entry may carry a validity test that reads the dataset's published properties by name.
//
// The grid calls these through IDataSetOrderHost, which it implements over itself:
//   ChangeDataSetOrder(host, order)  orders the dataset ("" = the host's OrderFields). False when
//       there is no dataset or no entry applies (the grid then raises OnOrderChanged); true when
//       an entry's operation ran, even when the order was already in place or the dataset refused
//       the new order: then the property gets its old value back, the markers are set from it
//       (SetupOrderFields), a beep sounds and nothing is raised. After a change, whether applied
//       or rolled back, the host's OrderUpdated runs.
//   CurrentDataSetOrder(host)        the dataset's present order as order text ("" when no entry
//       applies); the grid's SetupCurrentOrder shows it in the markers.
//   CompareOrderFields(a, b)         whether two order texts name the same items in the same
//       order (letter case and blanks around items do not count).

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class TDataSet;
class TObject;
class TStrings;

// ---------------------------------------------------------------- order texts

// True when both texts name the same items in the same order, without regard to letter case or
// blanks around items (not inside them); two empty texts are equal.
bool CompareOrderFields(std::string_view F1, std::string_view F2);

// The text before the first `Delimiter` ("" means ","), or all of it; `Text` loses the token and
// the delimiter.
std::string SplitToken(std::string& Text, std::string_view Delimiter = ",");
// The next token as an integer, or `Default` when it is not one.
int SplitIntToken(std::string& Text, int Default, std::string_view Delimiter = ",");

std::string CommasToSemicolons(std::string_view Text);
std::string SemicolonsToCommas(std::string_view Text);

// Order text to index text. With a suffix "asc;desc[;rest]" an item holding " DESC" (capitals as
// written) becomes its name plus the descending suffix; other items stay as they are.
std::string OrderToIndexFields(std::string_view OrderFields, std::string_view Suffix);
// Index text to order text. With a suffix, an item ending in the descending suffix (letter case
// ignored) becomes its name plus " DESC"; the ascending suffix and the rest are dropped.
std::string IndexToOrderFields(std::string_view IndexFields, std::string_view Suffix);

// ---------------------------------------------------------------- ORDER BY in SQL lines

// The text after "ORDER BY " (one blank after BY, letter case ignored) on the last line holding
// it, trimmed and without a closing ";"; "" when no line holds it or there are no lines.
std::string GetSQLOrderBy(const TStrings* Lines);
// Puts `OrderFields` into the lines: on the last line holding "ORDER BY " everything after it is
// replaced (the clause goes when the order is empty or " DESC" alone) keeping a closing ";";
// without such a line an "ORDER BY" line is added after the last non-blank line, taking over its
// closing ";". An empty list stays empty.
void SetSQLOrderBy(TStrings& Lines, std::string_view OrderFields);

// ---------------------------------------------------------------- the table of ways

enum TChangeOrder { coChangeIndexFields, coChangeOrderFields, coChangeSQLOrderFields, coCustomChangeOrder };

class IDataSetOrderHost;
struct TChangeOrderItem;

// Whether an entry applies to this dataset (called with the entry's way).
using TValidChangeOrder = std::function<bool(TDataSet& DataSet, TChangeOrder ChangeOrder)>;
// A program's own way: order the host's dataset by the order text, and read its order back.
using TCustomChangeOrder = std::function<void(IDataSetOrderHost& Grid, const std::string& OrderFields)>;
using TCustomCurrentOrder = std::function<std::string(IDataSetOrderHost& Grid)>;

struct TChangeOrderItem {
    std::string DSClassName;  // exact class name of the datasets it serves (no ancestors)
    TChangeOrder ChangeOrder = coChangeIndexFields;
    bool AscendOnly = false;  // the dataset sorts ascending only
    TValidChangeOrder IsValid;
    std::string PropName;  // "" = the way's default; may be a dotted path ("DataSet.CommandText")
    std::string Suffix;    // index fields only: "asc;desc[;rest]" or ""
    TCustomChangeOrder CustomChangeOrder;
    TCustomCurrentOrder CustomCurrentOrder;
};

class TChangeOrderList {
public:
    // Filled with the default table.
    TChangeOrderList();

    TChangeOrderItem& Add(std::string ClassName, TChangeOrder ChangeOrder, bool AscendOnly,
                          TValidChangeOrder IsValid = nullptr, std::string PropName = {},
                          std::string Suffix = {});
    // The last entry for the dataset's class name whose validity test passes; a custom entry
    // counts only with the procedure needed (CustomChangeOrder ForChange, else
    // CustomCurrentOrder). Nil without a dataset or entry.
    const TChangeOrderItem* Find(TDataSet* DataSet, bool ForChange) const;
    // Removes every entry of that class name and way.
    void Remove(std::string_view ClassName, TChangeOrder ChangeOrder);

    int Count() const { return static_cast<int>(fItems.size()); }
    const TChangeOrderItem& Items(int Index) const { return *fItems.at(static_cast<size_t>(Index)); }

private:
    std::vector<std::unique_ptr<TChangeOrderItem>> fItems;
};

// The table every grid shares, made on first use.
TChangeOrderList& GetChangeOrderList();

// The validity tests of the default table.
bool ValidClientDataSetOrder(TDataSet& DataSet, TChangeOrder ChangeOrder);
bool ValidSQLClientDataSetOrder(TDataSet& DataSet, TChangeOrder ChangeOrder);
bool ValidSimpleDataSetOrder(TDataSet& DataSet, TChangeOrder ChangeOrder);
bool ValidADODataSetOrder(TDataSet& DataSet, TChangeOrder ChangeOrder);

// ---------------------------------------------------------------- ordering a grid's dataset

// What ordering needs of the grid. The grid implements it over itself.
class IDataSetOrderHost {
public:
    virtual ~IDataSetOrderHost() = default;
    // The dataset of the grid's data source; nil without either.
    virtual TDataSet* OrderDataSet() const = 0;
    virtual std::string OrderFields() const = 0;
    virtual std::string KeyFields() const = 0;  // ";"-separated fields that find a record again
    virtual bool AutoAscendOrder() const = 0;   // dgAutoAscendOrder
    virtual bool MarkerAscendOnly() const = 0;  // dgMarkerAscendOnly
    virtual void SetMarkerAscendOnly(bool Value) = 0;
    virtual void DisablePosition() = 0;
    virtual void EnablePosition(bool UseCurrentRec) = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    // Shows the order in the markers without ordering the dataset or notifying.
    virtual void SetupOrderFields(const std::string& Value) = 0;
    virtual void ClearSelection() = 0;
    // The dataset was reordered (or a refused order was rolled back): raises OnOrderUpdated.
    virtual void OrderUpdated() = 0;
};

bool ChangeDataSetOrder(IDataSetOrderHost& Host, const std::string& OrderFields);
std::string CurrentDataSetOrder(IDataSetOrderHost& Host);

// One way each; an empty PropName means the way's default property.
void ChangeIndexFields(IDataSetOrderHost& Host, const std::string& OrderFields, const std::string& PropName,
                       const std::string& Suffix);
void ChangeOrderFields(IDataSetOrderHost& Host, const std::string& OrderFields, const std::string& PropName);
void ChangeSQLOrderFields(IDataSetOrderHost& Host, const std::string& OrderFields,
                          const std::string& PropName);
std::string CurrentIndexFields(TDataSet* DataSet, const std::string& PropName, const std::string& Suffix);
std::string CurrentOrderFields(TDataSet* DataSet, const std::string& PropName);
std::string CurrentSQLOrderFields(TDataSet* DataSet, const std::string& PropName);

}  // namespace tv

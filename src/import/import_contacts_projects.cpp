// The imports of contacts and projects, one row per kind driving one routine. Unlike the register
// imports, only the kind's own elements of its container are items; a record is identified by a
// number or code taken from the item (a contact's id found by its key or given as "CONTACTS_ID", a
// project's code given as its key or as "PROJECT_CODE_OF_PROJECT"); the existence settings act on
// that number; and the item's customer reference ("customerKey") is filled in as the customer's
// number before every mapped element is written. Neither kind adds to the imported items.

#include "adk/adk_dataset.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/record_write.h"
#include "import/register_kind.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/format.h"
#include "platform/rtl/key_fold.h"

namespace tv {

namespace {

inline constexpr std::string_view kImportingWord = "Importerar %s.";
inline constexpr std::string_view kNothingToImport = "Inga %s att importera,";
inline constexpr std::string_view kItemLine = "%s - #";
inline constexpr std::string_view kCustomerUnknown = "Nyckeln %s fanns ej i systemet";
inline constexpr std::string_view kExistsAlready = "%s existerar redan: %s.";
inline constexpr std::string_view kDoesNotExist = "%s: %s existerar inte ";
inline constexpr std::string_view kWritten = "Skapade/Uppdaterade %s: ";
inline constexpr std::string_view kWrittenAttribute = "vismakey";

}  // namespace

struct TContactProjectKind {
    // The kind's word in the caption, the item lines and the texts, and its step picture.
    std::string_view Word;
    int StepPicture;
    std::string_view Container;
    std::string_view ItemElement;
    std::string_view SettingsTable;
    std::string_view ExistsSetting;
    std::string_view MissingSetting;
    TImportDataSet DataSet;
    std::string_view DataSetName;
    std::string_view MappingTable;
    // The order a record is found on by its number.
    TAdkSortOrder NumberOrder;
    // The element that gives the number when the key gives none.
    std::string_view NumberElement;
    // The key is searched for (FindContact) and the number found is the record's; otherwise the
    // key is the number itself.
    bool SearchesKey;
    TFinderDef Finder;
    // Gets the number of the customer that "customerKey" names.
    std::string_view CustomerNumberElement;
    // The item is made to carry its number in NumberElement before it is written.
    bool CarriesNumber;
};

namespace {

constexpr TContactProjectKind kContacts{
    .Word = "kontakter",
    .StepPicture = 12,
    .Container = "contacts",
    .ItemElement = "atKontakter",
    .SettingsTable = "CDSImportContacts",
    .ExistsSetting = "ON_ITEM_EXIST",
    .MissingSetting = "ON_ITEM_DOES_NOT_EXIST",
    .DataSet = &TImportDataSets::ADKKontakter,
    .DataSetName = "ADKKontakter",
    .MappingTable = "atKontakter",
    .NumberOrder = asKontaktID,
    .NumberElement = "CONTACTS_ID",
    .SearchesKey = true,
    .Finder = {.ModeField = "SEARCH_MODE",
               .CdxField = "SEARCH_CDX",
               .SqlField = "SEARCH_SQL",
               .NoModeText = "Ingen inställning har gjorts för sökmetod vid kontaktimport. Kontrollera "
                             "inställningarna",
               .EmptySqlText = kNoSqlStatement,
               .NumberColumn = "kontaktnr",
               .DefaultOrder = asKontaktID,
               .UnreadableCdxText = "Kontrollera sökinställningar för import av kontakter.",
               .BindElementsByName = true},
    .CustomerNumberElement = "CONTACTS_CUSTOMER_NUMBER",
    .CarriesNumber = false,
};

// Projects are found on their code; the check's project keys are not consulted.
constexpr TContactProjectKind kProjects{
    .Word = "projekt",
    .StepPicture = 11,
    .Container = "projects",
    .ItemElement = "atProjekt",
    .SettingsTable = "CDSImportProjectPrefs",
    .ExistsSetting = "ON_PROJECT_EXISTS",
    .MissingSetting = "ON_PROJECT_DOES_NOT_EXIST",
    .DataSet = &TImportDataSets::ADKProjekt,
    .DataSetName = "ADKProjekt",
    .MappingTable = "atProjekt",
    .NumberOrder = asProjektkod,
    .NumberElement = "PROJECT_CODE_OF_PROJECT",
    .SearchesKey = false,
    .Finder = {.DefaultOrder = asProjektkod},
    .CustomerNumberElement = "PROJECT_CUSTOMER_NUMBER",
    .CarriesNumber = true,
};

// True when the contact of the key is found; its number is then stored with the key, which the
// check must have registered.
bool FindContact(TRegisterRun& run, TKeyHelperDM& keys, const std::string& key, const TXMLNode& item) {
    std::string number;
    if (!run.Finder.Find(key, number, &item)) return false;
    keys.SetKnowVismaKeyValue(key, number, TKnownKey_Contacts);
    return true;
}

// A reference to a customer of the file: the customer's number, written or found by the customer
// import, goes into the element.
void FillCustomerNumber(TXMLNode& item, std::string_view element, const TKeyRegistry& customers) {
    const std::string reference = Trim(item.Attribute("customerKey"));
    if (reference.empty()) return;
    const TKeyRecord* customer = customers.Locate(reference);
    if (!customer) throw EImportError(Format(kCustomerUnknown, {reference}));
    ElementOf(item, element).SetText(customer->KEY_VALUE_IN_VISMA);
}

// Changes the record found (`change`) or adds a new one, answering the number it was stored under.
// A changed record keeps its number whatever the item's number element says: the kit identifies
// the record to change by it.
std::string WriteRecord(TRegisterRun& run, const TXMLNode& item, bool change) {
    TAdkDataSet& dataSet = run.DataSet;
    try {
        if (change)
            dataSet.Edit();
        else
            dataSet.Append();
        run.Writer.Write(item, change);
        dataSet.Post();
        return ReadBackNumber(dataSet);
    } catch (...) {
        CancelPending(dataSet);
        throw;
    }
}

}  // namespace

bool TDMImport::ImportContacts() {
    return RunContactProjectImport(kContacts);
}

bool TDMImport::ImportProjects() {
    return RunContactProjectImport(kProjects);
}

bool TDMImport::RunContactProjectImport(const TContactProjectKind& kind) {
    IEventSink& events = Events();
    const std::string caption = Format(kImportingWord, {kind.Word});
    events.nextEvent(caption, kind.StepPicture);
    events.addEventItem(caption, true);
    bool result = true;
    try {
        TXMLNode* root = DocumentElement();
        if (TXMLNode* items = root ? root->FindNode(kind.Container) : nullptr) {
            if (items->HasChildNodes())
                ImportContactProjectItems(kind, *items);
            else
                events.reportError(Format(kNothingToImport, {kind.Word}), elInfo);
        }
    } catch (const std::exception& e) {
        events.reportError(e.what(), elError);
        result = false;
    }
    events.CloseNestedEventItem();
    return result;
}

void TDMImport::ImportContactProjectItems(const TContactProjectKind& kind, TXMLNode& container) {
    const TDataSet& settings = context_.SettingsTable(kind.SettingsTable);
    TAdkDataSet& dataSet = KitDataSet(kind.DataSet, kind.DataSetName);
    TRegisterRun run(settings, dataSet, TFieldMapping::For(*context_.FieldDefinitions, kind.MappingTable),
                     kind.Finder, qArtikelUrval(), context_.adminODBC, Events(), false);
    const std::string itemLine = Format(kItemLine, {AsciiUpperText(kind.Word)});
    ForEachItem(container, [&](TXMLNode& item, int position) {
        if (!IsElement(item) || item.NodeName() != kind.ItemElement) return true;
        const std::string itemText = itemLine + std::to_string(position + 1);
        Events().addEventItem(itemText, false);
        const std::string key = Trim(item.Attribute("key"));
        std::string number;
        if (!kind.SearchesKey)
            number = key;
        else if (!key.empty() && FindContact(run, keyHelper_, key, item))
            number = keyHelper_.GetVismaValue(key, TKnownKey_Contacts);
        // Taken from this item alone: an item without either never names an earlier one's record.
        if (number.empty()) number = ChildText(item, kind.NumberElement);
        FillCustomerNumber(item, kind.CustomerNumberElement, ValidCustomerKyes);

        // Read records are dropped first: the dataset holds only the record being written.
        dataSet.EmptyDataSet();
        dataSet.SetAdkSortOrder(kind.NumberOrder);
        const bool exists = !number.empty() && dataSet.AdkNavFind(number, true, true);
        const int policy = ReadIntegerSetting(settings, exists ? kind.ExistsSetting : kind.MissingSetting);
        const std::string failText = Format(exists ? kExistsAlready : kDoesNotExist, {kind.Word, number});
        if (ApplyExistencePolicy(policy, failText, "") == TExistenceAction::Skip) return true;

        if (kind.CarriesNumber) {
            TXMLNode& numberElement = ElementOf(item, kind.NumberElement);
            if (numberElement.Text().empty()) numberElement.SetText(number);
        }
        const bool change = exists && SameKeyText(dataSet.FieldByAdkIndex(0).AsString(), number);
        const std::string written = WriteRecord(run, item, change);
        run.Writer.ReportUnstorableTexts(Events(), itemText);
        Events().reportError(Format(kWritten, {kind.Word}) + written, elResult);
        item.SetAttribute(kWrittenAttribute, written);
        return true;
    });
}

}  // namespace tv

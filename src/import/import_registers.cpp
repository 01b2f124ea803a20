// The import of customers and suppliers: each item of the container is found in the business
// system (unless its option asks for a new record), decided by the kind's existence settings,
// written through the field mapping unless its option forbids it, and its number is stored with
// its key, added to the imported items and written into the loaded document.

#include <optional>

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/field_mapping.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/mapped_field_writer.h"
#include "import/record_finder.h"

namespace tv {

namespace {

inline constexpr int kRegisterStepPicture = 4;
inline constexpr std::string_view kAdding = "Lägger till ";
inline constexpr std::string_view kNumberNotFound = "Hittade inte nyckel ";
inline constexpr std::string_view kNoKitDataSet = "The import has no kit dataset ";

// ---- Customers.
inline constexpr std::string_view kCustomersCaption = "Importerar kunder";
inline constexpr std::string_view kNoCustomers = "Ingen kundtag i denna fil";
inline constexpr std::string_view kEmptyCustomers = "Inga kunder att importera";
inline constexpr std::string_view kCustomerUnreadable = "Felaktigt XML format saknar kundinformation";
inline constexpr std::string_view kCustomerWithoutKey =
    "Fanns ingen nyckel på denna kund, omöjligt scenario om ingen modifierat trädet";
inline constexpr std::string_view kCustomerKeyUnknownBefore = "Kunde inte hitta kund med nyckel [";
inline constexpr std::string_view kKeyUnknownAfter = "]bland registrerade nycklar";
inline constexpr std::string_view kCustomerItem = "Kund/nyckel : ";
inline constexpr std::string_view kCustomerExists = "Kund existerar redan ";
inline constexpr std::string_view kCustomerMissing = "Kund existerar inte ";
inline constexpr std::string_view kCustomerNumber = "VISMA Kundnr [";
inline constexpr std::string_view kCustomerWriteFailed = "Fel vid uppläggning av kund: ";
inline constexpr std::string_view kAfterWriteFailed = "Ett fel uppstod vid efterbehandling av XML: ";
inline constexpr std::string_view kCustomerNumberAttribute = "visma_customer_number";
inline constexpr std::string_view kCustomerNumberElement = "CUSTOMER_NUMBER";
inline constexpr std::string_view kCustomersSettings = "CDSImportCustomersPrefs";
inline constexpr int kIgnoreOrgNrField = 93;

constexpr TFinderDef kCustomerFinder{
    .ModeField = "SEARCH_CUSTOMER_MODE",
    .CdxField = "SEARCH_CUSTOMER_CDX",
    .SqlField = "SEARCH_CUSTOMER_SQL",
    .NoModeText = "Ingen urvalsmetod för att hitta kunder är satt. Kontrollera inställningarna",
    .EmptySqlText = kNoSqlStatement,
    .NumberColumn = "kundnr",
    .DefaultOrder = asKundnr};

// ---- Suppliers.
inline constexpr std::string_view kSuppliersCaption = "Importerar leverantörer";
inline constexpr std::string_view kNoSuppliers = "Ingen leverantör i denna fil";
inline constexpr std::string_view kEmptySuppliers = "Inga leverantörer att importera";
inline constexpr std::string_view kSupplierUnreadable = "Felaktigt XML format saknar leverantörinformation";
inline constexpr std::string_view kSupplierWithoutKey =
    "Fanns ingen nyckel på denna leverantör, omöjligt scenario om ingen modifierat trädet";
inline constexpr std::string_view kSupplierKeyUnknownBefore = "Kunde inte hitta leverantör med nyckel [";
inline constexpr std::string_view kSupplierItem = "Leverantör : ";
inline constexpr std::string_view kSupplierNoEditNotFound = "No supplier found and noedit";
inline constexpr std::string_view kSupplierNumber = "VISMA Levnr [";
inline constexpr std::string_view kSupplierNumberAttribute = "visma_supplier_number";
inline constexpr std::string_view kSuppliersSettings = "CDSImportSuppliersPrefs";

constexpr TFinderDef kSupplierFinder{
    .ModeField = "SEARCH_SUPPLIER_MODE",
    .CdxField = "SEARCH_SUPPLIER_CDX",
    .SqlField = "SEARCH_SUPPLIER_SQL",
    .NoModeText = "Ingen urvalsmetod har satts för att söka leverantörer. Kontrollera inställningarna",
    .EmptyCdxText = "Inställningen för urval av leverantörer är inte satt",
    .EmptySqlText = "SQL Sökning av leverantörer aktiverad, men inget SQL uttryck satt!",
    .NumberColumn = "levnr",
    .DefaultOrder = asLevNr,
    .BindEveryParameter = true};

std::string Bracketed(std::string_view before, std::string_view text, std::string_view after) {
    std::string line(before);
    line.append(text).append(after);
    return line;
}

// Puts the kit dataset on the record to change, found again by the number stored with its key on
// the table's default order, or on a new record. Read records are dropped first: the dataset holds
// only the record being written, however many items the file has.
void OpenRecordForWrite(TAdkDataSet& dataSet, TAdkSortOrder order, const std::string& number,
                        IEventSink& events) {
    dataSet.EmptyDataSet();
    if (!number.empty()) {
        dataSet.SetAdkSortOrder(order);
        if (!dataSet.AdkNavFind(number, true, true))
            throw EImportError(std::string(kNumberNotFound) + number);
        dataSet.Edit();
    } else {
        dataSet.Append();
        events.reportError(kAdding, elExcessive);
    }
}

// Posts the record and reads it back from the business system: its number is kit field 0.
std::string PostRecord(TAdkDataSet& dataSet) {
    dataSet.Post();
    dataSet.RefreshAdkRow();
    return dataSet.FieldByAdkIndex(0).AsString();
}

void CancelPending(TAdkDataSet& dataSet) {
    if (dataSet.IsEditing()) dataSet.Cancel();
}

}  // namespace

// What one run of a register import works with: read once, used for every item.
struct TRegisterRun {
    TRegisterRun(const TDataSet& settings, TAdkDataSet& dataSet, TFieldMapping mapping, const TFinderDef& def,
                 TADOQuery& query, TADOConnection* connection, IEventSink& events)
        : Settings(settings),
          DataSet(dataSet),
          Mapping(std::move(mapping)),
          Writer(Mapping, dataSet),
          Finder(def, settings, dataSet, query, connection, events) {}

    const TDataSet& Settings;
    TAdkDataSet& DataSet;
    TFieldMapping Mapping;
    TMappedFieldWriter Writer;
    TRecordFinder Finder;
};

TAdkDataSet& TDMImport::KitDataSet(TAdkDataSet* TImportDataSets::*member, std::string_view name) const {
    TAdkDataSet* dataSet = context_.DataSets.*member;
    if (!dataSet) throw EImportError(std::string(kNoKitDataSet) + std::string(name));
    return *dataSet;
}

bool TDMImport::RunRegisterImport(std::string_view caption, std::string_view container,
                                  std::string_view missingText, std::string_view emptyText,
                                  void (TDMImport::*body)(TXMLNode&)) {
    IEventSink& events = Events();
    events.nextEvent(caption, kRegisterStepPicture);
    events.addEventItem(caption, true);
    bool result = true;
    try {
        if (TXMLNode* root = DocumentElement()) {
            TXMLNode* items = root->FindNode(container);
            if (!items) {
                events.reportError(missingText, elInfo);
            } else if (!items->HasChildNodes()) {
                events.reportError(emptyText, elInfo);
            } else {
                events.setEventCount(static_cast<int>(items->ChildCount()));
                (this->*body)(*items);
            }
        }
    } catch (const std::exception& e) {
        events.reportError(e.what(), elError);
        result = false;
    }
    events.CloseNestedEventItem();
    return result;
}

// ---------------------------------------------------------------- customers

bool TDMImport::ImportCustomers() {
    return RunRegisterImport(kCustomersCaption, "customers", kNoCustomers, kEmptyCustomers,
                             &TDMImport::ImportCustomerItems);
}

void TDMImport::ImportCustomerItems(TXMLNode& container) {
    const TDataSet& settings = context_.SettingsTable(kCustomersSettings);
    TAdkDataSet& customers = KitDataSet(&TImportDataSets::AdkKunder, "AdkKunder");
    TRegisterRun run(settings, customers, TFieldMapping::For(*context_.FieldDefinitions, "atKunder"),
                     kCustomerFinder, qArtikelUrval(), context_.adminODBC, Events());
    ForEachItem(container, [&](TXMLNode& item, int) {
        if (!IsElement(item)) throw EImportError(std::string(kCustomerUnreadable));
        if (!item.HasAttribute("key")) throw EImportError(std::string(kCustomerWithoutKey));
        const std::string key = Trim(item.Attribute("key"));
        if (key.empty()) throw EImportError(std::string(kCustomerKeyEmpty));
        TKeyRecord* record = ValidCustomerKyes.Locate(key);
        if (!record) throw EImportError(Bracketed(kCustomerKeyUnknownBefore, key, kKeyUnknownAfter));
        const std::string option = record->KEY_OPTION;
        const bool found = option != kOptionAutoCreate && FindCustomer(run, key);
        Events().addEventItem(std::string(kCustomerItem) + key, false);
        const int policy =
            ReadIntegerSetting(settings, found ? "ON_CUSTOMER_EXISTS" : "ON_CUSTOMER_DOES_NOT_EXIST");
        if (ApplyExistencePolicy(policy, found ? kCustomerExists : kCustomerMissing, key) ==
            TExistenceAction::Skip)
            return true;
        if (option != kOptionNoEdit) WriteCustomer(run, item, *record);
        return true;
    });
}

bool TDMImport::FindCustomer(TRegisterRun& run, const std::string& key) {
    std::string number;
    if (!run.Finder.Find(key, number)) return false;
    SetValidKeyVismaValue(key, number, "", ValidCustomerKyes);
    return true;
}

void TDMImport::WriteCustomer(TRegisterRun& run, TXMLNode& item, TKeyRecord& key) {
    TAdkDataSet& customers = run.DataSet;
    try {
        const bool changing = !key.KEY_VALUE_IN_VISMA.empty();
        OpenRecordForWrite(customers, asKundnr, key.KEY_VALUE_IN_VISMA, Events());
        if (changing) {
            // A changed customer keeps its number: the file's number element goes.
            while (TXMLNode* number = item.FindNode(kCustomerNumberElement)) item.RemoveChild(number);
        }
        run.Writer.Write(item, changing);
        if (ReadIntegerSetting(run.Settings, "FORCE_IGNORE_ORGNR") == 1)
            customers.FieldByAdkIndex(kIgnoreOrgNrField).SetAsBoolean(true);
        const std::string number = PostRecord(customers);
        AddImportedItem(number);
        key.KEY_VALUE_IN_VISMA = number;
        Events().reportError(Bracketed(kCustomerNumber, number, "]"), elResult);
        try {
            item.SetAttribute(kCustomerNumberAttribute, number);
        } catch (const std::exception& e) {
            throw EImportError(std::string(kAfterWriteFailed) + e.what());
        }
    } catch (const std::exception& e) {
        Events().reportError(std::string(kCustomerWriteFailed) + e.what(), elError);
        CancelPending(customers);
        throw EImportError(e.what());
    }
}

// ---------------------------------------------------------------- suppliers

bool TDMImport::ImportSuppliers() {
    return RunRegisterImport(kSuppliersCaption, "suppliers", kNoSuppliers, kEmptySuppliers,
                             &TDMImport::ImportSupplierItems);
}

void TDMImport::ImportSupplierItems(TXMLNode& container) {
    const TDataSet& settings = context_.SettingsTable(kSuppliersSettings);
    TAdkDataSet& suppliers = KitDataSet(&TImportDataSets::ADKLeverantorer, "ADKLeverantorer");
    TRegisterRun run(settings, suppliers, TFieldMapping::For(*context_.FieldDefinitions, "atLeverantorer"),
                     kSupplierFinder, qArtikelUrval(), context_.adminODBC, Events());
    ForEachItem(container, [&](TXMLNode& item, int) {
        if (!IsElement(item)) throw EImportError(std::string(kSupplierUnreadable));
        if (!item.HasAttribute("key")) throw EImportError(std::string(kSupplierWithoutKey));
        // Trimmed, as the check registered it, so that a key with blanks around it is found.
        const std::string key = Trim(item.Attribute("key"));
        TKeyRecord* record = ValidSuppliers.Locate(key);
        if (!record) throw EImportError(Bracketed(kSupplierKeyUnknownBefore, key, kKeyUnknownAfter));
        const std::string option = record->KEY_OPTION;
        const bool found = option != kOptionAutoCreate && FindSupplier(run, key);
        Events().addEventItem(std::string(kSupplierItem) + key, false);
        if (option != kOptionNoEdit)
            WriteSupplier(run, item, *record);
        else if (!found)
            throw EImportError(std::string(kSupplierNoEditNotFound));
        return true;
    });
}

bool TDMImport::FindSupplier(TRegisterRun& run, const std::string& key) {
    std::string number;
    if (!run.Finder.Find(key, number)) return false;
    SetValidKeyVismaValue(key, number, "", ValidSuppliers);
    keyHelper_.SetKnowVismaKeyValue(key, number, TKnownKey_Supplier);
    return true;
}

void TDMImport::WriteSupplier(TRegisterRun& run, TXMLNode& item, TKeyRecord& key) {
    TAdkDataSet& suppliers = run.DataSet;
    try {
        const bool changing = !key.KEY_VALUE_IN_VISMA.empty();
        OpenRecordForWrite(suppliers, asLevNr, key.KEY_VALUE_IN_VISMA, Events());
        run.Writer.Write(item, changing);
        const std::string number = PostRecord(suppliers);
        AddImportedItem(number);
        const std::string fileKey = Trim(item.Attribute("key"));
        if (!fileKey.empty()) keyHelper_.SetKnowVismaKeyValue(fileKey, number, TKnownKey_Supplier);
        key.KEY_VALUE_IN_VISMA = number;
        Events().reportError(Bracketed(kSupplierNumber, number, "]"), elResult);
        item.SetAttribute(kSupplierNumberAttribute, number);
    } catch (const std::exception& e) {
        // A supplier that cannot be written is reported and passed over; the import goes on.
        Events().reportError(e.what(), elError);
        CancelPending(suppliers);
    }
}

}  // namespace tv

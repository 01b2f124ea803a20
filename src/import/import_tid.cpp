// The time-reporting customer import: when the time-reporting integration is switched on, the
// customers of the file, once imported into the business system, are copied into the
// time-reporting database. Each customer's record is read back from the business system; the
// time-reporting customer with the same organisation number gets its name, and a customer not
// there yet is added under an id reserved in the database's "Id" table.

#include "adk/adk_dataset.h"
#include "import/check_frame.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/register_kind.h"
#include "import/tid_customers.h"
#include "platform/db/ado_query.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {

inline constexpr std::string_view kTidSettings = "CDSTidPrefs";
inline constexpr std::string_view kNotActivated = "Tid import ej aktiverad";
inline constexpr std::string_view kCustomerItem = "Kund: [";
inline constexpr std::string_view kCustomerNoKey = "Kund saknar nyckelattribut";
inline constexpr std::string_view kKeyNotImported = "Nyckelvärdet har inte importerats till Visma: %s";
inline constexpr std::string_view kCustomerNotFound = "Kunde inte hitta kundnr: ";
inline constexpr std::string_view kReserved = "Reserverade id: %d";
inline constexpr std::string_view kNoNameField =
    "Fältdefinitionerna anger inget fält för CUSTOMER_NAME i atKunder";
inline constexpr std::string_view kNameElement = "CUSTOMER_NAME";
inline constexpr int kOrganisationNumberField = 25;
// A fault of the host's wiring, not of a file.
inline constexpr std::string_view kNoTidDatabase = "The import has no time-reporting database";

inline constexpr std::string_view kBeginTransaction = "begin transaction";
inline constexpr std::string_view kRaiseLastId =
    "update Id set LastId =  (select max(id.LastId)+1 as LastId from id  )";
inline constexpr std::string_view kReadLastId = "select id.LastId from id;";
inline constexpr std::string_view kCommit = "commit";
inline constexpr std::string_view kRollback = "rollback";
inline constexpr std::string_view kNoIdRow = "Rervering misslyckades. Inget ID:nr";
inline constexpr std::string_view kRolledBack = "Performed rollback";

constexpr TCheckFrame kTidCheck{
    .Caption = "Visma TID: Kontrollerar kunder", .Container = "customers", .ErrorsReachCaller = true};

// The frame and the key rule of the customer import, with the time-reporting texts.
constexpr TRegisterKind kTidCustomers{
    .Caption = "Visma Tid: Importerar kunder",
    .Container = "customers",
    .NoContainerText = kNoCustomerContainer,
    .EmptyText = "Visma Tid: Inga kunder att importera",
    .UnreadableText = kCustomerUnreadable,
    .WithoutKeyText = kCustomerWithoutKey,
    .EmptyKeyText = kCustomerKeyEmpty,
    .KeyUnknownText = kCustomerKeyUnknown,
    .ItemText = "Kundnr/nyckel : ",
    .Registry = &TDMImport::ValidCustomerKyes,
};

// The kit field that holds a customer's name: the one the field definitions map "CUSTOMER_NAME"
// of the customer table to.
int CustomerNameField(TDataSet& fieldDefinitions) {
    const TFieldMapping mapping = TFieldMapping::For(fieldDefinitions, "atKunder");
    for (const TFieldMappingRow& row : mapping.Rows())
        if (row.Element == kNameElement && row.Field >= 0) return row.Field;
    throw EImportError(std::string(kNoNameField));
}

void RunStatement(TADOQuery& query, std::string_view statement) {
    query.Close();
    query.SQL().SetText(statement);
    query.ExecSQL();
}

}  // namespace

bool TDMImport::TidActivated() const {
    return context_.SettingsTable(kTidSettings).FieldByName("TIDActivated").AsBoolean();
}

// ---------------------------------------------------------------- the check

bool TDMImport::TID_CheckCustomers() {
    if (!TidActivated()) {
        Events().reportError(kNotActivated, elWarning);
        return true;
    }
    return RunCheck(kTidCheck, &TDMImport::WalkTidCustomers);
}

bool TDMImport::WalkTidCustomers(const TXMLNode& container) {
    bool result = true;
    const auto& children = container.ChildNodes();
    for (size_t position = 0; position < children.size(); ++position) {
        const TXMLNode& item = *children[position];
        Events().addEventItem(std::string(kCustomerItem) + std::to_string(position) + "]", false);
        if (item.NodeType() == TNodeType::ntComment) continue;
        if (!item.HasAttribute("key")) {
            result = false;
            Events().reportError(kCustomerNoKey, elError);
            continue;
        }
        const std::string key = Trim(item.Attribute("key"));
        if (!ValidCustomerKyes.Locate(key)) throw EImportError(Format(kKeyNotImported, {key}));
    }
    return result;
}

// ---------------------------------------------------------------- the import

bool TDMImport::TID_ImportCustomers() {
    if (!TidActivated()) return true;
    return RunRegisterImport(kTidCustomers, &TDMImport::ImportTidCustomers);
}

void TDMImport::ImportTidCustomers(const TRegisterKind& kind, TXMLNode& container) {
    TAdkDataSet& customers = KitDataSet(&TImportDataSets::AdkKunder, "AdkKunder");
    if (!context_.TidKunder || !context_.VismaTidConnection) throw EImportError(std::string(kNoTidDatabase));
    TTidCustomers tid(*context_.TidKunder, *context_.VismaTidConnection);
    const int nameField = CustomerNameField(*context_.FieldDefinitions);
    const int defaultUser = ReadIntegerSetting(context_.SettingsTable(kTidSettings), "TIDDefaultUserId");
    std::string key;
    ForEachItem(container, [&](TXMLNode& item, int) {
        const std::string number = RegisteredItemKey(kind, ValidCustomerKyes, item, key).KEY_VALUE_IN_VISMA;
        // The customer as the business system holds it; a customer that was checked but never
        // imported has no number and is never searched for.
        customers.EmptyDataSet();
        customers.SetAdkSortOrder(asKundnr);
        if (number.empty() || !customers.AdkNavFind(number, true, true))
            throw EImportError(std::string(kCustomerNotFound) + number);
        const std::string name = customers.FieldByAdkIndex(nameField).AsString();
        std::string organisationNumber = customers.FieldByAdkIndex(kOrganisationNumberField).AsString();
        std::erase(organisationNumber, '-');

        // A customer without organisation number is found by its own number: an empty one would
        // match every time-reporting customer whose number is blank, and rename it.
        const bool found = TrimView(organisationNumber).empty()
                               ? tid.FindCustomerByNumber(number)
                               : tid.FindCustomerInVismaTid(organisationNumber);
        if (found) {
            tid.SetFoundCustomerName(name);
        } else {
            const int id = ReserveTidId();
            Events().reportError(Format(kReserved, {id}), elInfo);
            tid.AddCustomer({.CustomerId = id,
                             .CustomerNo = number,
                             .CustomerName = name,
                             .OrganisationNo = organisationNumber,
                             .ProgramUserId = defaultUser});
        }
        Events().addEventItem(std::string(kind.ItemText) + key, false);
        return true;
    });
}

// ---------------------------------------------------------------- id reservation

int TDMImport::ReserveTidId() {
    TADOQuery& query = TIDReserveraID();
    query.SetConnection(context_.VismaTidConnection);
    int id = 0;
    try {
        RunStatement(query, kBeginTransaction);
        try {
            RunStatement(query, kRaiseLastId);
            query.SQL().SetText(kReadLastId);
            query.Open();
            if (query.Eof()) throw EImportError(std::string(kNoIdRow));
            id = query.FieldByName("LastID").AsInteger();
            RunStatement(query, kCommit);
        } catch (const std::exception& e) {
            RunStatement(query, kRollback);
            throw EImportError(std::string(kRolledBack) + e.what());
        }
    } catch (...) {
        query.Close();
        throw;
    }
    query.Close();
    return id;
}

}  // namespace tv

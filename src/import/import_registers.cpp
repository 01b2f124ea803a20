// The register imports of customers, suppliers and articles, one row per kind driving one routine:
// each item of the kind's container is found in the business system (unless its option asks for a
// new record), decided by the kind's existence settings, written through the field mapping unless
// its option forbids it, and its number is stored with its key, added to the imported items and
// written into the loaded document.

#include "adk/adk_dataset.h"
#include "import/article_steps.h"
#include "import/field_mapping.h"
#include "import/import_frame.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/mapped_field_writer.h"
#include "import/record_write.h"
#include "import/register_kind.h"

namespace tv {

namespace {

inline constexpr std::string_view kAdding = "Lägger till ";
inline constexpr std::string_view kNumberNotFound = "Hittade inte nyckel ";
inline constexpr std::string_view kNoKitDataSet = "The import has no kit dataset ";
inline constexpr int kIgnoreOrgNrField = 93;

// With FORCE_IGNORE_ORGNR 1 every written customer tells the business system to accept its
// organisation number as it stands.
void ForceIgnoreOrgNr(TRegisterStep& step) {
    if (ReadIntegerSetting(step.Run.Settings, "FORCE_IGNORE_ORGNR") == 1)
        step.Run.DataSet.FieldByAdkIndex(kIgnoreOrgNrField).SetAsBoolean(true);
}

constexpr TRegisterKind kCustomers{
    .Caption = "Importerar kunder",
    .Container = "customers",
    .NoContainerText = kNoCustomerContainer,
    .EmptyText = "Inga kunder att importera",
    .UnreadableText = kCustomerUnreadable,
    .WithoutKeyText = kCustomerWithoutKey,
    .EmptyKeyText = kCustomerKeyEmpty,
    .KeyUnknownText = kCustomerKeyUnknown,
    .ItemText = "Kund/nyckel : ",
    .Registry = &TDMImport::ValidCustomerKyes,
    .SettingsTable = "CDSImportCustomersPrefs",
    .DataSet = &TImportDataSets::AdkKunder,
    .DataSetName = "AdkKunder",
    .MappingTable = "atKunder",
    .Finder = {.ModeField = "SEARCH_CUSTOMER_MODE",
               .CdxField = "SEARCH_CUSTOMER_CDX",
               .SqlField = "SEARCH_CUSTOMER_SQL",
               .NoModeText = "Ingen urvalsmetod för att hitta kunder är satt. Kontrollera inställningarna",
               .EmptySqlText = kNoSqlStatement,
               .NumberColumn = "kundnr",
               .DefaultOrder = asKundnr},
    .ExistsSetting = "ON_CUSTOMER_EXISTS",
    .MissingSetting = "ON_CUSTOMER_DOES_NOT_EXIST",
    .ExistsText = "Kund existerar redan ",
    .MissingText = "Kund existerar inte ",
    .NumberElement = "CUSTOMER_NUMBER",
    .NumberText = "VISMA Kundnr [",
    .NumberAttribute = "visma_customer_number",
    .AfterWriteFailedText = "Ett fel uppstod vid efterbehandling av XML: ",
    .WriteFailedText = "Fel vid uppläggning av kund: ",
    .WriteFailureEndsImport = true,
    .BeforePost = ForceIgnoreOrgNr,
};

// Suppliers have no existence policy: a found one is changed, a missing one created.
constexpr TRegisterKind kSuppliers{
    .Caption = "Importerar leverantörer",
    .Container = "suppliers",
    .NoContainerText = "Ingen leverantör i denna fil",
    .EmptyText = "Inga leverantörer att importera",
    .UnreadableText = "Felaktigt XML format saknar leverantörinformation",
    .WithoutKeyText = "Fanns ingen nyckel på denna leverantör, omöjligt scenario om ingen modifierat trädet",
    .KeyUnknownText = "Kunde inte hitta leverantör med nyckel [",
    .ItemText = "Leverantör : ",
    .Registry = &TDMImport::ValidSuppliers,
    .KnownKey = TKnownKey_Supplier,
    .SettingsTable = "CDSImportSuppliersPrefs",
    .DataSet = &TImportDataSets::ADKLeverantorer,
    .DataSetName = "ADKLeverantorer",
    .MappingTable = "atLeverantorer",
    .Finder = {.ModeField = "SEARCH_SUPPLIER_MODE",
               .CdxField = "SEARCH_SUPPLIER_CDX",
               .SqlField = "SEARCH_SUPPLIER_SQL",
               .NoModeText =
                   "Ingen urvalsmetod har satts för att söka leverantörer. Kontrollera inställningarna",
               .EmptyCdxText = "Inställningen för urval av leverantörer är inte satt",
               .EmptySqlText = "SQL Sökning av leverantörer aktiverad, men inget SQL uttryck satt!",
               .NumberColumn = "levnr",
               .DefaultOrder = asLevNr,
               .BindEveryParameter = true},
    .NoEditMissingText = "No supplier found and noedit",
    .NumberText = "VISMA Levnr [",
    .NumberAttribute = "visma_supplier_number",
};

// Articles: a compound key is split at ";" for the search by SQL; the inactive flag is applied
// apart from the mapping; the supplier's article number and the names in other languages follow
// the article (import/article_steps.h). A write failure skips the article, not the import.
constexpr TRegisterKind kArticles{
    .Caption = "Importerar artiklar",
    .StepPicture = 9,
    .Container = "articles",
    .NoContainerText = "Ingen artikel i denna fil",
    .EmptyText = "Inga artiklar att importera",
    .UnreadableText = "Felaktigt XML format saknar artikelinformation",
    .WithoutKeyText = "Fanns ingen nyckel på denna artikel, omöjligt scenario om ingen modifierat trädet",
    .KeyUnknownText = kArticleKeyUnknown,
    .Registry = &TDMImport::ValidArticleKeys,
    .SettingsTable = "CDSImportArticlesPrefs",
    .DataSet = &TImportDataSets::ADKArtiklar,
    .DataSetName = "ADKArtiklar",
    .MappingTable = "atArtiklar",
    .Finder = {.ModeField = "SEARCH_ARTICLE_MODE",
               .CdxField = "SEARCH_ARTICLE_CDX",
               .SqlField = "SEARCH_ARTICLE_SQL",
               .NoModeText =
                   "Ingen inställning har gjorts för sökmetod vid artikelimport. Kontrollera inställningarna",
               .EmptySqlText = kNoSqlStatement,
               .NumberColumn = "artnr",
               .DefaultOrder = asArtikelnr,
               .SplitKeyAt = ";"},
    .ExistsSetting = "ON_ARTICLE_EXIST",
    .MissingSetting = "ON_ARTICLE_DOES_NOT_EXIST",
    .ExistsText = "Artikel existerar redan ",
    .MissingText = "Artikel existerar inte ",
    .NumberElement = "ARTICLE_NUMBER",
    .NumberText = "VISMA Artikel [",
    .NumberAttribute = "vismakey",
    .PostFailedText = "Misslyckades spara produkt: ",
    .HeldBackElement = kArticleInactiveElement,
    .BeforePost = ApplyArticleInactive,
    .AfterPost = WriteSupplierArticleNumber,
    .AfterItem = ImportLanguagesOfArticle,
};

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

// Takes every element of that name out of the item; the text of the first, when there was one.
std::optional<std::string> TakeElement(TXMLNode& item, std::string_view name) {
    std::optional<std::string> text;
    while (TXMLNode* element = item.FindNode(name)) {
        if (!text) text = element->Text();
        item.RemoveChild(element);
    }
    return text;
}

}  // namespace

bool TDMImport::ImportCustomers() {
    return RunRegisterImport(kCustomers);
}

bool TDMImport::ImportSuppliers() {
    return RunRegisterImport(kSuppliers);
}

bool TDMImport::ImportArticles() {
    return RunRegisterImport(kArticles);
}

TAdkDataSet& TDMImport::KitDataSet(TImportDataSet member, std::string_view name) const {
    TAdkDataSet* dataSet = context_.DataSets.*member;
    if (!dataSet) throw EImportError(std::string(kNoKitDataSet) + std::string(name));
    return *dataSet;
}

TKeyRecord& RegisteredItemKey(const TRegisterKind& kind, TKeyRegistry& registry, const TXMLNode& item,
                              std::string& key) {
    if (!IsElement(item)) throw EImportError(std::string(kind.UnreadableText));
    if (!item.HasAttribute("key")) throw EImportError(std::string(kind.WithoutKeyText));
    // Trimmed, as the check registered it, so that a key with blanks around it is found.
    key = Trim(item.Attribute("key"));
    if (key.empty() && !kind.EmptyKeyText.empty()) throw EImportError(std::string(kind.EmptyKeyText));
    TKeyRecord* record = registry.Locate(key);
    if (!record) throw EImportError(Bracketed(kind.KeyUnknownText, key, kKeyUnknownAfterKey));
    return *record;
}

bool TDMImport::RunImportFrame(const TImportFrame& frame, const std::function<void(TXMLNode&)>& walk) {
    IEventSink& events = Events();
    if (frame.ShowsStep) events.nextEvent(frame.Caption, frame.StepPicture);
    events.addEventItem(frame.Caption, true);
    bool result = true;
    try {
        TXMLNode* root = DocumentElement();
        if (!root && !frame.NoDocumentText.empty()) events.reportError(frame.NoDocumentText, elError);
        if (root) {
            TXMLNode* items = root->FindNode(frame.Container);
            if (!items) {
                if (!frame.NoContainerText.empty()) events.reportError(frame.NoContainerText, elInfo);
            } else if (!items->HasChildNodes()) {
                events.reportError(frame.EmptyText, elInfo);
            } else {
                if (frame.CountsItems) events.setEventCount(static_cast<int>(items->ChildCount()));
                WalkHoldingWrites(*items, walk);
            }
        }
    } catch (const std::exception& e) {
        events.reportError(e.what(), elError);
        result = false;
    }
    events.CloseNestedEventItem();
    return result;
}

void TDMImport::WalkHoldingWrites(TXMLNode& items, const std::function<void(TXMLNode&)>& walk) {
    const auto& hold = context_.holdWrites;
    if (!hold) return walk(items);
    hold(true);
    try {
        walk(items);
    } catch (...) {
        // What the walk wrote before it failed is committed as each write was before; a failure to
        // commit it is reported beside the walk's own.
        try {
            hold(false);
        } catch (const std::exception& e) {
            Events().reportError(e.what(), elError);
        }
        throw;
    }
    hold(false);
}

bool TDMImport::RunRegisterImport(const TRegisterKind& kind, TRegisterItems importItems) {
    return RunImportFrame(
        {kind.Caption, kind.StepPicture, kind.Container, kind.NoContainerText, kind.EmptyText},
        [&](TXMLNode& items) { (this->*importItems)(kind, items); });
}

void TDMImport::ImportRegisterItems(const TRegisterKind& kind, TXMLNode& container) {
    const TDataSet& settings = context_.SettingsTable(kind.SettingsTable);
    TAdkDataSet& dataSet = KitDataSet(kind.DataSet, kind.DataSetName);
    TKeyRegistry& registry = this->*kind.Registry;
    TRegisterRun run(settings, dataSet, TFieldMapping::For(*context_.FieldDefinitions, kind.MappingTable),
                     kind.Finder, qArtikelUrval(), context_.adminODBC, Events());
    std::string key;
    ForEachItem(container, [&](TXMLNode& item, int) {
        TKeyRecord& record = RegisteredItemKey(kind, registry, item, key);
        const std::string option = record.KEY_OPTION;
        const bool found = option != kOptionAutoCreate && FindRegisterRecord(kind, run, key);
        if (!kind.ItemText.empty()) Events().addEventItem(std::string(kind.ItemText) + key, false);
        TRegisterStep step{*this, Events(), run, item, record};
        const bool skipped =
            !kind.ExistsSetting.empty() &&
            ApplyExistencePolicy(
                ReadIntegerSetting(settings, found ? kind.ExistsSetting : kind.MissingSetting),
                found ? kind.ExistsText : kind.MissingText, key) == TExistenceAction::Skip;
        if (!skipped && option != kOptionNoEdit)
            WriteRegisterRecord(kind, step, key);
        else if (!skipped && !found && !kind.NoEditMissingText.empty())
            throw EImportError(std::string(kind.NoEditMissingText));
        if (kind.AfterItem) kind.AfterItem(step);
        return true;
    });
}

bool TDMImport::FindRegisterRecord(const TRegisterKind& kind, TRegisterRun& run, const std::string& key) {
    std::string number;
    if (!run.Finder.Find(key, number)) return false;
    SetValidKeyVismaValue(key, number, "", this->*kind.Registry);
    if (kind.KnownKey) keyHelper_.SetKnowVismaKeyValue(key, number, *kind.KnownKey);
    return true;
}

void TDMImport::WriteRegisterRecord(const TRegisterKind& kind, TRegisterStep& step, const std::string& key) {
    TAdkDataSet& dataSet = step.Run.DataSet;
    TXMLNode& item = step.Item;
    TKeyRecord& record = step.Record;
    try {
        const bool changing = !record.KEY_VALUE_IN_VISMA.empty();
        OpenRecordForWrite(dataSet, kind.Finder.DefaultOrder, record.KEY_VALUE_IN_VISMA, Events());
        if (changing && !kind.NumberElement.empty()) {
            // A changed record keeps its number: the file's number element goes.
            while (TXMLNode* number = item.FindNode(kind.NumberElement)) item.RemoveChild(number);
        }
        if (!kind.HeldBackElement.empty()) step.HeldBack = TakeElement(item, kind.HeldBackElement);
        step.Run.Writer.Write(item, changing);
        try {
            if (kind.BeforePost) kind.BeforePost(step);
            dataSet.Post();
        } catch (const std::exception&) {
            if (!kind.PostFailedText.empty()) {
                CancelPending(dataSet);
                Events().reportError(std::string(kind.PostFailedText) + record.KEY_KEY_VALUE, elError);
            }
            throw;
        }
        step.Run.Writer.ReportUnstorableTexts(Events(), std::string(kind.ItemText) + key);
        const std::string number = ReadBackNumber(dataSet);
        AddImportedItem(number);
        if (kind.KnownKey && !key.empty()) keyHelper_.SetKnowVismaKeyValue(key, number, *kind.KnownKey);
        record.KEY_VALUE_IN_VISMA = number;
        Events().reportError(Bracketed(kind.NumberText, number, "]"), elResult);
        try {
            item.SetAttribute(kind.NumberAttribute, number);
        } catch (const std::exception& e) {
            if (kind.AfterWriteFailedText.empty()) throw;
            throw EImportError(std::string(kind.AfterWriteFailedText) + e.what());
        }
        step.Number = number;
        if (kind.AfterPost) kind.AfterPost(step);
    } catch (const std::exception& e) {
        Events().reportError(std::string(kind.WriteFailedText) + e.what(), elError);
        CancelPending(dataSet);
        if (kind.WriteFailureEndsImport) throw EImportError(e.what());
    }
}

}  // namespace tv

// The import of the "aux" container: each child element named after a kit table ("atKunder",
// "atResultatenheter" ...) is one record of that table, written through the general-purpose kit
// dataset ADKAux, which is switched to the table when an element names another one. A record is
// found by its key on the table's default order and changed, else created.

#include <optional>

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/field_mapping.h"
#include "import/import_frame.h"
#include "import/import_xml.h"
#include "import/mapped_field_writer.h"
#include "import/record_write.h"

namespace tv {

namespace {

constexpr TImportFrame kAuxFrame{.Caption = "Importerar övriga register",
                                 .StepPicture = 9,
                                 .Container = "aux",
                                 .NoContainerText = "Ingen information i denna fil",
                                 .EmptyText = "Inga övriga att importera"};

inline constexpr std::string_view kTablePrefix = "at";
inline constexpr std::string_view kUnreadable = "Felaktigt XML format saknar AUX nod";
inline constexpr std::string_view kCannotOpenTable = "Kunde inte öppna tabell :  (";
inline constexpr std::string_view kNoKeyNoChild = "Ingen nyckel och inget defaultbarn: ";
inline constexpr std::string_view kChanging = "Ändrar ";
inline constexpr std::string_view kAdding = "Lägger till ";
inline constexpr std::string_view kAuxNumber = "VISMA AuxNyckel [";
inline constexpr std::string_view kNumberAttribute = "vismakey";
inline constexpr std::string_view kNoTableLookUp = "The import has no look-up of kit tables";

// The field mapping of the table the aux dataset holds, kept while the elements name that table.
struct TAuxTable {
    std::string Name;
    std::optional<TFieldMapping> Mapping;
    std::optional<TMappedFieldWriter> Writer;
};

}  // namespace

bool TDMImport::ImportAuxillary() {
    return RunImportFrame(kAuxFrame, [&](TXMLNode& container) { ImportAuxElements(container); });
}

void TDMImport::ImportAuxElements(TXMLNode& container) {
    TAdkDataSet& aux = KitDataSet(&TImportDataSets::ADKAux, "ADKAux");
    TAuxTable table;
    ForEachItem(container, [&](TXMLNode& element, int position) {
        if (!IsElement(element)) throw EImportError(std::string(kUnreadable));
        const std::string& name = element.NodeName();
        if (!name.starts_with(kTablePrefix)) return true;
        OpenAuxTable(aux, name);
        if (name != table.Name) {
            table.Writer.reset();
            table.Mapping = TFieldMapping::For(*context_.FieldDefinitions, name);
            table.Writer.emplace(*table.Mapping, aux);
            table.Name = name;
        }
        std::string key;
        if (element.HasAttribute("key"))
            key = element.Attribute("key");
        else if (element.HasChildNodes())
            key = element.ChildNode(0)->Text();
        else
            throw EImportError(std::string(kNoKeyNoChild) + name + " (" + std::to_string(position) + ")");
        WriteAuxRecord(aux, *table.Writer, name, key, element);
        return true;
    });
}

void TDMImport::OpenAuxTable(TAdkDataSet& aux, const std::string& name) {
    try {
        if (!context_.AdkHelper) throw EImportError(std::string(kNoTableLookUp));
        const TAdkTable table = context_.AdkHelper->getAdkTableForName(name);
        if (aux.AdkTable() != table) {
            aux.Close();
            aux.SetAdkTable(table);
        }
        if (!aux.Active() && !aux.MakeOpen()) throw EImportError(std::string(kCannotOpenTable));
    } catch (const std::exception&) {
        throw EImportError(std::string(kCannotOpenTable) + name + ")");
    }
}

void TDMImport::WriteAuxRecord(TAdkDataSet& aux, TMappedFieldWriter& writer, const std::string& name,
                               const std::string& key, TXMLNode& element) {
    IEventSink& events = Events();
    try {
        aux.EmptyDataSet();
        bool changing = false;
        if (!key.empty()) {
            // The table's own first order: the one its records are known by.
            aux.SetAdkSortOrder(GetValidSortOrder(aux.AdkTable(), asIngen));
            changing = aux.AdkNavFind(key, true, true);
        }
        const std::string record = name + "/" + key;
        if (changing) {
            aux.Edit();
            events.reportError(std::string(kChanging) + record, elExcessive);
        } else {
            aux.Append();
            events.reportError(std::string(kAdding) + record, elExcessive);
        }
        writer.Write(element, changing);
        aux.Post();
        writer.ReportUnstorableTexts(events, record);
        const std::string number = ReadBackNumber(aux);
        AddImportedItem(number);
        events.reportError(std::string(kAuxNumber) + number + "]", elResult);
        element.SetAttribute(kNumberAttribute, number);
    } catch (const std::exception& e) {
        CancelPending(aux);
        events.reportError(e.what(), elError);
    }
}

}  // namespace tv

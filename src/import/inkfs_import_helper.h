#pragma once
// Finds and writes incoming delivery notes for the delivery note import: an existing note is found
// by the note's key (by index or by SQL, as the delivery note settings say), a new one is written
// with its head and rows through the field mapping. Created for one import call; it keeps nothing
// between notes.

#include <string>
#include <string_view>

#include "import/document_rows.h"
#include "import/field_mapping.h"
#include "import/mapped_field_writer.h"
#include "import/record_finder.h"

namespace tv {

class IEventSink;
class TADOConnection;
class TADOQuery;
class TAdkDataSet;
class TDataSet;
class TKeyHelperDM;
class TKeyRegistry;
class TXMLNode;

inline constexpr std::string_view kDeliveryNoteHead = "atInkFs";
inline constexpr std::string_view kDeliveryNoteSupplierNumber = "DELIVERY_NOTE_SUPPLIER_NUMBER";
// Followed by the message of what failed while a note was written.
inline constexpr std::string_view kDeliveryNoteFailed = "Misslyckades att skapa följesedel: ";

class TImportInkFsHelper {
public:
    TImportInkFsHelper(const TDataSet& settings, TAdkDataSet& notes, TDataSet& fieldDefinitions,
                       TADOQuery& query, TADOConnection* connection, IEventSink& events,
                       const TKeyRegistry& articles, const TKeyHelperDM& keys);

    // The number of the note of the file key, or empty.
    std::string Find(const std::string& key);
    // The trimmed attribute "key" and "supplierkey" of a note's head, or empty.
    static std::string GetDocumentKey(const TXMLNode& head);
    static std::string GetSupplierKey(const TXMLNode& head);

    // Writes a new note from the note element (its head and rows) and answers its number. The
    // second first sets the head's supplier number to the number registered for `supplierkey`.
    // A failure cancels what was pending and raises kDeliveryNoteFailed with its message.
    int ImportDocument(TXMLNode& document);
    int ImportDocumentFromSupplier(TXMLNode& document, const std::string& supplierkey);

private:
    TAdkDataSet& notes_;
    const TKeyRegistry& articles_;
    const TKeyHelperDM& keys_;
    TRecordFinder finder_;
    TFieldMapping headMapping_;
    TFieldMapping rowMapping_;
    TMappedFieldWriter headWriter_;
    TDocumentRowWriter rowWriter_;
};

}  // namespace tv

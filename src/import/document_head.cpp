#include "import/document_head.h"

#include "adk/adk_dataset.h"
#include "import/import_xml.h"
#include "import/key_helper_dm.h"
#include "import/key_registry.h"
#include "import/key_text.h"
#include "import/record_write.h"

namespace tv {

namespace {

void CancelDocument(TAdkDataSet& head) {
    if (TAdkDataSet* rows = head.ChildTable()) CancelPending(*rows);
    CancelPending(head);
}

}  // namespace

std::string GetHeadDocumentKey(const TXMLNode& head) {
    if (const TXMLNode* number = ChildElement(head, kHeadDocumentNumber)) return number->Text();
    return head.Attribute("key");
}

bool ResolveDocumentReference(TXMLNode& head, std::string_view attribute, const TKeyRegistry& registry,
                              std::string_view element, std::string_view unknownText) {
    if (!head.HasAttribute(attribute)) return false;
    const TKeyRecord* record = registry.Locate(Trim(head.Attribute(attribute)));
    if (!record) throw EImportError(std::string(unknownText));
    ElementOf(head, element).SetText(record->KEY_VALUE_IN_VISMA);
    return true;
}

bool ResolveDocumentCustomer(TXMLNode& head, const TKeyRegistry& customers, std::string_view element) {
    return ResolveDocumentReference(head, "customerkey", customers, element, kCustomerKeyNotFound);
}

void GuardDocument(TAdkDataSet& head, const std::function<void()>& write) {
    try {
        write();
    } catch (...) {
        CancelDocument(head);
        TAdkDataSet* rows = head.ChildTable();
        if (rows && rows->Active()) rows->EmptyDataSet();
        throw;
    }
    CancelDocument(head);
}

}  // namespace tv

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

bool ResolveDocumentCustomer(TXMLNode& head, const TKeyRegistry& customers, std::string_view element) {
    if (!head.HasAttribute("customerkey")) return false;
    const TKeyRecord* customer = customers.Locate(Trim(head.Attribute("customerkey")));
    if (!customer) throw EImportError(std::string(kCustomerKeyNotFound));
    ElementOf(head, element).SetText(customer->KEY_VALUE_IN_VISMA);
    return true;
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

#include "export/export_document.h"

#include "platform/rtl/files.h"

namespace tv {
namespace {

// The reference that holds each container while a document is built, in container order.
using TNodeField = TXMLNode* TExportDocument::*;
constexpr std::array<TNodeField, kContainerNames.size()> kContainerFields = {
    &TExportDocument::NodeFTGInfo,        &TExportDocument::NodeArticles,
    &TExportDocument::NodeCustomers,      &TExportDocument::NodeSuppliers,
    &TExportDocument::NodeOrders,         &TExportDocument::NodeBest,
    &TExportDocument::NodeInvoices,       &TExportDocument::NodeSupplierInvoices,
    &TExportDocument::NodePriceLists,     &TExportDocument::NodeParcelArticles,
    &TExportDocument::NodePurchasePrices, &TExportDocument::NodeOffers,
    &TExportDocument::NodeAccounting,     &TExportDocument::NodeProfitCentres,
    &TExportDocument::NodeProjects,       &TExportDocument::NodeContacts,
};

}  // namespace

void TExportDocument::Activate() {
    doc_.SetActive(true);
    doc_.SetEncoding(kExportEncoding);
}

void TExportDocument::Deactivate() {
    clearDefaultNodes();
    doc_.SetActive(false);
    files_.reset();
}

TXMLNode* TExportDocument::NewRoot() {
    TXMLNode* root = doc_.CreateElement(kRootElement);
    doc_.SetDocumentElement(root);
    clearDefaultNodes();
    return root;
}

void TExportDocument::createDefaultNodes() {
    TXMLNode* root = NewRoot();
    for (size_t i = 0; i < kContainerNames.size(); ++i)
        this->*kContainerFields[i] = root->AddChild(kContainerNames[i]);
}

void TExportDocument::createCustomXmlDocument() {
    TXMLNode* root = NewRoot();
    NodeCustom = root->AddChild(kCustomElement);
}

void TExportDocument::clearDefaultNodes() {
    // Every reference is forgotten, not only those the skeleton sets: the nodes of the previous
    // document are gone.
    for (TNodeField field : kContainerFields) this->*field = nullptr;
    NodeCustom = nullptr;
    NodeNestedKolli = nullptr;
}

void TExportDocument::ClearRoot() {
    if (TXMLNode* root = doc_.DocumentElement()) root->ClearChildNodes();
    clearDefaultNodes();
}

void TExportDocument::Save(const std::string& fileName) {
    const std::string folder = ExtractFilePath(fileName);
    if (!folder.empty()) ForceDirectories(folder);
    // Written out as it is serialized: a document of many records is never held whole as bytes.
    if (files_)
        files_->Write(fileName, [&](const TBytePieceSink& put) { doc_.SaveInPieces(put); });
    else
        doc_.SaveToFile(fileName);
}

void TExportDocument::GroupFiles() {
    if (!files_) files_ = std::make_unique<TFileReplaceGroup>();
}

void TExportDocument::SaveFiles() {
    if (files_) files_->Commit();
}

TXMLNode& TExportDocument::Container(TExportContainer container) const {
    TXMLNode* node = this->*kContainerFields[container];
    if (!node)
        throw EXMLDocError("The export document has no container \"" +
                           std::string(kContainerNames[container]) + "\"");
    return *node;
}

}  // namespace tv

#pragma once
// The export document that every export run fills: the interchange skeleton (the root "quorvel" and
// its sixteen containers in their fixed order) or the SQL result skeleton, the references to the
// containers while a document is built, and the run's activate, save and deactivate steps.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/text_file.h"
#include "platform/xml/xml_document.h"

namespace tv {

inline constexpr std::string_view kExportEncoding = "ISO-8859-1";
inline constexpr std::string_view kRootElement = "quorvel";
inline constexpr std::string_view kCustomElement = "custom";

// The containers of the interchange document, in document order.
enum TExportContainer : int {
    ecCompanyData,
    ecArticles,
    ecCustomers,
    ecSuppliers,
    ecOrders,
    ecBests,
    ecInvoices,
    ecSupplierInvoices,
    ecPriceLists,
    ecParcels,
    ecPurchasePrices,
    ecOffers,
    ecAccounts,
    ecProfitCentres,
    ecProjects,
    ecContacts,
};
inline constexpr std::array<std::string_view, 16> kContainerNames = {
    "companydata", "articles",         "customers",  "suppliers", "orders",         "bests",
    "invoices",    "supplierinvoices", "pricelists", "parcels",   "purchaseprices", "offers",
    "accounts",    "profitcentres",    "projects",   "contacts",
};

class TExportDocument {
public:
    // `document` is the central data module's export document, shared by every export.
    explicit TExportDocument(TXMLDocument& document) : doc_(document) {}

    TXMLDocument& XMLDocument1() const { return doc_; }

    // Makes the document active and empty, with the encoding "ISO-8859-1".
    void Activate();
    // Discards the content and every container reference, and ends the grouping of files (files
    // not put in place by SaveFiles are dropped).
    void Deactivate();

    // Makes a new "quorvel" the document element and appends the sixteen containers to it.
    void createDefaultNodes();
    // Makes a new "quorvel" the document element with the one child "custom".
    void createCustomXmlDocument();
    // Forgets the container references of the previous document.
    void clearDefaultNodes();
    // Empties the document element; a run that writes one file per record does so before each.
    void ClearRoot();

    // Creates the file's folder with its missing parents and saves the document over the file.
    // While the files are grouped, the file is put in place by SaveFiles.
    void Save(const std::string& fileName);
    // From here on the files saved are grouped: written beside their names and put in place
    // together by SaveFiles, with one wait for the disk for all of them instead of one per file.
    void GroupFiles();
    // Puts the grouped files in place (the group stays open for more). A writer that marks
    // documents in the business system once their file is saved calls it before marking.
    void SaveFiles();

    TXMLNode& Container(TExportContainer container) const;

    // The containers while a skeleton is built; null before and after.
    TXMLNode* NodeFTGInfo = nullptr;
    TXMLNode* NodeArticles = nullptr;
    TXMLNode* NodeCustomers = nullptr;
    TXMLNode* NodeSuppliers = nullptr;
    TXMLNode* NodeOrders = nullptr;
    TXMLNode* NodeBest = nullptr;
    TXMLNode* NodeInvoices = nullptr;
    TXMLNode* NodeSupplierInvoices = nullptr;
    TXMLNode* NodePriceLists = nullptr;
    TXMLNode* NodeParcelArticles = nullptr;
    TXMLNode* NodePurchasePrices = nullptr;
    TXMLNode* NodeOffers = nullptr;
    TXMLNode* NodeAccounting = nullptr;
    TXMLNode* NodeProfitCentres = nullptr;
    TXMLNode* NodeProjects = nullptr;
    TXMLNode* NodeContacts = nullptr;
    TXMLNode* NodeCustom = nullptr;
    TXMLNode* NodeNestedKolli = nullptr;

private:
    TXMLNode* NewRoot();

    TXMLDocument& doc_;
    std::unique_ptr<TFileReplaceGroup> files_;
};

}  // namespace tv

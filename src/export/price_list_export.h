#pragma once
// The price-list export of the central data module, and the customer price lists the customer
// export includes. A code of the price-list selection names a price list of the company, written
// with its mapped head fields and all its sales prices, or a customer ("Customer:" and the
// customer's number), written as the prices the kit computes for that customer: every article with
// an EAN code at quantity 1 and at the quantity brackets of the customer's price list. With extra
// data the operator is asked for the list's running number and agreement reference first.

#include <string>
#include <string_view>

#include "export/export_module.h"
#include "platform/rtl/perl_regex.h"

namespace tv {

inline constexpr std::string_view kExportingPriceList = "Exporterar prislista ";
inline constexpr std::string_view kPriceListNotFound = "Kunde inte hitta prislista";
inline constexpr std::string_view kCustomerOfListNotFound = "Kunde inte hitta kund: %s";
inline constexpr std::string_view kCustomersPriceListMissing = "Prislistan existerar inte";
inline constexpr std::string_view kNoExtraData = "Ingen extrainformation angiven";
// A customer code of the price-list selection; sub-expression 2 is the customer number.
inline constexpr std::string_view kCustomerCodePattern = "(Customer):([^:]*)";

class TPriceListExport {
public:
    explicit TPriceListExport(TExportModule& module);

    // The codes of the selection's first column, into one file or one file per code as the
    // setting FILE_MANAGEMENT_TYPE says.
    void ExportPriceLists(TDataSet& selection);
    // The company price list the price-list dataset stands on, into `container`.
    void writePriceListNode(TXMLNode& container);
    // The price list of the customer `code` names ("Customer:" and a number, or the number
    // alone), always into the price-list container; every article written is added to
    // `articleSelection` once (letter case ignored). `askExtraData` 1 asks for the running
    // number and agreement reference first. Whatever `container` the caller names, the list goes
    // into the price-list container.
    void writeCustomerPriceList(TXMLNode& container, int askExtraData, TDataSet& articleSelection,
                                std::string_view code);
    // writeCustomerPriceList for the first-column text of every row of `priceListSelection`.
    void writeCustomerPriceLists(TXMLNode& container, int askExtraData, TDataSet& articleSelection,
                                 TDataSet& priceListSelection);
    // The seven article elements of a customer price-list row, from the article the article
    // dataset stands on, with `price`.
    void writePriceArticleFields(TXMLNode& row, double price);

private:
    // The customer's running number and agreement reference, asked for and saved; raises
    // kNoExtraData when nobody answered.
    void AskExtraData(const TAdkDataSet& customer, std::string& listCode, std::string& agreement);
    void AddPriceRow(TXMLNode& rows, std::string_view priceList, double price, std::string_view quantity,
                     bool base);
    TAdkDataSet& DataSet(TExportDataSet dataSet) const { return module_.KitDataSet(dataSet); }

    TExportModule& module_;
    TPerlRegEx customerCode_;
    std::string scratch_;
};

}  // namespace tv

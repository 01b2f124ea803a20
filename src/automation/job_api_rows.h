#pragma once
// The job API's table: its 91 rows in registration order, each with its declaration as stored, its
// data module and its adapter. The table is a template over the bound classes, so that tests bind
// it to recording doubles: `Classes` names them as MainForm, MainDM, DMImport, DMExport and
// DMPlugins.
//
// Rows 71 and 72 ("InitiateExport", "FinalizeExport") are the operations of rows 1 and 2: an export
// connects and disconnects as an import does. Rows 48 to 50 reach the three forms of
// ExportArticlesFromList. Rows 83 to 89 are stored with the central data module as their object,
// but their operations are the export module's and use only its state, so they are bound to it.
// Rows without an adapter wait for their operation: adding one is its adapter in its row.

#include <cstdint>
#include <string>
#include <string_view>

#include "automation/job_api.h"
#include "platform/rtl/string_list.h"
#include "script/host/component/script.h"

namespace tv {
namespace job_api {

// Binds a member function of the row's object.
template <auto M>
bool Method(script::TPSScript& script, void* self, std::string_view declaration) {
    using C = typename script::binding::FunctionTraits<decltype(M)>::Class;
    return script.AddMethod<M>(static_cast<C*>(self), declaration);
}

// Binds a function that needs no object.
template <auto Fn>
bool Function(script::TPSScript& script, void*, std::string_view declaration) {
    return script.AddFunction<Fn>(declaration);
}

// FindFiles' list is a var parameter in its declaration; the operation fills the list it is given.
template <class DMImport>
bool FindFiles(script::TPSScript& script, void* self, std::string_view declaration) {
    auto* dm = static_cast<DMImport*>(self);
    return script.AddCallable(declaration, [dm](const std::string& mask, TStringList*& files, int32_t side,
                                                const std::string& directory) {
        if (!files) script::ThrowNilObject();
        dm->FindFiles(mask, *files, side, directory);
    });
}

// ImportPurchasePrices2 takes its flag as a Boolean; the operation takes any non-zero value as set.
template <class DMImport>
bool PurchasePrices2(script::TPSScript& script, void* self, std::string_view declaration) {
    auto* dm = static_cast<DMImport*>(self);
    return script.AddCallable(
        declaration, [dm](bool ignorefailures) { return dm->ImportPurchasePrices2(ignorefailures ? 1 : 0); });
}

}  // namespace job_api

template <class Classes>
struct TJobApiRows {
    using Form = typename Classes::MainForm;
    using DM = typename Classes::MainDM;
    using Import = typename Classes::DMImport;
    using Export = typename Classes::DMExport;
    using Plugins = typename Classes::DMPlugins;
    template <auto M>
    static constexpr TJobApiBind Method = &job_api::Method<M>;
    template <auto Fn>
    static constexpr TJobApiBind Function = &job_api::Function<Fn>;
    template <class DMImport>
    static constexpr TJobApiBind FindFiles = &job_api::FindFiles<DMImport>;
    template <class DMImport>
    static constexpr TJobApiBind PurchasePrices2 = &job_api::PurchasePrices2<DMImport>;

    // clang-format off
    static constexpr TJobApiRow kRows[kJobApiRowCount] = {
        {1, " procedure InitiateImport();", TJobApiObject::MainForm, Method<&Form::InitiateImport>},
        {2, "procedure FinalizeImport();", TJobApiObject::MainForm, Method<&Form::FinalizeImport>},
        {3, " procedure FindFiles(const mask: string; var files: TStringList; IMPORT_EXPORT: Integer; const directory: string);", TJobApiObject::DMImport, FindFiles<Import>},
        {4, " function getCommandLineSelection(registry: Integer): TStringList;", TJobApiObject::MainDM, Method<&DM::getCommandLineSelection>},
        {5, " function CheckBest(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckBest>},
        {6, " function ImportBest(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportBest>},
        {7, " function CheckArticles(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckArticles>},
        {8, " function ImportArticles(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportArticles>},
        {9, " function CheckCustomers(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckCustomers>},
        {10, " function ImportCustomers(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportCustomers>},
        {11, " function CheckOrders(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckOrders>},
        {12, " function ImportOrders(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportOrders>},
        {13, "function LoadXML(filename : string) : boolean;", TJobApiObject::DMImport, Method<&Import::LoadXML>},
        {14, " function CheckSuppliers() : boolean", TJobApiObject::DMImport, Method<&Import::CheckSuppliers>},
        {15, " function ImportSuppliers() : boolean", TJobApiObject::DMImport, Method<&Import::ImportSuppliers>},
        {16, "   function CheckSupplierInvoices(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckSupplierInvoices>},
        {17, " function CheckAgreements(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckAgreements>},
        {18, " function ImportAgreements() : boolean", TJobApiObject::DMImport, Method<&Import::ImportAgreements>},
        {19, " function CheckInvoices(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckInvoices>},
        {20, " function ImportInvoices() : boolean", TJobApiObject::DMImport, Method<&Import::ImportInvoices>},
        {21, " function ImportSupplierInvoices() : boolean", TJobApiObject::DMImport, Method<&Import::ImportSupplierInvoices>},
        {22, " function CustomImportOrderAvstamning() : boolean", TJobApiObject::DMImport, Method<&Import::CustomImportOrderAvstamning>},
        {23, " function CheckCustomerPayments(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckCustomerPayments>},
        {24, " function ImportCustomerPayments(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportCustomerPayments>},
        {25, " function CheckOffers(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckOffers>},
        {26, " function ImportOffers(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportOffers>},
        {27, " function CheckManualDeliveryIn(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckManualDeliveryIn>},
        {28, " function ImportManualDeliveryIn(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportManualDeliveryIn>},
        {29, " function CheckManualDeliveryOut(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckManualDeliveryOut>},
        {30, " function ImportManualDeliveryOut(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportManualDeliveryOut>},
        {31, " function CheckDeliveryNotes(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckDeliveryNotes>},
        {32, " function ImportDeliveryNotes(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportDeliveryNotes>},
        {33, " function CheckContacts(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckContacts>},
        {34, " function ImportContacts(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportContacts>},
        {35, " function CheckPurchasePrices(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckPurchasePrices>},
        {36, " function ImportPurchasePrices(): boolean; overload; ", TJobApiObject::DMImport, Method<&Import::ImportPurchasePrices>},
        {37, " function ImportPurchasePrices2(ignorefailures : boolean): boolean; overload; ", TJobApiObject::DMImport, PurchasePrices2<Import>},
        {38, " function CheckSalesPrices(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckSalesPrices>},
        {39, " function ImportSalesPrices(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportSalesPrices>},
        {40, " function CheckProjects(): boolean;", TJobApiObject::DMImport, Method<&Import::CheckProjects>},
        {41, " function ImportProjects(): boolean;", TJobApiObject::DMImport, Method<&Import::ImportProjects>},
        {42, " function TID_CheckCustomers(): boolean;", TJobApiObject::DMImport, Method<&Import::TID_CheckCustomers>},
        {43, " function TID_ImportCustomers(): boolean;", TJobApiObject::DMImport, Method<&Import::TID_ImportCustomers>},
        {44, " function ImportAuxillary() : boolean", TJobApiObject::DMImport, Method<&Import::ImportAuxillary>},
        {45, "procedure ArchiveCompleteFile(filename, subfolder: string; flag: integer; overwrite_existing : boolean);", TJobApiObject::MainDM, Method<&DM::ArchiveCompleteFile>},
        {46, "procedure ArchiveFailedFile(filename, subfolder: string; flag : integer);", TJobApiObject::MainDM, Method<&DM::ArchiveFailedFile>},
        {47, "procedure ExportArticles();", TJobApiObject::DMExport, Method<&Export::ExportArticles>},
        {48, "procedure ExportArticlesFromList(items : TStringList); overload;", TJobApiObject::DMExport, Method<static_cast<void (Export::*)(const TStrings*)>(&Export::ExportArticlesFromList)>},
        {49, "procedure ExportArticlesFromList2(items : TStringList; pricelists: TStringList; includeQuantityPrices: integer; includeSupplierPrices: integer); overload;", TJobApiObject::DMExport, Method<static_cast<void (Export::*)(const TStrings*, const TStrings*, int, int)>(&Export::ExportArticlesFromList)>},
        {50, "procedure ExportArticlesFromList3(items : TStringList; pricelists: TStringList; includeQuantityPrices: integer; includeSupplierPrices: integer; includeTranslations : integer); overload;", TJobApiObject::DMExport, Method<static_cast<void (Export::*)(const TStrings*, const TStrings*, int, int, int)>(&Export::ExportArticlesFromList)>},
        {51, "procedure ExportCustomers();", TJobApiObject::DMExport, Method<&Export::ExportCustomers>},
        {52, "procedure ExportCustomersFromList(items : TStringList);", TJobApiObject::DMExport, Method<&Export::ExportCustomersFromList>},
        {53, "procedure ExportContacts();", TJobApiObject::DMExport, Method<&Export::ExportContacts>},
        {54, "procedure ExportSuppliers();", TJobApiObject::DMExport, Method<&Export::ExportSuppliers>},
        {55, "procedure ExportBest(); overload", TJobApiObject::DMExport, Method<&Export::ExportBest>},
        {56, "procedure ExportBestFromList(items: TStringList); overload", TJobApiObject::DMExport, Method<&Export::ExportBestFromList>},
        {57, "procedure ExportOrders(); overload", TJobApiObject::DMExport, Method<&Export::ExportOrders>},
        {58, "procedure ExportOrdersFromList(items: TStringList); overload", TJobApiObject::DMExport, Method<&Export::ExportOrdersFromList>},
        {59, "procedure ExportOffers(); overload", TJobApiObject::DMExport, Method<&Export::ExportOffers>},
        {60, "procedure ExportOffersFromList(items: TStringList); overload", TJobApiObject::DMExport, Method<&Export::ExportOffersFromList>},
        {61, "procedure ExportInvoices();", TJobApiObject::DMExport, Method<&Export::ExportInvoices>},
        {62, "procedure ExportInvoicesFromList(items : TStringList);", TJobApiObject::DMExport, Method<&Export::ExportInvoicesFromList>},
        {63, "procedure ExportSupplierInvoices();", TJobApiObject::DMExport, Method<&Export::ExportSupplierInvoices>},
        {64, "procedure ExportSupplierInvoicesFromList(items : TStringList);", TJobApiObject::DMExport, Method<&Export::ExportSupplierInvoicesFromList>},
        {65, "procedure ExportPricelists(); overload", TJobApiObject::DMExport, Method<&Export::ExportPriceLists>},
        {66, "procedure ExportSQL(const SQL_QUERY_NAME: string; SQL_FILENAME: string);", TJobApiObject::DMExport, Method<&Export::ExportSQL>},
        {67, "procedure ExportSQLFromList(const SQL_QUERY_NAME: string; SQL_FILENAME: string; items: TStringList);", TJobApiObject::DMExport, Method<&Export::ExportSQLFromList>},
        {68, "procedure RunRule(rulename: string);", TJobApiObject::DMPlugins, Method<&Plugins::RunRule>},
        {69, "procedure GFXSetFileName(filename : string);", TJobApiObject::MainForm, Method<&Form::GFXSetFileName>},
        {70, "procedure GFXCloseSection();", TJobApiObject::MainForm, Method<&Form::GFXCloseSection>},
        {71, "procedure InitiateExport();", TJobApiObject::MainForm, Method<&Form::InitiateImport>},
        {72, "procedure FinalizeExport();", TJobApiObject::MainForm, Method<&Form::FinalizeImport>},
        {73, "procedure AddImportedItem(str : string);", TJobApiObject::DMImport, Method<&Import::AddImportedItem>},
        {74, "procedure ClearImportedItems(str : string);", TJobApiObject::DMImport, Method<&Import::clearImportedItems>},
        {75, "function GetImportedItems() : TStringList;", TJobApiObject::DMImport, Method<&Import::getImportedItems>},
        {76, "function GetCancelling() : boolean;", TJobApiObject::MainDM, Method<&DM::getCancelling>},
        {77, "procedure SetCancelling(const cancel :boolean);", TJobApiObject::MainDM, Method<&DM::setCancelling>},
        {78, " procedure RunProgram(pathprogram: String; parameters: String; Directory: String);", TJobApiObject::MainDM, Method<&DM::RunProgram>},
        {79, " procedure CleanUpXFormed(flag: integer);", TJobApiObject::MainDM, Method<&DM::CleanUpXFormed>},
        {80, " function GetExtraParams(): TStringList;", TJobApiObject::MainDM, Method<&DM::GetExtraParams>},
        {81, "function GetTimestampByName(tname : string; defValue : TDateTime) : TDateTime;", TJobApiObject::MainDM, Method<&DM::GetTimestampByName>},
        {82, " procedure SaveTimestampByName(tname: string; value: TDateTime); ", TJobApiObject::MainDM, Method<&DM::SaveTimestampByName>},
        {83, "function GetLastTimestamp() : TDateTime;", TJobApiObject::DMExport, Method<&Export::GetLastTimeStamp>},
        {84, " procedure GetArticlesByTimeStamp(items : TStringList; startfrom : TDateTime; query : string); ", TJobApiObject::DMExport, Method<&Export::GetArticlesByTimeStamp>},
        {85, " procedure GetCustomersByTimeStamp(items : TStringList; startfrom : TDateTime; query : string); ", TJobApiObject::DMExport, Method<&Export::GetCustomersByTimeStamp>},
        {86, " procedure GetDocumentsBySQL(items : TStringList; query : string); ", TJobApiObject::DMExport, Method<&Export::GetDocumentsBySQL>},
        {87, " procedure GetOrdersByTimeStamp(items : TStringList; startfrom : TDateTime; query : string); ", TJobApiObject::DMExport, Method<&Export::GetOrdersByTimeStamp>},
        {88, " procedure GetInvoicesByTimeStamp(items : TStringList; startfrom : TDateTime; query : string); ", TJobApiObject::DMExport, Method<&Export::GetInvoicesByTimeStamp>},
        {89, " procedure GetSupplierInvoicesByTimeStamp(items : TStringList; startfrom : TDateTime; query : string); ", TJobApiObject::DMExport, Method<&Export::GetSupplierInvoicesByTimeStamp>},
        {90, "procedure ExportAccountPlan(const year : string); overload", TJobApiObject::DMExport, Method<&Export::ExportAccountPlan>},
        {91, "function GetChunk(const source: TStringList; chunkno : integer; size : integer): TStringList ", TJobApiObject::MainDM, Function<&DM::GetChunk>},
    };
    // clang-format on
};

template <class Classes>
TJobApi TJobApi::Over(typename Classes::MainForm* mainForm, typename Classes::MainDM* mainDM,
                      typename Classes::DMImport* dmImport, typename Classes::DMExport* dmExport,
                      typename Classes::DMPlugins* dmPlugins) {
    return TJobApi(TJobApiRows<Classes>::kRows, {mainForm, mainDM, dmImport, dmExport, dmPlugins});
}

}  // namespace tv

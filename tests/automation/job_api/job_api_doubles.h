#pragma once
// Recording doubles of the data modules the job API is bound to: every operation writes one line
// with its arguments into a shared trace and answers what the test set (functions answer true, a
// list names its call). An operation named in `Raising` raises instead, with the text given.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "automation/job_api_rows.h"
#include "platform/rtl/date_time.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/string_list.h"

namespace tv::test {

struct TApiTrace {
    std::vector<std::string> Lines;
    std::map<std::string, bool, std::less<>> Answers;         // a function's answer (default true)
    std::map<std::string, std::string, std::less<>> Raising;  // operation -> the text it raises

    void Add(std::string line) { Lines.push_back(std::move(line)); }
    // Records the call and raises when the operation is to.
    void Call(std::string_view name, const std::string& args = "") {
        Add(std::string(name) + "(" + args + ")");
        if (auto r = Raising.find(name); r != Raising.end()) throw Exception(r->second);
    }
    bool Answer(std::string_view name, const std::string& args = "") {
        Call(name, args);
        auto a = Answers.find(name);
        return a == Answers.end() || a->second;
    }
    std::unique_ptr<TStringList> List(std::string_view name, const std::string& args = "") {
        Call(name, args);
        auto list = std::make_unique<TStringList>();
        list->Add(args.empty() ? std::string(name) : std::string(name) + " " + args);
        return list;
    }
};

inline std::string Join(std::initializer_list<std::string> parts) {
    std::string s;
    for (const auto& p : parts) s += (s.empty() ? "" : ",") + p;
    return s;
}
inline std::string Text(const TStrings* list) {
    return list ? "[" + list->CommaText() + "]" : "nil";
}
inline std::string Str(bool b) {
    return b ? "true" : "false";
}

class TMainFormDouble {
public:
    explicit TMainFormDouble(TApiTrace& t) : t_(t) {}
    void InitiateImport() { t_.Call("InitiateImport"); }
    void FinalizeImport() { t_.Call("FinalizeImport"); }
    void GFXSetFileName(std::string_view fileName) { t_.Call("GFXSetFileName", std::string(fileName)); }
    void GFXCloseSection() { t_.Call("GFXCloseSection"); }

private:
    TApiTrace& t_;
};

class TMainDMDouble {
public:
    explicit TMainDMDouble(TApiTrace& t) : t_(t) { gTrace = &t; }
    ~TMainDMDouble() { gTrace = nullptr; }

    std::unique_ptr<TStringList> getCommandLineSelection(int registry) const {
        return t_.List("getCommandLineSelection", std::to_string(registry));
    }
    void ArchiveCompleteFile(const std::string& f, const std::string& sub, int flag, bool overwrite) {
        t_.Call("ArchiveCompleteFile", Join({f, sub, std::to_string(flag), Str(overwrite)}));
    }
    void ArchiveFailedFile(const std::string& f, const std::string& sub, int flag) {
        t_.Call("ArchiveFailedFile", Join({f, sub, std::to_string(flag)}));
    }
    bool getCancelling() const { return t_.Answer("getCancelling"); }
    void setCancelling(bool cancel) { t_.Call("setCancelling", Str(cancel)); }
    void RunProgram(const std::string& program, const std::string& parameters, const std::string& directory) {
        t_.Call("RunProgram", Join({program, parameters, directory}));
    }
    void CleanUpXFormed(int flag) { t_.Call("CleanUpXFormed", std::to_string(flag)); }
    std::unique_ptr<TStringList> GetExtraParams() const { return t_.List("GetExtraParams"); }
    TDateTime GetTimestampByName(std::string_view name, TDateTime defValue) const {
        t_.Call("GetTimestampByName", Join({std::string(name), std::to_string(defValue)}));
        return defValue + 1.5;
    }
    void SaveTimestampByName(std::string_view name, TDateTime value) {
        t_.Call("SaveTimestampByName", Join({std::string(name), std::to_string(value)}));
    }
    static std::unique_ptr<TStringList> GetChunk(const TStrings& source, int chunkno, int size) {
        return gTrace->List("GetChunk", Join({"[" + source.CommaText() + "]", std::to_string(chunkno),
                                              std::to_string(size)}));
    }

private:
    TApiTrace& t_;
    static inline TApiTrace* gTrace = nullptr;  // what the static GetChunk records into
};

// The import module's operations: each check and import answers as its name is set in Answers.
class TDMImportDouble {
public:
    explicit TDMImportDouble(TApiTrace& t) : t_(t) {}
    void FindFiles(const std::string& mask, TStrings& files, int side, const std::string& directory) {
        t_.Call("FindFiles", Join({mask, std::to_string(side), directory}));
        files.Add("a.xml");
        files.Add("b.xml");
    }
    bool LoadXML(const std::string& fileName) { return t_.Answer("LoadXML", fileName); }
    void AddImportedItem(std::string_view s) { t_.Call("AddImportedItem", std::string(s)); }
    void clearImportedItems(std::string_view s) { t_.Call("clearImportedItems", std::string(s)); }
    std::unique_ptr<TStringList> getImportedItems() const { return t_.List("getImportedItems"); }
    bool ImportPurchasePrices2(int ignorefailures) {
        return t_.Answer("ImportPurchasePrices2", std::to_string(ignorefailures));
    }

#define TV_DOUBLE_ANSWER(Name)   \
    bool Name() {                \
        return t_.Answer(#Name); \
    }
    TV_DOUBLE_ANSWER(CheckCustomers)
    TV_DOUBLE_ANSWER(CheckSuppliers)
    TV_DOUBLE_ANSWER(CheckArticles)
    TV_DOUBLE_ANSWER(CheckContacts)
    TV_DOUBLE_ANSWER(CheckProjects)
    TV_DOUBLE_ANSWER(CheckBest)
    TV_DOUBLE_ANSWER(CheckManualDeliveryIn)
    TV_DOUBLE_ANSWER(CheckManualDeliveryOut)
    TV_DOUBLE_ANSWER(CheckOrders)
    TV_DOUBLE_ANSWER(CheckOffers)
    TV_DOUBLE_ANSWER(CheckInvoices)
    TV_DOUBLE_ANSWER(CheckAgreements)
    TV_DOUBLE_ANSWER(CheckSalesPrices)
    TV_DOUBLE_ANSWER(CheckPurchasePrices)
    TV_DOUBLE_ANSWER(CheckCustomerPayments)
    TV_DOUBLE_ANSWER(CheckDeliveryNotes)
    TV_DOUBLE_ANSWER(CheckSupplierInvoices)
    TV_DOUBLE_ANSWER(ImportBest)
    TV_DOUBLE_ANSWER(ImportSupplierInvoices)
    TV_DOUBLE_ANSWER(ImportDeliveryNotes)
    TV_DOUBLE_ANSWER(ImportManualDeliveryIn)
    TV_DOUBLE_ANSWER(ImportManualDeliveryOut)
    TV_DOUBLE_ANSWER(ImportCustomers)
    TV_DOUBLE_ANSWER(ImportSuppliers)
    TV_DOUBLE_ANSWER(ImportArticles)
    TV_DOUBLE_ANSWER(ImportAuxillary)
    TV_DOUBLE_ANSWER(ImportContacts)
    TV_DOUBLE_ANSWER(ImportProjects)
    TV_DOUBLE_ANSWER(ImportOrders)
    TV_DOUBLE_ANSWER(ImportOffers)
    TV_DOUBLE_ANSWER(ImportInvoices)
    TV_DOUBLE_ANSWER(ImportAgreements)
    TV_DOUBLE_ANSWER(ImportCustomerPayments)
    TV_DOUBLE_ANSWER(ImportSalesPrices)
    TV_DOUBLE_ANSWER(ImportPurchasePrices)
    TV_DOUBLE_ANSWER(TID_CheckCustomers)
    TV_DOUBLE_ANSWER(TID_ImportCustomers)
    TV_DOUBLE_ANSWER(CustomImportOrderAvstamning)
#undef TV_DOUBLE_ANSWER

private:
    TApiTrace& t_;
};

class TDMExportDouble {
public:
    explicit TDMExportDouble(TApiTrace& t) : t_(t) {}
    void ExportArticlesFromList(const TStrings* items) { t_.Call("ExportArticlesFromList", Text(items)); }
    void ExportArticlesFromList(const TStrings* items, const TStrings* pricelists, int quantity,
                                int supplier) {
        t_.Call("ExportArticlesFromList",
                Join({Text(items), Text(pricelists), std::to_string(quantity), std::to_string(supplier)}));
    }
    void ExportArticlesFromList(const TStrings* items, const TStrings* pricelists, int quantity, int supplier,
                                int translations) {
        t_.Call("ExportArticlesFromList", Join({Text(items), Text(pricelists), std::to_string(quantity),
                                                std::to_string(supplier), std::to_string(translations)}));
    }
    void GetDocumentsBySQL(TStrings& items, const std::string& query) {
        t_.Call("GetDocumentsBySQL", Join({Text(&items), query}));
        items.Add("D1");
    }
    void ExportAccountPlan(const std::string& year) { t_.Call("ExportAccountPlan", year); }
    void ExportSQL(const std::string& name, const std::string& fileName) {
        t_.Call("ExportSQL", Join({name, fileName}));
    }
    void ExportSQLFromList(const std::string& name, const std::string& fileName, const TStrings* items) {
        t_.Call("ExportSQLFromList", Join({name, fileName, Text(items)}));
    }
    // The newest change time the last look-up saw.
    TDateTime GetLastTimeStamp() const {
        t_.Call("GetLastTimeStamp");
        return 45292.75;
    }

#define TV_DOUBLE_EXPORT(Name) \
    void Name() {              \
        t_.Call(#Name);        \
    }
#define TV_DOUBLE_EXPORT_LIST(Name)    \
    void Name(const TStrings* items) { \
        t_.Call(#Name, Text(items));   \
    }
    TV_DOUBLE_EXPORT(ExportArticles)
    TV_DOUBLE_EXPORT(ExportCustomers)
    TV_DOUBLE_EXPORT_LIST(ExportCustomersFromList)
    TV_DOUBLE_EXPORT(ExportContacts)
    TV_DOUBLE_EXPORT(ExportSuppliers)
    TV_DOUBLE_EXPORT(ExportBest)
    TV_DOUBLE_EXPORT_LIST(ExportBestFromList)
    TV_DOUBLE_EXPORT(ExportOrders)
    TV_DOUBLE_EXPORT_LIST(ExportOrdersFromList)
    TV_DOUBLE_EXPORT(ExportOffers)
    TV_DOUBLE_EXPORT_LIST(ExportOffersFromList)
    TV_DOUBLE_EXPORT(ExportInvoices)
    TV_DOUBLE_EXPORT_LIST(ExportInvoicesFromList)
    TV_DOUBLE_EXPORT(ExportSupplierInvoices)
    TV_DOUBLE_EXPORT_LIST(ExportSupplierInvoicesFromList)
    TV_DOUBLE_EXPORT(ExportPriceLists)

// A change look-up appends one key named after it to the list it is given.
#define TV_DOUBLE_LOOKUP(Name)                                                  \
    void Name(TStrings& items, TDateTime startfrom, const std::string& query) { \
        t_.Call(#Name, Join({Text(&items), std::to_string(startfrom), query})); \
        items.Add(#Name);                                                       \
    }
    TV_DOUBLE_LOOKUP(GetArticlesByTimeStamp)
    TV_DOUBLE_LOOKUP(GetCustomersByTimeStamp)
    TV_DOUBLE_LOOKUP(GetOrdersByTimeStamp)
    TV_DOUBLE_LOOKUP(GetInvoicesByTimeStamp)
    TV_DOUBLE_LOOKUP(GetSupplierInvoicesByTimeStamp)
#undef TV_DOUBLE_EXPORT
#undef TV_DOUBLE_EXPORT_LIST
#undef TV_DOUBLE_LOOKUP

private:
    TApiTrace& t_;
};

class TDMPluginsDouble {
public:
    explicit TDMPluginsDouble(TApiTrace& t) : t_(t) {}
    void RunRule(const std::string& rulename) { t_.Call("RunRule", rulename); }

private:
    TApiTrace& t_;
};

struct TDoubleClasses {
    using MainForm = TMainFormDouble;
    using MainDM = TMainDMDouble;
    using DMImport = TDMImportDouble;
    using DMExport = TDMExportDouble;
    using DMPlugins = TDMPluginsDouble;
};

// The five doubles over one trace.
struct TApiDoubles {
    TApiTrace Trace;
    TMainFormDouble Form{Trace};
    TMainDMDouble DM{Trace};
    TDMImportDouble Import{Trace};
    TDMExportDouble Export{Trace};
    TDMPluginsDouble Plugins{Trace};

    // The job API bound to the doubles.
    TJobApi Api() { return TJobApi::Over<TDoubleClasses>(&Form, &DM, &Import, &Export, &Plugins); }
};

}  // namespace tv::test

#pragma once
// The kit as the binder meets it: "Adk.dll" loaded with dlopen and every export looked up by its
// plain name, plus temporary company folders made with adkctl. The kit tests use nothing else.

#include <dlfcn.h>

#include <string>
#include <vector>

#include "kit/adk_abi.h"

namespace tv::kit_test {

// The 55 exports, in the binder's table order.
inline const char* const kExportNames[] = {"AdkOpen",
                                           "AdkOpenEx",
                                           "AdkClose",
                                           "AdkCreateData",
                                           "AdkCreateDataRow",
                                           "AdkGetDataRow",
                                           "AdkResetStruct",
                                           "AdkDeleteStruct",
                                           "AdkLongToDate",
                                           "AdkDateToLong",
                                           "AdkGetStr",
                                           "AdkGetBool",
                                           "AdkGetData",
                                           "AdkGetDouble",
                                           "AdkGetDate",
                                           "AdkSetStr",
                                           "AdkSetBool",
                                           "AdkSetData",
                                           "AdkSetDouble",
                                           "AdkSetDate",
                                           "AdkGetType",
                                           "AdkGetLength",
                                           "AdkGetDecimals",
                                           "AdkIsReadWrite",
                                           "AdkAdd",
                                           "AdkUpdate",
                                           "AdkFirst",
                                           "AdkLast",
                                           "AdkDelete",
                                           "AdkFind",
                                           "AdkNext",
                                           "AdkPrevious",
                                           "AdkDeleteRow",
                                           "AdkGetErrorText",
                                           "AdkSetSortOrder",
                                           "AdkGetFieldName",
                                           "AdkGetAdmSize",
                                           "AdkGetAdmSizeEx",
                                           "AdkFindEx",
                                           "AdkNextEx",
                                           "AdkPreviousEx",
                                           "AdkFirstEx",
                                           "AdkLastEx",
                                           "AdkGetVatpercentOnArticle",
                                           "AdkGetCustomerPrice",
                                           "AdkGetVariant",
                                           "AdkGetSie",
                                           "AdkFind2",
                                           "AdkLongToDateTime",
                                           "AdkDateTimeToLong",
                                           "AdkGetTimestampField",
                                           "AdkGetBookingYearId",
                                           "AdkGetVersion",
                                           "AdkOpen2",
                                           "AdkSetFilter"};

struct Kit {
    void* module = nullptr;
    AdkOpenFn Open;
    AdkOpenExFn OpenEx;
    AdkOpen2Fn Open2;
    AdkCloseFn Close;
    AdkCreateDataFn CreateData;
    AdkCreateDataRowFn CreateDataRow;
    AdkGetDataRowFn GetDataRow;
    AdkResetStructFn ResetStruct;
    AdkDeleteStructFn DeleteStruct;
    AdkLongToDateFn LongToDate;
    AdkDateToLongFn DateToLong;
    AdkLongToDateTimeFn LongToDateTime;
    AdkDateTimeToLongFn DateTimeToLong;
    AdkGetStrFn GetStr;
    AdkGetBoolFn GetBool;
    AdkGetDataFn GetData;
    AdkGetDoubleFn GetDouble;
    AdkGetDateFn GetDate;
    AdkSetStrFn SetStr;
    AdkSetBoolFn SetBool;
    AdkSetDataFn SetData;
    AdkSetDoubleFn SetDouble;
    AdkSetDateFn SetDate;
    AdkGetTypeFn GetType;
    AdkGetLengthFn GetLength;
    AdkGetDecimalsFn GetDecimals;
    AdkIsReadWriteFn IsReadWrite;
    AdkAddFn Add;
    AdkUpdateFn Update;
    AdkFirstFn First;
    AdkLastFn Last;
    AdkDeleteFn Delete;
    AdkFindFn Find;
    AdkNextFn Next;
    AdkPreviousFn Previous;
    AdkFindExFn FindEx;
    AdkNextExFn NextEx;
    AdkPreviousExFn PreviousEx;
    AdkFirstExFn FirstEx;
    AdkLastExFn LastEx;
    AdkFind2Fn Find2;
    AdkDeleteRowFn DeleteRow;
    AdkGetErrorTextFn GetErrorText;
    AdkSetSortOrderFn SetSortOrder;
    AdkSetFilterFn SetFilter;
    AdkGetFieldNameFn GetFieldName;
    AdkGetAdmSizeFn GetAdmSize;
    AdkGetAdmSizeExFn GetAdmSizeEx;
    AdkGetVariantFn GetVariant;
    AdkGetVersionFn GetVersion;
    AdkGetTimestampFieldFn GetTimestampField;
    AdkGetVatpercentOnArticleFn GetVatpercentOnArticle;
    AdkGetCustomerPriceFn GetCustomerPrice;
    AdkGetSieFn GetSie;
    AdkGetBookingYearIdFn GetBookingYearId;
    // The stand-in's durability exports.
    AdkHoldWritesFn HoldWrites;
    AdkCommitFn Commit;
    AdkSyncFn Sync;
};

// The built kit, loaded once per test program.
const Kit& TheKit();
std::string KitPath();
std::string AdkctlPath();

// Runs adkctl with the arguments (no shell); its exit status, with stdout and stderr in `output`.
int RunAdkctl(const std::vector<std::string>& args, std::string* output = nullptr);

// A temporary folder, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A fresh company made by adkctl in a temporary folder, open in the kit for the test.
class OpenCompany {
public:
    explicit OpenCompany(const std::vector<std::string>& seedFixtures = {});
    ~OpenCompany();
    const std::string& folder() const { return folder_; }
    std::string Database() const { return folder_ + "/company.sqlite"; }

private:
    TempDir dir_;
    std::string folder_;
};

// The demo company fixture: customers, suppliers, articles with prices, orders, an offer, an invoice.
std::string DemoFixture();

// Text read through the kit (Windows-1252) with the given buffer size.
std::string GetStr(AdkHandle h, int field, int size = 200, AdkErrorRec* error = nullptr);
// One text value read straight from the company database with SQL (UTF-8).
std::string QueryText(const std::string& database, const std::string& sql);

}  // namespace tv::kit_test

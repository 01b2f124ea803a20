#pragma once
// The call wrappers of the integration kit, one per export the system calls. Each converts its text
// to and from the kit's Windows-1252, calls the bound export and hands back the kit's error record
// untouched: a non-zero code is the caller's business. An exception escaping from inside the kit
// becomes EAdkException "Error occured in <wrapper>:" with the inner message; calling an export
// that is not bound raises "Kunde inte hitta funktion: <name>.".

#include <cstdint>
#include <string>

#include "adk/adk_binding.h"
#include "adk/adk_types.h"
#include "kit/adk_abi.h"
#include "platform/rtl/date_time.h"

namespace tv {

// A handle to one kit structure: the kit table number and the kit's pointer.
struct TAdkData {
    int32_t DatabaseID = -1;
    AdkHandle Ptr = nullptr;
};
bool AdkDataAssigned(const TAdkData& data);
void AdkDataInit(TAdkData& data);

// An error record meaning success.
AdkErrorRec AdkNoError();

AdkErrorRec AdkOpen(const std::string& systemFolder, const std::string& companyFolder);
AdkErrorRec AdkOpenEx(const std::string& systemFolder, const std::string& companyFolder, int logging);
AdkErrorRec AdkOpen2(const std::string& systemFolder, const std::string& companyFolder,
                     const std::string& user, const std::string& password);
AdkErrorRec AdkClose();

TAdkData AdkCreateData(int table);
TAdkData AdkCreateDataRow(int rowsTable, int count);
// Row `index` (from 0) of a rows structure, carrying the rows structure's table number.
TAdkData AdkGetDataRow(const TAdkData& rows, int index);
AdkErrorRec AdkResetStruct(const TAdkData& data);
// Frees the structure and makes `data` unassigned.
AdkErrorRec AdkDeleteStruct(TAdkData& data);
// Frees a structure while another failure is on its way out: a failure of the freeing itself is
// dropped, so that the caller sees the first one. The structure is forgotten either way.
void AdkDeleteStructAfterFailure(TAdkData& data) noexcept;

AdkErrorRec AdkLongToDate(int32_t date, std::string& text);
AdkErrorRec AdkDateToLong(const std::string& text, int32_t& date);
AdkErrorRec AdkLongToDateTime(int32_t dateTime, std::string& text);
AdkErrorRec AdkDateTimeToLong(const std::string& text, int32_t& dateTime);

AdkErrorRec AdkGetStr(const TAdkData& data, int field, std::string& value);
AdkErrorRec AdkGetBool(const TAdkData& data, int field, bool& value);
// The sub-structure in row `row` of a structure field, with the input's table number.
AdkErrorRec AdkGetData(const TAdkData& data, int field, int row, TAdkData& sub);
AdkErrorRec AdkGetDouble(const TAdkData& data, int field, double& value);
// A date field as a date (0 when the kit has none) and a time-stamp field as a date and time.
AdkErrorRec AdkGetDate(const TAdkData& data, int field, TDateTime& value);
AdkErrorRec AdkGetDateTime(const TAdkData& data, int field, TDateTime& value);

AdkErrorRec AdkSetStr(const TAdkData& data, int field, const std::string& value);
AdkErrorRec AdkSetBool(const TAdkData& data, int field, bool value);
AdkErrorRec AdkSetData(const TAdkData& head, int field, const TAdkData& rows);
AdkErrorRec AdkSetDouble(const TAdkData& data, int field, double value);
AdkErrorRec AdkSetDate(const TAdkData& data, int field, TDateTime value);
// A date field as the kit's date number yyyymmdd; 0 empties the date.
AdkErrorRec AdkSetDateNumber(const TAdkData& data, int field, int32_t date);
AdkErrorRec AdkSetDateTime(const TAdkData& data, int field, TDateTime value);

AdkErrorRec AdkGetType(const TAdkData& data, int field, int& type);
AdkErrorRec AdkGetLength(const TAdkData& data, int field, int& length);
bool AdkIsReadWrite(const TAdkData& data, int field);
AdkErrorRec AdkGetFieldName(int table, int field, std::string& name);
AdkErrorRec AdkGetTimestampField(const TAdkData& data, int& field);

AdkErrorRec AdkAdd(const TAdkData& data);
AdkErrorRec AdkUpdate(const TAdkData& data);
AdkErrorRec AdkDelete(const TAdkData& data);
AdkErrorRec AdkDeleteRow(const TAdkData& head, int row);
AdkErrorRec AdkFirst(const TAdkData& data);
AdkErrorRec AdkLast(const TAdkData& data);
AdkErrorRec AdkNext(const TAdkData& data);
AdkErrorRec AdkPrevious(const TAdkData& data);
AdkErrorRec AdkFind(const TAdkData& data);
AdkErrorRec AdkFirstEx(const TAdkData& data, bool withRows);
AdkErrorRec AdkLastEx(const TAdkData& data, bool withRows);
AdkErrorRec AdkNextEx(const TAdkData& data, bool withRows);
AdkErrorRec AdkPreviousEx(const TAdkData& data, bool withRows);
AdkErrorRec AdkFindEx(const TAdkData& data, bool withRows);
AdkErrorRec AdkFind2(const TAdkData& data, bool withRows);
AdkErrorRec AdkSetSortOrder(const TAdkData& data, int sortConstant);
AdkErrorRec AdkSetFilter(const TAdkData& data, int field, const std::string& filter, int flag);

AdkErrorRec AdkGetAdmSize(int& variant, std::string& programName);
AdkErrorRec AdkGetAdmSizeEx(int& variant, std::string& programName);
AdkErrorRec AdkGetVariant(const std::string& commonFiles, int& variant, int& flag, std::string& programName);
AdkErrorRec AdkGetVersion(int& major, int& minor);

// The stand-in's durability exports (bound only where the kit has them; test AdkFunctionBound):
// holding makes writes join one transaction the kit keeps; a commit ends it; a sync commits and
// waits until everything committed is on the disk.
AdkErrorRec AdkHoldWrites(bool hold);
AdkErrorRec AdkCommit();
AdkErrorRec AdkSync();

AdkErrorRec AdkGetVatpercentOnArticle(const std::string& article, double& percent);
AdkErrorRec AdkGetCustomerPrice(const std::string& customer, const std::string& article, double quantity,
                                bool useInvoiceDiscount, bool useRowDiscount, bool includingVat,
                                TAdkCurrency currency, double& price);

}  // namespace tv

// A test kit with the exports of "Adk.dll" and scripted answers: dates and error texts as the test
// sets them, and an exception thrown from inside the calls the binder must wrap. Built once with
// every export and once without AdkResetStruct.

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "kit/adk_abi.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

int32_t gDateNumber = 0;    // what AdkGetDate answers
int32_t gDateCode = 0;      // and the code it answers with
std::string gDateTimeText;  // what AdkLongToDateTime writes
std::string gLastDateText;  // the last text AdkDateToLong or AdkDateTimeToLong was given
int32_t gLastSetDate = -1;  // the last number AdkSetDate wrote
int gStruct = 0;            // the one structure handed out

AdkErrorRec Rec(int32_t rc = 0) {
    return AdkErrorRec{rc, ADK_NO_TABLE, ADK_NO_FIELD, 0, 0};
}

void Copy(const std::string& text, char* buffer, int32_t size) {
    std::snprintf(buffer, size_t(size) + 1, "%s", text.c_str());
}

}  // namespace

// Test control: sets the answers of AdkGetDate and AdkLongToDateTime.
FAKE_EXPORT void FakeKitScript(int32_t dateNumber, int32_t dateCode, const char* dateTimeText) {
    gDateNumber = dateNumber;
    gDateCode = dateCode;
    gDateTimeText = dateTimeText;
}
FAKE_EXPORT const char* FakeKitLastDateText() {
    return gLastDateText.c_str();
}
FAKE_EXPORT int32_t FakeKitLastSetDate() {
    return gLastSetDate;
}

FAKE_EXPORT AdkErrorRec AdkOpen(const char*, const char*) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkOpenEx(const char*, const char*, int32_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkClose() {
    throw std::runtime_error("closing failed");
}
FAKE_EXPORT AdkHandle AdkCreateData(int32_t) {
    return &gStruct;
}
FAKE_EXPORT AdkHandle AdkCreateDataRow(int32_t, int32_t) {
    return &gStruct;
}
FAKE_EXPORT AdkHandle AdkGetDataRow(AdkHandle, int32_t) {
    return &gStruct;
}
#ifndef FAKE_KIT_LACKS_RESET_STRUCT
FAKE_EXPORT AdkErrorRec AdkResetStruct(AdkHandle) {
    return Rec();
}
#endif
FAKE_EXPORT AdkErrorRec AdkDeleteStruct(AdkHandle) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkLongToDate(int32_t date, char* buffer, int32_t size) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date / 10000 % 10000, date / 100 % 100, date % 100);
    Copy(text, buffer, size);
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkDateToLong(const char* text, int32_t* date) {
    gLastDateText = text;
    int y, m, d;
    if (std::sscanf(text, "%4d-%2d-%2d", &y, &m, &d) != 3) return Rec(ADK_ERR_NOT_A_DATE);
    *date = y * 10000 + m * 100 + d;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetStr(AdkHandle, int32_t, char* buffer, int32_t size) {
    Copy("\xC5sa \x80", buffer, size);  // "Åsa €" in Windows-1252
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetBool(AdkHandle, int32_t field, int32_t* value) {
    *value = field;  // field 1 answers 1, field 2 answers 2
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetData(AdkHandle, int32_t, int32_t, AdkHandle* sub) {
    *sub = &gStruct;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetDouble(AdkHandle, int32_t, double* value) {
    *value = 1.5;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetDate(AdkHandle, int32_t, int32_t* date) {
    *date = gDateNumber;
    return Rec(gDateCode);
}
FAKE_EXPORT AdkErrorRec AdkSetStr(AdkHandle, int32_t, const char*) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkSetBool(AdkHandle, int32_t, uint8_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkSetData(AdkHandle, int32_t, AdkHandle) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkSetDouble(AdkHandle, int32_t, double) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkSetDate(AdkHandle, int32_t, int32_t date) {
    gLastSetDate = date;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetType(AdkHandle, int32_t, int32_t* type) {
    *type = ADK_TYPE_CHAR;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetLength(AdkHandle, int32_t, int32_t* length) {
    *length = 10;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetDecimals(AdkHandle, int32_t, int32_t*) {
    return Rec();
}
FAKE_EXPORT int32_t AdkIsReadWrite(AdkHandle, int32_t) {
    return 1;
}
FAKE_EXPORT AdkErrorRec AdkAdd(AdkHandle) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkUpdate(AdkHandle) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkFirst(AdkHandle) {
    return Rec(ADK_ERR_BEGIN_OF_TABLE);
}
FAKE_EXPORT AdkErrorRec AdkLast(AdkHandle) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkDelete(AdkHandle) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkDeleteRow(AdkHandle, int32_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkFind(AdkHandle) {
    throw std::runtime_error("boom");
}
FAKE_EXPORT AdkErrorRec AdkNext(AdkHandle) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkPrevious(AdkHandle) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetErrorText(const AdkErrorRec* error, int32_t kind, char* buffer, int32_t size) {
    if (kind == ADK_TEXT_MESSAGE) Copy("Posten finns redan", buffer, size);
    if (kind == ADK_TEXT_TABLE) Copy("KUND.DBF", buffer, size);
    if (kind == ADK_TEXT_FIELD) Copy(std::to_string(error->lField), buffer, size);
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkSetSortOrder(AdkHandle, int32_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetFieldName(int32_t, int32_t, char*, int32_t) {
    throw std::runtime_error("no names");
}
FAKE_EXPORT AdkErrorRec AdkGetAdmSize(int32_t* variant, char* name, int32_t size) {
    *variant = 1;
    Copy("Administration 2000", name, size);
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetAdmSizeEx(int32_t* variant, char* name, int32_t size) {
    return AdkGetAdmSize(variant, name, size);
}
FAKE_EXPORT AdkErrorRec AdkFindEx(AdkHandle, uint8_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkNextEx(AdkHandle, uint8_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkPreviousEx(AdkHandle, uint8_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkFirstEx(AdkHandle, uint8_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkLastEx(AdkHandle, uint8_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetVatpercentOnArticle(const char*, double* percent) {
    *percent = 25;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetCustomerPrice(const char*, const char*, double quantity, uint8_t, uint8_t,
                                            uint8_t, int32_t, double* price) {
    *price = 10 * quantity;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetVariant(const char*, int32_t* variant, int32_t* flag, char* name,
                                      int32_t size) {
    *flag = 0;
    return AdkGetAdmSize(variant, name, size);
}
FAKE_EXPORT AdkErrorRec AdkGetSie(int32_t, int32_t, int32_t, int32_t) {
    return Rec(ADK_ERR_NOT_SUPPORTED);
}
FAKE_EXPORT AdkErrorRec AdkFind2(AdkHandle, uint8_t) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkLongToDateTime(int32_t, char* buffer, int32_t size) {
    Copy(gDateTimeText, buffer, size);
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkDateTimeToLong(const char* text, int32_t* dateTime) {
    gLastDateText = text;
    *dateTime = std::strcmp(text, "2024-02-03 04:05:06") == 0 ? 12345 : 0;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetTimestampField(AdkHandle, int32_t* field) {
    *field = 94;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkGetBookingYearId(int32_t, int32_t, int32_t) {
    return Rec(ADK_ERR_NOT_SUPPORTED);
}
FAKE_EXPORT AdkErrorRec AdkGetVersion(int32_t* major, int32_t* minor) {
    *major = 20;
    *minor = 3;
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkOpen2(const char*, const char*, const char*, const char*) {
    return Rec();
}
FAKE_EXPORT AdkErrorRec AdkSetFilter(AdkHandle, int32_t, const char*, int32_t) {
    return Rec();
}

#include "adk/adk_calls.h"

#include <array>
#include <cstdio>
#include <exception>
#include <type_traits>

#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

inline constexpr std::string_view kErrorOccured = "Error occured in %s:\r\n\r\n%s";
inline constexpr std::string_view kErrorOccuredInClose = "Error occured in AdkClose\r\n\r\n%s";
inline constexpr std::string_view kErrorOccuredInGetFieldName =
    "Error occured in AdkGetFieldName:\r\n\r\n%s\r\n\r\nParameters\r\nDatabase: %d\r\nField: %d";
inline constexpr std::string_view kDateTimeToLongGaveZero =
    "AdkDateTimeToLong() returnerade \"0\" när datumet \"%s\" skulle bearbetas.";

// Buffer sizes the kit is told; the buffers hold one byte more for the terminating zero.
constexpr int kTextSize = 200;
constexpr int kNameSize = 50;

// The kit's code for a value that is not set, and the code of a missing time-stamp function.
constexpr int32_t kNoValue = ADK_ERR_NO_VALUE;
constexpr int32_t kTimestampFunctionMissing = 607;

// Exports of the same shape share one wrapper body below.
static_assert(std::is_same_v<AdkAddFn, AdkUpdateFn> && std::is_same_v<AdkAddFn, AdkFirstFn> &&
              std::is_same_v<AdkAddFn, AdkLastFn> && std::is_same_v<AdkAddFn, AdkDeleteFn> &&
              std::is_same_v<AdkAddFn, AdkFindFn> && std::is_same_v<AdkAddFn, AdkNextFn> &&
              std::is_same_v<AdkAddFn, AdkPreviousFn> && std::is_same_v<AdkAddFn, AdkResetStructFn> &&
              std::is_same_v<AdkAddFn, AdkDeleteStructFn>);
static_assert(std::is_same_v<AdkFindExFn, AdkNextExFn> && std::is_same_v<AdkFindExFn, AdkPreviousExFn> &&
              std::is_same_v<AdkFindExFn, AdkFirstExFn> && std::is_same_v<AdkFindExFn, AdkLastExFn> &&
              std::is_same_v<AdkFindExFn, AdkFind2Fn>);
static_assert(std::is_same_v<AdkLongToDateFn, AdkLongToDateTimeFn> &&
              std::is_same_v<AdkDateToLongFn, AdkDateTimeToLongFn> &&
              std::is_same_v<AdkGetTypeFn, AdkGetLengthFn> &&
              std::is_same_v<AdkDeleteRowFn, AdkSetSortOrderFn> &&
              std::is_same_v<AdkGetAdmSizeFn, AdkGetAdmSizeExFn>);

template <typename Fn>
Fn Export(TAdkExport which) {
    return reinterpret_cast<Fn>(AdkFunctionAddress(which));
}

// Runs one kit call; an exception escaping from inside the kit becomes EAdkException with
// `message` formatted from the inner message.
template <typename Call>
auto Guarded(Call&& call, const auto& message) -> decltype(call()) {
    try {
        return call();
    } catch (const std::exception& inner) {
        throw EAdkException(message(std::string(inner.what())));
    }
}

template <typename Call>
auto Guarded(std::string_view wrapper, Call&& call) -> decltype(call()) {
    return Guarded(std::forward<Call>(call), [wrapper](const std::string& inner) {
        return Format(kErrorOccured, {wrapper, inner});
    });
}

std::string Ansi(const std::string& utf8) {
    return Utf8ToCp1252(utf8);
}

template <size_t N>
std::string FromAnsi(std::array<char, N>& buffer) {
    buffer[N - 1] = '\0';
    return Cp1252ToUtf8(buffer.data());
}

using TextBuffer = std::array<char, kTextSize + 1>;

// Part `pos` (from 1) of length `len` of a kit date text as a number; a non-number reads as 0.
int DatePart(std::string_view text, size_t pos, size_t len) {
    if (pos - 1 >= text.size()) return 0;
    std::string_view part = text.substr(pos - 1, len);
    int value = 0;
    for (char c : part) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return part.empty() ? 0 : value;
}

TDateTime DateFromKitText(std::string_view text) {
    TDateTime date = 0;
    if (!TryEncodeDate(DatePart(text, 1, 4), DatePart(text, 6, 2), DatePart(text, 9, 2), date)) date = 0;
    return date;
}

// Dates travel to the kit in one fixed form, whatever the user's date format.
std::string KitDateText(TDateTime value) {
    int y, m, d;
    DecodeDate(value, y, m, d);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
    return text;
}

std::string KitDateTimeText(TDateTime value) {
    auto p = DecodeDateTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour, p.Min,
                  p.Sec);
    return text;
}

// A wrapper whose export takes a structure only.
AdkErrorRec StructCall(TAdkExport which, std::string_view wrapper, const TAdkData& data) {
    auto fn = Export<AdkAddFn>(which);
    return Guarded(wrapper, [&] { return fn(data.Ptr); });
}

AdkErrorRec StructRowsCall(TAdkExport which, std::string_view wrapper, const TAdkData& data, bool withRows) {
    auto fn = Export<AdkFindExFn>(which);
    return Guarded(wrapper, [&] { return fn(data.Ptr, withRows ? 1 : 0); });
}

AdkErrorRec AdmSizeCall(TAdkExport which, std::string_view wrapper, int& variant, std::string& programName) {
    auto fn = Export<AdkGetAdmSizeFn>(which);
    int32_t number = 0;
    std::array<char, kNameSize + 1> name{};
    AdkErrorRec err = Guarded(wrapper, [&] { return fn(&number, name.data(), kNameSize); });
    variant = number;
    programName = FromAnsi(name);
    return err;
}

}  // namespace

bool AdkDataAssigned(const TAdkData& data) {
    return data.Ptr != nullptr;
}

void AdkDataInit(TAdkData& data) {
    data = TAdkData{};
}

AdkErrorRec AdkNoError() {
    return AdkErrorRec{};
}

AdkErrorRec AdkOpen(const std::string& systemFolder, const std::string& companyFolder) {
    auto fn = Export<AdkOpenFn>(TAdkExport::AdkOpen);
    return Guarded("AdkOpen", [&] { return fn(Ansi(systemFolder).c_str(), Ansi(companyFolder).c_str()); });
}

AdkErrorRec AdkOpenEx(const std::string& systemFolder, const std::string& companyFolder, int logging) {
    auto fn = Export<AdkOpenExFn>(TAdkExport::AdkOpenEx);
    return Guarded("AdkOpenEx",
                   [&] { return fn(Ansi(systemFolder).c_str(), Ansi(companyFolder).c_str(), logging); });
}

AdkErrorRec AdkOpen2(const std::string& systemFolder, const std::string& companyFolder,
                     const std::string& user, const std::string& password) {
    auto fn = Export<AdkOpen2Fn>(TAdkExport::AdkOpen2);
    return Guarded("AdkOpen2", [&] {
        return fn(Ansi(systemFolder).c_str(), Ansi(companyFolder).c_str(), Ansi(user).c_str(),
                  Ansi(password).c_str());
    });
}

AdkErrorRec AdkClose() {
    auto fn = Export<AdkCloseFn>(TAdkExport::AdkClose);
    return Guarded([&] { return fn(); },
                   [](const std::string& inner) { return Format(kErrorOccuredInClose, {inner}); });
}

AdkErrorRec AdkHoldWrites(bool hold) {
    auto fn = Export<AdkHoldWritesFn>(TAdkExport::AdkHoldWrites);
    return Guarded("AdkHoldWrites", [&] { return fn(hold ? 1 : 0); });
}

AdkErrorRec AdkCommit() {
    auto fn = Export<AdkCommitFn>(TAdkExport::AdkCommit);
    return Guarded("AdkCommit", [&] { return fn(); });
}

AdkErrorRec AdkSync() {
    auto fn = Export<AdkSyncFn>(TAdkExport::AdkSync);
    return Guarded("AdkSync", [&] { return fn(); });
}

TAdkData AdkCreateData(int table) {
    auto fn = Export<AdkCreateDataFn>(TAdkExport::AdkCreateData);
    return TAdkData{table, Guarded("AdkCreateData", [&] { return fn(table); })};
}

TAdkData AdkCreateDataRow(int rowsTable, int count) {
    auto fn = Export<AdkCreateDataRowFn>(TAdkExport::AdkCreateDataRow);
    return TAdkData{rowsTable, Guarded("AdkCreateDataRow", [&] { return fn(rowsTable, count); })};
}

TAdkData AdkGetDataRow(const TAdkData& rows, int index) {
    auto fn = Export<AdkGetDataRowFn>(TAdkExport::AdkGetDataRow);
    return TAdkData{rows.DatabaseID, Guarded("AdkGetDataRow", [&] { return fn(rows.Ptr, index); })};
}

AdkErrorRec AdkResetStruct(const TAdkData& data) {
    return StructCall(TAdkExport::AdkResetStruct, "AdkResetStruct", data);
}

AdkErrorRec AdkDeleteStruct(TAdkData& data) {
    AdkErrorRec err = StructCall(TAdkExport::AdkDeleteStruct, "AdkDeleteStruct", data);
    AdkDataInit(data);
    return err;
}

void AdkDeleteStructAfterFailure(TAdkData& data) noexcept {
    try {
        if (AdkDataAssigned(data)) AdkDeleteStruct(data);
    } catch (...) {
    }
    AdkDataInit(data);
}

AdkErrorRec AdkLongToDate(int32_t date, std::string& text) {
    auto fn = Export<AdkLongToDateFn>(TAdkExport::AdkLongToDate);
    TextBuffer buffer{};
    AdkErrorRec err = Guarded("AdkLongToDate", [&] { return fn(date, buffer.data(), kTextSize); });
    text = FromAnsi(buffer);
    return err;
}

AdkErrorRec AdkLongToDateTime(int32_t dateTime, std::string& text) {
    auto fn = Export<AdkLongToDateFn>(TAdkExport::AdkLongToDateTime);
    TextBuffer buffer{};
    AdkErrorRec err = Guarded("AdkLongToDateTime", [&] { return fn(dateTime, buffer.data(), kTextSize); });
    text = FromAnsi(buffer);
    return err;
}

AdkErrorRec AdkDateToLong(const std::string& text, int32_t& date) {
    auto fn = Export<AdkDateToLongFn>(TAdkExport::AdkDateToLong);
    int32_t number = 0;
    AdkErrorRec err = Guarded("AdkDateToLong", [&] { return fn(Ansi(text).c_str(), &number); });
    date = number;
    return err;
}

AdkErrorRec AdkDateTimeToLong(const std::string& text, int32_t& dateTime) {
    auto fn = Export<AdkDateToLongFn>(TAdkExport::AdkDateTimeToLong);
    int32_t number = 0;
    AdkErrorRec err = Guarded("AdkDateTimeToLong", [&] { return fn(Ansi(text).c_str(), &number); });
    dateTime = number;
    return err;
}

AdkErrorRec AdkGetStr(const TAdkData& data, int field, std::string& value) {
    auto fn = Export<AdkGetStrFn>(TAdkExport::AdkGetStr);
    TextBuffer buffer{};
    AdkErrorRec err = Guarded("AdkGetStr", [&] { return fn(data.Ptr, field, buffer.data(), kTextSize); });
    value = FromAnsi(buffer);
    return err;
}

AdkErrorRec AdkGetBool(const TAdkData& data, int field, bool& value) {
    auto fn = Export<AdkGetBoolFn>(TAdkExport::AdkGetBool);
    int32_t flag = 0;
    AdkErrorRec err = Guarded("AdkGetBool", [&] { return fn(data.Ptr, field, &flag); });
    value = flag == 1;
    return err;
}

AdkErrorRec AdkGetData(const TAdkData& data, int field, int row, TAdkData& sub) {
    auto fn = Export<AdkGetDataFn>(TAdkExport::AdkGetData);
    AdkHandle handle = nullptr;
    AdkErrorRec err = Guarded("AdkGetData", [&] { return fn(data.Ptr, field, row, &handle); });
    sub = TAdkData{data.DatabaseID, handle};
    return err;
}

AdkErrorRec AdkGetDouble(const TAdkData& data, int field, double& value) {
    auto fn = Export<AdkGetDoubleFn>(TAdkExport::AdkGetDouble);
    double number = 0;
    AdkErrorRec err = Guarded("AdkGetDouble", [&] { return fn(data.Ptr, field, &number); });
    value = number;
    return err;
}

namespace {

// The kit's date number of a field, or the record that says there is none.
AdkErrorRec KitDateNumber(std::string_view wrapper, const TAdkData& data, int field, int32_t& number) {
    auto fn = Export<AdkGetDateFn>(TAdkExport::AdkGetDate);
    number = 0;
    return Guarded(wrapper, [&] { return fn(data.Ptr, field, &number); });
}

}  // namespace

AdkErrorRec AdkGetDate(const TAdkData& data, int field, TDateTime& value) {
    value = 0;
    int32_t number = 0;
    AdkErrorRec err = KitDateNumber("AdkGetDate", data, field, number);
    if (err.lRc == kNoValue || number < 1) return err;
    std::string text;
    err = AdkLongToDate(number, text);
    value = DateFromKitText(text);
    return err;
}

AdkErrorRec AdkGetDateTime(const TAdkData& data, int field, TDateTime& value) {
    value = 0;
    int32_t number = 0;
    AdkErrorRec err = KitDateNumber("AdkGetDateTime", data, field, number);
    if (err.lRc == kNoValue || number < 1) return err;
    std::string text;
    err = AdkLongToDateTime(number, text);
    value = DateFromKitText(text);
    TDateTime time = 0;
    if (value != 0 &&
        TryEncodeTime(DatePart(text, 12, 2), DatePart(text, 15, 2), DatePart(text, 18, 2), 0, time))
        value = ComposeDateTime(value, time);
    return err;
}

AdkErrorRec AdkSetStr(const TAdkData& data, int field, const std::string& value) {
    auto fn = Export<AdkSetStrFn>(TAdkExport::AdkSetStr);
    return Guarded("AdkSetStr", [&] { return fn(data.Ptr, field, Ansi(value).c_str()); });
}

AdkErrorRec AdkSetBool(const TAdkData& data, int field, bool value) {
    auto fn = Export<AdkSetBoolFn>(TAdkExport::AdkSetBool);
    return Guarded("AdkSetBool", [&] { return fn(data.Ptr, field, value ? 1 : 0); });
}

AdkErrorRec AdkSetData(const TAdkData& head, int field, const TAdkData& rows) {
    auto fn = Export<AdkSetDataFn>(TAdkExport::AdkSetData);
    return Guarded("AdkSetData", [&] { return fn(head.Ptr, field, rows.Ptr); });
}

AdkErrorRec AdkSetDouble(const TAdkData& data, int field, double value) {
    auto fn = Export<AdkSetDoubleFn>(TAdkExport::AdkSetDouble);
    return Guarded("AdkSetDouble", [&] { return fn(data.Ptr, field, value); });
}

AdkErrorRec AdkSetDate(const TAdkData& data, int field, TDateTime value) {
    int32_t number = 0;
    AdkErrorRec err = AdkDateToLong(KitDateText(value), number);
    if (err.lRc == ADK_ERR_NOT_A_DATE) return err;
    auto fn = Export<AdkSetDateFn>(TAdkExport::AdkSetDate);
    return Guarded("AdkSetDate", [&] { return fn(data.Ptr, field, number); });
}

AdkErrorRec AdkSetDateNumber(const TAdkData& data, int field, int32_t date) {
    auto fn = Export<AdkSetDateFn>(TAdkExport::AdkSetDate);
    return Guarded("AdkSetDate", [&] { return fn(data.Ptr, field, date); });
}

AdkErrorRec AdkSetDateTime(const TAdkData& data, int field, TDateTime value) {
    return Guarded("AdkSetDateTime", [&] {
        const std::string text = KitDateTimeText(value);
        int32_t number = 0;
        AdkErrorRec err = AdkDateTimeToLong(text, number);
        if (value > 1.0 && number < 1) throw Exception(Format(kDateTimeToLongGaveZero, {text}));
        if (err.lRc == ADK_ERR_NOT_A_DATE) return err;
        return Export<AdkSetDateFn>(TAdkExport::AdkSetDate)(data.Ptr, field, number);
    });
}

AdkErrorRec AdkGetType(const TAdkData& data, int field, int& type) {
    auto fn = Export<AdkGetTypeFn>(TAdkExport::AdkGetType);
    int32_t value = 0;
    AdkErrorRec err = Guarded("AdkGetType", [&] { return fn(data.Ptr, field, &value); });
    type = value;
    return err;
}

AdkErrorRec AdkGetLength(const TAdkData& data, int field, int& length) {
    auto fn = Export<AdkGetTypeFn>(TAdkExport::AdkGetLength);
    int32_t value = 0;
    AdkErrorRec err = Guarded("AdkGetLength", [&] { return fn(data.Ptr, field, &value); });
    length = value;
    return err;
}

bool AdkIsReadWrite(const TAdkData& data, int field) {
    auto fn = Export<AdkIsReadWriteFn>(TAdkExport::AdkIsReadWrite);
    return Guarded("AdkIsReadWrite", [&] { return fn(data.Ptr, field) != 0; });
}

AdkErrorRec AdkGetFieldName(int table, int field, std::string& name) {
    auto fn = Export<AdkGetFieldNameFn>(TAdkExport::AdkGetFieldName);
    TextBuffer buffer{};
    AdkErrorRec err = Guarded([&] { return fn(table, field, buffer.data(), kTextSize); },
                              [&](const std::string& inner) {
                                  return Format(kErrorOccuredInGetFieldName, {inner, table, field});
                              });
    name = FromAnsi(buffer);
    return err;
}

AdkErrorRec AdkGetTimestampField(const TAdkData& data, int& field) {
    field = -1;
    if (!AdkFunctionBound(TAdkExport::AdkGetTimestampField)) {
        AdkErrorRec err{};
        err.lRc = kTimestampFunctionMissing;
        return err;
    }
    auto fn = Export<AdkGetTimestampFieldFn>(TAdkExport::AdkGetTimestampField);
    int32_t value = -1;
    AdkErrorRec err = Guarded("AdkGetTimestampField", [&] { return fn(data.Ptr, &value); });
    field = value;
    return err;
}

AdkErrorRec AdkAdd(const TAdkData& data) {
    return StructCall(TAdkExport::AdkAdd, "AdkAdd", data);
}
AdkErrorRec AdkUpdate(const TAdkData& data) {
    return StructCall(TAdkExport::AdkUpdate, "AdkUpdate", data);
}
AdkErrorRec AdkDelete(const TAdkData& data) {
    return StructCall(TAdkExport::AdkDelete, "AdkDelete", data);
}
AdkErrorRec AdkFirst(const TAdkData& data) {
    return StructCall(TAdkExport::AdkFirst, "AdkFirst", data);
}
AdkErrorRec AdkLast(const TAdkData& data) {
    return StructCall(TAdkExport::AdkLast, "AdkLast", data);
}
AdkErrorRec AdkNext(const TAdkData& data) {
    return StructCall(TAdkExport::AdkNext, "AdkNext", data);
}
AdkErrorRec AdkPrevious(const TAdkData& data) {
    return StructCall(TAdkExport::AdkPrevious, "AdkPrevious", data);
}
AdkErrorRec AdkFind(const TAdkData& data) {
    return StructCall(TAdkExport::AdkFind, "AdkFind", data);
}

AdkErrorRec AdkDeleteRow(const TAdkData& head, int row) {
    auto fn = Export<AdkDeleteRowFn>(TAdkExport::AdkDeleteRow);
    return Guarded("AdkDeleteRow", [&] { return fn(head.Ptr, row); });
}

AdkErrorRec AdkSetSortOrder(const TAdkData& data, int sortConstant) {
    auto fn = Export<AdkDeleteRowFn>(TAdkExport::AdkSetSortOrder);
    return Guarded("AdkSetSortOrder", [&] { return fn(data.Ptr, sortConstant); });
}

AdkErrorRec AdkFirstEx(const TAdkData& data, bool withRows) {
    return StructRowsCall(TAdkExport::AdkFirstEx, "AdkFirstEx", data, withRows);
}
AdkErrorRec AdkLastEx(const TAdkData& data, bool withRows) {
    return StructRowsCall(TAdkExport::AdkLastEx, "AdkLastEx", data, withRows);
}
AdkErrorRec AdkNextEx(const TAdkData& data, bool withRows) {
    return StructRowsCall(TAdkExport::AdkNextEx, "AdkNextEx", data, withRows);
}
AdkErrorRec AdkPreviousEx(const TAdkData& data, bool withRows) {
    return StructRowsCall(TAdkExport::AdkPreviousEx, "AdkPreviousEx", data, withRows);
}
AdkErrorRec AdkFindEx(const TAdkData& data, bool withRows) {
    return StructRowsCall(TAdkExport::AdkFindEx, "AdkFindEx", data, withRows);
}
AdkErrorRec AdkFind2(const TAdkData& data, bool withRows) {
    return StructRowsCall(TAdkExport::AdkFind2, "AdkFind2", data, withRows);
}

AdkErrorRec AdkSetFilter(const TAdkData& data, int field, const std::string& filter, int flag) {
    auto fn = Export<AdkSetFilterFn>(TAdkExport::AdkSetFilter);
    return Guarded("AdkSetFilter", [&] { return fn(data.Ptr, field, Ansi(filter).c_str(), flag); });
}

AdkErrorRec AdkGetAdmSize(int& variant, std::string& programName) {
    return AdmSizeCall(TAdkExport::AdkGetAdmSize, "AdkGetAdmSize", variant, programName);
}

AdkErrorRec AdkGetAdmSizeEx(int& variant, std::string& programName) {
    return AdmSizeCall(TAdkExport::AdkGetAdmSizeEx, "AdkGetAdmSizeEx", variant, programName);
}

AdkErrorRec AdkGetVariant(const std::string& commonFiles, int& variant, int& flag, std::string& programName) {
    auto fn = Export<AdkGetVariantFn>(TAdkExport::AdkGetVariant);
    int32_t number = 0, unused = 0;
    std::array<char, kNameSize + 1> name{};
    AdkErrorRec err = Guarded("AdkGetVariant", [&] {
        return fn(Ansi(commonFiles).c_str(), &number, &unused, name.data(), kNameSize);
    });
    variant = number;
    flag = unused;
    programName = FromAnsi(name);
    return err;
}

AdkErrorRec AdkGetVersion(int& major, int& minor) {
    auto fn = Export<AdkGetVersionFn>(TAdkExport::AdkGetVersion);
    int32_t a = 0, b = 0;
    AdkErrorRec err = Guarded("AdkGetVersion", [&] { return fn(&a, &b); });
    major = a;
    minor = b;
    return err;
}

AdkErrorRec AdkGetVatpercentOnArticle(const std::string& article, double& percent) {
    auto fn = Export<AdkGetVatpercentOnArticleFn>(TAdkExport::AdkGetVatpercentOnArticle);
    double value = 0;
    AdkErrorRec err = Guarded("AdkGetVatpercentOnArticle", [&] { return fn(Ansi(article).c_str(), &value); });
    percent = value;
    return err;
}

AdkErrorRec AdkGetCustomerPrice(const std::string& customer, const std::string& article, double quantity,
                                bool useInvoiceDiscount, bool useRowDiscount, bool includingVat,
                                TAdkCurrency currency, double& price) {
    auto fn = Export<AdkGetCustomerPriceFn>(TAdkExport::AdkGetCustomerPrice);
    double value = 0;
    AdkErrorRec err = Guarded("AdkGetCustomerPrice", [&] {
        return fn(Ansi(customer).c_str(), Ansi(article).c_str(), quantity, useInvoiceDiscount ? 1 : 0,
                  useRowDiscount ? 1 : 0, includingVat ? 1 : 0, static_cast<int32_t>(currency), &value);
    });
    price = value;
    return err;
}

}  // namespace tv

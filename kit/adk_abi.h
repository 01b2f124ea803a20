#pragma once
// The calling contract of the integration kit "Adk.dll": the one header that the kit and the binder
// compile against. Every export has a plain C name (the binder keeps the decorated names for its
// table and messages and derives these) and a function-pointer type here. Text crosses as
// Windows-1252; dates as "yyyy-mm-dd" and date-times as "yyyy-mm-dd hh:nn:ss" (see kit/README.md).

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// The error record every kit call fills: five 32-bit fields, 20 bytes.
typedef struct AdkErrorRec {
    int32_t lRc;           // 0 = success, else one of the codes below
    int32_t lDbTable;      // kit table number, or ADK_NO_TABLE
    int32_t lField;        // field number, or ADK_NO_FIELD
    int32_t lFunction;     // the export's number (AdkFunction)
    int32_t lProgramPart;  // always 0
} AdkErrorRec;

// A structure (record, rows container or row) handed out by the kit. Unknown, freed or NULL
// handles are answered with ADK_ERR_BAD_HANDLE, never a crash.
typedef void* AdkHandle;

// Field type codes (AdkGetType).
enum {
    ADK_TYPE_UNUSED = 0,
    ADK_TYPE_BOOL = 1,
    ADK_TYPE_CHAR = 2,
    ADK_TYPE_NUMBER = 3,
    ADK_TYPE_DOUBLE = 4,
    ADK_TYPE_DATE = 5,
    ADK_TYPE_DATA = 6
};

// Codes. The first group is what the system tolerates, each used only with its meaning; the
// second group is the kit's refusals, none of which the system passes over silently.
enum {
    ADK_OK = 0,
    ADK_ERR_COMPANY_NEWER = 76,    // the company database is newer than the kit
    ADK_ERR_COMPANY_OLDER = 77,    // the company database is older than the kit
    ADK_ERR_BEGIN_OF_TABLE = 78,   // no record before (First on an empty table, Previous at the start)
    ADK_ERR_END_OF_TABLE = 79,     // no record after (Last on an empty table, Next at the end)
    ADK_ERR_NO_VALUE = 103,        // the field holds no value
    ADK_ERR_NOT_FOUND = 115,       // a find matched no record
    ADK_ERR_NO_COMPANY = 116,      // the company folder or its database is missing
    ADK_ERR_UNNAMED_FIELD = 139,   // a field inside the table that has no name (AdkGetFieldName)
    ADK_NO_TABLE = 187,            // lDbTable when no table is concerned
    ADK_NO_FIELD = 188,            // lField when no field is concerned
    ADK_ERR_NOT_A_DATE = 208,      // a text or number that is not a date
    ADK_ERR_RECORD_MISSING = 117,  // Update or Delete: no stored record has the key
    ADK_ERR_DUPLICATE_KEY = 301,
    ADK_ERR_INVALID_NUMBER = 302,  // unknown table or field number
    ADK_ERR_WRONG_TYPE = 303,      // a getter or setter of another type than the field's
    ADK_ERR_VALUE_REFUSED = 305,   // a value the field cannot take
    ADK_ERR_BAD_HANDLE = 306,      // NULL, unknown or freed handle, or one of the wrong kind
    ADK_ERR_ROW_INDEX = 307,       // row index outside the rows
    ADK_ERR_NOT_OPEN = 308,        // no company is open
    ADK_ERR_SORT_ORDER = 309,      // sort constant not valid for the table
    ADK_ERR_LOGIN = 310,           // AdkOpen2: user or password refused
    ADK_ERR_KEY_MISSING = 311,     // the key fields that identify a record are not set
    ADK_ERR_STORAGE = 312,         // the database failed, or the kit itself
    ADK_ERR_ALREADY_OPEN = 313,    // a company is already open
    ADK_ERR_BUFFER = 314,          // NULL or too small output buffer
    ADK_ERR_NOT_SUPPORTED = 315,   // an export the stand-in does not carry out
    ADK_ERR_HELD_WRITES_LOST = 316 // the database undid the held transaction: held writes are lost
};

// The exports in the binder's table order; the number goes into lFunction.
enum AdkFunction {
    ADKF_OPEN = 1,
    ADKF_OPEN_EX,
    ADKF_CLOSE,
    ADKF_CREATE_DATA,
    ADKF_CREATE_DATA_ROW,
    ADKF_GET_DATA_ROW,
    ADKF_RESET_STRUCT,
    ADKF_DELETE_STRUCT,
    ADKF_LONG_TO_DATE,
    ADKF_DATE_TO_LONG,
    ADKF_GET_STR,
    ADKF_GET_BOOL,
    ADKF_GET_DATA,
    ADKF_GET_DOUBLE,
    ADKF_GET_DATE,
    ADKF_SET_STR,
    ADKF_SET_BOOL,
    ADKF_SET_DATA,
    ADKF_SET_DOUBLE,
    ADKF_SET_DATE,
    ADKF_GET_TYPE,
    ADKF_GET_LENGTH,
    ADKF_GET_DECIMALS,
    ADKF_IS_READ_WRITE,
    ADKF_ADD,
    ADKF_UPDATE,
    ADKF_FIRST,
    ADKF_LAST,
    ADKF_DELETE,
    ADKF_FIND,
    ADKF_NEXT,
    ADKF_PREVIOUS,
    ADKF_DELETE_ROW,
    ADKF_GET_ERROR_TEXT,
    ADKF_SET_SORT_ORDER,
    ADKF_GET_FIELD_NAME,
    ADKF_GET_ADM_SIZE,
    ADKF_GET_ADM_SIZE_EX,
    ADKF_FIND_EX,
    ADKF_NEXT_EX,
    ADKF_PREVIOUS_EX,
    ADKF_FIRST_EX,
    ADKF_LAST_EX,
    ADKF_GET_VATPERCENT_ON_ARTICLE,
    ADKF_GET_CUSTOMER_PRICE,
    ADKF_GET_VARIANT,
    ADKF_GET_SIE,
    ADKF_FIND2,
    ADKF_LONG_TO_DATE_TIME,
    ADKF_DATE_TIME_TO_LONG,
    ADKF_GET_TIMESTAMP_FIELD,
    ADKF_GET_BOOKING_YEAR_ID,
    ADKF_GET_VERSION,
    ADKF_OPEN2,
    ADKF_SET_FILTER,
    // The stand-in's own, for durability (kit/README.md "Durability"); bound only where exported.
    ADKF_HOLD_WRITES,
    ADKF_COMMIT,
    ADKF_SYNC
};

// AdkGetErrorText kinds.
enum { ADK_TEXT_MESSAGE = 0, ADK_TEXT_TABLE = 1, ADK_TEXT_FIELD = 2 };

typedef AdkErrorRec (*AdkOpenFn)(const char* systemFolder, const char* companyFolder);
typedef AdkErrorRec (*AdkOpenExFn)(const char* systemFolder, const char* companyFolder, int32_t logging);
typedef AdkErrorRec (*AdkCloseFn)(void);
typedef AdkHandle (*AdkCreateDataFn)(int32_t table);
typedef AdkHandle (*AdkCreateDataRowFn)(int32_t rowsTable, int32_t count);
typedef AdkHandle (*AdkGetDataRowFn)(AdkHandle rows, int32_t index);
typedef AdkErrorRec (*AdkResetStructFn)(AdkHandle data);
typedef AdkErrorRec (*AdkDeleteStructFn)(AdkHandle data);
typedef AdkErrorRec (*AdkLongToDateFn)(int32_t date, char* buffer, int32_t size);
typedef AdkErrorRec (*AdkDateToLongFn)(const char* text, int32_t* date);
typedef AdkErrorRec (*AdkGetStrFn)(AdkHandle data, int32_t field, char* buffer, int32_t size);
typedef AdkErrorRec (*AdkGetBoolFn)(AdkHandle data, int32_t field, int32_t* value);
typedef AdkErrorRec (*AdkGetDataFn)(AdkHandle data, int32_t field, int32_t row, AdkHandle* sub);
typedef AdkErrorRec (*AdkGetDoubleFn)(AdkHandle data, int32_t field, double* value);
typedef AdkErrorRec (*AdkGetDateFn)(AdkHandle data, int32_t field, int32_t* date);
typedef AdkErrorRec (*AdkSetStrFn)(AdkHandle data, int32_t field, const char* text);
typedef AdkErrorRec (*AdkSetBoolFn)(AdkHandle data, int32_t field, uint8_t value);
typedef AdkErrorRec (*AdkSetDataFn)(AdkHandle head, int32_t field, AdkHandle rows);
typedef AdkErrorRec (*AdkSetDoubleFn)(AdkHandle data, int32_t field, double value);
typedef AdkErrorRec (*AdkSetDateFn)(AdkHandle data, int32_t field, int32_t date);
typedef AdkErrorRec (*AdkGetTypeFn)(AdkHandle data, int32_t field, int32_t* type);
typedef AdkErrorRec (*AdkGetLengthFn)(AdkHandle data, int32_t field, int32_t* length);
typedef AdkErrorRec (*AdkGetDecimalsFn)(AdkHandle data, int32_t field, int32_t* decimals);
typedef int32_t (*AdkIsReadWriteFn)(AdkHandle data, int32_t field);
typedef AdkErrorRec (*AdkAddFn)(AdkHandle data);
typedef AdkErrorRec (*AdkUpdateFn)(AdkHandle data);
typedef AdkErrorRec (*AdkFirstFn)(AdkHandle data);
typedef AdkErrorRec (*AdkLastFn)(AdkHandle data);
typedef AdkErrorRec (*AdkDeleteFn)(AdkHandle data);
typedef AdkErrorRec (*AdkFindFn)(AdkHandle data);
typedef AdkErrorRec (*AdkNextFn)(AdkHandle data);
typedef AdkErrorRec (*AdkPreviousFn)(AdkHandle data);
typedef AdkErrorRec (*AdkDeleteRowFn)(AdkHandle head, int32_t row);
typedef AdkErrorRec (*AdkGetErrorTextFn)(const AdkErrorRec* error, int32_t kind, char* buffer, int32_t size);
typedef AdkErrorRec (*AdkSetSortOrderFn)(AdkHandle data, int32_t sortConstant);
typedef AdkErrorRec (*AdkGetFieldNameFn)(int32_t table, int32_t field, char* buffer, int32_t size);
typedef AdkErrorRec (*AdkGetAdmSizeFn)(int32_t* variant, char* name, int32_t size);
typedef AdkErrorRec (*AdkGetAdmSizeExFn)(int32_t* variant, char* name, int32_t size);
typedef AdkErrorRec (*AdkFindExFn)(AdkHandle data, uint8_t withRows);
typedef AdkErrorRec (*AdkNextExFn)(AdkHandle data, uint8_t withRows);
typedef AdkErrorRec (*AdkPreviousExFn)(AdkHandle data, uint8_t withRows);
typedef AdkErrorRec (*AdkFirstExFn)(AdkHandle data, uint8_t withRows);
typedef AdkErrorRec (*AdkLastExFn)(AdkHandle data, uint8_t withRows);
typedef AdkErrorRec (*AdkGetVatpercentOnArticleFn)(const char* article, double* percent);
typedef AdkErrorRec (*AdkGetCustomerPriceFn)(const char* customer, const char* article, double quantity,
                                             uint8_t useInvoiceDiscount, uint8_t useRowDiscount,
                                             uint8_t includingVat, int32_t currency, double* price);
typedef AdkErrorRec (*AdkGetVariantFn)(const char* commonFiles, int32_t* variant, int32_t* flag, char* name,
                                       int32_t size);
typedef AdkErrorRec (*AdkGetSieFn)(int32_t a, int32_t b, int32_t c, int32_t d);
typedef AdkErrorRec (*AdkFind2Fn)(AdkHandle data, uint8_t withRows);
typedef AdkErrorRec (*AdkLongToDateTimeFn)(int32_t dateTime, char* buffer, int32_t size);
typedef AdkErrorRec (*AdkDateTimeToLongFn)(const char* text, int32_t* dateTime);
typedef AdkErrorRec (*AdkGetTimestampFieldFn)(AdkHandle data, int32_t* field);
typedef AdkErrorRec (*AdkGetBookingYearIdFn)(int32_t a, int32_t b, int32_t c);
typedef AdkErrorRec (*AdkGetVersionFn)(int32_t* major, int32_t* minor);
typedef AdkErrorRec (*AdkOpen2Fn)(const char* systemFolder, const char* companyFolder, const char* user,
                                  const char* password);
typedef AdkErrorRec (*AdkSetFilterFn)(AdkHandle data, int32_t field, const char* filter, int32_t flag);
typedef AdkErrorRec (*AdkHoldWritesFn)(int32_t hold);
typedef AdkErrorRec (*AdkCommitFn)(void);
typedef AdkErrorRec (*AdkSyncFn)(void);

#ifdef __cplusplus
}
#endif

// The file name of the kit and of the company database inside a company folder.
#define ADK_LIBRARY_FILE_NAME "Adk.dll"
#define ADK_COMPANY_DATABASE_NAME "company.sqlite"
#define ADK_COMPANY_SETTINGS_NAME "Ftg.ini"

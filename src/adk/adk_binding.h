#pragma once
// Loading and binding of the integration kit "Adk.dll": the one process-wide binding that every
// company component shares. The kit's file version is read before loading and decides which
// exports are asked for; each export keeps its decorated name for the gates and the messages, and
// is found under the plain C name derived from it.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/exception.h"

namespace tv {

inline constexpr std::string_view kAdkFileName = "Adk.dll";

// Raised by the call wrappers when an exception escapes from inside the kit.
TV_DECLARE_EXCEPTION(EAdkException, Exception);

// The kit's exports in binding order.
enum class TAdkExport : int {
    AdkOpen,
    AdkOpenEx,
    AdkClose,
    AdkCreateData,
    AdkCreateDataRow,
    AdkGetDataRow,
    AdkResetStruct,
    AdkDeleteStruct,
    AdkLongToDate,
    AdkDateToLong,
    AdkGetStr,
    AdkGetBool,
    AdkGetData,
    AdkGetDouble,
    AdkGetDate,
    AdkSetStr,
    AdkSetBool,
    AdkSetData,
    AdkSetDouble,
    AdkSetDate,
    AdkGetType,
    AdkGetLength,
    AdkGetDecimals,
    AdkIsReadWrite,
    AdkAdd,
    AdkUpdate,
    AdkFirst,
    AdkLast,
    AdkDelete,
    AdkDeleteRow,
    AdkFind,
    AdkNext,
    AdkPrevious,
    AdkGetErrorText,
    AdkSetSortOrder,
    AdkGetFieldName,
    AdkGetAdmSize,
    AdkGetAdmSizeEx,
    AdkFindEx,
    AdkNextEx,
    AdkPreviousEx,
    AdkFirstEx,
    AdkLastEx,
    AdkGetVatpercentOnArticle,
    AdkGetCustomerPrice,
    AdkGetVariant,
    AdkGetSie,
    AdkFind2,
    AdkLongToDateTime,
    AdkDateTimeToLong,
    AdkGetTimestampField,
    AdkGetBookingYearId,
    AdkGetVersion,
    AdkOpen2,
    AdkSetFilter,
    // The stand-in's durability exports: bound where the kit has them, else the kit makes every
    // write durable on its own.
    AdkHoldWrites,
    AdkCommit,
    AdkSync,
};
inline constexpr int kAdkExportCount = 58;

// The decorated name ("_AdkOpen@8") and the plain name it is exported under ("AdkOpen").
std::string_view AdkDecoratedName(TAdkExport which);
std::string AdkPlainName(std::string_view decoratedName);

// A file version as one number: major in the high 16 bits, minor in the low 16 bits; a file
// without version information has every bit set.
inline constexpr uint32_t kNoFileVersion = 0xFFFFFFFFu;
inline constexpr uint32_t AdkFileVersion(unsigned major, unsigned minor) {
    return (major << 16) | minor;
}

// Loads and binds the kit in `folder`. Raises when its version is below `requiredVersion` (when
// that is not empty) or when an export that its version must have is missing; then nothing stays
// loaded or bound. Returns false when the file cannot be loaded (the reason is in
// AdkLastLoadError), and true at once while a kit is loaded, whatever the folder.
bool LoadAdkLibrary(const std::string& folder, const std::string& requiredVersion);
// Frees the kit and clears every binding; the next load binds again.
void FreeAdkLibrary();
bool AdkLibraryLoaded();
// The loader's text for the last failed load.
std::string AdkLastLoadError();

// Binds one export of the loaded kit, given its minimum file version (0 for none): nothing when
// the kit is older than that minimum, or when the export is missing from a kit of exactly that
// version; raises "Kunde inte hitta funktion: ..." when it is missing from a newer kit.
void* BindAdkFunction(std::string_view decoratedName, uint32_t minimumFileVersion);

// Whether an export is bound now; callers test this where a kit may lack a function.
bool AdkFunctionBound(TAdkExport which);
// The bound address, or a raised "Kunde inte hitta funktion: ..." when it is not bound.
void* AdkFunctionAddress(TAdkExport which);

}  // namespace tv

#include "adk/adk_binding.h"

#include <dlfcn.h>

#include <array>
#include <optional>

#include "platform/rtl/environment_info.h"
#include "platform/rtl/format.h"
#include "platform/rtl/version_compare.h"
#include "platform/rtl/version_info.h"

namespace tv {
namespace {

// Which kit versions are asked for an export at all, by the kit's version text; WhenExported: any
// kit, bound when it has the export and never missed when it has not.
enum class Gate { Always, Above50, Above51, From171, From190, WhenExported };

struct ExportRow {
    std::string_view decorated;
    uint32_t minimumFile;  // 0: no minimum
    Gate gate;
};

constexpr uint32_t k42 = AdkFileVersion(4, 2);
constexpr uint32_t k44 = AdkFileVersion(4, 4);

constexpr ExportRow kExports[kAdkExportCount] = {
    {"_AdkOpen@8", 0, Gate::Always},
    {"_AdkOpenEx@12", k42, Gate::Always},
    {"_AdkClose@0", 0, Gate::Always},
    {"_AdkCreateData@4", 0, Gate::Always},
    {"_AdkCreateDataRow@8", 0, Gate::Always},
    {"_AdkGetDataRow@8", 0, Gate::Always},
    {"_AdkResetStruct@4", k42, Gate::Always},
    {"_AdkDeleteStruct@4", 0, Gate::Always},
    {"_AdkLongToDate@12", 0, Gate::Always},
    {"_AdkDateToLong@8", 0, Gate::Always},
    {"_AdkGetStr@16", 0, Gate::Always},
    {"_AdkGetBool@12", 0, Gate::Always},
    {"_AdkGetData@16", 0, Gate::Always},
    {"_AdkGetDouble@12", 0, Gate::Always},
    {"_AdkGetDate@12", 0, Gate::Always},
    {"_AdkSetStr@12", 0, Gate::Always},
    {"_AdkSetBool@12", 0, Gate::Always},
    {"_AdkSetData@12", 0, Gate::Always},
    {"_AdkSetDouble@16", 0, Gate::Always},
    {"_AdkSetDate@12", 0, Gate::Always},
    {"_AdkGetType@12", 0, Gate::Always},
    {"_AdkGetLength@12", 0, Gate::Always},
    {"_AdkGetDecimals@12", 0, Gate::Always},
    {"_AdkIsReadWrite@8", 0, Gate::Always},
    {"_AdkAdd@4", 0, Gate::Always},
    {"_AdkUpdate@4", 0, Gate::Always},
    {"_AdkFirst@4", 0, Gate::Always},
    {"_AdkLast@4", 0, Gate::Always},
    {"_AdkDelete@4", 0, Gate::Always},
    {"_AdkDeleteRow@8", 0, Gate::Always},
    {"_AdkFind@4", 0, Gate::Always},
    {"_AdkNext@4", 0, Gate::Always},
    {"_AdkPrevious@4", 0, Gate::Always},
    {"_AdkGetErrorText@16", 0, Gate::Always},
    {"_AdkSetSortOrder@8", 0, Gate::Always},
    {"_AdkGetFieldName@16", 0, Gate::Always},
    {"_AdkGetAdmSize@12", 0, Gate::Always},
    {"_AdkGetAdmSizeEx@12", k42, Gate::Always},
    {"_AdkFindEx@8", k44, Gate::Always},
    {"_AdkNextEx@8", k44, Gate::Always},
    {"_AdkPreviousEx@8", k44, Gate::Always},
    {"_AdkFirstEx@8", k44, Gate::Always},
    {"_AdkLastEx@8", k44, Gate::Always},
    {"_AdkGetVatpercentOnArticle@8", k44, Gate::Always},
    {"_AdkGetCustomerPrice@36", k44, Gate::Always},
    {"_AdkGetVariant@20", 0, Gate::Above50},
    {"_AdkGetSie@16", 0, Gate::Above50},
    {"_AdkFind2@8", 0, Gate::Above51},
    {"_AdkLongToDateTime@12", 0, Gate::Above51},
    {"_AdkDateTimeToLong@8", 0, Gate::Above51},
    {"_AdkGetTimestampField@8", 0, Gate::Above51},
    {"_AdkGetBookingYearId@12", 0, Gate::Above51},
    {"_AdkGetVersion@8", 0, Gate::Above51},
    {"_AdkOpen2@16", 0, Gate::From171},
    {"_AdkSetFilter@16", 0, Gate::From190},
    {"_AdkHoldWrites@4", 0, Gate::WhenExported},
    {"_AdkCommit@0", 0, Gate::WhenExported},
    {"_AdkSync@0", 0, Gate::WhenExported},
};

inline constexpr std::string_view kVersionRequired =
    "Det här programmet kräver att Visma Integration version %s eller högre är installerad. Aktuell version "
    "%s";
inline constexpr std::string_view kFunctionMissing = "Kunde inte hitta funktion: %s.";
inline constexpr std::string_view kFunctionNeedsVersion =
    "Visma Integration version %d.%d eller högre krävs och du har version %d.%d.";

inline constexpr std::string_view kEnvKitVersion = "Adk.dll ver";
inline constexpr std::string_view kEnvKitFolder = "Adk.dll";

// The one binding of the process.
struct Binding {
    void* module = nullptr;
    uint32_t fileVersion = kNoFileVersion;
    std::array<void*, kAdkExportCount> functions{};
    std::string lastLoadError;
};

Binding& State() {
    static Binding binding;
    return binding;
}

std::string MissingFunctionMessage(std::string_view decorated, uint32_t minimum, uint32_t fileVersion) {
    std::string message = Format(kFunctionMissing, {decorated});
    if (minimum != 0)
        message += "\r\n" + Format(kFunctionNeedsVersion, {minimum >> 16, minimum & 0xFFFF, fileVersion >> 16,
                                                           fileVersion & 0xFFFF});
    return message;
}

bool GateOpen(Gate gate, std::string_view versionText) {
    switch (gate) {
        case Gate::Always:
        case Gate::WhenExported:
            return true;
        case Gate::Above50:
            return CompareVersions(versionText, "5.0") > 0;
        case Gate::Above51:
            return CompareVersions(versionText, "5.1") > 0;
        case Gate::From171:
            return CompareVersions(versionText, "5.1") > 0 && CompareVersions(versionText, "17.1") >= 0;
        case Gate::From190:
            return CompareVersions(versionText, "5.1") > 0 && CompareVersions(versionText, "19.0") >= 0;
    }
    return false;
}

// A file that cannot be read has no version information; the load that follows reports why.
std::optional<TFileVersionInfo> KitFileVersion(const std::string& path) {
    try {
        return ReadFileVersion(path);
    } catch (const EInOutError&) {
        return std::nullopt;
    }
}

void ClearBinding(Binding& state) {
    if (state.module) dlclose(state.module);
    state.module = nullptr;
    state.functions.fill(nullptr);
    state.fileVersion = kNoFileVersion;
}

}  // namespace

std::string_view AdkDecoratedName(TAdkExport which) {
    return kExports[static_cast<int>(which)].decorated;
}

std::string AdkPlainName(std::string_view decoratedName) {
    std::string_view name = decoratedName;
    if (!name.empty() && name.front() == '_') name.remove_prefix(1);
    if (auto at = name.rfind('@'); at != std::string_view::npos) name = name.substr(0, at);
    return std::string(name);
}

bool LoadAdkLibrary(const std::string& folder, const std::string& requiredVersion) {
    Binding& state = State();
    // A path without a folder would make the loader search the library path.
    std::string dir = folder.empty() ? std::string("./") : folder;
    if (dir.back() != '/') dir += '/';
    const std::string path = dir + std::string(kAdkFileName);

    const auto version = KitFileVersion(path);
    const uint32_t fileVersion =
        version ? AdkFileVersion(version->FileVersion.Major, version->FileVersion.Minor) : kNoFileVersion;
    const std::string versionText = version ? version->FileVersion.ToString() : std::string();
    SetEnvironmentInfo(kEnvKitVersion, versionText);

    if (!requiredVersion.empty() && CompareVersions(versionText, requiredVersion) < 0)
        throw Exception(Format(kVersionRequired, {requiredVersion, versionText}));

    if (state.module) return true;

    dlerror();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        state.lastLoadError = reason ? reason : "";
        return false;
    }
    state.module = module;
    state.fileVersion = fileVersion;
    SetEnvironmentInfo(kEnvKitFolder, folder);

    try {
        for (int i = 0; i < kAdkExportCount; ++i) {
            const ExportRow& row = kExports[i];
            if (row.gate == Gate::WhenExported)
                state.functions[i] = dlsym(module, AdkPlainName(row.decorated).c_str());
            else if (GateOpen(row.gate, versionText))
                state.functions[i] = BindAdkFunction(row.decorated, row.minimumFile);
        }
    } catch (...) {
        // Nothing stays half bound: a later load starts again from the file.
        ClearBinding(state);
        throw;
    }
    return true;
}

void FreeAdkLibrary() {
    ClearBinding(State());
}

bool AdkLibraryLoaded() {
    return State().module != nullptr;
}

std::string AdkLastLoadError() {
    return State().lastLoadError;
}

void* BindAdkFunction(std::string_view decoratedName, uint32_t minimumFileVersion) {
    Binding& state = State();
    if (!state.module) return nullptr;
    void* address = dlsym(state.module, AdkPlainName(decoratedName).c_str());
    if (state.fileVersion < minimumFileVersion) return nullptr;
    if (address) return address;
    if (state.fileVersion <= minimumFileVersion) return nullptr;
    throw Exception(MissingFunctionMessage(decoratedName, minimumFileVersion, state.fileVersion));
}

bool AdkFunctionBound(TAdkExport which) {
    return State().functions[static_cast<int>(which)] != nullptr;
}

void* AdkFunctionAddress(TAdkExport which) {
    void* address = State().functions[static_cast<int>(which)];
    if (!address) throw Exception(Format(kFunctionMissing, {AdkDecoratedName(which)}));
    return address;
}

}  // namespace tv

#pragma once
// The plug-in SDK: the contract between Tollvane and a plug-in module ("plugin*.so" under the
// plug-in folder). A module exports one C entry point that gives the API version and its plug-ins by
// name with their factories; an instance answers interface queries by GUID for the base interface
// every plug-in implements, the role interface of its type (get, put, transform, event) and the
// visual interface through which the host drives it and embeds its settings panel.
//
// Standard C++ only: a plug-in includes this header and links none of the program's libraries. It
// must be built with the same compiler, standard library and Qt as the program (hidden symbols, see
// tollvane_add_plugin), because C++ objects, exceptions and QWidget pointers cross the boundary.
//
// The machine-level rules:
// - Strings are UTF-8. Parameters are const char*, valid for the call. A string result stays valid
//   until the next call on the same instance.
// - A method fails by throwing an exception derived from std::exception; the host reports what().
// - Interfaces are reference counted; an interface a query returned lives as long as the instance.
// - An instance owns every widget it creates and deletes them when it is destroyed.

#include <cstdint>
#include <cstring>

#include "string_array.h"

class QWidget;

namespace tv::plugin {

// Laid out as the run-time library's TGUID.
struct TGUID {
    uint32_t D1 = 0;
    uint16_t D2 = 0;
    uint16_t D3 = 0;
    uint8_t D4[8] = {};
    friend bool operator==(const TGUID& a, const TGUID& b) { return std::memcmp(&a, &b, sizeof(TGUID)) == 0; }
};

inline constexpr int32_t S_OK = 0;
inline constexpr int32_t E_NOINTERFACE = static_cast<int32_t>(0x80004002u);

// The reference-counted base of every interface, laid out as the run-time library's IInterface.
class IInterface {
public:
    // The identity of an object: querying any of its interfaces for it gives the same pointer.
    static constexpr TGUID IID{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    // S_OK and the interface (with a reference added) in `obj`, or E_NOINTERFACE and nil.
    virtual int32_t QueryInterface(const TGUID& iid, void** obj) = 0;
    virtual int32_t AddRef() = 0;
    // Returns the references left; the object is gone at 0.
    virtual int32_t Release() = 0;

protected:
    ~IInterface() = default;
};

// Implemented by every plug-in. The host calls TestModule, SaveSettings, SetPrefsFolder,
// CancelSettings, getLastError, setWorkFolder, setLogFile and getType, and (when the host hands rule
// parameters on) clearParams and addParam.
class Iquorvel_plugin : public IInterface {
public:
    static constexpr TGUID IID{0x4B64BE8F, 0xC9E1, 0x4B45, {0xB5, 0xCC, 0xD0, 0xC4, 0x6D, 0x8F, 0xC6, 0xB7}};

    // After the settings dialog closed.
    virtual bool TestModule() = 0;
    // The operator confirmed the settings dialog: keep the panel's values in the settings folder.
    virtual void SaveSettings() = 0;
    // The folder holding the plug-in's settings for the current rule step.
    virtual void SetPrefsFolder(const char* path) = 0;
    // The operator cancelled the settings dialog.
    virtual void CancelSettings() = 0;
    // Why the last execute failed.
    virtual const char* getLastError() = 0;
    virtual const char* getModuleTitle() = 0;
    // The folder the step may work in.
    virtual void setWorkFolder(const char* path) = 0;
    // The host's debug log file.
    virtual void setLogFile(const char* logfile) = 0;
    virtual void addParam(const char* aKey, const char* aValue) = 0;
    virtual void clearParams() = 0;
    // "get", "xform", "put" or "onEvent", compared exactly by the host.
    virtual const char* getType() = 0;

protected:
    ~Iquorvel_plugin() = default;
};

class Iquorvel_get : public IInterface {
public:
    static constexpr TGUID IID{0x0FFC331A, 0x2842, 0x4643, {0xA0, 0xAA, 0x51, 0xD8, 0x18, 0x04, 0x60, 0x65}};

    // Adds the full paths of the fetched files to `files` (an empty array the host owns) and returns
    // true; false when it gives no list.
    virtual bool getFiles(aStringArray& files) = 0;
    virtual bool testInterface() = 0;

protected:
    ~Iquorvel_get() = default;
};

class Iquorvel_put : public IInterface {
public:
    static constexpr TGUID IID{0xC81FD973, 0xBB1C, 0x427A, {0x85, 0x49, 0xA9, 0x15, 0x1E, 0x3C, 0xD7, 0xEF}};

    // Delivers one file, given by its full path; true when delivered.
    virtual bool PutFile(const char* Files) = 0;

protected:
    ~Iquorvel_put() = default;
};

class Iquorvel_transformer : public IInterface {
public:
    static constexpr TGUID IID{0x961336E3, 0x6C19, 0x4CD9, {0xB4, 0x72, 0x88, 0x99, 0x34, 0x2C, 0x9C, 0x3D}};

    // Writes the transformed content of SourceFile into DestFile, an existing empty file; false
    // when the transformation failed.
    virtual bool Transformfile(const char* SourceFile, const char* DestFile, const aStringArray& Options) = 0;

protected:
    ~Iquorvel_transformer() = default;
};

class Iquorvel_onEvent : public IInterface {
public:
    static constexpr TGUID IID{0x3F0DD4D8, 0xB551, 0x4F1C, {0xB2, 0x71, 0xE2, 0xA0, 0xD5, 0xE0, 0x62, 0x8E}};

    // Performs the plug-in's action; false on failure, with the reason in getLastError.
    virtual bool execute() = 0;

protected:
    ~Iquorvel_onEvent() = default;
};

// What a module's factory returns: the host drives the instance through these three methods.
class IHYVisualPlugin : public IInterface {
public:
    static constexpr TGUID IID{0x664FF8F3, 0xAC7D, 0x480A, {0x80, 0xEB, 0xEE, 0xC2, 0x0B, 0xF3, 0x83, 0x67}};

    // Right after creation for a rule run: the instance works without a panel.
    virtual void Init() = 0;
    // Creates the settings panel inside `parent` (the settings dialog's area), filled from the
    // settings of the folder SetPrefsFolder gave. The instance deletes the panel when it is
    // destroyed, unless the parent deleted it first.
    virtual void ShowParented(QWidget* parent) = 0;
    // At the start of each rule step.
    virtual void BeforeStep() = 0;

protected:
    ~IHYVisualPlugin() = default;
};

// The module entry point. A module exports exactly one function of this name and type, with C
// linkage and default visibility (TV_PLUGIN_MODULE writes it).
inline constexpr int32_t kPluginApiVersion = 1;
inline constexpr const char* kPluginEntryPoint = "tollvane_plugin_module";

// Creates an instance with one reference, which the caller owns. `owner` is the host window the
// instance may use for its own windows, or nil.
using TPluginFactory = IHYVisualPlugin* (*)(QWidget* owner);

struct TPluginRegistration {
    const char* Name;  // the module's file name without ".so" (PLUGIN_NAME)
    TPluginFactory Create;
};

struct TPluginModuleInfo {
    int32_t ApiVersion;  // kPluginApiVersion of the SDK the module was built with
    int32_t PluginCount;
    const TPluginRegistration* Plugins;
};

using TPluginEntryPoint = const TPluginModuleInfo* (*)();

}  // namespace tv::plugin

// Defines the module's entry point over its registrations:
//     TV_PLUGIN_MODULE({PLUGIN_NAME, &tv::plugin::Create<TMyPlugin>})
#define TV_PLUGIN_MODULE(...)                                                                          \
    extern "C" __attribute__((visibility("default"))) const ::tv::plugin::TPluginModuleInfo*           \
    tollvane_plugin_module() {                                                                         \
        static const ::tv::plugin::TPluginRegistration plugins[] = {__VA_ARGS__};                      \
        static const ::tv::plugin::TPluginModuleInfo info{                                             \
            ::tv::plugin::kPluginApiVersion, static_cast<int32_t>(sizeof plugins / sizeof plugins[0]), \
            plugins};                                                                                  \
        return &info;                                                                                  \
    }

#pragma once
// The engine side of the script host (TFormScriptHandler), free of widgets: the script component
// PSScript1 with its two import plug-ins, the job API and the script variables it registers on
// every compile, and registredMethods, the reference list of the job API's declarations. The
// host's window (the "Scripter" page) shows the script and the reference list; a job runs here.
//
// Scripts see FLAG_IMPORT and FLAG_EXPORT, integers the host declares and never assigns, so both
// read 0 when a run starts (FLAG_IMPORT is not the import side's 1). No variable named
// APPLICATION, DMImport, MEMO1 or MEMO2 is declared, so scripts cannot name them and nothing is
// bound to them before a run.

#include <functional>
#include <string>
#include <string_view>

#include "automation/job_api.h"
#include "platform/rtl/string_list.h"
#include "script/host/component/script.h"
#include "script/host/units/import_plugins.h"

namespace tv {

inline constexpr std::string_view kFlagImport = "FLAG_IMPORT";
inline constexpr std::string_view kFlagExport = "FLAG_EXPORT";
inline constexpr std::string_view kFlagType = "integer";

class TScriptHandlerEngine {
public:
    explicit TScriptHandlerEngine(TJobApi api);
    TScriptHandlerEngine(const TScriptHandlerEngine&) = delete;
    TScriptHandlerEngine& operator=(const TScriptHandlerEngine&) = delete;

    script::TPSScript PSScript1;
    script::TPSImport_Classes PSImport_Classes1;
    script::TPSImport_DateUtils PSImport_DateUtils1;
    // The trimmed declaration of every row the last RegisterScriptApi registered, sorted without
    // regard to case (duplicates kept).
    TStringList registredMethods;
    // Told each time registredMethods has been rebuilt.
    std::function<void()> OnMethodsRegistered;

    // Loads the file into PSScript1.Script (a missing or unreadable file raises the file error),
    // then RegisterScriptApi: outside a compile the engine takes nothing, and only the reference
    // list is refreshed.
    void LoadScript(const std::string& fileName);
    // Registers the rows in table order and rebuilds the reference list.
    void RegisterScriptApi();
    // Registers one row (the result is not examined) and lists its trimmed declaration.
    void AddScriptMethod(script::TPSScript& script, const TJobApiRow& row);

    const TJobApi& Api() const { return api_; }

private:
    // The hooks of PSScript1. The import units go in through the plug-ins and again through the
    // host's own handlers, so std, classes and the date routines are registered twice per compile.
    void PSScript1CompImport(TObject* sender, script::TPSPascalCompiler& x);
    void PSScript1ExecImport(TObject* sender, script::TPSExec& se, script::TPSRuntimeClassImporter& x);
    void PSScript1Compile(script::TPSScript& sender);

    TJobApi api_;
};

}  // namespace tv

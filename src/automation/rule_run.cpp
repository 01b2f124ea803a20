// The rule run of the plug-in host: waiting for loading, finding the rule and its plug-ins, and
// each step (get, xform, put, onEvent) with its reports and file moves.

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "automation/dm_plugins.h"
#include "automation/folder_tree.h"
#include "core/app_logger.h"
#include "core/string_utils.h"
#include "core/work_folders.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/win/main_thread.h"

namespace tv {
namespace {

using plugin::aStringArray;
using plugin::Iquorvel_get;
using plugin::Iquorvel_onEvent;
using plugin::Iquorvel_plugin;
using plugin::Iquorvel_put;
using plugin::Iquorvel_transformer;

// The step kinds, compared exactly.
constexpr std::string_view kTypeGet = "get";
constexpr std::string_view kTypeXform = "xform";
constexpr std::string_view kTypePut = "put";
constexpr std::string_view kTypeOnEvent = "onEvent";

constexpr std::string_view kRunningRule = "Kör regel: ";
constexpr std::string_view kLoadingPlugins = "Laddar in plugin";
constexpr std::string_view kLoadingPlugin = "Laddar : [%s]";
constexpr std::string_view kRunningPlugins = "Kör plugins";
constexpr std::string_view kLookingForNewFiles = "Letar efter nya filer";
constexpr std::string_view kFoundFiles = "Hittade %d filer.";
constexpr std::string_view kMovingFetched = "Flyttar : %s till %s";
constexpr std::string_view kFetchedMoveFailed =
    "Kunde inte flytta fil [%s] till [%s], gör detta manuellt: %s";
constexpr std::string_view kNotAFileName = "inget filnamn";
constexpr std::string_view kXformLooking = "xform::Letar obehandlade filer";
constexpr std::string_view kXformNothing = "xform::Inga filer att behandla";
constexpr std::string_view kXformProcessing = "xform::Behandlar: ";
constexpr std::string_view kXformSucceeded = "xform::Lyckades: ";
constexpr std::string_view kXformFailed = "xform::Misslyckades: ";
constexpr std::string_view kXformDone = "Klar med tranformationer";
constexpr std::string_view kPutPreparing = "Förbereder flytt";
constexpr std::string_view kPutLooking = "Letar filer för flytt";
constexpr std::string_view kPutSending = "Skickar filer: ";
constexpr std::string_view kPutSendingFile = "Skickar fil: [%s]";
constexpr std::string_view kPutNotSent = "Skickades inte";
constexpr std::string_view kEvent = "Event";
constexpr std::string_view kCloseFailed = "The rule run's event item could not be closed: ";

// Whatever ends a rule run: the module timer goes on (so that loading is allowed again once it has
// unloaded the modules), and the run's event item is closed.
class TRunEnd {
public:
    explicit TRunEnd(IEventSink& events, std::function<void()> startTimer)
        : events_(events), startTimer_(std::move(startTimer)) {}
    ~TRunEnd() {
        startTimer_();
        if (!itemOpen_) return;
        try {
            events_.CloseNestedEventItem();
        } catch (const std::exception& e) {
            AppLogger().LogError(kCloseFailed, e);
        }
    }
    TRunEnd(const TRunEnd&) = delete;
    TRunEnd& operator=(const TRunEnd&) = delete;
    void ItemOpened() { itemOpen_ = true; }

private:
    IEventSink& events_;
    std::function<void()> startTimer_;
    bool itemOpen_ = false;
};

// Releases the plug-in instance of a step however the step ends.
class TStepEnd {
public:
    explicit TStepEnd(std::function<void()> release) : release_(std::move(release)) {}
    ~TStepEnd() {
        try {
            release_();
        } catch (const std::exception& e) {
            AppLogger().LogError("", e);
        }
    }
    TStepEnd(const TStepEnd&) = delete;
    TStepEnd& operator=(const TStepEnd&) = delete;

private:
    std::function<void()> release_;
};

}  // namespace

std::string TDMPlugins::UnprocessedFolder(int side) const {
    return IncludeTrailingPathDelimiter(context_.getWorkFolder(side, kFolderUnprocessed));
}

void TDMPlugins::RunRule(const std::string& rulename) {
    WaitForLoadAllowed();
    TRunEnd end(events_, [this] { SetTimer1Enabled(true); });
    allowLoad_ = false;
    events_.addEventItem(std::string(kRunningRule) + rulename, true);
    end.ItemOpened();
    // Each run decides afresh whether its put steps collect the unprocessed files themselves.
    ruleXformRun_ = false;

    if (!Rules().Locate("RuleName", Variant::FromUtf8(rulename), loCaseInsensitive))
        throw Exception(std::string(kRuleNotFound) + QuotedStr(rulename));
    const int side =
        Rules().FieldByName("RULE_IMPORT_OR_EXPORT").AsInteger() == WORK_IMPORT ? WORK_IMPORT : WORK_EXPORT;
    bool first = true;
    TClientDataSet& items = RuleItems();
    items.First();
    events_.addEventItem(kLoadingPlugins, false);
    FindPlugins();
    events_.setEventCount(items.RecordCount());
    events_.reportError(kLoadingPlugins, elInfo);
    EmptyTable(CDS_TRANSFORMED_FILES());
    LoadRulePlugins();

    events_.addEventItem(kRunningPlugins, false);
    events_.setEventCount(items.RecordCount());
    QWidget* mainWindow = context_.MainWindow ? context_.MainWindow() : nullptr;
    for (items.First(); !items.Eof(); items.Next()) {
        fPluginForm.reset();
        moduleManager_.CreateVisualPlugin(items.FieldByName("RULE_ITEM_PLUGIN_NAME").AsString(), fPluginForm,
                                          mainWindow);
        fPluginForm->Init();
        const TPluginRef<Iquorvel_plugin> plugin = fPluginForm.As<Iquorvel_plugin>();
        const std::string type = plugin->getType();
        plugin->setLogFile(context_.getLogFile().c_str());
        HandRuleParams();
        if (type == kTypePut) {
            if (!ruleXformRun_) {
                std::string folder = UnprocessedFolder(side);
                ForceDirectories(folder);
                CollectUnprocessedFiles(folder, "*.*", side);
            }
            moves_.MoveTempFilesForArchiving(CDS_TRANSFORMED_FILES(), side);
        }
        RunRulePart(first, type);
        if (type == kTypeXform) first = false;
    }
    if (side == WORK_IMPORT && ruleXformRun_) moves_.MoveTempFilesForImport(CDS_TRANSFORMED_FILES());
}

// Every item's plug-in is in the catalogue (names compared without regard to case) and its module
// loaded, before any step runs.
void TDMPlugins::LoadRulePlugins() {
    TClientDataSet& items = RuleItems();
    TClientDataSet& catalogue = CDSAvailablePlugins();
    for (items.First(); !items.Eof(); items.Next()) {
        events_.StepProgress();
        const std::string name = items.FieldByName("RULE_ITEM_PLUGIN_NAME").AsString();
        events_.reportError(Format(kLoadingPlugin, {name}), elDebug);
        if (!catalogue.Locate("PLUGIN_NAME", Variant::FromUtf8(name), loCaseInsensitive))
            throw Exception(std::string(kPluginNotFound) + name);
        const std::string module = catalogue.FieldByName("PLUGIN_FILENAME").AsString();
        if (!moduleManager_.FindModule(module)) moduleManager_.LoadModule(module);
    }
}

// The parameters of the run reach every plug-in, afresh for each step.
void TDMPlugins::HandRuleParams() {
    const TPluginRef<Iquorvel_plugin> plugin = fPluginForm.As<Iquorvel_plugin>();
    plugin->clearParams();
    TClientDataSet& params = CDSRuleKeyValues();
    for (params.First(); !params.Eof(); params.Next())
        plugin->addParam(params.FieldByName("akey").AsString().c_str(),
                         params.FieldByName("aValue").AsString().c_str());
}

void TDMPlugins::CollectUnprocessedFiles(std::string& folder, std::string_view mask, int flag) {
    events_.reportError(kLookingForNewFiles, elExcessive);
    folder = context_.getWorkFolder(flag, kFolderUnprocessed);
    const std::string base = IncludeTrailingPathDelimiter(folder);
    TClientDataSet& files = CDS_TRANSFORMED_FILES();
    for (const std::string& name : SortedListing(base, mask, TListKind::Files)) {
        files.Append();
        files.FieldByName("filename").SetAsString(base + name);
        files.FieldByName("cachefile").SetAsString("");
        files.Post();
    }
}

void TDMPlugins::RunRulePart(bool first_run, const std::string& ruletype) {
    const int side =
        Rules().FieldByName("RULE_IMPORT_OR_EXPORT").AsInteger() == WORK_IMPORT ? WORK_IMPORT : WORK_EXPORT;
    TStepEnd end([this] { ReleasePluginForm(); });
    fPluginForm->BeforeStep();
    ProcessMessages();
    if (ruletype == kTypeGet)
        RunGetStep(side);
    else if (ruletype == kTypeXform)
        RunTransformStep(first_run, side);
    else if (ruletype == kTypePut)
        RunPutStep(side);
    else if (ruletype == kTypeOnEvent)
        RunEventStep();
    else
        throw Exception(std::string(kUnknownPluginType));
}

// The fetched files move into "obehandlade"; a file that cannot move is reported and the others go on.
void TDMPlugins::RunGetStep(int side) {
    const TPluginRef<Iquorvel_plugin> plugin = fPluginForm.As<Iquorvel_plugin>();
    plugin->SetPrefsFolder(getRuleItemFolder().c_str());
    plugin->setWorkFolder(context_.getPluginTmpFolder().c_str());
    aStringArray list;
    const bool fetched = fPluginForm.As<Iquorvel_get>()->getFiles(list);
    const std::string folder = UnprocessedFolder(side);
    ForceDirectories(folder);
    if (!fetched) return;
    events_.reportError(Format(kFoundFiles, {list.Count()}), elExcessive);
    for (int32_t i = 0; i < list.Count(); ++i) {
        const std::string& entry = list.Items(i);
        const std::string name = ExtractFileName(entry);
        const std::string target = folder + name;
        events_.reportError(Format(kMovingFetched, {entry, target}), elDebug);
        try {
            if (name.empty() || name == "." || name == "..") throw EInOutError(std::string(kNotAFileName));
            MoveFileReplace(entry, target);
        } catch (const std::exception& e) {
            events_.reportError(Format(kFetchedMoveFailed, {entry, target, e.what()}), elError);
        }
    }
}

// Each unprocessed file (or its latest copy) is transformed into a new temporary copy; a file that
// fails moves to "felaktiga" and the others go on.
void TDMPlugins::RunTransformStep(bool first_run, int side) {
    ruleXformRun_ = true;
    const aStringArray options;
    events_.addEventItem(kXformLooking, false);
    std::string folder;
    if (first_run) CollectUnprocessedFiles(folder, "*.*", side);
    TClientDataSet& files = CDS_TRANSFORMED_FILES();
    if (files.IsEmpty()) {
        events_.addEventItem(kXformNothing, false);
        return;
    }
    const TPluginRef<Iquorvel_plugin> plugin = fPluginForm.As<Iquorvel_plugin>();
    plugin->SetPrefsFolder(getRuleItemFolder().c_str());
    plugin->setWorkFolder(UnprocessedFolder(side).c_str());
    // A copy that cannot be deleted is reported; the step goes on.
    auto dropCopy = [this](const std::string& copy) {
        try {
            if (FileExists(copy)) DeleteFile(copy);
        } catch (const std::exception& e) {
            events_.reportError(e.what(), elError);
        }
    };
    for (files.First(); !files.Eof(); files.Next()) {
        const std::string fileName = files.FieldByName("filename").AsString();
        if (!FileExists(fileName)) continue;
        std::string target;
        try {
            const std::string cache = files.FieldByName("cachefile").AsString();
            const std::string source = cache.empty() ? fileName : cache;
            target = CreateTempFile();
            files.Edit();
            files.FieldByName("cachefile").SetAsString(target);
            files.Post();
            events_.reportError(std::string(kXformProcessing) + fileName, elInfo);
            if (fPluginForm.As<Iquorvel_transformer>()->Transformfile(source.c_str(), target.c_str(),
                                                                      options)) {
                events_.reportError(std::string(kXformSucceeded) + fileName, elInfo);
            } else {
                events_.reportError(std::string(kXformFailed) + fileName, elError);
                dropCopy(target);
                moves_.ArchiveJunk(fileName, false, side);
            }
        } catch (const std::exception& e) {
            events_.reportError(e.what(), elError);
            if (!target.empty()) dropCopy(target);
            moves_.ArchiveJunk(fileName, false, side);
        }
    }
    ReleasePluginForm();
    events_.addEventItem(kXformDone, false);
}

// Every file waiting in "skickas" is delivered; a delivered file moves to "skickat", one refused or
// failing is reported and stays.
void TDMPlugins::RunPutStep(int side) {
    events_.addEventItem(kPutPreparing, false);
    const TPluginRef<Iquorvel_plugin> plugin = fPluginForm.As<Iquorvel_plugin>();
    plugin->SetPrefsFolder(getRuleItemFolder().c_str());
    plugin->setWorkFolder(context_.getPluginTmpFolder().c_str());
    const std::string folder = IncludeTrailingPathDelimiter(context_.getWorkFolder(side, kFolderToSend));
    events_.addEventItem(kPutLooking, false);
    const std::vector<std::string> names = SortedListing(folder, "*", TListKind::Files);
    events_.addEventItem(kPutSending, false);
    events_.setEventCount(static_cast<int>(names.size()));
    for (const std::string& name : names) {
        const std::string file = folder + name;
        events_.reportError(Format(kPutSendingFile, {file}), elExcessive);
        try {
            if (fPluginForm.As<Iquorvel_put>()->PutFile(file.c_str()))
                moves_.MoveToSent(file, side);
            else
                events_.reportError(kPutNotSent, elWarning);
        } catch (const std::exception& e) {
            events_.reportError(e.what(), elError);
        }
        events_.StepProgress();
    }
    ReleasePluginForm();
}

void TDMPlugins::RunEventStep() {
    events_.reportError(kEvent, elDebug);
    try {
        const TPluginRef<Iquorvel_plugin> plugin = fPluginForm.As<Iquorvel_plugin>();
        plugin->SetPrefsFolder(getRuleItemFolder().c_str());
        plugin->setWorkFolder(context_.getPluginTmpFolder().c_str());
        if (!fPluginForm.As<Iquorvel_onEvent>()->execute())
            events_.reportError(plugin->getLastError(), elError);
    } catch (const std::exception& e) {
        events_.reportError(e.what(), elError);
    }
}

}  // namespace tv

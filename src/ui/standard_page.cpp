#include "ui/standard_page.h"

#include <filesystem>
#include <map>
#include <memory>

#include "core/main_dm.h"
#include "core/settings_root.h"
#include "platform/db/ado_connection.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/label.h"
#include "platform/ini/ini_file.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/file_lock.h"
#include "platform/rtl/file_mask.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/text_compare.h"
#include "platform/win/shell_service.h"
#include "ui/page_behaviours.h"
#include "ui/page_messages.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

constexpr std::string_view kImportFolderName = "import";
constexpr std::string_view kCompanyFileMask = "*.DBF";
constexpr std::string_view kRunningNumbersTable = "CDSLopnr";
constexpr std::string_view kCompanyNameTable = "AdkPrm";
constexpr int kShowNormal = 1;

// The file of that name in the folder, whatever the letter case of its name there; empty for none.
std::string FileInFolder(const std::string& folder, std::string_view name) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file(error) && SameTextAscii(entry.path().filename().string(), name))
            return entry.path().string();
    return {};
}

bool IsCompanyFolder(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (MatchesMask(name, kCompanyFileMask) || name == kCompanyDatabaseName) return true;
    }
    return false;
}

// The button's table and field, as its block line names them.
struct FieldOfButton {
    TDataSet* Table;
    std::string Field;
};

FieldOfButton BoundField(TSettingsPage& page, const TPageControlDef* control,
                         const TPageBehaviourDef& behaviour) {
    if (!control || control->Field.empty())
        throw Exception("The page behaviour " + behaviour.Id + " needs the field it acts on");
    return {page.SourceFor(control->Table).DataSet(), control->Field};
}

// "Bläddra": the chosen folder goes into the field and the record is posted at once; a cancelled
// choice changes nothing.
void BrowseFolderBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef* control,
                           const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    const FieldOfButton bound = BoundField(page, control, behaviour);
    OnClick(button, [bound] {
        const std::string chosen =
            BrowseForFolder(kChooseFolderTitle, bound.Table->FieldByName(bound.Field).AsString(), true);
        if (chosen.empty()) return;
        bound.Table->Edit();
        bound.Table->FieldByName(bound.Field).SetAsString(chosen);
        bound.Table->Post();
    });
}

// "Testa": opens the company, its database and its kit tables, and names the company; the
// company and its database are closed again whatever happened.
void TestCompanyBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                          const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    TMainDM& dm = page.DM();
    OnClick(button, [&dm] {
        try {
            dm.connectSPCS();
            dm.connectODBC();
            dm.openADK();
            TAdkDataSet& parameters = dm.AdkDataSet(kCompanyNameTable);
            parameters.AdkNavFirst(true);
            ShowPageInformation(Format(kConnectionLooksGood, {parameters.FieldByAdkIndex(0).AsString()}));
        } catch (const std::exception& e) {
            ShowPageInformation(std::string(kSomethingWentWrong) + e.what());
        }
        dm.disconnectODBC();
        dm.disconnectSPCSSRC();
    });
}

// "Öppna": the business system's program of its installation, started on the folder that holds
// the company the edit names. Every failure is shown in a box.
void OpenCompanyProgramBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                                 const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    TControl* edit = page.FindControl(behaviour.Argument);
    if (!edit)
        throw Exception("The page behaviour open-company-program needs the edit " + behaviour.Argument);
    TAdkDatabase& database = page.DM().AdkDBSRC();
    button.OnClick = [edit, &database](TObject*) {
        try {
            const std::string path = edit->Text();
            if (path.empty() || !DirectoryExists(path)) throw Exception(std::string(kFolderMissing));
            const std::string root = FindCompanyRoot(ExtractFileDir(path));
            const std::string installation =
                database.AdkPath.empty() ? database.AdkInfo().AdminPath() : database.AdkPath;
            std::string program =
                installation.empty() ? std::string() : FileInFolder(installation, kAdminProgram);
            if (program.empty())
                throw Exception(Format(kAdminProgramMissing, {IncludeTrailingPathDelimiter(installation) +
                                                              std::string(kAdminProgram)}));
            if (ShellExecuteAndWait("OPEN", program, std::string(kAdminFolderParameter) + root, false,
                                    kShowNormal, "") < 0)
                throw Exception(Format(kAdminProgramNotStarted, {program}));
        } catch (const std::exception& e) {
            ShowPageInformation(e.what());
        }
    };
}

void DefaultWorkFolderBehaviour(TSettingsPage&, TControl& target, const TPageControlDef*,
                                const TPageBehaviourDef& behaviour) {
    BehaviourTarget<TLabel>(target, behaviour).SetCaption(DefaultWorkFolderText([] {
        return GetPrefsFolder(kImportFolderName);
    }));
}

// The running numbers of the group, as they stood when the page was made. On OK, when the operator
// changed one, the identities section is written at once under the settings file's lock, as an
// advancing number writes it: the numbers changed here go in as typed, every other number is
// taken from the file first, so that one another run advanced meanwhile is not put back.
void SaveRunningNumbersBehaviour(TSettingsPage& page, TControl& target, const TPageControlDef*,
                                 const TPageBehaviourDef& behaviour) {
    const TPageGroupDef* group = nullptr;
    for (const auto& g : page.Def().Groups)
        if (!g.Name.empty() && page.FindGroup(g.Name) == &target) group = &g;
    if (!group || !AnsiSameText(group->Table, kRunningNumbersTable))
        throw Exception("The page behaviour " + behaviour.Id + " needs a named group of " +
                        std::string(kRunningNumbersTable));
    TMainDM& dm = page.DM();
    TClientDataSet& numbers = dm.CDSLopnr();
    auto shown = std::make_shared<std::map<std::string, std::string>>();
    for (const auto& control : group->Controls)
        if (!control.Field.empty()) (*shown)[control.Field] = numbers.FieldByName(control.Field).AsString();

    page.AtConfirm([&dm, &numbers, shown] {
        std::map<std::string, std::string> changed;
        for (const auto& [field, before] : *shown)
            if (const std::string now = numbers.FieldByName(field).AsString(); now != before)
                changed[field] = now;
        if (changed.empty()) return;
        const std::string file = dm.getSettingsFile();
        const std::string& section = dm.Settings().Schema().Table(kRunningNumbersTable).Place;
        TReplacedFileLock lock(file);
        const TIniFile stored(file);
        numbers.Edit();
        try {
            for (int i = 0; i < numbers.FieldCount(); ++i) {
                TField& field = numbers.Fields(i);
                if (changed.contains(field.FieldName())) continue;
                if (!stored.ValueExists(section, field.FieldName())) continue;
                const std::string text = stored.ReadString(section, field.FieldName(), "");
                int64_t number = 0;
                if (text.empty())
                    field.Clear();
                else if (TryStrToInt64(text, number))
                    field.SetAsLargeInt(number);
            }
            numbers.Post();
        } catch (...) {
            numbers.Cancel();
            throw;
        }
        dm.saveIdentities();
        for (auto& [field, before] : *shown) before = numbers.FieldByName(field).AsString();
    });
}

constexpr TPageBehaviour kBehaviours[] = {
    {"browse-folder", BrowseFolderBehaviour},
    {"test-company", TestCompanyBehaviour},
    {"open-company-program", OpenCompanyProgramBehaviour},
    {"default-work-folder", DefaultWorkFolderBehaviour},
    {"save-running-numbers", SaveRunningNumbersBehaviour},
};

}  // namespace

std::span<const TPageBehaviour> StandardPageBehaviours() {
    return kBehaviours;
}

std::string BrowseForFolder(std::string_view title, std::string_view initialFolder, bool) {
    // The dialog service's folder dialog always offers a new folder.
    const std::optional<std::string> chosen = DialogService().BrowseFolder(title, initialFolder);
    if (!chosen || chosen->empty()) return {};
    const std::string folder = ExcludeTrailingPathDelimiter(*chosen);
    return folder.empty() ? *chosen : folder;  // the root keeps its one delimiter
}

std::string FindCompanyRoot(std::string_view folder) {
    std::string root(folder);
    if (root.empty() || !DirectoryExists(root)) throw Exception(std::string(kFolderLookupFailed));
    root = IncludeTrailingPathDelimiter(root);
    if (!IsCompanyFolder(root)) return root;
    // A company folder itself: the program takes the folder that holds its companies.
    const std::string parent = ExtractFileDir(ExcludeTrailingPathDelimiter(root));
    return parent.empty() ? root : IncludeTrailingPathDelimiter(parent);
}

std::string DefaultWorkFolderText(const std::function<std::string()>& lookUp) {
    try {
        return lookUp();
    } catch (const std::exception&) {
        return std::string(kDefaultFolderFailed);
    }
}

}  // namespace tv

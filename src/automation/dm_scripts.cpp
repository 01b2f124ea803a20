#include "automation/dm_scripts.h"

#include <utility>

#include "automation/client_tables.h"
#include "automation/folder_tree.h"
#include "platform/rtl/files.h"

namespace tv {
namespace {

constexpr std::string_view kScriptsTable = "CDSScripts";

constexpr TTableField kScriptFields[] = {
    {kScriptsTable, "SCRIPT_FILENAME", TFieldType::ftString, 1024},
    {kScriptsTable, "SCRIPT_NAME", TFieldType::ftString, 255},
    {kScriptsTable, "SCRIPT_DESCRIPTION", TFieldType::ftString, 1024},
};

}  // namespace

TDMScripts::TDMScripts(std::function<std::string()> scriptFolder, TComponent* owner)
    : TComponent(owner),
      scriptFolder_(std::move(scriptFolder)),
      scripts_(MakeClientTable(kScriptsTable, kScriptFields, this)) {
    scripts_->SetIndexFieldNames("SCRIPT_NAME;SCRIPT_FILENAME");
}

void TDMScripts::FindScripts() {
    scripts_->Cancel();
    scripts_->EmptyDataSet();
    ScanScriptFolder(scriptFolder_(), kScriptMask, true);
}

void TDMScripts::ScanScriptFolder(const std::string& folder, std::string_view mask, bool recurse) {
    TClientDataSet& scripts = CDSScripts();
    VisitFolderTree(folder, recurse, [&](const std::string& at) {
        for (const std::string& entry : SortedListing(at, mask, TListKind::Files)) {
            scripts.Append();
            scripts.FieldByName("SCRIPT_FILENAME").SetAsString(at + entry);
            scripts.FieldByName("SCRIPT_NAME").SetAsString(ChangeFileExt(entry, ""));
            scripts.FieldByName("SCRIPT_DESCRIPTION").SetAsString("");
            scripts.Post();
        }
    });
}

}  // namespace tv

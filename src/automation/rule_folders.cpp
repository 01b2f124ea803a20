#include "automation/rule_folders.h"

#include <filesystem>
#include <system_error>

#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

// The entry itself, a link not followed.
fs::file_status EntryStatus(const std::string& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec);
}

// Deletes a file or a link; when that fails, once more after the folder holding it was made
// writable and searchable for its owner (what stands in the way of a delete here).
void DeleteEntry(const std::string& folder, const std::string& path) {
    try {
        DeleteFile(path);
    } catch (const EInOutError&) {
        std::error_code ec;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
        DeleteFile(path);
    }
}

}  // namespace

bool IsRuleFolderName(std::string_view ruleName) {
    return ruleName != "." && ruleName != ".." && ruleName.find_first_of("/\\") == std::string_view::npos;
}

void CheckRuleFolderName(std::string_view ruleName) {
    if (!IsRuleFolderName(ruleName)) throw Exception(Format(kRuleNameNotAFolder, {ruleName}));
}

void DeleteFolderTree(const std::string& folder, std::string_view mask, bool recurse) {
    for (const std::string& name : ListFolder(folder, mask, TListKind::Files))
        DeleteEntry(folder, folder + name);
    if (!recurse) return;
    for (const std::string& name : ListFolder(folder, "*", TListKind::Folders)) {
        const std::string sub = folder + name;
        // A link to a folder is only a name here: deleting it leaves what it points at alone.
        if (fs::is_symlink(EntryStatus(sub))) {
            DeleteEntry(folder, sub);
            continue;
        }
        std::error_code ec;
        fs::permissions(sub, fs::perms::owner_all, fs::perm_options::add, ec);
        DeleteFolderTree(IncludeTrailingPathDelimiter(sub), mask, true);
        RemoveDir(sub);
    }
}

void RemoveRuleFolder(const std::string& ruleFolder, std::string_view ruleName) {
    CheckRuleFolderName(ruleName);
    const std::string folder = IncludeTrailingPathDelimiter(ruleFolder) + std::string(ruleName);
    const fs::file_status status = EntryStatus(folder);
    if (!fs::exists(status)) return;
    if (!fs::is_directory(status)) {
        DeleteEntry(ruleFolder, folder);
        return;
    }
    DeleteFolderTree(IncludeTrailingPathDelimiter(folder), "*", true);
    RemoveDir(folder);
}

void RenameRuleFolder(const std::string& ruleFolder, std::string_view oldName, std::string_view newName) {
    CheckRuleFolderName(oldName);
    CheckRuleFolderName(newName);
    const std::string base = IncludeTrailingPathDelimiter(ruleFolder);
    if (!fs::exists(EntryStatus(base + std::string(oldName)))) return;
    MoveFile(base + std::string(oldName), base + std::string(newName));
}

}  // namespace tv

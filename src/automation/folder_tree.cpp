#include "automation/folder_tree.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace tv {
namespace {

// A folder as the file system resolves it, so that a folder reached twice through links is
// visited once.
std::string FolderIdentity(const std::string& folder) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(folder, ec);
    return ec ? folder : resolved.string();
}

}  // namespace

std::vector<std::string> SortedListing(const std::string& folder, std::string_view mask, TListKind kind) {
    std::vector<std::string> names = ListFolder(folder, mask, kind);
    std::sort(names.begin(), names.end());
    return names;
}

void VisitFolderTree(const std::string& path, bool recurse,
                     const std::function<void(const std::string& folder)>& visit) {
    std::set<std::string> visited;
    std::function<void(const std::string&)> walk = [&](const std::string& at) {
        const std::string folder = IncludeTrailingPathDelimiter(at);
        if (!visited.insert(FolderIdentity(folder)).second) return;
        visit(folder);
        if (!recurse) return;
        for (const std::string& sub : SortedListing(folder, "*", TListKind::Folders)) walk(folder + sub);
    };
    walk(path);
}

}  // namespace tv

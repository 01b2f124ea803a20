#pragma once
// Walking a folder tree for the catalogues of plug-in modules and job scripts: folders in name
// order, each folder once even when links lead back into the tree, so that a catalogue is the same
// on every file system and a loop of links never makes the walk endless.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/files.h"

namespace tv {

// The entries of `folder` that match the Windows `mask` (letters in any case), in name order. A
// folder that does not exist lists nothing.
std::vector<std::string> SortedListing(const std::string& folder, std::string_view mask, TListKind kind);

// Calls `visit` with `path` (a delimiter added when missing) and, with `recurse`, then with each of
// its sub-folders in name order, depth first. A folder the walk has reached before is skipped.
void VisitFolderTree(const std::string& path, bool recurse,
                     const std::function<void(const std::string& folder)>& visit);

}  // namespace tv

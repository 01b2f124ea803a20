#pragma once
// The folders of rules. A rule keeps its steps' settings in a folder named after it under the rule
// folder, so a rule name must be usable as one folder name, and whatever removes or renames a
// rule's folder stays inside the rule folder: a symbolic link is removed as a link, never followed.

#include <string>
#include <string_view>

namespace tv {

inline constexpr std::string_view kRuleNameNotAFolder = "Namnet kan inte användas som mappnamn: %s";

// Whether a rule of this name may have a folder: not ".", not ".." and without "/" or "\". (An
// empty name is refused by the rule table's own check.)
bool IsRuleFolderName(std::string_view ruleName);
// Raises kRuleNameNotAFolder with the name when it is not one.
void CheckRuleFolderName(std::string_view ruleName);

// Deletes every entry of `folder` (a text with a delimiter) that matches the mask and is not a
// folder. A file that cannot be deleted is tried once more after its folder has been made writable
// for its owner. With `recurse` every sub-folder is emptied the same way and removed; one that
// cannot be removed raises EInOutError.
void DeleteFolderTree(const std::string& folder, std::string_view mask, bool recurse);

// Empties and removes the folder of a rule (`ruleFolder`, with a delimiter, + `ruleName`); a
// folder that is not there is nothing to remove. Raises kRuleNameNotAFolder for a name that
// cannot be a folder, EInOutError when the folder cannot be removed.
void RemoveRuleFolder(const std::string& ruleFolder, std::string_view ruleName);

// Gives a renamed rule's folder its new name; when there is none under the old name, nothing
// moves. Raises EInOutError when a folder of the new name is there already or the move fails.
void RenameRuleFolder(const std::string& ruleFolder, std::string_view oldName, std::string_view newName);

}  // namespace tv

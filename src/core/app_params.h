#pragma once
// The program's command-line parameters as the class library offers them, and the folder the
// program was started in (the normal run later makes the program's folder the current one, so
// relative paths given on the command line are taken against the start folder). Set once by the
// entry routine; tests set their own.

#include <string>
#include <string_view>
#include <vector>

namespace tv {

// The parameters after the program's name. The start folder defaults to the current folder.
void SetAppParams(std::vector<std::string> params, std::string startFolder = {});
const std::vector<std::string>& AppParams();
const std::string& StartFolder();

// True when a parameter is the switch `name` written with "/", "-" or "--" before it; the name is
// compared without regard to case unless `ignoreCase` is false.
bool FindCmdLineSwitch(std::string_view name, bool ignoreCase = true);

}  // namespace tv

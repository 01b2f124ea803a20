#pragma once
// The command-line switch "adklog" that asks the kit to log when a company is opened.

#include <string>
#include <vector>

namespace tv {

// True when an argument is "adklog" after "/", "-" or "--", in any letter case.
bool HasAdkLogSwitch(const std::vector<std::string>& arguments);
// The arguments of the running process, the program name left out.
std::vector<std::string> ProcessArguments();

}  // namespace tv

#pragma once
// What the program prints when asked for help ("--help", "-h", "/?" or "-?"): the switches it
// takes and where this instance keeps its settings, scripts, log and work folders. Asked for from a
// terminal, without a display, so it needs no window and starts no logging.

#include <string>
#include <string_view>
#include <vector>

namespace tv {

inline constexpr std::string_view kHelpSwitches[] = {"--help", "-help", "-h", "/?", "-?", "/help"};

// True when one of the arguments asks for the usage text.
bool AsksForUsage(const std::vector<std::string>& args);

// The usage text, the folders resolved for the program's parameters (AppParams) and names as the
// run would resolve them; the instance is resolved here (an instance that is no folder name raises
// as the start does).
std::string UsageText();

// Writes the usage text to standard output and answers the exit status: 0, or 1 when the text
// could not be made (the reason goes to standard error).
int PrintUsage();

}  // namespace tv

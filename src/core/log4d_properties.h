#pragma once
// Reads the logging configuration "log4d.props" (keys beginning "log4d.", appender and layout class
// names as the configuration files name them) into the properties log4cplus configures itself
// from. Class names, options and the pattern layout's conversions are translated; a file name
// without a folder part is placed in the product folder; file appenders append unless told not to
// and create their folder. Keys and classes that have no counterpart are left out and reported.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tv {

struct TLog4dTranslation {
    std::vector<std::pair<std::string, std::string>> Properties;  // "log4cplus." keys, in file order
    std::vector<std::string> Warnings;                            // what was left out, and why
};

// `productFolder` gives the folder (with a trailing delimiter) for file names without a folder
// part; it is asked only when one is met.
TLog4dTranslation TranslateLog4dProperties(std::string_view text,
                                           const std::function<std::string()>& productFolder);

// A pattern layout's conversion pattern; "%d{...}" takes the run-time library's date tokens
// ("yyyy-mm-dd hh:nn:ss.zzz") and gives local time.
std::string TranslateLog4dPattern(std::string_view pattern);

}  // namespace tv

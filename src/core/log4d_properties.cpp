#include "core/log4d_properties.h"

#include <map>

#include "platform/rtl/ascii_case.h"

namespace tv {
namespace {

constexpr std::string_view kPrefix = "log4d.";
constexpr std::string_view kTargetPrefix = "log4cplus.";

struct ClassName {
    std::string_view log4d;
    std::string_view log4cplus;
};
constexpr ClassName kAppenderClasses[] = {
    {"TLogFileAppender", "log4cplus::FileAppender"},
    {"TLogRollingFileAppender", "log4cplus::RollingFileAppender"},
    {"TLogODSAppender", "log4cplus::ConsoleAppender"},
    {"TLogNullAppender", "log4cplus::NullAppender"},
};
constexpr ClassName kLayoutClasses[] = {
    {"TLogSimpleLayout", "log4cplus::SimpleLayout"},
    {"TLogPatternLayout", "log4cplus::PatternLayout"},
};
// Appender options: the configuration's name and log4cplus's.
constexpr ClassName kAppenderOptions[] = {
    {"fileName", "File"},
    {"append", "Append"},
    {"threshold", "Threshold"},
    {"maxFileSize", "MaxFileSize"},
    {"maxBackupIndex", "MaxBackupIndex"},
};

std::string_view Trim(std::string_view s) {
    size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string_view Lookup(const ClassName* begin, const ClassName* end, std::string_view name) {
    for (auto* c = begin; c != end; ++c)
        if (SameTextAscii(c->log4d, name)) return c->log4cplus;
    return {};
}

// "debug, Fil1" → "DEBUG, Fil1": levels are upper case in log4cplus.
std::string LoggerValue(std::string_view value) {
    size_t comma = value.find(',');
    std::string level(Trim(value.substr(0, comma)));
    std::string out = AsciiUpperText(level);
    if (comma != std::string_view::npos) out += std::string(value.substr(comma));
    return out;
}

// The run-time library's date tokens as strftime conversions, "%q" for milliseconds.
std::string TranslateDateFormat(std::string_view format) {
    std::string out;
    bool afterHour = false;
    size_t i = 0;
    auto run = [&](char c) {
        size_t n = 0;
        while (i + n < format.size() && (format[i + n] == c || format[i + n] == AsciiUpper(c))) ++n;
        return n;
    };
    while (i < format.size()) {
        char c = format[i];
        char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (c == '"' || c == '\'') {  // quoted text stands as it is
            size_t end = format.find(c, i + 1);
            std::string_view literal =
                format.substr(i + 1, end == std::string_view::npos ? end : end - i - 1);
            for (char l : literal) out += l == '%' ? std::string("%%") : std::string(1, l);
            i = end == std::string_view::npos ? format.size() : end + 1;
            continue;
        }
        size_t n = run(lower);
        switch (lower) {
            case 'y':
                out += n >= 3 ? "%Y" : "%y";
                break;
            case 'm':
                out += n >= 4 ? "%B" : n == 3 ? "%b" : afterHour ? "%M" : "%m";
                break;
            case 'd':
                out += n >= 4 ? "%A" : n == 3 ? "%a" : "%d";
                break;
            case 'h':
                out += "%H";
                break;
            case 'n':
                out += "%M";
                break;
            case 's':
                out += "%S";
                break;
            case 'z':
                out += "%q";
                break;
            default:
                out += c == '%' ? std::string("%%") : std::string(1, c);
                n = 1;
                break;
        }
        if (lower == 'h')
            afterHour = true;
        else if (lower != ':' && lower != ' ' && lower != '.')
            afterHour = false;
        i += n;
    }
    return out;
}

}  // namespace

std::string TranslateLog4dPattern(std::string_view pattern) {
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        // Flags and width ("%-5p") pass through to the conversion letter.
        size_t j = i + 1;
        while (j < pattern.size() &&
               (pattern[j] == '-' || pattern[j] == '.' || (pattern[j] >= '0' && pattern[j] <= '9')))
            ++j;
        std::string spec(pattern.substr(i, j - i));
        if (j == pattern.size()) {
            out += spec;
            break;
        }
        char letter = pattern[j];
        if (letter == 'd') {
            std::string date = "%Y-%m-%d %H:%M:%S";
            if (j + 1 < pattern.size() && pattern[j + 1] == '{') {
                size_t close = pattern.find('}', j + 2);
                if (close != std::string_view::npos) {
                    date = TranslateDateFormat(pattern.substr(j + 2, close - j - 2));
                    j = close;
                }
            }
            out += spec + "D{" + date + "}";  // %D: local time
        } else if (letter == 'e') {
            // The exception's text is part of the message already.
        } else {
            out += spec;
            out += letter;
        }
        i = j;
    }
    return out;
}

TLog4dTranslation TranslateLog4dProperties(std::string_view text,
                                           const std::function<std::string()>& productFolder) {
    TLog4dTranslation result;
    auto add = [&](std::string key, std::string value) {
        result.Properties.emplace_back(std::string(kTargetPrefix) + std::move(key), std::move(value));
    };
    std::map<std::string, bool> fileAppenders;  // appender name → "append" given
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        std::string_view line =
            Trim(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        pos = end == std::string_view::npos ? text.size() + 1 : end + 1;
        if (line.empty() || line.front() == '#' || line.front() == '!') continue;
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            result.Warnings.push_back("Line without \"=\" left out: " + std::string(line));
            continue;
        }
        std::string_view key = Trim(line.substr(0, equals));
        std::string value(Trim(line.substr(equals + 1)));
        if (!key.starts_with(kPrefix)) {
            result.Warnings.push_back("Key left out: " + std::string(key));
            continue;
        }
        std::string_view rest = key.substr(kPrefix.size());
        if (rest == "rootLogger" || rest.starts_with("logger.")) {
            add(std::string(rest), LoggerValue(value));
        } else if (rest.starts_with("additivity.")) {
            add(std::string(rest), value);
        } else if (rest == "debug" || rest == "loggerFactory") {
            // Settings of the library itself, with no effect on what is logged.
        } else if (rest.starts_with("appender.")) {
            std::string_view appender = rest.substr(9);
            size_t dot = appender.find('.');
            std::string name(appender.substr(0, dot));
            std::string_view option =
                dot == std::string_view::npos ? std::string_view() : appender.substr(dot + 1);
            std::string base = "appender." + name;
            if (option.empty()) {
                std::string_view cls =
                    Lookup(std::begin(kAppenderClasses), std::end(kAppenderClasses), value);
                if (cls.empty()) {
                    result.Warnings.push_back("Appender class left out: " + value);
                    continue;
                }
                add(base, std::string(cls));
                if (cls == "log4cplus::ConsoleAppender") add(base + ".logToStdErr", "true");
                if (cls.find("FileAppender") != std::string_view::npos) {
                    fileAppenders.try_emplace(name, false);
                    add(base + ".CreateDirs", "true");
                }
            } else if (option == "layout") {
                std::string_view cls = Lookup(std::begin(kLayoutClasses), std::end(kLayoutClasses), value);
                if (cls.empty()) {
                    result.Warnings.push_back("Layout class left out, the simple layout used: " + value);
                    cls = "log4cplus::SimpleLayout";
                }
                add(base + ".layout", std::string(cls));
            } else if (option == "layout.pattern" || option == "layout.conversionPattern") {
                add(base + ".layout.ConversionPattern", TranslateLog4dPattern(value));
            } else if (std::string_view target =
                           Lookup(std::begin(kAppenderOptions), std::end(kAppenderOptions), option);
                       !target.empty()) {
                if (target == "File" && value.find('/') == std::string::npos) value = productFolder() + value;
                if (target == "Threshold") value = AsciiUpperText(value);
                if (target == "Append") fileAppenders[name] = true;
                add(base + "." + std::string(target), value);
            } else {
                result.Warnings.push_back("Appender option left out: " + std::string(key));
            }
        } else {
            result.Warnings.push_back("Key left out: " + std::string(key));
        }
    }
    // A file appender continues its file unless the configuration says otherwise. Its lines, and the
    // rotation of a rolling file, are written under a lock file beside it: the processes of one
    // instance share the file, and one of them rotates it only once it is full, whichever of them
    // filled it.
    for (const auto& [name, appendGiven] : fileAppenders) {
        if (!appendGiven) add("appender." + name + ".Append", "true");
        add("appender." + name + ".UseLockFile", "true");
    }
    return result;
}

}  // namespace tv

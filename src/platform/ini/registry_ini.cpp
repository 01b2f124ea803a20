#include "platform/ini/registry_ini.h"

#include "platform/rtl/files.h"

namespace tv {
namespace {

TRegistryFolderProvider gProvider = nullptr;

constexpr std::string_view kBadKey = "Invalid registry key [%s]";

[[noreturn]] void BadKey(std::string_view key) {
    std::string text(kBadKey);
    text.replace(text.find("%s"), 2, key);
    throw EIniFileException(text);
}

}  // namespace

void SetRegistryFolderProvider(TRegistryFolderProvider provider) {
    gProvider = provider;
}

std::string RegistryFolder() {
    return IncludeTrailingPathDelimiter(gProvider ? gProvider() : ProgramFolder());
}

std::string RegistryKeyFileName(std::string_view key) {
    std::string path;
    size_t start = 0;
    while (start <= key.size()) {
        size_t end = key.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = key.size();
        const std::string_view part = key.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") BadKey(key);
        for (unsigned char c : part)
            if (c < 32 || c == 127) BadKey(key);
        if (!path.empty()) path += PathDelim;
        path += part;
        start = end + 1;
    }
    return RegistryFolder() + path + ".ini";
}

std::unique_ptr<TIniFile> OpenRegistryIniFile(std::string_view key) {
    return std::make_unique<TIniFile>(RegistryKeyFileName(key));
}

}  // namespace tv

#include "common/sample_plugin.h"

#include <dlfcn.h>
#include <fnmatch.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tv::samples {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSection = "[settings]";

// The module this code is linked into, without ".so": the call log and the settings file are named
// after it.
fs::path ModuleStem() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&ModuleStem), &info) || !info.dli_fname)
        throw std::runtime_error("Hittar inte pluginmodulens fil");
    return fs::path(info.dli_fname).replace_extension();
}

std::string Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t\r") - first + 1));
}

}  // namespace

TSampleCore::TSampleCore(std::string type, std::string title)
    : Type(std::move(type)), Title(std::move(title)) {}

void TSampleCore::Log(std::string_view call, std::initializer_list<std::string_view> args) {
    std::string line(call);
    for (std::string_view arg : args) (line += '\t') += arg;
    line += '\n';
    const fs::path path = fs::path(ModuleStem()) += ".calls.log";
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << line;
    out.flush();
    if (!out) throw std::runtime_error("Kan inte skriva anropsloggen " + path.string());
}

fs::path TSampleCore::SettingsFile() const {
    return fs::path(PrefsFolder) / (ModuleStem().filename() += ".ini");
}

void TSampleCore::SetPrefsFolder(std::string_view folder) {
    PrefsFolder = std::string(folder);
    ReloadSettings();
}

// The keys of the section "[settings]" (any case), "key=value" with blanks around both trimmed.
void TSampleCore::ReloadSettings() {
    settings_.clear();
    if (PrefsFolder.empty()) return;
    std::ifstream in(SettingsFile(), std::ios::binary);
    bool inSection = false;
    for (std::string line; std::getline(in, line);) {
        const std::string text = Trimmed(line);
        if (text.starts_with('[')) {
            inSection = text.size() == kSection.size() &&
                        std::equal(text.begin(), text.end(), kSection.begin(),
                                   [](char a, char b) { return std::tolower(a) == std::tolower(b); });
        } else if (const auto eq = text.find('='); inSection && eq != std::string::npos) {
            settings_.emplace(Trimmed(text.substr(0, eq)), Trimmed(text.substr(eq + 1)));
        }
    }
}

std::string TSampleCore::Setting(std::string_view key, std::string_view defaultValue) const {
    const auto it = settings_.find(key);
    return it != settings_.end() ? it->second : std::string(defaultValue);
}

void TSampleCore::SetSetting(std::string_view key, std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw std::runtime_error("En inställning får inte ha radbrytningar");
    settings_.insert_or_assign(std::string(key), std::string(value));
}

void TSampleCore::SaveSettings() {
    if (PrefsFolder.empty()) throw std::runtime_error("Ingen inställningsmapp angiven");
    std::string text = std::string(kSection) + "\r\n";
    for (const auto& [key, value] : settings_) text += key + "=" + value + "\r\n";
    std::ofstream out(SettingsFile(), std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) throw std::runtime_error("Kan inte skriva " + SettingsFile().string());
}

fs::path TSampleCore::InWorkFolder(std::string_view name) const {
    if (WorkFolder.empty()) throw std::runtime_error("Ingen arbetsmapp angiven");
    return fs::path(WorkFolder) / name;
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    return fnmatch(std::string(pattern).c_str(), std::string(name).c_str(), FNM_CASEFOLD) == 0;
}

void MoveFileOver(const fs::path& source, const fs::path& target) {
    std::error_code ec;
    fs::rename(source, target, ec);
    if (!ec) return;
    if (ec != std::errc::cross_device_link) throw fs::filesystem_error("Kan inte flytta", source, target, ec);
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    fs::remove(source);
}

}  // namespace tv::samples

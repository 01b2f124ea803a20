#include "platform/ini/ini_file.h"

#include <algorithm>

#include "platform/rtl/files.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/text_compare.h"
#include "platform/rtl/text_file.h"

namespace tv {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
    size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return AnsiSameText(Trim(a), Trim(b));
}

// The value part of a key line: trimmed, then one pair of matching enclosing quotes removed.
std::string ValueOf(const std::string& line) {
    std::string_view value = Trim(std::string_view(line).substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

void Refuse(std::string_view what, std::string_view text, std::string_view why) {
    throw EIniFileException(std::string(what) + " \"" + std::string(text) + "\" " + std::string(why));
}

void CheckSection(std::string_view section) {
    if (section.find_first_of("]\r\n", 0) != std::string_view::npos ||
        section.find('\0') != std::string_view::npos)
        Refuse("The INI section", section, "cannot hold \"]\" or a line break");
}

void CheckIdent(std::string_view ident) {
    std::string_view key = Trim(ident);
    if (key.empty() || key.front() == '[' || ident.find_first_of("=\r\n") != std::string_view::npos ||
        ident.find('\0') != std::string_view::npos)
        Refuse("The INI key", ident,
               "must be a name without \"=\" or a line break, not beginning with \"[\"");
}

void CheckValue(std::string_view ident, std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos || value.find('\0') != std::string_view::npos)
        Refuse("The value of the INI key", ident, "cannot hold a line break");
}

// The first line of the text holding a character Windows-1252 lacks, named by its key alone ("the
// value of KEY": the value may be a password, and this text gets logged) or quoted when it has no
// key; empty when Windows-1252 holds the whole text.
std::string FirstLineWindows1252Lacks(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        const char32_t c = NextUtf8(text, pos);
        if (c < 0x80 || UnicodeToCp1252(c) >= 0) continue;
        const size_t lineStart = text.rfind('\n', start) == std::string_view::npos ? 0 : text.rfind('\n', start) + 1;
        std::string_view line = text.substr(lineStart, text.find('\r', start) - lineStart);
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos && lineStart + equals < start)
            return "the value of " + std::string(Trim(line.substr(0, equals)));
        return "\"" + std::string(line) + "\"";
    }
    return {};
}

}  // namespace

TIniFile::Content TIniFile::Parse(std::string_view bytes) {
    Content content;
    std::string text = DecodeTextBytes(bytes, &content.Encoding);
    content.Sections.push_back({});  // the lines before the first header
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n' && (pos == end || text[pos - 1] == '\r')) ++pos;

        std::string_view trimmed = Trim(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.find(']') != std::string_view::npos) {
            Section section;
            section.Name = std::string(Trim(trimmed.substr(1, trimmed.find(']') - 1)));
            section.HasHeader = true;
            section.Header = std::move(line);
            content.Sections.push_back(std::move(section));
            continue;
        }
        Line entry;
        size_t equals = line.find('=');
        if (equals != std::string::npos) {
            entry.IsKey = true;
            entry.Key = std::string(Trim(std::string_view(line).substr(0, equals)));
        }
        entry.Text = std::move(line);
        content.Sections.back().Lines.push_back(std::move(entry));
    }
    return content;
}

std::string TIniFile::Serialize(const Content& content) {
    std::string text;
    for (const auto& section : content.Sections) {
        if (section.HasHeader) text += section.Header + "\r\n";
        for (const auto& line : section.Lines) text += line.Text + "\r\n";
    }
    return text;
}

const TIniFile::Section* TIniFile::FindSection(const Content& content, std::string_view name) {
    for (const auto& section : content.Sections)
        if (section.HasHeader && SameName(section.Name, name)) return &section;
    return nullptr;
}

const TIniFile::Line* TIniFile::FindKey(const Section& section, std::string_view ident) {
    for (const auto& line : section.Lines)
        if (line.IsKey && SameName(line.Key, ident)) return &line;
    return nullptr;
}

void TIniFile::Apply(Content& content, const Change& change) {
    auto& sections = content.Sections;
    if (change.Kind == ChangeKind::EraseSection) {
        std::erase_if(sections,
                      [&](const Section& s) { return s.HasHeader && SameName(s.Name, change.Section); });
        return;
    }
    auto* section = const_cast<Section*>(FindSection(content, change.Section));
    if (change.Kind == ChangeKind::DeleteKey) {
        if (!section) return;
        auto& lines = section->Lines;
        auto it = std::find_if(lines.begin(), lines.end(),
                               [&](const Line& l) { return l.IsKey && SameName(l.Key, change.Ident); });
        if (it != lines.end()) lines.erase(it);
        return;
    }
    if (!section) {
        Section added;
        added.Name = std::string(Trim(change.Section));
        added.HasHeader = true;
        added.Header = "[" + added.Name + "]";
        sections.push_back(std::move(added));
        section = &sections.back();
    }
    if (auto* line = const_cast<Line*>(FindKey(*section, change.Ident))) {
        line->Text = line->Key + "=" + change.Value;
        return;
    }
    // A new key goes after the section's last line that is not blank.
    auto& lines = section->Lines;
    auto at = lines.end();
    while (at != lines.begin() && Trim(std::prev(at)->Text).empty()) --at;
    Line added;
    added.IsKey = true;
    added.Key = std::string(Trim(change.Ident));
    added.Text = added.Key + "=" + change.Value;
    lines.insert(at, std::move(added));
}

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {
    if (FileExists(fileName_)) content_ = Parse(ReadFileBytes(fileName_));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident,
                                 std::string_view defaultValue) const {
    if (const Section* s = FindSection(content_, section))
        if (const Line* line = FindKey(*s, ident)) return ValueOf(line->Text);
    return std::string(defaultValue);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view ident, int32_t defaultValue) const {
    std::string text = ReadString(section, ident, "");
    return text.empty() ? defaultValue : StrToIntDef(text, defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value) {
    CheckSection(section);
    CheckIdent(ident);
    CheckValue(ident, value);
    Change change{ChangeKind::Write, std::string(section), std::string(ident), std::string(value)};
    Apply(content_, change);
    changes_.push_back(std::move(change));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, int32_t value) {
    WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

bool TIniFile::SectionExists(std::string_view section) const {
    return FindSection(content_, section);
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const {
    const Section* s = FindSection(content_, section);
    return s && FindKey(*s, ident);
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(content_, section))
        for (const auto& line : s->Lines)
            if (line.IsKey) keys.push_back(line.Key);
    return keys;
}

std::vector<std::string> TIniFile::ReadSections() const {
    std::vector<std::string> names;
    for (const auto& section : content_.Sections)
        if (section.HasHeader && FindSection(content_, section.Name) == &section)
            names.push_back(section.Name);
    return names;
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> values;
    if (const Section* s = FindSection(content_, section))
        for (const auto& line : s->Lines)
            if (line.IsKey) values.emplace_back(line.Key, ValueOf(line.Text));
    return values;
}

void TIniFile::EraseSection(std::string_view section) {
    Change change{ChangeKind::EraseSection, std::string(section), {}, {}};
    Apply(content_, change);
    changes_.push_back(std::move(change));
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident) {
    Change change{ChangeKind::DeleteKey, std::string(section), std::string(ident), {}};
    Apply(content_, change);
    changes_.push_back(std::move(change));
}

void TIniFile::UpdateFile() {
    if (changes_.empty()) return;
    Content fresh = FileExists(fileName_) ? Parse(ReadFileBytes(fileName_)) : Content{};
    for (const auto& change : changes_) Apply(fresh, change);
    std::string text = Serialize(fresh);
    TextEncoding encoding = fresh.Encoding;
    if (encoding == TextEncoding::Utf8) encoding = TextEncoding::Ansi;  // no mark: the "ANSI" file
    std::string cause;
    if (encoding == TextEncoding::Ansi) {
        cause = FirstLineWindows1252Lacks(text);
        if (!cause.empty()) encoding = TextEncoding::Utf8Bom;
    }
    WriteFileBytesReplacing(fileName_, EncodeTextBytes(text, encoding));
    fresh.Encoding = encoding;
    content_ = std::move(fresh);
    changes_.clear();
    utf8Cause_ = std::move(cause);
}

}  // namespace tv

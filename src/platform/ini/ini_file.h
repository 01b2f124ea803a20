#pragma once
// An INI file with the rules of Windows private-profile files: sections and keys compared without
// regard to case, values trimmed and one pair of enclosing quotes stripped on reading, every line
// we do not change kept as it stands. Written in Windows-1252 with CR LF (a file that came with a
// UTF-8 or UTF-16 byte-order mark keeps its form; a value Windows-1252 cannot hold makes the whole
// file UTF-8 with a byte-order mark, see Utf8Cause). Changes are held in memory until UpdateFile,
// which reads the file again, applies them in order, and replaces it whole, so a crash never
// leaves half a file and sections written by others in the meantime survive.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtl/codepage.h"
#include "platform/rtl/exception.h"

namespace tv {

TV_DECLARE_EXCEPTION(EIniFileException, Exception);

class TIniFile {
public:
    // Reads the file; a missing file reads as empty.
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    // The value of the key in the first section of that name, or the default when either is
    // missing. A key present with an empty value reads as empty.
    std::string ReadString(std::string_view section, std::string_view ident,
                           std::string_view defaultValue) const;
    // The value as a decimal or "$" / "0x" hex integer; the default when it is missing or not one.
    int32_t ReadInteger(std::string_view section, std::string_view ident, int32_t defaultValue) const;
    // Any integer but 0 is true.
    bool ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const;

    // Sets the key in place, or adds it at the end of its section, or adds the section at the end
    // of the file. Names and values that would break the file's lines raise EIniFileException.
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view ident, int32_t value);
    void WriteBool(std::string_view section, std::string_view ident, bool value);  // "1" or "0"

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view ident) const;
    // The key names of a section in file order.
    std::vector<std::string> ReadSection(std::string_view section) const;
    // The section names in file order, each once.
    std::vector<std::string> ReadSections() const;
    // The keys of a section with their values, read as ReadString reads them.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(std::string_view section) const;

    // Removes every section of that name with its lines; removes a key's line.
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view ident);

    // True while changes wait for UpdateFile.
    bool Modified() const { return !changes_.empty(); }
    // Writes the waiting changes. On failure the file is left as it was, the changes stay waiting
    // and the file error is raised.
    void UpdateFile();
    // When the last UpdateFile wrote a Windows-1252 file as UTF-8 with a byte-order mark because a
    // line held a character Windows-1252 lacks: what held it ("the value of KEY", never the value,
    // which may be a password). Empty otherwise.
    const std::string& Utf8Cause() const { return utf8Cause_; }

private:
    struct Line {
        std::string Text;  // as read, or as we wrote it
        std::string Key;   // the trimmed key of a "key=value" line
        bool IsKey = false;
    };
    struct Section {
        std::string Name;  // trimmed; the lines before the first header have none
        bool HasHeader = false;
        std::string Header;
        std::vector<Line> Lines;
    };
    struct Content {
        std::vector<Section> Sections;
        TextEncoding Encoding = TextEncoding::Ansi;
    };
    enum class ChangeKind { Write, EraseSection, DeleteKey };
    struct Change {
        ChangeKind Kind;
        std::string Section, Ident, Value;
    };

    static Content Parse(std::string_view bytes);
    static std::string Serialize(const Content& content);
    static void Apply(Content& content, const Change& change);
    static const Section* FindSection(const Content& content, std::string_view name);
    static const Line* FindKey(const Section& section, std::string_view ident);

    std::string fileName_;
    Content content_;
    std::vector<Change> changes_;
    std::string utf8Cause_;
};

}  // namespace tv

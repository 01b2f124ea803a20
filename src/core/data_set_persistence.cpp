#include "core/data_set_persistence.h"

#include <memory>
#include <vector>

#include "core/string_utils.h"
#include "platform/data/client_data_set.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/date_time.h"
#include "platform/rtl/files.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/text_compare.h"
#include "platform/rtl/text_file.h"

namespace tv {
namespace {

constexpr int kStringDataSetFieldSize = 255;

// ---------------------------------------------------------------- cells of a text table

// "\x" and two capital hex digits: the form of the separator and of line breaks inside a value.
std::string HexEscape(char c) {
    constexpr char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    return {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
}

// A memo's text escaped as the text-table form has it, with the separator as "\xHH". Every
// backslash of the text is doubled by EscapeCString, so "\x" never stands for itself.
std::string EncodeMemoCell(std::string_view text, char separator) {
    const std::string escaped = EscapeCString(text);
    if (escaped.find(separator) == std::string::npos) return escaped;
    const std::string code = HexEscape(separator);
    std::string cell;
    for (char c : escaped)
        if (c == separator)
            cell += code;
        else
            cell += c;
    return cell;
}

std::string DecodeMemoCell(std::string_view cell, char separator) {
    if (cell.find('\\') == std::string_view::npos) return std::string(cell);
    const std::string code = HexEscape(separator);
    std::string text;
    text.reserve(cell.size());
    for (size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] != '\\' || i + 1 == cell.size()) {
            text += cell[i];
        } else if (cell.compare(i, code.size(), code) == 0) {
            text += separator;
            i += code.size() - 1;
        } else {
            text += cell[i];  // an escape for UnescapeCString, kept whole
            text += cell[++i];
        }
    }
    return UnescapeCString(text);
}

// Other text values: the separator and line breaks as "\xHH", everything else as it stands (so
// that values written before, backslashes included, read the same).
bool NeedsCellEscape(char c, char separator) {
    return c == separator || c == '\r' || c == '\n';
}

std::string EncodeTextCell(std::string_view text, char separator) {
    std::string cell;
    cell.reserve(text.size());
    for (char c : text)
        if (NeedsCellEscape(c, separator))
            cell += HexEscape(c);
        else
            cell += c;
    return cell;
}

std::string DecodeTextCell(std::string_view cell, char separator) {
    if (cell.find("\\x") == std::string_view::npos) return std::string(cell);
    std::string text;
    text.reserve(cell.size());
    for (size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '\\' && i + 4 <= cell.size()) {
            const std::string_view code = cell.substr(i, 4);
            char found = 0;
            for (char c : {separator, '\r', '\n'})
                if (code == HexEscape(c)) found = c;
            if (found) {
                text += found;
                i += 3;
                continue;
            }
        }
        text += cell[i];
    }
    return text;
}

// The tokens of a line split at every separator; consecutive separators give empty tokens.
std::vector<std::string_view> SplitLine(std::string_view line, char separator) {
    std::vector<std::string_view> tokens;
    size_t pos = 0;
    for (;;) {
        const size_t end = line.find(separator, pos);
        if (end == std::string_view::npos) {
            tokens.push_back(line.substr(pos));
            return tokens;
        }
        tokens.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
}

// Collects the values that fields could not take, so that a load goes on and reports them at the
// end.
class ValueErrors {
public:
    void Add(const std::exception& e) {
        if (!text_.empty()) text_ += "; ";
        text_ += e.what();
    }
    void RaiseIfAny() const {
        if (!text_.empty()) throw EConvertError(text_);
    }

private:
    std::string text_;
};

void SetFieldFromCell(TField& field, std::string_view cell, char separator) {
    if (cell.empty()) return field.Clear();
    if (IsMemoType(field.DataType()))
        field.SetAsString(DecodeMemoCell(cell, separator));
    else if (IsStringType(field.DataType()))
        field.SetAsString(DecodeTextCell(cell, separator));
    else
        field.SetAsString(cell);
}

std::string CellOf(const TField& field, char separator) {
    if (field.IsNull()) return {};
    if (IsMemoType(field.DataType())) return EncodeMemoCell(field.AsString(), separator);
    return EncodeTextCell(field.DisplayText(), separator);
}

TClientDataSet& SpareStringDataSet() {
    static TClientDataSet spare;
    return spare;
}

bool IsClosedClientDataSet(const TDataSet& dataSet) {
    return !dataSet.Active() && dynamic_cast<const TClientDataSet*>(&dataSet) != nullptr;
}

// Writes the text as Windows-1252 when every character has a place there, else as UTF-8 with a
// byte-order mark, which the readers take as well; never a "?" in place of a character.
void WriteTextTable(std::string_view fileName, const std::string& text) {
    bool ansi = true;
    for (size_t pos = 0; ansi && pos < text.size();) ansi = UnicodeToCp1252(NextUtf8(text, pos)) >= 0;
    WriteFileBytesReplacing(fileName,
                            EncodeTextBytes(text, ansi ? TextEncoding::Ansi : TextEncoding::Utf8Bom));
}

// ---------------------------------------------------------------- INI values

// A reader of the INI file trims a value and takes one pair of enclosing quotes off it. A value
// that would lose something that way (blanks at an end, or enclosing quotes of its own) is
// written inside double quotes, so that it reads back exactly.
std::string ProtectIniValue(std::string text) {
    if (text.empty()) return text;
    const char first = text.front(), last = text.back();
    const bool blankEnd = first == ' ' || first == '\t' || last == ' ' || last == '\t';
    const bool quoted = text.size() >= 2 && (first == '"' || first == '\'') && last == first;
    return blankEnd || quoted ? '"' + text + '"' : text;
}

std::string IniValueOf(const TField& field) {
    if (field.IsNull()) return {};
    const TFieldType type = field.DataType();
    if (type == TFieldType::ftBoolean) return field.AsBoolean() ? "1" : "0";
    if (IsMemoType(type)) return ProtectIniValue(EscapeCString(field.AsString()));
    std::string text = field.AsString();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') text.erase(i + 1, 1);
        if (text[i] == '\r' || text[i] == '\n') text[i] = ' ';
    }
    return ProtectIniValue(std::move(text));
}

// Sets the field from a non-empty INI value by the field's type.
void SetFieldFromIni(TField& field, const std::string& value, ValueErrors& errors) {
    const TFieldType type = field.DataType();
    const TFormatSettings& settings = field.DataSet()->FormatSettings();
    try {
        if (type == TFieldType::ftBoolean || type == TFieldType::ftSmallint ||
            type == TFieldType::ftInteger || type == TFieldType::ftWord) {
            int32_t number = 0;
            if (!TryStrToInt(value, number))
                throw EConvertError("'" + value + "' is not a valid integer value for field '" +
                                    field.FieldName() + "'");
            if (type == TFieldType::ftBoolean)
                field.SetAsBoolean(number != 0);
            else
                field.SetAsInteger(number);
        } else if (type == TFieldType::ftFloat || type == TFieldType::ftCurrency) {
            double number = 0;
            if (TryStrToFloat(value, number, settings)) field.SetAsFloat(number);
        } else if (IsDateTimeType(type)) {
            TDateTime when = 0;
            const bool ok = type == TFieldType::ftDate   ? TryStrToDate(value, when, settings)
                            : type == TFieldType::ftTime ? TryStrToTime(value, when, settings)
                                                         : TryStrToDateTime(value, when, settings);
            if (ok) field.SetAsDateTime(when);
        } else if (IsMemoType(type)) {
            field.SetAsString(UnescapeCString(value));
        } else {
            field.SetAsString(value);
        }
    } catch (const Exception& e) {
        errors.Add(e);
    }
}

const std::string& KeyOf(const TField& field, bool displayLabels) {
    return displayLabels ? field.DisplayLabel() : field.FieldName();
}

}  // namespace

// ---------------------------------------------------------------- text tables

bool SaveDataSetToStrings(TDataSet& dataSet, TStrings& lines, char separator, bool header, bool displayLabels,
                          bool visibleOnly) {
    lines.BeginUpdate();
    try {
        lines.Clear();
        std::vector<TField*> fields;
        for (int i = 0; i < dataSet.FieldCount(); ++i)
            if (!visibleOnly || dataSet.Fields(i).Visible()) fields.push_back(&dataSet.Fields(i));
        std::string line;
        if (header) {
            for (size_t i = 0; i < fields.size(); ++i) {
                if (i) line += separator;
                line += displayLabels ? fields[i]->DisplayLabel() : fields[i]->FieldName();
            }
            lines.Add(line);
        }
        dataSet.First();
        while (!dataSet.Eof()) {
            line.clear();
            for (size_t i = 0; i < fields.size(); ++i) {
                if (i) line += separator;
                line += CellOf(*fields[i], separator);
            }
            lines.Add(line);
            dataSet.Next();
        }
    } catch (...) {
        lines.EndUpdate();
        throw;
    }
    lines.EndUpdate();
    return true;
}

bool SaveDataSetToText(TDataSet& dataSet, std::string_view fileName, char separator, bool header,
                       bool displayLabels, bool visibleOnly) {
    TStringList lines;
    SaveDataSetToStrings(dataSet, lines, separator, header, displayLabels, visibleOnly);
    WriteTextTable(fileName, lines.Text());
    return true;
}

TDataSet* CreateStringDataSet(TDataSet* dataSet, std::string_view firstLine, char separator) {
    if (firstLine.empty()) return dataSet;
    TDataSet& target = dataSet ? *dataSet : SpareStringDataSet();
    if (target.Active()) target.Close();
    target.ClearFields();
    target.FieldDefs().Clear();
    for (std::string_view title : SplitLine(firstLine, separator)) {
        const size_t first = title.find_first_not_of(' ');
        if (first == std::string_view::npos) break;
        title = title.substr(first, title.find_last_not_of(' ') - first + 1);
        target.FieldDefs().Add(std::string(title), TFieldType::ftString, kStringDataSetFieldSize);
    }
    if (auto* client = dynamic_cast<TClientDataSet*>(&target))
        client->CreateDataSet();
    else
        target.Open();
    return &target;
}

bool LoadDataSetFromStrings(TDataSet* dataSet, const TStrings& lines, char separator, bool header) {
    if (lines.Count() == 0) return false;
    const std::string first = lines.Strings(0);
    // The fields each column sets; an empty entry skips the column.
    std::vector<std::vector<TField*>> columns;
    if (!dataSet || IsClosedClientDataSet(*dataSet)) {
        dataSet = CreateStringDataSet(dataSet, first, separator);
        const auto titles = SplitLine(first, separator);
        for (int i = 0; i < dataSet->FieldCount(); ++i) {
            if (header) dataSet->Fields(i).SetDisplayLabel(std::string(titles[static_cast<size_t>(i)]));
            columns.push_back({&dataSet->Fields(i)});
        }
    } else if (header) {
        for (std::string_view title : SplitLine(first, separator)) {
            if (title.empty()) break;
            std::vector<TField*> matches;
            for (int i = 0; i < dataSet->FieldCount(); ++i) {
                TField& field = dataSet->Fields(i);
                if (AnsiSameText(field.FieldName(), title) || AnsiSameText(field.DisplayLabel(), title))
                    matches.push_back(&field);
            }
            columns.push_back(std::move(matches));
        }
    } else {
        for (int i = 0; i < dataSet->FieldCount(); ++i) columns.push_back({&dataSet->Fields(i)});
    }
    bool mapped = false;
    for (const auto& fields : columns) mapped = mapped || !fields.empty();

    ValueErrors errors;
    for (int n = header ? 1 : 0; n < lines.Count(); ++n) {
        const std::string line = lines.Strings(n);
        const auto cells = SplitLine(line, separator);
        dataSet->Append();
        for (size_t c = 0; c < columns.size(); ++c)
            for (TField* field : columns[c]) {
                try {
                    SetFieldFromCell(*field, c < cells.size() ? cells[c] : std::string_view(), separator);
                } catch (const Exception& e) {
                    errors.Add(e);
                }
            }
        if (!mapped) {
            dataSet->Cancel();
            continue;
        }
        try {
            dataSet->Post();
        } catch (...) {
            dataSet->Cancel();
            throw;
        }
    }
    dataSet->First();
    errors.RaiseIfAny();
    return true;
}

bool LoadDataSetFromText(TDataSet* dataSet, std::string_view fileName, char separator, bool header) {
    if (!FileExists(fileName)) return false;
    TStringList lines;
    lines.SetText(ReadTextFile(fileName));
    return LoadDataSetFromStrings(dataSet, lines, separator, header);
}

// ---------------------------------------------------------------- INI form

void SaveDataSetToIni(TDataSet& dataSet, TIniFile& ini, std::string_view section, bool displayLabels) {
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        const TField& field = dataSet.Fields(i);
        ini.WriteString(section, KeyOf(field, displayLabels), IniValueOf(field));
    }
}

bool SaveDataSetToIni(TDataSet& dataSet, std::string_view iniFileName, std::string_view section,
                      bool displayLabels) {
    TIniFile ini{std::string(iniFileName)};
    SaveDataSetToIni(dataSet, ini, section, displayLabels);
    ini.UpdateFile();
    return true;
}

void LoadDataSetFromIni(TDataSet& dataSet, const TIniFile& ini, std::string_view section,
                        bool displayLabels) {
    if (dataSet.IsEmpty())
        dataSet.Append();
    else
        dataSet.Edit();
    ValueErrors errors;
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        TField& field = dataSet.Fields(i);
        const std::string value = ini.ReadString(section, KeyOf(field, displayLabels), "");
        if (!value.empty()) SetFieldFromIni(field, value, errors);
    }
    if (dataSet.IsEditing()) dataSet.Post();
    errors.RaiseIfAny();
}

bool LoadDataSetFromIni(TDataSet& dataSet, std::string_view iniFileName, std::string_view section,
                        bool displayLabels) {
    const TIniFile ini{std::string(iniFileName)};
    LoadDataSetFromIni(dataSet, ini, section, displayLabels);
    return true;
}

}  // namespace tv

#include "core/settings_schema.h"

#include <algorithm>

#include "platform/rtl/codepage.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace settings_detail {
// The text of core/settings/settings.schema, compiled in by the build.
extern const std::string_view kSettingsSchemaText;
}  // namespace settings_detail

namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while ((pos = s.find_first_not_of(kBlanks, pos)) != std::string_view::npos) {
        const size_t end = std::min(s.find_first_of(kBlanks, pos), s.size());
        words.push_back(s.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text), pages_(schema_) {}

    TSettingsSchema Run() {
        size_t pos = 0;
        while (pos <= text_.size()) {
            size_t end = text_.find('\n', pos);
            if (end == std::string_view::npos) end = text_.size();
            ++lineNo_;
            Line(text_.substr(pos, end - pos));
            pos = end + 1;
        }
        Check();
        return std::move(schema_);
    }

private:
    [[noreturn]] void Fail(std::string_view why) const {
        throw ESettingsSchemaError("settings schema, line " + std::to_string(lineNo_) + ": " +
                                   std::string(why));
    }

    void Line(std::string_view raw) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == '#') return;
        const size_t indent = raw.find_first_not_of(" \t");
        if (indent > 0) {
            if (inPage_) return pages_.Line(line, static_cast<int>(indent), lineNo_);
            return Field(line);
        }
        inPage_ = false;
        const auto words = Words(line);
        if (words[0] == "load") {
            for (size_t i = 1; i < words.size(); ++i) schema_.LoadOrder.emplace_back(words[i]);
            return;
        }
        if (words[0] == "table") return Table(line);
        if (words[0] == "page") {
            inPage_ = true;
            return pages_.Begin(line, lineNo_);
        }
        Fail("expected \"table\", \"page\", \"load\" or an indented line");
    }

    // table <name> <storage> "<place>" [option ...]
    void Table(std::string_view line) {
        const size_t open = line.find('"');
        const size_t close = open == std::string_view::npos ? open : line.find('"', open + 1);
        if (close == std::string_view::npos) Fail("the section or file must be given in quotes");
        const auto head = Words(line.substr(0, open));
        if (head.size() != 3) Fail("expected: table <name> <storage> \"<section or file>\"");
        TSettingsTableDef table;
        table.Name = head[1];
        if (schema_.FindTable(table.Name)) Fail("the table " + table.Name + " is given twice");
        if (head[2] == "ini")
            table.Storage = TSettingsStorage::Ini;
        else if (head[2] == "text")
            table.Storage = TSettingsStorage::Text;
        else if (head[2] == "definitions")
            table.Storage = TSettingsStorage::Definitions;
        else
            Fail("unknown storage " + std::string(head[2]));
        table.Place = line.substr(open + 1, close - open - 1);
        if (table.Place.empty()) Fail("the section or file name is empty");
        for (std::string_view option : Words(line.substr(close + 1))) Option(table, option);
        schema_.Tables.push_back(std::move(table));
    }

    void Option(TSettingsTableDef& table, std::string_view option) {
        const size_t eq = option.find('=');
        const std::string_view key = option.substr(0, eq);
        const std::string_view value = eq == std::string_view::npos ? "" : option.substr(eq + 1);
        if (key == "header" && eq == std::string_view::npos) {
            table.Header = true;
        } else if (key == "unique" && !value.empty()) {
            table.UniqueField = value;
        } else if (key == "order" && !value.empty()) {
            table.OrderFields = value;
        } else if (key == "master" && value.find('.') != std::string_view::npos) {
            table.MasterTable = value.substr(0, value.find('.'));
            table.MasterField = value.substr(value.find('.') + 1);
        } else if (key == "owner" && value == "plugins") {
            table.OwnedByPlugins = true;
        } else if (key == "saved" && value == "no") {
            table.Saved = false;
        } else if (key == "onfailure") {
            if (value == "identities")
                table.OnFailure = TLoadFailureText::Identities;
            else if (value == "accountplan")
                table.OnFailure = TLoadFailureText::AccountPlan;
            else if (value == "lopnr")
                table.OnFailure = TLoadFailureText::Lopnr;
            else if (value == "nodetail")
                table.OnFailure = TLoadFailureText::NoDetail;
            else
                Fail("unknown onfailure text " + std::string(value));
        } else {
            Fail("unknown table option " + std::string(option));
        }
    }

    // <field> <type> [<size>] [= <default>]
    void Field(std::string_view line) {
        if (schema_.Tables.empty()) Fail("a field before the first table");
        TSettingsTableDef& table = schema_.Tables.back();
        const size_t eq = line.find('=');
        const auto words = Words(line.substr(0, eq));
        if (words.size() < 2) Fail("expected: <field> <type> [<size>] [= <default>]");
        TSettingsFieldDef field;
        field.Name = words[0];
        if (table.FindField(field.Name)) Fail("the field " + field.Name + " is given twice");
        const std::string_view type = words[1];
        size_t expected = 2;
        if (type == "string") {
            field.Type = TFieldType::ftString;
            int32_t size = 0;
            if (words.size() < 3 || !TryStrToInt(words[2], size) || size <= 0)
                Fail("a string field needs a size");
            field.Size = size;
            expected = 3;
        } else if (type == "memo") {
            field.Type = TFieldType::ftMemo;
        } else if (type == "integer") {
            field.Type = TFieldType::ftInteger;
        } else if (type == "largeint") {
            field.Type = TFieldType::ftLargeint;
        } else if (type == "boolean") {
            field.Type = TFieldType::ftBoolean;
        } else {
            Fail("unknown field type " + std::string(type));
        }
        if (words.size() != expected) Fail("unexpected words after the type of " + field.Name);
        if (eq != std::string_view::npos) field.Default = Default(field, Trim(line.substr(eq + 1)));
        table.Fields.push_back(std::move(field));
    }

    // The default as the field's text, checked against the field's type.
    std::string Default(const TSettingsFieldDef& field, std::string_view value) {
        if (value.empty()) Fail("no default after \"=\"");
        if (value.front() == '"') {
            std::string text;
            size_t i = 1;
            for (;; ++i) {
                if (i >= value.size()) Fail("the default of " + field.Name + " has no closing quote");
                if (value[i] != '"') {
                    text += value[i];
                } else if (i + 1 < value.size() && value[i + 1] == '"') {
                    text += '"';
                    ++i;
                } else {
                    break;
                }
            }
            if (i + 1 != value.size()) Fail("unexpected text after the default of " + field.Name);
            if (field.Type != TFieldType::ftString && field.Type != TFieldType::ftMemo)
                Fail("a quoted default for the non-text field " + field.Name);
            if (field.Type == TFieldType::ftString) {
                size_t chars = 0;
                for (size_t pos = 0; pos < text.size(); ++chars) NextUtf8(text, pos);
                if (chars > static_cast<size_t>(field.Size))
                    Fail("the default of " + field.Name + " is longer than its size");
            }
            return text;
        }
        switch (field.Type) {
            case TFieldType::ftBoolean:
                if (value == "true") return "True";
                if (value == "false") return "False";
                Fail("the default of the boolean " + field.Name + " must be true or false");
            case TFieldType::ftInteger: {
                int32_t number = 0;
                if (!TryStrToInt(value, number)) Fail("the default of " + field.Name + " is no integer");
                return IntToStr(number);
            }
            case TFieldType::ftLargeint: {
                int64_t number = 0;
                if (!TryStrToInt64(value, number)) Fail("the default of " + field.Name + " is no integer");
                return IntToStr(number);
            }
            default:
                Fail("the default of the text field " + field.Name + " must be quoted");
        }
    }

    // Every stored table is loaded once; names that tables refer to exist.
    void Check() {
        lineNo_ = 0;
        for (const auto& name : schema_.LoadOrder) {
            const TSettingsTableDef* table = schema_.FindTable(name);
            if (!table) Fail("the load list names the unknown table " + name);
            if (table->Storage == TSettingsStorage::Definitions)
                Fail("the load list names the field-definition table " + name);
            if (std::count(schema_.LoadOrder.begin(), schema_.LoadOrder.end(), name) != 1)
                Fail("the load list names " + name + " more than once");
        }
        for (const auto& table : schema_.Tables) {
            if (table.Fields.empty()) Fail("the table " + table.Name + " has no fields");
            if (table.Storage != TSettingsStorage::Definitions &&
                std::find(schema_.LoadOrder.begin(), schema_.LoadOrder.end(), table.Name) ==
                    schema_.LoadOrder.end())
                Fail("the load list lacks the table " + table.Name);
            if (!table.UniqueField.empty() && !table.FindField(table.UniqueField))
                Fail("the unique field of " + table.Name + " is not one of its fields");
            size_t pos = 0;
            while (pos < table.OrderFields.size()) {
                size_t end = std::min(table.OrderFields.find(';', pos), table.OrderFields.size());
                if (!table.FindField(std::string_view(table.OrderFields).substr(pos, end - pos)))
                    Fail("an order field of " + table.Name + " is not one of its fields");
                pos = end + 1;
            }
            if (!table.MasterTable.empty()) {
                const TSettingsTableDef* master = schema_.FindTable(table.MasterTable);
                if (!master || !master->FindField(table.MasterField))
                    Fail("the master of " + table.Name + " is not a table and field of the schema");
            }
        }
        CheckSettingsPages(schema_);
    }

    std::string_view text_;
    int lineNo_ = 0;
    TSettingsSchema schema_;
    TPageBlockReader pages_;
    bool inPage_ = false;  // indented lines belong to a page block, not a table
};

}  // namespace

bool TSettingsTableDef::HasDefaults() const {
    return std::any_of(Fields.begin(), Fields.end(), [](const auto& f) { return f.Default.has_value(); });
}

const TSettingsFieldDef* TSettingsTableDef::FindField(std::string_view name) const {
    for (const auto& field : Fields)
        if (AnsiSameText(field.Name, name)) return &field;
    return nullptr;
}

const TSettingsTableDef* TSettingsSchema::FindTable(std::string_view name) const {
    for (const auto& table : Tables)
        if (AnsiSameText(table.Name, name)) return &table;
    return nullptr;
}

const TSettingsTableDef& TSettingsSchema::Table(std::string_view name) const {
    if (const TSettingsTableDef* table = FindTable(name)) return *table;
    throw ESettingsSchemaError("The settings schema has no table " + std::string(name));
}

const TSettingsPageDef* TSettingsSchema::FindPage(std::string_view className) const {
    for (const auto& page : Pages)
        if (page.ClassName == className) return &page;
    return nullptr;
}

TSettingsSchema ParseSettingsSchema(std::string_view text) {
    return Parser(text).Run();
}

const TSettingsSchema& SettingsSchema() {
    static const TSettingsSchema schema = ParseSettingsSchema(settings_detail::kSettingsSchemaText);
    return schema;
}

}  // namespace tv

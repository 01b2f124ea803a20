#include "core/settings/settings_pages.h"

#include <algorithm>

#include "adk/adk_catalogue.h"
#include "core/settings_schema.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace {

struct Token {
    std::string Text;
    bool Quoted = false;
};

[[noreturn]] void Fail(int lineNo, std::string_view why) {
    throw ESettingsSchemaError("settings schema, line " + std::to_string(lineNo) + ": " + std::string(why));
}

// Splits a line into bare words, "=" signs and quoted texts ("" is a quote inside one).
std::vector<Token> Tokens(std::string_view line, int lineNo) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '=') {
            tokens.push_back({"=", false});
            ++i;
        } else if (c == '"') {
            Token token{"", true};
            for (++i;; ++i) {
                if (i >= line.size()) Fail(lineNo, "a text has no closing quote");
                if (line[i] != '"') {
                    token.Text += line[i];
                } else if (i + 1 < line.size() && line[i + 1] == '"') {
                    token.Text += '"';
                    ++i;
                } else {
                    break;
                }
            }
            ++i;
            tokens.push_back(std::move(token));
        } else {
            const size_t end = std::min(line.find_first_of(" \t\r=\"", i), line.size());
            tokens.push_back({std::string(line.substr(i, end - i)), false});
            i = end;
        }
    }
    return tokens;
}

// Reads the options that follow a page, group or control line's fixed words.
class Options {
public:
    Options(const std::vector<Token>& tokens, size_t first, int lineNo)
        : tokens_(tokens), pos_(first), lineNo_(lineNo) {}

    bool AtEnd() const { return pos_ >= tokens_.size(); }
    const Token& Peek() const { return tokens_[pos_]; }
    const Token& Next() {
        if (AtEnd()) Fail(lineNo_, "the line ends too early");
        return tokens_[pos_++];
    }
    std::string Word(std::string_view after) {
        const Token& t = Next();
        if (t.Quoted || t.Text == "=") Fail(lineNo_, "expected a word after " + std::string(after));
        return t.Text;
    }
    std::string Text(std::string_view after) {
        const Token& t = Next();
        if (!t.Quoted) Fail(lineNo_, "expected a text in quotes after " + std::string(after));
        return t.Text;
    }
    // A word or a quoted text.
    std::string Value(std::string_view after) {
        const Token& t = Next();
        if (!t.Quoted && t.Text == "=") Fail(lineNo_, "expected a value after " + std::string(after));
        return t.Text;
    }
    // Every "does" word up to the next option: "<id>" or "<id>:<argument>".
    void Behaviours(std::vector<TPageBehaviourDef>& into) {
        do {
            const std::string word = Word("does");
            const size_t colon = word.find(':');
            TPageBehaviourDef behaviour;
            behaviour.Id = word.substr(0, colon);
            if (colon != std::string::npos) behaviour.Argument = word.substr(colon + 1);
            if (behaviour.Id.empty()) Fail(lineNo_, "a behaviour without an id");
            into.push_back(std::move(behaviour));
        } while (!AtEnd() && !Peek().Quoted && !IsKeyword(Peek().Text));
    }

    static bool IsKeyword(std::string_view word) {
        static constexpr std::string_view kKeywords[] = {"name", "table", "does", "checked", "unchecked",
                                                         "under", "state"};
        return std::find(std::begin(kKeywords), std::end(kKeywords), word) != std::end(kKeywords) ||
               IsFlag(word);
    }
    static bool IsFlag(std::string_view word) {
        static constexpr std::string_view kFlags[] = {"hidden",     "password", "unsigned",
                                                      "scrollbars", "standard", "stretch",
                                                      "untitled"};
        return std::find(std::begin(kFlags), std::end(kFlags), word) != std::end(kFlags);
    }

private:
    const std::vector<Token>& tokens_;
    size_t pos_;
    int lineNo_;
};

bool HasFlag(const std::vector<std::string>& flags, std::string_view flag) {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

// The ordinal of the sort order of that name; -1 for none.
int SortOrderOrdinal(std::string_view name) {
    for (int i = 0; i < kAdkSortOrderCount; ++i)
        if (AdkSortOrderName(static_cast<TAdkSortOrder>(i)) == name) return i;
    return -1;
}

}  // namespace

bool TPageControlDef::Has(std::string_view flag) const {
    return HasFlag(Flags, flag);
}

bool TPageGroupDef::Has(std::string_view flag) const {
    return HasFlag(Flags, flag);
}

void TPageBlockReader::Begin(std::string_view line, int lineNo) {
    const auto tokens = Tokens(line, lineNo);
    Options options(tokens, 1, lineNo);
    TSettingsPageDef page;
    page.Line = lineNo;
    page.ClassName = options.Word("page");
    for (const auto& other : schema_.Pages)
        if (other.ClassName == page.ClassName) Fail(lineNo, "the page " + page.ClassName + " is given twice");
    page.Caption = options.Text("the page's class");
    bool haveState = false;
    while (!options.AtEnd()) {
        const std::string key = options.Word("the page's caption");
        if (key == "under") {
            page.Parent = options.Text("under");
        } else if (key == "state") {
            if (!TryStrToInt(options.Word("state"), page.State)) Fail(lineNo, "the state must be a number");
            haveState = true;
        } else if (key == "table") {
            page.Table = options.Word("table");
        } else {
            Fail(lineNo, "unknown page option " + key);
        }
    }
    if (!haveState) Fail(lineNo, "a page needs its state number");
    schema_.Pages.push_back(std::move(page));
    groupIndent_ = -1;
    controlIndent_ = -1;
    control_ = nullptr;
}

void TPageBlockReader::Line(std::string_view line, int indent, int lineNo) {
    TSettingsPageDef& page = schema_.Pages.back();
    if (control_ && indent > controlIndent_) return Choices(line, lineNo);
    if (groupIndent_ >= 0 && indent > groupIndent_) {
        TPageControlDef& control = Control(line, lineNo, page.Groups.back());
        control_ = &control;
        controlIndent_ = indent;
        return;
    }
    // A line of the page itself.
    groupIndent_ = -1;
    control_ = nullptr;
    const auto tokens = Tokens(line, lineNo);
    const std::string& head = tokens.front().Text;
    Options options(tokens, 1, lineNo);
    if (tokens.front().Quoted) Fail(lineNo, "expected a page line, not a text");
    if (head == "header") {
        page.Header = options.Text("header");
        if (!options.AtEnd()) Fail(lineNo, "unexpected words after the header");
    } else if (head == "tab") {
        // Every group after a tab line stands on that tab; a page with tabs has them from its start.
        if (!page.Groups.empty() && page.Tabs.empty()) Fail(lineNo, "a page's tabs come before its groups");
        TPageTabDef tab;
        tab.Line = lineNo;
        tab.Caption = options.Text("tab");
        if (!options.AtEnd()) {
            if (options.Word("the tab's caption") != "header") Fail(lineNo, "expected header after a tab");
            tab.Header = options.Text("header");
        }
        if (!options.AtEnd()) Fail(lineNo, "unexpected words after the tab");
        page.Tabs.push_back(std::move(tab));
    } else if (head == "omits") {
        while (!options.AtEnd()) page.Omits.push_back(options.Word("omits"));
        if (page.Omits.empty()) Fail(lineNo, "omits names no field");
    } else if (head == "group") {
        TPageGroupDef group;
        group.Line = lineNo;
        group.Table = page.Table;
        group.Tab = static_cast<int>(page.Tabs.size()) - 1;
        if (!options.AtEnd() && options.Peek().Quoted) {
            group.Caption = options.Text("group");
            group.Framed = true;
        }
        while (!options.AtEnd()) {
            const std::string key = options.Word("the group");
            if (key == "name")
                group.Name = options.Word("name");
            else if (key == "table")
                group.Table = options.Word("table");
            else if (key == "does")
                options.Behaviours(group.Behaviours);
            else if (key == "hidden" || key == "wide")
                group.Flags.push_back(key);
            else
                Fail(lineNo, "unknown group option " + key);
        }
        page.Groups.push_back(std::move(group));
        groupIndent_ = indent;
    } else {
        TPageGroupDef area;
        area.Line = lineNo;
        area.Table = page.Table;
        area.Tab = static_cast<int>(page.Tabs.size()) - 1;
        page.Groups.push_back(std::move(area));
        control_ = &Control(line, lineNo, page.Groups.back());
        controlIndent_ = indent;
    }
}

// <kind> [<field>] ["<caption>"] [name <name>] [checked <text> unchecked <text>] [flags] [does ...]
TPageControlDef& TPageBlockReader::Control(std::string_view line, int lineNo, TPageGroupDef& group) {
    const auto tokens = Tokens(line, lineNo);
    if (tokens.front().Quoted || tokens.front().Text == "=") Fail(lineNo, "expected a control kind");
    TPageControlDef control;
    control.Line = lineNo;
    control.Kind = tokens.front().Text;
    control.Table = group.Table;
    Options options(tokens, 1, lineNo);
    if (!options.AtEnd() && !options.Peek().Quoted && !Options::IsKeyword(options.Peek().Text))
        control.Field = options.Word(control.Kind);
    if (!options.AtEnd() && options.Peek().Quoted) control.Caption = options.Text(control.Kind);
    while (!options.AtEnd()) {
        const std::string key = options.Word("the control");
        if (key == "name")
            control.Name = options.Word("name");
        else if (key == "checked")
            control.Checked = options.Value("checked");
        else if (key == "unchecked")
            control.Unchecked = options.Value("unchecked");
        else if (key == "does")
            options.Behaviours(control.Behaviours);
        else if (Options::IsFlag(key))
            control.Flags.push_back(key);
        else
            Fail(lineNo, "unknown control option " + key);
    }
    group.Controls.push_back(std::move(control));
    return group.Controls.back();
}

// Choices: "<item>" [= <value>] ..., or the names of sort orders for a sort-order list. A choice
// without a value stores its position.
void TPageBlockReader::Choices(std::string_view line, int lineNo) {
    const auto tokens = Tokens(line, lineNo);
    TPageControlDef& control = *control_;
    const bool sortOrders = control.Kind == "sortorder";
    for (size_t i = 0; i < tokens.size(); ++i) {
        TPageChoiceDef choice;
        if (sortOrders) {
            if (tokens[i].Quoted || tokens[i].Text == "=") Fail(lineNo, "expected the name of a sort order");
            const int ordinal = SortOrderOrdinal(tokens[i].Text);
            if (ordinal < 0) Fail(lineNo, "no sort order is named " + tokens[i].Text);
            // The import reads the low 8 bits: the lists write ordinals above 127 as signed bytes.
            const int stored = control.Has("unsigned") || ordinal < 128 ? ordinal : ordinal - 256;
            control.Choices.push_back({tokens[i].Text, IntToStr(stored)});
            continue;
        }
        if (!tokens[i].Quoted) Fail(lineNo, "expected a choice in quotes");
        choice.Item = tokens[i].Text;
        choice.Value = IntToStr(static_cast<int>(control.Choices.size()));
        if (i + 1 < tokens.size() && !tokens[i + 1].Quoted && tokens[i + 1].Text == "=") {
            if (i + 2 >= tokens.size() || (!tokens[i + 2].Quoted && tokens[i + 2].Text == "="))
                Fail(lineNo, "expected a value after \"=\"");
            choice.Value = tokens[i + 2].Text;
            i += 2;
        }
        control.Choices.push_back(std::move(choice));
    }
}

bool TextFitsField(const TSettingsTableDef& table, std::string_view fieldName, std::string_view text) {
    const TSettingsFieldDef* field = table.FindField(fieldName);
    if (!field) return false;
    switch (field->Type) {
        case TFieldType::ftInteger: {
            int32_t number = 0;
            return TryStrToInt(text, number);
        }
        case TFieldType::ftLargeint: {
            int64_t number = 0;
            return TryStrToInt64(text, number);
        }
        case TFieldType::ftBoolean:
            // The field reads any beginning of "True" or "False", letter case ignored.
            return !text.empty() && (AnsiSameText(text, std::string_view("True").substr(0, text.size())) ||
                                     AnsiSameText(text, std::string_view("False").substr(0, text.size())));
        case TFieldType::ftString: {
            size_t chars = 0;
            for (size_t pos = 0; pos < text.size(); ++chars) NextUtf8(text, pos);
            return chars <= static_cast<size_t>(field->Size);
        }
        default:
            return true;
    }
}

TPageColumnDef GridColumn(const TPageChoiceDef& choice) {
    TPageColumnDef column{choice.Item, choice.Value, 0};
    const size_t colon = choice.Value.find(':');
    if (colon == std::string::npos) return column;
    column.Field = choice.Value.substr(0, colon);
    if (!TryStrToInt(std::string_view(choice.Value).substr(colon + 1), column.Width) || column.Width <= 0)
        column.Width = -1;
    return column;
}

namespace {

// A grid's columns name fields of its table, each width a positive number.
void CheckGridColumns(const TPageControlDef& control, const TSettingsTableDef* table) {
    if (!table) Fail(control.Line, "the grid has no table");
    if (control.Choices.empty()) Fail(control.Line, "the grid has no columns");
    for (const auto& choice : control.Choices) {
        const TPageColumnDef column = GridColumn(choice);
        if (!table->FindField(column.Field))
            Fail(control.Line, "the table " + table->Name + " has no field " + column.Field);
        if (column.Width < 0) Fail(control.Line, "the column " + column.Field + " has no valid width");
    }
}

}  // namespace

void CheckSettingsPages(const TSettingsSchema& schema) {
    auto tableOf = [&](const std::string& name, int lineNo) -> const TSettingsTableDef* {
        if (name.empty()) return nullptr;
        const TSettingsTableDef* table = schema.FindTable(name);
        if (!table) Fail(lineNo, "no table is named " + name);
        return table;
    };
    for (const auto& page : schema.Pages) {
        const TSettingsTableDef* pageTable = tableOf(page.Table, page.Line);
        for (const auto& field : page.Omits)
            if (!pageTable || !pageTable->FindField(field))
                Fail(page.Line, "the page omits " + field + ", which its table lacks");
        for (const auto& group : page.Groups) {
            tableOf(group.Table, group.Line);
            for (const auto& control : group.Controls) {
                const TSettingsTableDef* table = tableOf(control.Table, control.Line);
                if (control.Kind == "grid") CheckGridColumns(control, table);
                if (control.Field.empty()) continue;
                if (!table) Fail(control.Line, "the field " + control.Field + " has no table");
                if (!table->FindField(control.Field))
                    Fail(control.Line, "the table " + table->Name + " has no field " + control.Field);
                auto check = [&](const std::string& text, std::string_view what) {
                    if (!TextFitsField(*table, control.Field, text))
                        Fail(control.Line, std::string(what) + " \"" + text +
                                               "\" does not convert to the field " + control.Field);
                };
                if (control.Kind == "check") {
                    check(control.Checked, "the checked text");
                    check(control.Unchecked, "the unchecked text");
                }
                for (const auto& choice : control.Choices) check(choice.Value, "the value");
            }
        }
    }
}

}  // namespace tv

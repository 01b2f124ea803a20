#pragma once
// The page blocks of the settings schema: what each generated settings page shows (its place in the
// settings window's tree, its table, header, groups and controls). The settings store ignores
// them; the settings window builds one page per block. Field types and sizes are not written here:
// they are the table's.

#include <string>
#include <string_view>
#include <vector>

namespace tv {

struct TSettingsSchema;
struct TSettingsTableDef;

// A choice of a radio group, pick list or plain combo: the text shown and the value stored.
struct TPageChoiceDef {
    std::string Item;
    std::string Value;
};

// A behaviour named by id ("rule-choice"), with the one word after a colon it may take
// ("copy-text:Examples").
struct TPageBehaviourDef {
    std::string Id;
    std::string Argument;
};

struct TPageControlDef {
    std::string Kind;   // "edit", "memo", "check", "radio", "pick", "sortorder", "lookup" ...
    std::string Field;  // the field shown or written; empty for a control bound to none
    std::string Table;  // the field's table: the group's, else the page's
    std::string Caption;
    std::string Name;              // for behaviours that refer to the control
    std::string Checked = "True";  // the texts a check box stores
    std::string Unchecked = "False";
    std::vector<TPageChoiceDef> Choices;
    // "hidden", "password", "unsigned"; a memo's "scrollbars"; a grid's "standard" (the standard
    // visual style) and "stretch" (columns stretched to the width, a vertical bar shown as needed)
    std::vector<std::string> Flags;
    std::vector<TPageBehaviourDef> Behaviours;
    int Line = 0;  // where the control stands in the schema text

    bool Has(std::string_view flag) const;
};

// A group of controls: with a caption a framed group, without one a plain area. A control that
// stands on the page by itself is an area of its own holding only that control.
struct TPageGroupDef {
    std::string Caption;
    std::string Name;
    std::string Table;  // the group's table: its own, else the page's
    bool Framed = false;
    int Tab = -1;  // the page's tab that holds the group; -1 on a page without tabs
    std::vector<std::string> Flags;  // "hidden"; "wide": across both columns of the page
    std::vector<TPageBehaviourDef> Behaviours;
    std::vector<TPageControlDef> Controls;
    int Line = 0;

    bool Has(std::string_view flag) const;
};

// A tab of a page that shows its groups on tabs: the tab's caption and the bold header above its
// groups.
struct TPageTabDef {
    std::string Caption;
    std::string Header;
    int Line = 0;
};

struct TSettingsPageDef {
    std::string ClassName;  // the page's class as the settings window's page table names it
    std::string Caption;    // its node text in the tree
    std::string Parent;     // the caption of the node it hangs under; empty: the top level
    int State = 0;
    std::string Table;  // empty for a page that binds no table
    std::string Header;
    std::vector<TPageGroupDef> Groups;  // in the order the page shows them
    std::vector<TPageTabDef> Tabs;      // empty: the groups stand on the page itself
    std::vector<std::string> Omits;     // fields of the table no control shows, on purpose
    int Line = 0;
};

// A column of a grid: a choice "<title>" = <field>[:<width>]; an empty title keeps the field's
// display name, a width of 0 the grid's default.
struct TPageColumnDef {
    std::string Title;
    std::string Field;
    int Width = 0;  // -1 when the choice's width is not a positive number
};
TPageColumnDef GridColumn(const TPageChoiceDef& choice);

// Reads the indented lines of a page block, one at a time, into the schema's last page. Raises
// ESettingsSchemaError naming the line for text that breaks the rules.
class TPageBlockReader {
public:
    explicit TPageBlockReader(TSettingsSchema& schema) : schema_(schema) {}

    // "page <class> "<caption>" [under "<parent>"] state <n> [table <table>]"
    void Begin(std::string_view line, int lineNo);
    // An indented line of the current page; `indent` counts its leading blanks.
    void Line(std::string_view line, int indent, int lineNo);

private:
    void Choices(std::string_view line, int lineNo);
    TPageControlDef& Control(std::string_view line, int lineNo, TPageGroupDef& group);

    TSettingsSchema& schema_;
    int groupIndent_ = -1;    // the indent of the current group line; -1 outside a group
    int controlIndent_ = -1;  // the indent of the last control line; -1 when choices cannot follow
    TPageControlDef* control_ = nullptr;
};

// Checks every page of the schema against its tables: the tables and fields exist, and every
// check text and choice value converts to its field's type. Raises naming the line.
void CheckSettingsPages(const TSettingsSchema& schema);

// Whether `text` converts to a field of the table's field `field`'s type (and fits its size).
bool TextFitsField(const TSettingsTableDef& table, std::string_view field, std::string_view text);

}  // namespace tv

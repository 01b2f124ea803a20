#pragma once
// The settings page built from a page block of the settings schema: a bold header, then the
// block's groups and controls laid out in two columns, every control bound through a data source
// of the page to its table of the central data module. The kinds of control (page_controls.h) and
// the behaviours named by id (page_behaviours.h) are tables of their own; a page has no class of
// its own and no save logic: the settings window's caller saves or cancels.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings_schema.h"
#include "platform/data/data_source.h"
#include "platform/gui/form.h"
#include "ui/settings_page_table.h"

namespace tv {

class TMainDM;
class TLabel;
class TPageControl;

class TSettingsPage : public TForm {
    TV_CLASS(TSettingsPage, TForm)
public:
    // Builds the page of `def` over the tables of `dm`; behaviours run as their controls are made.
    TSettingsPage(TComponent* owner, const TSettingsPageDef& def, TMainDM& dm);
    ~TSettingsPage() override;

    const TSettingsPageDef& Def() const { return def_; }
    TMainDM& DM() const { return dm_; }
    TLabel* Header() const { return header_; }
    // The tabs of a page whose block gives them ("PC_Normal"); nil for a page without tabs.
    TPageControl* Tabs() const { return tabs_; }

    // The page's data source on the table (made on first use; "DataSource1" for the page's own).
    TDataSource& SourceFor(std::string_view table);
    // The control given that name in the block; nil for none.
    TControl* FindControl(std::string_view name) const;
    // The controls bound to the field (of any table), in the block's order.
    std::vector<TControl*> ControlsFor(std::string_view field) const;
    // The framed group or plain area named so in the block; nil for none.
    TWinControl* FindGroup(std::string_view name) const;

    // For the control kinds: records a control made for `def`.
    void AddControl(const TPageControlDef& def, TControl* control);
    // For behaviours: `built` runs once every group and control of the page is made, in the order
    // asked, so that a behaviour may reach groups and controls that come after its own.
    void AfterBuild(std::function<void()> built) { afterBuild_.push_back(std::move(built)); }
    // Lays the groups out again, leaving out those hidden now: behaviours that show or hide a
    // group call it.
    void Relayout();
    // For behaviours: `done` runs when the page is freed, before its components go.
    void AtDestroy(std::function<void()> done) { atDestroy_.push_back(std::move(done)); }
    // For behaviours: the object of class T the page keeps under `key` for the behaviours that share
    // it, made on first use and freed with the page.
    template <class T>
    T& Kept(const std::string& key) {
        std::shared_ptr<void>& kept = kept_[key];
        if (!kept) kept = std::make_shared<T>();
        return *static_cast<T*>(kept.get());
    }
    // For behaviours: `confirm` runs when the settings window's OK has taken the pending edits into
    // their tables, before the window closes; it raises to keep the window open.
    void AtConfirm(std::function<void()> confirm) { atConfirm_.push_back(std::move(confirm)); }
    // Runs what the behaviours asked to run on OK.
    void Confirm() const {
        for (const auto& confirm : atConfirm_) confirm();
    }

private:
    void Build();
    TLabel* HeaderLabel(TWinControl* parent, const std::string& text);
    void BuildArea(TWinControl* parent, int tab);
    TWinControl* BuildGroup(const TPageGroupDef& group, TWinControl* parent, int width);
    void Lay(const std::vector<TWinControl*>& areas, int top);
    int LayColumns(const std::vector<TWinControl*>& areas, int top);

    // A group's area on a tab (-1: on the page itself), as the block gives them.
    struct Area {
        TWinControl* Control;
        int Tab;
        bool Wide;
    };

    const TSettingsPageDef& def_;
    TMainDM& dm_;
    TLabel* header_ = nullptr;
    TPageControl* tabs_ = nullptr;
    std::map<std::string, TDataSource*, std::less<>> sources_;
    std::vector<std::pair<const TPageControlDef*, TControl*>> controls_;
    std::map<std::string, TWinControl*, std::less<>> groups_;
    std::vector<Area> areas_;
    std::vector<std::function<void()>> afterBuild_;
    std::vector<std::function<void()>> atDestroy_;
    std::vector<std::function<void()>> atConfirm_;
    std::map<std::string, std::shared_ptr<void>, std::less<>> kept_;
};

// The page of the schema block of the row's class, owned by `owner`; raises when the schema has none.
TForm* GeneratedSettingsPage(const TSettingsPageRow& row, TComponent* owner, TMainDM& dm);

}  // namespace tv

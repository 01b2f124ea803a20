#include "ui/settings_page.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "core/main_dm.h"
#include "platform/gui/group_box.h"
#include "platform/gui/label.h"
#include "platform/gui/page_control.h"
#include "platform/gui/panel.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/text_compare.h"
#include "ui/page_behaviours.h"
#include "ui/page_controls.h"

namespace tv {

namespace {

constexpr int kMargin = 8;
constexpr int kHeaderTop = 8;
constexpr int kItemsTop = 34;
constexpr int kColumnWidth = 280;
constexpr int kGap = 6;
constexpr int kWideWidth = 2 * kColumnWidth + kMargin;
// Inside a framed group: the caption above, the frame around.
constexpr int kFrameTop = 24;
constexpr int kFrameInset = 10;
constexpr int kFrameBottom = 8;

[[noreturn]] void BlockError(int line, const std::string& why) {
    throw ESettingsSchemaError("settings schema, line " + std::to_string(line) + ": " + why);
}

void Apply(TSettingsPage& page, TControl& target, const TPageControlDef* control,
           const std::vector<TPageBehaviourDef>& behaviours, int line) {
    for (const auto& behaviour : behaviours) {
        const TPageBehaviour* row = FindPageBehaviour(behaviour.Id);
        if (!row) BlockError(line, "no page behaviour is called " + behaviour.Id);
        row->Apply(page, target, control, behaviour);
    }
}

}  // namespace

const TClassInfo& TSettingsPage::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSettingsPage>("TSettingsPage").Build();
    return info;
}

TSettingsPage::TSettingsPage(TComponent* owner, const TSettingsPageDef& def, TMainDM& dm)
    : TForm(owner), def_(def), dm_(dm) {
    SetCaption(def.Caption);
    SetBorderStyle(bsNone);
    SetAutoScroll(true);
    Build();
    for (auto& built : afterBuild_) built();
    afterBuild_.clear();
}

TSettingsPage::~TSettingsPage() {
    for (auto& done : atDestroy_) done();
}

TDataSource& TSettingsPage::SourceFor(std::string_view table) {
    if (auto it = sources_.find(table); it != sources_.end()) return *it->second;
    TClientDataSet& dataSet = dm_.Table(table);
    auto* source = new TDataSource(this);
    source->SetName(table == def_.Table ? "DataSource1" : "DS" + std::string(table));
    source->SetDataSet(&dataSet);
    sources_.emplace(std::string(table), source);
    return *source;
}

TControl* TSettingsPage::FindControl(std::string_view name) const {
    for (const auto& [def, control] : controls_)
        if (!def->Name.empty() && def->Name == name) return control;
    return nullptr;
}

std::vector<TControl*> TSettingsPage::ControlsFor(std::string_view field) const {
    std::vector<TControl*> found;
    for (const auto& [def, control] : controls_)
        if (!def->Field.empty() && AnsiSameText(def->Field, field)) found.push_back(control);
    return found;
}

TWinControl* TSettingsPage::FindGroup(std::string_view name) const {
    auto it = groups_.find(name);
    return it == groups_.end() ? nullptr : it->second;
}

void TSettingsPage::AddControl(const TPageControlDef& def, TControl* control) {
    controls_.emplace_back(&def, control);
}

void TSettingsPage::Build() {
    // The data sources come first, so that they outlast every control bound through them.
    if (!def_.Table.empty()) SourceFor(def_.Table);
    for (const auto& group : def_.Groups)
        for (const auto& control : group.Controls)
            if (!control.Field.empty() && !control.Table.empty()) SourceFor(control.Table);

    header_ = HeaderLabel(this, def_.Header);
    if (def_.Tabs.empty()) return BuildArea(this, -1);

    // The tabs fill the page; each holds its header and its groups.
    tabs_ = new TPageControl(this);
    tabs_->SetName("PC_Normal");
    tabs_->SetParent(this);
    tabs_->SetAlign(alClient);
    for (size_t i = 0; i < def_.Tabs.size(); ++i) {
        auto* sheet = new TTabSheet(this);
        sheet->SetPageControl(tabs_);
        sheet->SetCaption(def_.Tabs[i].Caption);
        HeaderLabel(sheet, def_.Tabs[i].Header);
        BuildArea(sheet, static_cast<int>(i));
    }
    tabs_->SetActivePageIndex(0);
}

TLabel* TSettingsPage::HeaderLabel(TWinControl* parent, const std::string& text) {
    auto* label = new TLabel(this);
    label->SetParent(parent);
    label->SetBounds(kMargin, kHeaderTop, 2 * kColumnWidth + kMargin, 17);
    label->Font()->SetStyle(TFontStyles{fsBold});
    label->SetCaption(text);
    return label;
}

// The groups of the tab (-1: of the page without tabs), laid out in `parent`.
void TSettingsPage::BuildArea(TWinControl* parent, int tab) {
    std::vector<TWinControl*> shown;
    for (const auto& group : def_.Groups) {
        if (group.Tab != tab) continue;
        const bool wide = group.Has("wide");
        TWinControl* area = BuildGroup(group, parent, wide ? kWideWidth : kColumnWidth);
        if (group.Has("hidden")) {
            area->Hide();
            continue;
        }
        areas_.push_back({area, tab, wide});
        shown.push_back(area);
    }
    Lay(shown, kItemsTop);
}

void TSettingsPage::Relayout() {
    const int tabs = std::max<int>(1, static_cast<int>(def_.Tabs.size()));
    for (int i = 0; i < tabs; ++i) {
        const int tab = def_.Tabs.empty() ? -1 : i;
        std::vector<TWinControl*> shown;
        for (const Area& area : areas_)
            if (area.Tab == tab && area.Control->Visible()) shown.push_back(area.Control);
        Lay(shown, kItemsTop);
    }
}

TWinControl* TSettingsPage::BuildGroup(const TPageGroupDef& group, TWinControl* parent, int width) {
    TWinControl* area;
    if (group.Framed) {
        area = new TGroupBox(this);
        area->SetCaption(group.Caption);
    } else {
        auto* panel = new TPanel(this);
        panel->SetBevelOuter(bvNone);
        area = panel;
    }
    area->SetParent(parent);
    area->SetBounds(0, 0, width, 1000);
    if (!group.Name.empty()) groups_.emplace(group.Name, area);

    const int inset = group.Framed ? kFrameInset : 0;
    int y = group.Framed ? kFrameTop : 0;
    std::optional<int> rowEnd;  // the right edge of the row of buttons being filled
    int rowTop = 0;
    for (const auto& control : group.Controls) {
        const TPageControlKind* kind = FindPageControlKind(control.Kind);
        if (!kind) BlockError(control.Line, "no control kind is called " + control.Kind);
        TPagePlace place{area, inset, y, width - 2 * inset};
        const bool hidden = control.Has("hidden");
        if (hidden) {
            // Made and bound like the others, in a box that never shows.
            auto* box = new TPanel(this);
            box->SetParent(area);
            box->Hide();
            place = {box, 0, 0, width};
        }
        const size_t before = controls_.size();
        const int height = kind->Make(*this, control, place);
        if (controls_.size() == before)
            BlockError(control.Line, "the kind " + control.Kind + " made no control");
        TControl& made = *controls_.back().second;
        Apply(*this, made, &control, control.Behaviours, control.Line);
        if (hidden) continue;
        // Buttons that follow each other stand in a row while they fit.
        const bool button = control.Kind == "button";
        if (button && rowEnd && *rowEnd + kGap + made.Width() <= inset + width - 2 * inset) {
            made.SetBounds(*rowEnd + kGap, rowTop, made.Width(), made.Height());
            rowEnd = made.Left() + made.Width();
            continue;
        }
        rowEnd.reset();
        if (button) {
            rowTop = made.Top();
            rowEnd = made.Left() + made.Width();
        }
        // A behaviour may have given the control a text that takes more room.
        y = std::max(y + height, made.Top() + made.Height()) + kGap;
    }
    if (!group.Controls.empty() && y > (group.Framed ? kFrameTop : 0)) y -= kGap;
    area->SetHeight(y + (group.Framed ? kFrameBottom : 0));
    Apply(*this, *area, nullptr, group.Behaviours, group.Line);
    return area;
}

// The areas in the block's order: a wide one across the page below what stands before it, the
// others in runs of two columns.
void TSettingsPage::Lay(const std::vector<TWinControl*>& areas, int top) {
    std::vector<TWinControl*> run;
    int y = top;
    for (TWinControl* area : areas) {
        const bool wide = std::any_of(areas_.begin(), areas_.end(),
                                      [area](const Area& a) { return a.Control == area && a.Wide; });
        if (!wide) {
            run.push_back(area);
            continue;
        }
        if (!run.empty()) y = LayColumns(run, y);
        run.clear();
        area->SetBounds(kMargin, y, kWideWidth, area->Height());
        y += area->Height() + kGap;
    }
    if (!run.empty()) LayColumns(run, y);
}

// Two columns, the areas in the block's order down the first and on down the second, split where
// the taller column is lowest; answers the bottom of the taller column.
int TSettingsPage::LayColumns(const std::vector<TWinControl*>& areas, int top) {
    std::vector<int> heights;
    for (TWinControl* area : areas) heights.push_back(area->Height() + kGap);
    const int total = std::accumulate(heights.begin(), heights.end(), 0);
    size_t split = areas.size();
    int best = total;
    int first = 0;
    for (size_t i = 0; i <= areas.size(); ++i) {
        const int taller = std::max(first, total - first);
        if (taller < best) {
            best = taller;
            split = i;
        }
        if (i < areas.size()) first += heights[i];
    }
    int y = top;
    for (size_t i = 0; i < areas.size(); ++i) {
        if (i == split) y = top;
        const int left = i < split ? kMargin : 2 * kMargin + kColumnWidth;
        areas[i]->SetBounds(left, y, kColumnWidth, areas[i]->Height());
        y += heights[i];
    }
    return top + best;
}

TForm* GeneratedSettingsPage(const TSettingsPageRow& row, TComponent* owner, TMainDM& dm) {
    const TSettingsPageDef* def = dm.Settings().Schema().FindPage(row.ClassName);
    if (!def) throw ESettingsSchemaError("The settings schema has no page " + std::string(row.ClassName));
    return new TSettingsPage(owner, *def, dm);
}

}  // namespace tv

#include "controls/xdb_grid_settings.h"

#include <type_traits>
#include <vector>

#include "controls/xdb_grid.h"
#include "platform/gui/form.h"
#include "platform/ini/registry_ini.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/files.h"
#include "platform/rtl/number_text.h"

namespace tv {

const TClassInfo& TXDBGridSettings::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXDBGridSettings>("TXDBGridSettings").Build();
    return info;
}

namespace {

std::string BoolLine(bool value) {
    return value ? "1" : "0";
}

// The comma-separated parts of a column line; no quoting, so a comma in a field name splits it.
std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        parts.push_back(text.substr(start, comma - start));
    parts.push_back(text.substr(start));
    return parts;
}

// The integer of part `index`, or `current` when the part is missing or no number.
int PartInt(const std::vector<std::string>& parts, size_t index, int current) {
    return index < parts.size() ? StrToIntDef(parts[index], current) : current;
}

}  // namespace

TXDBGridSettings::TXDBGridSettings(TXCustomDBGrid* AGrid)
    : fGrid(AGrid), fLayout(std::make_unique<TStringList>()) {}

TXDBGridSettings::~TXDBGridSettings() = default;

// ---------------------------------------------------------------- names

std::string TXDBGridSettings::DefaultSection() const {
    if (!fGrid) return {};
    // The form's name is remembered from the first look-up that found a form.
    if (fFormName.empty())
        if (TForm* form = fGrid->ParentForm(false)) fFormName = form->Name();
    return fFormName.empty() ? fGrid->Name() : fFormName + "." + fGrid->Name();
}

std::string TXDBGridSettings::Section() const {
    return fSection.empty() ? DefaultSection() : fSection;
}

void TXDBGridSettings::SetSection(const std::string& value) {
    fSection = value == DefaultSection() ? std::string() : value;
}

std::string TXDBGridSettings::DefaultFileName() const {
    return fIniFile ? ChangeFileExt(ProgramFileName(), ".ini") : std::string(kGridSettingsKey);
}

void TXDBGridSettings::GridLoaded() {
    if (!fGrid->ComponentState().Contains(csDesigning)) fLoadPending = true;
    DefaultSection();
}

// ---------------------------------------------------------------- the lines

void TXDBGridSettings::BuildLayout() {
    fLayout->Clear();
    if (fOptions.Contains(soUserSettings)) {
        fLayout->Add("AutoLoadLayout=" + BoolLine(fOptions.Contains(soLoadLayout)));
        fLayout->Add("AutoSaveLayout=" + BoolLine(fOptions.Contains(soSaveLayout)));
    }
    TXDBGridColumns* columns = fGrid->Columns();
    fLayout->Add("Columns=" + std::to_string(columns->Count()));
    for (int i = 0; i < columns->Count(); ++i) {
        const TXColumn* column = columns->Items(i);
        fLayout->Add("Column" + std::to_string(i + 1) + "=" + column->FieldName() + "," +
                     std::to_string(column->WidthBase()) + "," + BoolLine(column->Visible()) + "," +
                     BoolLine(column->Expanded()));
    }
    if (fOptions.Contains(soOrderFields)) fLayout->Add("OrderFields=" + fGrid->OrderFields());
    if (fOptions.Contains(soLinesCount)) fLayout->Add("LinesCount=" + std::to_string(fGrid->LinesCount()));
    if (fOptions.Contains(soStretchMode)) fLayout->Add("StretchMode=" + BoolLine(fGrid->StretchMode()));
    DoLayout(false);
}

TStrings* TXDBGridSettings::Layout() {
    BuildLayout();
    return fLayout.get();
}

void TXDBGridSettings::SetLayout(TStrings* value) {
    fLayout->Assign(value);
    ApplyLayout();
}

void TXDBGridSettings::ApplyLayout() {
    // Names are found without regard to case, the first line of a name winning; a value whose
    // line is missing or holds no number keeps the grid's current value.
    TXDBGridColumns* columns = fGrid->Columns();
    const int count = columns->Count();
    if (StrToIntDef(fLayout->Values("Columns"), 0) == count) {
        for (int i = 0; i < count; ++i) {
            const std::vector<std::string> parts = SplitCommas(fLayout->Values("Column" + std::to_string(i + 1)));
            TXColumn* column = fGrid->FindColumn(parts[0], i);
            if (!column) continue;
            column->MoveTo(i);
            column->SetWidthBase(PartInt(parts, 1, column->WidthBase()));
            column->SetVisible(PartInt(parts, 2, column->Visible() ? 1 : 0) == 1);
            column->SetExpanded(PartInt(parts, 3, column->Expanded() ? 1 : 0) == 1);
        }
    }
    if (fOptions.Contains(soOrderFields) && fLayout->IndexOfName("OrderFields") >= 0)
        fGrid->SetOrderFields(fLayout->Values("OrderFields"));
    if (fOptions.Contains(soLinesCount))
        fGrid->SetLinesCount(StrToIntDef(fLayout->Values("LinesCount"), fGrid->LinesCount()));
    if (fOptions.Contains(soStretchMode))
        fGrid->SetStretchMode(StrToIntDef(fLayout->Values("StretchMode"), fGrid->StretchMode() ? 1 : 0) == 1);
    DoLayout(true);
}

void TXDBGridSettings::DoLayout(bool Apply) {
    if (fGrid->OnLayout) fGrid->OnLayout(fGrid, fLayout.get(), Apply);
}

// ---------------------------------------------------------------- the store

std::unique_ptr<TIniFile> TXDBGridSettings::CreateIniFile() {
    const std::string name = fFileName.empty() ? DefaultFileName() : fFileName;
    if (!fIniFile) return OpenRegistryIniFile(name);
    CheckFileName(name);
    return std::make_unique<TIniFile>(name);
}

template <class Use>
auto TXDBGridSettings::WithStore(TIniFile* Store, bool writes, Use use) {
    if (Store) return use(*Store);
    std::unique_ptr<TIniFile> own = CreateIniFile();
    if constexpr (std::is_void_v<decltype(use(*own))>) {
        use(*own);
        if (writes && own->Modified()) {
            ForceDirectories(ExtractFileDir(own->FileName()));
            own->UpdateFile();
        }
    } else {
        return use(*own);
    }
}

TStrings* TXDBGridSettings::ReadLayout(TIniFile* Store) {
    fLayout->Clear();
    WithStore(Store, false, [&](TIniFile& ini) {
        for (const auto& [name, value] : ini.ReadSectionValues(Section())) fLayout->Add(name + "=" + value);
    });
    return fLayout.get();
}

void TXDBGridSettings::LoadLayout(TIniFile* Store) {
    ReadLayout(Store);
    ApplyLayout();
}

void TXDBGridSettings::SaveLayout(TIniFile* Store) {
    BuildLayout();
    WithStore(Store, true, [&](TIniFile& ini) {
        const std::string section = Section();
        if (ini.SectionExists(section)) ini.EraseSection(section);
        for (int i = 0; i < fLayout->Count(); ++i)
            ini.WriteString(section, fLayout->Names(i), fLayout->ValueFromIndex(i));
    });
}

void TXDBGridSettings::EraseLayout(TIniFile* Store) {
    WithStore(Store, true, [&](TIniFile& ini) {
        if (ini.SectionExists(Section())) ini.EraseSection(Section());
    });
}

bool TXDBGridSettings::LayoutExists(TIniFile* Store) {
    return WithStore(Store, false, [&](TIniFile& ini) { return ini.SectionExists(Section()); });
}

// ---------------------------------------------------------------- automatic load and save

void TXDBGridSettings::AutoLoad() {
    if (!fOptions.Contains(soUserSettings)) {
        if (fOptions.Contains(soLoadLayout)) LoadLayout();
        return;
    }
    ReadLayout();
    // The store decides the automatic flags themselves.
    auto flag = [&](const char* name, TXSettingsOption option) {
        const bool on = StrToIntDef(fLayout->Values(name), fOptions.Contains(option) ? 1 : 0) != 0;
        fOptions = on ? fOptions + TXSettingsOptions{option} : fOptions - TXSettingsOptions{option};
    };
    flag("AutoLoadLayout", soLoadLayout);
    flag("AutoSaveLayout", soSaveLayout);
    if (fOptions.Contains(soLoadLayout)) ApplyLayout();
}

void TXDBGridSettings::AutoSave() {
    if (fOptions.Contains(soSaveLayout)) SaveLayout();
}

}  // namespace tv

#pragma once
// Where the data grid keeps its layout (column order, widths, visibility, sort fields) between
// runs: an INI file or the registry stand-in, one section per grid, with Active loading it once
// when the data first shows and saving it when the grid goes. No window of the program turns it
// on; this object holds the settings, and the layout file itself is built on them.

#include <string>

#include "platform/rtl/enum_set.h"
#include "platform/rtl/persistent.h"

namespace tv {

class TXCustomDBGrid;

enum TXSettingsOption : uint8_t { soLoadLayout, soSaveLayout, soUserSettings, soOrderFields, soLinesCount,
                                  soStretchMode };
TV_ENUM_INFO(TXSettingsOption, "soLoadLayout", "soSaveLayout", "soUserSettings", "soOrderFields",
             "soLinesCount", "soStretchMode");
using TXSettingsOptions = TSet<TXSettingsOption>;

class TXDBGridSettings : public TPersistent {
    TV_CLASS(TXDBGridSettings, TPersistent)
public:
    explicit TXDBGridSettings(TXCustomDBGrid* AGrid);

    TXCustomDBGrid* Grid() const { return fGrid; }
    bool Active() const { return fActive; }
    void SetActive(bool value) { fActive = value; }
    // The INI file or registry key; empty: the default.
    const std::string& FileName() const { return fFileName; }
    void SetFileName(const std::string& value) { fFileName = value; }
    bool IniFile() const { return fIniFile; }
    void SetIniFile(bool value) { fIniFile = value; }
    TXSettingsOptions Options() const { return fOptions; }
    void SetOptions(TXSettingsOptions value) { fOptions = value; }
    // The stored section, or the default one: the grid's name, after its form's name and "."
    // when the form has one. Writing the default stores nothing (it keeps following the names).
    std::string Section() const;
    void SetSection(const std::string& value);
    std::string DefaultSection() const;

    // The grid finished loading: an automatic load waits for its data, and the default section is
    // worked out now (remembering the form's name).
    void GridLoaded();
    // Whether the automatic load still waits; the grid's first activation takes the mark.
    bool LoadPending() const { return fLoadPending; }
    void ClearLoadPending() { fLoadPending = false; }

private:
    TXCustomDBGrid* fGrid;
    bool fActive = false;
    std::string fFileName;
    bool fIniFile = false;
    TXSettingsOptions fOptions{soLoadLayout, soSaveLayout};
    std::string fSection;
    mutable std::string fFormName;
    bool fLoadPending = false;
};

}  // namespace tv

#pragma once
// The pages of the settings window, in the order it builds them: each page's class, its caption
// (the node text), the caption of the node it hangs under (empty: the top level), its state number
// and the routine that makes it. A row without one names a page that is not built yet, and the
// window leaves it out, as it leaves out a page whose routine answers nil.

#include <span>
#include <string_view>

namespace tv {

class TComponent;
class TForm;
class TMainDM;

struct TSettingsPageRow;

// Makes the page of the row, owned by `owner` (the settings window), over the central data module's
// tables.
using TSettingsPageFactory = TForm* (*)(const TSettingsPageRow& row, TComponent* owner, TMainDM& dm);

struct TSettingsPageRow {
    std::string_view ClassName;
    std::string_view Caption;
    std::string_view Parent;
    int State = 0;
    TSettingsPageFactory Make = nullptr;
};

// The program's 34 pages.
std::span<const TSettingsPageRow> SettingsPageRows();

}  // namespace tv

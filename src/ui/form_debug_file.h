#pragma once
// The developer's test window for interchange files: a path, a button that walks the purchase
// prices of that file to the 518th entry and shows its article key (or "klar" when there are
// fewer), an unbound pick-list combo and a second edit to try controls on. The main window opens
// it, without owner and not modal, from its hidden action "Debug" (Ctrl+Alt+D).

#include <string_view>

#include "controls/db_pick_combo.h"
#include "platform/gui/button.h"
#include "platform/gui/edit.h"
#include "platform/gui/form.h"

namespace tv {

inline constexpr std::string_view kDebugFileCaption = "Debug";
inline constexpr std::string_view kDebugRunCaption = "Testa";
inline constexpr std::string_view kPurchasePricesElement = "purchaseprices";
inline constexpr std::string_view kArticleKeyAttribute = "articlekey";
// The position, counting from 1 and leaving comments out, of the entry whose key is shown.
inline constexpr int kDebugEntryPosition = 518;
inline constexpr std::string_view kDebugWalkDone = "klar";
inline constexpr std::string_view kNoPurchasePrices = "Filen saknar elementet \"purchaseprices\"";

class TFormDebugFile : public TForm {
    TV_CLASS(TFormDebugFile, TForm)
public:
    // Made hidden; closing it frees it.
    explicit TFormDebugFile(TComponent* AOwner);

    // Runs the walk over the file Edit1 names and shows what it found.
    void Button1Click();

    TEdit* Edit1 = nullptr;
    TButton* Button1 = nullptr;
    TDBPickCombo* DBPickCombo1 = nullptr;
    TEdit* Edit2 = nullptr;

private:
    void CreateComponents();
};

// Makes the window without owner and shows it, not modal.
void ShowDebugFileWindow();

}  // namespace tv

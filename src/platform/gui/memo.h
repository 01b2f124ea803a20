#pragma once
// Memos: text of many lines. Lines is the memo's own list of lines, live: what is added, changed
// or deleted through it shows in the memo at once, and it reads what the user typed. The memo's
// Text separates lines with CR LF.

#include <memory>

#include "platform/gui/edit.h"
#include "platform/rtl/string_list.h"

namespace tv {

class TCustomMemo : public TCustomEdit {
    TV_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* AOwner = nullptr);
    ~TCustomMemo() override;

    TStrings* Lines() const { return fLines.get(); }
    // Copies the lines of `value` into the memo.
    void SetLines(TStrings* value) { fLines->Assign(value); }
    TAlignment Alignment() const { return fAlignment; }
    void SetAlignment(TAlignment value);
    TScrollStyle ScrollBars() const { return fScrollBars; }
    void SetScrollBars(TScrollStyle value);
    // Off: Enter goes to the form (its default button) instead of breaking the line.
    bool WantReturns() const { return fWantReturns; }
    void SetWantReturns(bool value) { fWantReturns = value; }
    // Off: Tab moves the focus instead of typing a tab.
    bool WantTabs() const { return fWantTabs; }
    void SetWantTabs(bool value);
    bool WordWrap() const { return fWordWrap; }
    void SetWordWrap(bool value);

protected:
    bool WantsKey(uint16_t Key) const override;

private:
    std::unique_ptr<TStrings> fLines;
    TAlignment fAlignment = taLeftJustify;
    TScrollStyle fScrollBars = ssNone;
    bool fWantReturns = true;
    bool fWantTabs = false;
    bool fWordWrap = true;
};

class TMemo : public TCustomMemo {
    TV_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* AOwner = nullptr) : TCustomMemo(AOwner) {}
};

}  // namespace tv

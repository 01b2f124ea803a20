#pragma once
// Edit boxes: one line of text the user types (TEdit), with selection, clipboard and change events.
// TCustomEdit is also the base of the memo (memo.h).

#include <string>

#include "platform/gui/win_control.h"

namespace tv {

enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
TV_ENUM_INFO(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase");

class TCustomEdit : public TWinControl {
    TV_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* AOwner = nullptr);

    void Clear() { SetText(""); }
    // Removes the selected text.
    void ClearSelection() { SetSelText(""); }
    void SelectAll();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // Set when the user changes the text; setting Text clears it.
    bool Modified() const;
    void SetModified(bool value);
    // Positions count characters, a line break in a memo as two.
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    // Replaces the selection.
    void SetSelText(const std::string& value);
    // The selected text as Windows-1252 bytes, at most BufSize - 1 and a closing NUL.
    int GetSelTextBuf(char* Buffer, int BufSize) const;
    void SetSelTextBuf(const char* Buffer);

    // All text is selected when the control gets the focus.
    bool AutoSelect() const { return fAutoSelect; }
    void SetAutoSelect(bool value) { fAutoSelect = value; }
    // The height follows the font.
    bool AutoSize() const { return fAutoSize; }
    void SetAutoSize(bool value);
    // What the user types is made upper or lower case.
    TEditCharCase CharCase() const { return fCharCase; }
    void SetCharCase(TEditCharCase value);
    // Stored only: the desktop shows the selection as it does.
    bool HideSelection() const { return fHideSelection; }
    void SetHideSelection(bool value) { fHideSelection = value; }
    // The longest text the user can type; 0 for no limit.
    int MaxLength() const { return fMaxLength; }
    void SetMaxLength(int value);
    // Not 0: the text shows as hidden characters.
    char PasswordChar() const { return fPasswordChar; }
    void SetPasswordChar(char value);
    bool ReadOnly() const { return fReadOnly; }
    void SetReadOnly(bool value);
    // Stored only: text is Unicode here.
    bool OEMConvert() const { return fOEMConvert; }
    void SetOEMConvert(bool value) { fOEMConvert = value; }

    // Fired after every change of the text, by the user or the program.
    TNotifyEvent OnChange;

protected:
    TCustomEdit(TComponent* AOwner, QWidget* widget);
    virtual void Change();
    std::string GetText() const override;
    void SetTextValue(const std::string& value) override;
    bool AcceptsFocus() const override { return true; }
    void DoEnter() override;
    void ApplyFont() override;
    void ApplyCharCase();

private:
    bool fAutoSelect = true;
    bool fAutoSize = true;
    TEditCharCase fCharCase = ecNormal;
    bool fHideSelection = true;
    int fMaxLength = 0;
    char fPasswordChar = 0;
    bool fReadOnly = false;
    bool fOEMConvert = false;
};

class TEdit : public TCustomEdit {
    TV_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner = nullptr) : TCustomEdit(AOwner) {}
};

}  // namespace tv

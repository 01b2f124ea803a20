#pragma once
// Data-aware edit boxes: TDBEdit (one line, PasswordChar for hidden text) and TDBMemo (many lines)
// show a field's text. The first key that changes the text puts the dataset into edit state (the
// box refuses typing while the value cannot be changed); Escape drops the change and shows the
// field again. The typed text reaches the field through the field's own conversion when the focus
// leaves the box, when the dataset posts, or on the dataset's UpdateRecord.

#include "platform/gui/data_aware_control.h"
#include "platform/gui/memo.h"

namespace tv {

template <class EditBase>
class TDBTextControl : public TDataAwareControl<EditBase> {
protected:
    explicit TDBTextControl(TComponent* AOwner);

    void DataChange() override;
    void EditingChange() override;
    void UpdateData() override;
    void ExitFailed() override;
    void ChangeDropped() override;
    void Change() override;
    bool KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool KeyPress(char16_t& Key) override;
};

extern template class TDBTextControl<TCustomEdit>;
extern template class TDBTextControl<TCustomMemo>;

class TDBEdit : public TDBTextControl<TCustomEdit> {
    TV_CLASS(TDBEdit, TDBTextControl<TCustomEdit>)
public:
    explicit TDBEdit(TComponent* AOwner = nullptr) : TDBTextControl(AOwner) {}
};

class TDBMemo : public TDBTextControl<TCustomMemo> {
    TV_CLASS(TDBMemo, TDBTextControl<TCustomMemo>)
public:
    explicit TDBMemo(TComponent* AOwner = nullptr) : TDBTextControl(AOwner) {}
};

}  // namespace tv

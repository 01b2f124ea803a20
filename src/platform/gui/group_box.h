#pragma once
// Group boxes: a frame with a caption around other controls (TGroupBox), and the radio group, a
// group box of radio buttons made from its Items, one of which is chosen (ItemIndex).

#include <memory>

#include "platform/gui/custom_control.h"
#include "platform/rtl/string_list.h"

class QButtonGroup;

namespace tv {

class TCustomGroupBox : public TCustomControl {
    TV_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* AOwner = nullptr);
    // Inside the frame and below the caption.
    TRect AlignRect() const override;

protected:
    void TextChanged() override;
    bool PaintsItself() const override { return false; }
};

class TGroupBox : public TCustomGroupBox {
    TV_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* AOwner = nullptr) : TCustomGroupBox(AOwner) {}
};

class TRadioGroup : public TCustomGroupBox {
    TV_CLASS(TRadioGroup, TCustomGroupBox)
public:
    explicit TRadioGroup(TComponent* AOwner = nullptr);
    ~TRadioGroup() override;

    // One radio button per line; changing the lines remakes the buttons.
    TStrings* Items() const { return fItems.get(); }
    void SetItems(TStrings* value) { fItems->Assign(value); }
    // The chosen button, -1 for none. Choosing (by the user or the program) fires OnClick.
    int ItemIndex() const { return fItemIndex; }
    // Raises EListError outside -1..Items.Count-1.
    void SetItemIndex(int value);
    // The buttons fill the columns top to bottom, one column after the other.
    int Columns() const { return fColumns; }
    void SetColumns(int value);

protected:
    // Whether the user may choose another button now; a refused choice shows the chosen one again.
    virtual bool CanModify() { return true; }
    void AlignControls(TRect rect) override;
    // OnClick tells of a choice, not of a click on the frame.
    bool ClicksOnMouseUp() const override { return false; }

private:
    void MakeButtons();
    void ArrangeButtons();
    void CheckChosenButton();

    std::unique_ptr<TStringList> fItems;
    QButtonGroup* fGroup;  // a part of the widget, which frees it
    int fItemIndex = -1;
    int fColumns = 1;
};

}  // namespace tv

#include "platform/gui/gui_classes.h"

#include "platform/gui/action.h"
#include "platform/gui/action_bar.h"
#include "platform/gui/application.h"
#include "platform/gui/bit_btn.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/button.h"
#include "platform/gui/combo_box.h"
#include "platform/gui/custom_control.h"
#include "platform/gui/dock_tab_set.h"
#include "platform/gui/edit.h"
#include "platform/gui/form.h"
#include "platform/gui/graphic_control.h"
#include "platform/gui/group_box.h"
#include "platform/gui/image.h"
#include "platform/gui/image_list.h"
#include "platform/gui/label.h"
#include "platform/gui/list_box.h"
#include "platform/gui/memo.h"
#include "platform/gui/menu.h"
#include "platform/gui/page_control.h"
#include "platform/gui/panel.h"
#include "platform/gui/picture.h"
#include "platform/gui/progress_bar.h"
#include "platform/gui/screen.h"
#include "platform/gui/scroll_bar.h"
#include "platform/gui/scroll_box.h"
#include "platform/gui/splitter.h"
#include "platform/gui/status_bar.h"
#include "platform/gui/timer.h"
#include "platform/gui/tree_view.h"
#include "platform/rtl/class_info.h"

namespace tv {

std::vector<const TClassInfo*> GuiClasses() {
    return {
        &TGraphicsObject::StaticClassInfo(),
        &TFont::StaticClassInfo(),
        &TPen::StaticClassInfo(),
        &TBrush::StaticClassInfo(),
        &TCanvas::StaticClassInfo(),
        &TGraphic::StaticClassInfo(),
        &TBitmap::StaticClassInfo(),
        &TPicture::StaticClassInfo(),
        &TImageList::StaticClassInfo(),
        &TSizeConstraints::StaticClassInfo(),
        &TDragObject::StaticClassInfo(),
        &TControl::StaticClassInfo(),
        &TWinControl::StaticClassInfo(),
        &TGraphicControl::StaticClassInfo(),
        &TCustomControl::StaticClassInfo(),
        &TControlScrollBar::StaticClassInfo(),
        &TScrollingWinControl::StaticClassInfo(),
        &TForm::StaticClassInfo(),
        &TApplication::StaticClassInfo(),
        &TScreen::StaticClassInfo(),
        &TTimer::StaticClassInfo(),
        // standard controls
        &TCustomGroupBox::StaticClassInfo(),
        &TGroupBox::StaticClassInfo(),
        &TCustomLabel::StaticClassInfo(),
        &TLabel::StaticClassInfo(),
        &TCustomEdit::StaticClassInfo(),
        &TEdit::StaticClassInfo(),
        &TCustomMemo::StaticClassInfo(),
        &TMemo::StaticClassInfo(),
        &TCustomComboBox::StaticClassInfo(),
        &TComboBox::StaticClassInfo(),
        &TButtonControl::StaticClassInfo(),
        &TButton::StaticClassInfo(),
        &TCustomCheckBox::StaticClassInfo(),
        &TCheckBox::StaticClassInfo(),
        &TRadioButton::StaticClassInfo(),
        &TCustomListBox::StaticClassInfo(),
        &TListBox::StaticClassInfo(),
        &TScrollBar::StaticClassInfo(),
        &TScrollBox::StaticClassInfo(),
        // the other controls, menus and actions
        &TRadioGroup::StaticClassInfo(),
        &TPanel::StaticClassInfo(),
        &TBitBtn::StaticClassInfo(),
        &TSpeedButton::StaticClassInfo(),
        &TImage::StaticClassInfo(),
        &TSplitter::StaticClassInfo(),
        &TTabSheet::StaticClassInfo(),
        &TPageControl::StaticClassInfo(),
        &TTreeView::StaticClassInfo(),
        &TProgressBar::StaticClassInfo(),
        &TStatusBar::StaticClassInfo(),
        &TDockTabSet::StaticClassInfo(),
        &TMenuItem::StaticClassInfo(),
        &TMainMenu::StaticClassInfo(),
        &TPopupMenu::StaticClassInfo(),
        &TBasicAction::StaticClassInfo(),
        &TAction::StaticClassInfo(),
        &TActionList::StaticClassInfo(),
        &TActionBar::StaticClassInfo(),
    };
}

void RegisterGuiClasses() {
    for (const TClassInfo* c : GuiClasses()) RegisterClass(*c);
}

}  // namespace tv

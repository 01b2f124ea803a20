#pragma once
// Page controls: pages (tab sheets) behind tabs, one page shown at a time. A sheet joins a page
// control by having it as its parent (or PageControl). A hidden sheet (TabVisible or Visible off)
// loses its tab and its page; when it was the active one another page is shown.

#include "platform/gui/win_control.h"

namespace tv {

class TPageControl;
class TImageList;

class TTabSheet : public TWinControl {
    TV_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* AOwner = nullptr);

    TPageControl* PageControl() const;
    void SetPageControl(TPageControl* value);
    // The position among the page control's sheets; -1 outside one.
    int PageIndex() const;
    void SetPageIndex(int value);
    // The position among the tabs that show; -1 while the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return fTabVisible; }
    void SetTabVisible(bool value);
    int ImageIndex() const { return fImageIndex; }
    void SetImageIndex(int value);

protected:
    void TextChanged() override;
    void UpdateWidgetVisibility() override;
    void UpdateWidgetGeometry() override;

private:
    friend class TPageControl;
    bool fTabVisible = true;
    int fImageIndex = -1;
};

using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
    TV_CLASS(TPageControl, TWinControl)
public:
    explicit TPageControl(TComponent* AOwner = nullptr);
    ~TPageControl() override;

    int PageCount() const;
    // Raises EListError outside 0..PageCount-1.
    TTabSheet* Pages(int Index) const;
    TTabSheet* ActivePage() const;
    // A sheet of this page control (nil: none); a hidden sheet cannot be shown.
    void SetActivePage(TTabSheet* value);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    TImageList* Images() const { return fImages; }
    void SetImages(TImageList* value);

    // When the user picks another tab: OnChanging may refuse, OnChange follows the change.
    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    void PlaceChild(TControl* child) override;
    void UnplaceChild(TControl* child) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool AcceptsFocus() const override { return true; }

private:
    friend class TTabSheet;
    void UpdateTab(TTabSheet* sheet);
    std::vector<TTabSheet*> Sheets() const;

    TImageList* fImages = nullptr;
    int fSetting = 0;  // inside a change made by the program
    int fShownIndex = -1;
};

}  // namespace tv

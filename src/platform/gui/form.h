#pragma once
// Forms: the windows of the application. A form is made hidden and shown with Show, or with
// ShowModal, which handles messages until ModalResult is set and returns it. Close asks
// OnCloseQuery and OnClose what to do. A form can be docked into a windowed control, where it
// fills the room the aligned controls leave, and floated again.

#include "platform/gui/scrolling_win_control.h"

class QMenuBar;

namespace tv {

class TMainMenu;

enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
TV_ENUM_INFO(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
             "bsSizeToolWin");
using TBorderStyle = TFormBorderStyle;

enum TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
TV_ENUM_INFO(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp");
using TBorderIcons = TSet<TBorderIcon>;

enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
TV_ENUM_INFO(TWindowState, "wsNormal", "wsMinimized", "wsMaximized");

// fsMDIChild and fsMDIForm are kept but do nothing: there are no MDI windows.
enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
TV_ENUM_INFO(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop");

enum TPosition : uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
TV_ENUM_INFO(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
             "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter");

enum TPrintScale : uint8_t { poNone, poProportional, poPrintToFit };
TV_ENUM_INFO(TPrintScale, "poNone", "poProportional", "poPrintToFit");

enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
TV_ENUM_INFO(TCloseAction, "caNone", "caHide", "caFree", "caMinimize");

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

inline constexpr std::string_view kCannotShowModal = "Cannot make a visible window modal";
inline constexpr std::string_view kModalFormNotShown = "Modal form not shown: no display; answered Cancel";

class TForm : public TScrollingWinControl {
    TV_CLASS(TForm, TScrollingWinControl)
public:
    // A new, empty, hidden form.
    explicit TForm(TComponent* AOwner = nullptr);
    // The same (the class library's CreateNew; the number is not used).
    TForm(TComponent* AOwner, int32_t Dummy);
    // Fires OnDestroy first.
    ~TForm() override;

    // ---- showing and closing ----
    // Shows the form and handles messages until ModalResult is not 0 (or the application is
    // terminated: mrCancel), then hides it and returns the result. Raises EInvalidOperation
    // "Cannot make a visible window modal" for a form that shows, is disabled, docked or modal.
    int ShowModal();
    // Asks OnCloseQuery, then OnClose what to do (hide by default; nothing, free later or
    // minimise). The main form ends the application; a modal form gets mrCancel.
    void Close();
    // True unless OnCloseQuery says no.
    bool CloseQuery();
    // Frees the form once the messages waiting now are handled (never inside its own handler).
    void Release();
    TModalResult ModalResult = mrNone;
    bool Modal() const { return fModal; }
    // The form is the active window.
    bool Active() const { return fActive; }

    // ---- window ----
    TFormBorderStyle BorderStyle() const { return fBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return fBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return fFormStyle; }
    void SetFormStyle(TFormStyle value);
    // Where the form appears when shown: where it is (poDesigned, poDefault...) or centred on the
    // screen, the main form or the owner form.
    TPosition Position() const { return fPosition; }
    void SetPosition(TPosition value) { fPosition = value; }
    TWindowState WindowState() const { return fWindowState; }
    void SetWindowState(TWindowState value);
    // The form sees key events before the control that has the focus.
    bool KeyPreview() const { return fKeyPreview; }
    void SetKeyPreview(bool value) { fKeyPreview = value; }
    // Stored only: forms are laid out in pixels at 96 per inch and are not printed.
    int PixelsPerInch() const { return fPixelsPerInch; }
    void SetPixelsPerInch(int value) { fPixelsPerInch = value; }
    bool Scaled() const { return fScaled; }
    void SetScaled(bool value) { fScaled = value; }
    TPrintScale PrintScale() const { return fPrintScale; }
    void SetPrintScale(TPrintScale value) { fPrintScale = value; }
    bool DropTarget = false;
    TCanvas* Canvas() { return ControlCanvas(); }

    // The menu bar (nil: none); the client area begins below it.
    TMainMenu* Menu() const { return fMenu; }
    void SetMenu(TMainMenu* value);

    // ---- focus ----
    TWinControl* ActiveControl() const { return fActiveControl; }
    // Moves the focus there when the form shows; nil takes it away.
    void SetActiveControl(TWinControl* Control);
    void FocusControl(TWinControl* Control);
    // Forgets Control (or a control inside it) as the active control, leaving the focus on its
    // parent unless it is being removed.
    void DefocusControl(TWinControl* Control, bool Removing);
    bool SetFocusedControl(TWinControl* Control);
    TWinControl* ActiveOleControl() const { return fActiveOleControl; }
    void SetActiveOleControl(TWinControl* value);

    // Takes the form out of its dock site as a window at ScreenPos.
    void ManualFloat(const TRect& ScreenPos) override;

    // ---- the rest of the class library's form (no MDI, no printing) ----
    void ArrangeIcons() {}
    void Cascade() {}
    void Tile() {}
    void Next() {}
    void Previous() {}
    void Print() {}
    void SendCancelMode(TControl* Sender) {}
    int32_t ClientHandle() const { return 0; }
    TForm* ActiveMDIChild() const { return nullptr; }
    int MDIChildCount() const { return 0; }
    // Raises EListError: there are no MDI children.
    TForm* MDIChildren(int Index) const;

    // ---- events ----
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    // Fired by DoCreate: a form class built in code calls it at the end of its constructor.
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint;

    bool Showing() const override;
    // Enter clicks the focused button or else the default button; Escape the cancel button.
    // True when a button took the key.
    bool DialogKey(uint16_t Key, TWinControl* From);

protected:
    void DoCreate();
    virtual void DoClose(TCloseAction& Action);
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();
    virtual void Paint();

    bool IsWindow() const override { return Parent() == nullptr; }
    TPoint ClientOrigin() const override { return {0, MenuHeight()}; }
    TRect InnerRect() const override;
    void Resize() override;
    void UpdateWidgetVisibility() override;
    void UpdateWidgetGeometry() override;
    void TextChanged() override;
    bool WidgetEvent(QEvent* e, bool viewport) override;
    bool PaintsItself() const override { return static_cast<bool>(OnPaint); }
    void PaintControl() override { Paint(); }
    bool ClicksOnMouseUp() const override { return true; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    int MenuHeight() const;
    void LayoutMenuBar();
    void ApplyWindowFlags();
    void PlaceOnScreen();
    void CloseModal();

    TFormBorderStyle fBorderStyle = bsSizeable;
    TBorderIcons fBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle fFormStyle = fsNormal;
    TPosition fPosition = poDesigned;
    TWindowState fWindowState = wsNormal;
    bool fKeyPreview = false;
    int fPixelsPerInch = 96;
    bool fScaled = true;
    TPrintScale fPrintScale = poProportional;
    bool fModal = false;
    bool fActive = false;
    bool fShown = false;
    TWinControl* fActiveControl = nullptr;
    TWinControl* fActiveOleControl = nullptr;
    TMainMenu* fMenu = nullptr;
    QMenuBar* fMenuBar = nullptr;  // a part of the form's widget
};

}  // namespace tv

#pragma once
// The application: its title, the main form, the message loop and the guard at the edge of it.
// Every event the toolkit delivers runs inside a guard, so that no exception ever crosses the
// toolkit's event loop: an exception that leaves a handler is handed to HandleException, which
// reports it through OnException or a message box of the dialog service, and the loop goes on.
//
// There is one application per process (Application()). Another TApplication object, such as one
// a script creates, is a second face of the same application: it shares all of its state.

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/color.h"
#include "platform/rtl/component.h"
#include "platform/rtl/event.h"

namespace tv {

class TControl;
class TForm;

using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
using THelpEvent = TEvent<bool(uint16_t Command, int32_t Data, bool& CallHelp)>;
// Receives the exceptions that handlers let escape, in place of the message box.
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

// Message-box flags and answers (the platform's MB_ and ID numbers).
inline constexpr uint16_t MB_OK = 0x0000;
inline constexpr uint16_t MB_OKCANCEL = 0x0001;
inline constexpr uint16_t MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr uint16_t MB_YESNOCANCEL = 0x0003;
inline constexpr uint16_t MB_YESNO = 0x0004;
inline constexpr uint16_t MB_RETRYCANCEL = 0x0005;
inline constexpr uint16_t MB_ICONERROR = 0x0010;
inline constexpr uint16_t MB_ICONQUESTION = 0x0020;
inline constexpr uint16_t MB_ICONWARNING = 0x0030;
inline constexpr uint16_t MB_ICONINFORMATION = 0x0040;
inline constexpr uint16_t MB_DEFBUTTON2 = 0x0100;
inline constexpr uint16_t MB_DEFBUTTON3 = 0x0200;

class TApplication : public TComponent {
    TV_CLASS(TApplication, TComponent)
    // First, so that the event references below can be bound to it.
    struct TState;
    std::shared_ptr<TState> fState;

public:
    // The first application made is the process's application; any later one shares its state.
    explicit TApplication(TComponent* AOwner = nullptr);
    ~TApplication() override;

    // Makes sure the toolkit is up (it is made on first need anyway).
    void Initialize();
    // Makes a form owned by the application; the first one made so becomes the main form.
    template <class T, class... A>
    T* CreateForm(A&&... args) {
        auto* form = new T(this, std::forward<A>(args)...);
        FormCreated(form);
        return form;
    }
    // Shows the main form (unless ShowMainForm is off) and handles messages until Terminate. Returns
    // at once when Terminate came first.
    void Run();
    // Ends Run and any modal loop; also before Run has started.
    void Terminate();
    bool Terminated() const;
    // Handles every message waiting now (timers, clicks, painting), without waiting for more.
    void ProcessMessages();
    // Handles the next message, waiting for one when none is waiting; when none was waiting, first
    // gives OnIdle its turn.
    void HandleMessage();

    // Reports the exception being handled now (call it inside a catch block): EAbort silently,
    // others through OnException when set, else ShowException. Never throws.
    void HandleException(TObject* Sender) noexcept;
    // A message box (through the dialog service) with the exception's message and an error icon.
    void ShowException(const std::exception& E);
    // A message box through the dialog service, with MB_ flags; gives the ID of the button chosen.
    // A run without an operator answers with the default button.
    int MessageBox(const std::string& Text, const std::string& Caption, uint16_t Flags);

    void BringToFront();
    void Minimize();
    void Restore();
    // One of the application's windows is the active one.
    bool Active() const;
    // The running program's file.
    std::string ExeName() const;
    // A number standing for the application; writing stores another number.
    int32_t Handle() const;
    void SetHandle(int32_t value);
    int32_t DialogHandle() const;
    void SetDialogHandle(int32_t value);
    bool UpdateFormatSettings() const;
    void SetUpdateFormatSettings(bool value);

    // The long part of the hint of the control under the mouse; setting it fires OnHint.
    const std::string& Hint() const;
    void SetHint(const std::string& value);
    bool ShowHint() const;
    void SetShowHint(bool value);
    TColor HintColor() const;
    void SetHintColor(TColor value);
    // Stored only: the toolkit times its tool tips itself.
    int HintPause() const;
    void SetHintPause(int value);
    int HintShortPause() const;
    void SetHintShortPause(int value);
    int HintHidePause() const;
    void SetHintHidePause(int value);
    void CancelHint();
    void HideHint();

    TForm* MainForm() const;
    bool ShowMainForm() const;
    void SetShowMainForm(bool value);
    const std::string& Title() const;
    void SetTitle(const std::string& value);
    const std::string& HelpFile() const;
    void SetHelpFile(const std::string& value);

    // There is no help system: OnHelp is asked when set, else the answer is false.
    bool HelpCommand(int Command, int32_t Data);
    bool HelpContext(int32_t Context);
    bool HelpJump(const std::string& JumpID);

    // Forgets a control that goes away (the main form, for one).
    void ControlDestroyed(TControl* Control);
    // The desktop keeps its own window order: these do nothing.
    void NormalizeTopMosts() {}
    void RestoreTopMosts() {}
    void CreateHandle() {}

    TNotifyEvent& OnActivate;
    TNotifyEvent& OnDeactivate;
    TIdleEvent& OnIdle;
    TNotifyEvent& OnHint;
    TNotifyEvent& OnMinimize;
    TNotifyEvent& OnRestore;
    THelpEvent& OnHelp;
    TExceptionEvent& OnException;

private:
    void FormCreated(TForm* form);
    void Idle();
};

// The process's application, made on first use when none exists yet.
TApplication& Application();
// True when the application found no display and chose the offscreen platform itself: no operator
// can see or answer a window in this run (defined with the toolkit's support).
bool ScreenlessRun();
// The process's application if one was made, else nil (for code that must not make one).
TApplication* ApplicationIfAny();
// Hands the exception being handled to Application().HandleException; for the library's guards.
// A Sender that has been freed meanwhile (by the failing handler) is passed on as nil.
void HandleGuiException(TObject* Sender) noexcept;

}  // namespace tv

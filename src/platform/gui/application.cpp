#include "platform/gui/application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QToolTip>
#include <QWidget>
#include <cstdio>

#include "platform/gui/form.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/screen.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/dialog_service.h"
#include "platform/rtl/files.h"
#include "platform/rtl/object_handles.h"

namespace tv {

namespace {

constexpr std::string_view kUnknownException = "Unknown exception";
constexpr std::string_view kRunWithoutDisplay =
    "Main window not shown: no display; the message loop was not run";
// The longest a wait for the next message lasts: changes that no message announces (a modal
// result written as a plain number) are seen within this time.
constexpr int kWaitSliceMs = 50;

TApplication* gApplication = nullptr;

struct ButtonGroup {
    TMsgButtons buttons;
    TMsgAnswer answers[3];
    int count;
};
constexpr ButtonGroup kButtonGroups[] = {
    {TMsgButtons::Ok, {TMsgAnswer::Ok}, 1},
    {TMsgButtons::OkCancel, {TMsgAnswer::Ok, TMsgAnswer::Cancel}, 2},
    {TMsgButtons::AbortRetryIgnore, {TMsgAnswer::Abort, TMsgAnswer::Retry, TMsgAnswer::Ignore}, 3},
    {TMsgButtons::YesNoCancel, {TMsgAnswer::Yes, TMsgAnswer::No, TMsgAnswer::Cancel}, 3},
    {TMsgButtons::YesNo, {TMsgAnswer::Yes, TMsgAnswer::No}, 2},
    {TMsgButtons::RetryCancel, {TMsgAnswer::Retry, TMsgAnswer::Cancel}, 2},
};

}  // namespace

struct TApplication::TState {
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TIdleEvent OnIdle;
    TNotifyEvent OnHint;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    THelpEvent OnHelp;
    TExceptionEvent OnException;

    TApplication* face = nullptr;  // the process's application object
    bool terminated = false;
    TForm* mainForm = nullptr;
    bool showMainForm = true;
    std::string title;
    std::string hint;
    bool showHint = true;
    TColor hintColor = clInfoBk;
    int hintPause = 500;
    int hintShortPause = 50;
    int hintHidePause = 2500;
    std::string helpFile;
    int32_t handle = 0;
    int32_t dialogHandle = 0;
    bool updateFormatSettings = true;
    // Receiver of the toolkit's notices; goes with the state.
    std::unique_ptr<QObject> context;
    QTimer* waitSlice = nullptr;
};

const TClassInfo& TApplication::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TApplication>("TApplication").Build();
    return info;
}

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner),
      fState(gApplication ? gApplication->fState : std::make_shared<TState>()),
      OnActivate(fState->OnActivate),
      OnDeactivate(fState->OnDeactivate),
      OnIdle(fState->OnIdle),
      OnHint(fState->OnHint),
      OnMinimize(fState->OnMinimize),
      OnRestore(fState->OnRestore),
      OnHelp(fState->OnHelp),
      OnException(fState->OnException) {
    EnsureQtApplication();
    if (gApplication) return;
    gApplication = this;
    TState& s = *fState;
    s.face = this;
    s.handle = TObjectHandles::HandleOf(this);
    const std::string exe = ExtractFileName(ProgramFileName());
    const size_t dot = exe.rfind('.');
    s.title = dot == std::string::npos || dot == 0 ? exe : exe.substr(0, dot);
    s.context = std::make_unique<QObject>();
    s.waitSlice = new QTimer(s.context.get());
    s.waitSlice->setInterval(kWaitSliceMs);
    std::weak_ptr<TState> weak = fState;
    QObject::connect(
        qApp, &QGuiApplication::applicationStateChanged, s.context.get(), [weak](Qt::ApplicationState state) {
            auto st = weak.lock();
            if (!st || !st->face) return;
            try {
                TNotifyEvent& e = state == Qt::ApplicationActive ? st->OnActivate : st->OnDeactivate;
                if (e) e(st->face);
            } catch (...) {
                HandleGuiException(st->face);
            }
        });
}

TApplication::~TApplication() {
    if (gApplication != this) return;
    DestroyComponents();
    gApplication = nullptr;
    fState->face = nullptr;
    fState->mainForm = nullptr;
}

TApplication& Application() {
    if (!gApplication) new TApplication();  // the process's application lives to the end
    return *gApplication;
}

TApplication* ApplicationIfAny() {
    return gApplication;
}

void HandleGuiException(TObject* Sender) noexcept {
    try {
        // The handler that failed may have freed the object whose event it handled.
        Application().HandleException(TObjectHandles::IsLive(Sender) ? Sender : nullptr);
    } catch (...) {
        std::fputs("Unreported exception: the application object could not be made\n", stderr);
    }
}

void TApplication::Initialize() {
    EnsureQtApplication();
}

void TApplication::FormCreated(TForm* form) {
    if (!fState->mainForm) fState->mainForm = form;
}

// ---- the loop ----

void TApplication::Run() {
    if (Terminated()) return;
    TForm* main = MainForm();
    if (!main) return;
    if (ScreenlessRun()) {
        // Nobody can close a window nobody sees: the loop would never end, and an unattended run
        // (a job's script calling Run) would wait for ever.
        HeadlessDialogService().Report(main->Caption(), kRunWithoutDisplay);
        return;
    }
    if (ShowMainForm()) main->Show();
    while (!Terminated()) HandleMessage();
}

void TApplication::Terminate() {
    fState->terminated = true;
    if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

bool TApplication::Terminated() const {
    return fState->terminated;
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Idle() {
    bool done = true;
    try {
        if (OnIdle) OnIdle(fState->face ? fState->face : this, done);
    } catch (...) {
        HandleException(this);
    }
    if (!done || Terminated()) return;
    QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
    if (!fState->waitSlice->isActive()) fState->waitSlice->start();
    d->processEvents(QEventLoop::WaitForMoreEvents);
}

void TApplication::HandleMessage() {
    QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
    if (!d) return;
    if (!d->processEvents(QEventLoop::AllEvents)) Idle();
}

// ---- exceptions and message boxes ----

void TApplication::HandleException(TObject* Sender) noexcept {
    const std::exception_ptr current = std::current_exception();
    if (!current) return;
    auto report = [&](const std::exception& e) {
        try {
            if (OnException)
                OnException(Sender, e);
            else
                ShowException(e);
        } catch (...) {
            // The report itself failed; the text still goes somewhere.
            std::fprintf(stderr, "%s\n", e.what());
        }
    };
    try {
        std::rethrow_exception(current);
    } catch (const EAbort&) {
        // Silent by intent.
    } catch (const std::exception& e) {
        report(e);
    } catch (...) {
        report(Exception(std::string(kUnknownException)));
    }
}

void TApplication::ShowException(const std::exception& E) {
    std::string text = E.what();
    // A message that ends in a letter or digit gets its full stop.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    TMessageBoxRequest request;
    request.Text = text;
    request.Caption = Title();
    request.Buttons = TMsgButtons::Ok;
    request.Icon = TMsgIcon::Error;
    DialogService().MessageBox(request);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, uint16_t Flags) {
    const int buttons = Flags & 0x0F;
    const ButtonGroup& group =
        buttons < static_cast<int>(std::size(kButtonGroups)) ? kButtonGroups[buttons] : kButtonGroups[0];
    TMessageBoxRequest request;
    request.Text = Text;
    request.Caption = Caption.empty() ? Title() : Caption;
    request.Buttons = group.buttons;
    switch (Flags & 0xF0) {
        case MB_ICONERROR:
            request.Icon = TMsgIcon::Error;
            break;
        case MB_ICONQUESTION:
            request.Icon = TMsgIcon::Question;
            break;
        case MB_ICONWARNING:
            request.Icon = TMsgIcon::Warning;
            break;
        case MB_ICONINFORMATION:
            request.Icon = TMsgIcon::Information;
            break;
        default:
            request.Icon = TMsgIcon::None;
            break;
    }
    const int def = (Flags & 0xF00) >> 8;
    request.DefaultButton = def < group.count ? def : 0;
    request.NonInteractiveAnswer = group.answers[request.DefaultButton];
    return static_cast<int>(DialogService().MessageBox(request));
}

// ---- windows ----

void TApplication::BringToFront() {
    if (TForm* f = MainForm()) f->BringToFront();
}

void TApplication::Minimize() {
    for (int i = 0; i < Screen().FormCount(); ++i)
        if (QWidget* w = Screen().Forms(i)->Widget(); w && w->isWindow() && w->isVisible())
            w->showMinimized();
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    for (int i = 0; i < Screen().FormCount(); ++i)
        if (QWidget* w = Screen().Forms(i)->Widget(); w && w->isWindow() && w->isMinimized()) w->showNormal();
    if (OnRestore) OnRestore(this);
}

bool TApplication::Active() const {
    return QApplication::activeWindow() != nullptr;
}

std::string TApplication::ExeName() const {
    return ProgramFileName();
}

int32_t TApplication::Handle() const {
    return fState->handle;
}

void TApplication::SetHandle(int32_t value) {
    fState->handle = value;
}

int32_t TApplication::DialogHandle() const {
    return fState->dialogHandle;
}

void TApplication::SetDialogHandle(int32_t value) {
    fState->dialogHandle = value;
}

bool TApplication::UpdateFormatSettings() const {
    return fState->updateFormatSettings;
}

void TApplication::SetUpdateFormatSettings(bool value) {
    fState->updateFormatSettings = value;
}

// ---- hints ----

const std::string& TApplication::Hint() const {
    return fState->hint;
}

void TApplication::SetHint(const std::string& value) {
    if (value == fState->hint) return;
    fState->hint = value;
    if (OnHint) OnHint(this);
}

bool TApplication::ShowHint() const {
    return fState->showHint;
}

void TApplication::SetShowHint(bool value) {
    if (value == fState->showHint) return;
    fState->showHint = value;
    for (int i = 0; i < Screen().FormCount(); ++i) Screen().Forms(i)->SetHint(Screen().Forms(i)->Hint());
}

TColor TApplication::HintColor() const {
    return fState->hintColor;
}

void TApplication::SetHintColor(TColor value) {
    fState->hintColor = value;
    QPalette p = QToolTip::palette();
    p.setColor(QPalette::ToolTipBase, ToQColor(value));
    QToolTip::setPalette(p);
}

int TApplication::HintPause() const {
    return fState->hintPause;
}
void TApplication::SetHintPause(int value) {
    fState->hintPause = value;
}
int TApplication::HintShortPause() const {
    return fState->hintShortPause;
}
void TApplication::SetHintShortPause(int value) {
    fState->hintShortPause = value;
}
int TApplication::HintHidePause() const {
    return fState->hintHidePause;
}
void TApplication::SetHintHidePause(int value) {
    fState->hintHidePause = value;
}

void TApplication::CancelHint() {
    QToolTip::hideText();
}

void TApplication::HideHint() {
    QToolTip::hideText();
}

// ---- main form, title, help ----

TForm* TApplication::MainForm() const {
    return fState->mainForm;
}

bool TApplication::ShowMainForm() const {
    return fState->showMainForm;
}

void TApplication::SetShowMainForm(bool value) {
    fState->showMainForm = value;
}

const std::string& TApplication::Title() const {
    return fState->title;
}

void TApplication::SetTitle(const std::string& value) {
    fState->title = value;
}

const std::string& TApplication::HelpFile() const {
    return fState->helpFile;
}

void TApplication::SetHelpFile(const std::string& value) {
    fState->helpFile = value;
}

bool TApplication::HelpCommand(int Command, int32_t Data) {
    bool callHelp = true;
    return OnHelp ? OnHelp(static_cast<uint16_t>(Command), Data, callHelp) : false;
}

bool TApplication::HelpContext(int32_t Context) {
    constexpr int kHelpContext = 1;
    return HelpCommand(kHelpContext, Context);
}

bool TApplication::HelpJump(const std::string& JumpID) {
    constexpr int kHelpCommand = 0x0102;
    return HelpCommand(kHelpCommand, 0);
}

void TApplication::ControlDestroyed(TControl* Control) {
    if (fState->mainForm == Control) fState->mainForm = nullptr;
}

}  // namespace tv

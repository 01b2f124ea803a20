#include "core/forms/entry_routine.h"

#include <clocale>
#include <csignal>
#include <iostream>
#include <memory>

#include "core/app_logger.h"
#include "core/app_names.h"
#include "core/app_params.h"
#include "core/app_startup.h"
#include "core/command_line_usage.h"
#include "core/dm_pipes.h"
#include "core/environment_info.h"
#include "core/event_tree.h"
#include "core/forms/main_form.h"
#include "core/main_dm.h"
#include "core/provisioning.h"
#include "platform/gui/application.h"
#include "platform/gui/gui_dialog_service.h"
#include "platform/gui/main_thread_bridge.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format_settings.h"

namespace tv {
namespace {

// What the entry routine installs for the length of the run, taken back at its end.
struct TRunServices {
    TGuiDialogService dialogs;
    TRunServices() {
        Application().Initialize();
        // The toolkit took the user's locale for the C library; numbers never go through it.
        std::setlocale(LC_NUMERIC, "C");
        ConnectMainThreadQueue();
        SetDialogService(&dialogs);
        // A message an unattended run did not show still reaches the log.
        HeadlessDialogService().SetReport([](std::string_view caption, std::string_view text) {
            AppLogger().LogWarn(caption.empty() ? std::string(text)
                                                : std::string(caption) + ": " + std::string(text));
        });
        // Exceptions inside the message loop are logged, then reported as the application does.
        Application().OnException = [](TObject*, const std::exception& e) {
            AppLogger().LogError("", e);
            Application().ShowException(e);
        };
    }
    ~TRunServices() {
        Application().OnException = nullptr;
        HeadlessDialogService().SetReport(nullptr);
        SetDialogService(nullptr);
        DisconnectMainThreadQueue();
    }
};

}  // namespace

int RunEntryRoutine(const std::vector<std::string>& args, const TMainFormServices& services) {
    // A reader that went away (a closed standard error, a peer of a socket) is an error to report,
    // never a signal that ends the process unannounced. Started programs get the default again.
    std::signal(SIGPIPE, SIG_IGN);
    // What the units set up before the entry routine: the parameters, the format settings from the
    // user's locale, the environment facts, the start-up logger, the collected parameter list and
    // the hand-off client.
    SetAppParams(args, GetCurrentDir());
    DefaultFormatSettings();
    RecordStartupEnvironment();
    // Named before the logger starts, so that a log file without a folder lands in the product
    // folder ("Brismark/Tollvane"), not in one named after an empty product.
    SetAppProductName(kAppProductName);
    SetApplicationTitle(kAppProductName);
    if (AsksForUsage(args)) return PrintUsage();
    EchoErrorsWhenOnTerminal();
    CreateStartupLogger();
    InitAppStartup(args);

    int exitCode = 0;
    try {
        TRunServices run;
        Application().SetTitle(std::string(kAppProductName));

        // The data modules in their order; the event tree's model comes first, as TMainDM reports
        // into it. (The script-catalog module joins the engines' and the plug-in host's here when
        // its subsystem arrives.)
        TEventTree events;
        auto mainDM = std::make_unique<TMainDM>(events);
        SetMainDM(mainDM.get());
        auto pipes = std::make_unique<TDMPipes>(nullptr, AppStartup());
        std::shared_ptr<void> modules;
        if (services.CreateDataModules)
            modules = services.CreateDataModules(*mainDM, [] {
                TForm* main = Application().MainForm();
                return main ? main->Widget() : nullptr;
            });
        // What a command handed over by a second start does to this window.
        AppStartup().RestoreApplication = [] {
            Application().Restore();
            TForm* main = Application().MainForm();
            if (main && Application().ShowMainForm() && !main->Visible()) main->Show();
            Application().BringToFront();
        };

        if (IsProvisioningRun()) {
            if (!mainDM->Setup()) exitCode = 1;
        } else {
            SetCurrentDir(ProgramFolder());
            TMainForm* form = Application().CreateForm<TMainForm>(*mainDM, *pipes, events, services);
            // Without a display nobody can ever use the window (and nothing hands a command over):
            // the run ends here instead of waiting for ever.
            const bool noWindow = !form->TerminateRequested() && ScreenlessRun();
            if (noWindow) {
                AppLogger().LogWarn(kLogNoDisplay);
                Application().Terminate();
            }
            Application().Run();
            AppLogger().LogInfo(kLogEnd);
            if (form->TerminateRequested()) exitCode = form->ExitCode();
            if (noWindow) exitCode = form->Runner().AnyJobRan() ? form->ExitCode() : 1;
            delete form;
        }
        AppStartup().RestoreApplication = nullptr;
        modules.reset();
        pipes.reset();
        SetMainDM(nullptr);
        mainDM.reset();
    } catch (const std::exception& e) {
        AppLogger().LogFatal(kLogFailed, e);
        if (!TerminalEcho()) std::cerr << kLogFailed << ": " << e.what() << std::endl;
        exitCode = 1;
    }
    return exitCode;
}

}  // namespace tv

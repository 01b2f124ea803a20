#pragma once
// The application logger: a facade over the log4cplus logger "quorvel", configured from a
// "log4d.props" file. One global instance: created at start from the file beside the program, then
// replaced by one configured from the instance's copy in the settings root, whose appender "Fil1"
// writes <root>/logs/log.txt.

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

inline constexpr std::string_view kLoggerName = "quorvel";
inline constexpr std::string_view kLogConfigFileName = "log4d.props";
inline constexpr std::string_view kFil1FileNameKey = "log4d.appender.Fil1.fileName=";
inline constexpr std::string_view kLogFailedToCreateLogger = "Failed to create logger";

class TAppLogger {
public:
    // Configures logging from GetConfigFile().
    TAppLogger();
    // Configures logging from `configFile` (the previous configuration is closed first). A file
    // that cannot be read raises EInOutError or EFOpenError.
    explicit TAppLogger(const std::string& configFile);

    // The program's folder + "log4d.props".
    static std::string GetConfigFile();
    // Copies `source` to `target`, every line beginning exactly "log4d.appender.Fil1.fileName="
    // replaced by that key and `logFile`.
    static void AdjustLogfileEntries(const std::string& source, const std::string& target,
                                     const std::string& logFile);

    // What the configuration file reported as left out.
    const std::vector<std::string>& ConfigurationWarnings() const { return warnings_; }

    void LogDebug(std::string_view message);
    void LogDebug(std::string_view message, const std::exception& e);
    void LogExcessive(std::string_view message);
    void LogExcessive(std::string_view message, const std::exception& e);
    void LogResource(std::string_view message);
    void LogInfo(std::string_view message);
    void LogWarn(std::string_view message);
    void LogWarn(std::string_view message, const std::exception& e);
    void LogError(std::string_view message);
    void LogError(std::string_view message, const std::exception& e);
    void LogFatal(std::string_view message);
    void LogFatal(std::string_view message, const std::exception& e);
    void LogTrace(std::string_view procedure, std::string_view message);  // "[%s]::%s"
    // These never raise: a failure of the logging itself is dropped.
    void LogProcedureEntry(std::string_view procedure) noexcept;  // "[%s]::Entering"
    void LogProcedureExit(std::string_view procedure) noexcept;   // "[%s]::Exiting"
    void LogProcedureMessage(std::string_view procedure, std::string_view message) noexcept;
    void LogProcedureException(std::string_view procedure, const std::exception& e) noexcept;
    void LogProcedureException(std::string_view procedure, std::string_view message,
                               const std::exception& e) noexcept;
    void LogProcedureInformation(std::string_view message, const std::exception& e) noexcept;
    // A line of 52 "-", "Startar %s ", and the line of 52 "-" again.
    void LogStartMessage(std::string_view applicationName);

private:
    friend TAppLogger& AppLogger();
    struct StandardError {};
    explicit TAppLogger(StandardError);

    std::vector<std::string> warnings_;
};

// The global logger. Until one is installed, a logger that writes to standard error.
TAppLogger& AppLogger();
void SetAppLogger(std::unique_ptr<TAppLogger> logger);

// While on, every logger configured from a file also writes the lines it logs at the error level
// and above to standard error, so that a run from a terminal shows why a job failed.
void SetTerminalEcho(bool on);
bool TerminalEcho();
// On exactly when standard error is a terminal.
void EchoErrorsWhenOnTerminal();

// At start: the global logger from the file beside the program; when that fails, a logger to
// standard error that records "Failed to create logger" with the reason.
void CreateStartupLogger();
// Once the instance is known: the settings root's "log4d.props" (copied from the program's, its
// "Fil1" pointed at <root>/logs/log.txt, when missing) configures a new global logger. A failure is
// logged as "Failed to create logger" and the logger in use stays.
void UpdateLogInstance();

}  // namespace tv

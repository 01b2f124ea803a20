#include "core/app_logger.h"

#include <log4cplus/configurator.h>
#include <log4cplus/consoleappender.h>
#include <log4cplus/hierarchy.h>
#include <log4cplus/initializer.h>
#include <log4cplus/layout.h>
#include <log4cplus/logger.h>
#include <log4cplus/loglevel.h>

#include <iostream>

#include "core/log4d_properties.h"
#include "core/settings_folders.h"
#include "core/settings_root.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/text_file.h"

namespace tv {
namespace {

constexpr std::string_view kStartLine = "----------------------------------------------------";  // 52

void InitializeLibrary() {
    static log4cplus::Initializer initializer;
}

log4cplus::Logger TheLogger() {
    InitializeLibrary();
    return log4cplus::Logger::getInstance(std::string(kLoggerName));
}

void Write(log4cplus::LogLevel level, std::string_view message) {
    log4cplus::Logger logger = TheLogger();
    if (logger.isEnabledFor(level)) logger.forcedLog(level, std::string(message));
}

std::string WithException(std::string_view message, const std::exception& e) {
    std::string text(message);
    // A message ending in ": " ("Fel uppstod vid script: ") already leads into the exception.
    if (!text.empty() && !text.ends_with(": ")) text += ": ";
    if (auto* ours = dynamic_cast<const Exception*>(&e)) text += std::string(ours->ClassName()) + ": ";
    text += e.what();
    return text;
}

// The procedure loggers drop a failure of the logging itself, so that the code they trace goes on.
template <typename F>
void Quietly(F&& log) noexcept {
    try {
        log();
    } catch (...) {
    }
}

// Logging to standard error, for the time before a configuration file has been read.
void ConfigureStandardError() {
    InitializeLibrary();
    log4cplus::Logger::getDefaultHierarchy().resetConfiguration();
    log4cplus::SharedAppenderPtr appender(new log4cplus::ConsoleAppender(true, true));
    appender->setLayout(std::make_unique<log4cplus::PatternLayout>("%D{%Y-%m-%d %H:%M:%S.%q} %-5p %m%n"));
    log4cplus::Logger::getRoot().addAppender(appender);
    log4cplus::Logger::getRoot().setLogLevel(log4cplus::INFO_LOG_LEVEL);
}

std::unique_ptr<TAppLogger>& GlobalLogger() {
    static std::unique_ptr<TAppLogger> logger;
    return logger;
}

}  // namespace

TAppLogger::TAppLogger() : TAppLogger(GetConfigFile()) {}

TAppLogger::TAppLogger(StandardError) {
    ConfigureStandardError();
}

TAppLogger::TAppLogger(const std::string& configFile) {
    InitializeLibrary();
    const std::string text = ReadTextFile(configFile);
    TLog4dTranslation translation =
        TranslateLog4dProperties(text, [] { return GetCommonAppDataAppFolder(true); });
    log4cplus::helpers::Properties properties;
    for (const auto& [key, value] : translation.Properties) properties.setProperty(key, value);
    log4cplus::Logger::getDefaultHierarchy().resetConfiguration();
    log4cplus::PropertyConfigurator configurator(properties);
    configurator.configure();
    warnings_ = std::move(translation.Warnings);
    for (const auto& warning : warnings_) LogWarn(configFile + ": " + warning);
}

std::string TAppLogger::GetConfigFile() {
    return ProgramFolder() + std::string(kLogConfigFileName);
}

void TAppLogger::AdjustLogfileEntries(const std::string& source, const std::string& target,
                                      const std::string& logFile) {
    TextEncoding encoding;
    std::string text = ReadTextFile(source, &encoding);
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string_view line(text.data() + pos, end - pos);
        if (line.starts_with(kFil1FileNameKey)) {
            std::string_view ending = line.ends_with("\r\n") ? "\r\n" : line.ends_with('\n') ? "\n" : "";
            out += std::string(kFil1FileNameKey) + logFile + std::string(ending);
        } else {
            out += line;
        }
        pos = end;
    }
    WriteFileBytesReplacing(target, EncodeTextBytes(out, encoding));
}

void TAppLogger::LogDebug(std::string_view message) {
    Write(log4cplus::DEBUG_LOG_LEVEL, message);
}
void TAppLogger::LogDebug(std::string_view message, const std::exception& e) {
    Write(log4cplus::DEBUG_LOG_LEVEL, WithException(message, e));
}
void TAppLogger::LogExcessive(std::string_view message) {
    Write(log4cplus::DEBUG_LOG_LEVEL, message);
}
void TAppLogger::LogExcessive(std::string_view message, const std::exception& e) {
    Write(log4cplus::DEBUG_LOG_LEVEL, WithException(message, e));
}
void TAppLogger::LogResource(std::string_view message) {
    Write(log4cplus::DEBUG_LOG_LEVEL, message);
}
void TAppLogger::LogInfo(std::string_view message) {
    Write(log4cplus::INFO_LOG_LEVEL, message);
}
void TAppLogger::LogWarn(std::string_view message) {
    Write(log4cplus::WARN_LOG_LEVEL, message);
}
void TAppLogger::LogWarn(std::string_view message, const std::exception& e) {
    Write(log4cplus::WARN_LOG_LEVEL, WithException(message, e));
}
void TAppLogger::LogError(std::string_view message) {
    Write(log4cplus::ERROR_LOG_LEVEL, message);
}
void TAppLogger::LogError(std::string_view message, const std::exception& e) {
    Write(log4cplus::ERROR_LOG_LEVEL, WithException(message, e));
}
void TAppLogger::LogFatal(std::string_view message) {
    Write(log4cplus::FATAL_LOG_LEVEL, message);
}
void TAppLogger::LogFatal(std::string_view message, const std::exception& e) {
    Write(log4cplus::FATAL_LOG_LEVEL, WithException(message, e));
}
void TAppLogger::LogTrace(std::string_view procedure, std::string_view message) {
    Write(log4cplus::TRACE_LOG_LEVEL, Format("[%s]::%s", {procedure, message}));
}

void TAppLogger::LogProcedureEntry(std::string_view procedure) noexcept {
    Quietly([&] { Write(log4cplus::DEBUG_LOG_LEVEL, Format("[%s]::Entering", {procedure})); });
}
void TAppLogger::LogProcedureExit(std::string_view procedure) noexcept {
    Quietly([&] { Write(log4cplus::DEBUG_LOG_LEVEL, Format("[%s]::Exiting", {procedure})); });
}
void TAppLogger::LogProcedureMessage(std::string_view procedure, std::string_view message) noexcept {
    Quietly([&] { Write(log4cplus::DEBUG_LOG_LEVEL, Format("[%s]::%s", {procedure, message})); });
}
void TAppLogger::LogProcedureException(std::string_view procedure, const std::exception& e) noexcept {
    Quietly([&] { Write(log4cplus::ERROR_LOG_LEVEL, WithException(procedure, e)); });
}
void TAppLogger::LogProcedureException(std::string_view procedure, std::string_view message,
                                       const std::exception& e) noexcept {
    Quietly([&] {
        Write(log4cplus::ERROR_LOG_LEVEL,
              WithException(std::string(procedure) + "::" + std::string(message), e));
    });
}
void TAppLogger::LogProcedureInformation(std::string_view message, const std::exception& e) noexcept {
    Quietly([&] { Write(log4cplus::INFO_LOG_LEVEL, WithException(message, e)); });
}

void TAppLogger::LogStartMessage(std::string_view applicationName) {
    LogInfo(kStartLine);
    LogInfo(Format("Startar %s ", {applicationName}));
    LogInfo(kStartLine);
}

TAppLogger& AppLogger() {
    auto& logger = GlobalLogger();
    if (!logger) logger.reset(new TAppLogger(TAppLogger::StandardError{}));
    return *logger;
}

void SetAppLogger(std::unique_ptr<TAppLogger> logger) {
    GlobalLogger() = std::move(logger);
}

void CreateStartupLogger() {
    try {
        SetAppLogger(std::make_unique<TAppLogger>());
    } catch (const std::exception& e) {
        SetAppLogger(nullptr);
        AppLogger().LogError(kLogFailedToCreateLogger, e);
    }
}

void UpdateLogInstance() {
    try {
        MakeSettingsRootPrivate();
        const std::string root = GetPrefsFolder("");
        const std::string target = root + std::string(kLogConfigFileName);
        const std::string logFolder = root + "logs";
        if (!FileExists(target)) {
            ForceDirectories(logFolder);
            TAppLogger::AdjustLogfileEntries(TAppLogger::GetConfigFile(), target, logFolder + "/log.txt");
        }
        SetAppLogger(std::make_unique<TAppLogger>(target));
    } catch (const std::exception& e) {
        AppLogger().LogError(kLogFailedToCreateLogger, e);
    }
}

}  // namespace tv

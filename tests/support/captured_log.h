#pragma once
// Points the application logger at a file of a test's own, one "LEVEL message" line per event,
// every level included, and reads back what was logged.

#include <memory>
#include <string>

#include "core/app_logger.h"
#include "tests/support/temp_dir.h"

namespace tv::test {

class CapturedLog {
public:
    CapturedLog() {
        std::string config = dir_.Write("capture.props",
                                        "log4d.rootLogger=ALL,Cap\n"
                                        "log4d.appender.Cap=TLogFileAppender\n"
                                        "log4d.appender.Cap.fileName=" +
                                            dir_.Path("captured.log") +
                                            "\n"
                                            "log4d.appender.Cap.layout=TLogPatternLayout\n"
                                            "log4d.appender.Cap.layout.pattern=%p %m%n\n");
        SetAppLogger(std::make_unique<TAppLogger>(config));
    }
    ~CapturedLog() { SetAppLogger(nullptr); }
    std::string Text() const {
        return dir_.Exists("captured.log") ? dir_.Read("captured.log") : std::string();
    }

private:
    TempDir dir_;
};

}  // namespace tv::test

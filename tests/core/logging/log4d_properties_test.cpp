// The translation of "log4d.props" into log4cplus's properties.

#include <gtest/gtest.h>

#include "core/log4d_properties.h"

namespace tv {
namespace {

struct PatternCase {
    const char* log4d;
    const char* log4cplus;
};
constexpr PatternCase kPatternCases[] = {
    {"%d{yyyy-mm-dd hh:nn:ss.zzz} %-5p %m%n", "%D{%Y-%m-%d %H:%M:%S.%q} %-5p %m%n"},
    {"%d{hh:mm:ss} %c - %m%n", "%D{%H:%M:%S} %c - %m%n"},  // "mm" after "hh" is minutes
    {"%d{dd/mm/yy} %t %x %r %m", "%D{%d/%m/%y} %t %x %r %m"},
    {"%d %p %m%n", "%D{%Y-%m-%d %H:%M:%S} %p %m%n"},
    {"%d{'at' hh'h'} %m %e", "%D{at %Hh} %m "},
    {"100%% %m", "100%% %m"},
};

TEST(Log4dProperties, PatternsKeepTheirLettersAndDatesBecomeLocalStrftime) {
    for (const auto& c : kPatternCases) EXPECT_EQ(TranslateLog4dPattern(c.log4d), c.log4cplus) << c.log4d;
}

std::string Joined(const TLog4dTranslation& t) {
    std::string out;
    for (const auto& [k, v] : t.Properties) out += k + "=" + v + "\n";
    return out;
}

TEST(Log4dProperties, KeysClassesAndOptionsAreTranslated) {
    int asked = 0;
    auto t = TranslateLog4dProperties(
        "# comment\r\n"
        "log4d.rootLogger=debug,Fil1,Con\r\n"
        "log4d.logger.quorvel.sql=warn\r\n"
        "log4d.additivity.quorvel.sql=false\r\n"
        "log4d.appender.Fil1=TLogRollingFileAppender\r\n"
        "log4d.appender.Fil1.fileName=log.txt\r\n"
        "log4d.appender.Fil1.maxFileSize=8MB\r\n"
        "log4d.appender.Fil1.maxBackupIndex=5\r\n"
        "log4d.appender.Fil1.threshold=info\r\n"
        "log4d.appender.Fil1.layout=TLogPatternLayout\r\n"
        "log4d.appender.Fil1.layout.pattern=%d{hh:nn} %m%n\r\n"
        "log4d.appender.Con=TLogODSAppender\r\n"
        "log4d.appender.Con.layout=TLogSimpleLayout\r\n"
        "log4d.appender.Abs=TLogFileAppender\r\n"
        "log4d.appender.Abs.fileName=/var/log/x.txt\r\n"
        "log4d.appender.Abs.append=false\r\n",
        [&] {
            ++asked;
            return std::string("/data/Brismark/Tollvane/");
        });
    EXPECT_EQ(Joined(t),
              "log4cplus.rootLogger=DEBUG,Fil1,Con\n"
              "log4cplus.logger.quorvel.sql=WARN\n"
              "log4cplus.additivity.quorvel.sql=false\n"
              "log4cplus.appender.Fil1=log4cplus::RollingFileAppender\n"
              "log4cplus.appender.Fil1.CreateDirs=true\n"
              "log4cplus.appender.Fil1.File=/data/Brismark/Tollvane/log.txt\n"
              "log4cplus.appender.Fil1.MaxFileSize=8MB\n"
              "log4cplus.appender.Fil1.MaxBackupIndex=5\n"
              "log4cplus.appender.Fil1.Threshold=INFO\n"
              "log4cplus.appender.Fil1.layout=log4cplus::PatternLayout\n"
              "log4cplus.appender.Fil1.layout.ConversionPattern=%D{%H:%M} %m%n\n"
              "log4cplus.appender.Con=log4cplus::ConsoleAppender\n"
              "log4cplus.appender.Con.logToStdErr=true\n"
              "log4cplus.appender.Con.layout=log4cplus::SimpleLayout\n"
              "log4cplus.appender.Abs=log4cplus::FileAppender\n"
              "log4cplus.appender.Abs.CreateDirs=true\n"
              "log4cplus.appender.Abs.File=/var/log/x.txt\n"
              "log4cplus.appender.Abs.Append=false\n"
              "log4cplus.appender.Abs.UseLockFile=true\n"  // processes of an instance share a file
              "log4cplus.appender.Fil1.Append=true\n"      // files are continued unless told otherwise
              "log4cplus.appender.Fil1.UseLockFile=true\n");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(t.Warnings.empty());
}

TEST(Log4dProperties, WhatHasNoCounterpartIsLeftOutAndReported) {
    auto t = TranslateLog4dProperties(
        "log4j.rootLogger=INFO\n"
        "log4d.appender.X=TLogSocketAppender\n"
        "log4d.appender.Y=TLogFileAppender\n"
        "log4d.appender.Y.layout=TLogHTMLLayout\n"
        "log4d.appender.Y.colour=red\n"
        "log4d.threshold=info\n"
        "no equals sign\n",
        [] { return std::string("/p/"); });
    EXPECT_EQ(t.Warnings.size(), 6u);
    EXPECT_EQ(Joined(t),
              "log4cplus.appender.Y=log4cplus::FileAppender\n"
              "log4cplus.appender.Y.CreateDirs=true\n"
              "log4cplus.appender.Y.layout=log4cplus::SimpleLayout\n"
              "log4cplus.appender.Y.Append=true\n"
              "log4cplus.appender.Y.UseLockFile=true\n");
}

}  // namespace
}  // namespace tv

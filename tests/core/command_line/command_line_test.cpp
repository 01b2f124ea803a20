// Parsing job commands: the integration-menu switches as fields, other switches as lines, Linux
// paths as values, and the text after "/stdin".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/xml_command_helper.h"

namespace tv {
namespace {

struct ParseCase {
    const char* rule;
    std::string text;
    std::vector<std::string> params;
    int reg = kRegisterAbsent;
    std::string company, commonFiles, id, prg;
};

const ParseCase kParseCases[] = {
    {"the menu command, one parameter per line",
     "/ftg\r\nC:\\Data\r\n/register\r\n12\r\n/id\r\nK-1001\r\n/runscript\r\nexport\\default_smart.pas\r\n/"
     "nevershutdown\r\n",
     {"/runscript=export/default_smart.pas", "/nevershutdown="},
     12,
     "C:\\Data",
     "",
     "K-1001"},
    {"the same command on one line",
     "/ftg C:\\Data /register 12 /id K-1001 /runscript export\\default_smart.pas /nevershutdown",
     {"/runscript=export/default_smart.pas", "/nevershutdown="},
     12,
     "C:\\Data",
     "",
     "K-1001"},
    {"Linux paths are values",
     "/ftg\n/home/anna/ftg "
     "1\n/gemfiler\n/srv/gemensamma/\n/runscript\n/opt/tv/scripts/x.pas\n/workfolder\n/srv/wf\n",
     {"/runscript=/opt/tv/scripts/x.pas", "/workfolder=/srv/wf"},
     kRegisterAbsent,
     "/home/anna/ftg 1",
     "/srv/gemensamma/"},
    {"a register that is no number", "/register\nabc\n", {}, kRegisterInvalid},
    {"a register without a value", "/register\n/import\n", {"/import="}, kRegisterInvalid},
    {"no register at all", "/import\n", {"/import="}, kRegisterAbsent},
    {"a switch beginning with /id is the identity",
     "/identity\nK-9\n/prg\nadm\n",
     {},
     kRegisterAbsent,
     "",
     "",
     "K-9",
     "adm"},
    {"the menu switches are told apart with their letter case", "/REGISTER\n12\n", {"/REGISTER=12"}},
    {"'-' and '--' are switch marks too", "-import\n--export\n-register\n3\n", {"/import=", "/export="}, 3},
    {"a value after '='",
     "/runscript=export\\a.pas\n--runscript=/srv/b.pas\n",
     {"/runscript=export/a.pas", "/runscript=/srv/b.pas"}},
    {"an unknown switch needs '=value'",
     "/myflag=on\n/runscript\nmy\n/foo\n",
     {"/myflag=on", "/runscript=my /foo"}},
    {"text before the first switch is ignored", "stray\n/import\n", {"/import="}},
    {"quotes group on one line",
     "/ftg \"/home/a/My Company\" /runscript 'my script.pas'",
     {"/runscript=my script.pas"},
     kRegisterAbsent,
     "/home/a/My Company"},
    {"values lose surrounding blanks and control characters",
     "/id\n  K-1 \t\n/nevershutdown\n",
     {"/nevershutdown="},
     kRegisterAbsent,
     "",
     "",
     "K-1"},
    {"a path whose first part looks like a switch is still a value",
     "/ftg\n/import/ftg\n",
     {},
     kRegisterAbsent,
     "/import/ftg"},
    {"nothing", "", {}},
};

std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list.Strings(i));
    return v;
}

TEST(CommandLine, ParsesSwitchesIntoFieldsAndLines) {
    for (const auto& c : kParseCases) {
        TXmlCommandHelper cmd(c.text);
        EXPECT_EQ(Lines(cmd.Params()), c.params) << c.rule;
        EXPECT_EQ(cmd.Register(), c.reg) << c.rule;
        EXPECT_EQ(cmd.CompanyFolder(), c.company) << c.rule;
        EXPECT_EQ(cmd.CommonFiles(), c.commonFiles) << c.rule;
        EXPECT_EQ(cmd.UniqueID(), c.id) << c.rule;
        EXPECT_EQ(cmd.Prg(), c.prg) << c.rule;
        EXPECT_EQ(cmd.ParamList(), "") << c.rule;
    }
}

TEST(CommandLine, WhatTheCommandDoesNotTakeIsKeptToBeReported) {
    struct IgnoredCase {
        const char* rule;
        const char* text;
        std::vector<std::string> params, ignored;
    };
    const IgnoredCase cases[] = {
        {"an unknown switch after a switch without a value", "/import\n/frobnicate\n", {"/import="}, {"/frobnicate"}},
        {"an unknown switch first", "-frobnicate\n/export\n", {"/export="}, {"-frobnicate"}},
        {"text before the first switch", "stray\n/import\n", {"/import="}, {"stray"}},
        {"an unknown switch after a value joins it", "/runscript\nmy\n/foo\n", {"/runscript=my /foo"}, {}},
        {"a path is a value", "/workfolder\n/srv/wf\n", {"/workfolder=/srv/wf"}, {}},
        {"name=value is a switch of its own", "/nevershutdown\n/myflag=on\n", {"/nevershutdown=", "/myflag=on"}, {}},
    };
    for (const auto& c : cases) {
        TXmlCommandHelper cmd(c.text);
        EXPECT_EQ(Lines(cmd.Params()), c.params) << c.rule;
        EXPECT_EQ(cmd.Ignored(), c.ignored) << c.rule;
        EXPECT_EQ(cmd.Clone()->Ignored(), c.ignored) << c.rule;
    }
}

TEST(CommandLine, TheEntriesOfAListAreArgumentsEvenWithBlanks) {
    TStringList list;
    for (const char* s : {"/ftg", "/home/a/b c", "/register", "5", "/runscript", "a b.pas"}) list.Add(s);
    TAdkCommandLine cmd(list);
    EXPECT_EQ(cmd.CompanyFolder(), "/home/a/b c");
    EXPECT_EQ(cmd.Register(), 5);
    EXPECT_EQ(Lines(cmd.Params()), std::vector<std::string>{"/runscript=a b.pas"});
}

TEST(CommandLine, TheTextAfterStdinIsKeptAndNeverReadAsSwitches) {
    // What a second start with two piped lines hands over, as the collected list's text.
    TXmlCommandHelper cmd("/import\r\n/stdin rad 1\r\n/export\r\n");
    EXPECT_EQ(Lines(cmd.Params()), (std::vector<std::string>{"/import=", "/stdin="}));
    EXPECT_EQ(cmd.ParamList(), "rad 1\r\n/export\r\n");
    EXPECT_EQ(cmd.IndexOf("/export"), -1);

    TXmlCommandHelper plain("/import /stdin");
    EXPECT_EQ(plain.ParamList(), "");
    EXPECT_EQ(plain.IndexOf("/stdin"), 1);

    TXmlCommandHelper path("/ftg\n/home/stdin\n");
    EXPECT_EQ(path.CompanyFolder(), "/home/stdin") << "only a switch at the start of an argument counts";
}

TEST(CommandLine, IndexOfFindsTheFirstLineByPrefixInAnyCase) {
    TXmlCommandHelper cmd("/export\n/IMPORT\n/runscript\nx.pas\n");
    EXPECT_EQ(cmd.IndexOf("/import"), 1);
    EXPECT_EQ(cmd.IndexOf("/RunScript"), 2);
    EXPECT_EQ(cmd.Params().ValueFromIndex(2), "x.pas");
    EXPECT_EQ(cmd.IndexOf("/nevershutdown"), -1);
}

TEST(CommandLine, CloneCopiesEverythingButTheStdinTextAndClearKeepsTheFields) {
    TXmlCommandHelper cmd("/ftg\n/f\n/register\n4\n/id\nX\n/gemfiler\n/g\n/prg\np\n/import\n/stdin piped");
    auto copy = cmd.Clone();
    EXPECT_EQ(Lines(copy->Params()), Lines(cmd.Params()));
    EXPECT_EQ(copy->Register(), 4);
    EXPECT_EQ(copy->CompanyFolder(), "/f");
    EXPECT_EQ(copy->CommonFiles(), "/g");
    EXPECT_EQ(copy->UniqueID(), "X");
    EXPECT_EQ(copy->Prg(), "p");
    EXPECT_EQ(cmd.ParamList(), "piped");
    EXPECT_EQ(copy->ParamList(), "");

    copy->Clear();
    EXPECT_EQ(copy->Params().Count(), 0);
    EXPECT_EQ(copy->Register(), 4);
    EXPECT_EQ(Lines(cmd.Params()).size(), 2u) << "the original keeps its lines";
}

}  // namespace
}  // namespace tv

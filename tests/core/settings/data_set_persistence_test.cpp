// The text-table and INI forms of a dataset: exact bytes written, what reading gives back, and a
// bad value that no longer stops a load.

#include <gtest/gtest.h>

#include <memory>

#include "core/data_set_persistence.h"
#include "platform/data/client_data_set.h"
#include "platform/rtl/date_time.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

const TFormatSettings kNeutral{};

struct FieldRow {
    const char* name;
    TFieldType type;
    int size;
};

std::unique_ptr<TClientDataSet> MakeTable(std::initializer_list<FieldRow> fields) {
    auto table = std::make_unique<TClientDataSet>();
    table->SetFormatSettings(&kNeutral);
    for (const auto& f : fields) table->FieldDefs().Add(f.name, f.type, f.size);
    table->CreateDataSet();
    return table;
}

// The shape of "sqlqueries.txt".
std::unique_ptr<TClientDataSet> QueryTable() {
    return MakeTable({{"SQL_QUERY_NAME", TFieldType::ftString, 50},
                      {"SQL_QUERY", TFieldType::ftMemo, 0},
                      {"SQL_FILE_MANAGEMENT_TMPL", TFieldType::ftString, 1024},
                      {"SQL_FILE_DATE_FORMAT", TFieldType::ftString, 30},
                      {"SQL_INCLUDE_METADATA", TFieldType::ftBoolean, 0}});
}

// Appends a record; nullptr leaves a field empty.
void AddRow(TDataSet& table, std::initializer_list<const char*> values) {
    table.Append();
    int i = 0;
    for (const char* value : values) {
        if (value) table.Fields(i).SetAsString(value);
        ++i;
    }
    table.Post();
}

std::vector<std::string> Column(TDataSet& table, const char* field) {
    std::vector<std::string> values;
    for (table.First(); !table.Eof(); table.Next())
        values.push_back(table.FieldByName(field).IsNull() ? "<null>" : table.FieldByName(field).AsString());
    return values;
}

TEST(TextTable, WritesOneEscapedLinePerRecordWithoutHeader) {
    auto table = QueryTable();
    AddRow(*table, {"Kunder", "select *\r\nfrom kund\twhere namn = \"A\\B\"", "$exportdatum.xml", "yyyymmdd",
                    "True"});
    AddRow(*table, {"Tom", nullptr, nullptr, nullptr, "False"});
    // A separator in any value is written so that it cannot shift the columns after it.
    AddRow(*table, {"Semi", "select 1; select 2;", "a;b", "", nullptr});
    test::TempDir dir;
    ASSERT_TRUE(SaveDataSetToText(*table, dir.Path("sqlqueries.txt"), ';', false));
    EXPECT_EQ(
        dir.Read("sqlqueries.txt"),
        "Kunder;select *\\r\\nfrom kund\\twhere namn = \\\"A\\\\B\\\";$exportdatum.xml;yyyymmdd;True\r\n"
        "Tom;;;;False\r\n"
        "Semi;select 1\\x3B select 2\\x3B;a\\x3Bb;;\r\n");

    auto back = QueryTable();
    ASSERT_TRUE(LoadDataSetFromText(back.get(), dir.Path("sqlqueries.txt"), ';', false));
    EXPECT_EQ(Column(*back, "SQL_QUERY"),
              (std::vector<std::string>{"select *\r\nfrom kund\twhere namn = \"A\\B\"", "<null>",
                                        "select 1; select 2;"}));
    EXPECT_EQ(Column(*back, "SQL_FILE_MANAGEMENT_TMPL"),
              (std::vector<std::string>{"$exportdatum.xml", "<null>", "a;b"}));
    EXPECT_EQ(Column(*back, "SQL_INCLUDE_METADATA"), (std::vector<std::string>{"True", "False", "<null>"}));
}

TEST(TextTable, FilesWrittenBeforeReadAsTheyAlwaysDid) {
    test::TempDir dir;
    // An escaped backslash before "x3B" is a backslash, not a separator; other backslashes of a
    // text stay as they are; a raw ";" in a query of an old file still ends its column.
    dir.Write("old.txt",
              "Lit;path \\\\x3B \\\\share;C:\\exports\\new;yy;True\r\n"
              "Cut;select 1;select 2;yyyy;False\r\n");
    auto table = QueryTable();
    ASSERT_TRUE(LoadDataSetFromText(table.get(), dir.Path("old.txt"), ';', false));
    EXPECT_EQ(Column(*table, "SQL_QUERY"), (std::vector<std::string>{"path \\x3B \\share", "select 1"}));
    EXPECT_EQ(Column(*table, "SQL_FILE_MANAGEMENT_TMPL"),
              (std::vector<std::string>{"C:\\exports\\new", "select 2"}));
    EXPECT_EQ(Column(*table, "SQL_FILE_DATE_FORMAT"), (std::vector<std::string>{"yy", "yyyy"}));
}

TEST(TextTable, HeaderLineNamesTheColumns) {
    auto prices = MakeTable({{"customernumber", TFieldType::ftString, 30},
                             {"customername", TFieldType::ftString, 60},
                             {"lopnr", TFieldType::ftLargeint, 0},
                             {"agreementref", TFieldType::ftString, 30}});
    AddRow(*prices, {"K1", "Åhlens AB", "12345678901", "AV-1"});
    test::TempDir dir;
    SaveDataSetToText(*prices, dir.Path("p.txt"), ';', true);
    EXPECT_EQ(dir.Read("p.txt"),
              "customernumber;customername;lopnr;agreementref\r\nK1;\xC5hlens AB;12345678901;AV-1\r\n");

    struct Case {
        const char* name;
        const char* text;
        const char* numbers;  // customernumber of each record
        const char* names;    // customername of each record
    };
    const Case kCases[] = {
        {"titles in another order and letter case", "CUSTOMERNAME;CustomerNumber\r\nAnna;K7\r\n", "K7",
         "Anna"},
        {"an unknown title's column is skipped", "customernumber;color;customername\r\nK8;red;Bo\r\n", "K8",
         "Bo"},
        {"the first empty title ends the columns", "customernumber;;customername\r\nK9;x;Cy\r\n", "K9",
         "<null>"},
        {"a line of separators is a record of empty fields", "customernumber;customername\r\n;\r\n", "<null>",
         "<null>"},
    };
    for (const auto& c : kCases) {
        auto table = MakeTable(
            {{"customernumber", TFieldType::ftString, 30}, {"customername", TFieldType::ftString, 60}});
        dir.Write("in.txt", c.text);
        ASSERT_TRUE(LoadDataSetFromText(table.get(), dir.Path("in.txt"), ';', true)) << c.name;
        EXPECT_EQ(Column(*table, "customernumber"), std::vector<std::string>{c.numbers}) << c.name;
        EXPECT_EQ(Column(*table, "customername"), std::vector<std::string>{c.names}) << c.name;
    }
}

TEST(TextTable, AClosedDataSetTakesItsFieldsFromTheFirstLine) {
    TStringList lines;
    lines.SetText("name ;value\r\nx;1\r\n");
    TClientDataSet closed;
    ASSERT_TRUE(LoadDataSetFromStrings(&closed, lines, ';', false));
    ASSERT_EQ(closed.FieldCount(), 2);
    EXPECT_EQ(closed.Fields(0).FieldName(), "name");
    EXPECT_EQ(closed.Fields(1).DataType(), TFieldType::ftString);
    EXPECT_EQ(closed.Fields(1).Size(), 255);
    // Without the header flag the line of names is a record too.
    EXPECT_EQ(Column(closed, "name"), (std::vector<std::string>{"name ", "x"}));

    TClientDataSet withHeader;
    ASSERT_TRUE(LoadDataSetFromStrings(&withHeader, lines, ';', true));
    EXPECT_EQ(Column(withHeader, "value"), std::vector<std::string>{"1"});
    EXPECT_EQ(withHeader.Fields(0).DisplayLabel(), "name ");

    TDataSet* spare = CreateStringDataSet(nullptr, "a;b;;c", ';');
    ASSERT_NE(spare, nullptr);
    EXPECT_EQ(spare->FieldCount(), 2);
}

TEST(TextTable, ReadsByByteOrderMarkAndWritesWindows1252) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case kCases[] = {
        {"Windows-1252", "\xE5\xE4\xF6;1\r\n"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF\xC3\xA5\xC3\xA4\xC3\xB6;1\r\n"},
        {"UTF-16 with a mark", std::string("\xFF\xFE\xE5\0\xE4\0\xF6\0;\0"
                                           "1\0\r\0\n\0",
                                           16)},
        {"line feeds only", "\xE5\xE4\xF6;1\n"},
    };
    test::TempDir dir;
    for (const auto& c : kCases) {
        auto table = MakeTable({{"A", TFieldType::ftString, 10}, {"B", TFieldType::ftInteger, 0}});
        dir.Write("in.txt", c.bytes);
        ASSERT_TRUE(LoadDataSetFromText(table.get(), dir.Path("in.txt"), ';', false)) << c.name;
        EXPECT_EQ(Column(*table, "A"), std::vector<std::string>{"åäö"}) << c.name;
        SaveDataSetToText(*table, dir.Path("out.txt"), ';', false);
        EXPECT_EQ(dir.Read("out.txt"), "\xE5\xE4\xF6;1\r\n") << c.name;
    }
    // A character Windows-1252 lacks is kept: the file is written as UTF-8 with a mark instead.
    auto table = MakeTable({{"A", TFieldType::ftString, 10}});
    AddRow(*table, {"ł€"});
    SaveDataSetToText(*table, dir.Path("wide.txt"), ';', false);
    EXPECT_EQ(dir.Read("wide.txt"), "\xEF\xBB\xBF\xC5\x82\xE2\x82\xAC\r\n");
    auto back = MakeTable({{"A", TFieldType::ftString, 10}});
    LoadDataSetFromText(back.get(), dir.Path("wide.txt"), ';', false);
    EXPECT_EQ(Column(*back, "A"), std::vector<std::string>{"ł€"});
}

TEST(TextTable, MissingOrEmptyFileChangesNothing) {
    test::TempDir dir;
    dir.Write("empty.txt", "");
    auto table = QueryTable();
    AddRow(*table, {"kept", nullptr, nullptr, nullptr, nullptr});
    EXPECT_FALSE(LoadDataSetFromText(table.get(), dir.Path("missing.txt"), ';', false));
    EXPECT_FALSE(LoadDataSetFromText(table.get(), dir.Path("empty.txt"), ';', false));
    EXPECT_EQ(table->RecordCount(), 1);
}

TEST(TextTable, ABadValueIsReportedAfterEveryRecordIsLoaded) {
    auto items = MakeTable({{"rulename", TFieldType::ftString, 30},
                            {"RULE_ITEM_NAME", TFieldType::ftInteger, 0},
                            {"RULE_ITEM_ORDER", TFieldType::ftInteger, 0}});
    TStringList lines;
    lines.SetText("a;1;1\r\nb;two;2\r\nc;3;3\r\n");
    try {
        LoadDataSetFromStrings(items.get(), lines, ';', false);
        ADD_FAILURE() << "the bad value was not reported";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), "'two' is not a valid integer value for field 'RULE_ITEM_NAME'");
    }
    EXPECT_EQ(Column(*items, "rulename"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Column(*items, "RULE_ITEM_NAME"), (std::vector<std::string>{"1", "<null>", "3"}));
    EXPECT_EQ(Column(*items, "RULE_ITEM_ORDER"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(items->State(), dsBrowse);
}

std::unique_ptr<TClientDataSet> EveryType() {
    return MakeTable({{"S", TFieldType::ftString, 10},
                      {"I", TFieldType::ftInteger, 0},
                      {"L", TFieldType::ftLargeint, 0},
                      {"B", TFieldType::ftBoolean, 0},
                      {"B0", TFieldType::ftBoolean, 0},
                      {"F", TFieldType::ftFloat, 0},
                      {"D", TFieldType::ftDate, 0},
                      {"M", TFieldType::ftMemo, 0},
                      {"N", TFieldType::ftInteger, 0},
                      {"T", TFieldType::ftString, 20}});
}

TEST(IniForm, WritesTheCurrentRecordOneKeyPerField) {
    auto table = EveryType();
    table->Append();
    table->FieldByName("S").SetAsString("abc");
    table->FieldByName("I").SetAsInteger(-7);
    table->FieldByName("L").SetAsLargeInt(12345678901);
    table->FieldByName("B").SetAsBoolean(true);
    table->FieldByName("B0").SetAsBoolean(false);
    table->FieldByName("F").SetAsFloat(1.5);
    table->FieldByName("D").SetAsDateTime(EncodeDate(2010, 5, 31));
    table->FieldByName("M").SetAsString("a\r\nb\t\"c\"\\");
    table->FieldByName("T").SetAsString("one\r\ntwo\nthree");
    // Not posted: a record being edited is written as it stands.
    test::TempDir dir;
    dir.Write("s.ini", "[other]\r\nx=1\r\n[t]\r\nS=old\r\nkeep=yes\r\n");
    ASSERT_TRUE(SaveDataSetToIni(*table, dir.Path("s.ini"), "t"));
    EXPECT_EQ(
        dir.Read("s.ini"),
        "[other]\r\nx=1\r\n[t]\r\nS=abc\r\nkeep=yes\r\nI=-7\r\nL=12345678901\r\nB=1\r\nB0=0\r\nF=1.5\r\n"
        "D=2010-05-31\r\nM=a\\r\\nb\\t\\\"c\\\"\\\\\r\nN=\r\nT=one two three\r\n");
    EXPECT_EQ(table->State(), dsInsert);

    table->Post();
    auto back = EveryType();
    ASSERT_TRUE(LoadDataSetFromIni(*back, dir.Path("s.ini"), "t"));
    for (const char* field : {"S", "I", "L", "B", "B0", "F", "D", "M"})
        EXPECT_EQ(back->FieldByName(field).AsString(), table->FieldByName(field).AsString()) << field;
    EXPECT_TRUE(back->FieldByName("N").IsNull());
}

TEST(IniForm, ValuesThatAReaderWouldTrimAreQuoted) {
    struct Case {
        const char* value;
        const char* line;
    };
    constexpr Case kCases[] = {
        {" lead", "S=\" lead\""}, {"trail ", "S=\"trail \""},
        {"'O'", "S=\"'O'\""},     {"\"q\"", "S=\"\"q\"\""},
        {"\"", "S=\""},           {"in 'side'", "S=in 'side'"},
        {"'open", "S='open"},
    };
    test::TempDir dir;
    for (const auto& c : kCases) {
        auto table = MakeTable({{"S", TFieldType::ftString, 20}});
        AddRow(*table, {c.value});
        dir.Write("s.ini", "");
        SaveDataSetToIni(*table, dir.Path("s.ini"), "t");
        EXPECT_EQ(dir.Read("s.ini"), std::string("[t]\r\n") + c.line + "\r\n") << c.value;
        auto back = MakeTable({{"S", TFieldType::ftString, 20}});
        LoadDataSetFromIni(*back, dir.Path("s.ini"), "t");
        EXPECT_EQ(back->FieldByName("S").AsString(), c.value);
    }
}

TEST(IniForm, MissingAndEmptyKeysKeepTheFieldsValues) {
    test::TempDir dir;
    dir.Write("s.ini", "[t]\r\nS=\r\nI=  \r\nB=2\r\nF=not a number\r\n");
    auto table = EveryType();
    AddRow(*table, {"default", "5", nullptr, "False", nullptr, "2.5"});
    ASSERT_TRUE(LoadDataSetFromIni(*table, dir.Path("s.ini"), "t"));
    EXPECT_EQ(table->RecordCount(), 1);
    EXPECT_EQ(table->FieldByName("S").AsString(), "default");  // present but empty
    EXPECT_EQ(table->FieldByName("I").AsInteger(), 5);         // blanks only
    EXPECT_TRUE(table->FieldByName("B").AsBoolean());          // any integer but 0
    EXPECT_EQ(table->FieldByName("F").AsFloat(), 2.5);         // a float that does not convert
    EXPECT_EQ(table->State(), dsBrowse);

    auto empty = EveryType();
    ASSERT_TRUE(LoadDataSetFromIni(*empty, dir.Path("s.ini"), "no such section"));
    EXPECT_EQ(empty->RecordCount(), 1);  // the record is appended all the same
}

TEST(IniForm, ABadIntegerKeepsItsFieldAndTheOtherKeysStillLoad) {
    test::TempDir dir;
    dir.Write("s.ini", "[t]\r\nS=first\r\nI=abc\r\nL=1x\r\nB=yes\r\nT=last\r\n");
    auto table = EveryType();
    AddRow(*table, {nullptr, "3", "4", "True"});
    try {
        LoadDataSetFromIni(*table, dir.Path("s.ini"), "t");
        ADD_FAILURE() << "the bad values were not reported";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'abc' is not a valid integer value for field 'I'; '1x' is not a valid integer value for "
                  "field 'L'; 'yes' is not a valid integer value for field 'B'");
    }
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->FieldByName("S").AsString(), "first");
    EXPECT_EQ(table->FieldByName("I").AsInteger(), 3);
    EXPECT_EQ(table->FieldByName("L").AsLargeInt(), 4);
    EXPECT_TRUE(table->FieldByName("B").AsBoolean());
    EXPECT_EQ(table->FieldByName("T").AsString(), "last");
}

}  // namespace
}  // namespace tv

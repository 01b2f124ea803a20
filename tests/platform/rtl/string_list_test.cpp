#include "platform/rtl/string_list.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/text_file.h"
#include "tests/support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace tv {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
    return lines;
}

void Fill(TStrings& list, std::initializer_list<const char*> lines) {
    for (const char* line : lines) list.Add(line);
}

template <typename F>
std::string ErrorOf(F&& action) {
    try {
        action();
    } catch (const EStringListError& e) {
        return e.Message;
    }
    return "(no error)";
}

// ---- CommaText and DelimitedText ----

struct JoinCase {
    std::vector<std::string> lines;
    const char* commaText;
};
const JoinCase kJoinCases[] = {
    {{"a", "b"}, "a,b"},
    {{}, ""},
    {{""}, "\"\""},                          // one empty line: two quotes
    {{"", "x"}, ",x"},                       // an empty line among others stays bare
    {{"a b", "c"}, "\"a b\",c"},             // a blank forces quotes
    {{"a,b"}, "\"a,b\""},                    // so does the delimiter
    {{"say \"hi\""}, "\"say \"\"hi\"\"\""},  // quotes inside are doubled
    {{"tab\there"}, "\"tab\there\""},        // control characters too
    {{"åäö€"}, "åäö€"},                      // letters beyond ASCII need no quotes
};

TEST(StringList, CommaTextQuotesWhatWouldOtherwiseSplit) {
    for (const auto& c : kJoinCases) {
        TStringList list;
        for (const auto& line : c.lines) list.Add(line);
        EXPECT_EQ(list.CommaText(), c.commaText);
    }
}

struct SplitCase {
    const char* text;
    std::vector<std::string> lines;
};
const SplitCase kCommaSplitCases[] = {
    {"a,b,c", {"a", "b", "c"}},
    {"", {}},
    {"   ", {}},
    {"a b", {"a", "b"}},        // a blank separates as the delimiter does
    {"  a , b  ", {"a", "b"}},  // blanks around items are dropped
    {"a,,b", {"a", "", "b"}},
    {"a,", {"a", ""}},  // a delimiter at the end adds an empty line
    {",a", {"", "a"}},
    {"\"a b\",c", {"a b", "c"}},
    {"\"a\"\"b\"", {"a\"b"}},  // a doubled quote is one quote
    {"\"\"", {""}},
    {"\"a b\"c", {"a b", "c"}},            // text right after a closing quote is a new item
    {"\"never closed", {"never closed"}},  // an unclosed quote keeps all of its text
    {"x\r\ny", {"x", "y"}},
};

TEST(StringList, CommaTextSplitsByTheQuotingRules) {
    for (const auto& c : kCommaSplitCases) {
        TStringList list;
        list.SetCommaText(c.text);
        EXPECT_THAT(Lines(list), ElementsAreArray(c.lines)) << c.text;
    }
}

TEST(StringList, CommaTextRoundTripsAwkwardLines) {
    TStringList list;
    Fill(list, {"plain", "two words", "", "comma,inside", "\"quoted\"", " lead", "tab\t"});
    TStringList copy;
    copy.SetCommaText(list.CommaText());
    EXPECT_EQ(Lines(copy), Lines(list));
}

TEST(StringList, CommaTextIgnoresTheListsOwnDelimiterAndQuote) {
    TStringList list;
    list.SetDelimiter(u';');
    list.SetQuoteChar(u'\'');
    Fill(list, {"a b", "c"});
    EXPECT_EQ(list.CommaText(), "\"a b\",c");
    EXPECT_EQ(list.DelimitedText(), "'a b';c");
}

TEST(StringList, StrictDelimiterSplitsOnlyAtTheDelimiter) {
    TStringList list;
    list.SetDelimiter(u';');
    list.SetStrictDelimiter(true);
    list.SetDelimitedText(" a b ;c;;\"q;x\"");
    EXPECT_THAT(Lines(list), ElementsAre(" a b ", "c", "", "q;x"));
    EXPECT_EQ(list.DelimitedText(), " a b ;c;;\"q;x\"");  // blanks need no quotes when strict
}

TEST(StringList, DelimiterBeyondAsciiSplitsTheUtf8Text) {
    TStringList list;
    list.SetDelimiter(u'§');
    list.SetQuoteChar(u'«');
    list.SetDelimitedText("åa§«x§y«§ö");
    EXPECT_THAT(Lines(list), ElementsAre("åa", "x§y", "ö"));
    EXPECT_EQ(list.DelimitedText(), "åa§«x§y«§ö");
    EXPECT_EQ(list.Delimiter(), u'§');
}

// ---- Values, Names, ValueFromIndex ----

TEST(StringList, NamesAndValuesReadTheFirstSeparator) {
    TStringList list;
    Fill(list, {"a=1", "B=2", "plain", "d=", "=e", "x=y=z"});
    struct Row {
        int index;
        const char* name;
        const char* valueFromIndex;
    };
    const Row rows[] = {{0, "a", "1"}, {1, "B", "2"}, {2, "", ""},
                        {3, "d", ""},  {4, "", "e"},  {5, "x", "y=z"}};
    for (const auto& r : rows) {
        EXPECT_EQ(list.Names(r.index), r.name) << r.index;
        EXPECT_EQ(list.ValueFromIndex(r.index), r.valueFromIndex) << r.index;
    }
    EXPECT_EQ(list.ValueFromIndex(-1), "");

    struct Lookup {
        const char* name;
        int index;
        const char* value;
    };
    const Lookup lookups[] = {
        {"a", 0, "1"},     {"b", 1, "2"},  // names compare without regard to case
        {"plain", -1, ""},                 // a line without a separator has no name
        {"x", 5, "y=z"},   {"missing", -1, ""},
    };
    for (const auto& l : lookups) {
        EXPECT_EQ(list.IndexOfName(l.name), l.index) << l.name;
        EXPECT_EQ(list.Values(l.name), l.value) << l.name;
    }
}

TEST(StringList, SettingValuesReplacesAddsAndDeletes) {
    TStringList list;
    Fill(list, {"a=1", "b=2"});
    list.SetValues("B", "two");  // replaces the line, under the name as given now
    list.SetValues("c", "3");    // a new name goes to the end
    list.SetValues("a", "");     // an empty value deletes the line
    list.SetValues("zz", "");    // and deleting a missing name does nothing
    EXPECT_THAT(Lines(list), ElementsAre("B=two", "c=3"));

    list.SetValueFromIndex(1, "33");
    list.SetValueFromIndex(-1, "new");  // no line: a new one with an empty name
    EXPECT_THAT(Lines(list), ElementsAre("B=two", "c=33", "=new"));
}

TEST(StringList, CaseSensitiveListsAndOtherSeparators) {
    TStringList list;
    list.SetCaseSensitive(true);
    list.SetNameValueSeparator(u':');
    Fill(list, {"Key:1", "key:2", "a=b:c"});
    EXPECT_EQ(list.Values("key"), "2");
    EXPECT_EQ(list.Values("KEY"), "");
    EXPECT_EQ(list.Values("a=b"), "c");
}

TEST(StringList, ValuesOnASortedListAreRefusedWithoutAStrayLine) {
    TStringList list;
    list.SetSorted(true);
    Fill(list, {"b=2", "a=1"});
    EXPECT_EQ(ErrorOf([&] { list.SetValues("c", "3"); }), kSortedListError);
    EXPECT_EQ(ErrorOf([&] { list.SetValues("a", "9"); }), kSortedListError);
    EXPECT_THAT(Lines(list), ElementsAre("a=1", "b=2"));
    list.SetValues("a", "");  // deleting needs no place
    EXPECT_THAT(Lines(list), ElementsAre("b=2"));
}

// ---- Sorted, Duplicates, Find ----

struct SortedCase {
    const char* rule;
    TDuplicates duplicates;
    bool caseSensitive;
    std::vector<std::string> adds;
    std::vector<int> returned;  // -1: refused
    std::vector<std::string> lines;
};
const SortedCase kSortedCases[] = {
    {"dupIgnore keeps one and returns its index",
     TDuplicates::dupIgnore,
     false,
     {"b", "a", "c", "A"},
     {0, 0, 2, 0},
     {"a", "b", "c"}},
    {"dupAccept adds an equal line before the first equal one",
     TDuplicates::dupAccept,
     false,
     {"b", "a", "A", "a"},
     {0, 0, 0, 0},
     {"a", "A", "a", "b"}},
    {"dupError refuses an equal line", TDuplicates::dupError, false, {"x", "X", "y"}, {0, -1, 1}, {"x", "y"}},
    {"case-sensitive: different case is not a duplicate, small first",
     TDuplicates::dupError,
     true,
     {"X", "x", "b"},
     {0, 0, 0},
     {"b", "x", "X"}},
    {"letters beyond ASCII fold too",
     TDuplicates::dupIgnore,
     false,
     {"Öl", "öl", "Åsa", "zeta"},
     {0, 0, 0, 0},
     {"zeta", "Åsa", "Öl"}},
};

TEST(StringList, SortedListsPlaceLinesAndApplyDuplicates) {
    for (const auto& c : kSortedCases) {
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(c.duplicates);
        list.SetCaseSensitive(c.caseSensitive);
        std::vector<int> returned;
        for (const auto& s : c.adds) {
            try {
                returned.push_back(list.Add(s));
            } catch (const EStringListError& e) {
                EXPECT_EQ(e.Message, kDuplicateString) << c.rule;
                returned.push_back(-1);
            }
        }
        EXPECT_EQ(returned, c.returned) << c.rule;
        EXPECT_EQ(Lines(list), c.lines) << c.rule;
    }
}

TEST(StringList, FindGivesTheIndexOrWhereTheLineWouldGo) {
    TStringList list;
    list.SetSorted(true);
    Fill(list, {"e", "a", "c"});
    struct Row {
        const char* s;
        bool found;
        int index;
    };
    const Row rows[] = {{"c", true, 1}, {"C", true, 1}, {"d", false, 2}, {"", false, 0}, {"z", false, 3}};
    for (const auto& r : rows) {
        int index = -99;
        EXPECT_EQ(list.Find(r.s, index), r.found) << r.s;
        EXPECT_EQ(index, r.index) << r.s;
    }
    EXPECT_EQ(list.IndexOf("E"), 2);
    EXPECT_EQ(list.IndexOf("b"), -1);
}

TEST(StringList, TurningSortingOnSortsButKeepsExistingDuplicates) {
    TStringList list;
    Fill(list, {"b", "C", "a", "b"});
    list.SetSorted(true);
    EXPECT_THAT(Lines(list), ElementsAre("a", "b", "b", "C"));
    EXPECT_EQ(ErrorOf([&] { list.Insert(0, "z"); }), kSortedListError);
    EXPECT_EQ(ErrorOf([&] { list.SetStrings(0, "z"); }), kSortedListError);
    list.SetSorted(false);
    list.Insert(0, "z");
    EXPECT_EQ(list.Strings(0), "z");
}

TEST(StringList, ChangingCaseSensitivitySortsASortedListAgain) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupAccept);
    Fill(list, {"b", "B", "a"});
    EXPECT_THAT(Lines(list), ElementsAre("a", "B", "b"));
    list.SetCaseSensitive(true);
    EXPECT_THAT(Lines(list), ElementsAre("a", "b", "B"));
    EXPECT_EQ(list.IndexOf("B"), 2);
}

TEST(StringList, SortKeepsEqualLinesInTheirOrderAndObjectsWithTheirLines) {
    TStringList list;
    TStringList o1, o2, o3;
    list.AddObject("b", &o1);
    list.AddObject("A", &o2);
    list.AddObject("a", &o3);
    list.Sort();
    EXPECT_THAT(Lines(list), ElementsAre("A", "a", "b"));
    EXPECT_EQ(list.Objects(0), &o2);
    EXPECT_EQ(list.Objects(1), &o3);
    EXPECT_EQ(list.Objects(2), &o1);
    EXPECT_EQ(list.IndexOfObject(&o1), 2);
    EXPECT_EQ(list.IndexOfObject(nullptr), -1);
}

TEST(StringList, CustomSortSurvivesAComparisonThatIsNotAnOrder) {
    TStringList list;
    Fill(list, {"ccc", "a", "bb", "dddd", "e"});
    list.CustomSort(
        [](TStringList& l, int i, int j) { return int(l.Strings(i).size()) - int(l.Strings(j).size()); });
    EXPECT_THAT(Lines(list), ElementsAre("a", "e", "bb", "ccc", "dddd"));

    int calls = 0;
    list.CustomSort([&](TStringList&, int, int) { return (++calls % 3) - 1; });  // answers at random
    std::vector<std::string> lines = Lines(list);
    std::sort(lines.begin(), lines.end());
    EXPECT_THAT(lines, ElementsAre("a", "bb", "ccc", "dddd", "e"));  // nothing lost or doubled

    auto before = Lines(list);
    EXPECT_THROW(list.CustomSort([](TStringList&, int, int) -> int { throw Exception("stop"); }), Exception);
    EXPECT_EQ(Lines(list), before);  // a failed sort leaves the order as it was
}

// ---- indexes and moves ----

TEST(StringList, BadIndexesRaiseTheListError) {
    TStringList list;
    Fill(list, {"a", "b", "c"});
    EXPECT_EQ(ErrorOf([&] { list.Strings(3); }), "List index out of bounds (3)");
    EXPECT_EQ(ErrorOf([&] { list.Delete(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorOf([&] { list.Insert(4, "x"); }), "List index out of bounds (4)");
    EXPECT_EQ(ErrorOf([&] { list.Objects(7); }), "List index out of bounds (7)");
    EXPECT_EQ(ErrorOf([&] { list.Exchange(0, 3); }), "List index out of bounds (3)");
    EXPECT_EQ(ErrorOf([&] { list.SetCapacity(2); }), "List capacity out of bounds (2)");
    list.Insert(3, "d");  // inserting at the end is fine
    EXPECT_THAT(Lines(list), ElementsAre("a", "b", "c", "d"));
}

TEST(StringList, MoveAndExchange) {
    TStringList list;
    Fill(list, {"a", "b", "c", "d"});
    list.Move(0, 2);
    EXPECT_THAT(Lines(list), ElementsAre("b", "c", "a", "d"));
    list.Move(3, 0);
    EXPECT_THAT(Lines(list), ElementsAre("d", "b", "c", "a"));
    list.Exchange(0, 3);
    EXPECT_THAT(Lines(list), ElementsAre("a", "b", "c", "d"));
}

TEST(StringList, ARefusedMoveLosesNoLine) {
    TStringList list;
    Fill(list, {"a", "b", "c"});
    EXPECT_EQ(ErrorOf([&] { list.Move(0, 3); }), "List index out of bounds (3)");
    EXPECT_THAT(Lines(list), ElementsAre("a", "b", "c"));
    list.SetSorted(true);
    EXPECT_EQ(ErrorOf([&] { list.Move(0, 2); }), kSortedListError);
    EXPECT_THAT(Lines(list), ElementsAre("a", "b", "c"));
    list.Move(1, 1);  // a move to where the line is changes nothing, sorted or not
}

// ---- Text ----

TEST(StringList, TextJoinsWithCrLfAndSplitsAtAnyLineEnd) {
    TStringList list;
    Fill(list, {"a", "", "b"});
    EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");

    const SplitCase cases[] = {
        {"a\r\nb", {"a", "b"}},
        {"a\nb\r\n", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"", {}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
    };
    for (const auto& c : cases) {
        list.SetText(c.text);
        EXPECT_THAT(Lines(list), ElementsAreArray(c.lines)) << c.text;
    }
    list.SetText(std::string("x\0y", 3));  // a NUL character is kept, not an end
    EXPECT_EQ(list.Strings(0), std::string("x\0y", 3));
}

// ---- OnChanging / OnChange ----

struct ChangeCase {
    const char* operation;
    void (*run)(TStringList&);
    int changing, changed;
};
const ChangeCase kChangeCases[] = {
    {"Add", [](TStringList& l) { l.Add("x"); }, 1, 1},
    {"Insert", [](TStringList& l) { l.Insert(0, "x"); }, 1, 1},
    {"Delete", [](TStringList& l) { l.Delete(0); }, 1, 1},
    {"Clear", [](TStringList& l) { l.Clear(); }, 1, 1},
    {"Strings[i] :=", [](TStringList& l) { l.SetStrings(0, "x"); }, 1, 1},
    {"Objects[i] :=", [](TStringList& l) { l.SetObjects(0, &l); }, 1, 1},
    {"Exchange", [](TStringList& l) { l.Exchange(0, 1); }, 1, 1},
    {"Move", [](TStringList& l) { l.Move(0, 1); }, 1, 1},
    {"Sort", [](TStringList& l) { l.Sort(); }, 1, 1},
    {"Text := three lines", [](TStringList& l) { l.SetText("a\nb\nc"); }, 1, 1},
    {"CommaText := two items", [](TStringList& l) { l.SetCommaText("a,b"); }, 1, 1},
    {"AddStrings", [](TStringList& l) { l.AddStrings(l); }, 1, 1},
    {"BeginUpdate, 2 x Add, EndUpdate",
     [](TStringList& l) {
         l.BeginUpdate();
         l.BeginUpdate();
         l.Add("1");
         l.Add("2");
         l.EndUpdate();
         l.EndUpdate();
     },
     1, 1},
    {"Values[] := a new name (add, then put)", [](TStringList& l) { l.SetValues("n", "v"); }, 2, 2},
    {"Clear of an empty list",
     [](TStringList& l) {
         l.Clear();
         l.Clear();
     },
     1, 1},
    {"EndUpdate without BeginUpdate", [](TStringList& l) { l.EndUpdate(); }, 0, 0},
};

TEST(StringList, EachChangeIsReportedOnceBeforeAndOnceAfter) {
    for (const auto& c : kChangeCases) {
        TStringList list;
        Fill(list, {"b", "a"});
        int changing = 0, changed = 0;
        list.OnChanging = [&](TObject* sender) {
            EXPECT_EQ(sender, &list);
            ++changing;
        };
        list.OnChange = [&](TObject*) { ++changed; };
        c.run(list);
        EXPECT_EQ(changing, c.changing) << c.operation;
        EXPECT_EQ(changed, c.changed) << c.operation;
    }
}

TEST(StringList, OnChangingSeesTheOldStateAndOnChangeTheNew) {
    TStringList list;
    int countBefore = -1, countAfter = -1;
    list.OnChanging = [&](TObject*) { countBefore = list.Count(); };
    list.OnChange = [&](TObject*) { countAfter = list.Count(); };
    list.Add("x");
    EXPECT_EQ(countBefore, 0);
    EXPECT_EQ(countAfter, 1);
}

TEST(StringList, RefusedChangesAreNotReported) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupError);
    list.Add("a");
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.OnChanging = [&](TObject*) { ++changes; };
    EXPECT_THROW(list.Add("A"), EStringListError);
    list.SetDuplicates(TDuplicates::dupIgnore);
    list.Add("A");
    EXPECT_EQ(changes, 0);
}

// ---- Assign, AddStrings, Equals, the abstract base ----

TEST(StringList, AssignCopiesLinesObjectsAndDelimiters) {
    TStringList source, target;
    source.SetDelimiter(u';');
    source.AddObject("x", &source);
    source.Add("y");
    target.Add("old");
    target.Assign(&source);
    EXPECT_THAT(Lines(target), ElementsAre("x", "y"));
    EXPECT_EQ(target.Objects(0), &source);
    EXPECT_EQ(target.Delimiter(), u';');
    EXPECT_TRUE(target.Equals(source));

    target.Assign(&target);  // assigning a list to itself keeps it
    EXPECT_THAT(Lines(target), ElementsAre("x", "y"));

    target.SetStrings(1, "Y");
    EXPECT_FALSE(target.Equals(source));  // Equals compares exactly
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
}

TEST(StringList, TheBaseClassLeavesStorageToItsDescendants) {
    TStrings bare;
    try {
        bare.Add("x");
        FAIL();
    } catch (const EAbstractError& e) {
        EXPECT_EQ(e.Message, kAbstractError);
    }
    EXPECT_THROW(bare.Count(), EAbstractError);
    EXPECT_EQ(FindClass("TStringList").Parent(), &TStrings::StaticClassInfo());
    TObject* built = FindClass("TStrings").Construct();  // scripts may create the base itself
    EXPECT_EQ(built->ClassName(), "TStrings");
    delete built;
    TStrings* asBase = new TStringList;  // a list through its base runs the list's own members
    asBase->Insert(0, "b");
    asBase->Insert(0, "a");
    asBase->Delete(1);
    EXPECT_EQ(asBase->Text(), "a\r\n");
    delete asBase;
}

// ---- files and streams ----

TEST(StringList, SaveToFileWritesAnsiWithCrLfAndNoBom) {
    test::TempDir dir;
    TStringList list;
    Fill(list, {"åäö", "€ 5", "中"});
    list.SaveToFile(dir.Path("out.txt"));
    EXPECT_EQ(dir.Read("out.txt"), "\xE5\xE4\xF6\r\n\x80 5\r\n?\r\n");

    list.SaveToFile(dir.Path("utf8.txt"), TextEncoding::Utf8Bom);
    EXPECT_EQ(dir.Read("utf8.txt"),
              "\xEF\xBB\xBF"
              "åäö\r\n€ 5\r\n中\r\n");
}

TEST(StringList, LoadFromFileDetectsTheEncoding) {
    using namespace std::string_literals;
    struct Row {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"\xE5\r\n\x80"s, {"å", "€"}},  // Windows-1252
        {"å\n€"s, {"å", "€"}},          // valid UTF-8 without a BOM
        {"\xEF\xBB\xBF"
         "a\r\nb"s,
         {"a", "b"}},  // UTF-8 BOM
        {"\xFF\xFE"
         "a\0\r\0\n\0\xE5\0"s,
         {"a", "å"}},  // UTF-16 LE BOM
    };
    test::TempDir dir;
    for (const auto& r : rows) {
        TStringList list;
        list.Add("replaced");
        list.LoadFromFile(dir.Write("in.txt", r.bytes));
        EXPECT_THAT(Lines(list), ElementsAreArray(r.lines));
    }
}

TEST(StringList, LoadFromAMissingFileRaisesWithTheSystemText) {
    test::TempDir dir;
    TStringList list;
    try {
        list.LoadFromFile(dir.Path("missing.txt"));
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message,
                  "Cannot open file \"" + dir.Path("missing.txt") + "\". No such file or directory");
    }
}

TEST(StringList, StreamsAreReadFromTheirPosition) {
    TMemoryStream stream;
    const std::string bytes = "skip\r\nx\r\ny";
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(6);
    TStringList list;
    list.LoadFromStream(stream);
    EXPECT_THAT(Lines(list), ElementsAre("x", "y"));

    TMemoryStream out;
    list.SaveToStream(out);
    EXPECT_EQ(out.Bytes(), "x\r\ny\r\n");
}

}  // namespace
}  // namespace tv

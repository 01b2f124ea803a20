// Fields: text conversions by type, typed access, old and new values, field events, look-up.

#include "data_test_support.h"
#include "platform/rtl/format_settings.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::NumberedTable;

const TFormatSettings& Swedish() {
    static const TFormatSettings settings = FormatSettingsForLocale("sv_SE.UTF-8");
    return settings;
}

// A dataset with one field F of the given type, in insert state, reading with Swedish settings.
std::unique_ptr<TClientDataSet> OneField(TFieldType type, int size = 0) {
    auto ds = std::make_unique<TClientDataSet>();
    ds->SetFormatSettings(&Swedish());
    ds->FieldDefs().Add("F", type, size);
    ds->CreateDataSet();
    ds->Append();
    return ds;
}

struct TextCase {
    TFieldType type;
    int size;
    const char* text;
    const char* expected;  // AsString after setting; nullptr: no value
    const char* error;     // message of the refusal, or nullptr
};

constexpr TextCase kTextCases[] = {
    // A Boolean takes any leading part of "True" or "False" in any letter case.
    {TFieldType::ftBoolean, 0, "t", "True", nullptr},
    {TFieldType::ftBoolean, 0, "TRUE", "True", nullptr},
    {TFieldType::ftBoolean, 0, "fA", "False", nullptr},
    {TFieldType::ftBoolean, 0, "", nullptr, nullptr},  // empty clears
    {TFieldType::ftBoolean, 0, "yes", nullptr, "'yes' is not a valid boolean value for field 'F'"},
    {TFieldType::ftBoolean, 0, "Truer", nullptr, "'Truer' is not a valid boolean value for field 'F'"},
    {TFieldType::ftInteger, 0, "42", "42", nullptr},
    {TFieldType::ftInteger, 0, " -7 ", "-7", nullptr},
    {TFieldType::ftInteger, 0, "", nullptr, nullptr},
    {TFieldType::ftInteger, 0, "4,5", nullptr, "'4,5' is not a valid integer value for field 'F'"},
    {TFieldType::ftInteger, 0, "2147483648", nullptr,
     "2147483648 is not a valid value for field 'F'. The allowed range is -2147483648 to 2147483647"},
    {TFieldType::ftSmallint, 0, "40000", nullptr,
     "40000 is not a valid value for field 'F'. The allowed range is -32768 to 32767"},
    {TFieldType::ftWord, 0, "65535", "65535", nullptr},
    {TFieldType::ftWord, 0, "-1", nullptr,
     "-1 is not a valid value for field 'F'. The allowed range is 0 to 65535"},
    {TFieldType::ftLargeint, 0, "9007199254740993", "9007199254740993", nullptr},
    // Strings are cut to their size in characters, never inside a letter.
    {TFieldType::ftString, 3, "abcdef", "abc", nullptr},
    {TFieldType::ftString, 3, "\xC3\xA5\xC3\xA4\xC3\xB6x", "\xC3\xA5\xC3\xA4\xC3\xB6", nullptr},
    {TFieldType::ftString, 3, "", "", nullptr},
    {TFieldType::ftMemo, 0, "line 1\r\nline 2\t\"quoted\"", "line 1\r\nline 2\t\"quoted\"", nullptr},
    // Numbers and dates follow the format settings (Swedish here).
    {TFieldType::ftFloat, 0, "1,5", "1,5", nullptr},
    {TFieldType::ftFloat, 0, "1.5", nullptr, "'1.5' is not a valid floating point value for field 'F'"},
    {TFieldType::ftFloat, 0, "", nullptr, nullptr},
    {TFieldType::ftCurrency, 0, "2,34567", "2,3457", nullptr},
    {TFieldType::ftDate, 0, "2024-02-29", "2024-02-29", nullptr},
    {TFieldType::ftDate, 0, "2024-02-30", nullptr, "'2024-02-30' is not a valid date"},
    {TFieldType::ftTime, 0, "10:20:30", "10:20:30", nullptr},
    {TFieldType::ftDateTime, 0, "2024-01-31 10:20:30", "2024-01-31 10:20:30", nullptr},
    {TFieldType::ftDateTime, 0, "2024-01-31", "2024-01-31", nullptr},  // midnight shows no time
};

TEST(Field, TextConvertsByTheFieldsType) {
    for (const auto& c : kTextCases) {
        auto ds = OneField(c.type, c.size);
        TField& f = ds->FieldByName("F");
        SCOPED_TRACE(std::string(FieldTypeName(c.type)) + " '" + c.text + "'");
        if (c.error) {
            const std::string before = f.AsString();
            try {
                f.SetAsString(c.text);
                ADD_FAILURE() << "no error";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message, c.error);
            }
            EXPECT_EQ(f.AsString(), before) << "a refused text leaves the value";
            continue;
        }
        f.SetAsString(c.text);
        EXPECT_EQ(f.IsNull(), c.expected == nullptr);
        EXPECT_EQ(f.AsString(), c.expected ? c.expected : "");
        EXPECT_EQ(f.Text(), f.AsString());
        ds->Post();
        EXPECT_EQ(f.AsString(), c.expected ? c.expected : "") << "after post";
    }
}

struct AccessCase {
    TFieldType type;
    const char* text;  // value set as text
    const char* read;  // "int", "large", "float", "bool" or "date"
    double expected;
    const char* error;
};

constexpr AccessCase kAccessCases[] = {
    {TFieldType::ftString, "12", "int", 12, nullptr},
    {TFieldType::ftString, "Yes", "bool", 1, nullptr},  // a text beginning with T or Y is true
    {TFieldType::ftString, "nej", "bool", 0, nullptr},
    {TFieldType::ftString, "2,5", "float", 2.5, nullptr},
    {TFieldType::ftString, "abc", "int", 0, "'abc' is not a valid integer value"},
    {TFieldType::ftInteger, "7", "float", 7, nullptr},
    {TFieldType::ftFloat, "2,6", "int", 3, nullptr},
    {TFieldType::ftFloat, "1E30", "large", 0,
     "1E30 is not a valid value for field 'F'. The allowed range is -9223372036854775808 to "
     "9223372036854775807"},
    {TFieldType::ftBoolean, "True", "int", 0, "Cannot access field 'F' as type Integer"},
    {TFieldType::ftInteger, "1", "bool", 0, "Cannot access field 'F' as type Boolean"},
    {TFieldType::ftInteger, "", "int", 0, nullptr},  // no value reads as 0
    {TFieldType::ftDate, "1899-12-31", "date", 1, nullptr},
    {TFieldType::ftFloat, "1", "date", 0, "Cannot access field 'F' as type DateTime"},
};

TEST(Field, TypedAccessConvertsOrRefuses) {
    for (const auto& c : kAccessCases) {
        auto ds = OneField(c.type, 20);
        TField& f = ds->FieldByName("F");
        f.SetAsString(c.text);
        SCOPED_TRACE(std::string(FieldTypeName(c.type)) + " '" + c.text + "' as " + c.read);
        auto read = [&]() -> double {
            const std::string_view r = c.read;
            if (r == "int") return f.AsInteger();
            if (r == "large") return static_cast<double>(f.AsLargeInt());
            if (r == "bool") return f.AsBoolean();
            if (r == "date") return f.AsDateTime();
            return f.AsFloat();
        };
        if (c.error) {
            try {
                read();
                ADD_FAILURE() << "no error";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message, c.error);
            }
        } else {
            EXPECT_DOUBLE_EQ(read(), c.expected);
        }
    }
}

TEST(Field, TypedSettersWriteTheFieldsOwnForm) {
    auto ds = OneField(TFieldType::ftString, 10);
    TField& f = ds->FieldByName("F");
    f.SetAsBoolean(true);
    EXPECT_EQ(f.AsString(), "T");
    f.SetAsFloat(2.5);
    EXPECT_EQ(f.AsString(), "2,5");
    f.SetAsInteger(-4);
    EXPECT_EQ(f.AsString(), "-4");

    auto number = OneField(TFieldType::ftSmallint);
    EXPECT_THROW(number->FieldByName("F").SetAsInteger(70000), EDatabaseError);
    number->FieldByName("F").SetAsFloat(2.5);  // rounds half away from zero
    EXPECT_EQ(number->FieldByName("F").AsInteger(), 3);
    number->FieldByName("F").SetValue(test::Text("12"));
    EXPECT_EQ(number->FieldByName("F").AsInteger(), 12);
    number->FieldByName("F").SetValue(Variant::Null());
    EXPECT_TRUE(number->FieldByName("F").IsNull());
}

TEST(Field, OldValueIsUnassignedWhileInsertingAndTheStoredValueWhileEditing) {
    auto ds = NumberedTable(2);
    TField& name = ds->FieldByName("NAME");
    using test::Show;
    EXPECT_EQ(Show(name.OldValue()), "n1") << "browsing: the current value";

    ds->Edit();
    name.SetAsString("changed");
    EXPECT_EQ(Show(name.OldValue()), "n1");
    EXPECT_EQ(Show(name.NewValue()), "changed");
    ds->Post();
    EXPECT_EQ(Show(name.OldValue()), "changed");

    ds->Append();
    EXPECT_EQ(Show(name.OldValue()), "<unassigned>");
    EXPECT_EQ(Show(name.NewValue()), "<null>") << "a field not set in a new record has no value";
    name.SetAsString("x");
    name.Clear();
    EXPECT_EQ(Show(name.Value()), "<null>");
    ds->Cancel();

    ds->First();
    ds->Edit();
    ds->FieldByName("ID").Clear();
    ds->Post();
    ds->Edit();
    EXPECT_EQ(Show(ds->FieldByName("ID").OldValue()), "<null>") << "a stored null is no unassigned";
    ds->Cancel();
}

TEST(Field, ValidateSeesTheNewValueAndMayRefuseItChangeFollowsTheStore) {
    auto ds = NumberedTable(1);
    TDataSource source(nullptr);
    source.SetDataSet(ds.get());
    test::RecordingLink link;
    link.SetDataSource(&source);
    link.Take();

    TField& name = ds->FieldByName("NAME");
    std::vector<std::string> seen;
    name.OnValidate = [&](TField* f) {
        seen.push_back("validate " + f->AsString());
        if (f->AsString() == "bad") throw EDatabaseError("refused");
    };
    name.OnChange = [&](TField* f) { seen.push_back("change " + f->AsString()); };

    ds->Edit();
    link.Take();
    name.SetAsString("good");
    EXPECT_EQ(link.Take(), "field NAME");
    EXPECT_THROW(name.SetAsString("bad"), EDatabaseError);
    EXPECT_EQ(name.AsString(), "good");
    EXPECT_EQ(link.Take(), "");
    EXPECT_EQ(seen, (std::vector<std::string>{"validate good", "change good", "validate bad"}));
}

TEST(Field, WritesNeedEditStateAndAWritableField) {
    auto ds = NumberedTable(1);
    TField& name = ds->FieldByName("NAME");
    try {
        name.SetAsString("x");
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Dataset not in edit or insert mode");
    }
    name.SetReadOnly(true);
    ds->Edit();
    try {
        name.SetAsString("x");
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Field 'NAME' cannot be modified");
    }
}

TEST(Field, LookUpIgnoresLetterCaseAndReportsWhatIsMissing) {
    auto ds = NumberedTable(1);
    EXPECT_EQ(&ds->FieldByName("name"), &ds->FieldByName("Name"));
    EXPECT_EQ(ds->FindField("missing"), nullptr);
    try {
        ds->FieldByName("missing");
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Field 'missing' not found");
    }
    try {
        ds->Fields(2);
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "List index out of bounds (2)");
    }
    EXPECT_EQ(test::Show(ds->FieldValues("id;NAME")), "1|n1");
    EXPECT_EQ(ds->FieldValues("ID").VarType(), varInteger);
    EXPECT_THROW(ds->FieldDefs().Add("Id", TFieldType::ftString), EDatabaseError) << "duplicate name";
}

TEST(Field, PropertiesHaveTheClassLibrarysDefaults) {
    auto ds = NumberedTable(1);
    TField& id = ds->FieldByName("ID");
    EXPECT_EQ(id.DisplayLabel(), "ID");
    id.SetDisplayLabel("Nummer");
    EXPECT_EQ(id.DisplayName(), "Nummer");
    EXPECT_TRUE(id.Visible());
    EXPECT_EQ(id.Alignment(), taRightJustify);
    EXPECT_EQ(ds->FieldByName("NAME").Alignment(), taLeftJustify);
    EXPECT_EQ(ds->FieldByName("NAME").Size(), 20);
    EXPECT_EQ(id.Index(), 0);
    id.SetIndex(1);
    EXPECT_EQ(ds->Fields(0).FieldName(), "NAME");
    EXPECT_EQ(id.AsInteger(), 1) << "reordering fields keeps their values";
}

}  // namespace
}  // namespace tv

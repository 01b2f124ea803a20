// Structures through the C API alone: round trips of every field type, unset and unnamed fields,
// wrong types, and handles that are unknown, freed or borrowed.

#include <gtest/gtest.h>

#include <cstring>

#include "kit_library.h"

namespace tv::kit_test {
namespace {

const Kit& K() {
    return TheKit();
}

TEST(KitAbi, ErrorRecordIsFiveInt32s) {
    static_assert(sizeof(AdkErrorRec) == 20);
    static_assert(offsetof(AdkErrorRec, lProgramPart) == 16);
}

TEST(KitAbi, EveryExportIsFoundByItsPlainName) {
    for (const char* name : kExportNames) EXPECT_NE(dlsym(K().module, name), nullptr) << name;
    EXPECT_EQ(std::size(kExportNames), 55u);
    EXPECT_EQ(dlsym(K().module, "_AdkOpen@8"), nullptr);
}

struct TextCase {
    int table, field;
    const char* set;
    const char* expected;  // truncated to the field's length
};
constexpr TextCase kTextCases[] = {
    {0, 1, "Kund AB", "Kund AB"},
    {0, 0, "12345678901234567890", "1234567890123456"},  // customer number: 16 characters
    {0, 1, "", ""},
    {3, 19, "TT", "T"},  // row type: one character
};

TEST(KitStructures, TextRoundTripsAndIsCutToTheFieldLength) {
    for (const auto& c : kTextCases) {
        AdkHandle h = K().CreateData(c.table);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(K().SetStr(h, c.field, c.set).lRc, 0);
        AdkErrorRec e;
        EXPECT_EQ(GetStr(h, c.field, 200, &e), c.expected) << c.table << "/" << c.field;
        EXPECT_EQ(e.lRc, 0);
        K().DeleteStruct(h);
    }
}

TEST(KitStructures, GetStrCutsToTheBufferSize) {
    AdkHandle h = K().CreateData(0);
    K().SetStr(h, 1, "Kund AB");
    EXPECT_EQ(GetStr(h, 1, 4), "Kund");
    K().DeleteStruct(h);
}

TEST(KitStructures, NumbersBooleansDatesAndTimeStampsRoundTrip) {
    AdkHandle order = K().CreateData(2);
    EXPECT_EQ(K().SetDouble(order, 0, 4711).lRc, 0);
    EXPECT_EQ(K().SetBool(order, 6, 1).lRc, 0);
    EXPECT_EQ(K().SetBool(order, 7, 0).lRc, 0);
    EXPECT_EQ(K().SetDate(order, 8, 20240131).lRc, 0);
    EXPECT_EQ(K().SetDate(order, 137, 777777777).lRc, 0);  // the time stamp takes a date-time number
    double d = 0;
    int32_t b = -1, date = 0;
    EXPECT_EQ(K().GetDouble(order, 0, &d).lRc, 0);
    EXPECT_EQ(d, 4711);
    EXPECT_EQ(K().GetBool(order, 6, &b).lRc, 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(K().GetBool(order, 7, &b).lRc, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(K().GetDate(order, 8, &date).lRc, 0);
    EXPECT_EQ(date, 20240131);
    EXPECT_EQ(K().GetDate(order, 137, &date).lRc, 0);
    EXPECT_EQ(date, 777777777);
    // Date 0 empties the date.
    EXPECT_EQ(K().SetDate(order, 8, 0).lRc, 0);
    EXPECT_EQ(K().GetDate(order, 8, &date).lRc, ADK_ERR_NO_VALUE);
    EXPECT_EQ(date, 0);
    K().DeleteStruct(order);
}

TEST(KitStructures, RefusedValuesAreErrorsNotSilentlyStored) {
    AdkHandle order = K().CreateData(2);
    EXPECT_EQ(K().SetDate(order, 8, 20240230).lRc, ADK_ERR_VALUE_REFUSED);
    EXPECT_EQ(K().SetDouble(order, 0, 0.0 / 0.0).lRc, ADK_ERR_VALUE_REFUSED);
    EXPECT_EQ(K().SetStr(order, 14, nullptr).lRc, ADK_ERR_BUFFER);
    K().DeleteStruct(order);
}

TEST(KitStructures, AnUnsetValueAnswers103WithAnEmptyResult) {
    AdkHandle h = K().CreateData(2);
    AdkErrorRec e;
    EXPECT_EQ(GetStr(h, 14, 200, &e), "");
    EXPECT_EQ(e.lRc, ADK_ERR_NO_VALUE);
    EXPECT_EQ(e.lDbTable, 2);
    EXPECT_EQ(e.lField, 14);
    double d = 9;
    int32_t i = 9;
    EXPECT_EQ(K().GetDouble(h, 0, &d).lRc, ADK_ERR_NO_VALUE);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(K().GetBool(h, 6, &i).lRc, ADK_ERR_NO_VALUE);
    EXPECT_EQ(i, 0);
    i = 9;
    EXPECT_EQ(K().GetDate(h, 8, &i).lRc, ADK_ERR_NO_VALUE);
    EXPECT_EQ(i, 0);
    K().DeleteStruct(h);
}

TEST(KitStructures, AnUnnamedFieldAnswers139AndIsNeverWritten) {
    AdkHandle h = K().CreateData(0);
    char name[201];
    AdkErrorRec e = K().GetFieldName(0, 5, name, 200);
    EXPECT_EQ(e.lRc, ADK_ERR_UNNAMED_FIELD);
    EXPECT_STREQ(name, "");
    int32_t type = -1, length = -1;
    EXPECT_EQ(K().GetType(h, 5, &type).lRc, 0);  // asked after the name; must not fail
    EXPECT_EQ(type, ADK_TYPE_UNUSED);
    EXPECT_EQ(K().GetLength(h, 5, &length).lRc, 0);
    EXPECT_EQ(length, 1);
    EXPECT_EQ(K().IsReadWrite(h, 5), 0);
    AdkErrorRec read;
    GetStr(h, 5, 200, &read);
    EXPECT_EQ(read.lRc, ADK_ERR_NO_VALUE);
    EXPECT_EQ(K().SetStr(h, 5, "x").lRc, ADK_ERR_INVALID_NUMBER);
    K().DeleteStruct(h);
}

struct NameCase {
    int table, field;
    const char* name;
};
// Names that the dataset layer and the import look fields up by.
constexpr NameCase kNames[] = {
    {0, 0, "KUNDNR"},  {3, 0, "ARTNR"},        {3, 19, "RADTYP"},  {3, 31, "RADNR"},
    {5, 0, "ARTNR"},   {7, 31, "RADNR"},       {33, 19, "RADTYP"}, {35, 0, "PAKETARTNR"},
    {74, 82, "RADER"}, {74, 83, "ANTALRADER"}, {11, 0, "AAR_ID"},  {25, 0, "AAR_ID"},
};

TEST(KitStructures, FieldNamesTheSystemReliesOnAreUpperCase) {
    for (const auto& c : kNames) {
        char name[201];
        EXPECT_EQ(K().GetFieldName(c.table, c.field, name, 200).lRc, 0);
        EXPECT_STREQ(name, c.name) << c.table << "/" << c.field;
    }
}

struct MetaCase {
    int table, field, type, length, decimals, readWrite;
};
constexpr MetaCase kMeta[] = {
    {0, 0, ADK_TYPE_CHAR, 16, 0, 1},    {0, 93, ADK_TYPE_BOOL, 1, 0, 1},
    {2, 0, ADK_TYPE_DOUBLE, 15, 0, 1},  {2, 8, ADK_TYPE_DATE, 10, 0, 1},
    {2, 103, ADK_TYPE_DATA, 0, 0, 0},   {2, 104, ADK_TYPE_DOUBLE, 15, 2, 0},
    {2, 137, ADK_TYPE_DATE, 19, 0, 0},  {3, 31, ADK_TYPE_DOUBLE, 15, 0, 0},
    {24, 4, ADK_TYPE_DOUBLE, 15, 0, 1}, {17, 2, ADK_TYPE_DOUBLE, 15, 4, 1},
};

TEST(KitStructures, TypesLengthsDecimalsAndWritabilityComeFromTheSchema) {
    for (const auto& c : kMeta) {
        AdkHandle h = K().CreateData(c.table);
        int32_t type = -1, length = -1, decimals = -1;
        EXPECT_EQ(K().GetType(h, c.field, &type).lRc, 0);
        EXPECT_EQ(type, c.type) << c.table << "/" << c.field;
        EXPECT_EQ(K().GetLength(h, c.field, &length).lRc, 0);
        EXPECT_EQ(length, c.length) << c.table << "/" << c.field;
        EXPECT_EQ(K().GetDecimals(h, c.field, &decimals).lRc, 0);
        EXPECT_EQ(decimals, c.decimals) << c.table << "/" << c.field;
        EXPECT_EQ(K().IsReadWrite(h, c.field), c.readWrite) << c.table << "/" << c.field;
        K().DeleteStruct(h);
    }
}

TEST(KitStructures, TheWrongTypeOrAFieldOutsideTheTableIsRefused) {
    AdkHandle h = K().CreateData(0);
    double d;
    EXPECT_EQ(K().GetDouble(h, 1, &d).lRc, ADK_ERR_WRONG_TYPE);
    EXPECT_EQ(K().SetDouble(h, 1, 1.0).lRc, ADK_ERR_WRONG_TYPE);
    EXPECT_EQ(K().SetStr(h, 93, "1").lRc, ADK_ERR_WRONG_TYPE);
    AdkErrorRec e = K().SetStr(h, 136, "x");
    EXPECT_EQ(e.lRc, ADK_ERR_INVALID_NUMBER);
    EXPECT_EQ(e.lField, 136);
    EXPECT_EQ(K().SetStr(h, -1, "x").lRc, ADK_ERR_INVALID_NUMBER);
    char name[201];
    EXPECT_EQ(K().GetFieldName(0, 136, name, 200).lRc, ADK_ERR_INVALID_NUMBER);
    EXPECT_EQ(K().GetFieldName(999, 0, name, 200).lRc, ADK_ERR_INVALID_NUMBER);
    AdkHandle sub;
    EXPECT_EQ(K().GetData(h, 0, 0, &sub).lRc, ADK_ERR_WRONG_TYPE);
    EXPECT_EQ(sub, nullptr);
    K().DeleteStruct(h);
}

TEST(KitHandles, UnknownFreedAndNullHandlesAreAnsweredWithAnError) {
    AdkHandle freed = K().CreateData(0);
    ASSERT_EQ(K().DeleteStruct(freed).lRc, 0);
    AdkHandle unknown = reinterpret_cast<AdkHandle>(static_cast<uintptr_t>(0xdeadbeef));
    for (AdkHandle h : {static_cast<AdkHandle>(nullptr), unknown, freed}) {
        AdkErrorRec e;
        GetStr(h, 0, 200, &e);
        EXPECT_EQ(e.lRc, ADK_ERR_BAD_HANDLE);
        EXPECT_EQ(K().SetStr(h, 0, "x").lRc, ADK_ERR_BAD_HANDLE);
        EXPECT_EQ(K().ResetStruct(h).lRc, ADK_ERR_BAD_HANDLE);
        EXPECT_EQ(K().DeleteStruct(h).lRc, ADK_ERR_BAD_HANDLE);
        EXPECT_EQ(K().IsReadWrite(h, 0), 0);
        EXPECT_EQ(K().First(h).lRc, ADK_ERR_BAD_HANDLE);
        EXPECT_EQ(K().GetDataRow(h, 0), nullptr);
    }
    EXPECT_EQ(K().CreateData(999), nullptr);
    EXPECT_EQ(K().CreateData(-1), nullptr);
    EXPECT_EQ(K().CreateDataRow(3, -1), nullptr);
}

TEST(KitHandles, RowsBelongToTheirStructureAndDieWithIt) {
    AdkHandle rows = K().CreateDataRow(3, 2);
    ASSERT_NE(rows, nullptr);
    AdkHandle row0 = K().GetDataRow(rows, 0);
    ASSERT_NE(row0, nullptr);
    EXPECT_EQ(K().GetDataRow(rows, 0), row0);
    EXPECT_EQ(K().GetDataRow(rows, 2), nullptr);
    EXPECT_EQ(K().SetStr(row0, 0, "ART1").lRc, 0);
    // A borrowed row cannot be freed by the caller.
    EXPECT_EQ(K().DeleteStruct(row0).lRc, ADK_ERR_BAD_HANDLE);
    EXPECT_EQ(GetStr(row0, 0), "ART1");

    // The head copies the rows; the caller keeps and frees its block.
    AdkHandle head = K().CreateData(2);
    EXPECT_EQ(K().SetData(head, 103, rows).lRc, 0);
    EXPECT_EQ(K().DeleteStruct(rows).lRc, 0);
    AdkErrorRec e;
    GetStr(row0, 0, 200, &e);
    EXPECT_EQ(e.lRc, ADK_ERR_BAD_HANDLE);
    AdkHandle copied;
    ASSERT_EQ(K().GetData(head, 103, 0, &copied).lRc, 0);
    EXPECT_EQ(GetStr(copied, 0), "ART1");
    EXPECT_EQ(K().GetData(head, 103, 2, &copied).lRc, ADK_ERR_ROW_INDEX);

    AdkHandle row1;
    ASSERT_EQ(K().GetData(head, 103, 1, &row1).lRc, 0);
    ASSERT_EQ(K().DeleteStruct(head).lRc, 0);
    GetStr(row1, 0, 200, &e);
    EXPECT_EQ(e.lRc, ADK_ERR_BAD_HANDLE);
}

TEST(KitHandles, RowsOfAnotherTableAreNotLinkedIntoAHead) {
    AdkHandle rows = K().CreateDataRow(5, 1);  // offer rows
    AdkHandle head = K().CreateData(2);        // order head
    EXPECT_EQ(K().SetData(head, 103, rows).lRc, ADK_ERR_WRONG_TYPE);
    EXPECT_EQ(K().SetData(head, 14, rows).lRc, ADK_ERR_WRONG_TYPE);
    K().DeleteStruct(rows);
    K().DeleteStruct(head);
}

TEST(KitHandles, ResetClearsValuesAndKeepsTheStructure) {
    AdkHandle h = K().CreateData(0);
    K().SetStr(h, 1, "Kund");
    EXPECT_EQ(K().ResetStruct(h).lRc, 0);
    AdkErrorRec e;
    GetStr(h, 1, 200, &e);
    EXPECT_EQ(e.lRc, ADK_ERR_NO_VALUE);
    EXPECT_EQ(K().SetStr(h, 1, "Kund 2").lRc, 0);
    K().DeleteStruct(h);
}

}  // namespace
}  // namespace tv::kit_test

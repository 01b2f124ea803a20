// Field kinds: lookup fields read another dataset's row, hold nothing of their own and are never
// written; the graphic type keeps bytes; typed characters are checked by the field's type.

#include <gtest/gtest.h>

#include "data_test_support.h"
#include "platform/data/db_error.h"

namespace tv {
namespace {

// ORDERS: NO, USERID and the lookup field USERNAME (NAME of the users row whose ID is USERID).
struct LookupFixture {
    LookupFixture() : users(test::NumberedTable(3)) {
        orders.AddField("NO", TFieldType::ftInteger);
        orders.AddField("USERID", TFieldType::ftInteger);
        orders.AddLookupField("USERNAME", TFieldType::ftString, 20, "USERID", users.get(), "ID", "NAME");
        orders.CreateDataSet();
        orders.Append();
        orders.FieldByName("NO").SetAsInteger(1);
        orders.FieldByName("USERID").SetAsInteger(2);
        orders.Post();
    }
    std::unique_ptr<TClientDataSet> users;
    TClientDataSet orders;
};

TEST(LookupField, ReadsTheResultOfTheRowWithTheKeyAndFollowsTheKey) {
    LookupFixture f;
    TField& name = f.orders.FieldByName("USERNAME");
    EXPECT_EQ(name.FieldKind(), fkLookup);
    EXPECT_TRUE(name.Lookup());
    EXPECT_EQ(f.orders.FieldByName("USERID").FieldKind(), fkData);
    EXPECT_EQ(name.KeyFields(), "USERID");
    EXPECT_EQ(name.LookupDataSet(), f.users.get());
    EXPECT_EQ(name.AsString(), "n2");
    // The users' cursor is not moved by reading.
    f.users->Last();
    EXPECT_EQ(name.AsString(), "n2");
    EXPECT_EQ(f.users->FieldByName("ID").AsInteger(), 3);
    // The new key in the edit buffer is looked up at once; a key without a row reads Null.
    f.orders.Edit();
    f.orders.FieldByName("USERID").SetAsInteger(3);
    EXPECT_EQ(name.AsString(), "n3");
    f.orders.FieldByName("USERID").SetAsInteger(9);
    EXPECT_TRUE(name.IsNull());
    f.orders.FieldByName("USERID").Clear();
    EXPECT_TRUE(name.IsNull());
    f.orders.Cancel();
    // A closed lookup dataset gives no value.
    f.users->Close();
    EXPECT_TRUE(name.IsNull());
}

TEST(LookupField, IsNeitherWrittenNorStoredNorSearched) {
    LookupFixture f;
    TField& name = f.orders.FieldByName("USERNAME");
    EXPECT_FALSE(name.CanModify());
    EXPECT_TRUE(f.orders.FieldByName("USERID").CanModify());
    f.orders.Edit();
    try {
        name.SetAsString("x");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'USERNAME' cannot be modified");
    }
    f.orders.Cancel();
    // Not a field of the stored data: neither in the field definitions nor in the stream.
    EXPECT_EQ(f.orders.FieldDefs().Count(), 2);
    const std::string bytes = f.orders.SaveToBytes();
    f.orders.LoadFromBytes(bytes);
    EXPECT_EQ(f.orders.FieldCount(), 3);
    EXPECT_EQ(f.orders.FieldByName("USERNAME").AsString(), "n2");
    TClientDataSet copy;
    copy.LoadFromBytes(bytes);
    EXPECT_EQ(copy.FieldCount(), 2);
    // Orders, filters and searches need a value of the record.
    EXPECT_THROW(f.orders.SetIndexFieldNames("USERNAME"), EDatabaseError);
    EXPECT_THROW(f.orders.Locate("USERNAME", test::Text("n2")), EDatabaseError);
}

TEST(FieldType, GraphicFieldsKeepTheirBytes) {
    TClientDataSet ds;
    ds.FieldDefs().Add("PICTURE", TFieldType::ftGraphic);
    ds.CreateDataSet();
    ds.Append();
    const std::string bytes("BM\0\1\2\3\4\5\6", 9);
    ds.FieldByName("PICTURE").SetAsString(bytes);
    ds.Post();
    EXPECT_EQ(ds.FieldByName("PICTURE").AsString(), bytes);
    EXPECT_EQ(FieldTypeName(TFieldType::ftGraphic), "ftGraphic");
    EXPECT_THROW(ds.FieldByName("PICTURE").AsInteger(), EDatabaseError);
    TClientDataSet copy;
    copy.LoadFromBytes(ds.SaveToBytes());
    EXPECT_EQ(copy.FieldByName("PICTURE").DataType(), TFieldType::ftGraphic);
    EXPECT_EQ(copy.FieldByName("PICTURE").AsString(), bytes);
}

TEST(Field, IsValidCharFollowsTheType) {
    TClientDataSet ds;
    ds.FieldDefs().Add("I", TFieldType::ftInteger);
    ds.FieldDefs().Add("F", TFieldType::ftFloat);
    ds.FieldDefs().Add("S", TFieldType::ftString, 10);
    ds.CreateDataSet();
    const struct {
        const char* field;
        char16_t ch;
        bool valid;
    } cases[] = {
        {"I", u'7', true},  {"I", u'-', true},  {"I", u'a', false}, {"I", u'.', false},
        {"F", u'.', true},  {"F", u'E', true},  {"F", u'x', false}, {"F", u',', false},
        {"S", u'x', true},  {"S", u'.', true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ds.FieldByName(c.field).IsValidChar(c.ch), c.valid) << c.field << " " << char(c.ch);
}

}  // namespace
}  // namespace tv

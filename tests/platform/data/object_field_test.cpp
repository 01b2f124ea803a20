// Object fields: a structure (ftADT) and an array (ftArray) hold sub-fields that hold the values;
// full names, parent fields, the field list, values as arrays, streams and field definitions.

#include <gtest/gtest.h>

#include "platform/data/client_data_set.h"
#include "platform/data/db_error.h"

namespace tv {
namespace {

// CUSTOMERS: NO, ADDRESS (CITY, LINES[0..1] of strings) made from definitions.
void DefineCustomers(TClientDataSet& ds) {
    ds.FieldDefs().Add("NO", TFieldType::ftInteger);
    TFieldDef& address = ds.FieldDefs().Add("ADDRESS", TFieldType::ftADT);
    address.AddChild("CITY", TFieldType::ftString, 30);
    TFieldDef& lines = address.AddChild("LINES", TFieldType::ftArray, 2);
    lines.AddChild("LINE", TFieldType::ftString, 40);
    ds.CreateDataSet();
}

std::vector<std::string> FullNames(const TDataSet& ds) {
    std::vector<std::string> names;
    for (TField* field : ds.FieldList()) names.push_back(field->FullName());
    return names;
}

TEST(ObjectField, DefinitionsMakeSubFieldsWithFullNamesAndParents) {
    TClientDataSet ds;
    DefineCustomers(ds);
    EXPECT_EQ(ds.FieldCount(), 2);  // top-level fields only
    EXPECT_EQ(FullNames(ds), (std::vector<std::string>{"NO", "ADDRESS", "ADDRESS.CITY", "ADDRESS.LINES",
                                                        "ADDRESS.LINES[0]", "ADDRESS.LINES[1]"}));
    TField& address = ds.FieldByName("address");
    EXPECT_TRUE(address.IsObjectField());
    EXPECT_EQ(address.SubFieldCount(), 2);
    TField& city = ds.FieldByName("Address.City");
    EXPECT_EQ(city.ParentField(), &address);
    EXPECT_EQ(city.FieldName(), "CITY");
    EXPECT_EQ(city.Index(), 0);
    // Array elements are named by index and keep the prefix their array's parent gives.
    TField& lines = ds.FieldByName("ADDRESS.LINES");
    EXPECT_EQ(lines.Size(), 2);
    EXPECT_EQ(lines.SubFields(1).FullName(), "ADDRESS.LINES[1]");
    EXPECT_EQ(lines.SubFields(1).ParentField(), &lines);
    EXPECT_EQ(&ds.FieldByName("ADDRESS.LINES[1]"), &lines.SubFields(1));
    EXPECT_EQ(ds.FindField("CITY"), nullptr);  // a sub-field is found by its full name
    EXPECT_THROW(address.SubFields(2), EListError);
    EXPECT_EQ(FieldTypeName(TFieldType::ftArray), "ftArray");
}

TEST(ObjectField, ValueIsTheArrayOfSubFieldValuesBothWays) {
    TClientDataSet ds;
    DefineCustomers(ds);
    TField& address = ds.FieldByName("ADDRESS");
    ds.Append();
    EXPECT_TRUE(address.IsNull());
    EXPECT_TRUE(address.Value().IsNull());
    ds.FieldByName("ADDRESS.CITY").SetAsString("Lund");
    EXPECT_FALSE(address.IsNull());
    ds.FieldByName("ADDRESS.LINES[0]").SetAsString("Storgatan 1");
    ds.Post();
    const Variant value = address.Value();
    ASSERT_TRUE(value.IsArray());
    EXPECT_EQ(value.Element(0).AsUtf8(), "Lund");
    EXPECT_EQ(value.Element(1).Element(0).AsUtf8(), "Storgatan 1");
    EXPECT_TRUE(value.Element(1).Element(1).IsNull());

    ds.Edit();
    Variant city = Variant::ArrayOf(0, 1);
    city.Element(0) = Variant::FromUtf8("Malmö");
    city.Element(1) = Variant::Null();
    address.SetValue(city);
    EXPECT_EQ(ds.FieldByName("ADDRESS.CITY").AsString(), "Malmö");
    EXPECT_TRUE(ds.FieldByName("ADDRESS.LINES").IsNull());
    // A value of another shape is refused and leaves the fields as they were.
    EXPECT_THROW(address.SetValue(Variant(1)), EDatabaseError);
    EXPECT_THROW(address.SetValue(Variant::ArrayOf(0, 2)), EDatabaseError);
    EXPECT_EQ(ds.FieldByName("ADDRESS.CITY").AsString(), "Malmö");
    address.Clear();
    EXPECT_TRUE(address.IsNull());
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName("ADDRESS.CITY").AsString(), "Lund");
}

TEST(ObjectField, SubFieldsAddedByHandReorderAndRefuseBadParents) {
    TClientDataSet ds;
    ds.AddField("NO", TFieldType::ftInteger);
    TField& phones = ds.AddField("PHONES", TFieldType::ftArray, 5);
    EXPECT_EQ(phones.Size(), 0);
    ds.AddSubField(phones, "PHONES[0]", TFieldType::ftString, 12);
    ds.AddSubField(phones, "PHONES[1]", TFieldType::ftString, 12);
    EXPECT_EQ(phones.Size(), 2);
    EXPECT_THROW(ds.AddSubField(phones, "phones[1]", TFieldType::ftString), EDatabaseError);
    EXPECT_THROW(ds.AddSubField(ds.FieldByName("NO"), "X", TFieldType::ftString), EDatabaseError);
    TClientDataSet other;
    EXPECT_THROW(other.AddSubField(phones, "X", TFieldType::ftString), EDatabaseError);
    TFieldDef plain{"A", TFieldType::ftInteger};
    EXPECT_THROW(plain.AddChild("B", TFieldType::ftInteger), EDatabaseError);
    TFieldDef array{"A", TFieldType::ftArray, 2};
    array.AddChild("E", TFieldType::ftInteger);
    EXPECT_THROW(array.AddChild("F", TFieldType::ftInteger), EDatabaseError);

    ds.CreateDataSet();
    phones.SubFields(1).SetIndex(0);
    EXPECT_EQ(phones.SubFields(0).FieldName(), "PHONES[1]");
    EXPECT_EQ(phones.SubFields(0).Index(), 0);
    ds.Append();
    ds.FieldByName("PHONES[0]").SetAsString("046-1");
    ds.FieldByName("PHONES[1]").SetAsString("046-2");
    ds.Post();
    EXPECT_EQ(ds.FieldByName("PHONES[0]").AsString(), "046-1");
    EXPECT_EQ(phones.Value().Element(0).AsUtf8(), "046-2");  // in Index order
    // The definitions made from the fields keep the structure.
    ASSERT_EQ(ds.FieldDefs().Count(), 2);
    EXPECT_EQ(ds.FieldDefs()[1].Size, 2);
    ASSERT_EQ(ds.FieldDefs()[1].ChildDefs.size(), 1u);
}

TEST(ObjectField, StreamsKeepEverySubFieldValue) {
    TClientDataSet ds;
    DefineCustomers(ds);
    ds.Append();
    ds.FieldByName("NO").SetAsInteger(7);
    ds.FieldByName("ADDRESS.CITY").SetAsString("Lund");
    ds.FieldByName("ADDRESS.LINES[1]").SetAsString("Box 4");
    ds.Post();
    const std::string bytes = ds.SaveToBytes();

    // Into a dataset of the same structure: the values land in the sub-fields.
    TClientDataSet same;
    DefineCustomers(same);
    same.LoadFromBytes(bytes);
    EXPECT_EQ(same.FieldByName("ADDRESS.CITY").AsString(), "Lund");
    EXPECT_EQ(same.FieldByName("ADDRESS.LINES[1]").AsString(), "Box 4");
    EXPECT_TRUE(same.FieldByName("ADDRESS.LINES[0]").IsNull());

    // Into an empty dataset: one field per stored value, named by its full name.
    TClientDataSet flat;
    flat.LoadFromBytes(bytes);
    EXPECT_EQ(flat.FieldCount(), 4);
    EXPECT_EQ(flat.FieldByName("ADDRESS.LINES[1]").AsString(), "Box 4");
    EXPECT_EQ(flat.FieldByName("NO").AsInteger(), 7);
}

}  // namespace
}  // namespace tv

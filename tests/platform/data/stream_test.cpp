// Streaming a whole table to bytes and back, and filling a dataset from a row source.

#include "data_test_support.h"
#include "platform/data/data_set_rows.h"
#include "platform/rtl/format_settings.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

std::unique_ptr<TClientDataSet> EveryType() {
    auto ds = std::make_unique<TClientDataSet>();
    const struct {
        const char* name;
        TFieldType type;
        int size;
    } defs[] = {{"S", TFieldType::ftString, 10},   {"C", TFieldType::ftFixedChar, 1},
                {"I", TFieldType::ftInteger, 0},   {"SI", TFieldType::ftSmallint, 0},
                {"W", TFieldType::ftWord, 0},      {"L", TFieldType::ftLargeint, 0},
                {"B", TFieldType::ftBoolean, 0},   {"F", TFieldType::ftFloat, 0},
                {"CU", TFieldType::ftCurrency, 0}, {"D", TFieldType::ftDate, 0},
                {"T", TFieldType::ftTime, 0},      {"DT", TFieldType::ftDateTime, 0},
                {"M", TFieldType::ftMemo, 0},      {"WM", TFieldType::ftWideMemo, 0},
                {"BL", TFieldType::ftBlob, 0}};
    for (const auto& d : defs) ds->FieldDefs().Add(d.name, d.type, d.size);
    ds->CreateDataSet();
    const std::vector<std::vector<std::string>> values = {
        {"\xC3\xA5ke", "x", "-5", "7", "65535", "-9000000000", "True", "0.25", "1.5", "2024-02-29",
         "12:00:01", "2024-02-29 12:00:01", "a\r\nb\t\"c\"", "\xE2\x82\xAC", std::string("\0\x01z", 3)},
        std::vector<std::string>(15),
    };
    for (const auto& row : values) {
        ds->Append();
        for (int i = 0; i < 15; ++i) ds->Fields(i).SetAsString(row[i]);
        ds->Post();
    }
    return ds;
}

std::vector<std::string> Texts(TDataSet& ds) {
    std::vector<std::string> texts;
    for (ds.First(); !ds.Eof(); ds.Next())
        for (int i = 0; i < ds.FieldCount(); ++i)
            texts.push_back(ds.Fields(i).IsNull() ? "<null>" : ds.Fields(i).AsString());
    return texts;
}

TEST(Streaming, AWholeTableComesBackAsItWasSaved) {
    auto source = EveryType();
    const std::string bytes = source->SaveToBytes();
    TClientDataSet copy;
    copy.LoadFromBytes(bytes);
    EXPECT_TRUE(copy.Active());
    ASSERT_EQ(copy.FieldCount(), source->FieldCount());
    for (int i = 0; i < copy.FieldCount(); ++i) {
        EXPECT_EQ(copy.Fields(i).FieldName(), source->Fields(i).FieldName());
        EXPECT_EQ(copy.Fields(i).DataType(), source->Fields(i).DataType());
        EXPECT_EQ(copy.Fields(i).Size(), source->Fields(i).Size());
    }
    EXPECT_EQ(Texts(copy), Texts(*source));
    EXPECT_EQ(copy.SaveToBytes(), bytes);

    TMemoryStream stream;  // the way the settings window copies the rule table
    source->SaveToStream(stream);
    stream.SetPosition(0);
    TClientDataSet streamed;
    streamed.LoadFromStream(stream);
    EXPECT_EQ(Texts(streamed), Texts(*source));

    // A dataset with fields of its own takes a stream of the same fields, and nothing else.
    TClientDataSet own;
    own.AddField("ID", TFieldType::ftInteger);
    own.AddField("NAME", TFieldType::ftString, 20);
    own.LoadFromBytes(test::NumberedTable(2)->SaveToBytes());
    EXPECT_EQ(test::Ids(own), (std::vector<int>{1, 2}));
    try {
        own.LoadFromBytes(bytes);
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "The fields of the stream do not match the dataset's fields");
    }
}

TEST(Streaming, BytesThatAreNotAWholeTableAreRefused) {
    const std::string bytes = test::NumberedTable(3)->SaveToBytes();
    for (size_t length = 0; length < bytes.size(); ++length) {
        TClientDataSet ds;
        EXPECT_THROW(ds.LoadFromBytes(std::string_view(bytes).substr(0, length)), EDatabaseError) << length;
        EXPECT_FALSE(ds.Active());
    }
    TClientDataSet ds;
    try {
        ds.LoadFromBytes("a text file\r\n");
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "The stream does not hold a dataset: no dataset header");
    }
    EXPECT_THROW(ds.LoadFromBytes(bytes + "x"), EDatabaseError);
    std::string badType = bytes;
    badType[4 + 4 + 4 + 4 + 2] = 99;  // the first field's type
    EXPECT_THROW(ds.LoadFromBytes(badType), EDatabaseError);
}

// Rows given as texts, integers and floats, as a query hands them over.
class TableSource : public IRowSource {
public:
    TableSource(std::vector<TRowColumn> columns, std::vector<std::vector<TValueView>> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}
    const std::vector<TRowColumn>& Columns() const override { return columns_; }
    bool NextRow() override { return ++row_ < rows_.size(); }
    TValueView Value(size_t column) const override { return rows_[row_][column]; }

private:
    std::vector<TRowColumn> columns_;
    std::vector<std::vector<TValueView>> rows_;
    size_t row_ = static_cast<size_t>(-1);
};

TEST(RowSource, AClosedDatasetTakesItsFieldsFromTheColumns) {
    TableSource source(
        {{"kundnr", TFieldType::ftString, 5},
         {"antal", TFieldType::ftInteger, 0},
         {"pris", TFieldType::ftFloat, 0}},
        {{TValueView::FromText("K1"), TValueView::FromInteger(3), TValueView::FromFloat(9.5)},
         {TValueView::FromText("K2-long"), TValueView::FromText("4"), TValueView::FromInteger(2)},
         {TValueView{}, TValueView{}, TValueView{}}});
    TClientDataSet ds;
    TFormatSettings settings;
    ds.SetFormatSettings(&settings);
    ds.AppendRows(source);
    ASSERT_TRUE(ds.Active());
    EXPECT_EQ(ds.RecNo(), 1) << "on the first row";
    EXPECT_EQ(ds.FieldByName("KUNDNR").Size(), 5);
    EXPECT_EQ(Texts(ds),
              (std::vector<std::string>{"K1", "3", "9.5", "K2-lo", "4", "2", "<null>", "<null>", "<null>"}));
}

TEST(RowSource, AnOpenDatasetTakesTheColumnsOfItsFieldNamesAndKeepsRowsBeforeABadValue) {
    auto ds = test::NumberedTable(1);
    TableSource source(
        {{"name", TFieldType::ftString, 20},
         {"other", TFieldType::ftString, 5},
         {"id", TFieldType::ftString, 5}},
        {{TValueView::FromText("two"), TValueView::FromText("x"), TValueView::FromText("2")},
         {TValueView::FromText("bad"), TValueView::FromText("x"), TValueView::FromText("two")}});
    try {
        ds->AppendRows(source);
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "'two' is not a valid integer value for field 'ID'");
    }
    EXPECT_EQ(test::Ids(*ds), (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

TEST(RowSource, AClientDatasetCopiesAnotherDatasetInItsCurrentOrder) {
    auto source = test::NumberedTable(3);
    source->SetIndexFieldNames("NAME");
    source->AddIndex("down", "ID", ixDescending);
    source->SetIndexName("down");
    TDataSetRows rows(*source);
    TClientDataSet copy;
    copy.AppendRows(rows);
    EXPECT_EQ(copy.FieldByName("NAME").Size(), 20);
    EXPECT_EQ(test::Ids(copy), (std::vector<int>{3, 2, 1}));
}

TEST(RowSource, AReadOnlyDatasetRefusesChanges) {
    class ReadOnly : public TClientDataSet {
    public:
        bool CanModify() const override { return false; }
    };
    ReadOnly ds;
    ds.FieldDefs().Add("ID", TFieldType::ftInteger);
    ds.CreateDataSet();
    for (auto change : {&TDataSet::Append, &TDataSet::Insert, &TDataSet::Edit}) {
        try {
            (ds.*change)();
            ADD_FAILURE();
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Message, "Cannot modify a read-only dataset");
        }
    }
    EXPECT_EQ(ds.State(), dsBrowse);
}

}  // namespace
}  // namespace tv

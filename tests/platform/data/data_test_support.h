#pragma once
// Small fixtures of the dataset tests: a table of numbered rows, a recorder of dataset events and
// a data link that records what it is told.

#include "platform/data/client_data_set.h"
#include "platform/data/data_source.h"

#include <memory>
#include <string>
#include <vector>

namespace tv::test {

// A client dataset with the fields ID (integer) and NAME (string 20) holding rows 1..count
// named "n1", "n2" ...
inline std::unique_ptr<TClientDataSet> NumberedTable(int count) {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("ID", TFieldType::ftInteger);
    ds->FieldDefs().Add("NAME", TFieldType::ftString, 20);
    ds->CreateDataSet();
    for (int i = 1; i <= count; ++i) {
        ds->Append();
        ds->FieldByName("ID").SetAsInteger(i);
        ds->FieldByName("NAME").SetAsString("n" + std::to_string(i));
        ds->Post();
    }
    ds->First();
    return ds;
}

inline Variant Text(std::string_view text) {
    return Variant::FromUtf8(text);
}
inline Variant Int(std::int32_t value) {
    return Variant(value);
}

// A variant as text for comparisons: "<unassigned>", "<null>", "a|b" for arrays, else its text.
inline std::string Show(const Variant& v) {
    if (v.IsEmpty()) return "<unassigned>";
    if (v.IsNull()) return "<null>";
    if (v.IsArray()) {
        std::string joined;
        for (std::int32_t i = v.LowBound(); i <= v.HighBound(); ++i)
            joined += (i > v.LowBound() ? "|" : "") + Show(v.Element(i));
        return joined;
    }
    return v.AsUtf8();
}

// The IDs of the records in the dataset's current order, walked from the first.
inline std::vector<int> Ids(TDataSet& ds, const char* field = "ID") {
    std::vector<int> ids;
    for (ds.First(); !ds.Eof(); ds.Next()) ids.push_back(ds.FieldByName(field).AsInteger());
    return ids;
}

// Records the names of the dataset events in the order they are raised.
struct EventLog {
    std::vector<std::string> events;
    void Attach(TDataSet& ds) {
        auto log = [this](const char* name) { return [this, name](TDataSet*) { events.push_back(name); }; };
        ds.BeforeOpen = log("BeforeOpen");
        ds.AfterOpen = log("AfterOpen");
        ds.BeforeClose = log("BeforeClose");
        ds.AfterClose = log("AfterClose");
        ds.BeforeInsert = log("BeforeInsert");
        ds.AfterInsert = log("AfterInsert");
        ds.BeforeEdit = log("BeforeEdit");
        ds.AfterEdit = log("AfterEdit");
        ds.BeforePost = log("BeforePost");
        ds.AfterPost = log("AfterPost");
        ds.BeforeCancel = log("BeforeCancel");
        ds.AfterCancel = log("AfterCancel");
        ds.BeforeDelete = log("BeforeDelete");
        ds.AfterDelete = log("AfterDelete");
        ds.BeforeScroll = log("BeforeScroll");
        ds.AfterScroll = log("AfterScroll");
        ds.OnNewRecord = log("OnNewRecord");
    }
    std::string Take() {
        std::string joined;
        for (const auto& e : events) joined += (joined.empty() ? "" : " ") + e;
        events.clear();
        return joined;
    }
};

// A data link that keeps the notifications it gets as text ("changed", "scrolled 3", "active",
// "editing", "record", "update", "layout").
class RecordingLink : public TDataLink {
public:
    std::vector<std::string> calls;
    int lastScroll = 0;
    std::string Take() {
        std::string joined;
        for (const auto& c : calls) joined += (joined.empty() ? "" : ", ") + c;
        calls.clear();
        return joined;
    }

protected:
    void ActiveChanged() override { calls.push_back(Active() ? "active" : "inactive"); }
    void DataSetChanged() override { calls.push_back("changed"); }
    void DataSetScrolled(int distance) override {
        lastScroll = distance;
        calls.push_back("scrolled " + std::to_string(distance));
    }
    void LayoutChanged() override { calls.push_back("layout"); }
    void EditingChanged() override { calls.push_back(Editing() ? "editing" : "browsing"); }
    void RecordChanged(TField* field) override {
        calls.push_back(field ? "field " + field->FieldName() : "record");
    }
    void UpdateData() override { calls.push_back("update"); }
};

}  // namespace tv::test

#include "export/kit_reads.h"

#include "adk/adk_dataset.h"
#include "platform/data/field.h"
#include "platform/rtl/trim.h"

namespace tv {
namespace {

void MakeSortedWithoutDuplicates(TStringList& list) {
    list.SetDuplicates(dupIgnore);
    list.SetSorted(true);
}

// The dataset's field that carries kit field `adkIndex`, or null.
TField* FieldOfKitIndex(const TAdkDataSet& data, int adkIndex) {
    for (int i = 0; i < data.FieldCount(); ++i)
        if (data.Fields(i).Tag() == adkIndex) return &data.Fields(i);
    return nullptr;
}

}  // namespace

void FetchAllRecords(TAdkDataSet& data) {
    if (!data.Active()) data.MakeOpen();
    data.EmptyDataSet();
    data.FetchAllNow(false);
}

std::string EqualsFilter(std::string_view field, std::string_view value) {
    std::string filter(field);
    filter += "='";
    for (char c : value) {
        filter += c;
        if (c == '\'') filter += c;
    }
    return filter + "'";
}

void dataSetToSortedList(TStringList& list, TDataSet& data) {
    MakeSortedWithoutDuplicates(list);
    for (data.First(); !data.Eof(); data.Next()) list.Add(Trim(data.Fields(0).AsString()));
}

std::unique_ptr<TStringList> GetDistinctColumnValues(TAdkDataSet& data, int adkIndex) {
    TField* field = FieldOfKitIndex(data, adkIndex);
    if (!field) throw Exception(std::string(kInvalidFieldNumber));
    auto values = std::make_unique<TStringList>();
    MakeSortedWithoutDuplicates(*values);
    for (data.First(); !data.Eof(); data.Next()) values->Add(field->AsString());
    return values;
}

}  // namespace tv

#include "export/kit_reads.h"

#include "adk/adk_dataset.h"

namespace tv {

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

}  // namespace tv

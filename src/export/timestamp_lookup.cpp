#include "export/timestamp_lookup.h"

#include "core/app_logger.h"
#include "platform/data/field.h"
#include "platform/rtl/date_format.h"

namespace tv {

void TTimestampLookup::GetModifiedSince(TDateTime startfrom, const std::string& query) {
    const TTimestampKindDef& def = TimestampKindOf(kind_);
    TClientDataSet& table = module_.Selections().CDSTimeStampUrval();
    Flastdate = startfrom;
    Fitems.Clear();
    table.EmptyDataSet();
    selections_.getSelectionByTimeStamp(kind_, table, startfrom, query);
    const TField& key = table.FieldByName("key");
    const TField& time = table.FieldByName("timestamp");
    for (table.First(); !table.Eof(); table.Next()) {
        const TDateTime modified =
            def.UnixSeconds ? UnixToDateTime(time.AsLargeInt()) : static_cast<TDateTime>(time.AsFloat());
        Fitems.Add({key.AsString(), modified});
        if (modified > Flastdate) {
            Flastdate = modified;
            if (def.LogsLastDate) AppLogger().LogDebug(std::string(kUpdatedLastDate) + DateToStr(Flastdate));
        }
    }
}

}  // namespace tv

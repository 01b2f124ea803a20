#include "import/record_write.h"

#include "adk/adk_dataset.h"
#include "core/event_sink.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"

namespace tv {

void TWrittenTexts::Set(TField& field, std::string_view element, std::string_view text) {
    field.SetAsString(text);
    if (!IsStringType(field.DataType())) return;
    const std::string kept = field.AsString();
    if (!Cp1252Holds(kept)) unstorable_.push_back({std::string(element), Cp1252ToUtf8(Utf8ToCp1252(kept))});
}

void TWrittenTexts::Report(IEventSink& events, std::string_view record) const {
    for (const TUnstorable& text : unstorable_)
        events.reportError(Format(kUnstorableText, {std::string(record), text.Element, text.Stored}), elWarning);
}

std::string ReadBackNumber(TAdkDataSet& dataSet) {
    // The post itself read back the key the business system stored: one field, not the record.
    return dataSet.FieldByAdkIndex(0).AsString();
}

void CancelPending(TAdkDataSet& dataSet) {
    if (dataSet.IsEditing()) dataSet.Cancel();
}

}  // namespace tv

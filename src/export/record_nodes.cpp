#include "export/record_nodes.h"

#include "core/app_logger.h"
#include "core/string_utils.h"
#include "export/export_text.h"
#include "export/value_text.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"
#include "platform/xml/xml_chars.h"
#include "platform/xml/xml_error.h"

namespace tv {
namespace {

constexpr std::string_view kKeyAttribute = "key";

bool HasKeyAttribute(std::string_view table) {
    return table == "atKunder" || table == "atArtiklar";
}

// The text without the strip set and without anything else the document cannot carry, so that the
// retry always gives a document that can be saved.
std::string StripForDocument(std::string_view value) {
    std::string text = StripCharsInSet2(value);
    for (TXmlCharFault fault = FindXmlCharFault(text); fault; fault = FindXmlCharFault(text)) {
        size_t end = fault.Position;
        if (fault.CodePoint < 0) {
            ++end;
        } else {
            NextUtf8(text, end);
        }
        text.erase(fault.Position, end - fault.Position);
    }
    return text;
}

}  // namespace

void SetTextOrStrip(TXMLNode& element, std::string_view value) {
    try {
        element.SetText(value);
    } catch (const EXMLDocError&) {
        AppLogger().LogError(
            Format(kRefusedValueLog, {element.NodeName(), value, static_cast<int64_t>(Utf8Length(value))}));
        element.SetText(StripForDocument(value));
    }
}

namespace {

// What each TRefusedValue does, in its order.
struct TRefusalRule {
    bool StripFirst;                  // every value without the strip set
    bool LogFailedReads;              // a value that cannot be read is logged and its element left empty
    bool NamedCreateError;            // an element that cannot be made raises kCreateNodeFailed
    bool StripRefused;                // a refused value is logged and written stripped
    bool NamesOtherFailures = false;  // any other failure raises kElementFailed with the name
};
constexpr TRefusalRule kRefusalRules[] = {
    {false, false, false, true},       // StripAndLog
    {false, true, true, true},         // StripAndLogReads
    {false, false, false, false},      // Raise
    {false, true, false, true},        // StripAndLogRows
    {true, true, false, true},         // StripAlways
    {false, true, false, true, true},  // StripAndLogNamingOthers
};
static_assert(std::size(kRefusalRules) == static_cast<size_t>(TRefusedValue::StripAndLogNamingOthers) + 1);

}  // namespace

void TRecordNodes::AddMappedFields(TXMLNode& record, std::string_view table, const TAdkDataSet& data,
                                   TRefusedValue refused) {
    const bool namesOthers = kRefusalRules[static_cast<int>(refused)].NamesOtherFailures;
    for (const TMappedField& row : mapping_.Rows(table)) {
        if (!namesOthers) {
            AddMappedField(record, row, data, refused);
            continue;
        }
        try {
            AddMappedField(record, row, data, refused);
        } catch (const std::exception& e) {
            throw Exception(std::string(kElementFailed) + row.Title + " " + e.what());
        }
    }
}

void TRecordNodes::AddMappedField(TXMLNode& record, const TMappedField& row, const TAdkDataSet& data,
                                  TRefusedValue refused) {
    const TRefusalRule& rule = kRefusalRules[static_cast<int>(refused)];
    TXMLNode* element = nullptr;
    if (rule.NamedCreateError) {
        try {
            element = record.AddChild(row.Title);
        } catch (const EXMLDocError&) {
            throw Exception(Format(kCreateNodeFailed, {row.Title}));
        }
    } else {
        element = record.AddChild(row.Title);
    }
    std::string_view text;
    if (rule.LogFailedReads) {
        try {
            text = FieldText(data.FieldByAdkIndex(row.AdkIndex), scratch_);
        } catch (const std::exception& e) {
            AppLogger().LogError(Format(kRefusedValueLog, {row.Title, "", 0}), e);
            return;
        }
    } else {
        text = FieldText(data.FieldByAdkIndex(row.AdkIndex), scratch_);
    }
    if (rule.StripFirst) {
        stripped_ = StripCharsInSet2(text);
        text = stripped_;
    }
    if (rule.StripRefused) {
        SetTextOrStrip(*element, text);
    } else {
        element->SetText(text);
    }
}

void TRecordNodes::StartProgress(TDataSet& selection, bool countProgress) {
    selection.First();
    if (countProgress) events_.setEventCount(selection.RecordCount());
}

void TRecordNodes::writeKeyedRegisterNodes(TXMLNode& container, TDataSet& selection, bool countProgress,
                                           TAdkDataSet& data, std::string_view table) {
    if (selection.IsEmpty()) return;
    StartProgress(selection, countProgress);
    const bool withKey = HasKeyAttribute(table);
    for (; !selection.Eof(); selection.Next()) {
        if (countProgress) events_.StepProgress();
        if (!data.AdkNavFind(Trim(selection.Fields(0).AsString()), true, true)) continue;
        TXMLNode* record = container.AddChild(table);
        if (withKey) record->SetAttribute(kKeyAttribute, FieldText(data.FieldByAdkIndex(0), scratch_));
        AddMappedFields(*record, table, data);
    }
}

void TRecordNodes::writeDataSetNodes(TXMLNode& container, std::string_view table, TAdkDataSet& data) {
    for (data.First(); !data.Eof(); data.Next()) AddMappedFields(*container.AddChild(table), table, data);
}

void TRecordNodes::writeAdkRecordsByKey(TXMLNode& container, TDataSet& selection, bool countProgress,
                                        TAdkDataSet& data, std::string_view table) {
    if (selection.IsEmpty()) return;
    StartProgress(selection, countProgress);
    for (; !selection.Eof(); selection.Next()) {
        if (countProgress) events_.StepProgress();
        const std::string key = Trim(selection.Fields(0).AsString());
        if (!data.AdkNavFind(key, true, true)) continue;
        do {
            AddMappedFields(*container.AddChild(table), table, data, TRefusedValue::Raise);
        } while (data.AdkNavigate(anNext, false) && !data.Eof() &&
                 FieldText(data.Fields(0), scratch_) == key);
    }
}

void TRecordNodes::writeAdkDataSetNodes(TXMLNode& container, std::string_view table, bool countProgress,
                                        TAdkDataSet& data) {
    if (data.IsEmpty()) return;
    if (countProgress) events_.setEventCount(data.RecordCount());
    for (data.First(); !data.Eof(); data.Next()) {
        if (countProgress) events_.StepProgress();
        TXMLNode* record = container.AddChild(table);
        record->SetAttribute(kKeyAttribute, FieldText(data.FieldByAdkIndex(0), scratch_));
        AddMappedFields(*record, table, data, TRefusedValue::StripAndLogReads);
    }
}

}  // namespace tv

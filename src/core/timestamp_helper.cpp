#include "core/timestamp_helper.h"

#include "core/app_logger.h"
#include "platform/rtl/files.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/text_file.h"
#include "platform/xml/xml_document.h"

namespace tv {
namespace {

constexpr TDateTime kNudge = 1.5 / 86400.0;  // 1.5 seconds

std::string TextOf(TDateTime value) {
    return FloatToStr(value, DefaultFormatSettings());
}

// A stored text as a number of days. Either "," or "." is taken as the decimal mark, so a file
// written by a job run with "forcedot" keeps its times for a run without it, and the reverse.
bool TryStoredTime(std::string_view text, double& value) {
    TFormatSettings settings = DefaultFormatSettings();
    settings.DecimalSeparator = text.find(',') != std::string_view::npos ? ',' : '.';
    return TryStrToFloat(text, value, settings);
}

}  // namespace

TDateTime TTimestampHelper::GetLastTimeStamp(const std::string& fileName, std::string_view title,
                                             TDateTime defValue) {
    if (!FileExists(fileName)) return defValue;
    try {
        TXMLDocument doc;
        doc.LoadFromFile(fileName);
        const TXMLNode* root = doc.DocumentElement();
        const TXMLNode* node = root ? root->FindNode(title) : nullptr;
        double value = 0;
        if (node && TryStoredTime(node->Text(), value)) return value;
    } catch (const std::exception& e) {
        AppLogger().LogDebug(fileName, e);
    }
    return defValue;
}

void TTimestampHelper::SaveTimeStamp(const std::string& fileName, std::string_view title, TDateTime aValue) {
    if (!FileExists(fileName)) CreateNewFile(fileName);
    TXMLDocument doc;
    doc.LoadFromFile(fileName);
    doc.SetIndent(false);
    TXMLNode* root = doc.DocumentElement();
    if (!root) root = doc.AddChild(kTimestampRoot);
    const std::string text = TextOf(aValue);
    if (TXMLNode* node = root->FindNode(title)) {
        if (node->Text() != text) node->SetText(TextOf(aValue + kNudge));
    } else {
        root->AddChild(title)->SetText(text);
    }
    doc.SaveToFile(fileName);
}

void TTimestampHelper::CreateNewFile(const std::string& fileName) {
    WriteFileBytesReplacing(
        fileName, "<?xml version=\"1.0\" encoding=\"utf-8\"?><" + std::string(kTimestampRoot) + "/>\r\n");
}

}  // namespace tv

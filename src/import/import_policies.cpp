#include "import/import_policies.h"

#include "import/key_helper_dm.h"
#include "platform/data/data_set.h"
#include "platform/data/field.h"
#include "platform/rtl/number_text.h"

namespace tv {

int ReadIntegerSetting(const TDataSet& table, std::string_view field) {
    const std::string text = table.FieldByName(field).AsString();
    return text.empty() ? 0 : StrToInt(text);
}

int ReadRequiredIntegerSetting(const TDataSet& table, std::string_view field) {
    return StrToInt(table.FieldByName(field).AsString());
}

std::string ReadTextSetting(const TDataSet& table, std::string_view field) {
    return table.FieldByName(field).AsString();
}

TExistenceAction ApplyExistencePolicy(int setting, std::string_view failText, std::string_view key) {
    switch (setting) {
        case 0:
            return TExistenceAction::GoOn;
        case 1:
            return TExistenceAction::Skip;
        case 2: {
            std::string message(failText);
            message.append(key);
            throw EImportError(std::move(message));
        }
        default:
            throw EImportError(std::string(kInvalidChoice));
    }
}

}  // namespace tv

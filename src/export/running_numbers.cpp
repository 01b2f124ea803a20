#include "export/running_numbers.h"

#include "platform/data/field.h"

namespace tv {

int TRunningNumbers::getLopNr(std::string_view fieldName) {
    TField* field = identities_.FindField(fieldName);
    if (!field) return -1;
    identities_.Edit();
    int number = 0;
    try {
        number = field->AsInteger();
        field->SetAsLargeInt(static_cast<int64_t>(number) + 1);
        identities_.Post();
    } catch (...) {
        if (identities_.IsEditing()) identities_.Cancel();
        throw;
    }
    saveIdentities_();
    return number;
}

}  // namespace tv

#include "export/running_numbers.h"

#include <charconv>
#include <optional>

#include "platform/data/field.h"
#include "platform/ini/ini_file.h"
#include "platform/rtl/file_lock.h"

namespace tv {
namespace {

// The number another run stored, or -1 when the file holds none.
int64_t StoredNumber(std::string_view text) {
    int64_t number = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && number >= 0 ? number : -1;
}

}  // namespace

int TRunningNumbers::getLopNr(std::string_view fieldName) {
    TField* field = identities_.FindField(fieldName);
    if (!field) return -1;
    std::optional<TReplacedFileLock> lock;
    int64_t stored = -1;
    if (shared_.FileName) {
        const std::string file = shared_.FileName();
        lock.emplace(file);
        stored = StoredNumber(TIniFile(file).ReadString(shared_.Section, field->FieldName(), ""));
    }
    identities_.Edit();
    int number = 0;
    try {
        number = field->AsInteger();
        if (stored > number) {
            // Another run of the program has handed out the numbers below the stored one.
            field->SetAsLargeInt(stored);
            number = field->AsInteger();  // a stored number beyond 32 bits raises the range error
        }
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

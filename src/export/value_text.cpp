#include "export/value_text.h"

#include "platform/data/field_text.h"

namespace tv {

std::string_view FieldText(const TField& field, std::string& scratch) {
    const TValueView value = field.ValueView();
    switch (value.kind) {
        case TValueView::Kind::Null:
            return {};
        case TValueView::Kind::Text:
            return value.text;
        default:
            scratch = StorageToText(field, value);
            return scratch;
    }
}

size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace tv

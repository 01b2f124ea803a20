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

}  // namespace tv

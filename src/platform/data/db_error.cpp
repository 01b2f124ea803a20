#include "platform/data/db_error.h"

namespace tv {

std::string DbMessage(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(text.size() + 32);
    auto arg = args.begin();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == 's' || text[i + 1] == 'd') &&
            arg != args.end()) {
            out += *arg++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void DatabaseError(std::string_view text, std::initializer_list<std::string_view> args) {
    throw EDatabaseError(DbMessage(text, args));
}

}  // namespace tv

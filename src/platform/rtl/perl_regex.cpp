#include "platform/rtl/perl_regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace tv {

namespace {

std::string ErrorText(int code) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, sizeof buffer);
    return length < 0 ? "PCRE2 error " + std::to_string(code)
                      : std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length));
}

}  // namespace

TPerlRegEx::TPerlRegEx(std::string_view pattern) : pattern_(pattern) {}

TPerlRegEx::~TPerlRegEx() {
    pcre2_code_free(code_);
}

pcre2_code* TPerlRegEx::Compiled() {
    if (code_) return code_;
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern_.data()), pattern_.size(), 0, &error, &offset,
                          nullptr);
    if (!code_)
        throw ERegExError(ErrorText(error) + " at " + std::to_string(offset) + " in \"" + pattern_ + "\"");
    return code_;
}

std::string TPerlRegEx::ReplaceAll(std::string_view subject, std::string_view replacement) {
    pcre2_code* code = Compiled();
    // A first guess at the room the result needs; when it is short PCRE2 tells how much it needs.
    std::string result(subject.size() + 16, '\0');
    for (int round = 0; round < 2; ++round) {
        PCRE2_SIZE length = result.size();
        const int rc =
            pcre2_substitute(code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0,
                             PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_OVERFLOW_LENGTH, nullptr, nullptr,
                             reinterpret_cast<PCRE2_SPTR>(replacement.data()), replacement.size(),
                             reinterpret_cast<PCRE2_UCHAR*>(result.data()), &length);
        if (rc >= 0) {
            result.resize(length);
            return result;
        }
        if (rc != PCRE2_ERROR_NOMEMORY) throw ERegExError(ErrorText(rc));
        result.assign(length, '\0');
    }
    throw ERegExError(ErrorText(PCRE2_ERROR_NOMEMORY));
}

}  // namespace tv

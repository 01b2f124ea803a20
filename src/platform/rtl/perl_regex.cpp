#include "platform/rtl/perl_regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "platform/rtl/format.h"

namespace tv {
namespace {

pcre2_code* Code(void* code) {
    return static_cast<pcre2_code*>(code);
}
pcre2_match_data* MatchData(void* data) {
    return static_cast<pcre2_match_data*>(data);
}

std::string ErrorText(int code) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, sizeof buffer);
    return length < 0 ? "PCRE2 error " + std::to_string(code)
                      : std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length));
}

}  // namespace

TPerlRegEx::TPerlRegEx(std::string_view pattern) : pattern_(pattern) {}

TPerlRegEx::~TPerlRegEx() {
    pcre2_match_data_free(MatchData(match_));
    pcre2_code_free(Code(code_));
}

void TPerlRegEx::SetRegEx(std::string_view pattern) {
    pcre2_match_data_free(MatchData(match_));
    pcre2_code_free(Code(code_));
    match_ = code_ = nullptr;
    pattern_ = pattern;
    matched_ = false;
}

void TPerlRegEx::SetSubject(std::string_view subject) {
    subject_ = subject;
    matched_ = false;
    next_ = 0;
}

void TPerlRegEx::Compile() {
    if (code_) return;
    int error = 0;
    PCRE2_SIZE offset = 0;
    // Invalid UTF-8 in a subject fails the match instead of the process.
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern_.data()), pattern_.size(), PCRE2_UTF, &error,
                          &offset, nullptr);
    if (!code_)
        throw ERegExError(Format(kRegExCompileFailed, {static_cast<int64_t>(offset), ErrorText(error)}));
    match_ = pcre2_match_data_create_from_pattern(Code(code_), nullptr);
}

bool TPerlRegEx::MatchFrom(size_t offset) {
    Compile();
    matched_ = false;
    if (offset > subject_.size()) return false;
    const int rc = pcre2_match(Code(code_), reinterpret_cast<PCRE2_SPTR>(subject_.data()), subject_.size(),
                               offset, 0, MatchData(match_), nullptr);
    if (rc < 0) return false;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(MatchData(match_));
    groups_ = rc == 0 ? static_cast<int>(pcre2_get_ovector_count(MatchData(match_))) : rc;
    matched_ = true;
    next_ = ovector[1] > ovector[0] ? ovector[1] : ovector[1] + 1;
    return true;
}

bool TPerlRegEx::Match() {
    return MatchFrom(0);
}

bool TPerlRegEx::MatchAgain() {
    return MatchFrom(next_);
}

std::string TPerlRegEx::SubExpressions(int index) const {
    if (!matched_ || index < 0 || index >= groups_) return {};
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(MatchData(match_));
    const PCRE2_SIZE start = ovector[2 * index], end = ovector[2 * index + 1];
    if (start == PCRE2_UNSET) return {};
    return subject_.substr(start, end - start);
}

std::string TPerlRegEx::ReplaceAll(std::string_view subject, std::string_view replacement) {
    Compile();
    // A first guess at the room the result needs; when it is short PCRE2 tells how much it needs.
    std::string result(subject.size() + 16, '\0');
    for (int round = 0; round < 2; ++round) {
        PCRE2_SIZE length = result.size();
        const int rc =
            pcre2_substitute(Code(code_), reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0,
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

#pragma once
// Regular expressions of the Perl dialect (PCRE2, 8-bit, over UTF-8 text), as the system's
// regular-expression component offers them: the pattern is compiled when first matched, matching
// runs over a subject from its start or on from the end of the last match, and the numbered
// sub-expressions of the last match are read by number; every match of a text can be replaced.

#include <string>
#include <string_view>

#include "platform/rtl/exception.h"

namespace tv {

// Raised for a pattern PCRE2 cannot compile (kRegExCompileFailed: the offset and PCRE2's own text)
// and for a replacement that fails (PCRE2's text).
TV_DECLARE_EXCEPTION(ERegExError, Exception);
inline constexpr std::string_view kRegExCompileFailed = "Error in regular expression at offset %d: %s";

class TPerlRegEx {
public:
    explicit TPerlRegEx(std::string_view pattern = {});
    ~TPerlRegEx();
    TPerlRegEx(const TPerlRegEx&) = delete;
    TPerlRegEx& operator=(const TPerlRegEx&) = delete;

    const std::string& RegEx() const { return pattern_; }
    // A new pattern; compiled on the next match.
    void SetRegEx(std::string_view pattern);
    const std::string& Subject() const { return subject_; }
    // A new subject; the next MatchAgain starts from its beginning.
    void SetSubject(std::string_view subject);

    // Searches the subject from its start; raises kRegExCompileFailed for a pattern in error.
    bool Match();
    // Searches on from the end of the last match (an empty match moves on one character).
    bool MatchAgain();
    // The number of sub-expressions of the last match (0 when it failed).
    int SubExpressionCount() const { return matched_ ? groups_ - 1 : 0; }
    // Sub-expression `index` of the last match (0 the whole match); empty when it matched nothing.
    std::string SubExpressions(int index) const;

    // `subject` with every match replaced by `replacement` ("$1" names a sub-expression); the
    // object's own subject and last match are left as they were.
    std::string ReplaceAll(std::string_view subject, std::string_view replacement);

private:
    void Compile();
    bool MatchFrom(size_t offset);

    std::string pattern_;
    std::string subject_;
    void* code_ = nullptr;   // pcre2_code_8
    void* match_ = nullptr;  // pcre2_match_data_8
    bool matched_ = false;
    int groups_ = 0;
    size_t next_ = 0;
};

}  // namespace tv

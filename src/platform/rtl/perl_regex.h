#pragma once
// A Perl-compatible regular expression over 8-bit text (PCRE2), compiled when first used. Texts
// are matched byte by byte: a pattern such as "\D" treats each byte of a letter outside ASCII as
// one character, which is what the import's digit filter wants.

#include <string>
#include <string_view>

#include "platform/rtl/exception.h"

struct pcre2_real_code_8;

namespace tv {

// Raised for a pattern that does not compile or a replacement that fails, with PCRE2's message.
TV_DECLARE_EXCEPTION(ERegExError, Exception);

class TPerlRegEx {
public:
    explicit TPerlRegEx(std::string_view pattern);
    ~TPerlRegEx();
    TPerlRegEx(const TPerlRegEx&) = delete;
    TPerlRegEx& operator=(const TPerlRegEx&) = delete;

    const std::string& Pattern() const { return pattern_; }
    // `subject` with every match replaced by `replacement` ("$1" names a sub-expression).
    std::string ReplaceAll(std::string_view subject, std::string_view replacement);

private:
    pcre2_real_code_8* Compiled();

    std::string pattern_;
    pcre2_real_code_8* code_ = nullptr;
};

}  // namespace tv

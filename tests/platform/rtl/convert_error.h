#pragma once
// The message of the EConvertError a call raises, or "<no error>", for tables of refused input.

#include <string>

#include "platform/rtl/exception.h"

namespace tv {

template <class Call>
std::string ConvertErrorOf(Call&& call) {
    try {
        call();
    } catch (const EConvertError& e) {
        return e.Message;
    }
    return "<no error>";
}

}  // namespace tv

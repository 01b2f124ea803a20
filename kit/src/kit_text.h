#pragma once
// Text at the kit's edge: Windows-1252 on the API, UTF-8 in the company database. Keys are compared
// in the folded form of platform/rtl/key_fold.h, as the database's key expressions fold them.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/key_fold.h"

namespace tv::kit {

std::string ApiToStored(std::string_view cp1252);
std::string StoredToApi(std::string_view utf8);
// Copies at most `size` bytes of `text` and a terminating NUL into `buffer` (size + 1 bytes).
// False when the buffer is NULL or the size negative.
bool CopyOut(std::string_view text, char* buffer, int32_t size);

}  // namespace tv::kit

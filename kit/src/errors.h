#pragma once
// The kit's error records and their texts.

#include <string>

#include "kit/adk_abi.h"

namespace tv::kit {

// The record of a call to export `function` about `table` and `field` (ADK_NO_TABLE/ADK_NO_FIELD
// when none is concerned).
AdkErrorRec Error(int32_t code, int32_t function, int32_t table = ADK_NO_TABLE, int32_t field = ADK_NO_FIELD);
inline AdkErrorRec Ok(int32_t function) {
    return Error(ADK_OK, function);
}

// The message of a code (UTF-8, at most 100 characters).
std::string ErrorMessage(int32_t code);
// The file name the kit reports for a table ("<sql name>.tbl"), empty for no table.
std::string TableFileName(int32_t table);

}  // namespace tv::kit

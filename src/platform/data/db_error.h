#pragma once
// The dataset's failures: EDatabaseError with the class library's texts. A field position that
// does not exist raises the class library's list-index error (EListError, ListIndexError).

#include "platform/rtl/component.h"
#include "platform/rtl/exception.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace tv {

TV_DECLARE_EXCEPTION(EDatabaseError, Exception);

// Texts of the dataset's errors; "%s" stands for a field or dataset name, "%d" for a number.
inline constexpr std::string_view kNotEditing = "Dataset not in edit or insert mode";
inline constexpr std::string_view kDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr std::string_view kDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr std::string_view kDataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr std::string_view kDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr std::string_view kFieldNotFound = "Field '%s' not found";
inline constexpr std::string_view kDuplicateFieldName = "Duplicate field name '%s'";
inline constexpr std::string_view kFieldRequired = "Field '%s' must have a value";
inline constexpr std::string_view kFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr std::string_view kNotDataField = "Field '%s' holds no value of the record";
inline constexpr std::string_view kNotObjectField = "Field '%s' is not an object field";
inline constexpr std::string_view kArrayElementDefined = "Array field '%s' already has its element definition";
inline constexpr std::string_view kKeyViolation = "Key violation.";
inline constexpr std::string_view kRecordNotFound = "Record not found";
inline constexpr std::string_view kNoFieldDefinitions = "Cannot create a dataset without fields";
inline constexpr std::string_view kNoActiveIndex = "No index currently active";
inline constexpr std::string_view kDuplicateIndexName = "Duplicate index name '%s'";
inline constexpr std::string_view kIndexNotFound = "Index '%s' not found";
inline constexpr std::string_view kInvalidIntegerValue = "'%s' is not a valid integer value for field '%s'";
inline constexpr std::string_view kInvalidBoolValue = "'%s' is not a valid boolean value for field '%s'";
inline constexpr std::string_view kInvalidFloatValue =
    "'%s' is not a valid floating point value for field '%s'";
inline constexpr std::string_view kFieldRangeError =
    "%s is not a valid value for field '%s'. The allowed range is %s to %s";
inline constexpr std::string_view kFieldAccessError = "Cannot access field '%s' as type %s";
inline constexpr std::string_view kFilterSyntax = "Filter expression '%s' is not of the form field='value'";
inline constexpr std::string_view kKeyValueCount = "%d key values given for %d key fields";
inline constexpr std::string_view kBadStream = "The stream does not hold a dataset: %s";
inline constexpr std::string_view kStreamFieldsDiffer =
    "The fields of the stream do not match the dataset's fields";
inline constexpr std::string_view kOperationAborted = "Operation aborted";
inline constexpr std::string_view kCircularLink = "A dataset cannot be its own master";
inline constexpr std::string_view kNoParentRecord = "Nested dataset '%s' has no parent record";
inline constexpr std::string_view kUnidirectional = "Operation not allowed on a unidirectional dataset";

// Fills the "%s" and "%d" places of one of the texts above, in order.
std::string DbMessage(std::string_view text, std::initializer_list<std::string_view> args);

[[noreturn]] void DatabaseError(std::string_view text, std::initializer_list<std::string_view> args = {});

}  // namespace tv

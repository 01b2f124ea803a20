#pragma once
// Published properties read and written by name, through a dotted path: "DataSet.CommandText" reads
// the property CommandText of the object that the property DataSet holds. Names are compared
// without case (class_info.h). A name the class does not publish, a property of another kind, or
// a part of the path that holds no object raises EPropertyError.

#include <string>
#include <string_view>

#include "platform/rtl/class_info.h"

namespace tv {

// While `path` holds ".", replaces `obj` by the object its property named by the text before the
// first "." holds, and drops that text and the "." from `path`.
void ResolvePropPath(TObject*& obj, std::string& path);

// The published property `name` of `obj`'s class; EPropertyError when it publishes none.
const TPropInfo& FindPublished(const TObject& obj, std::string_view name);

// The value name of an enumeration property ("clUseClient").
std::string GetPathEnumProp(TObject& obj, std::string_view path);
// A text property, read and written. (The names keep the "wide" of the class library's wide
// strings; text is UTF-8 here as everywhere.)
std::string GetPathWideStrProp(TObject& obj, std::string_view path);
void SetPathWideStrProp(TObject& obj, std::string_view path, const std::string& value);
// The object an object-valued property holds (nil when it holds none).
TObject* GetPathObjectProp(TObject& obj, std::string_view path);

}  // namespace tv

#pragma once
// The process-wide list of diagnostic facts ("Adk.dll ver=20.31.1.5867" ...) that the
// environment-information dialog shows; many layers add their entries.

#include <string>
#include <string_view>
#include <vector>

namespace tv {

// Sets the line "name=value"; an empty value removes the line.
void SetEnvironmentInfo(std::string_view name, std::string_view value);
// The same with "True" or "False".
void SetEnvironmentBool(std::string_view name, bool flag);
// The lines "name=value", sorted.
std::vector<std::string> GetEnvironmentInfo();
// The value of one entry, empty when it is not set.
std::string EnvironmentInfoValue(std::string_view name);

}  // namespace tv

#pragma once
// The process-wide names the system builds its folders and titles from: the company, the product
// (set by the entry routine, which also makes it the application's title) and the instance
// (resolved when the central data module is created; "default" unless a switch names another).

#include <string>
#include <string_view>

namespace tv {

inline constexpr std::string_view kAppCompanyName = "Brismark";
inline constexpr std::string_view kAppProductName = "Tollvane";
inline constexpr std::string_view kDefaultInstanceName = "default";
// Where the maker is found: the about box's links.
inline constexpr std::string_view kAppMakerWebAddress = "https://www.brismark.example/tollvane";
inline constexpr std::string_view kAppMakerEmailAddress = "support@brismark.example";

// "Brismark" from the start.
const std::string& AppCompanyName();
void SetAppCompanyName(std::string_view name);
// Empty until the entry routine sets "Tollvane".
const std::string& AppProductName();
void SetAppProductName(std::string_view name);
const std::string& ApplicationTitle();
void SetApplicationTitle(std::string_view title);
// Empty until resolved.
const std::string& AppInstanceName();
void SetAppInstanceName(std::string_view name);

}  // namespace tv

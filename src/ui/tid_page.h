#pragma once
// The time-reporting page ("Visma Tid inställningar"): the connection to the "Visma Tid" database
// and the default user of the customers created there. The page is its block of the settings
// schema; its buttons and its user list are the behaviours TidPageBehaviours gives.

#include <string_view>

namespace tv {

inline constexpr std::string_view kTidConnectionSucceeded = "Anslutningen lyckades";
inline constexpr std::string_view kTidFailed = "Ett fel uppstod: %s";
inline constexpr std::string_view kTidUsersFailed = "Ett fel uppstod: ";
// The user list: the key stored and the two columns shown.
inline constexpr std::string_view kTidUserKeyField = "ProgramUserId";
inline constexpr std::string_view kTidUserListFields = "Signature;Descr";

}  // namespace tv

#pragma once
// Facts about the machine that the environment-information list shows, found on Linux without
// touching the network.

#include <string>
#include <string_view>

namespace tv {

// A session reached over the network: an SSH session, or an X display on another host.
bool IsRemoteSession();
// A 64-bit operating system (the "64-bit Windows" fact).
bool Is64BitSystem();
// Whether a 32-bit process runs on a 64-bit Windows: never so here.
bool IsWow64();
// Whether the machine has a default route (IPv4 or IPv6) on an interface other than loopback: the
// kernel's routing tables say so without a packet being sent.
bool IsInternetConnected();
// The same decision on the text of /proc/net/route and /proc/net/ipv6_route.
bool HasDefaultRoute(std::string_view ipv4Routes, std::string_view ipv6Routes);
// The system's text for the calling thread's last error (errno), at most 512 characters; empty
// when there is none.
std::string GetLastErrorText();

}  // namespace tv

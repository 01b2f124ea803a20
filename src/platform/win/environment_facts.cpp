#include "platform/win/environment_facts.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <sys/utsname.h>

#include "platform/rtl/files.h"

namespace tv {
namespace {

constexpr size_t kMaxErrorText = 512;
constexpr unsigned kRouteUp = 0x1;  // RTF_UP

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// A file of /proc, or "" when it cannot be read (no such table, no procfs).
std::string ProcText(const char* path) {
    std::ifstream in(path);
    return in ? std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())
              : std::string();
}

}  // namespace

bool IsRemoteSession() {
    if (IsSet("SSH_CONNECTION") || IsSet("SSH_CLIENT") || IsSet("SSH_TTY")) return true;
    const char* display = std::getenv("DISPLAY");
    if (!display) return false;
    std::string_view host(display);
    host = host.substr(0, host.rfind(':'));
    return !host.empty() && host != "unix" && host != "localhost" && host != "127.0.0.1";
}

bool Is64BitSystem() {
    struct utsname name;
    if (::uname(&name) != 0) return sizeof(void*) == 8;
    return std::string_view(name.machine).find("64") != std::string_view::npos;
}

bool IsWow64() {
    return false;
}

bool HasDefaultRoute(std::string_view ipv4Routes, std::string_view ipv6Routes) {
    // IPv4: "Iface Destination Gateway Flags ...", hex fields; the first line is a header.
    std::istringstream v4{std::string(ipv4Routes)};
    std::string line;
    std::getline(v4, line);
    while (std::getline(v4, line)) {
        std::istringstream fields(line);
        std::string iface, destination, gateway, flags;
        if (!(fields >> iface >> destination >> gateway >> flags)) continue;
        if (iface != "lo" && destination == "00000000" &&
            (std::strtoul(flags.c_str(), nullptr, 16) & kRouteUp))
            return true;
    }
    // IPv6: "destination prefix-length source source-length next-hop metric refs use flags iface".
    std::istringstream v6{std::string(ipv6Routes)};
    while (std::getline(v6, line)) {
        std::istringstream fields(line);
        std::string destination, prefix, source, sourcePrefix, nextHop, metric, refs, use, flags, iface;
        if (!(fields >> destination >> prefix >> source >> sourcePrefix >> nextHop >> metric >> refs >> use >>
              flags >> iface))
            continue;
        if (iface != "lo" && prefix == "00" && destination == std::string(32, '0') &&
            (std::strtoul(flags.c_str(), nullptr, 16) & kRouteUp))
            return true;
    }
    return false;
}

bool IsInternetConnected() {
    return HasDefaultRoute(ProcText("/proc/net/route"), ProcText("/proc/net/ipv6_route"));
}

std::string GetLastErrorText() {
    int error = errno;
    if (error == 0) return {};
    std::string text = SysErrorMessage(error);
    if (text.size() > kMaxErrorText) text.resize(kMaxErrorText);
    return text;
}

}  // namespace tv

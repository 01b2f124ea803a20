// Facts about the machine, decided from what the kernel and the environment say.

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/win/environment_facts.h"
#include "tests/support/scoped_env.h"

namespace tv {
namespace {

const char* const kV4Header =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
const std::string kV6Default =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "fe800000000000000000000000000001 00000400 00000001 00000000 00000003 eth0\n";

struct RouteCase {
    const char* rule;
    std::string v4;
    std::string v6;
    bool connected;
};

TEST(EnvironmentFacts, ADefaultRouteOutsideLoopbackMeansConnected) {
    const RouteCase cases[] = {
        {"IPv4 default route",
         std::string(kV4Header) + "eth0\t00000000\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n", "", true},
        {"only a local network",
         std::string(kV4Header) + "eth0\t0002A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n", "",
         false},
        {"a default route that is down",
         std::string(kV4Header) + "eth0\t00000000\t0102A8C0\t0002\t0\t0\t0\t0\t0\t0\t0\n", "", false},
        {"IPv6 default route", kV4Header, kV6Default, true},
        {"IPv6 default over loopback", kV4Header,
         "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
         "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200 lo\n",
         false},
        {"no tables at all", "", "", false},
    };
    for (const auto& c : cases) EXPECT_EQ(HasDefaultRoute(c.v4, c.v6), c.connected) << c.rule;
}

TEST(EnvironmentFacts, ARemoteSessionIsAnSshSessionOrAnotherHostsDisplay) {
    struct Case {
        const char* ssh;
        const char* display;
        bool remote;
    };
    const Case cases[] = {
        {nullptr, nullptr, false},          {nullptr, ":0", false},
        {nullptr, "unix:0", false},         {"10.0.0.1 5000 10.0.0.2 22", ":0", true},
        {nullptr, "build-host:10.0", true},
    };
    for (const auto& c : cases) {
        test::ScopedEnv a("SSH_CONNECTION", c.ssh), b("SSH_CLIENT", nullptr), t("SSH_TTY", nullptr),
            d("DISPLAY", c.display);
        EXPECT_EQ(IsRemoteSession(), c.remote)
            << (c.ssh ? c.ssh : "-") << " " << (c.display ? c.display : "-");
    }
}

TEST(EnvironmentFacts, ThePlatformAnswers) {
    EXPECT_FALSE(IsWow64());
    EXPECT_EQ(Is64BitSystem(), sizeof(void*) == 8);  // a 64-bit build runs on a 64-bit system
    errno = 0;
    EXPECT_EQ(GetLastErrorText(), "");
    errno = ENOENT;
    EXPECT_FALSE(GetLastErrorText().empty());
}

}  // namespace
}  // namespace tv

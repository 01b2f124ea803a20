// The SDK's interface identities are the contract's GUIDs, and its GUID is laid out as the run-time
// library's, so either side can read the other's.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/plugin/sdk/plugin_sdk.h"
#include "platform/rtl/interface.h"

namespace tv::plugin {
namespace {

static_assert(sizeof(TGUID) == sizeof(tv::TGUID) && sizeof(TGUID) == 16);
static_assert(offsetof(TGUID, D2) == offsetof(tv::TGUID, D2) &&
              offsetof(TGUID, D3) == offsetof(tv::TGUID, D3) &&
              offsetof(TGUID, D4) == offsetof(tv::TGUID, D4));

std::string Text(const TGUID& g) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.D1, g.D2, g.D3,
                  g.D4[0], g.D4[1], g.D4[2], g.D4[3], g.D4[4], g.D4[5], g.D4[6], g.D4[7]);
    return text;
}

TEST(PluginSdk, InterfacesCarryTheContractsGuids) {
    struct Case {
        const char* name;
        const TGUID& iid;
        const char* text;
    };
    const Case cases[] = {
        {"Iquorvel_plugin", Iquorvel_plugin::IID, "{4B64BE8F-C9E1-4B45-B5CC-D0C46D8FC6B7}"},
        {"Iquorvel_get", Iquorvel_get::IID, "{0FFC331A-2842-4643-A0AA-51D818046065}"},
        {"Iquorvel_put", Iquorvel_put::IID, "{C81FD973-BB1C-427A-8549-A9151E3CD7EF}"},
        {"Iquorvel_transformer", Iquorvel_transformer::IID, "{961336E3-6C19-4CD9-B472-8899342C9C3D}"},
        {"Iquorvel_onEvent", Iquorvel_onEvent::IID, "{3F0DD4D8-B551-4F1C-B271-E2A0D5E0628E}"},
        {"IInterface", IInterface::IID, "{00000000-0000-0000-C000-000000000046}"},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(c.iid), c.text) << c.name;
    EXPECT_EQ(std::memcmp(&IInterface::IID, &tv::IID_IUnknown, sizeof(TGUID)), 0);
}

}  // namespace
}  // namespace tv::plugin

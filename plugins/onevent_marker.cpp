// plugin_onevent_marker: its action writes a marker file (one line per rule parameter, "key=value")
// into the work folder. With the setting Fail=1 it fails instead, and getLastError gives a fixed text.

#include <fstream>

#include "common/sample_plugin.h"

namespace tv::samples {
namespace {

constexpr std::string_view kFail = "Fail";
constexpr std::string_view kMarkerName = "onevent.marker";
constexpr std::string_view kFailure = "Händelsen misslyckades";

class TOnEventMarker : public TSamplePlugin<plugin::Iquorvel_onEvent> {
public:
    TOnEventMarker() : TSamplePlugin("onEvent", "Markerar en händelse") {}

    bool execute() override {
        Log("execute");
        if (Core().Setting(kFail, "0") == "1") {
            Core().LastError = kFailure;
            return false;
        }
        const std::filesystem::path marker = Core().InWorkFolder(kMarkerName);
        std::error_code ec;
        std::filesystem::create_directories(marker.parent_path(), ec);
        std::ofstream out(marker, std::ios::binary | std::ios::trunc);
        for (const auto& [key, value] : Core().Params) out << key << '=' << value << '\n';
        out.flush();
        if (!out) {
            Core().LastError = "Kan inte skriva " + marker.string();
            return false;
        }
        return true;
    }
};

}  // namespace
}  // namespace tv::samples

TV_PLUGIN_MODULE({PLUGIN_NAME, &tv::plugin::Create<tv::samples::TOnEventMarker>})

// plugin_put_folder: delivers a file by copying it into the target folder of its settings. A file
// whose name matches the reject pattern is not delivered (false); one matching the throw pattern
// raises.

#include <stdexcept>

#include "common/sample_plugin.h"

namespace tv::samples {
namespace {

constexpr std::string_view kTargetFolder = "TargetFolder";
constexpr std::string_view kRejectMask = "RejectMask";
constexpr std::string_view kThrowMask = "ThrowMask";
constexpr std::string_view kDefaultRejectMask = "*reject*";
constexpr std::string_view kDefaultThrowMask = "*throw*";

class TPutFolder : public TSamplePlugin<plugin::Iquorvel_put> {
public:
    TPutFolder() : TSamplePlugin("put", "Lämnar filer i en mapp") {}

    bool PutFile(const char* Files) override {
        Log("PutFile", {Arg(Files)});
        const std::filesystem::path file(Arg(Files));
        const std::string name = file.filename().string();
        if (MatchesPattern(name, Core().Setting(kThrowMask, kDefaultThrowMask)))
            throw std::runtime_error("Filen kunde inte lämnas: " + name);
        if (MatchesPattern(name, Core().Setting(kRejectMask, kDefaultRejectMask))) return false;
        const std::string target = Core().Setting(kTargetFolder, "");
        if (target.empty()) throw std::runtime_error("Ingen målmapp angiven");
        std::filesystem::create_directories(target);
        std::filesystem::copy_file(file, std::filesystem::path(target) / name,
                                   std::filesystem::copy_options::overwrite_existing);
        return true;
    }

protected:
    bool Test() override { return !Core().Setting(kTargetFolder, "").empty(); }
};

}  // namespace
}  // namespace tv::samples

TV_PLUGIN_MODULE({PLUGIN_NAME, &tv::plugin::Create<tv::samples::TPutFolder>})

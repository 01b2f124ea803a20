// plugin_xform_upper: writes the source file's content with the letters a to z in capitals into the
// destination file. A source holding the fail marker is refused (false), one holding the throw marker
// raises; both markers are settings.

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/sample_plugin.h"

namespace tv::samples {
namespace {

constexpr std::string_view kFailMarker = "FailMarker";
constexpr std::string_view kThrowMarker = "ThrowMarker";
constexpr std::string_view kDefaultFailMarker = "FAIL-TRANSFORM";
constexpr std::string_view kDefaultThrowMarker = "THROW-TRANSFORM";

class TXformUpper : public TSamplePlugin<plugin::Iquorvel_transformer> {
public:
    TXformUpper() : TSamplePlugin("xform", "Versaler") {}

    bool Transformfile(const char* SourceFile, const char* DestFile,
                       const plugin::aStringArray& Options) override {
        Log("Transformfile", {Arg(SourceFile), Arg(DestFile), std::to_string(Options.Count())});
        std::ifstream in(Arg(SourceFile).data(), std::ios::binary);
        if (!in) throw std::runtime_error("Kan inte läsa " + std::string(Arg(SourceFile)));
        std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (content.find(Core().Setting(kThrowMarker, kDefaultThrowMarker)) != std::string::npos)
            throw std::runtime_error("Omvandlingen avbröts: " + std::string(Arg(SourceFile)));
        if (content.find(Core().Setting(kFailMarker, kDefaultFailMarker)) != std::string::npos) return false;
        for (char& c : content)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        std::ofstream out(Arg(DestFile).data(), std::ios::binary | std::ios::trunc);
        out << content;
        out.flush();
        if (!out) throw std::runtime_error("Kan inte skriva " + std::string(Arg(DestFile)));
        return true;
    }
};

}  // namespace
}  // namespace tv::samples

TV_PLUGIN_MODULE({PLUGIN_NAME, &tv::plugin::Create<tv::samples::TXformUpper>})

// plugin_put_nointerface: says it is of type "put" but has no put interface, so the host's query for
// it fails with the interface-cast error.

#include "common/sample_plugin.h"

namespace tv::samples {
namespace {

class TPutNoInterface : public TSamplePlugin<> {
public:
    TPutNoInterface() : TSamplePlugin("put", "Saknar put") {}
};

}  // namespace
}  // namespace tv::samples

TV_PLUGIN_MODULE({PLUGIN_NAME, &tv::plugin::Create<tv::samples::TPutNoInterface>})

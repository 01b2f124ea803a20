// plugin_bad_type: a getter that gives its type as "GET", in capitals, which the host does not take
// for "get". Its getFiles gives no list.

#include "common/sample_plugin.h"

namespace tv::samples {
namespace {

class TBadType : public TSamplePlugin<plugin::Iquorvel_get> {
public:
    TBadType() : TSamplePlugin("GET", "Fel typ") {}

    bool getFiles(plugin::aStringArray& files) override {
        Log("getFiles");
        return false;
    }
    bool testInterface() override {
        Log("testInterface");
        return true;
    }
};

}  // namespace
}  // namespace tv::samples

TV_PLUGIN_MODULE({PLUGIN_NAME, &tv::plugin::Create<tv::samples::TBadType>})

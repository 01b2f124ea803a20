// A module built for another version of the plug-in API: the host must refuse it.

#include "plugin_sdk.h"

extern "C" __attribute__((visibility("default"))) const tv::plugin::TPluginModuleInfo*
tollvane_plugin_module() {
    static const tv::plugin::TPluginModuleInfo info{tv::plugin::kPluginApiVersion + 1, 0, nullptr};
    return &info;
}

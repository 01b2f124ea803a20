// A shared object without the plug-in entry point: the host must refuse it.

extern "C" __attribute__((visibility("default"))) int tollvane_not_a_plugin() {
    return 0;
}

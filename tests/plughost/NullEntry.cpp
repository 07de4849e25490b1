// A plug-in library whose entry answers none, as a plug-in does when it cannot create its effect.
extern "C" __attribute__((visibility("default"))) void* VSTPluginMain(void*) {
    return nullptr;
}

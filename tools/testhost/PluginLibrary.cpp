#include "tools/testhost/PluginLibrary.h"

namespace quorvel::testhost {

bool PluginLibrary::open(const std::string& path, std::string& error) {
    close();
    if (!library.open(path, error)) return false;
    found = entry("VSTPluginMain");
    if (found == nullptr) found = entry("main");
    if (found == nullptr) {
        error = path + " exports neither VSTPluginMain nor main";
        library.close();
        return false;
    }
    return true;
}

MainEntry PluginLibrary::entry(const char* name) const {
    return reinterpret_cast<MainEntry>(library.symbol(name));
}

void PluginLibrary::close() {
    found = nullptr;
    library.close();
}

} // namespace quorvel::testhost

#include "platform/Library.h"

#include <dlfcn.h>

namespace quorvel::platform {

bool Library::open(const std::string& path, std::string& error) {
    close();
    // Local binding keeps one plug-in's symbols from resolving another's.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? std::string(reason) : "cannot load " + path;
        return false;
    }
    return true;
}

void* Library::symbol(const char* name) const {
    if (handle == nullptr || name == nullptr) return nullptr;
    return dlsym(handle, name);
}

void Library::close() {
    if (handle != nullptr) dlclose(handle);
    handle = nullptr;
}

} // namespace quorvel::platform

// Compiled into every plug-in shared object: runs when the library is loaded and stores the
// base address of this library, which identifies it among the libraries of the process.
#include "platform/Module.h"

#include <dlfcn.h>

namespace {

__attribute__((constructor)) void storeLoadedModule() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&storeLoadedModule), &info) != 0)
        quorvel::platform::storeModuleHandle(info.dli_fbase);
}

} // namespace

#include "platform/Module.h"

#include <atomic>

namespace quorvel::platform {

namespace {
std::atomic<void*> storedHandle{nullptr};
} // namespace

void* moduleHandle() {
    return storedHandle.load(std::memory_order_relaxed);
}
void storeModuleHandle(void* handle) {
    storedHandle.store(handle, std::memory_order_relaxed);
}

} // namespace quorvel::platform

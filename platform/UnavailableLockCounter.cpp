#include "platform/LockCounter.h"

// Where lock calls cannot be counted: Windows offers no way short of patching system DLLs, and
// ThreadSanitizer already replaces the functions the POSIX counter would.
namespace quorvel::platform {

bool lockCountingAvailable() {
    return false;
}

std::size_t lockCount() {
    return 0;
}

} // namespace quorvel::platform

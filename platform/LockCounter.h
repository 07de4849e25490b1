// Counts the lock calls a process makes (mutexes and read-write locks), for the tests that
// check the processing thread never blocks. Tests only; linking it into a test executable
// puts the counting in place where the platform allows it.
#pragma once

#include <cstddef>

namespace quorvel::platform {

// False where locks cannot be counted; lockCount then stays 0.
bool lockCountingAvailable();
// Lock calls made on any thread since the process started.
std::size_t lockCount();

} // namespace quorvel::platform

#include "platform/LockCounter.h"

#include <atomic>
#include <dlfcn.h>
#include <pthread.h>

namespace {

std::atomic<std::size_t> locks{0};

// The next definition of a function after this executable's: the C library's. The dynamic
// linker's lookup takes its own internal locks, never the functions defined here.
template <class Function> Function next(std::atomic<Function>& slot, const char* name) {
    Function found = slot.load(std::memory_order_acquire);
    if (found == nullptr) {
        found = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
        slot.store(found, std::memory_order_release);
    }
    return found;
}

using MutexFunction = int (*)(pthread_mutex_t*);
using RwlockFunction = int (*)(pthread_rwlock_t*);
std::atomic<MutexFunction> nextMutexLock{nullptr};
std::atomic<MutexFunction> nextMutexTrylock{nullptr};
std::atomic<RwlockFunction> nextReadLock{nullptr};
std::atomic<RwlockFunction> nextWriteLock{nullptr};

} // namespace

// Defined in the executable, these take the place of the C library's for every caller in the
// process, std::mutex included.
extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
    locks.fetch_add(1, std::memory_order_relaxed);
    return next(nextMutexLock, "pthread_mutex_lock")(mutex);
}
extern "C" int pthread_mutex_trylock(pthread_mutex_t* mutex) {
    locks.fetch_add(1, std::memory_order_relaxed);
    return next(nextMutexTrylock, "pthread_mutex_trylock")(mutex);
}
extern "C" int pthread_rwlock_rdlock(pthread_rwlock_t* lock) {
    locks.fetch_add(1, std::memory_order_relaxed);
    return next(nextReadLock, "pthread_rwlock_rdlock")(lock);
}
extern "C" int pthread_rwlock_wrlock(pthread_rwlock_t* lock) {
    locks.fetch_add(1, std::memory_order_relaxed);
    return next(nextWriteLock, "pthread_rwlock_wrlock")(lock);
}

namespace quorvel::platform {

bool lockCountingAvailable() {
    return true;
}

std::size_t lockCount() {
    return locks.load(std::memory_order_relaxed);
}

} // namespace quorvel::platform

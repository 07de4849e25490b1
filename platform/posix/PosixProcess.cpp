#include "platform/Process.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace quorvel::platform {

namespace {

// The handler may only touch fixed storage and call async-signal-safe functions.
char crashMessage[256];
char crashRemoves[4096];
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

void copyInto(char* storage, std::size_t capacity, const char* text) {
    storage[0] = '\0';
    if (text == nullptr) return;
    const std::size_t length = std::min(std::strlen(text), capacity - 1);
    std::memcpy(storage, text, length);
    storage[length] = '\0';
}

extern "C" void onCrash(int) {
    if (crashRemoves[0] != '\0') unlink(crashRemoves);
    const std::size_t length = std::strlen(crashMessage);
    ssize_t ignored = write(STDERR_FILENO, crashMessage, length);
    ignored = write(STDERR_FILENO, "\n", 1);
    (void)ignored;
    _exit(3);
}

} // namespace

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

long processId() {
    return static_cast<long>(getpid());
}

void reportCrashes(const char* message) {
    copyInto(crashMessage, sizeof crashMessage, message);
    struct sigaction action {};
    action.sa_handler = onCrash;
    sigemptyset(&action.sa_mask);
    for (int signal : kCrashSignals)
        sigaction(signal, &action, nullptr);
}

void removeOnCrash(const char* path) {
    copyInto(crashRemoves, sizeof crashRemoves, path);
}

} // namespace quorvel::platform

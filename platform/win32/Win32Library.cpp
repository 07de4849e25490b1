#include "platform/Library.h"

#include <windows.h>

namespace quorvel::platform {

namespace {

std::string systemMessage(DWORD code) {
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, buffer, sizeof buffer, nullptr);
    std::string message(buffer, length);
    // The system's messages end in a line break, which would split a one-line report.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    if (message.empty()) message = "system error";
    return message + " (error " + std::to_string(code) + ")";
}

} // namespace

bool Library::open(const std::string& path, std::string& error) {
    close();
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        error = path + ": " + systemMessage(GetLastError());
        return false;
    }
    handle = reinterpret_cast<void*>(module);
    return true;
}

void* Library::symbol(const char* name) const {
    if (handle == nullptr || name == nullptr) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void Library::close() {
    if (handle != nullptr) FreeLibrary(static_cast<HMODULE>(handle));
    handle = nullptr;
}

} // namespace quorvel::platform

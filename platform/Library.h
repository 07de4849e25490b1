// A shared library loaded at run time by a host program: the test host and the integration
// tests load plug-ins through it. Plug-in libraries never link it.
#pragma once

#include <string>
#include <utility>

namespace quorvel::platform {

class Library {
public:
    Library() = default;
    ~Library() { close(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    Library(Library&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    Library& operator=(Library&& other) noexcept {
        if (this != &other) {
            close();
            handle = std::exchange(other.handle, nullptr);
        }
        return *this;
    }

    // Loads the library at path, resolving every symbol now and keeping them to itself; on
    // failure answers false and error holds the system's reason.
    bool open(const std::string& path, std::string& error);
    // The address of an exported symbol, or nullptr when the library does not export it.
    void* symbol(const char* name) const;
    // Unloads the library; nothing it exported may be used afterwards.
    void close();
    bool isOpen() const { return handle != nullptr; }

private:
    void* handle = nullptr;
};

} // namespace quorvel::platform

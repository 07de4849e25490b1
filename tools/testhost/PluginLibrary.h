// A plug-in library loaded the way a host loads it: by path, through its exported entry.
#pragma once

#include "host/Abi.h"
#include "platform/Library.h"

#include <string>

namespace quorvel::testhost {

class PluginLibrary {
public:
    // Loads the library and finds its entry, VSTPluginMain or else main; false with a reason
    // when the library cannot be loaded or exports neither.
    bool open(const std::string& path, std::string& error);
    // The entry exported under name, or nullptr.
    MainEntry entry(const char* name) const;
    // The entry found by open.
    MainEntry mainEntry() const { return found; }
    void close();

private:
    platform::Library library;
    MainEntry found = nullptr;
};

} // namespace quorvel::testhost

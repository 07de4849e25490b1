// What the effect layer needs from a plug-in's editor. The editor shell implements it; the
// dispatcher forwards the editor opcodes here and parameter changes are reported through it.
#pragma once

#include "host/Abi.h"

#include <cstdint>

namespace quorvel {

// Character, virtual key and modifier bits of a key the host forwards (opcodes 59 and 60).
struct KeyRecord {
    std::int32_t character;
    std::uint8_t virtualKey;
    std::uint8_t modifiers;
};

class EditorLink {
public:
    virtual ~EditorLink() = default;

    // User-interface thread: stores the address of the editor's rectangle into place.
    virtual IntPtr getSize(EditorSize** place) = 0;
    // User-interface thread: opens the editor inside the host's parent window.
    virtual IntPtr open(void* parentWindow) = 0;
    virtual void close() = 0;
    virtual void idle() = 0;
    // Answer 1 when the key was used, 0 otherwise.
    virtual IntPtr keyDown(KeyRecord& key) = 0;
    virtual IntPtr keyUp(KeyRecord& key) = 0;
    virtual IntPtr setDragMode(IntPtr mode) = 0;
    // Any thread: a parameter changed; only marks controls, never draws.
    virtual void requestRefresh() = 0;
    virtual void parameterChanged(std::int32_t index, float value) = 0;
};

} // namespace quorvel

// Copying texts into buffers the host hands in.
#pragma once

#include <cstddef>

namespace quorvel {

// Identification texts and program names hold at most 23 characters and a zero.
inline constexpr std::size_t kNameCapacity = 24;

// Copies at most capacity - 1 characters of source and always terminates the result.
inline void copyText(char* destination, const char* source, std::size_t capacity) {
    if (destination == nullptr || capacity == 0) return;
    std::size_t i = 0;
    if (source != nullptr) {
        for (; i + 1 < capacity && source[i] != '\0'; ++i)
            destination[i] = source[i];
    }
    destination[i] = '\0';
}

} // namespace quorvel

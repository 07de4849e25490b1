// The programs of a plug-in: per program one value per parameter and a name of at most 23
// characters. Allocated once in the plug-in's constructor; empty when that allocation failed.
#pragma once

#include "host/Text.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace quorvel {

class ProgramStore {
public:
    static constexpr std::uint64_t kMostValues = std::uint64_t{1} << 20;

    // Every program starts with the defaults and the name "Init".
    ProgramStore(std::int32_t programCount, std::int32_t parameterCount, const float* defaults);

    bool valid() const { return values != nullptr && names != nullptr; }
    bool holds(std::int32_t program) const { return valid() && program >= 0 && program < programs; }

    // Values are read by the processing thread during program changes, so they are atomic.
    float value(std::int32_t program, std::int32_t index) const;
    void storeValue(std::int32_t program, std::int32_t index, float value);
    const char* name(std::int32_t program) const;
    void rename(std::int32_t program, const char* text);
    // The host's display of a program's name: "Init" gets the program number appended.
    void displayName(std::int32_t program, char* text) const;
    // Copies values and name; false for a destination outside the store.
    bool copy(std::int32_t from, std::int32_t to);

private:
    // Where a program's value of one parameter sits; both indices are checked by the caller.
    std::size_t slot(std::int32_t program, std::int32_t index) const;

    struct Name {
        char text[kNameCapacity];
    };

    std::int32_t programs;
    std::int32_t parameters;
    std::unique_ptr<std::atomic<float>[]> values;
    std::unique_ptr<Name[]> names;
};

} // namespace quorvel

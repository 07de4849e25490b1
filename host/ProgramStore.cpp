#include "host/ProgramStore.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace quorvel {

ProgramStore::ProgramStore(std::int32_t programCount, std::int32_t parameterCount,
                           const float* defaults)
    : programs(programCount > 0 ? programCount : 0),
      parameters(parameterCount > 0 ? parameterCount : 0) {
    // Counted in 64 bits so that no count overflows, even in a 32-bit build.
    const std::uint64_t valueCount =
        static_cast<std::uint64_t>(programs) * static_cast<std::uint64_t>(parameters);
    // No plug-in comes near this; beyond it the store stays empty, as if allocation failed,
    // and value indices can never overflow.
    if (valueCount > kMostValues || static_cast<std::uint64_t>(programs) > kMostValues) return;
    values.reset(new (std::nothrow) std::atomic<float>[valueCount > 0 ? valueCount : 1]);
    names.reset(new (std::nothrow) Name[programs > 0 ? programs : 1]);
    if (!valid()) {
        values.reset();
        names.reset();
        return;
    }
    for (std::int32_t p = 0; p < programs; ++p) {
        for (std::int32_t i = 0; i < parameters; ++i)
            storeValue(p, i, defaults[i]);
        copyText(names[p].text, "Init", kNameCapacity);
    }
}

std::size_t ProgramStore::slot(std::int32_t program, std::int32_t index) const {
    return static_cast<std::size_t>(program) * static_cast<std::size_t>(parameters) +
           static_cast<std::size_t>(index);
}

float ProgramStore::value(std::int32_t program, std::int32_t index) const {
    if (!holds(program) || index < 0 || index >= parameters) return 0.0f;
    return values[slot(program, index)].load(std::memory_order_relaxed);
}

void ProgramStore::storeValue(std::int32_t program, std::int32_t index, float value) {
    if (!holds(program) || index < 0 || index >= parameters) return;
    values[slot(program, index)].store(value, std::memory_order_relaxed);
}

const char* ProgramStore::name(std::int32_t program) const {
    return holds(program) ? names[program].text : "";
}

void ProgramStore::rename(std::int32_t program, const char* text) {
    if (holds(program)) copyText(names[program].text, text, kNameCapacity);
}

void ProgramStore::displayName(std::int32_t program, char* text) const {
    if (!holds(program)) {
        text[0] = '\0';
        return;
    }
    if (std::strcmp(names[program].text, "Init") == 0) {
        char numbered[kNameCapacity + 16];
        std::snprintf(numbered, sizeof numbered, "%s %d", names[program].text,
                      static_cast<int>(program) + 1);
        copyText(text, numbered, kNameCapacity);
    } else {
        copyText(text, names[program].text, kNameCapacity);
    }
}

bool ProgramStore::copy(std::int32_t from, std::int32_t to) {
    if (!holds(from) || !holds(to)) return false;
    if (from == to) return true;
    for (std::int32_t i = 0; i < parameters; ++i)
        storeValue(to, i, value(from, i));
    copyText(names[to].text, names[from].text, kNameCapacity);
    return true;
}

} // namespace quorvel

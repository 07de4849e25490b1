// What a host shows of one parameter before any value: its title, its unit and the value it
// starts with.
#pragma once

namespace quorvel {

struct ParameterInfo {
    const char* title;
    const char* unit;
    float defaultValue;
};

} // namespace quorvel

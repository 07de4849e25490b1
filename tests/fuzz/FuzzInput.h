// Reads a fuzzer's input as the arguments of host calls. Every read succeeds: past the end of
// the input each byte reads as 0, so any input is a valid program. make_corpus.py writes the
// same encodings.
#pragma once

#include "host/Abi.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace quorvel::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool exhausted() const { return position >= size; }

    std::uint8_t byte() { return exhausted() ? 0 : data[position++]; }

    // Four bytes, least significant first.
    std::int32_t int32() {
        std::uint32_t bits = 0;
        for (int shift = 0; shift < 32; shift += 8)
            bits |= static_cast<std::uint32_t>(byte()) << shift;
        return static_cast<std::int32_t>(bits);
    }

    // One byte for -16 to 223, the values most arguments take; 0xF0 to 0xFF give the ends of
    // the int32 range or four raw bytes.
    std::int32_t number() { return numberFrom(byte()); }

    // A pointer-sized value: 0xFF is followed by eight raw bytes, anything else is a number.
    IntPtr wide() {
        const std::uint8_t tag = byte();
        if (tag != 0xFF) return numberFrom(tag);
        std::uint64_t bits = 0;
        for (int shift = 0; shift < 64; shift += 8)
            bits |= static_cast<std::uint64_t>(byte()) << shift;
        return static_cast<IntPtr>(bits);
    }

    // 0 to 200 give 0 to 1 in steps of 0.005; above, the floats hosts and editors get wrong
    // (NaN, infinities, huge and tiny values), and 0xFF four raw bytes of any bit pattern.
    float real() {
        const std::uint8_t code = byte();
        if (code <= 200) return static_cast<float>(code) / 200.0f;
        if (code == 0xFF) return fromBits(static_cast<std::uint32_t>(int32()));
        constexpr float inf = std::numeric_limits<float>::infinity();
        const float specials[] = {fromBits(0x7FC00000u), // quiet NaN
                                  fromBits(0xFFC00000u), // negative NaN
                                  fromBits(0x7FA00000u), // signalling NaN
                                  inf,
                                  -inf,
                                  std::numeric_limits<float>::max(),
                                  std::numeric_limits<float>::lowest(),
                                  1e30f,
                                  -1e30f,
                                  3e9f,
                                  -3e9f,
                                  std::numeric_limits<float>::denorm_min(),
                                  -0.0f,
                                  -1.0f,
                                  2.0f,
                                  0.99999994f,
                                  1.0000001f,
                                  44100.0f,
                                  96000.0f,
                                  11025.0f,
                                  -44100.0f,
                                  1e-30f,
                                  127.0f,
                                  0.5f};
        constexpr std::size_t count = sizeof specials / sizeof specials[0];
        return specials[static_cast<std::size_t>(code - 201) % count];
    }

private:
    std::int32_t numberFrom(std::uint8_t tag) {
        if (tag < 0xF0) return static_cast<std::int32_t>(tag) - 16;
        switch (tag & 3) {
        case 0:
            return std::numeric_limits<std::int32_t>::min();
        case 1:
            return std::numeric_limits<std::int32_t>::max();
        default:
            return int32();
        }
    }

    static float fromBits(std::uint32_t bits) {
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

} // namespace quorvel::fuzz

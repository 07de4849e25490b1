// What the plug-in unit tests share: a host that collects sent events without allocating, a
// way to hand a block to an effect as a host does, and random performances.
#pragma once

#include "host/EffectBase.h"
#include "host/EventLists.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace quorvel::testing {

// Collects sent events into fixed storage, so that the host side allocates nothing either.
struct SentEvents {
    static constexpr std::size_t kCapacity = 1 << 14;
    static inline std::array<MidiEventRecord, kCapacity> events{};
    static inline std::size_t count = 0;
    static IntPtr QUORVEL_CALL callback(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr,
                                        void* pointer, float) {
        if (opcode == 1) return 2400;
        if (opcode != 8 || pointer == nullptr) return 0;
        const auto& list = *static_cast<const EventList*>(pointer);
        forEachMidiEvent(list, [](const MidiEventRecord& event) {
            if (count < kCapacity) events[count++] = event;
        });
        return 1;
    }
};

// Hands a block of events to the effect through opcode 25, in lists of at most 64; answers 1
// when every list was answered 1.
inline std::int32_t deliver(EffectBase& effect, std::vector<MidiEventRecord>& block) {
    constexpr std::size_t kListCapacity = 64;
    std::int32_t answer = 1;
    for (std::size_t first = 0; first < block.size() || first == 0; first += kListCapacity) {
        EventListOf<kListCapacity> list{};
        const std::size_t count = std::min(kListCapacity, block.size() - first);
        list.count = static_cast<std::int32_t>(count);
        for (std::size_t i = 0; i < count; ++i)
            list.events[i] = reinterpret_cast<Event*>(&block[first + i]);
        if (effect.dispatch(25, 0, 0, &list, 0.0f) != 1) answer = 0;
    }
    return answer;
}

// A random performance: notes on random channels, program changes, panic controllers and
// other messages, then a note-off for every note whose last message was a note-on.
class RandomPerformance {
public:
    explicit RandomPerformance(unsigned seed) : random(seed) {}

    std::vector<MidiEventRecord> nextBlock() {
        std::vector<MidiEventRecord> block;
        const int size = pick(0, 40);
        for (int i = 0; i < size; ++i) {
            const auto channel = static_cast<std::uint8_t>(pick(0, 3));
            const auto note = static_cast<std::uint8_t>(pick(0, 127));
            const int choice = pick(0, 99);
            std::uint8_t status = kNoteOn;
            std::uint8_t data1 = note;
            auto data2 = static_cast<std::uint8_t>(pick(1, 127));
            if (choice < 40) {
                held[channel][note] = true;
            } else if (choice < 80) {
                status = pick(0, 1) ? kNoteOff : kNoteOn;
                data2 = status == kNoteOn ? 0 : data2;
                held[channel][note] = false;
            } else if (choice < 83) {
                status = kControlChange;
                // Held notes stay held: the release at the end sends their note-offs anyway,
                // which a plug-in that forgot them on the panic must drop or pass harmlessly.
                data1 = pick(0, 1) ? kAllNotesOff : kAllSoundOff;
            } else if (choice < 86) {
                status = kProgramChange;
                data1 = static_cast<std::uint8_t>(pick(0, 2));
            } else {
                const std::uint8_t others[] = {kControlChange, kPitchBend, kPolyPressure,
                                               kChannelPressure, 0xF0};
                status = others[pick(0, 4)];
                data1 = static_cast<std::uint8_t>(pick(0, 255));
                data2 = static_cast<std::uint8_t>(pick(0, 255));
            }
            block.push_back(
                freshMidiEvent(i, static_cast<std::uint8_t>(status | (status < 0xF0 ? channel : 0)),
                               data1, data2));
        }
        return block;
    }

    std::vector<MidiEventRecord> releaseAll() {
        std::vector<MidiEventRecord> block;
        for (std::uint8_t channel = 0; channel < 4; ++channel)
            for (std::uint8_t note = 0; note < kNoteCount; ++note)
                if (held[channel][note]) {
                    block.push_back(freshMidiEvent(0, kNoteOff | channel, note, 64));
                    held[channel][note] = false;
                }
        return block;
    }

    float nextValue() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(random); }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

private:
    std::mt19937 random;
    std::array<std::array<bool, kNoteCount>, 4> held{};
};

} // namespace quorvel::testing

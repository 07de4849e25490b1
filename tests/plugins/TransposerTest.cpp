#include "plugins/tavrune/TransposerEffect.h"

#include "tests/support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace quorvel {
namespace {

// Collects sent events into fixed storage, so that the host side allocates nothing either.
struct SentEvents {
    static constexpr std::size_t kCapacity = 4096;
    static std::array<MidiEventRecord, kCapacity> events;
    static std::size_t count;
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
std::array<MidiEventRecord, SentEvents::kCapacity> SentEvents::events;
std::size_t SentEvents::count = 0;

// Hands a block of events to the effect as a host does.
std::int32_t deliver(TransposerEffect& effect, std::vector<MidiEventRecord>& block) {
    EventListOf<64> list{};
    list.count = static_cast<std::int32_t>(block.size());
    for (std::size_t i = 0; i < block.size(); ++i)
        list.events[i] = reinterpret_cast<Event*>(&block[i]);
    return static_cast<std::int32_t>(effect.dispatch(25, 0, 0, &list, 0.0f));
}

TEST(TransposerTest, ShiftOfAnyValueStaysInsideItsRange) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float value;
        std::int32_t shift;
    } cases[] = {{0.0f, -128},   {0.5f, 0},    {1.0f, 128},  {0.55f, 12},
                 {0.001f, -128}, {0.499f, -1}, {1.5f, 128},  {-2.0f, -128},
                 {inf, 128},     {-inf, -128}, {1e30f, 128}, {std::nanf(""), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TransposerEffect::shiftOf(c.value), c.shift) << c.value;
}

// A random performance: notes on random channels, shift changes, program changes, panic
// controllers and other messages, then every held note released.
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
            std::uint8_t data2 = static_cast<std::uint8_t>(pick(1, 127));
            if (choice < 40) {
                held[channel][note] = true;
            } else if (choice < 80) {
                status = pick(0, 1) ? kNoteOff : kNoteOn;
                data2 = status == kNoteOn ? 0 : data2;
                held[channel][note] = false;
            } else if (choice < 83) {
                status = kControlChange;
                data1 = pick(0, 1) ? kAllNotesOff : kAllSoundOff;
                held[channel].fill(false);
            } else if (choice < 86) {
                status = kProgramChange;
                data1 = static_cast<std::uint8_t>(pick(0, 2));
            } else {
                const std::uint8_t others[] = {kControlChange, kPitchBend, kPolyPressure,
                                               kChannelPressure, 0xF0};
                status = others[pick(0, 4)];
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
                if (held[channel][note])
                    block.push_back(freshMidiEvent(0, kNoteOff | channel, note, 64));
        return block;
    }

    float nextValue() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(random); }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    std::mt19937 random;
    std::array<std::array<bool, kNoteCount>, 4> held{};
};

TEST(TransposerTest, RandomPerformancesAllocateNothingAndLeaveNoNoteHanging) {
    {
        testing::AllocationScope probe;
        // Kept in a volatile so the compiler cannot leave the allocation out.
        int* volatile kept = new int(1);
        delete kept;
        ASSERT_EQ(probe.count(), 1u) << "the allocation hook is not linked in";
    }
    for (unsigned seed = 1; seed <= 40; ++seed) {
        TransposerEffect effect(SentEvents::callback);
        RandomPerformance performance(seed);
        // How many note-ons each output note has outstanding, per channel.
        std::array<std::array<int, kNoteCount>, kChannelCount> sounding{};
        std::size_t allocations = 0;
        for (int block = 0; block <= 30; ++block) {
            auto events = block < 30 ? performance.nextBlock() : std::vector<MidiEventRecord>{};
            if (block == 30) {
                // Released in blocks the list fits.
                auto releases = performance.releaseAll();
                for (std::size_t i = 0; i < releases.size(); i += 64) {
                    std::vector<MidiEventRecord> part(
                        releases.begin() + static_cast<long>(i),
                        releases.begin() + static_cast<long>(std::min(i + 64, releases.size())));
                    SentEvents::count = 0;
                    deliver(effect, part);
                    for (std::size_t e = 0; e < SentEvents::count; ++e) {
                        const MidiEventRecord& out = SentEvents::events[e];
                        --sounding[static_cast<std::size_t>(messageChannel(out))][out.data1];
                    }
                }
                break;
            }
            effect.applyParameter(0, performance.nextValue());
            SentEvents::count = 0;
            testing::AllocationScope scope;
            EXPECT_EQ(deliver(effect, events), 1);
            allocations += scope.count();
            for (std::size_t e = 0; e < SentEvents::count; ++e) {
                const MidiEventRecord& out = SentEvents::events[e];
                auto& notes = sounding[static_cast<std::size_t>(messageChannel(out))];
                if (isNoteOn(out)) ++notes[out.data1];
                if (isNoteOff(out)) {
                    --notes[out.data1];
                    ASSERT_GE(notes[out.data1], 0)
                        << "note-off for a note never sent, seed " << seed;
                }
                if (isPanicController(out)) notes.fill(0);
            }
        }
        EXPECT_EQ(allocations, 0u) << "seed " << seed;
        for (std::size_t channel = 0; channel < kChannelCount; ++channel)
            for (std::size_t note = 0; note < kNoteCount; ++note)
                EXPECT_EQ(sounding[channel][note], 0)
                    << "hanging note " << note << " on channel " << channel << ", seed " << seed;
    }
}

} // namespace
} // namespace quorvel

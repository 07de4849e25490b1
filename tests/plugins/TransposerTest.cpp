#include "plugins/tavrune/TransposerEffect.h"

#include "tests/support/AllocationCounter.h"
#include "tests/support/Performance.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace quorvel {
namespace {

using testing::deliver;
using testing::RandomPerformance;
using testing::SentEvents;

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

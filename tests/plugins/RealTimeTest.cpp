// Every plug-in of the suite on its processing thread: no allocation while events are handled
// or audio is processed, and whatever float reaches a parameter (NaN, infinities, huge values
// an editor or a MIDI program could hand in past the host's entry) gives well-formed output.
#include "plugins/brenlit/ControllerRangeFilterEffect.h"
#include "plugins/gavorn/VelocityAmpEffect.h"
#include "plugins/kelvost/VelocityRangeFilterEffect.h"
#include "plugins/lunfeth/NoteFilterEffect.h"
#include "plugins/marquil/ChanneliserEffect.h"
#include "plugins/pellix/ControllerMapperEffect.h"
#include "plugins/scalomir/ForceToKeyEffect.h"
#include "plugins/sorvane/EnvelopeEffect.h"
#include "plugins/tavrune/TransposerEffect.h"
#include "plugins/valdrin/NoteRangeFilterEffect.h"

#include "platform/LockCounter.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/Performance.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>

namespace quorvel {
namespace {

using testing::AllocationScope;
using testing::RandomPerformance;
using testing::SentEvents;

template <class Effect> class RealTimeTest : public ::testing::Test {};

using Effects =
    ::testing::Types<ForceToKeyEffect, ControllerRangeFilterEffect, NoteRangeFilterEffect,
                     EnvelopeEffect, VelocityRangeFilterEffect, ChanneliserEffect, TransposerEffect,
                     NoteFilterEffect, VelocityAmpEffect, ControllerMapperEffect>;
TYPED_TEST_SUITE(RealTimeTest, Effects);

// Stereo buffers for the one plug-in with audio; the others are handed them too and must
// leave them alone.
struct StereoBuffers {
    static constexpr std::int32_t kFrames = 256;
    std::array<std::array<float, kFrames>, 2> input{};
    std::array<std::array<float, kFrames>, 2> output{};
    std::array<float*, 2> inputs{input[0].data(), input[1].data()};
    std::array<float*, 2> outputs{output[0].data(), output[1].data()};

    StereoBuffers() {
        input[0].fill(0.5f);
        input[1].fill(-0.25f);
    }
};

// A sent event carries a note number and channel a synth can take.
::testing::AssertionResult wellFormed(const MidiEventRecord& event) {
    if (event.type != kMidiEventType) return ::testing::AssertionFailure() << "not MIDI";
    if (event.status < 0x80) return ::testing::AssertionFailure() << "no status byte";
    if ((isNoteOn(event) || isNoteOff(event)) && event.data1 > 127)
        return ::testing::AssertionFailure() << "note " << int{event.data1};
    return ::testing::AssertionSuccess();
}

TEST(LockCounterTest, SeesAStandardMutex) {
    if (!platform::lockCountingAvailable()) GTEST_SKIP() << "locks cannot be counted here";
    std::mutex mutex;
    const std::size_t before = platform::lockCount();
    mutex.lock();
    mutex.unlock();
    EXPECT_EQ(platform::lockCount() - before, 1u);
}

TYPED_TEST(RealTimeTest, HandlesLongRandomPerformancesWithoutAllocatingOrLocking) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        auto effect = std::make_unique<TypeParam>(SentEvents::callback);
        effect->dispatch(12, 0, 1, nullptr, 0.0f);
        const std::int32_t parameters = effect->record().parameterCount;
        RandomPerformance performance(seed);
        StereoBuffers buffers;
        std::size_t allocations = 0;
        std::size_t locks = 0;
        constexpr int kBlocks = 200;
        for (int block = 0; block < kBlocks; ++block) {
            auto events = block < kBlocks - 1 ? performance.nextBlock() : performance.releaseAll();
            effect->applyParameter(performance.pick(0, parameters - 1), performance.nextValue());
            SentEvents::count = 0;
            {
                const std::size_t locksBefore = platform::lockCount();
                AllocationScope scope;
                EXPECT_EQ(testing::deliver(*effect, events), 1);
                effect->processOverwriting(buffers.inputs.data(), buffers.outputs.data(),
                                           StereoBuffers::kFrames);
                effect->processAccumulating(buffers.inputs.data(), buffers.outputs.data(),
                                            StereoBuffers::kFrames);
                allocations += scope.count();
                locks += platform::lockCount() - locksBefore;
            }
            for (std::size_t e = 0; e < SentEvents::count; ++e)
                ASSERT_TRUE(wellFormed(SentEvents::events[e])) << "seed " << seed;
            for (const auto& channel : buffers.output)
                for (float sample : channel)
                    ASSERT_TRUE(std::isfinite(sample)) << "seed " << seed;
        }
        EXPECT_EQ(allocations, 0u) << "seed " << seed;
        EXPECT_EQ(locks, 0u) << "seed " << seed;
    }
}

TYPED_TEST(RealTimeTest, AnyFloatInAParameterGivesWellFormedOutput) {
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {std::nanf(""), inf, -inf, 1e30f, -1e30f, 3e9f, -3e9f, 2.0f, -1.0f};
    for (float value : values) {
        auto effect = std::make_unique<TypeParam>(SentEvents::callback);
        effect->dispatch(12, 0, 1, nullptr, 0.0f);
        for (std::int32_t index = 0; index < effect->record().parameterCount; ++index) {
            effect->applyParameter(index, value);
            char text[64] = {};
            effect->dispatch(7, index, 0, text, 0.0f);
            EXPECT_LT(std::char_traits<char>::length(text), sizeof text);
        }
        RandomPerformance performance(7);
        StereoBuffers buffers;
        SentEvents::count = 0;
        for (int block = 0; block < 10; ++block) {
            auto events = performance.nextBlock();
            testing::deliver(*effect, events);
            effect->processOverwriting(buffers.inputs.data(), buffers.outputs.data(),
                                       StereoBuffers::kFrames);
        }
        for (std::size_t e = 0; e < SentEvents::count; ++e)
            ASSERT_TRUE(wellFormed(SentEvents::events[e])) << "value " << value;
    }
}

} // namespace
} // namespace quorvel

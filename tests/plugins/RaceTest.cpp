// Every plug-in with a host that automates it from one thread (set-parameter and program
// changes through the record's entries) while another thread delivers event lists and
// processes audio on the same instance. Built with ThreadSanitizer, a data race fails it.
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

#include "tests/support/Performance.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>
#include <random>
#include <thread>

namespace quorvel {
namespace {

using testing::RandomPerformance;
using testing::SentEvents;

template <class Effect> class RaceTest : public ::testing::Test {};

using Effects =
    ::testing::Types<ForceToKeyEffect, ControllerRangeFilterEffect, NoteRangeFilterEffect,
                     EnvelopeEffect, VelocityRangeFilterEffect, ChanneliserEffect, TransposerEffect,
                     NoteFilterEffect, VelocityAmpEffect, ControllerMapperEffect>;
TYPED_TEST_SUITE(RaceTest, Effects);

TYPED_TEST(RaceTest, AutomationWhileProcessing) {
    auto effect = std::make_unique<TypeParam>(SentEvents::callback);
    EffectRecord& record = effect->record();
    record.dispatchEntry(&record, 12, 0, 1, nullptr, 0.0f);
    std::atomic<bool> automating{true};

    std::thread automation([&record, &automating] {
        std::mt19937 random(11);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        for (int i = 0; i < 20000; ++i) {
            const auto index =
                static_cast<std::int32_t>(random() % static_cast<unsigned>(record.parameterCount));
            record.setParameterEntry(&record, index, value(random));
            if (i % 16 == 0)
                record.dispatchEntry(
                    &record, 2, 0,
                    static_cast<IntPtr>(random() % static_cast<unsigned>(record.programCount)),
                    nullptr, 0.0f);
        }
        automating.store(false, std::memory_order_relaxed);
    });

    RandomPerformance performance(5);
    std::array<std::array<float, 128>, 2> input{}, output{};
    float* inputs[] = {input[0].data(), input[1].data()};
    float* outputs[] = {output[0].data(), output[1].data()};
    // Processing goes on for as long as the automation does.
    for (int block = 0; block < 400 || automating.load(std::memory_order_relaxed); ++block) {
        auto events = performance.nextBlock();
        SentEvents::count = 0;
        testing::deliver(*effect, events);
        record.processOverwritingEntry(&record, inputs, outputs, 128);
        record.processAccumulatingEntry(&record, inputs, outputs, 128);
    }
    automation.join();
    record.dispatchEntry(&record, 12, 0, 0, nullptr, 0.0f);
}

} // namespace
} // namespace quorvel

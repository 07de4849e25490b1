#include "host/PluginMain.h"

#include "tests/host/TestEffects.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quorvel::testing {
namespace {

int created = 0;

EffectBase* createPlain(HostCallback host) {
    ++created;
    return new PlainEffect(host);
}

EffectBase* createWithoutEditor(HostCallback host) {
    auto* effect = new PlainEffect(host);
    effect->failEditor();
    return effect;
}

EffectBase* createNothing(HostCallback) {
    return nullptr;
}

TEST(PluginMainTest, AHostThatAnswersNoVersionGetsNothing) {
    testhost::HostRecorder host;
    host.setAnswer(1, 0);
    testhost::CreationScope scope(&host);
    created = 0;
    EXPECT_EQ(runMain(testhost::recordingHostCallback, createPlain), nullptr);
    EXPECT_EQ(created, 0);
    ASSERT_EQ(host.calls().size(), 1u) << "the version query, made without a record";
    EXPECT_EQ(host.calls()[0].opcode, 1);
    EXPECT_EQ(runMain(nullptr, createPlain), nullptr);
}

TEST(PluginMainTest, AFailedEditorDiscardsOnlyThatInstance) {
    testhost::HostRecorder host;
    testhost::CreationScope scope(&host);
    EXPECT_EQ(runMain(testhost::recordingHostCallback, createWithoutEditor), nullptr);
    EXPECT_EQ(runMain(testhost::recordingHostCallback, createNothing), nullptr);
    EffectRecord* record = runMain(testhost::recordingHostCallback, createPlain);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->dispatchEntry(record, 1, 0, 0, nullptr, 0.0f), 1);
}

TEST(PluginMainTest, ArrangementsAreAllocatedCopiedAndFreed) {
    PlainEffect effect(nullptr);
    SpeakerArrangement* source = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&source, 2));
    EXPECT_EQ(source->channelCount, 2);
    source->type = 7;
    SpeakerRecord* speakers = source->speakers;
    std::strcpy(speakers[1].name, "Right");
    speakers[1].type = 2;
    speakers[1].position[3] = 99;
    speakers[1].reserved[27] = 5;

    SpeakerArrangement* copy = nullptr;
    ASSERT_TRUE(effect.matchArrangement(&copy, source));
    EXPECT_EQ(copy->type, 7);
    EXPECT_EQ(copy->channelCount, 2);
    EXPECT_STREQ(copy->speakers[1].name, "Right");
    EXPECT_EQ(copy->speakers[1].type, 2);
    EXPECT_EQ(copy->speakers[1].position[3], 99u);
    EXPECT_EQ(copy->speakers[1].reserved[27], 5);

    EXPECT_FALSE(effect.matchArrangement(&copy, nullptr));
    EXPECT_FALSE(effect.copySpeaker(nullptr, speakers));
    EXPECT_FALSE(effect.allocateArrangement(&copy, -1));
    EXPECT_TRUE(effect.freeArrangement(&copy));
    EXPECT_EQ(copy, nullptr);
    EXPECT_TRUE(effect.freeArrangement(&source));
}

} // namespace
} // namespace quorvel::testing

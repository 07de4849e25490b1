// The fixture shared by the tests of the MIDI plug-ins built on the skeleton: what they all
// answer a host, how program changes reach them and how their limits are typed.
#pragma once

#include "tests/integration/EventHelpers.h"
#include "tests/integration/IdentityChecks.h"
#include "tests/integration/LoadedPlugin.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::integration {

// The float the editors store for a typed whole number n: the float nearest n/127.
inline float typedLimit(int n) {
    return static_cast<float>(n) * 0.007874016f;
}

struct Limits {
    float left;
    float right;
};

// Every whole number typed on either side, with the other side open, then both at once.
inline std::vector<Limits> limitsToSweep(std::initializer_list<std::pair<int, int>> typedPairs) {
    std::vector<Limits> cases;
    for (int n = 0; n < 128; ++n) {
        cases.push_back({typedLimit(n), 1.0f});
        cases.push_back({0.0f, typedLimit(n)});
    }
    for (const auto& [left, right] : typedPairs)
        cases.push_back({typedLimit(left), typedLimit(right)});
    cases.push_back({0.0f, 0.0f});
    cases.push_back({1.0f, 1.0f});
    return cases;
}

// What the host reads of a skeleton plug-in before it plays anything.
struct SkeletonIdentity {
    const char* effectName;
    const char* productText;
    std::int32_t uniqueId;
    IntPtr vendorVersion;
    std::int32_t parameterCount;
    bool receivesTimeInfo;
    bool answersOutputProperties;
};

class SkeletonPluginTest : public PluginTest {
protected:
    explicit SkeletonPluginTest(std::string name) : PluginTest(std::move(name)) {}

    void expectIdentity(const SkeletonIdentity& identity) {
        // canMono | canOverwrite | synth, without a meter; the editor bit is the editor's.
        expectRecord(plugin(),
                     {identity.uniqueId, 1, identity.parameterCount, 0, 0,
                      flags::kCanMono | flags::kCanOverwrite | flags::kSynth},
                     flags::kHasEditor);
        expectIdentityAnswers(plugin(), {identity.effectName, "Quorvel", identity.productText,
                                         identity.vendorVersion, 1, 1});
        const testhost::TextAnswer program = plugin().readText(5);
        EXPECT_EQ(program.result, 0);
        EXPECT_EQ(program.text, identity.effectName);
        EXPECT_EQ(plugin().dispatch(9), 0);
        EXPECT_EQ(plugin().dispatch(3), 0);
        const testhost::TextAnswer byCategory = plugin().readText(29, 0, 0);
        EXPECT_EQ(byCategory.result, 0);
        EXPECT_TRUE(byCategory.untouched);
        expectResumingRequestsEvents(plugin());
    }

    void expectFeatureAnswers(bool receivesTimeInfo) {
        std::vector<const char*> yes{"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents",
                                     "receiveVstMidiEvent"};
        if (receivesTimeInfo) yes.push_back("receiveVstTimeInfo");
        integration::expectFeatureAnswers(plugin(), yes);
    }

    void expectOutputProperties(const SkeletonIdentity& identity) {
        expectOutputPins(plugin(), identity.effectName, identity.answersOutputProperties);
    }

    // Program changes on any channel pass whole; the one program stays current with its
    // values and its name, whatever program number the message carries.
    void expectProgramChangesPassWhole(const std::vector<std::pair<std::int32_t, float>>& values) {
        for (const auto& [index, value] : values)
            plugin().setParameter(index, value);
        std::string name = "Mine";
        plugin().dispatch(4, 0, 0, name.data());
        const std::vector<MidiEventRecord> changes{decorated(programChange(5, 1, 3)),
                                                   decorated(programChange(0, 0, 4)),
                                                   decorated(programChange(0x80, 15, 5))};
        expectSameEvents(play(changes), changes);
        EXPECT_EQ(plugin().dispatch(3), 0);
        EXPECT_EQ(plugin().readText(5).text, "Mine");
        for (const auto& [index, value] : values)
            EXPECT_EQ(plugin().parameter(index), value) << "index " << index;
    }

    // Only the passing events leave, whole and in order, from one list that also holds an
    // event of another kind, the unhandled messages and the removed events.
    void expectOnlyPassingLeave(const std::vector<MidiEventRecord>& passing,
                                const std::vector<MidiEventRecord>& removed) {
        testhost::EventListBuilder builder;
        builder.addEvent(nonMidiEvent(0));
        for (const MidiEventRecord& event : passing)
            builder.add(event);
        for (const MidiEventRecord& event : unhandledMessages())
            builder.add(event);
        for (const MidiEventRecord& event : removed)
            builder.add(event);
        expectSameEvents(playList(builder), passing);
    }

    // Each passing event reaches the host alone; an empty list reaches it not at all.
    void expectOneEventPerHostCall(const std::vector<MidiEventRecord>& passing) {
        play({});
        EXPECT_TRUE(host().callsOf(8).empty());
        play(passing);
        const std::vector<testhost::HostCall> calls = host().callsOf(8);
        ASSERT_EQ(calls.size(), passing.size());
        for (std::size_t i = 0; i < calls.size(); ++i) {
            ASSERT_EQ(calls[i].events.size(), 1u) << "call " << i;
            EXPECT_EQ(calls[i].events[0].deltaFrames, passing[i].deltaFrames);
        }
    }
};

} // namespace quorvel::integration

// Events, a fixture and the host-visible checks shared by the tests of the MIDI plug-ins built
// on the skeleton: their identity, their labels and how program changes reach them.
#pragma once

#include "tests/integration/LoadedPlugin.h"

#include "host/EventLists.h"

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace quorvel::integration {

inline MidiEventRecord noteOn(int note, int channel = 0, int velocity = 100,
                              std::int32_t delta = 0) {
    return freshMidiEvent(delta, static_cast<std::uint8_t>(0x90 | channel),
                          static_cast<std::uint8_t>(note), static_cast<std::uint8_t>(velocity));
}
inline MidiEventRecord noteOff(int note, int channel = 0, int velocity = 64,
                               std::int32_t delta = 0) {
    return freshMidiEvent(delta, static_cast<std::uint8_t>(0x80 | channel),
                          static_cast<std::uint8_t>(note), static_cast<std::uint8_t>(velocity));
}
inline MidiEventRecord controlChange(int controller, int value, int channel = 0,
                                     std::int32_t delta = 0) {
    return freshMidiEvent(delta, static_cast<std::uint8_t>(0xB0 | channel),
                          static_cast<std::uint8_t>(controller), static_cast<std::uint8_t>(value));
}

// Sets every byte a plug-in passes through without reading, so that a copy of the incoming
// record can be told from an event built anew.
inline MidiEventRecord decorated(MidiEventRecord event) {
    event.flags = 1;
    event.noteLength = 480;
    event.noteOffset = 12;
    event.data3 = 0x11;
    event.detune = -20;
    event.noteOffVelocity = 33;
    event.reserved[0] = 0xAB;
    event.reserved[1] = 0xCD;
    return event;
}

inline MidiEventRecord withStatus(MidiEventRecord event, int status) {
    event.status = static_cast<std::uint8_t>(status);
    return event;
}

inline bool sameRecord(const MidiEventRecord& a, const MidiEventRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline void expectSameEvents(const std::vector<MidiEventRecord>& got,
                             const std::vector<MidiEventRecord>& expected) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_TRUE(sameRecord(got[i], expected[i]))
            << "event " << i << ": status " << int{got[i].status} << " data1 " << int{got[i].data1}
            << " data2 " << int{got[i].data2} << ", expected status " << int{expected[i].status}
            << " data1 " << int{expected[i].data1} << " data2 " << int{expected[i].data2};
}

// Status and first data byte of each event, enough to compare a stream at a glance.
using StatusAndData = std::pair<int, int>;
inline std::vector<StatusAndData> statusAndData(const std::vector<MidiEventRecord>& events) {
    std::vector<StatusAndData> summary;
    for (const MidiEventRecord& event : events)
        summary.emplace_back(event.status, event.data1);
    return summary;
}

// Messages none of these plug-ins handles: pressure, system messages and a stray data byte.
inline std::vector<MidiEventRecord> unhandledMessages() {
    return {freshMidiEvent(1, 0xA0, 60, 30), freshMidiEvent(2, 0xAF, 61, 31),
            freshMidiEvent(3, 0xD0, 40, 0),  freshMidiEvent(4, 0xDF, 41, 0),
            freshMidiEvent(5, 0xF0, 1, 2),   freshMidiEvent(6, 0xF7, 0, 0),
            freshMidiEvent(7, 0xF8, 0, 0),   freshMidiEvent(8, 0xFF, 0, 0),
            freshMidiEvent(9, 0x40, 60, 100)};
}

// An event of another kind (a system-exclusive dump), which every plug-in skips.
inline Event nonMidiEvent(std::int32_t delta) {
    Event event{};
    event.type = 6;
    event.byteSize = 24;
    event.deltaFrames = delta;
    // Laid out like a note-on, so that reading it as MIDI would show at the output.
    event.data[8] = 0x90;
    event.data[9] = 60;
    event.data[10] = 100;
    return event;
}

// The float the editors store for a typed whole number n: the float nearest n/127.
inline float typedLimit(int n) {
    return static_cast<float>(n) * 0.007874016f;
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

struct ParameterLabel {
    const char* title;
    const char* unit;
};

struct DisplayCase {
    std::int32_t index;
    float value;
    const char* shown;
};

class SkeletonPluginTest : public PluginTest {
protected:
    explicit SkeletonPluginTest(std::string name) : PluginTest(std::move(name)) {}

    // Hands the events to the plug-in as one list and answers what it sent back.
    std::vector<MidiEventRecord> play(const std::vector<MidiEventRecord>& events) {
        host().clear();
        EXPECT_EQ(plugin().sendMidi(events), 1);
        return plugin().receivedEvents();
    }
    std::vector<MidiEventRecord> playList(testhost::EventListBuilder& builder) {
        host().clear();
        EXPECT_EQ(plugin().sendList(builder), 1);
        return plugin().receivedEvents();
    }

    void expectIdentity(const SkeletonIdentity& identity) {
        const EffectRecord& record = *plugin().record();
        EXPECT_EQ(record.uniqueId, identity.uniqueId);
        EXPECT_EQ(record.programCount, 1);
        EXPECT_EQ(record.parameterCount, identity.parameterCount);
        EXPECT_EQ(record.inputCount, 0);
        EXPECT_EQ(record.outputCount, 0);
        // canMono | canOverwrite | synth, without a meter; the editor bit is the editor's.
        EXPECT_EQ(record.effectFlags & ~flags::kHasEditor,
                  flags::kCanMono | flags::kCanOverwrite | flags::kSynth);

        const std::array<std::pair<std::int32_t, const char*>, 4> texts{{{45, identity.effectName},
                                                                         {47, "Quorvel"},
                                                                         {48, identity.productText},
                                                                         {5, identity.effectName}}};
        for (const auto& [opcode, text] : texts) {
            const testhost::TextAnswer answer = plugin().readText(opcode);
            EXPECT_EQ(answer.result, opcode == 5 ? 0 : 1) << "opcode " << opcode;
            EXPECT_EQ(answer.text, text) << "opcode " << opcode;
        }
        EXPECT_EQ(plugin().dispatch(49), identity.vendorVersion);
        EXPECT_EQ(plugin().dispatch(35), 1);
        EXPECT_EQ(plugin().dispatch(52), 1);
        EXPECT_EQ(plugin().dispatch(9), 0);
        EXPECT_EQ(plugin().dispatch(3), 0);
        const testhost::TextAnswer byCategory = plugin().readText(29, 0, 0);
        EXPECT_EQ(byCategory.result, 0);
        EXPECT_TRUE(byCategory.untouched);

        host().clear();
        plugin().dispatch(12, 0, 1);
        const std::vector<testhost::HostCall> requests = host().callsOf(6);
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].value, 1);
    }

    void expectFeatureAnswers(bool receivesTimeInfo) {
        const std::array<std::pair<const char*, IntPtr>, 13> cases{
            {{"sendVstEvents", 1},
             {"sendVstMidiEvent", 1},
             {"receiveVstEvents", 1},
             {"receiveVstMidiEvent", 1},
             {"receiveVstTimeInfo", receivesTimeInfo ? 1 : -1},
             {"sendVstTimeInfo", -1},
             {"ReceiveVstMidiEvent", -1},
             {"receiveVstMidi", -1},
             {"receiveVstMidiEvents", -1},
             {"bypass", -1},
             {"offline", -1},
             {"2in2out", -1},
             {"", -1}}};
        for (const auto& [feature, expected] : cases) {
            std::string text = feature;
            EXPECT_EQ(plugin().dispatch(51, 0, 0, text.data()), expected) << '"' << feature << '"';
        }
    }

    void expectOutputProperties(const SkeletonIdentity& identity) {
        const std::string name = identity.effectName;
        const std::array<std::string, 2> labels{name + " Left Output 1", name + " Right Output 1"};
        for (std::int32_t index = -1; index < 3; ++index) {
            PinProperties pin;
            std::memset(&pin, 0x5A, sizeof pin);
            const PinProperties before = pin;
            const bool answered = identity.answersOutputProperties && (index == 0 || index == 1);
            EXPECT_EQ(plugin().dispatch(34, index, 0, &pin), answered ? 1 : 0) << index;
            if (answered) {
                EXPECT_EQ(std::string(pin.label), labels[static_cast<std::size_t>(index)]);
                EXPECT_EQ(pin.flags, 3);
            } else {
                EXPECT_EQ(std::memcmp(&pin, &before, sizeof pin), 0) << "index " << index;
            }
        }
    }

    // Titles and units by index; the index after the last one writes nothing.
    void expectLabels(const std::vector<ParameterLabel>& labels) {
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const auto index = static_cast<std::int32_t>(i);
            EXPECT_EQ(plugin().readText(8, index).text, labels[i].title) << "index " << i;
            EXPECT_EQ(plugin().readText(6, index).text, labels[i].unit) << "index " << i;
        }
        const auto outside = static_cast<std::int32_t>(labels.size());
        for (const std::int32_t opcode : {6, 7, 8})
            EXPECT_TRUE(plugin().readText(opcode, outside).untouched) << "opcode " << opcode;
        EXPECT_EQ(plugin().parameter(outside), 0.0f);
    }

    void expectDisplays(const std::vector<DisplayCase>& cases) {
        for (const DisplayCase& c : cases) {
            plugin().setParameter(c.index, c.value);
            EXPECT_EQ(plugin().readText(7, c.index).text, c.shown)
                << "index " << c.index << " value " << c.value;
        }
    }

    // Program changes on any channel pass whole; the one program stays current with its
    // values and its name, whatever program number the message carries.
    void expectProgramChangesPassWhole(const std::vector<std::pair<std::int32_t, float>>& values) {
        for (const auto& [index, value] : values)
            plugin().setParameter(index, value);
        std::string name = "Mine";
        plugin().dispatch(4, 0, 0, name.data());
        const std::vector<MidiEventRecord> changes{decorated(freshMidiEvent(3, 0xC1, 5, 0)),
                                                   decorated(freshMidiEvent(4, 0xC0, 0, 0)),
                                                   decorated(freshMidiEvent(5, 0xCF, 0x80, 0))};
        expectSameEvents(play(changes), changes);
        EXPECT_EQ(plugin().dispatch(3), 0);
        EXPECT_EQ(plugin().readText(5).text, "Mine");
        for (const auto& [index, value] : values)
            EXPECT_EQ(plugin().parameter(index), value) << "index " << index;
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

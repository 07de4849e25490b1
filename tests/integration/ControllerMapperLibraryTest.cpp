// Pellix as a host drives it: a block's events are queued on receipt and leave together, one
// controller renumbered, from the next audio processing call.
#include "tests/integration/EventHelpers.h"
#include "tests/integration/IdentityChecks.h"
#include "tests/integration/LoadedPlugin.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace quorvel::integration {
namespace {

constexpr std::int32_t kFrames = 64;

// The value that selects controller k: the float nearest k/127 often truncates to k - 1.
float controllerValue(int k) {
    return static_cast<float>((k + 0.5) / 127.0);
}

enum class Entry { Accumulating, Overwriting };

class ControllerMapperLibraryTest : public PluginTest {
protected:
    ControllerMapperLibraryTest() : PluginTest("pellix") {}

    void process(Entry entry = Entry::Overwriting) {
        if (entry == Entry::Accumulating)
            plugin().processAccumulating(nullptr, nullptr, kFrames);
        else
            plugin().processOverwriting(nullptr, nullptr, kFrames);
    }
    // Receives the events, which must not leave yet, then runs one processing call and answers
    // the lists it sent.
    std::vector<testhost::HostCall> cycle(const std::vector<MidiEventRecord>& events,
                                          Entry entry = Entry::Overwriting) {
        host().clear();
        EXPECT_EQ(plugin().sendMidi(events), 1);
        EXPECT_TRUE(host().callsOf(8).empty()) << "events sent while receiving";
        process(entry);
        return host().callsOf(8);
    }
    // The events of one cycle, which must arrive as a single list.
    std::vector<MidiEventRecord> mapped(const std::vector<MidiEventRecord>& events) {
        const auto lists = cycle(events);
        EXPECT_EQ(lists.size(), 1u);
        return lists.empty() ? std::vector<MidiEventRecord>{} : lists.front().events;
    }
};

TEST_F(ControllerMapperLibraryTest, IdentifiesItselfAsAnInstrumentWithoutEditor) {
    expectRecord(plugin(),
                 {fourCharacters("Qz10"), 1, 2, 0, 0, flags::kCanOverwrite | flags::kSynth});
    expectIdentityAnswers(plugin(), {"Pellix", "Nimrath", "Pellix", 1, 2, 0});
    expectFeatureAnswers(plugin(), {"sendVstMidiEvent", "sendVstEvents", "receiveVstEvents",
                                    "receiveVstMidiEvent", "receiveVstTimeInfo"});
    EXPECT_EQ(plugin().dispatch(9), 0);
    for (const std::int32_t opcode : {33, 34}) {
        const testhost::TextAnswer pin = plugin().readText(opcode, 0);
        EXPECT_EQ(pin.result, 0) << "opcode " << opcode;
        EXPECT_TRUE(pin.untouched) << "opcode " << opcode;
    }
    void* place = &place;
    EXPECT_EQ(plugin().dispatch(13, 0, 0, &place), 0);
    EXPECT_EQ(place, &place);
}

TEST_F(ControllerMapperLibraryTest, ItsOneProgramHasNoNameOfItsOwn) {
    const testhost::TextAnswer name = plugin().readText(5);
    EXPECT_EQ(name.result, 0);
    EXPECT_EQ(name.text, "");
    std::array<char, 24> rename{"Lead"};
    EXPECT_EQ(plugin().dispatch(4, 0, 0, rename.data()), 0);
    EXPECT_EQ(rename[0], '\0');
    EXPECT_EQ(plugin().readText(5).text, "");
    EXPECT_EQ(plugin().dispatch(30, 0), 0);
    EXPECT_EQ(plugin().readText(29, 0, 0).result, 0);
    EXPECT_EQ(plugin().dispatch(3), 0);
}

TEST_F(ControllerMapperLibraryTest, ResumingAsksTheHostForEvents) {
    host().clear();
    plugin().dispatch(12, 0, 0);
    EXPECT_TRUE(host().callsOf(6).empty());
    expectResumingRequestsEvents(plugin());
}

TEST_F(ControllerMapperLibraryTest, ParametersShowTitlesUnitsAndStartingValues) {
    expectLabels(plugin(), {{"CC in", "controler"}, {"CC out", "controler"}});
    for (const std::int32_t index : {0, 1})
        EXPECT_EQ(plugin().readText(7, index).text, "0 Banksel") << "index " << index;
    EXPECT_EQ(plugin().parameter(0), 0.0f);
    EXPECT_EQ(plugin().parameter(1), 0.007874016f);
}

// The controllers with a name; every other one shows its number alone.
const std::map<int, std::string> kNamedControllers{{0, "0 Banksel"},
                                                   {1, "1 Modulation"},
                                                   {2, "2 Breath"},
                                                   {4, "4 Foot"},
                                                   {5, "5 Portamento"},
                                                   {6, "6 DataEntry"},
                                                   {7, "7 Volume"},
                                                   {8, "8 Balance"},
                                                   {10, "10 Pan"},
                                                   {11, "11 Expression"},
                                                   {12, "12 GenPurp1"},
                                                   {13, "13 GenPurp2"},
                                                   {14, "14 GenPurp3"},
                                                   {15, "15 GenPurp4"},
                                                   {32, "32 BankSelLSB"},
                                                   {33, "33 Mod LSB"},
                                                   {34, "34 BreathLSB"},
                                                   {35, "35 FootLSB"},
                                                   {36, "36 PortaLSB"},
                                                   {37, "37 DataEntLSB"},
                                                   {38, "38 VolumeLSB"},
                                                   {39, "39 BalanceLSB"},
                                                   {41, "41 Pan LSB"},
                                                   {42, "42 Expr LSB"},
                                                   {64, "64 Sustain"},
                                                   {65, "65 Porta On/Off"},
                                                   {66, "66 Sostenuto"},
                                                   {67, "67 Soft pedal"},
                                                   {68, "68 Legato fs"},
                                                   {69, "69 Hold 2"},
                                                   {70, "70 Sound var"},
                                                   {71, "71 Harmonique"},
                                                   {72, "72 Release time"},
                                                   {73, "73 Attack time"},
                                                   {74, "74 Cut-off"},
                                                   {80, "80 GenPurp5"},
                                                   {81, "81 GenPurp6"},
                                                   {82, "82 GenPurp7"},
                                                   {83, "83 GenPurp8"},
                                                   {84, "84 Porta "},
                                                   {91, "91 ExtFx1 Depth"},
                                                   {92, "92 ExtFx2 Depth"},
                                                   {93, "93 ExtFx3 Depth"},
                                                   {94, "94 ExtFx4 Depth"},
                                                   {95, "95 ExtFx5 Depth"},
                                                   {96, "96 Data inc"},
                                                   {97, "97 Data dec"},
                                                   {98, "98 Nrpn LSB"},
                                                   {99, "99 Nrpn MSB"},
                                                   {100, "100 Rpn LSB"},
                                                   {101, "101 Rpn MSB"},
                                                   {120, "120 AllSound off"},
                                                   {121, "121 Reset "},
                                                   {122, "122 Local "},
                                                   {123, "123 AllNotes off"},
                                                   {124, "124 Omni ON"},
                                                   {125, "125 Omni OFF"},
                                                   {126, "126 Mono ON"},
                                                   {127, "127 Poly ON"}};

TEST_F(ControllerMapperLibraryTest, BothParametersShowTheNameOfEveryController) {
    for (std::int32_t index = 0; index < 2; ++index)
        for (int k = 0; k < 128; ++k) {
            plugin().setParameter(index, controllerValue(k));
            const auto named = kNamedControllers.find(k);
            const std::string expected =
                named == kNamedControllers.end() ? std::to_string(k) : named->second;
            EXPECT_EQ(plugin().readText(7, index).text, expected)
                << "parameter " << index << " controller " << k;
        }
}

TEST_F(ControllerMapperLibraryTest, DisplayFollowsTheTruncatedControllerNumber) {
    expectDisplays(plugin(), {{0, 7.0f / 127.0f, "6 DataEntry"},
                              {0, 0.007874016f, "0 Banksel"},
                              {0, 1.0f, "127 Poly ON"},
                              {0, 0.0f, "0 Banksel"},
                              {0, 64.0f / 127.0f, "63"}});
}

TEST_F(ControllerMapperLibraryTest, AfterConstructionEveryControllerPassesUnchanged) {
    std::vector<MidiEventRecord> in;
    for (int controller = 0; controller < 128; ++controller)
        in.push_back(controlChange(controller, 127 - controller, controller % 16, controller));
    const auto out = mapped(in);
    ASSERT_EQ(out.size(), in.size());
    for (std::size_t i = 0; i < in.size(); ++i)
        EXPECT_TRUE(sameRecord(out[i], in[i])) << "controller " << i;
}

struct MapCase {
    float in;
    float out;
    std::uint8_t received; // data byte 1 of a control change
    int sent;
};

class ControllerMapperMapTest : public ControllerMapperLibraryTest,
                                public ::testing::WithParamInterface<MapCase> {};

TEST_P(ControllerMapperMapTest, RenumbersOnlyTheChosenControllerOnEveryChannel) {
    const MapCase& c = GetParam();
    plugin().setParameter(0, c.in);
    plugin().setParameter(1, c.out);
    std::vector<MidiEventRecord> in;
    for (int channel = 0; channel < kChannelCount; ++channel)
        in.push_back(controlChange(c.received, channel * 5, channel, channel));
    const auto out = mapped(in);
    ASSERT_EQ(out.size(), in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        EXPECT_EQ(out[i].status, in[i].status) << "channel " << i;
        EXPECT_EQ(out[i].data1, c.sent) << "channel " << i;
        EXPECT_EQ(out[i].data2, in[i].data2) << "channel " << i;
        EXPECT_EQ(out[i].deltaFrames, in[i].deltaFrames) << "channel " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controllers, ControllerMapperMapTest,
    ::testing::Values(MapCase{controllerValue(7), controllerValue(10), 7, 10},
                      MapCase{controllerValue(7), controllerValue(10), 10, 10},
                      MapCase{controllerValue(7), controllerValue(10), 6, 6},
                      MapCase{7.0f / 127.0f, controllerValue(10), 6, 10},
                      MapCase{7.0f / 127.0f, controllerValue(10), 7, 7},
                      MapCase{1.0f, controllerValue(3), 127, 3},
                      MapCase{controllerValue(1), 1.0f, 1, 127},
                      MapCase{0.0f, controllerValue(64), 0, 64},
                      // The top bit of the controller byte is not part of its number.
                      MapCase{controllerValue(7), controllerValue(10), 0x80 | 7, 10}));

TEST_F(ControllerMapperLibraryTest, OtherMessagesPassUnchangedInOrder) {
    plugin().setParameter(0, controllerValue(7));
    plugin().setParameter(1, controllerValue(10));
    // Messages whose first data byte is 7 but that are not control changes.
    const std::vector<MidiEventRecord> in{
        freshMidiEvent(0, 0x90, 7, 100), freshMidiEvent(1, 0x80, 7, 0),
        freshMidiEvent(2, 0xA3, 7, 20),  freshMidiEvent(3, 0xC4, 7, 0),
        freshMidiEvent(4, 0xD5, 7, 0),   freshMidiEvent(5, 0xE6, 7, 64),
        freshMidiEvent(6, 0xF8, 7, 0),   freshMidiEvent(7, 0xF0, 7, 1),
        freshMidiEvent(8, 0x45, 7, 2),   controlChange(7, 99, 9, 9)};
    const auto out = mapped(in);
    ASSERT_EQ(out.size(), in.size());
    for (std::size_t i = 0; i + 1 < in.size(); ++i)
        EXPECT_TRUE(sameRecord(out[i], in[i])) << "event " << i;
    EXPECT_EQ(out.back().data1, 10);
}

TEST_F(ControllerMapperLibraryTest, SentEventsAreRebuiltKeepingTimeMessageAndDetune) {
    plugin().setParameter(0, controllerValue(7));
    plugin().setParameter(1, controllerValue(10));
    const MidiEventRecord controller = decorated(controlChange(7, 90, 2, 33));
    const MidiEventRecord note = decorated(noteOn(60, 1, 100, 40));
    const auto out = mapped({controller, note});
    ASSERT_EQ(out.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const MidiEventRecord& sent = out[i];
        const MidiEventRecord& received = i == 0 ? controller : note;
        MidiEventRecord expected = freshMidiEvent(received.deltaFrames, received.status,
                                                  i == 0 ? 10 : received.data1, received.data2);
        expected.detune = received.detune;
        EXPECT_TRUE(sameRecord(sent, expected)) << "event " << i;
    }
}

TEST_F(ControllerMapperLibraryTest, TheControllersAreReadWhenTheBlockIsProcessed) {
    host().clear();
    plugin().sendMidi({controlChange(7, 1)});
    plugin().setParameter(0, controllerValue(7));
    plugin().setParameter(1, controllerValue(10));
    process();
    const auto events = plugin().receivedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].data1, 10);
}

TEST_F(ControllerMapperLibraryTest, EveryListReceivedBeforeAProcessCallLeavesInIt) {
    for (const Entry entry : {Entry::Overwriting, Entry::Accumulating}) {
        host().clear();
        plugin().sendMidi({controlChange(1, 1), controlChange(2, 2, 0, 10)});
        Event other{};
        other.type = 5;
        testhost::EventListBuilder mixed;
        mixed.add(controlChange(3, 3, 0, 20))
            .addEvent(other)
            .addNull()
            .add(controlChange(4, 4, 0, 30));
        plugin().sendList(mixed);
        plugin().sendMidi({});
        EXPECT_TRUE(host().callsOf(8).empty());

        process(entry);
        const auto lists = host().callsOf(8);
        ASSERT_EQ(lists.size(), 1u);
        ASSERT_EQ(lists[0].events.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(lists[0].events[i].data1, i + 1);
            EXPECT_EQ(lists[0].events[i].deltaFrames, static_cast<std::int32_t>(10 * i));
        }

        // Nothing is left for the calls after it, until new events arrive.
        host().clear();
        process(entry);
        process(Entry::Accumulating);
        EXPECT_TRUE(host().callsOf(8).empty());
    }
}

TEST_F(ControllerMapperLibraryTest, AProcessCallWithNothingQueuedSendsNothing) {
    host().clear();
    process(Entry::Overwriting);
    process(Entry::Accumulating);
    plugin().sendMidi({});
    process();
    EXPECT_TRUE(host().calls().empty());
}

TEST_F(ControllerMapperLibraryTest, TheAudioBuffersAreLeftAlone) {
    std::array<float, kFrames> left{}, right{};
    left.fill(0.5f);
    right.fill(-0.25f);
    std::array<float*, 2> channels{left.data(), right.data()};
    plugin().sendMidi({controlChange(7, 1)});
    plugin().processAccumulating(channels.data(), channels.data(), kFrames);
    plugin().processOverwriting(channels.data(), channels.data(), kFrames);
    for (std::size_t i = 0; i < left.size(); ++i) {
        EXPECT_EQ(left[i], 0.5f);
        EXPECT_EQ(right[i], -0.25f);
    }
    EXPECT_EQ(plugin().receivedEvents().size(), 1u);
}

class ControllerMapperBlockTest : public ControllerMapperLibraryTest,
                                  public ::testing::WithParamInterface<int> {};

TEST_P(ControllerMapperBlockTest, LargeBlocksLeaveInListsOfAtMost255InOrder) {
    const int count = GetParam();
    plugin().setParameter(0, controllerValue(7));
    plugin().setParameter(1, controllerValue(10));
    std::vector<MidiEventRecord> in;
    for (int i = 0; i < count; ++i)
        in.push_back(controlChange(i % 2 == 0 ? 7 : 8, i % 128, i % 16, i));
    const auto lists = cycle(in);
    if (count <= 255) {
        EXPECT_EQ(lists.size(), 1u);
    }
    std::vector<MidiEventRecord> out;
    for (const testhost::HostCall& list : lists) {
        EXPECT_LE(list.events.size(), 255u);
        EXPECT_FALSE(list.events.empty());
        out.insert(out.end(), list.events.begin(), list.events.end());
    }
    ASSERT_EQ(out.size(), in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        EXPECT_EQ(out[i].deltaFrames, in[i].deltaFrames) << "event " << i;
        EXPECT_EQ(out[i].status, in[i].status) << "event " << i;
        EXPECT_EQ(out[i].data1, i % 2 == 0 ? 10 : 8) << "event " << i;
        EXPECT_EQ(out[i].data2, in[i].data2) << "event " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ControllerMapperBlockTest, ::testing::Values(255, 256, 600, 1500));

} // namespace
} // namespace quorvel::integration

// Tavrune as a host drives it: event lists in, one-event lists back through the host.
#include "tests/integration/EventHelpers.h"
#include "tests/integration/IdentityChecks.h"
#include "tests/integration/LoadedPlugin.h"

#include <array>
#include <limits>

namespace quorvel::integration {
namespace {

constexpr float kShiftUp12 = 0.55f;       // floor(0.55 x 256) - 128 = +12
constexpr float kShiftDown12 = 0.453125f; // 116 - 128 = -12

class TransposerLibraryTest : public TavruneTest {
protected:
    std::vector<MidiEventRecord> play(const std::vector<MidiEventRecord>& events) {
        std::vector<MidiEventRecord> out = PluginTest::play(events);
        // One outgoing event per call to the host.
        for (const testhost::HostCall& call : host().callsOf(8))
            EXPECT_EQ(call.events.size(), 1u);
        return out;
    }
};

struct ShiftCase {
    float value;
    std::uint8_t in;
    std::uint8_t out;
};

class TransposerShiftTest : public TransposerLibraryTest,
                            public ::testing::WithParamInterface<ShiftCase> {};

TEST_P(TransposerShiftTest, ShiftsOnAndOffAlikeWithinTheNoteRange) {
    const ShiftCase& c = GetParam();
    plugin().setParameter(0, c.value);
    const auto out = play({noteOn(c.in), noteOff(c.in)});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].data1, c.out);
    EXPECT_EQ(out[1].data1, c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Shifts, TransposerShiftTest,
    ::testing::Values(ShiftCase{0.5f, 0, 0}, ShiftCase{0.5f, 60, 60}, ShiftCase{0.5f, 127, 127},
                      ShiftCase{1.0f, 0, 127}, ShiftCase{1.0f, 60, 127}, ShiftCase{0.0f, 127, 0},
                      ShiftCase{0.0f, 60, 0}, ShiftCase{kShiftUp12, 60, 72},
                      ShiftCase{kShiftUp12, 120, 127}, ShiftCase{kShiftUp12, 115, 127},
                      ShiftCase{kShiftUp12, 0, 12}, ShiftCase{kShiftDown12, 60, 48},
                      ShiftCase{kShiftDown12, 5, 0}));

TEST_F(TransposerLibraryTest, ParameterShowsTheShiftInSemitones) {
    expectDisplays(plugin(),
                   {{0, 0.0f, "-128"}, {0, 0.5f, "0"}, {0, kShiftUp12, "12"}, {0, 1.0f, "128"}});
    expectLabels(plugin(), {{"Semitone", " "}});
}

TEST_F(TransposerLibraryTest, NoteOffReleasesTheNoteSentAtNoteOn) {
    plugin().setParameter(0, kShiftUp12);
    play({noteOn(60)});
    plugin().setParameter(0, kShiftDown12);
    const auto out = play({noteOff(60), noteOn(60), noteOff(60)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x80, 72}, {0x90, 48}, {0x80, 48}}));
}

TEST_F(TransposerLibraryTest, ChannelsAreTrackedApartAndKeptAtTheOutput) {
    plugin().setParameter(0, kShiftUp12);
    std::vector<MidiEventRecord> in;
    for (int channel = 0; channel < kChannelCount; ++channel)
        in.push_back(noteOn(60, channel));
    const auto ons = play(in);
    ASSERT_EQ(ons.size(), 16u);
    for (int channel = 0; channel < kChannelCount; ++channel) {
        EXPECT_EQ(ons[static_cast<std::size_t>(channel)].status, 0x90 | channel);
        EXPECT_EQ(ons[static_cast<std::size_t>(channel)].data1, 72);
    }
    // Releasing channel 2 leaves the others sounding: their repeats are still swallowed.
    const auto out = play({noteOff(60, 2), noteOn(60, 3), noteOn(60, 2), noteOff(60, 15)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x82, 72}, {0x92, 72}, {0x8F, 72}}));
}

TEST_F(TransposerLibraryTest, RepeatedNoteOnsSoundOnceAndReleaseOnce) {
    const auto out =
        play({noteOn(60), noteOn(60, 0, 100, 1), noteOff(60, 0, 64, 2), noteOff(60, 0, 64, 3)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x90, 60}, {0x80, 60}}));
    EXPECT_EQ(out[1].deltaFrames, 2);
}

TEST_F(TransposerLibraryTest, NoteOnOfVelocityZeroReleasesAndKeepsItsStatus) {
    plugin().setParameter(0, kShiftUp12);
    const auto out = play({noteOn(60, 3), noteOn(60, 3, 0, 4), noteOn(60, 3, 0, 8)});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].status, 0x93);
    EXPECT_EQ(out[1].data1, 72);
    EXPECT_EQ(out[1].data2, 0);
    EXPECT_EQ(out[1].deltaFrames, 4);
}

TEST_F(TransposerLibraryTest, ProgramChangesPassAndSelectOnlyExistingPrograms) {
    plugin().setParameter(0, kShiftUp12);
    const MidiEventRecord change5 = freshMidiEvent(3, 0xC1, 5, 0);
    const MidiEventRecord change0 = freshMidiEvent(4, 0xC0, 0, 0);
    const auto out = play({change5, change0, noteOn(60)});
    ASSERT_EQ(out.size(), 3u);
    EXPECT_TRUE(sameRecord(out[0], change5));
    EXPECT_TRUE(sameRecord(out[1], change0));
    EXPECT_EQ(plugin().dispatch(3), 0);
    // Program 0 holds the value set before, so selecting it again keeps the shift.
    EXPECT_EQ(plugin().parameter(0), kShiftUp12);
    EXPECT_EQ(out[2].data1, 72);
}

TEST_F(TransposerLibraryTest, PressureAndSystemMessagesAreNotPassedOn) {
    const auto out =
        play({freshMidiEvent(0, 0xA0, 60, 30), noteOn(60), freshMidiEvent(1, 0xD0, 40, 0),
              freshMidiEvent(2, 0xF8, 0, 0), freshMidiEvent(3, 0xF0, 1, 2),
              freshMidiEvent(4, 0xAF, 60, 30), noteOff(60)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x90, 60}, {0x80, 60}}));
}

TEST_F(TransposerLibraryTest, ControllersAndPitchBendPassWhole) {
    plugin().setParameter(0, kShiftUp12);
    const MidiEventRecord bend = decorated(freshMidiEvent(9, 0xE5, 0x12, 0x40));
    const MidiEventRecord modulation = decorated(controlChange(1, 90, 2, 11));
    const auto out = play({bend, modulation});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(sameRecord(out[0], bend));
    EXPECT_TRUE(sameRecord(out[1], modulation));
}

TEST_F(TransposerLibraryTest, NotesAreSentAsFreshEventsAtTheIncomingTime) {
    const auto out = play({decorated(noteOn(60, 4, 100, 17))});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].type, 1);
    EXPECT_EQ(out[0].byteSize, 24);
    EXPECT_EQ(out[0].deltaFrames, 17);
    EXPECT_EQ(out[0].flags, 0);
    EXPECT_EQ(out[0].noteLength, 0);
    EXPECT_EQ(out[0].noteOffset, 0);
    EXPECT_EQ(out[0].detune, 0);
    EXPECT_EQ(out[0].noteOffVelocity, 0);
    EXPECT_EQ(out[0].status, 0x94);
    EXPECT_EQ(out[0].data2, 100);
}

TEST_F(TransposerLibraryTest, OutputKeepsOrderAndTimes) {
    const auto out =
        play({noteOn(60), controlChange(7, 100), noteOn(64, 1, 100, 5),
              freshMidiEvent(7, 0xE0, 0, 64), noteOff(60, 0, 64, 9), noteOff(64, 1, 64, 12)});
    ASSERT_EQ(out.size(), 6u);
    const std::array<std::int32_t, 6> times{0, 0, 5, 7, 9, 12};
    const std::array<int, 6> statuses{0x90, 0xB0, 0x91, 0xE0, 0x80, 0x81};
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].deltaFrames, times[i]) << i;
        EXPECT_EQ(out[i].status, statuses[i]) << i;
    }
}

TEST_F(TransposerLibraryTest, ResumingAsksTheHostForEvents) {
    host().clear();
    plugin().dispatch(12, 0, 0);
    EXPECT_TRUE(host().callsOf(6).empty());
    expectResumingRequestsEvents(plugin());
}

struct ParameterCase {
    float set;
    float stored;
};

class TransposerParameterTest : public TransposerLibraryTest,
                                public ::testing::WithParamInterface<ParameterCase> {};

TEST_P(TransposerParameterTest, HostValuesAreBroughtIntoRange) {
    plugin().setParameter(0, 0.25f);
    plugin().setParameter(0, GetParam().set);
    EXPECT_EQ(plugin().parameter(0), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TransposerParameterTest,
    ::testing::Values(ParameterCase{1.5f, 1.0f}, ParameterCase{-3.0f, 0.0f},
                      ParameterCase{std::numeric_limits<float>::infinity(), 1.0f},
                      ParameterCase{-std::numeric_limits<float>::infinity(), 0.0f},
                      ParameterCase{std::numeric_limits<float>::quiet_NaN(), 0.25f},
                      ParameterCase{0.75f, 0.75f}));

class TransposerPanicTest : public TransposerLibraryTest,
                            public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(TransposerPanicTest, PanicPassesAndForgetsOnlyItsChannel) {
    plugin().setParameter(0, kShiftUp12);
    const MidiEventRecord panic = controlChange(GetParam(), 0, 1);
    const auto first = play({noteOn(60, 1), noteOn(60, 2), panic});
    ASSERT_EQ(first.size(), 3u);
    EXPECT_TRUE(sameRecord(first[2], panic));

    // Channel 1's note is forgotten: its note-off is swallowed and a new note-on is sent.
    // Channel 2 still holds its note, so the repeat is swallowed and the note-off sent.
    const auto second =
        play({noteOff(60, 1), noteOn(60, 2), noteOn(60, 1), noteOff(60, 2), noteOff(60, 1)});
    EXPECT_EQ(statusAndData(second),
              (std::vector<StatusAndData>{{0x91, 72}, {0x82, 72}, {0x81, 72}}));
}

INSTANTIATE_TEST_SUITE_P(Controllers, TransposerPanicTest,
                         ::testing::Values(std::uint8_t{123}, std::uint8_t{120}));

TEST_F(TransposerLibraryTest, OtherControllersKeepTheNotesSounding) {
    play({noteOn(60, 1), controlChange(121, 0, 1), controlChange(64, 0, 1)});
    const auto out = play({noteOn(60, 1), noteOff(60, 1)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x81, 60}}));
}

} // namespace
} // namespace quorvel::integration

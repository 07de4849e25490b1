// Marquil as a host drives it: every channel message moved to the chosen channel, each note
// released on the channel it was started on, and no note left hanging.
#include "tests/integration/SkeletonPluginTest.h"

namespace quorvel::integration {
namespace {

constexpr SkeletonIdentity kMarquil{
    "Marquil", "Quorvel Marquil", fourCharacters("Qz06"), 110, 1, false, false};

class ChanneliserLibraryTest : public SkeletonPluginTest {
protected:
    ChanneliserLibraryTest() : SkeletonPluginTest("marquil") {}
};

TEST_F(ChanneliserLibraryTest, IdentifiesItselfAsAMidiSkeletonPlugin) {
    expectIdentity(kMarquil);
    expectFeatureAnswers(false);
    expectOutputProperties(kMarquil);
}

TEST_F(ChanneliserLibraryTest, ParameterShowsTheChannelActuallyUsed) {
    EXPECT_EQ(plugin().parameter(0), 0.0f);
    expectLabels(plugin(), {{"Channel", " "}});
    expectDisplays(plugin(), {{0, 0.0f, "1"},
                              {0, 0.06f, "1"},
                              {0, 0.0625f, "2"},
                              {0, 0.5f, "9"},
                              {0, 0.93f, "15"},
                              {0, 0.9375f, "16"},
                              {0, 1.0f, "16"}});
}

struct ChannelCase {
    float value;
    int channel; // 0-based, as in the status nibble
};

class ChanneliserChannelTest : public ChanneliserLibraryTest,
                               public ::testing::WithParamInterface<ChannelCase> {};

TEST_P(ChanneliserChannelTest, MovesEveryChannelMessageAndKeepsItsOtherBytes) {
    plugin().setParameter(0, GetParam().value);
    const std::vector<MidiEventRecord> in{decorated(noteOn(60, 7, 100, 1)),
                                          decorated(controlChange(7, 90, 3, 2)),
                                          decorated(freshMidiEvent(3, 0xE0, 0x12, 0x40)),
                                          decorated(freshMidiEvent(4, 0xA9, 60, 30)),
                                          decorated(freshMidiEvent(5, 0xDF, 40, 0)),
                                          decorated(freshMidiEvent(6, 0xCC, 5, 0)),
                                          decorated(noteOff(60, 7, 64, 7))};
    std::vector<MidiEventRecord> expected;
    for (const MidiEventRecord& event : in)
        expected.push_back(withStatus(event, (event.status & 0xF0) | GetParam().channel));
    expectSameEvents(play(in), expected);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, ChanneliserChannelTest,
                         ::testing::Values(ChannelCase{0.0f, 0}, ChannelCase{0.06f, 0},
                                           ChannelCase{0.0625f, 1}, ChannelCase{0.124f, 1},
                                           ChannelCase{0.125f, 2}, ChannelCase{0.5f, 8},
                                           ChannelCase{0.937f, 14}, ChannelCase{0.9375f, 15},
                                           ChannelCase{1.0f, 15}));

TEST_F(ChanneliserLibraryTest, NoteOffsFollowTheirNoteOnAcrossAChannelChange) {
    play({noteOn(60, 3), noteOn(61, 3)});
    plugin().setParameter(0, 0.5f);
    const auto out = play({noteOff(60, 3), noteOn(61, 3, 0), noteOn(62, 3), noteOff(62, 3)});
    EXPECT_EQ(statusAndData(out),
              (std::vector<StatusAndData>{{0x80, 60}, {0x90, 61}, {0x98, 62}, {0x88, 62}}));
}

TEST_F(ChanneliserLibraryTest, RepeatedNoteOnsStayOnTheirRouteUntilEachIsReleased) {
    play({noteOn(60, 3)});
    plugin().setParameter(0, 0.5f);
    const auto out = play({noteOn(60, 3), noteOff(60, 3), noteOff(60, 3), noteOff(60, 3),
                           noteOn(60, 3), noteOff(60, 3)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{
                                      {0x90, 60}, {0x80, 60}, {0x80, 60}, {0x98, 60}, {0x88, 60}}));
}

TEST_F(ChanneliserLibraryTest, TheSameNoteOnTwoChannelsHasARouteEach) {
    play({noteOn(60, 3)});
    plugin().setParameter(0, 0.5f);
    const auto out = play({noteOn(60, 5), noteOff(60, 5), noteOff(60, 3)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x98, 60}, {0x88, 60}, {0x80, 60}}));
}

TEST_F(ChanneliserLibraryTest, NoteOffsWithoutASoundingNoteOnTheirChannelAreDropped) {
    play({noteOn(60, 3)});
    const auto out =
        play({noteOff(60, 4), noteOn(60, 4, 0), noteOff(61, 3), noteOff(60, 3), noteOff(60, 3)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x80, 60}}));
}

class ChanneliserPanicTest : public ChanneliserLibraryTest,
                             public ::testing::WithParamInterface<int> {};

TEST_P(ChanneliserPanicTest, PanicReleasesEverySoundingNoteOfItsChannelFirst) {
    play({noteOn(64, 2), noteOn(60, 2), noteOn(60, 2), noteOn(60, 5)});
    plugin().setParameter(0, 0.5f);
    play({noteOn(62, 2)});
    const MidiEventRecord panic = decorated(controlChange(GetParam(), 0, 2, 7));
    // Per sounding note of channel 2, in note order, one note-off per note-on sent, built anew
    // on the note's own output channel at the controller's time; then the controller itself.
    expectSameEvents(play({panic}), {freshMidiEvent(7, 0x80, 60, 0), freshMidiEvent(7, 0x80, 60, 0),
                                     freshMidiEvent(7, 0x88, 62, 0), freshMidiEvent(7, 0x80, 64, 0),
                                     withStatus(panic, 0xB8)});

    // Channel 2 holds nothing any more; channel 5 still holds its note.
    const auto after = play({noteOff(60, 2), noteOff(64, 2), noteOff(60, 5)});
    EXPECT_EQ(statusAndData(after), (std::vector<StatusAndData>{{0x80, 60}}));
}

INSTANTIATE_TEST_SUITE_P(Controllers, ChanneliserPanicTest, ::testing::Values(123, 120));

TEST_F(ChanneliserLibraryTest, OtherControllersLeaveTheNotesSounding) {
    const auto out =
        play({noteOn(60, 2), controlChange(121, 0, 2), controlChange(64, 0, 2), noteOff(60, 2)});
    EXPECT_EQ(statusAndData(out),
              (std::vector<StatusAndData>{{0x90, 60}, {0xB0, 121}, {0xB0, 64}, {0x80, 60}}));
}

TEST_F(ChanneliserLibraryTest, SystemMessagesAreDroppedAndLoudBytesAreNoNote) {
    plugin().setParameter(0, 0.5f);
    // A note-on whose velocity byte is 128 or more is moved like any channel message but
    // starts no note, so the note-off after it finds nothing to release.
    const MidiEventRecord loud = decorated(noteOn(60, 3, 200, 1));
    testhost::EventListBuilder builder;
    builder.add(loud).addEvent(nonMidiEvent(2));
    for (const MidiEventRecord& event : unhandledMessages())
        if (event.status < 0x80 || event.status >= 0xF0) builder.add(event);
    builder.add(noteOff(60, 3));
    expectSameEvents(playList(builder), {withStatus(loud, 0x98)});
}

TEST_F(ChanneliserLibraryTest, ProgramChangesAreMovedAndSelectNothing) {
    plugin().setParameter(0, 0.5f);
    const MidiEventRecord change = decorated(freshMidiEvent(3, 0xC9, 0, 0));
    expectSameEvents(play({change}), {withStatus(change, 0xC8)});
    EXPECT_EQ(plugin().dispatch(3), 0);
    EXPECT_EQ(plugin().parameter(0), 0.5f);
}

TEST_F(ChanneliserLibraryTest, EachEventReachesTheHostAlone) {
    expectOneEventPerHostCall(
        {noteOn(61, 1, 100, 4), controlChange(7, 100, 0, 4), noteOff(61, 1, 64, 8)});
}

} // namespace
} // namespace quorvel::integration

// Valdrin as a host drives it: note-ons pass only inside an inclusive note range given in
// either order, note-offs always pass, other channel messages it handles pass whole.
#include "tests/integration/SkeletonPluginTest.h"

namespace quorvel::integration {
namespace {

constexpr SkeletonIdentity kValdrin{
    "Valdrin", "Quorvel Valdrin", fourCharacters("Qz03"), 100, 2, false, false};

float noteValue(int note) {
    return static_cast<float>(note) / 127.0f;
}

class NoteRangeFilterLibraryTest : public SkeletonPluginTest {
protected:
    NoteRangeFilterLibraryTest() : SkeletonPluginTest("valdrin") {}

    // The notes 0 to 127 whose note-ons pass, each sent on a channel of its own.
    std::vector<int> passingNotes() {
        std::vector<MidiEventRecord> sweep;
        for (int note = 0; note < kNoteCount; ++note)
            sweep.push_back(noteOn(note, note % kChannelCount, 1 + note % 127, note));
        std::vector<int> passed;
        for (const MidiEventRecord& event : play(sweep))
            passed.push_back(event.data1);
        return passed;
    }
};

TEST_F(NoteRangeFilterLibraryTest, IdentifiesItselfAsAMidiSkeletonPlugin) {
    expectIdentity(kValdrin);
    expectFeatureAnswers(false);
    expectOutputProperties(kValdrin);
}

TEST_F(NoteRangeFilterLibraryTest, LimitsShowTheirNoteNumbers) {
    EXPECT_EQ(plugin().parameter(0), 0.0f);
    EXPECT_EQ(plugin().parameter(1), 1.0f);
    expectLabels(plugin(), {{"Left Limit", " "}, {"Right Limit", " "}});
    expectDisplays(plugin(), {{0, 0.0f, "      0"},
                              {1, 1.0f, "    127"},
                              {0, 0.5f, "     64"},
                              {1, 0.496f, "     63"},
                              {0, noteValue(60), "     60"},
                              {1, 0.7f / 127.0f, "      1"}});
}

struct RangeCase {
    float left;
    float right;
    int lowest;
    int highest;
};

void PrintTo(const RangeCase& c, std::ostream* out) {
    *out << "left " << c.left << " right " << c.right;
}

class NoteRangeFilterRangeTest : public NoteRangeFilterLibraryTest,
                                 public ::testing::WithParamInterface<RangeCase> {};

TEST_P(NoteRangeFilterRangeTest, PassesTheNotesOfTheRangeBothEndsIncluded) {
    const RangeCase& c = GetParam();
    plugin().setParameter(0, c.left);
    plugin().setParameter(1, c.right);
    std::vector<int> expected;
    for (int note = c.lowest; note <= c.highest; ++note)
        expected.push_back(note);
    EXPECT_EQ(passingNotes(), expected);
}

INSTANTIATE_TEST_SUITE_P(Ranges, NoteRangeFilterRangeTest,
                         ::testing::Values(RangeCase{0.0f, 1.0f, 0, 127},
                                           RangeCase{noteValue(60), noteValue(72), 60, 72},
                                           RangeCase{noteValue(72), noteValue(60), 60, 72},
                                           RangeCase{noteValue(64), noteValue(64), 64, 64},
                                           RangeCase{1.0f, 0.0f, 0, 127},
                                           RangeCase{0.0f, 0.0f, 0, 0},
                                           RangeCase{1.0f, 1.0f, 127, 127},
                                           RangeCase{noteValue(126), noteValue(1), 1, 126},
                                           // 63.5 goes up to 64, 62.99 to 63.
                                           RangeCase{0.5f, 0.496f, 63, 64},
                                           RangeCase{0.5f, 1.0f, 64, 127}));

TEST_F(NoteRangeFilterLibraryTest, NoteOffsPassWhateverTheRange) {
    plugin().setParameter(0, noteValue(60));
    plugin().setParameter(1, noteValue(72));
    EXPECT_EQ(statusAndData(play({noteOn(60), noteOn(73)})),
              (std::vector<StatusAndData>{{0x90, 60}}));
    // Narrowed while note 60 sounds: its note-off is still sent, its next note-on is not.
    plugin().setParameter(0, noteValue(10));
    plugin().setParameter(1, noteValue(0));
    const MidiEventRecord off = decorated(noteOff(60, 0, 64, 1));
    const MidiEventRecord silentOn = decorated(noteOn(73, 5, 0, 2));
    const MidiEventRecord unmatched = decorated(noteOff(100, 15, 0, 3));
    expectSameEvents(play({noteOn(60), off, silentOn, unmatched, noteOn(60)}),
                     {off, silentOn, unmatched});
}

TEST_F(NoteRangeFilterLibraryTest, OtherMessagesPassWholeOrAreRemoved) {
    plugin().setParameter(0, noteValue(60));
    plugin().setParameter(1, noteValue(60));
    const std::vector<MidiEventRecord> passing{
        decorated(noteOn(60, 3, 100, 1)),
        // The note is read from the low seven bits of its byte.
        decorated(noteOn(60 | 0x80, 4, 100, 1)), decorated(controlChange(1, 90, 2, 2)),
        decorated(freshMidiEvent(3, 0xEF, 0x12, 0x40)), decorated(freshMidiEvent(4, 0xC3, 9, 0))};
    expectOnlyPassingLeave(passing,
                           {noteOn(60, 0, 128, 9), noteOn(60, 0, 255, 9), noteOn(61, 0, 100, 9)});
}

TEST_F(NoteRangeFilterLibraryTest, ProgramChangesPassAndKeepTheRange) {
    expectProgramChangesPassWhole({{0, noteValue(72)}, {1, noteValue(60)}});
    EXPECT_EQ(passingNotes().size(), 13u);
}

TEST_F(NoteRangeFilterLibraryTest, EachPassingEventReachesTheHostAlone) {
    expectOneEventPerHostCall({noteOn(60, 0, 100, 0), noteOn(61, 1, 100, 4),
                               controlChange(7, 100, 0, 4), noteOff(60, 0, 64, 9)});
}

} // namespace
} // namespace quorvel::integration

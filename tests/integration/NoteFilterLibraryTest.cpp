// Lunfeth as a host drives it: note-ons of the chosen note (or of every note) pass unchanged,
// note-offs, controllers, pitch bends and program changes always pass, the rest is dropped.
#include "tests/integration/SkeletonPluginTest.h"

namespace quorvel::integration {
namespace {

constexpr SkeletonIdentity kLunfeth{
    "Lunfeth", "Quorvel Lunfeth", fourCharacters("Qz08"), 130, 1, false, true};

class NoteFilterLibraryTest : public SkeletonPluginTest {
protected:
    NoteFilterLibraryTest() : SkeletonPluginTest("lunfeth") {}
};

TEST_F(NoteFilterLibraryTest, IdentifiesItselfAsAMidiSkeletonPlugin) {
    expectIdentity(kLunfeth);
    expectFeatureAnswers(false);
    expectOutputProperties(kLunfeth);
}

TEST_F(NoteFilterLibraryTest, ParameterShowsTheChosenNoteNumber) {
    EXPECT_EQ(plugin().parameter(0), 0.0f);
    expectLabels(plugin(), {{"  Note  ", " "}});
    // The display is the integer part of value x 128, so 1.0 shows 128.
    expectDisplays(plugin(), {{0, 0.0f, "0"},
                              {0, 1.0f / 256.0f, "0"},
                              {0, 60.0f / 127.0f, "60"},
                              {0, 0.5f, "64"},
                              {0, 0.999f, "127"},
                              {0, 1.0f, "128"}});
}

struct ChosenNoteCase {
    float value;
    int noteByte;
    bool passes;
};

void PrintTo(const ChosenNoteCase& c, std::ostream* out) {
    *out << "value " << c.value << " note byte " << c.noteByte;
}

class NoteFilterChoiceTest : public NoteFilterLibraryTest,
                             public ::testing::WithParamInterface<ChosenNoteCase> {};

TEST_P(NoteFilterChoiceTest, PassesNoteOnsOfTheChosenNoteOnEveryChannelAndAllNoteOffs) {
    const ChosenNoteCase& c = GetParam();
    plugin().setParameter(0, c.value);
    const MidiEventRecord onFirst = decorated(noteOn(c.noteByte, 0, 100, 1));
    const MidiEventRecord onLast = decorated(noteOn(c.noteByte, 15, 1, 2));
    const MidiEventRecord off = decorated(noteOff(c.noteByte, 0, 64, 3));
    const MidiEventRecord silentOn = decorated(noteOn(c.noteByte, 15, 0, 4));
    const auto out = play({onFirst, onLast, off, silentOn});
    if (c.passes)
        expectSameEvents(out, {onFirst, onLast, off, silentOn});
    else
        expectSameEvents(out, {off, silentOn});
}

INSTANTIATE_TEST_SUITE_P(Notes, NoteFilterChoiceTest,
                         ::testing::Values(
                             // Exactly 0.0 lets every note through.
                             ChosenNoteCase{0.0f, 0, true}, ChosenNoteCase{0.0f, 60, true},
                             ChosenNoteCase{0.0f, 127, true},
                             // The editor's setting for note 60: 60/127 x 128 = 60.47.
                             ChosenNoteCase{60.0f / 127.0f, 60, true},
                             ChosenNoteCase{60.0f / 127.0f, 59, false},
                             ChosenNoteCase{60.0f / 127.0f, 61, false},
                             // The note is read from the low seven bits of its byte.
                             ChosenNoteCase{60.0f / 127.0f, 60 | 0x80, true},
                             // Any value above 0.0 chooses one note, however small.
                             ChosenNoteCase{1.0f / 256.0f, 0, true},
                             ChosenNoteCase{1.0f / 256.0f, 1, false},
                             ChosenNoteCase{1e-6f, 0, true}, ChosenNoteCase{1e-6f, 60, false},
                             ChosenNoteCase{0.5f, 64, true}, ChosenNoteCase{0.5f, 63, false},
                             ChosenNoteCase{0.999f, 127, true},
                             // 1.0 x 128 is limited to the top note.
                             ChosenNoteCase{1.0f, 127, true}, ChosenNoteCase{1.0f, 126, false},
                             ChosenNoteCase{1.0f, 0, false}));

TEST_F(NoteFilterLibraryTest, NoteOffsPassWhenTheirNoteOnWasDropped) {
    plugin().setParameter(0, 0.5f);
    const auto out = play({noteOn(60), noteOff(60), noteOn(64), noteOn(60, 3, 0)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x80, 60}, {0x90, 64}, {0x93, 60}}));
}

TEST_F(NoteFilterLibraryTest, ControllersAndBendsPassWholeAndEverythingElseIsDropped) {
    plugin().setParameter(0, 0.5f);
    const MidiEventRecord modulation = decorated(controlChange(1, 90, 2, 1));
    const MidiEventRecord bend = decorated(freshMidiEvent(2, 0xEF, 0x12, 0x40));
    const MidiEventRecord chosen = decorated(noteOn(64, 4, 100, 3));
    testhost::EventListBuilder builder;
    builder.add(modulation).addEvent(nonMidiEvent(2)).add(bend);
    for (const MidiEventRecord& event : unhandledMessages())
        builder.add(event);
    // Velocities of 128 and above do not count as a note-on, nor as a note-off.
    builder.add(noteOn(64, 0, 128)).add(noteOn(64, 0, 255)).add(chosen);
    expectSameEvents(playList(builder), {modulation, bend, chosen});
}

TEST_F(NoteFilterLibraryTest, ProgramChangesPassAndKeepTheChosenNote) {
    expectProgramChangesPassWhole({{0, 0.5f}});
    EXPECT_EQ(statusAndData(play({noteOn(63), noteOn(64)})),
              (std::vector<StatusAndData>{{0x90, 64}}));
}

TEST_F(NoteFilterLibraryTest, EachPassingEventReachesTheHostAlone) {
    expectOneEventPerHostCall({noteOn(60, 0, 100, 0), noteOn(61, 1, 100, 4),
                               controlChange(7, 100, 0, 4), noteOff(60, 0, 64, 9)});
}

} // namespace
} // namespace quorvel::integration

// Scalomir as a host drives it: notes forced onto a scale, moved by scale steps, and released
// on the note that was sent; scale presets as programs.
#include "tests/integration/EventHelpers.h"
#include "tests/integration/IdentityChecks.h"
#include "tests/integration/LoadedPlugin.h"

#include <array>
#include <vector>

namespace quorvel::integration {
namespace {

// Parameter index of each pitch class in chromatic order: the naturals come first.
constexpr std::array<std::int32_t, 12> kIndexOfPitchClass{0, 7, 1, 8, 2, 3, 9, 4, 10, 5, 11, 6};
constexpr std::int32_t kStrategy = 12;
constexpr std::int32_t kTranspose = 13;

// Scales as twelve bits, bit p for pitch class p (C = 0).
using Scale = std::uint16_t;
constexpr Scale pitchClasses(std::initializer_list<int> classes) {
    Scale scale = 0;
    for (const int p : classes)
        scale = static_cast<Scale>(scale | (1u << p));
    return scale;
}
constexpr Scale kCMajor = pitchClasses({0, 2, 4, 5, 7, 9, 11});
constexpr Scale kOnlyC = pitchClasses({0});
constexpr Scale kOnlyB = pitchClasses({11});
constexpr Scale kCAndDSharp = pitchClasses({0, 3});
constexpr Scale kChromatic = 0xFFF;
constexpr Scale kEmpty = 0;

constexpr float kNone = 0.0f;
constexpr float kUp = 1.0f / 3.0f;
constexpr float kDown = 2.0f / 3.0f;
constexpr float kNearest = 1.0f;

// A value whose step count v x 79 - 39.5, truncated toward zero, is k.
constexpr float stepsValue(int k) {
    if (k == 0) return 0.5f;
    return static_cast<float>(k > 0 ? k + 40 : k + 39) / 79.0f;
}

constexpr int kDropped = -1;

class ForceToKeyLibraryTest : public PluginTest {
protected:
    ForceToKeyLibraryTest() : PluginTest("scalomir") {}

    void useScale(Scale scale) {
        for (int p = 0; p < 12; ++p)
            plugin().setParameter(kIndexOfPitchClass[static_cast<std::size_t>(p)],
                                  (scale >> p) & 1u ? 1.0f : 0.0f);
    }
    Scale scaleInForce() {
        Scale scale = 0;
        for (int p = 0; p < 12; ++p)
            if (plugin().parameter(kIndexOfPitchClass[static_cast<std::size_t>(p)]) > 0.5f)
                scale = static_cast<Scale>(scale | (1u << p));
        return scale;
    }
};

TEST_F(ForceToKeyLibraryTest, IdentifiesItselfAsAMidiInstrument) {
    // The editor bit depends on whether an editor is built in; everything else is fixed.
    expectRecord(plugin(),
                 {fourCharacters("Qz01"), 24, 14, 0, 0,
                  flags::kCanOverwrite | flags::kCanMono | flags::kSynth},
                 flags::kHasEditor);
    expectIdentityAnswers(plugin(), {"Scalomir", "Quorvel", "Quorvel Scalomir", 110, 1, 1});
    expectFeatureAnswers(
        plugin(), {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"});
    EXPECT_EQ(plugin().dispatch(9), 0);
    expectOutputPins(plugin(), "Scalomir", false);
    EXPECT_EQ(plugin().readText(29, 0, 0).result, 0);
}

TEST_F(ForceToKeyLibraryTest, ResumingAsksTheHostForEvents) {
    expectResumingRequestsEvents(plugin());
}

TEST_F(ForceToKeyLibraryTest, ParametersShowTitlesAndUnits) {
    expectLabels(plugin(), {{"   C    ", " "},
                            {"   D    ", " "},
                            {"   E    ", " "},
                            {"   F    ", " "},
                            {"   G    ", " "},
                            {"   A    ", " "},
                            {"   B    ", " "},
                            {"   Cs   ", " "},
                            {"   Ds   ", " "},
                            {"   Fs   ", " "},
                            {"   Gs   ", " "},
                            {"   As   ", " "},
                            {"Note Choice Strategy", " "},
                            {"Transpose", " "}});
}

TEST_F(ForceToKeyLibraryTest, ParametersShowTheirValuesAsText) {
    expectDisplays(plugin(), {{0, 1.0f, "on"},
                              {0, 0.5f, "on"},
                              {7, 0.49f, "off"},
                              {11, 0.0f, "off"},
                              {kStrategy, 0.0f, "None"},
                              {kStrategy, 0.2499f, "None"},
                              {kStrategy, 0.25f, "Up"},
                              {kStrategy, kUp, "Up"},
                              {kStrategy, 0.4999f, "Up"},
                              {kStrategy, 0.5f, "Down"},
                              {kStrategy, kDown, "Down"},
                              {kStrategy, 0.75f, "Nearest Note"},
                              {kStrategy, 1.0f, "Nearest Note"},
                              {kTranspose, 0.0f, "-39"},
                              {kTranspose, 0.49f, "0"},
                              {kTranspose, 0.5f, "0"},
                              {kTranspose, 0.51f, "0"},
                              {kTranspose, 0.52f, "1"},
                              {kTranspose, stepsValue(-7), "-7"},
                              {kTranspose, 1.0f, "39"}});
}

struct Preset {
    const char* name;
    Scale scale;
};

// Sharps in the names of pitch classes: Cs = 1, Ds = 3, Fs = 6, Gs = 8, As = 10.
const std::array<Preset, 24> kPresets{{
    {"C Major", pitchClasses({0, 2, 4, 5, 7, 9, 11})},
    {"D Major", pitchClasses({1, 2, 4, 6, 7, 9, 11})},
    {"E Major", pitchClasses({1, 3, 4, 6, 8, 9, 11})},
    {"F Major", pitchClasses({0, 2, 4, 5, 7, 9, 10})},
    {"G Major", pitchClasses({0, 2, 4, 6, 7, 9, 11})},
    {"A Major", pitchClasses({1, 2, 4, 6, 8, 9, 11})},
    {"B Major", pitchClasses({1, 3, 4, 6, 8, 10, 11})},
    {"C# Major/Db Major", pitchClasses({0, 1, 3, 5, 6, 8, 10})},
    {"Eb Major", pitchClasses({0, 2, 3, 5, 7, 8, 10})},
    {"F# Major/Gb Major", pitchClasses({1, 3, 5, 6, 8, 10, 11})},
    {"Ab Major", pitchClasses({0, 1, 3, 5, 7, 8, 10})},
    {"Bb Major", pitchClasses({0, 2, 3, 5, 7, 9, 10})},
    {"A Minor", pitchClasses({0, 2, 4, 5, 7, 9, 11})},
    {"B Minor", pitchClasses({1, 2, 4, 6, 7, 9, 11})},
    {"C# Minor", pitchClasses({1, 3, 4, 6, 8, 9, 11})},
    {"D Minor", pitchClasses({0, 2, 4, 5, 7, 9, 10})},
    {"E Minor", pitchClasses({0, 2, 4, 6, 7, 9, 11})},
    {"F# Minor", pitchClasses({1, 2, 4, 6, 8, 9, 11})},
    {"G# Minor", pitchClasses({1, 3, 4, 6, 8, 10, 11})},
    {"Bb Minor", pitchClasses({0, 1, 3, 5, 6, 8, 10})},
    {"C Minor", pitchClasses({0, 2, 3, 5, 7, 8, 10})},
    {"D# Minor/Eb Minor", pitchClasses({1, 3, 5, 6, 8, 10, 11})},
    {"F Minor", pitchClasses({0, 1, 3, 5, 7, 8, 10})},
    {"G Minor", pitchClasses({0, 2, 3, 5, 7, 9, 10})},
}};

TEST_F(ForceToKeyLibraryTest, StartsOnCMajorWithTheNearestNoteAndNoSteps) {
    EXPECT_EQ(plugin().dispatch(3), 0);
    EXPECT_EQ(plugin().readText(5).text, "C Major");
    EXPECT_EQ(scaleInForce(), kCMajor);
    for (int p = 0; p < 12; ++p)
        EXPECT_EQ(plugin().parameter(kIndexOfPitchClass[static_cast<std::size_t>(p)]),
                  (kCMajor >> p) & 1u ? 1.0f : 0.0f)
            << "pitch class " << p;
    EXPECT_EQ(plugin().parameter(kStrategy), 1.0f);
    EXPECT_EQ(plugin().parameter(kTranspose), 0.5f);
}

TEST_F(ForceToKeyLibraryTest, EveryProgramHoldsItsPreset) {
    for (std::int32_t program = 23; program >= 0; --program) {
        const Preset& preset = kPresets[static_cast<std::size_t>(program)];
        plugin().dispatch(2, 0, program);
        EXPECT_EQ(plugin().dispatch(3), program);
        const testhost::TextAnswer name = plugin().readText(5);
        EXPECT_EQ(name.result, 0);
        EXPECT_EQ(name.text, preset.name) << "program " << program;
        for (int p = 0; p < 12; ++p)
            EXPECT_EQ(plugin().parameter(kIndexOfPitchClass[static_cast<std::size_t>(p)]),
                      (preset.scale >> p) & 1u ? 1.0f : 0.0f)
                << preset.name << " pitch class " << p;
        EXPECT_EQ(plugin().parameter(kStrategy), 1.0f) << preset.name;
        EXPECT_EQ(plugin().parameter(kTranspose), 0.5f) << preset.name;
    }
}

TEST_F(ForceToKeyLibraryTest, SelectingAProgramChangesWhatNotesAreSent) {
    // F sharp is outside C major (nearest: the lower of F and G) but inside G major.
    EXPECT_EQ(statusAndData(play({noteOn(66), noteOff(66)})),
              (std::vector<StatusAndData>{{0x90, 65}, {0x80, 65}}));
    plugin().dispatch(2, 0, 4);
    EXPECT_EQ(statusAndData(play({noteOn(66), noteOff(66)})),
              (std::vector<StatusAndData>{{0x90, 66}, {0x80, 66}}));
}

TEST_F(ForceToKeyLibraryTest, EditsStayWithTheirProgram) {
    plugin().dispatch(2, 0, 2);
    plugin().setParameter(kIndexOfPitchClass[0], 1.0f);
    plugin().setParameter(kTranspose, stepsValue(3));
    plugin().dispatch(2, 0, 7);
    plugin().dispatch(2, 0, 2);
    EXPECT_EQ(scaleInForce(), kPresets[2].scale | 1u);
    EXPECT_EQ(plugin().parameter(kTranspose), stepsValue(3));
    EXPECT_EQ(plugin().readText(7, kTranspose).text, "3");
}

TEST_F(ForceToKeyLibraryTest, RenamingAndCopyingWorkOnTheCurrentProgram) {
    std::string name = "My Scale";
    plugin().dispatch(2, 0, 3);
    plugin().dispatch(4, 0, 0, name.data());
    plugin().setParameter(kStrategy, kUp);
    EXPECT_EQ(plugin().dispatch(30, 24), 0);
    EXPECT_EQ(plugin().dispatch(30, -1), 0);
    EXPECT_EQ(plugin().dispatch(30, 10), 1);
    EXPECT_EQ(plugin().dispatch(3), 3);

    plugin().dispatch(2, 0, 10);
    EXPECT_EQ(plugin().readText(5).text, "My Scale");
    EXPECT_EQ(scaleInForce(), kPresets[3].scale);
    EXPECT_EQ(plugin().parameter(kStrategy), kUp);
    plugin().dispatch(2, 0, 11);
    EXPECT_EQ(plugin().readText(5).text, "Bb Major");

    std::string init = "Init";
    plugin().dispatch(2, 0, 6);
    plugin().dispatch(4, 0, 0, init.data());
    EXPECT_EQ(plugin().readText(5).text, "Init 7");
    std::string tooLong = "abcdefghijklmnopqrstuvwxyz0123";
    plugin().dispatch(4, 0, 0, tooLong.data());
    EXPECT_EQ(plugin().readText(5).text, "abcdefghijklmnopqrstuvw");
}

struct ForceCase {
    const char* what;
    Scale scale;
    float strategy;
    int steps;
    std::uint8_t in;
    int out; // kDropped when neither the note-on nor its note-off may leave
};

void PrintTo(const ForceCase& c, std::ostream* out) {
    *out << c.what << ", note " << int{c.in};
}

class ForceToKeyNoteTest : public ForceToKeyLibraryTest,
                           public ::testing::WithParamInterface<ForceCase> {};

TEST_P(ForceToKeyNoteTest, NoteOnAndItsNoteOffCarryTheForcedNote) {
    const ForceCase& c = GetParam();
    useScale(c.scale);
    plugin().setParameter(kStrategy, c.strategy);
    plugin().setParameter(kTranspose, stepsValue(c.steps));
    const auto out = play({noteOn(c.in, 3), noteOff(c.in, 3)});
    if (c.out == kDropped) {
        EXPECT_TRUE(out.empty());
        return;
    }
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x93, c.out}, {0x83, c.out}}));
}

INSTANTIATE_TEST_SUITE_P(
    Strategies, ForceToKeyNoteTest,
    ::testing::Values(ForceCase{"in the scale", kCMajor, kNearest, 0, 71, 71},
                      ForceCase{"nearest, equal distance", kCMajor, kNearest, 0, 61, 60},
                      ForceCase{"nearest, lower is closer", kCAndDSharp, kNearest, 0, 61, 60},
                      ForceCase{"nearest, upper is closer", kCAndDSharp, kNearest, 0, 62, 63},
                      ForceCase{"nearest, nothing above", kOnlyC, kNearest, 0, 125, 120},
                      ForceCase{"nearest, nothing below", kOnlyB, kNearest, 0, 3, 11},
                      ForceCase{"nearest, empty scale", kEmpty, kNearest, 0, 60, kDropped},
                      ForceCase{"up", kCMajor, kUp, 0, 61, 62},
                      ForceCase{"up, nothing above", kOnlyC, kUp, 0, 121, kDropped},
                      ForceCase{"up, to the top", kOnlyC, kUp, 0, 119, 120},
                      ForceCase{"up, empty scale", kEmpty, kUp, 0, 60, kDropped},
                      ForceCase{"down", kCMajor, kDown, 0, 61, 60},
                      ForceCase{"down, to the bottom", kOnlyC, kDown, 0, 11, 0},
                      ForceCase{"down, nothing below", kOnlyB, kDown, 0, 5, kDropped},
                      ForceCase{"none keeps a foreign note", kCMajor, kNone, 0, 61, 61},
                      ForceCase{"none, empty scale", kEmpty, kNone, 0, 60, 60},
                      ForceCase{"none, then one step", kCMajor, kNone, 1, 61, 62},
                      ForceCase{"none, empty scale, one step", kEmpty, kNone, 1, 60, kDropped}));

INSTANTIATE_TEST_SUITE_P(
    ScaleSteps, ForceToKeyNoteTest,
    ::testing::Values(ForceCase{"B up a step", kCMajor, kNearest, 1, 71, 72},
                      ForceCase{"E up a step", kCMajor, kNearest, 1, 64, 65},
                      ForceCase{"F up a step", kCMajor, kNearest, 1, 65, 67},
                      ForceCase{"two steps", kCMajor, kNearest, 2, 60, 64},
                      ForceCase{"an octave of steps", kCMajor, kNearest, 7, 60, 72},
                      ForceCase{"a step down", kCMajor, kNearest, -1, 60, 59},
                      ForceCase{"forced, then a step down", kCMajor, kNearest, -1, 61, 59},
                      ForceCase{"most steps up", kCMajor, kNearest, 39, 0, 67},
                      ForceCase{"most steps down", kCMajor, kNearest, -39, 127, 60},
                      ForceCase{"up from the top", kCMajor, kNearest, 1, 127, kDropped},
                      ForceCase{"down from the bottom", kCMajor, kNearest, -1, 0, kDropped},
                      ForceCase{"chromatic, to the top", kChromatic, kNearest, 1, 126, 127},
                      ForceCase{"chromatic, past the top", kChromatic, kNearest, 3, 125, kDropped},
                      ForceCase{"chromatic, to the bottom", kChromatic, kNearest, -2, 2, 0},
                      ForceCase{"chromatic, past the bottom", kChromatic, kNearest, -3, 2,
                                kDropped},
                      ForceCase{"too few scale notes above", kOnlyC, kNearest, 3, 100, kDropped}));

TEST_F(ForceToKeyLibraryTest, APitchClassAtOneHalfShowsOnButIsNotInTheScale) {
    plugin().setParameter(kIndexOfPitchClass[0], 0.5f);
    plugin().setParameter(kStrategy, kUp);
    EXPECT_EQ(plugin().readText(7, kIndexOfPitchClass[0]).text, "on");
    EXPECT_EQ(statusAndData(play({noteOn(60)})), (std::vector<StatusAndData>{{0x90, 62}}));
}

TEST_F(ForceToKeyLibraryTest, NoteOffCarriesTheNoteSentAfterEveryChange) {
    plugin().setParameter(kTranspose, stepsValue(1));
    EXPECT_EQ(statusAndData(play({noteOn(64)})), (std::vector<StatusAndData>{{0x90, 65}}));
    plugin().setParameter(kTranspose, stepsValue(-1));
    useScale(kOnlyB);
    plugin().setParameter(kStrategy, kDown);
    // The new settings apply to the next note-on only: E goes down to B 59, then a step to 47.
    EXPECT_EQ(statusAndData(play({noteOff(64), noteOn(64)})),
              (std::vector<StatusAndData>{{0x80, 65}, {0x90, 47}}));
    // A program change through MIDI does not lose the sounding note either.
    EXPECT_EQ(statusAndData(play({programChange(2), noteOff(64)})),
              (std::vector<StatusAndData>{{0xC0, 2}, {0x80, 47}}));
}

TEST_F(ForceToKeyLibraryTest, RepeatedNoteOnsSoundOnceAndChannelsAreHeldApart) {
    const auto out = play({noteOn(61, 0), noteOn(61, 1), noteOn(61, 0), noteOff(61, 0),
                           noteOff(61, 0), noteOff(61, 1)});
    EXPECT_EQ(statusAndData(out),
              (std::vector<StatusAndData>{{0x90, 60}, {0x91, 60}, {0x80, 60}, {0x81, 60}}));
}

TEST_F(ForceToKeyLibraryTest, NoteOnOfVelocityZeroReleasesAndKeepsItsStatus) {
    const auto out = play({noteOn(61, 5), noteOn(61, 5, 0), noteOn(61, 5, 0)});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].status, 0x95);
    EXPECT_EQ(out[1].data1, 60);
    EXPECT_EQ(out[1].data2, 0);
}

TEST_F(ForceToKeyLibraryTest, NoteOnOfVelocityAbove127IsDroppedAndNotHeld) {
    const auto out =
        play({noteOn(62, 0, 128), noteOff(62), noteOn(62, 0, 255), noteOn(62), noteOff(62)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x90, 62}, {0x80, 62}}));
}

TEST_F(ForceToKeyLibraryTest, SentNotesKeepEveryOtherFieldOfTheReceivedEvent) {
    const MidiEventRecord note = decorated(noteOn(61, 4, 90, 17));
    MidiEventRecord release = withStatus(note, 0x84);
    release.deltaFrames = 40;

    const auto out = play({note, release});
    ASSERT_EQ(out.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        MidiEventRecord expected = i == 0 ? note : release;
        expected.data1 = 60;
        EXPECT_TRUE(sameRecord(out[i], expected)) << "event " << i;
    }
}

TEST_F(ForceToKeyLibraryTest, ControllersAndPitchBendPassWholeAndOtherKindsAreRemoved) {
    const MidiEventRecord bend = decorated(freshMidiEvent(9, 0xE5, 0x12, 0x40));
    const MidiEventRecord modulation = decorated(controlChange(1, 90, 2, 11));
    const auto out = play({freshMidiEvent(0, 0xA0, 60, 30), bend, freshMidiEvent(1, 0xD3, 40, 0),
                           freshMidiEvent(2, 0xF8, 0, 0), freshMidiEvent(3, 0xF0, 1, 2),
                           freshMidiEvent(4, 0x7F, 60, 100), modulation});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(sameRecord(out[0], bend));
    EXPECT_TRUE(sameRecord(out[1], modulation));
}

TEST_F(ForceToKeyLibraryTest, OtherEventKindsInAListAreSkipped) {
    testhost::EventListBuilder list;
    list.add(noteOn(61)).addEvent(nonMidiEvent(0)).add(noteOff(61));
    EXPECT_EQ(statusAndData(playList(list)), (std::vector<StatusAndData>{{0x90, 60}, {0x80, 60}}));
    // One event per call to the host.
    EXPECT_EQ(host().callsOf(8).size(), 2u);
    for (const testhost::HostCall& call : host().callsOf(8))
        EXPECT_EQ(call.events.size(), 1u);
}

struct ProgramChangeCase {
    std::uint8_t program; // data byte 1 of the message
    std::int32_t current; // program in force afterwards
    int sent;             // what the following note-on of F sharp becomes
};

class ForceToKeyProgramChangeTest : public ForceToKeyLibraryTest,
                                    public ::testing::WithParamInterface<ProgramChangeCase> {};

TEST_P(ForceToKeyProgramChangeTest, SelectsAPresetForTheFollowingEventsAndPasses) {
    const ProgramChangeCase& c = GetParam();
    const MidiEventRecord change = programChange(c.program);
    const auto out = play({noteOn(66, 1), change, noteOn(66), noteOff(66, 1), noteOff(66)});
    ASSERT_EQ(out.size(), 5u);
    EXPECT_TRUE(sameRecord(out[1], change));
    EXPECT_EQ(statusAndData(out),
              (std::vector<StatusAndData>{
                  {0x91, 65}, {0xC0, c.program}, {0x90, c.sent}, {0x81, 65}, {0x80, c.sent}}));
    EXPECT_EQ(plugin().dispatch(3), c.current);
    EXPECT_EQ(plugin().readText(5).text, kPresets[static_cast<std::size_t>(c.current)].name);
}

INSTANTIATE_TEST_SUITE_P(Programs, ForceToKeyProgramChangeTest,
                         ::testing::Values(ProgramChangeCase{5, 5, 66}, ProgramChangeCase{4, 4, 66},
                                           ProgramChangeCase{23, 23, 65},
                                           ProgramChangeCase{24, 0, 65},
                                           ProgramChangeCase{127, 0, 65},
                                           ProgramChangeCase{0x80 | 5, 5, 66}));

class ForceToKeyPanicTest : public ForceToKeyLibraryTest,
                            public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(ForceToKeyPanicTest, PanicPassesAndForgetsOnlyItsChannel) {
    plugin().setParameter(kTranspose, stepsValue(1));
    const MidiEventRecord panic = controlChange(GetParam(), 0, 1);
    const auto first = play({noteOn(60, 1), noteOn(64, 1), noteOn(60, 2), panic});
    ASSERT_EQ(first.size(), 4u);
    EXPECT_TRUE(sameRecord(first[3], panic));

    // Channel 1's notes are forgotten: note-offs are dropped and new note-ons are sent with
    // the steps now in force. Channel 2 still holds its note.
    plugin().setParameter(kTranspose, stepsValue(2));
    const auto second = play({noteOff(64, 1), noteOn(60, 2), noteOn(60, 1), noteOff(60, 2),
                              noteOff(60, 1), noteOff(60, 1)});
    EXPECT_EQ(statusAndData(second),
              (std::vector<StatusAndData>{{0x91, 64}, {0x82, 62}, {0x81, 64}}));
}

INSTANTIATE_TEST_SUITE_P(Controllers, ForceToKeyPanicTest,
                         ::testing::Values(std::uint8_t{123}, std::uint8_t{120}));

TEST_F(ForceToKeyLibraryTest, OtherControllersAndSuspendKeepTheNotesSounding) {
    play({noteOn(61, 1), controlChange(121, 0, 1), controlChange(64, 0, 1),
          controlChange(123, 0, 2)});
    plugin().dispatch(12, 0, 0);
    plugin().dispatch(12, 0, 1);
    const auto out = play({noteOn(61, 1), noteOff(61, 1)});
    EXPECT_EQ(statusAndData(out), (std::vector<StatusAndData>{{0x81, 60}}));
}

} // namespace
} // namespace quorvel::integration

// Gavorn as a host drives it: note-on velocities multiplied by a gain of 0 to 4 and kept
// between 1 and 127, notes sent as fresh events, controllers and program changes passed whole.
#include "tests/integration/SkeletonPluginTest.h"

namespace quorvel::integration {
namespace {

constexpr SkeletonIdentity kGavorn{
    "Gavorn", "Quorvel Gavorn", fourCharacters("Qz09"), 100, 1, false, false};

class VelocityAmpLibraryTest : public SkeletonPluginTest {
protected:
    VelocityAmpLibraryTest() : SkeletonPluginTest("gavorn") {}
};

TEST_F(VelocityAmpLibraryTest, IdentifiesItselfAsAMidiSkeletonPlugin) {
    expectIdentity(kGavorn);
    expectFeatureAnswers(false);
    expectOutputProperties(kGavorn);
}

TEST_F(VelocityAmpLibraryTest, ParameterShowsTheGain) {
    EXPECT_EQ(plugin().parameter(0), 0.25f);
    expectLabels(plugin(), {{"Amp", " "}});
    expectDisplays(plugin(), {{0, 0.25f, "1.000"},
                              {0, 0.625f, "2.500"},
                              {0, 0.0f, "0.000"},
                              {0, 0.3f, "1.200"},
                              {0, 1.0f, "4.000"}});
}

struct GainCase {
    float value;
    int in;
    int out;
};

void PrintTo(const GainCase& c, std::ostream* out) {
    *out << "value " << c.value << " velocity " << c.in;
}

class VelocityAmpGainTest : public VelocityAmpLibraryTest,
                            public ::testing::WithParamInterface<GainCase> {};

TEST_P(VelocityAmpGainTest, SendsAFreshNoteOnWithTheScaledVelocity) {
    const GainCase& c = GetParam();
    plugin().setParameter(0, c.value);
    const MidiEventRecord in = decorated(noteOn(61, 5, c.in, 9));
    // Status, note and data3 are kept; every byte not set from the input is 0.
    const MidiEventRecord expected =
        freshMidiEvent(9, 0x95, 61, static_cast<std::uint8_t>(c.out), in.data3);
    expectSameEvents(play({in}), {expected});
}

INSTANTIATE_TEST_SUITE_P(
    Gains, VelocityAmpGainTest,
    ::testing::Values(GainCase{0.25f, 1, 1}, GainCase{0.25f, 100, 100}, GainCase{0.25f, 127, 127},
                      GainCase{0.5f, 40, 80}, GainCase{0.5f, 63, 126}, GainCase{0.5f, 64, 127},
                      GainCase{0.5f, 100, 127},
                      // Gain 0 still sends velocity 1, never a note-off.
                      GainCase{0.0f, 100, 1}, GainCase{0.0f, 1, 1}, GainCase{0.1f, 2, 1},
                      // Gain 1.2: 8.4 is truncated.
                      GainCase{0.3f, 100, 120}, GainCase{0.3f, 7, 8}, GainCase{1.0f, 31, 124},
                      GainCase{1.0f, 32, 127}, GainCase{1.0f, 127, 127}));

class VelocityAmpNoteOffTest : public VelocityAmpLibraryTest,
                               public ::testing::WithParamInterface<float> {};

TEST_P(VelocityAmpNoteOffTest, NoteOffsKeepTheirVelocityWhateverTheGain) {
    plugin().setParameter(0, GetParam());
    const MidiEventRecord off = decorated(noteOff(60, 2, 64, 3));
    const MidiEventRecord silentOn = decorated(noteOn(60, 14, 0, 5));
    expectSameEvents(play({off, silentOn}), {freshMidiEvent(3, 0x82, 60, 64, off.data3),
                                             freshMidiEvent(5, 0x9E, 60, 0, silentOn.data3)});
}

INSTANTIATE_TEST_SUITE_P(Gains, VelocityAmpNoteOffTest, ::testing::Values(0.0f, 0.25f, 1.0f));

TEST_F(VelocityAmpLibraryTest, ControllersAndBendsPassWholeAndEverythingElseIsDropped) {
    plugin().setParameter(0, 0.5f);
    const MidiEventRecord modulation = decorated(controlChange(1, 90, 2, 1));
    const MidiEventRecord bend = decorated(freshMidiEvent(2, 0xE3, 0x12, 0x40));
    testhost::EventListBuilder builder;
    builder.add(modulation).addEvent(nonMidiEvent(2)).add(bend);
    for (const MidiEventRecord& event : unhandledMessages())
        builder.add(event);
    builder.add(noteOn(64, 0, 128, 9)).add(noteOn(64, 0, 255, 9)).add(noteOn(64, 0, 50, 9));
    expectSameEvents(playList(builder), {modulation, bend, freshMidiEvent(9, 0x90, 64, 100)});
}

TEST_F(VelocityAmpLibraryTest, ProgramChangesPassAndKeepTheGain) {
    expectProgramChangesPassWhole({{0, 0.5f}});
    EXPECT_EQ(play({noteOn(60, 0, 30)}).at(0).data2, 60);
}

TEST_F(VelocityAmpLibraryTest, EachEventReachesTheHostAlone) {
    expectOneEventPerHostCall({noteOn(60, 0, 100, 0), noteOn(61, 1, 100, 4),
                               controlChange(7, 100, 0, 4), noteOff(60, 0, 64, 9)});
}

} // namespace
} // namespace quorvel::integration

// Kelvost as a host drives it: note-ons pass only when their velocity lies between the two
// limits, note-offs always pass, other channel messages it handles pass whole.
#include "tests/integration/SkeletonPluginTest.h"

#include <algorithm>

namespace quorvel::integration {
namespace {

constexpr SkeletonIdentity kKelvost{
    "Kelvost", "Quorvel Kelvost", fourCharacters("Qz05"), 100, 2, true, false};

class VelocityRangeFilterLibraryTest : public SkeletonPluginTest {
protected:
    VelocityRangeFilterLibraryTest() : SkeletonPluginTest("kelvost") {}

    void setLimits(float left, float right) {
        plugin().setParameter(0, left);
        plugin().setParameter(1, right);
    }

    // The velocities 0 to 127 whose note-ons pass, each note on a channel of its own.
    std::vector<int> passingVelocities() {
        std::vector<MidiEventRecord> sweep;
        for (int velocity = 0; velocity < 128; ++velocity)
            sweep.push_back(noteOn(velocity, velocity % kChannelCount, velocity, velocity));
        std::vector<int> passed;
        for (const MidiEventRecord& event : play(sweep))
            passed.push_back(event.data2);
        return passed;
    }
};

TEST_F(VelocityRangeFilterLibraryTest, IdentifiesItselfAsAMidiSkeletonPlugin) {
    expectIdentity(kKelvost);
    expectFeatureAnswers(true);
    expectOutputProperties(kKelvost);
}

TEST_F(VelocityRangeFilterLibraryTest, LimitsShowTheirNormalisedValues) {
    EXPECT_EQ(plugin().parameter(0), 0.0f);
    EXPECT_EQ(plugin().parameter(1), 1.0f);
    expectLabels(plugin(), {{"L.Limit ", " "}, {"R.Limit ", " "}});
    expectDisplays(plugin(), {{0, 0.0f, "0.000000"},
                              {1, 1.0f, "1.000000"},
                              {0, 0.25f, "0.250000"},
                              {1, 0.7f, "0.699999"}});
}

// Velocity w compares as w/127 in double precision with the stored floats; a right limit of
// exactly 1.0 opens the top. Velocity 0 is a note-off and always passes.
bool passesBetween(int velocity, float left, float right) {
    const double normalised = velocity * (1.0 / 127.0);
    return velocity == 0 || (normalised > static_cast<double>(left) &&
                             (normalised < static_cast<double>(right) || right == 1.0f));
}

std::vector<int> velocitiesBetween(float left, float right) {
    std::vector<int> velocities;
    for (int velocity = 0; velocity < 128; ++velocity)
        if (passesBetween(velocity, left, right)) velocities.push_back(velocity);
    return velocities;
}

TEST_F(VelocityRangeFilterLibraryTest, NoteOnsPassStrictlyBetweenTheLimits) {
    for (const Limits& limits :
         limitsToSweep({{64, 100}, {100, 64}, {64, 64}, {1, 126}, {0, 127}, {126, 127}})) {
        setLimits(limits.left, limits.right);
        EXPECT_EQ(passingVelocities(), velocitiesBetween(limits.left, limits.right))
            << "left " << limits.left << " right " << limits.right;
    }
}

TEST_F(VelocityRangeFilterLibraryTest, TypedLimitsKeepTheVelocitiesBetweenThem) {
    // Whatever happens at l and r themselves, l+1 to r-1 pass and nothing outside.
    setLimits(typedLimit(64), typedLimit(100));
    const std::vector<int> passed = passingVelocities();
    for (const int velocity : passed)
        EXPECT_TRUE(velocity == 0 || (velocity >= 64 && velocity <= 100)) << velocity;
    for (int velocity = 65; velocity < 100; ++velocity)
        EXPECT_NE(std::find(passed.begin(), passed.end(), velocity), passed.end()) << velocity;
}

TEST_F(VelocityRangeFilterLibraryTest, NoteOffsPassWhateverTheLimits) {
    setLimits(typedLimit(100), typedLimit(64));
    const std::vector<MidiEventRecord> offs{
        decorated(noteOff(60, 0, 127, 1)), decorated(noteOff(61, 15, 0, 2)),
        decorated(noteOn(62, 7, 0, 3)), decorated(noteOff(62, 7, 80, 4))};
    expectSameEvents(play({noteOn(60, 0, 80), offs[0], offs[1], offs[2], offs[3]}), offs);
}

TEST_F(VelocityRangeFilterLibraryTest, OtherMessagesPassWholeOrAreRemoved) {
    setLimits(typedLimit(64), typedLimit(100));
    const std::vector<MidiEventRecord> passing{
        decorated(noteOn(60, 3, 80, 1)), decorated(controlChange(1, 90, 2, 2)),
        decorated(freshMidiEvent(3, 0xEF, 0x12, 0x40)), decorated(freshMidiEvent(4, 0xC3, 9, 0))};
    // Velocity bytes of 128 and above are no note-on, whatever 128/127 would compare as.
    expectOnlyPassingLeave(passing,
                           {noteOn(60, 0, 128, 9), noteOn(60, 0, 200, 9), noteOn(60, 0, 30, 9)});
}

TEST_F(VelocityRangeFilterLibraryTest, ProgramChangesPassAndKeepTheLimits) {
    expectProgramChangesPassWhole({{0, typedLimit(64)}, {1, 1.0f}});
    EXPECT_EQ(passingVelocities(), velocitiesBetween(typedLimit(64), 1.0f));
}

TEST_F(VelocityRangeFilterLibraryTest, EachPassingEventReachesTheHostAlone) {
    expectOneEventPerHostCall({noteOn(60, 0, 100, 0), noteOn(61, 1, 127, 4),
                               controlChange(7, 100, 0, 4), noteOff(60, 0, 64, 9)});
}

} // namespace
} // namespace quorvel::integration

// Brenlit as a host drives it: control changes of the chosen controller pass only between the
// two limits, everything else it handles passes whole.
#include "tests/integration/SkeletonPluginTest.h"

#include <algorithm>

namespace quorvel::integration {
namespace {

constexpr SkeletonIdentity kBrenlit{
    "Brenlit", "Quorvel Brenlit", fourCharacters("Qz02"), 100, 3, true, false};

class ControllerRangeFilterLibraryTest : public SkeletonPluginTest {
protected:
    ControllerRangeFilterLibraryTest() : SkeletonPluginTest("brenlit") {}

    void setLimits(float left, float right, int controller) {
        plugin().setParameter(0, left);
        plugin().setParameter(1, right);
        plugin().setParameter(2, static_cast<float>(controller) / 127.0f);
    }

    // The controller values 0 to 127 that pass, each sent once on a channel of its own.
    std::vector<int> passingValues(int controller) {
        std::vector<MidiEventRecord> sweep;
        for (int value = 0; value < 128; ++value)
            sweep.push_back(controlChange(controller, value, value % kChannelCount, value));
        std::vector<int> passed;
        for (const MidiEventRecord& event : play(sweep))
            passed.push_back(event.data2);
        return passed;
    }
};

TEST_F(ControllerRangeFilterLibraryTest, IdentifiesItselfAsAMidiSkeletonPlugin) {
    expectIdentity(kBrenlit);
    expectFeatureAnswers(true);
    expectOutputProperties(kBrenlit);
}

TEST_F(ControllerRangeFilterLibraryTest, ParametersShowTheirNormalisedValues) {
    EXPECT_EQ(plugin().parameter(0), 0.0f);
    EXPECT_EQ(plugin().parameter(1), 1.0f);
    EXPECT_EQ(plugin().parameter(2), 0.0f);
    expectLabels(plugin(), {{"L.Limit ", " "}, {"R.Limit ", " "}, {" CCNum  ", " "}});
    expectDisplays(plugin(), {{0, 0.0f, "0.000000"},
                              {1, 1.0f, "1.000000"},
                              {2, 0.0f, "0.000000"},
                              {0, 0.25f, "0.250000"},
                              {1, 0.7f, "0.699999"},
                              {2, 0.5f, "0.500000"}});
}

// The limits compare c/127 in double precision with the stored floats; exactly 0.0 and 1.0
// open their side completely.
bool passesBetween(int value, float left, float right) {
    const double normalised = value * (1.0 / 127.0);
    return (normalised > static_cast<double>(left) || left == 0.0f) &&
           (normalised < static_cast<double>(right) || right == 1.0f);
}

TEST_F(ControllerRangeFilterLibraryTest, ChosenControllerPassesStrictlyBetweenTheLimits) {
    for (const Limits& limits :
         limitsToSweep({{10, 20}, {30, 20}, {20, 20}, {64, 100}, {1, 126}, {0, 127}})) {
        setLimits(limits.left, limits.right, 7);
        std::vector<int> expected;
        for (int value = 0; value < 128; ++value)
            if (passesBetween(value, limits.left, limits.right)) expected.push_back(value);
        EXPECT_EQ(passingValues(7), expected)
            << "left " << limits.left << " right " << limits.right;
    }
}

TEST_F(ControllerRangeFilterLibraryTest, TypedLimitsKeepTheValuesBetweenThem) {
    // Whatever happens at l and r themselves, l+1 to r-1 pass and nothing outside.
    setLimits(typedLimit(10), typedLimit(20), 7);
    const std::vector<int> passed = passingValues(7);
    for (const int value : passed) {
        EXPECT_GE(value, 10);
        EXPECT_LE(value, 20);
    }
    for (int value = 11; value < 20; ++value)
        EXPECT_NE(std::find(passed.begin(), passed.end(), value), passed.end()) << value;
    // Other controllers pass with any value.
    EXPECT_EQ(passingValues(8).size(), 128u);
    EXPECT_EQ(passingValues(6).size(), 128u);
}

struct ControllerCase {
    float value;
    int controller;
};

class ControllerRangeFilterNumberTest : public ControllerRangeFilterLibraryTest,
                                        public ::testing::WithParamInterface<ControllerCase> {};

TEST_P(ControllerRangeFilterNumberTest, ChoosesTheNearestControllerNumber) {
    // Crossed limits let nothing of the chosen controller through.
    setLimits(typedLimit(30), typedLimit(20), 0);
    plugin().setParameter(2, GetParam().value);
    const int chosen = GetParam().controller;
    std::vector<MidiEventRecord> in;
    for (int controller = std::max(0, chosen - 1); controller <= std::min(127, chosen + 1);
         ++controller)
        in.push_back(controlChange(controller, 25));
    std::vector<StatusAndData> expected;
    for (const MidiEventRecord& event : in)
        if (event.data1 != chosen) expected.emplace_back(0xB0, event.data1);
    EXPECT_EQ(statusAndData(play(in)), expected);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ControllerRangeFilterNumberTest,
                         ::testing::Values(ControllerCase{0.0f, 0}, ControllerCase{0.0039f, 0},
                                           ControllerCase{0.004f, 1},
                                           ControllerCase{7.0f / 127.0f, 7},
                                           ControllerCase{0.496f, 63}, ControllerCase{0.5f, 64},
                                           ControllerCase{1.0f, 127}));

TEST_F(ControllerRangeFilterLibraryTest, OtherMessagesPassWholeOrAreRemoved) {
    setLimits(typedLimit(30), typedLimit(20), 7);
    const std::vector<MidiEventRecord> passing{
        decorated(noteOn(60, 0, 100, 1)),      decorated(noteOn(61, 15, 127, 1)),
        decorated(noteOn(62, 9, 0, 2)),        decorated(noteOff(60, 0, 64, 3)),
        decorated(noteOff(61, 15, 0, 3)),      decorated(freshMidiEvent(4, 0xE5, 0x12, 0x40)),
        decorated(controlChange(8, 25, 4, 5)), decorated(freshMidiEvent(6, 0xC3, 9, 0))};
    expectOnlyPassingLeave(
        passing, {noteOn(60, 0, 128, 9), noteOn(60, 0, 255, 9), controlChange(7, 25, 0, 9)});
}

TEST_F(ControllerRangeFilterLibraryTest, ProgramChangesPassAndKeepTheLimits) {
    expectProgramChangesPassWhole({{0, typedLimit(10)}, {1, typedLimit(20)}, {2, 0.5f}});
}

TEST_F(ControllerRangeFilterLibraryTest, EachPassingEventReachesTheHostAlone) {
    expectOneEventPerHostCall({controlChange(0, 10, 0, 0), controlChange(0, 127, 1, 4),
                               noteOn(60, 0, 100, 4), noteOff(60, 0, 64, 9)});
}

} // namespace
} // namespace quorvel::integration

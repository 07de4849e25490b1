// The dispatcher's answers as a host sees them through the exported entry.
#include "tests/integration/IdentityChecks.h"
#include "tests/integration/LoadedPlugin.h"

#include <array>

namespace quorvel::integration {
namespace {

struct DispatchCase {
    const char* library;
    std::int32_t opcode;
    std::int32_t index;
    IntPtr value;
    float opt;
    IntPtr expected;
};

void PrintTo(const DispatchCase& c, std::ostream* out) {
    *out << c.library << " opcode " << c.opcode << " index " << c.index << " value " << c.value;
}

class DispatchAnswerTest : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DispatchAnswerTest, AnswersWithoutAPointer) {
    const DispatchCase& c = GetParam();
    LoadedPlugin loaded;
    ASSERT_TRUE(loaded.load(c.library));
    EXPECT_EQ(loaded.instance.dispatch(c.opcode, c.index, c.value, nullptr, c.opt), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DispatchAnswerTest,
    ::testing::Values(
        // Identification answers whatever the arguments.
        DispatchCase{"tavrune", 22, 0, 0, 0.0f, kIdentifyAnswer},
        DispatchCase{"tavrune", 22, -7, 123456, 2.5f, kIdentifyAnswer},
        DispatchCase{"probe", 22, 99, -1, -1.0f, kIdentifyAnswer},
        // Pin connection and block size with rate are acknowledged.
        DispatchCase{"tavrune", 31, 0, 1, 0.0f, 1}, DispatchCase{"tavrune", 32, 1, 0, 0.0f, 1},
        DispatchCase{"tavrune", 43, 0, 512, 48000.0f, 1},
        // Keys are not required, which the dispatcher answers as 1.
        DispatchCase{"tavrune", 57, 0, 0, 0.0f, 1}, DispatchCase{"tavrune", 58, 0, 0, 0.0f, 2300},
        // Editor opcodes without an editor.
        DispatchCase{"tavrune", 15, 0, 0, 0.0f, 0}, DispatchCase{"tavrune", 19, 0, 0, 0.0f, 0},
        DispatchCase{"tavrune", 59, 65, 1, 0.0f, 0}, DispatchCase{"tavrune", 60, 65, 1, 0.0f, 0},
        DispatchCase{"tavrune", 61, 0, 1, 0.0f, 0},
        // Opcodes nobody answers.
        DispatchCase{"tavrune", 77, 0, 0, 0.0f, 0}, DispatchCase{"tavrune", 1000, 0, 0, 0.0f, 0},
        DispatchCase{"tavrune", -1, 0, 0, 0.0f, 0}, DispatchCase{"tavrune", 16, 0, 0, 0.0f, 0},
        DispatchCase{"tavrune", 20, 0, 0, 0.0f, 0}, DispatchCase{"tavrune", 26, 0, 0, 0.0f, 1},
        DispatchCase{"tavrune", 28, 0, 0, 0.0f, 1},
        // An effect category although the record raises the synth flag.
        DispatchCase{"tavrune", 35, 0, 0, 0.0f, 1}, DispatchCase{"probe", 35, 0, 0, 0.0f, 1},
        DispatchCase{"tavrune", 52, 0, 0, 0.0f, 1}, DispatchCase{"tavrune", 49, 0, 0, 0.0f, 130},
        DispatchCase{"probe", 49, 0, 0, 0.0f, 7},
        DispatchCase{"tavrune", 73, 0, 123456789, 0.0f, 123456789},
        DispatchCase{"tavrune", 73, 0, -5, 0.0f, -5}, DispatchCase{"tavrune", 3, 0, 0, 0.0f, 0}));

class TavruneDispatchTest : public TavruneTest {};
class ProbeDispatchTest : public ProbeTest {};

TEST_F(TavruneDispatchTest, EditorOpcodesWithoutAnEditorTouchNothing) {
    EditorSize size{1, 2, 3, 4};
    EditorSize* place = &size;
    EXPECT_EQ(plugin().dispatch(13, 0, 0, &place), 0);
    EXPECT_EQ(place, &size);
    for (const std::int32_t opcode : {14, 15, 19, 59, 60, 61}) {
        const testhost::TextAnswer answer = plugin().readText(opcode, 65, 1);
        EXPECT_EQ(answer.result, 0) << "opcode " << opcode;
        EXPECT_TRUE(answer.untouched) << "opcode " << opcode;
    }
}

TEST_F(ProbeDispatchTest, MeterShowsTheLevelScaledTo32767) {
    const std::array<std::pair<float, IntPtr>, 4> cases{
        {{0.0f, 0}, {0.5f, 16383}, {1.0f, 32767}, {0.25f, 8191}}};
    for (const auto& [level, expected] : cases) {
        plugin().setParameter(0, level);
        EXPECT_EQ(plugin().dispatch(9), expected) << "level " << level;
    }
}

TEST_F(ProbeDispatchTest, ProgramSelectionIgnoresIndicesOutsideTheStore) {
    plugin().dispatch(2, 0, 3);
    ASSERT_EQ(plugin().dispatch(3), 3);
    std::vector<IntPtr> outside{8, -1, 1000};
#if INTPTR_MAX == INT64_MAX
    // A value that would select program 5 if it were cut to 32 bits first.
    outside.push_back((IntPtr{1} << 32) + 5);
#endif
    for (const IntPtr value : outside) {
        EXPECT_EQ(plugin().dispatch(2, 0, value), 0);
        EXPECT_EQ(plugin().dispatch(3), 3) << "value " << value;
    }
    plugin().dispatch(2, 0, 7);
    EXPECT_EQ(plugin().dispatch(3), 7);
}

TEST_F(TavruneDispatchTest, ParameterFromTextIsNotSupported) {
    char text[] = "0.25";
    EXPECT_EQ(plugin().dispatch(27, 0, 0, text), 0);
    EXPECT_EQ(plugin().parameter(0), 0.5f);
}

TEST_F(TavruneDispatchTest, OnlyTheFourEventFeaturesAreSupported) {
    expectFeatureAnswers(
        plugin(), {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"});
}

TEST_F(TavruneDispatchTest, OutputPropertiesNameTwoOutputs) {
    expectOutputPins(plugin(), "Tavrune", true);
}

TEST_F(ProbeDispatchTest, OutputPropertiesAreNotAnsweredByDefault) {
    expectOutputPins(plugin(), "Probe", false);
}

TEST_F(TavruneDispatchTest, SpeakerArrangementQuerySetsBothPlacesToNone) {
    SpeakerArrangement input{};
    SpeakerArrangement output{};
    SpeakerArrangement* inputPlace = &input;
    SpeakerArrangement* outputPlace = &output;
    EXPECT_EQ(plugin().dispatch(69, 0, reinterpret_cast<IntPtr>(&inputPlace), &outputPlace), 0);
    EXPECT_EQ(inputPlace, nullptr);
    EXPECT_EQ(outputPlace, nullptr);
}

TEST_F(TavruneDispatchTest, NoCurrentMidiProgram) {
    std::array<unsigned char, 256> record{};
    EXPECT_EQ(plugin().dispatch(63, 0, 0, record.data()), -1);
}

} // namespace
} // namespace quorvel::integration

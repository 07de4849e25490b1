// The value texts of the effect layer, reached through the probe's opcode 50 actions, and
// the probe's parameter display built on them.
#include "tests/integration/LoadedPlugin.h"

#include "tests/probe/ProbeActions.h"

namespace quorvel::integration {
namespace {

using probe::actionIndex;
using probe::ProbeAction;

struct TextCase {
    ProbeAction action;
    IntPtr value;
    float opt;
    const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << "action " << actionIndex(c.action) << " value " << c.value << " opt " << c.opt;
}

class ValueTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ValueTextTest, WritesAtMostEightCharacters) {
    const TextCase& c = GetParam();
    LoadedPlugin loaded;
    ASSERT_TRUE(loaded.load("probe"));
    const testhost::TextAnswer answer =
        loaded.instance.readText(50, actionIndex(c.action), c.value, c.opt);
    EXPECT_EQ(answer.result, 1);
    EXPECT_EQ(answer.text, c.expected);
    EXPECT_LE(answer.text.size(), 8u);
}

constexpr auto N = ProbeAction::NumberText;
constexpr auto I = ProbeAction::IntegerText;
constexpr auto D = ProbeAction::DecibelText;
constexpr auto F = ProbeAction::FrequencyText;
constexpr auto M = ProbeAction::MillisecondText;

INSTANTIATE_TEST_SUITE_P(
    Numbers, ValueTextTest,
    ::testing::Values(TextCase{N, 0, 1.5f, "1.500000"}, TextCase{N, 0, 0.25f, "0.250000"},
                      TextCase{N, 0, 100.0f, "100.0000"}, TextCase{N, 0, -3.5f, "-3.50000"},
                      TextCase{N, 0, 12345.678f, "12345.67"}, TextCase{N, 0, 0.0f, "0.000000"},
                      TextCase{N, 0, 0.7f, "0.699999"}, TextCase{N, 0, -6.0206f, "-6.02059"},
                      TextCase{N, 0, 99999999.0f, "Huge!"},
                      // Eight digits leave no room for the point: the leading digit is lost.
                      TextCase{N, 0, 12345678.0f, "2345678."},
                      TextCase{N, 0, -1234567.9f, "-234567."}));

INSTANTIATE_TEST_SUITE_P(Integers, ValueTextTest,
                         ::testing::Values(TextCase{I, 42, 0.0f, "     42"},
                                           TextCase{I, -123456789, 0.0f, "-1234567"},
                                           TextCase{I, 99999999, 0.0f, "99999999"},
                                           TextCase{I, 100000000, 0.0f, "Huge!"},
                                           TextCase{I, 0, 0.0f, "      0"}));

INSTANTIATE_TEST_SUITE_P(Decibels, ValueTextTest,
                         ::testing::Values(TextCase{D, 0, 1.0f, "0.000000"},
                                           TextCase{D, 0, 0.5f, "-6.02059"},
                                           TextCase{D, 0, 0.0f, "-oo"},
                                           TextCase{D, 0, -1.0f, "-oo"}));

// At the default rate of 44100.
INSTANTIATE_TEST_SUITE_P(Periods, ValueTextTest,
                         ::testing::Values(TextCase{F, 0, 441.0f, "100.0000"},
                                           TextCase{F, 0, 0.0f, "0.000000"},
                                           TextCase{M, 0, 441.0f, "10.00000"},
                                           TextCase{M, 0, 0.0f, "0.000000"},
                                           TextCase{M, 0, 44100.0f, "1000.000"}));

class ProbeDisplayTest : public ProbeTest {};

TEST_F(ProbeDisplayTest, ParametersShowTitleUnitAndNumber) {
    plugin().setParameter(1, 0.7f);
    EXPECT_EQ(plugin().readText(8, 0).text, "Level");
    EXPECT_EQ(plugin().readText(6, 0).text, "dB");
    EXPECT_EQ(plugin().readText(7, 0).text, "0.000000");
    EXPECT_EQ(plugin().readText(8, 1).text, "Depth");
    EXPECT_EQ(plugin().readText(6, 1).text, "%");
    EXPECT_EQ(plugin().readText(7, 1).text, "0.699999");
}

TEST_F(ProbeDisplayTest, ParametersOutsideTheRangeLeaveTheBufferAlone) {
    for (const std::int32_t opcode : {6, 7, 8})
        for (const std::int32_t index : {2, -1, 16}) {
            const testhost::TextAnswer answer = plugin().readText(opcode, index);
            EXPECT_EQ(answer.result, 0);
            EXPECT_TRUE(answer.untouched) << "opcode " << opcode << " index " << index;
        }
}

TEST_F(ProbeDisplayTest, BlockSizeAndRateChangeThePeriodTexts) {
    EXPECT_EQ(plugin().dispatch(43, 0, 256, nullptr, 48000.0f), 1);
    EXPECT_EQ(plugin().readText(50, actionIndex(F), 0, 480.0f).text, "100.0000");
    EXPECT_EQ(plugin().readText(50, actionIndex(M), 0, 48.0f).text, "1.000000");
    EXPECT_EQ(plugin().dispatch(10, 0, 0, nullptr, 96000.0f), 0);
    EXPECT_EQ(plugin().readText(50, actionIndex(F), 0, 480.0f).text, "200.0000");
}

} // namespace
} // namespace quorvel::integration

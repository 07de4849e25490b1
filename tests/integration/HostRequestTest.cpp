// The host request wrappers of the effect layer, called through the probe's opcode 50 actions
// against the recording host: the request the host sees and how its answer is converted.
#include "tests/integration/LoadedPlugin.h"

#include "tests/probe/ProbeActions.h"

#include <array>

namespace quorvel::integration {
namespace {

using probe::actionIndex;
using probe::ProbeAction;
using A = ProbeAction;

constexpr IntPtr kAddress = 0x12340;

struct RequestCase {
    ProbeAction action;
    IntPtr value;
    float opt;
    bool passBuffer; // the action passes a buffer of the test's on to the host
    IntPtr hostAnswer;
    IntPtr expected;
    // What the host sees.
    std::int32_t opcode;
    std::int32_t index;
    IntPtr hostValue;
    float hostOpt;
};

void PrintTo(const RequestCase& c, std::ostream* out) {
    *out << "action " << actionIndex(c.action) << " host answer " << c.hostAnswer;
}

class HostRequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(HostRequestTest, RequestsOnceAndConvertsTheAnswer) {
    const RequestCase& c = GetParam();
    LoadedPlugin loaded;
    ASSERT_TRUE(loaded.load("probe"));
    testhost::PluginInstance& plugin = loaded.instance;
    plugin.host().setAnswer(c.opcode, c.hostAnswer);
    plugin.host().clear();
    char buffer[64] = "sendVstEvents";

    EXPECT_EQ(
        plugin.dispatch(50, actionIndex(c.action), c.value, c.passBuffer ? buffer : nullptr, c.opt),
        c.expected);
    const std::vector<testhost::HostCall>& calls = plugin.host().calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].opcode, c.opcode);
    EXPECT_EQ(calls[0].index, c.index);
    EXPECT_EQ(calls[0].value, c.hostValue);
    EXPECT_EQ(calls[0].opt, c.hostOpt);
    if (c.passBuffer) {
        EXPECT_EQ(calls[0].pointer, buffer);
    } else if (c.opcode != 8) {
        EXPECT_EQ(calls[0].pointer, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Version, HostRequestTest,
    ::testing::Values(RequestCase{A::HostVersion, 0, 0, false, 2400, 2400, 1, 0, 0, 0},
                      // A host that does not say its version is taken for version 1.
                      RequestCase{A::HostVersion, 0, 0, false, 0, 1, 1, 0, 0, 0},
                      RequestCase{A::HostCurrentId, 0, 0, false, 5, 5, 2, 0, 0, 0},
                      RequestCase{A::HostIdle, 0, 0, false, 1, 1, 3, 0, 0, 0}));

// The host answers 0 for a connected pin.
INSTANTIATE_TEST_SUITE_P(
    Pins, HostRequestTest,
    ::testing::Values(RequestCase{A::IsInputConnected, 3, 0, false, 0, 1, 4, 3, 0, 0},
                      RequestCase{A::IsInputConnected, 3, 0, false, 1, 0, 4, 3, 0, 0},
                      RequestCase{A::IsOutputConnected, 2, 0, false, 0, 1, 4, 2, 1, 0},
                      RequestCase{A::IsOutputConnected, 2, 0, false, -1, 0, 4, 2, 1, 0}));

INSTANTIATE_TEST_SUITE_P(
    Events, HostRequestTest,
    ::testing::Values(RequestCase{A::RequestEvents, 1, 0, false, 1, 1, 6, 0, 1, 0},
                      RequestCase{A::HostTimeInfo, 15, 0, false, kAddress, kAddress, 7, 0, 15, 0},
                      // Only an answer of exactly 1 counts as delivered.
                      RequestCase{A::SendEvents, 60, 0, false, 1, 1, 8, 0, 0, 0},
                      RequestCase{A::SendEvents, 60, 0, false, 0, 0, 8, 0, 0, 0},
                      RequestCase{A::SendEvents, 60, 0, false, 2, 0, 8, 0, 0, 0},
                      RequestCase{A::HostTempoAt, 1000, 0, false, 1200000, 1200000, 10, 0, 1000,
                                  0}));

INSTANTIATE_TEST_SUITE_P(
    Counts, HostRequestTest,
    ::testing::Values(RequestCase{A::HostAutomatableCount, 0, 0, false, 8, 8, 11, 0, 0, 0},
                      RequestCase{A::HostParameterQuantization, 0, 0, false, 3, 3, 12, 0, 0, 0},
                      RequestCase{A::HostInputLatency, 0, 0, false, 64, 64, 18, 0, 0, 0},
                      RequestCase{A::HostOutputLatency, 0, 0, false, 96, 96, 19, 0, 0, 0},
                      RequestCase{A::HostWillOverwrite, 0, 0, false, 1, 1, 22, 0, 0, 0},
                      RequestCase{A::HostProcessLevel, 0, 0, false, 2, 2, 23, 0, 0, 0},
                      RequestCase{A::HostAutomationState, 0, 0, false, 3, 3, 24, 0, 0, 0},
                      RequestCase{A::HostVendorVersion, 0, 0, false, 900, 900, 34, 0, 0, 0},
                      RequestCase{A::HostLanguage, 0, 0, false, 2, 2, 38, 0, 0, 0},
                      RequestCase{A::SetOutputSampleRate, 0, 48000.0f, false, 1, 1, 30, 0, 0,
                                  48000.0f}));

// Any answer other than 0 is a yes.
INSTANTIATE_TEST_SUITE_P(
    Flags, HostRequestTest,
    ::testing::Values(RequestCase{A::NotifyIoChanged, 0, 0, false, 1, 1, 13, 0, 0, 0},
                      RequestCase{A::NotifyIoChanged, 0, 0, false, 0, 0, 13, 0, 0, 0},
                      RequestCase{A::RequestIdle, 0, 0, false, -1, 1, 14, 0, 0, 0},
                      RequestCase{A::RequestWindowSize, 640, 480.0f, false, 1, 1, 15, 640, 480, 0},
                      RequestCase{A::RequestWindowSize, 640, 480.0f, false, 0, 0, 15, 640, 480, 0},
                      RequestCase{A::OfflineCurrentPass, 0, 0, false, 1, 1, 28, 0, 0, 0},
                      RequestCase{A::OfflineCurrentMetaPass, 0, 0, false, 7, 1, 29, 0, 0, 0},
                      RequestCase{A::RefreshHostDisplay, 0, 0, false, 1, 1, 42, 0, 0, 0},
                      RequestCase{A::BeginParameterEdit, 1, 0, false, 1, 1, 43, 1, 0, 0},
                      RequestCase{A::BeginParameterEdit, 1, 0, false, 0, 0, 43, 1, 0, 0},
                      RequestCase{A::EndParameterEdit, 1, 0, false, 1, 1, 44, 1, 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    Pointers, HostRequestTest,
    ::testing::Values(
        RequestCase{A::PreviousPlug, 0, 0, false, kAddress, kAddress, 20, 0, 0, 0},
        RequestCase{A::NextPlug, 0, 0, false, kAddress, kAddress, 21, 0, 0, 0},
        RequestCase{A::HostOutputArrangement, 0, 0, false, kAddress, kAddress, 31, 0, 0, 0},
        RequestCase{A::HostInputArrangement, 0, 0, false, kAddress, kAddress, 49, 0, 0, 0},
        RequestCase{A::HostDirectory, 0, 0, false, kAddress, kAddress, 41, 0, 0, 0},
        RequestCase{A::OpenHostWindow, 0, 0, true, kAddress, kAddress, 39, 0, 0, 0},
        RequestCase{A::CloseHostWindow, 0, 0, true, 1, 1, 40, 0, 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    Buffers, HostRequestTest,
    ::testing::Values(RequestCase{A::HostVendorText, 0, 0, true, 1, 1, 32, 0, 0, 0},
                      RequestCase{A::HostProductText, 0, 0, true, 0, 0, 33, 0, 0, 0},
                      RequestCase{A::HostSupports, 0, 0, true, 1, 1, 37, 0, 0, 0},
                      RequestCase{A::HostSupports, 0, 0, true, 0, 0, 37, 0, 0, 0},
                      RequestCase{A::HostVendorSpecific, 9, 0.5f, true, 77, 77, 35, 7, 9, 0.5f},
                      RequestCase{A::OpenFileSelector, 0, 0, true, 1, 1, 45, 0, 0, 0},
                      RequestCase{A::CloseFileSelector, 0, 0, true, 1, 1, 46, 0, 0, 0},
                      RequestCase{A::HostChunkFile, 0, 0, true, 1, 1, 48, 0, 0, 0},
                      RequestCase{A::OfflineStart, 3, 0, true, 1, 1, 25, 2, 3, 0},
                      RequestCase{A::OfflineRead, 4, 0, true, 1, 1, 26, 1, 4, 0},
                      RequestCase{A::OfflineWrite, 4, 0, true, 0, 0, 27, 0, 4, 0}));

class ProbeRequestTest : public ProbeTest {
protected:
    IntPtr run(ProbeAction action, IntPtr value = 0, void* pointer = nullptr, float opt = 0.0f) {
        return plugin().dispatch(50, actionIndex(action), value, pointer, opt);
    }
    std::string frequencyOf(float samples) {
        return plugin().readText(50, actionIndex(A::FrequencyText), 0, samples).text;
    }
};

TEST_F(ProbeRequestTest, SentEventsReachTheHostAsOneMidiEvent) {
    host().clear();
    ASSERT_EQ(run(A::SendEvents, 64), 1);
    const std::vector<MidiEventRecord> events = plugin().receivedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, 1);
    EXPECT_EQ(events[0].status, 0x90);
    EXPECT_EQ(events[0].data1, 64);
}

TEST_F(ProbeRequestTest, SampleRateIsStoredOnlyFromAPositiveAnswer) {
    const std::array<std::pair<IntPtr, IntPtr>, 4> cases{
        {{48000, 48000}, {0, 48000}, {-1, 48000}, {96000, 96000}}};
    for (const auto& [answer, rate] : cases) {
        host().setAnswer(16, answer);
        EXPECT_EQ(run(A::RefreshSampleRate), rate) << "host answer " << answer;
    }
    EXPECT_EQ(frequencyOf(960.0f), "100.0000");
}

TEST_F(ProbeRequestTest, SampleRateKeepsTheDefaultWhenTheHostDoesNotKnow) {
    host().setAnswer(16, 0);
    EXPECT_EQ(run(A::RefreshSampleRate), 44100);
    EXPECT_EQ(frequencyOf(441.0f), "100.0000");
}

TEST_F(ProbeRequestTest, BlockSizeIsStoredOnlyFromAnAnswerInRange) {
    std::vector<std::pair<IntPtr, IntPtr>> cases{{0, 1024}, {256, 256}, {-5, 256}};
#if INTPTR_MAX == INT64_MAX
    cases.emplace_back(IntPtr{1} << 33, 256);
#endif
    for (const auto& [answer, size] : cases) {
        host().setAnswer(17, answer);
        EXPECT_EQ(run(A::RefreshBlockSize), size) << "host answer " << answer;
    }
}

TEST_F(ProbeRequestTest, FileSelectorsAndChunkFilesWithoutARecordDoNotCallTheHost) {
    host().clear();
    for (const ProbeAction action : {A::OpenFileSelector, A::CloseFileSelector, A::HostChunkFile})
        EXPECT_EQ(run(action), 0) << actionIndex(action);
    EXPECT_TRUE(host().calls().empty());
}

TEST_F(ProbeRequestTest, AUserChangeIsStoredAndReportedForAutomation) {
    host().clear();
    EXPECT_EQ(run(A::ApplyParameterAndNotify, 1, nullptr, 0.75f), 1);
    EXPECT_EQ(plugin().parameter(1), 0.75f);
    const std::vector<testhost::HostCall> automation = host().callsOf(0);
    ASSERT_EQ(automation.size(), 1u);
    EXPECT_EQ(automation[0].index, 1);
    EXPECT_EQ(automation[0].opt, 0.75f);
    EXPECT_EQ(automation[0].pointer, nullptr);
}

} // namespace
} // namespace quorvel::integration

#include "tests/host/TestEffects.h"

#include <gtest/gtest.h>

#include <functional>

namespace quorvel::testing {
namespace {

int marker; // an address to pass as pointer argument

struct Request {
    const char* name;
    std::function<IntPtr(PlainEffect&)> call;
    std::int32_t opcode;
    std::int32_t index;
    IntPtr value;
    void* pointer;
    float opt;
    IntPtr withoutHost;
};

auto asInt = [](auto answer) { return static_cast<IntPtr>(answer); };

const std::vector<Request>& requests() {
    static const std::vector<Request> all = {
        {"hostVersion", [](PlainEffect& e) { return asInt(e.hostVersion()); }, 1, 0, 0, nullptr, 0,
         1},
        {"hostCurrentId", [](PlainEffect& e) { return asInt(e.hostCurrentId()); }, 2, 0, 0, nullptr,
         0, 0},
        {"hostIdle", [](PlainEffect& e) { return asInt(e.hostIdle()); }, 3, 0, 0, nullptr, 0, 0},
        {"isInputConnected", [](PlainEffect& e) { return asInt(e.isInputConnected(3)); }, 4, 3, 0,
         nullptr, 0, 1},
        {"isOutputConnected", [](PlainEffect& e) { return asInt(e.isOutputConnected(2)); }, 4, 2, 1,
         nullptr, 0, 1},
        {"requestEvents", [](PlainEffect& e) { return asInt(e.requestEvents(1)); }, 6, 0, 1,
         nullptr, 0, 0},
        {"hostTimeInfo",
         [](PlainEffect& e) { return reinterpret_cast<IntPtr>(e.hostTimeInfo(0x202)); }, 7, 0,
         0x202, nullptr, 0, 0},
        {"hostTempoAt", [](PlainEffect& e) { return asInt(e.hostTempoAt(4410)); }, 10, 0, 4410,
         nullptr, 0, 0},
        {"hostAutomatableCount", [](PlainEffect& e) { return asInt(e.hostAutomatableCount()); }, 11,
         0, 0, nullptr, 0, 0},
        {"hostParameterQuantization",
         [](PlainEffect& e) { return asInt(e.hostParameterQuantization()); }, 12, 0, 0, nullptr, 0,
         0},
        {"notifyIoChanged", [](PlainEffect& e) { return asInt(e.notifyIoChanged()); }, 13, 0, 0,
         nullptr, 0, 0},
        {"requestIdle", [](PlainEffect& e) { return asInt(e.requestIdle()); }, 14, 0, 0, nullptr, 0,
         0},
        {"requestWindowSize", [](PlainEffect& e) { return asInt(e.requestWindowSize(320, 200)); },
         15, 320, 200, nullptr, 0, 0},
        {"hostInputLatency", [](PlainEffect& e) { return asInt(e.hostInputLatency()); }, 18, 0, 0,
         nullptr, 0, 0},
        {"hostOutputLatency", [](PlainEffect& e) { return asInt(e.hostOutputLatency()); }, 19, 0, 0,
         nullptr, 0, 0},
        {"previousPlug", [](PlainEffect& e) { return reinterpret_cast<IntPtr>(e.previousPlug()); },
         20, 0, 0, nullptr, 0, 0},
        {"nextPlug", [](PlainEffect& e) { return reinterpret_cast<IntPtr>(e.nextPlug()); }, 21, 0,
         0, nullptr, 0, 0},
        {"hostWillOverwrite", [](PlainEffect& e) { return asInt(e.hostWillOverwrite()); }, 22, 0, 0,
         nullptr, 0, 0},
        {"hostProcessLevel", [](PlainEffect& e) { return asInt(e.hostProcessLevel()); }, 23, 0, 0,
         nullptr, 0, 0},
        {"hostAutomationState", [](PlainEffect& e) { return asInt(e.hostAutomationState()); }, 24,
         0, 0, nullptr, 0, 0},
        {"offlineStart", [](PlainEffect& e) { return asInt(e.offlineStart(&marker, 3, 2)); }, 25, 2,
         3, &marker, 0, 0},
        {"offlineRead", [](PlainEffect& e) { return asInt(e.offlineRead(&marker, 5, true)); }, 26,
         1, 5, &marker, 0, 0},
        {"offlineWrite", [](PlainEffect& e) { return asInt(e.offlineWrite(&marker, 6)); }, 27, 0, 6,
         &marker, 0, 0},
        {"offlineCurrentPass", [](PlainEffect& e) { return asInt(e.offlineCurrentPass()); }, 28, 0,
         0, nullptr, 0, 0},
        {"offlineCurrentMetaPass", [](PlainEffect& e) { return asInt(e.offlineCurrentMetaPass()); },
         29, 0, 0, nullptr, 0, 0},
        {"setOutputSampleRate",
         [](PlainEffect& e) { return asInt(e.setOutputSampleRate(22050.0f)); }, 30, 0, 0, nullptr,
         22050.0f, 0},
        {"hostOutputArrangement",
         [](PlainEffect& e) { return reinterpret_cast<IntPtr>(e.hostOutputArrangement()); }, 31, 0,
         0, nullptr, 0, 0},
        {"hostVendorText",
         [](PlainEffect& e) { return asInt(e.hostVendorText(reinterpret_cast<char*>(&marker))); },
         32, 0, 0, &marker, 0, 0},
        {"hostProductText",
         [](PlainEffect& e) { return asInt(e.hostProductText(reinterpret_cast<char*>(&marker))); },
         33, 0, 0, &marker, 0, 0},
        {"hostVendorVersion", [](PlainEffect& e) { return asInt(e.hostVendorVersion()); }, 34, 0, 0,
         nullptr, 0, 0},
        {"hostVendorSpecific",
         [](PlainEffect& e) { return e.hostVendorSpecific(9, 8, &marker, 0.5f); }, 35, 9, 8,
         &marker, 0.5f, 0},
        {"hostSupports",
         [](PlainEffect& e) { return asInt(e.hostSupports(reinterpret_cast<char*>(&marker))); }, 37,
         0, 0, &marker, 0, 0},
        {"hostLanguage", [](PlainEffect& e) { return asInt(e.hostLanguage()); }, 38, 0, 0, nullptr,
         0, 0},
        {"openHostWindow",
         [](PlainEffect& e) { return reinterpret_cast<IntPtr>(e.openHostWindow(&marker)); }, 39, 0,
         0, &marker, 0, 0},
        {"closeHostWindow", [](PlainEffect& e) { return asInt(e.closeHostWindow(&marker)); }, 40, 0,
         0, &marker, 0, 0},
        {"hostDirectory",
         [](PlainEffect& e) { return reinterpret_cast<IntPtr>(e.hostDirectory()); }, 41, 0, 0,
         nullptr, 0, 0},
        {"refreshHostDisplay", [](PlainEffect& e) { return asInt(e.refreshHostDisplay()); }, 42, 0,
         0, nullptr, 0, 0},
        {"beginParameterEdit", [](PlainEffect& e) { return asInt(e.beginParameterEdit(1)); }, 43, 1,
         0, nullptr, 0, 0},
        {"endParameterEdit", [](PlainEffect& e) { return asInt(e.endParameterEdit(1)); }, 44, 1, 0,
         nullptr, 0, 0},
        {"openFileSelector", [](PlainEffect& e) { return asInt(e.openFileSelector(&marker)); }, 45,
         0, 0, &marker, 0, 0},
        {"closeFileSelector", [](PlainEffect& e) { return asInt(e.closeFileSelector(&marker)); },
         46, 0, 0, &marker, 0, 0},
        {"hostChunkFile",
         [](PlainEffect& e) { return asInt(e.hostChunkFile(reinterpret_cast<char*>(&marker))); },
         48, 0, 0, &marker, 0, 0},
        {"hostInputArrangement",
         [](PlainEffect& e) { return reinterpret_cast<IntPtr>(e.hostInputArrangement()); }, 49, 0,
         0, nullptr, 0, 0},
        {"applyParameterAndNotify",
         [](PlainEffect& e) {
             e.applyParameterAndNotify(1, 0.75f);
             return IntPtr{0};
         },
         0, 1, 0, nullptr, 0.75f, 0},
    };
    return all;
}

// How each wrapper turns the host's answer into its own.
IntPtr expectedAnswer(const Request& r, IntPtr hostAnswer) {
    switch (r.opcode) {
    case 0:
        return 0;
    case 1:
        return hostAnswer == 0 ? 1 : hostAnswer;
    case 4:
        return hostAnswer == 0 ? 1 : 0;
    case 2:
    case 3:
    case 6:
    case 7:
    case 10:
    case 11:
    case 12:
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24:
    case 30:
    case 31:
    case 34:
    case 35:
    case 38:
    case 39:
    case 41:
    case 49:
        return hostAnswer;
    default:
        return hostAnswer != 0 ? 1 : 0;
    }
}

TEST(HostRequestsTest, WithoutAHostEveryRequestAnswersItsDefault) {
    PlainEffect effect(nullptr);
    for (const Request& r : requests())
        EXPECT_EQ(r.call(effect), r.withoutHost) << r.name;
    EXPECT_EQ(effect.refreshSampleRate(), 44100.0f);
    EXPECT_EQ(effect.refreshBlockSize(), 1024);
}

// The effect's requests reach a recorder bound to its record, so the record is checked too.
class RecordedRequestsTest : public ::testing::Test {
protected:
    PlainEffect effect{testhost::recordingHostCallback};
    testhost::HostRecorder host;
    RecorderBinding binding{effect.record(), host};
};

TEST_F(RecordedRequestsTest, EveryRequestPassesItsArgumentsAndConvertsTheAnswer) {
    for (IntPtr hostAnswer : {IntPtr{0}, IntPtr{1}, IntPtr{2}, IntPtr{-1}}) {
        for (const Request& r : requests()) {
            host.clear();
            host.setAnswer(r.opcode, hostAnswer);
            EXPECT_EQ(r.call(effect), expectedAnswer(r, hostAnswer)) << r.name << " " << hostAnswer;
            ASSERT_EQ(host.calls().size(), 1u) << r.name;
            const testhost::HostCall& call = host.calls()[0];
            EXPECT_EQ(call.opcode, r.opcode) << r.name;
            EXPECT_EQ(call.index, r.index) << r.name;
            EXPECT_EQ(call.value, r.value) << r.name;
            EXPECT_EQ(call.pointer, r.pointer) << r.name;
            EXPECT_EQ(call.opt, r.opt) << r.name;
        }
    }
}

TEST_F(RecordedRequestsTest, SendEventsIsTrueOnlyWhenTheHostAnswersOne) {
    EventListOf<1> list{};
    for (IntPtr answer : {0, 1, 2}) {
        host.clear();
        host.setAnswer(8, answer);
        EXPECT_EQ(effect.sendEvents(list), answer == 1);
        ASSERT_EQ(host.calls().size(), 1u);
        EXPECT_EQ(host.calls()[0].opcode, 8);
        EXPECT_EQ(host.calls()[0].pointer, &list);
    }
    PlainEffect alone(nullptr);
    EXPECT_FALSE(alone.sendEvents(list));
}

TEST_F(RecordedRequestsTest, RefreshedRatesKeepTheOldValueUnlessTheHostAnswersAPositiveOne) {
    const struct {
        IntPtr answer;
        float rate;
        std::int32_t block;
    } steps[] = {
        {48000, 48000.0f, 48000}, {0, 48000.0f, 48000}, {-5, 48000.0f, 48000}, {256, 256.0f, 256}};
    for (const auto& s : steps) {
        host.clear();
        host.setAnswer(16, s.answer);
        host.setAnswer(17, s.answer);
        EXPECT_EQ(effect.refreshSampleRate(), s.rate);
        EXPECT_EQ(effect.refreshBlockSize(), s.block);
        ASSERT_EQ(host.calls().size(), 2u);
        EXPECT_EQ(host.calls()[0].opcode, 16);
        EXPECT_EQ(host.calls()[1].opcode, 17);
    }
}

TEST_F(RecordedRequestsTest, FileRequestsWithoutARecordDoNotCallTheHost) {
    for (std::int32_t opcode : {45, 46, 48})
        host.setAnswer(opcode, 1);
    EXPECT_FALSE(effect.openFileSelector(nullptr));
    EXPECT_FALSE(effect.closeFileSelector(nullptr));
    EXPECT_FALSE(effect.hostChunkFile(nullptr));
    EXPECT_TRUE(host.calls().empty());
}

} // namespace
} // namespace quorvel::testing

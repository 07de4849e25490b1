// Every pointer a host passes may be null, and lists may be malformed: none of it may crash
// the plug-in or change what it answers afterwards.
#include "tests/integration/LoadedPlugin.h"

#include "host/EventLists.h"

#include <tuple>

namespace quorvel::integration {
namespace {

class NullPointerOpcodeTest
    : public ::testing::TestWithParam<std::tuple<const char*, std::int32_t>> {};

TEST_P(NullPointerOpcodeTest, AnswersZero) {
    const auto& [library, opcode] = GetParam();
    LoadedPlugin loaded;
    ASSERT_TRUE(loaded.load(library));
    testhost::PluginInstance& plugin = loaded.instance;
    // value carries a place or a size for some of these opcodes; null and 0 as hosts send them.
    EXPECT_EQ(plugin.dispatch(opcode, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin.dispatch(opcode, 1, 0, nullptr, 1.0f), 0);
    EXPECT_EQ(plugin.dispatch(22), kIdentifyAnswer);
    EXPECT_EQ(plugin.readText(45).text, library == std::string("tavrune") ? "Tavrune" : "Probe");
}

INSTANTIATE_TEST_SUITE_P(PointerOpcodes, NullPointerOpcodeTest,
                         ::testing::Combine(::testing::Values("tavrune", "probe"),
                                            ::testing::Values(4, 5, 6, 7, 8, 13, 14, 23, 24, 27, 29,
                                                              33, 34, 38, 39, 40, 41, 42, 45, 46,
                                                              47, 48, 51, 56, 62, 63, 64, 66, 69,
                                                              70, 75, 76)));

class NullListTest : public TavruneTest {};

TEST_F(NullListTest, ANullListIsTakenAsEmpty) {
    EXPECT_EQ(plugin().dispatch(25, 0, 0, nullptr), 1);
    EXPECT_TRUE(plugin().receivedEvents().empty());
}

TEST_F(NullListTest, ANegativeCountReadsNoEvent) {
    testhost::EventListBuilder builder;
    builder.add(freshMidiEvent(0, 0x90, 60, 100)).overrideCount(-1);
    EXPECT_EQ(plugin().sendList(builder), 1);
    EXPECT_TRUE(plugin().receivedEvents().empty());
}

TEST_F(NullListTest, NullReferencesAndOtherEventKindsAreSkipped) {
    Event other{};
    other.type = 6;
    other.byteSize = 24;
    // Where a MIDI event keeps its status and note: a note-on of 64 if taken for MIDI.
    other.data[8] = 0x90;
    other.data[9] = 64;
    other.data[10] = 100;
    testhost::EventListBuilder builder;
    builder.addNull()
        .add(freshMidiEvent(0, 0x90, 60, 100))
        .addNull()
        .addEvent(other)
        .add(freshMidiEvent(5, 0x90, 62, 100))
        .addNull();
    EXPECT_EQ(plugin().sendList(builder), 1);
    const std::vector<MidiEventRecord> out = plugin().receivedEvents();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].data1, 60);
    EXPECT_EQ(out[1].data1, 62);
    EXPECT_EQ(out[1].deltaFrames, 5);
}

struct ProcessCase {
    const char* library;
    bool overwriting;
    bool nullArrays;
    std::int32_t frames;
};

class NullBufferTest : public ::testing::TestWithParam<ProcessCase> {};

TEST_P(NullBufferTest, ProcessingWithoutBuffersDoesNothing) {
    const ProcessCase& c = GetParam();
    LoadedPlugin loaded;
    ASSERT_TRUE(loaded.load(c.library));
    float left[4] = {0.25f, 0.25f, 0.25f, 0.25f};
    float right[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    float* channels[2] = {left, right};
    float** buffers = c.nullArrays ? nullptr : channels;
    if (c.overwriting) {
        loaded.instance.processOverwriting(buffers, buffers, c.frames);
    } else {
        loaded.instance.processAccumulating(buffers, buffers, c.frames);
    }
    // A MIDI plug-in has no audio: the buffers stay as they were.
    EXPECT_EQ(left[3], 0.25f);
    EXPECT_EQ(right[3], 0.5f);
    EXPECT_EQ(loaded.instance.dispatch(22), kIdentifyAnswer);
}

INSTANTIATE_TEST_SUITE_P(Entries, NullBufferTest,
                         ::testing::Values(ProcessCase{"tavrune", false, true, 64},
                                           ProcessCase{"tavrune", true, true, 64},
                                           ProcessCase{"tavrune", false, false, 0},
                                           ProcessCase{"tavrune", true, false, 0},
                                           ProcessCase{"tavrune", true, true, -1},
                                           ProcessCase{"probe", false, true, 64},
                                           ProcessCase{"probe", true, false, 4}));

} // namespace
} // namespace quorvel::integration

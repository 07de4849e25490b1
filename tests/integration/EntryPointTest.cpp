// The exported entry and the record it answers, read the way a host reads them.
#include "tests/integration/IdentityChecks.h"
#include "tests/integration/LoadedPlugin.h"
#include "tests/probe/ProbeActions.h"

#include <array>
#include <cstring>

namespace quorvel::integration {
namespace {

struct LibraryCase {
    const char* library;
    const char* entry;
    std::int32_t programCount;
    std::int32_t parameterCount;
    std::int32_t uniqueId;
};

class EntryRecordTest : public ::testing::TestWithParam<LibraryCase> {};

TEST_P(EntryRecordTest, EveryExportedNameAnswersAMidiInstrumentRecord) {
    const LibraryCase& c = GetParam();
    testhost::PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.open(pluginPath(c.library), error)) << error;
    const MainEntry entry = library.entry(c.entry);
    ASSERT_NE(entry, nullptr);
    testhost::PluginInstance plugin;
    ASSERT_TRUE(plugin.create(entry, error)) << error;

    // canOverwrite | canMono | synth, and no editor.
    expectRecord(plugin, {c.uniqueId, c.programCount, c.parameterCount, 0, 0, 16 | 8 | 256});
    const EffectRecord& record = *plugin.record();
    EXPECT_EQ(record.magic, 0x56737450);
    EXPECT_EQ(record.effectVersion, 1);
    EXPECT_EQ(record.ioRatio, 1.0f);
    EXPECT_NE(record.effectObject, nullptr);
    EXPECT_EQ(plugin.close(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, EntryRecordTest,
    ::testing::Values(LibraryCase{"tavrune", "VSTPluginMain", 1, 1, 0x517A3037},
                      LibraryCase{"tavrune", "main", 1, 1, 0x517A3037},
                      LibraryCase{"probe", "VSTPluginMain", 8, 2, fourCharacters("QzPb")},
                      LibraryCase{"probe", "main", 8, 2, fourCharacters("QzPb")}));

// Offsets a host compiled elsewhere reads the record at.
struct RecordOffsets {
    std::size_t magic, dispatch, programCount, effectFlags, ioRatio, effectObject, uniqueId,
        version, processOverwriting, futureProcess, size;
};
#if INTPTR_MAX == INT64_MAX
constexpr RecordOffsets kOffsets{0, 8, 40, 56, 92, 96, 112, 116, 120, 128, 192};
#else
constexpr RecordOffsets kOffsets{0, 4, 20, 36, 60, 64, 72, 76, 80, 84, 144};
#endif

template <class T> T readAt(const unsigned char* bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

class RecordLayoutTest : public TavruneTest {};

TEST_F(RecordLayoutTest, FieldsSitAtTheOffsetsHostsRead) {
    std::array<unsigned char, kOffsets.size> bytes{};
    std::memcpy(bytes.data(), plugin().record(), bytes.size());
    const unsigned char* raw = bytes.data();

    EXPECT_EQ(readAt<std::int32_t>(raw, kOffsets.magic), kEffectMagic);
    EXPECT_EQ(readAt<std::int32_t>(raw, kOffsets.programCount), 1);
    EXPECT_EQ(readAt<std::int32_t>(raw, kOffsets.effectFlags), 280);
    EXPECT_EQ(readAt<float>(raw, kOffsets.ioRatio), 1.0f);
    EXPECT_NE(readAt<void*>(raw, kOffsets.effectObject), nullptr);
    EXPECT_EQ(readAt<std::int32_t>(raw, kOffsets.uniqueId), 0x517A3037);
    EXPECT_EQ(readAt<std::int32_t>(raw, kOffsets.version), 1);
    EXPECT_EQ(readAt<void*>(raw, kOffsets.futureProcess), nullptr);
    for (std::size_t i = kOffsets.futureProcess + sizeof(void*); i < kOffsets.size; ++i)
        EXPECT_EQ(raw[i], 0) << "future byte " << i;

    // The entries found at their offsets are the ones that work.
    const auto dispatch = readAt<DispatchEntry>(raw, kOffsets.dispatch);
    ASSERT_NE(dispatch, nullptr);
    EXPECT_EQ(dispatch(plugin().record(), 22, 0, 0, nullptr, 0.0f), kIdentifyAnswer);
    const auto overwrite = readAt<ProcessEntry>(raw, kOffsets.processOverwriting);
    ASSERT_NE(overwrite, nullptr);
    overwrite(plugin().record(), nullptr, nullptr, 0);
}

class CreationTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(library.open(pluginPath("tavrune"), error)) << error;
    }
    testhost::PluginLibrary library;
};

TEST_F(CreationTest, TheVersionQueryComesFirstWithoutARecord) {
    testhost::PluginInstance plugin;
    std::string error;
    ASSERT_TRUE(plugin.create(library.mainEntry(), error)) << error;
    ASSERT_FALSE(plugin.host().calls().empty());
    EXPECT_EQ(plugin.host().calls().front().opcode, 1);
}

TEST_F(CreationTest, AHostAnsweringZeroToTheVersionQueryGetsNoEffect) {
    testhost::PluginInstance plugin;
    plugin.host().setAnswer(1, 0);
    std::string error;
    EXPECT_FALSE(plugin.create(library.mainEntry(), error));
    EXPECT_EQ(plugin.host().callsOf(1).size(), 1u);
    EXPECT_FALSE(plugin.isOpen());
}

TEST_F(CreationTest, EachCallOfTheEntryGivesAnIndependentEffect) {
    testhost::PluginInstance first;
    testhost::PluginInstance second;
    std::string error;
    ASSERT_TRUE(first.create(library.mainEntry(), error)) << error;
    ASSERT_TRUE(second.create(library.entry("main"), error)) << error;
    EXPECT_NE(first.record(), second.record());
    EXPECT_NE(first.record()->effectObject, second.record()->effectObject);

    first.setParameter(0, 0.75f);
    EXPECT_EQ(first.parameter(0), 0.75f);
    EXPECT_EQ(second.parameter(0), 0.5f);
    EXPECT_EQ(first.close(), 1);
    EXPECT_EQ(second.parameter(0), 0.5f);
    EXPECT_EQ(second.dispatch(22), kIdentifyAnswer);
}

TEST(LibraryLoadTest, TheLoadHookStoresTheModuleHandle) {
    LoadedPlugin loaded;
    ASSERT_TRUE(loaded.load("probe"));
    EXPECT_NE(loaded.instance.dispatch(50, probe::actionIndex(probe::ProbeAction::ModuleHandle), 0,
                                       nullptr, 0.0f),
              0);
}

TEST(LibraryLoadTest, AMissingLibraryGivesAReason) {
    testhost::PluginLibrary library;
    std::string error;
    EXPECT_FALSE(library.open(pluginPath("no-such-plugin"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(library.mainEntry(), nullptr);
}

} // namespace
} // namespace quorvel::integration

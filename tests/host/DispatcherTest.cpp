#include "tests/host/TestEffects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace quorvel::testing {
namespace {

class DispatcherTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (effect != nullptr) effect->destroy();
    }
    IntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0,
                    void* pointer = nullptr, float opt = 0.0f) {
        EffectRecord& record = effect->record();
        return record.dispatchEntry(&record, opcode, index, value, pointer, opt);
    }

    PlainEffect* effect = new PlainEffect(testhost::recordingHostCallback);
};

TEST_F(DispatcherTest, RecordStartsWithTheLayerDefaults) {
    const EffectRecord& record = effect->record();
    EXPECT_EQ(record.magic, 0x56737450);
    EXPECT_EQ(record.programCount, 4);
    EXPECT_EQ(record.parameterCount, 2);
    EXPECT_EQ(record.inputCount, 1);
    EXPECT_EQ(record.outputCount, 2);
    EXPECT_EQ(record.effectFlags, 0);
    EXPECT_EQ(record.ioRatio, 1.0f);
    EXPECT_EQ(record.uniqueId, fourCharacters("NoEf"));
    EXPECT_EQ(record.effectVersion, 1);
    EXPECT_EQ(record.effectObject, effect);
    EXPECT_EQ(record.userData, nullptr);
    for (std::uint8_t byte : record.future)
        EXPECT_EQ(byte, 0);
}

TEST_F(DispatcherTest, FlagOperationsRaiseAndClearOnlyTheirBit) {
    effect->markSynth(true);
    effect->markCanMono(true);
    effect->markHasMeter(true);
    effect->markHasMeter(false);
    effect->markNoTail(true);
    effect->markStateIsBlock(true);
    effect->markStateIsBlock(false);
    EXPECT_EQ(effect->record().effectFlags, flags::kSynth | flags::kCanMono | flags::kNoTail);
    EXPECT_EQ(dispatch(35), 2) << "an instrument's default category";
}

TEST_F(DispatcherTest, FixedAnswers) {
    const struct {
        std::int32_t opcode;
        std::int32_t index;
        IntPtr value;
        IntPtr answer;
    } cases[] = {
        {22, 7, -9, 0x4E764566}, {31, 0, 1, 1},       {32, 3, 0, 1}, {43, 0, 512, 1},
        {57, 0, 0, 1},           {58, 0, 0, 2300},    {26, 5, 0, 1}, {28, 0, 0, 1},
        {63, 0, 0, 0},           {73, 0, 4321, 4321}, {77, 0, 0, 0}, {1000, 0, 0, 0},
        {-1, 0, 0, 0},           {16, 0, 0, 0},       {20, 0, 0, 0}, {36, 0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dispatch(c.opcode, c.index, c.value), c.answer) << "opcode " << c.opcode;
}

TEST_F(DispatcherTest, MeterLevelIsTruncatedSafely) {
    const struct {
        float level;
        IntPtr answer;
    } cases[] = {{0.5f, 16383},
                 {1.0f, 32767},
                 {-0.5f, -16383},
                 {0.0f, 0},
                 {std::numeric_limits<float>::quiet_NaN(), 0},
                 {std::numeric_limits<float>::infinity(), INT32_MAX},
                 {-1e30f, INT32_MIN}};
    for (const auto& c : cases) {
        effect->meter = c.level;
        EXPECT_EQ(dispatch(9), c.answer) << c.level;
    }
}

TEST_F(DispatcherTest, ProgramSelectionStaysInsideTheProgramCount) {
    dispatch(2, 0, 4);
    dispatch(2, 0, -1);
    dispatch(2, 0, IntPtr{1} << 40);
    EXPECT_EQ(dispatch(3), 0);
    dispatch(2, 0, 3);
    EXPECT_EQ(dispatch(3), 3);
}

TEST_F(DispatcherTest, ProcessSwitchAndRatesReachTheirOperations) {
    dispatch(12, 0, 1);
    dispatch(12, 0, 0);
    dispatch(12, 0, -7);
    EXPECT_EQ(effect->log, (std::vector<std::string>{"resume", "suspend", "resume"}));
    dispatch(10, 0, 0, nullptr, 48000.0f);
    dispatch(11, 0, 256);
    EXPECT_EQ(effect->currentSampleRate(), 48000.0f);
    EXPECT_EQ(effect->currentBlockSize(), 256);
    dispatch(43, 0, 128, nullptr, 96000.0f);
    EXPECT_EQ(effect->currentSampleRate(), 96000.0f);
    EXPECT_EQ(effect->currentBlockSize(), 128);
}

TEST_F(DispatcherTest, NullPointersAreNeverFollowed) {
    // Every opcode that reads or writes through its pointer, given none.
    const std::int32_t opcodes[] = {4,  5,  6,  7,  8,  13, 14, 23, 24, 27, 29, 33, 34, 38, 39, 40,
                                    41, 42, 45, 46, 47, 48, 51, 56, 62, 63, 64, 66, 69, 70, 75, 76};
    for (std::int32_t opcode : opcodes)
        EXPECT_EQ(dispatch(opcode), 0) << "opcode " << opcode;
    EXPECT_EQ(dispatch(25), 1) << "no list is an empty list";
    EXPECT_TRUE(effect->log.empty());
}

TEST_F(DispatcherTest, EditorOpcodesWithoutAnEditorTouchNothing) {
    EditorSize* place = reinterpret_cast<EditorSize*>(0x1234);
    for (std::int32_t opcode : {13, 14, 15, 19, 59, 60, 61})
        EXPECT_EQ(dispatch(opcode, 65, 13, &place, 1.0f), 0) << "opcode " << opcode;
    EXPECT_EQ(place, reinterpret_cast<EditorSize*>(0x1234));
}

TEST_F(DispatcherTest, EditorOpcodesReachTheEditor) {
    FakeEditor* editor = effect->giveEditor();
    EXPECT_EQ(effect->record().effectFlags & flags::kHasEditor, flags::kHasEditor);
    EditorSize* place = nullptr;
    int parent = 0;
    EXPECT_EQ(dispatch(13, 0, 0, &place), 1);
    EXPECT_EQ(place, &editor->size);
    EXPECT_EQ(dispatch(14, 0, 0, &parent), 1);
    dispatch(19);
    dispatch(15);
    EXPECT_EQ(dispatch(61, 0, 2), 1);
    EXPECT_EQ(editor->log,
              (std::vector<std::string>{"getSize", "open", "idle", "close", "setDragMode 2"}));
}

TEST_F(DispatcherTest, KeyRecordTakesLowBytesOfKeyAndModifiers) {
    FakeEditor* editor = effect->giveEditor();
    const struct {
        std::int32_t opcode;
        std::int32_t character;
        IntPtr value;
        float opt;
        std::uint8_t virtualKey;
        std::uint8_t modifiers;
    } cases[] = {
        {59, 'a', 0x0134, 5.9f, 0x34, 5},
        {60, 0, 0x02, 257.0f, 0x02, 1},
        {59, -1, -1, std::numeric_limits<float>::quiet_NaN(), 0xFF, 0},
        {60, 'z', 7, 1e20f, 7, 0xFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dispatch(c.opcode, c.character, c.value, nullptr, c.opt), 1);
        EXPECT_EQ(editor->lastKey.character, c.character);
        EXPECT_EQ(editor->lastKey.virtualKey, c.virtualKey);
        EXPECT_EQ(editor->lastKey.modifiers, c.modifiers);
    }
    EXPECT_EQ(editor->log.back(), "keyUp");
}

TEST_F(DispatcherTest, ClosingDestroysTheEffectAndItsEditor) {
    effect->giveEditor();
    EffectRecord& record = effect->record();
    EXPECT_EQ(record.dispatchEntry(&record, 1, 0, 0, nullptr, 0.0f), 1);
    effect = nullptr; // destroyed by the entry; LeakSanitizer would report the editor
}

TEST_F(DispatcherTest, EntriesCheckTheirRecordAndBuffers) {
    EffectRecord& record = effect->record();
    EXPECT_EQ(record.dispatchEntry(nullptr, 22, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(record.getParameterEntry(nullptr, 0), 0.0f);
    record.setParameterEntry(nullptr, 0, 0.5f);
    record.processAccumulatingEntry(nullptr, nullptr, nullptr, 64);

    float left[4] = {}, right[4] = {}, input[4] = {};
    float* outputs[] = {left, right};
    float* inputs[] = {input};
    float* missingChannel[] = {left, nullptr};
    record.processAccumulatingEntry(&record, inputs, nullptr, 4);
    record.processAccumulatingEntry(&record, nullptr, outputs, 4);
    record.processOverwritingEntry(&record, inputs, missingChannel, 4);
    record.processOverwritingEntry(&record, inputs, outputs, -1);
    EXPECT_TRUE(effect->log.empty());
    record.processAccumulatingEntry(&record, inputs, outputs, 4);
    record.processOverwritingEntry(&record, inputs, outputs, 0);
    EXPECT_EQ(effect->log, (std::vector<std::string>{"accumulate 4", "overwrite 0"}));
}

TEST_F(DispatcherTest, SetParameterIsBroughtIntoRange) {
    EffectRecord& record = effect->record();
    const float inf = std::numeric_limits<float>::infinity();
    for (float value : {0.25f, 1.5f, -3.0f, inf, -inf, std::numeric_limits<float>::quiet_NaN()})
        record.setParameterEntry(&record, 1, value);
    EXPECT_EQ(effect->log,
              (std::vector<std::string>{"apply 1 0.250000", "apply 1 1.000000", "apply 1 0.000000",
                                        "apply 1 1.000000", "apply 1 0.000000"}));
}

TEST_F(DispatcherTest, SpeakerArrangementQueryEmptiesBothPlaces) {
    SpeakerArrangement dummy{};
    SpeakerArrangement* input = &dummy;
    SpeakerArrangement* output = &dummy;
    EXPECT_EQ(dispatch(69, 0, reinterpret_cast<IntPtr>(&input), &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST_F(DispatcherTest, DefaultTextOperationsWriteEmptyTexts) {
    for (std::int32_t opcode : {4, 5, 6, 7, 8}) {
        char text[8] = "xxxxxxx";
        EXPECT_EQ(dispatch(opcode, 0, 0, text), 0);
        EXPECT_STREQ(text, "") << "opcode " << opcode;
    }
    char text[8] = "xxxxxxx";
    EXPECT_EQ(dispatch(45, 0, 0, text), 1);
    EXPECT_STREQ(text, "P");
    EXPECT_EQ(dispatch(47, 0, 0, text), 0);
    EXPECT_EQ(dispatch(51, 0, 0, text), 0) << "undecided by default";
}

} // namespace
} // namespace quorvel::testing

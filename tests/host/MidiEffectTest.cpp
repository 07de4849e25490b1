#include "host/MidiEffect.h"

#include "tests/host/TestEffects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace quorvel::testing {
namespace {

constexpr ParameterInfo kParameters[] = {{"Depth", "%", 0.25f}, {"Rate", "Hz", 0.75f}};

class SkeletonEffect : public MidiEffect {
public:
    explicit SkeletonEffect(HostCallback host, std::int32_t programs = 6)
        : MidiEffect(host, {programs, 2, kParameters, "Skeleton", "Quorvel Skeleton", "Quorvel",
                            fourCharacters("Qz99"), 120, false, false, nullptr}) {
        applyInitialProgram();
    }
    void handleMidiEvent(const MidiEventRecord&) override {}
    FakeEditor* giveEditor() {
        auto* created = new FakeEditor;
        attachEditor(created);
        return created;
    }
    std::vector<std::string> applied;

protected:
    void valueToText(std::int32_t, float value, char* text) override { numberText(value, text); }
    void parameterApplied(std::int32_t index, float value) override {
        applied.push_back(std::to_string(index) + "=" + std::to_string(value));
    }
};

std::string programName(EffectBase& effect) {
    char text[kNameCapacity + 8];
    std::memset(text, '#', sizeof text);
    effect.programName(text);
    return text;
}

TEST(MidiEffectTest, ConstructionConfiguresAnEventOnlyInstrument) {
    SkeletonEffect effect(nullptr);
    const EffectRecord& record = effect.record();
    EXPECT_EQ(record.inputCount, 0);
    EXPECT_EQ(record.outputCount, 0);
    EXPECT_EQ(record.effectFlags, flags::kCanMono | flags::kCanOverwrite | flags::kSynth);
    EXPECT_EQ(record.uniqueId, fourCharacters("Qz99"));
    EXPECT_EQ(effect.plugCategory(), 1) << "even though the instrument flag is raised";
    EXPECT_EQ(effect.tailSize(), 1);
    EXPECT_EQ(effect.vendorVersion(), 120);
    EXPECT_EQ(effect.meterLevel(), 0.0f);
    EXPECT_EQ(effect.parameterValue(0), 0.25f);
    EXPECT_EQ(effect.parameterValue(1), 0.75f);
    EXPECT_EQ(effect.parameterValue(2), 0.0f);
    EXPECT_EQ(effect.parameterValue(-1), 0.0f);
    EXPECT_EQ(effect.applied,
              (std::vector<std::string>{"0=0.250000", "1=0.750000", "0=0.250000", "1=0.750000"}))
        << "program 0 selected, then the defaults applied";
    char text[kNameCapacity];
    EXPECT_TRUE(effect.productText(text));
    EXPECT_STREQ(text, "Quorvel Skeleton");
    EXPECT_TRUE(effect.vendorText(text));
    EXPECT_STREQ(text, "Quorvel");
    EXPECT_FALSE(effect.outputProperties(0, nullptr)) << "not a plug-in that answers them";
}

TEST(MidiEffectTest, FeatureAnswersAreExactAndCaseSensitive) {
    SkeletonEffect effect(nullptr);
    const struct {
        const char* feature;
        std::int32_t answer;
    } cases[] = {{"sendVstEvents", 1},
                 {"sendVstMidiEvent", 1},
                 {"receiveVstEvents", 1},
                 {"receiveVstMidiEvent", 1},
                 {"ReceiveVstMidiEvent", -1},
                 {"bypass", -1},
                 {"receiveVstTimeInfo", -1},
                 {"receiveVstMidiEvents", -1},
                 {"", -1},
                 {"2in2out", -1},
                 {"midiProgramNames", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(effect.supportsFeature(c.feature), c.answer) << c.feature;
}

TEST(MidiEffectTest, ProgramsAreNamedAndNumbered) {
    SkeletonEffect effect(nullptr);
    EXPECT_EQ(programName(effect), "Skeleton");
    char init[] = "Init";
    effect.renameProgram(init);
    EXPECT_EQ(programName(effect), "Init 1");
    effect.selectProgram(4);
    EXPECT_EQ(programName(effect), "Init 5");
    char longName[] = "abcdefghijklmnopqrstuvwxyz1234";
    effect.renameProgram(longName);
    EXPECT_EQ(programName(effect), "abcdefghijklmnopqrstuvw");
}

TEST(MidiEffectTest, SelectingAProgramAppliesItsStoredValues) {
    SkeletonEffect effect(nullptr);
    effect.applyParameter(1, 0.5f);
    effect.selectProgram(2);
    EXPECT_EQ(effect.parameterValue(1), 0.75f);
    effect.selectProgram(0);
    EXPECT_EQ(effect.parameterValue(1), 0.5f);
    effect.selectProgram(6);
    EXPECT_EQ(effect.currentProgram(), 0) << "outside the store";
}

TEST(MidiEffectTest, CopyingAProgramCopiesValuesAndName) {
    SkeletonEffect effect(nullptr);
    effect.applyParameter(0, 0.125f);
    EXPECT_FALSE(effect.copyProgramTo(6));
    EXPECT_FALSE(effect.copyProgramTo(-1));
    EXPECT_TRUE(effect.copyProgramTo(0));
    EXPECT_EQ(programName(effect), "Skeleton");
    EXPECT_TRUE(effect.copyProgramTo(3));
    effect.selectProgram(3);
    EXPECT_EQ(programName(effect), "Skeleton");
    EXPECT_EQ(effect.parameterValue(0), 0.125f);
}

TEST(MidiEffectTest, ParameterTextsLeaveOtherIndicesUntouched) {
    SkeletonEffect effect(nullptr);
    char text[16];
    effect.parameterTitle(1, text);
    EXPECT_STREQ(text, "Rate");
    effect.parameterUnit(0, text);
    EXPECT_STREQ(text, "%");
    effect.parameterText(0, text);
    EXPECT_STREQ(text, "0.250000");
    for (std::int32_t index : {-1, 2, 1000}) {
        std::strcpy(text, "untouched");
        effect.parameterTitle(index, text);
        effect.parameterUnit(index, text);
        effect.parameterText(index, text);
        EXPECT_STREQ(text, "untouched");
    }
}

TEST(MidiEffectTest, ParameterChangesMoveTheEditor) {
    SkeletonEffect effect(nullptr);
    FakeEditor* editor = effect.giveEditor();
    effect.applyParameter(1, 0.5f);
    EXPECT_EQ(editor->log, (std::vector<std::string>{"refresh", "changed 1 0.500000"}));
}

TEST(MidiEffectTest, ResumeAsksForEvents) {
    testhost::HostRecorder host;
    SkeletonEffect effect(testhost::recordingHostCallback);
    RecorderBinding binding(effect.record(), host);
    effect.onResume();
    ASSERT_EQ(host.calls().size(), 1u);
    EXPECT_EQ(host.calls()[0].opcode, 6);
    EXPECT_EQ(host.calls()[0].value, 1);
}

TEST(MidiEffectTest, ParametersBeyondTheWorkingValuesAreNotConfigured) {
    ParameterInfo many[20];
    for (auto& info : many)
        info = {"P", "", 0.5f};
    class WideEffect : public MidiEffect {
    public:
        explicit WideEffect(const ParameterInfo* parameters)
            : MidiEffect(nullptr, {1, 20, parameters, "Wide", "Wide", "Quorvel", 0, 1, false, false,
                                   nullptr}) {
            applyInitialProgram();
        }
        void handleMidiEvent(const MidiEventRecord&) override {}

    protected:
        void valueToText(std::int32_t, float, char* text) override { text[0] = '\0'; }
    } effect(many);
    EXPECT_EQ(effect.record().parameterCount, MidiEffect::kMaxParameters);
    effect.applyParameter(18, 0.25f);
    EXPECT_EQ(effect.parameterValue(18), 0.0f);
    EXPECT_EQ(effect.parameterValue(15), 0.5f);
}

TEST(MidiEffectTest, WithoutAProgramStoreProgramOperationsDoNothing) {
    // More programs than a store can hold: the plug-in runs as if its allocation failed.
    SkeletonEffect effect(nullptr, INT32_MAX);
    EXPECT_EQ(programName(effect), "");
    char name[] = "Lead";
    effect.renameProgram(name);
    EXPECT_EQ(programName(effect), "");
    EXPECT_FALSE(effect.copyProgramTo(1));
    effect.selectProgram(1);
    EXPECT_EQ(effect.currentProgram(), 0);
    EXPECT_EQ(effect.parameterValue(1), 0.75f) << "the working values keep their defaults";
    effect.applyParameter(1, 0.5f);
    EXPECT_EQ(effect.parameterValue(1), 0.5f);
}

} // namespace
} // namespace quorvel::testing

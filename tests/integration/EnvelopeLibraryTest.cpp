// Sorvane as a host drives it: stereo audio multiplied by a note-triggered envelope, checked
// sample by sample against the envelope's arithmetic stepped here on 32-bit floats.
#include "tests/integration/EnvelopeHelpers.h"
#include "tests/integration/EventHelpers.h"
#include "tests/integration/IdentityChecks.h"
#include "tests/integration/LoadedPlugin.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace quorvel::integration {
namespace {

constexpr float kTolerance = 1e-6f;

// The envelope hears only a note-on's velocity, so its tests give that first: middle C at full
// velocity unless they say otherwise.
MidiEventRecord keyDown(int velocity = 127, int note = 60, std::int32_t delta = 0) {
    return noteOn(note, 0, velocity, delta);
}

enum class Entry { Overwriting, Accumulating };

// What the output buffers hold before an accumulating call, so the sum shows.
constexpr float kPrefill = 0.25f;

struct Block {
    std::vector<float> left;
    std::vector<float> right;
};

// The left input is 1.0 throughout, so the left output is the gain itself; the right input
// varies so that a mix-up of channels or frames shows.
float rightInput(std::size_t frame) {
    return 0.25f * static_cast<float>(frame % 5) - 0.5f;
}

class EnvelopeLibraryTest : public PluginTest {
protected:
    EnvelopeLibraryTest() : PluginTest("sorvane") {}
    void SetUp() override {
        PluginTest::SetUp();
        if (!HasFatalFailure()) resumeAt(44100.0f);
    }

    void resumeAt(float rate) {
        plugin().dispatch(10, 0, 0, nullptr, rate);
        plugin().dispatch(12, 0, 1);
        model.resume(rate);
    }
    void set(std::int32_t index, float value) {
        plugin().setParameter(index, value);
        model.apply(index, value);
    }
    void send(const std::vector<MidiEventRecord>& events) {
        EXPECT_EQ(plugin().sendMidi(events), 1);
        for (const MidiEventRecord& event : events)
            model.receive(event);
    }

    // One block through the plug-in, in separate buffers or in place.
    Block process(std::int32_t frames, Entry entry, bool inPlace = false) {
        const std::size_t count = static_cast<std::size_t>(std::max(frames, 0));
        Block in{std::vector<float>(count, 1.0f), std::vector<float>(count)};
        for (std::size_t i = 0; i < count; ++i)
            in.right[i] = rightInput(i);
        Block out{std::vector<float>(count, kPrefill), std::vector<float>(count, kPrefill)};
        Block& written = inPlace ? in : out;
        std::array<float*, 2> inputs{in.left.data(), in.right.data()};
        std::array<float*, 2> outputs{written.left.data(), written.right.data()};
        if (entry == Entry::Accumulating)
            plugin().processAccumulating(inputs.data(), outputs.data(), frames);
        else
            plugin().processOverwriting(inputs.data(), outputs.data(), frames);
        return written;
    }

    // Processes a block and compares every sample with the model; answers the block.
    Block run(std::int32_t frames, Entry entry = Entry::Overwriting, bool inPlace = false) {
        const Block out = process(frames, entry, inPlace);
        int mismatches = 0;
        for (std::size_t i = 0; i < out.left.size(); ++i) {
            auto [left, right] = model.step(1.0f, rightInput(i));
            // In place there is no earlier output to add to: the input is the buffer.
            if (entry == Entry::Accumulating) {
                left += inPlace ? 1.0f : kPrefill;
                right += inPlace ? rightInput(i) : kPrefill;
            }
            const bool same = std::fabs(out.left[i] - left) <= kTolerance &&
                              std::fabs(out.right[i] - right) <= kTolerance;
            if (!same && ++mismatches <= 3)
                ADD_FAILURE() << "frame " << i << ": got (" << out.left[i] << ", " << out.right[i]
                              << "), expected (" << left << ", " << right << ")";
        }
        EXPECT_EQ(mismatches, 0);
        return out;
    }

    EnvelopeModel model;
};

TEST_F(EnvelopeLibraryTest, IdentifiesItselfAsAStereoEffect) {
    // The editor bit depends on whether an editor is built in; everything else is fixed.
    expectRecord(plugin(),
                 {fourCharacters("Qz04"), 1, 5, 2, 2, flags::kCanOverwrite | flags::kCanMono},
                 flags::kHasEditor);
    expectIdentityAnswers(plugin(), {"Sorvane", "Quorvel", "Sorvane", 100, 1, 0});
    expectFeatureAnswers(plugin(), {"receiveVstEvents", "receiveVstMidiEvent"});
    EXPECT_EQ(plugin().dispatch(9), 0);
    EXPECT_EQ(plugin().readText(29, 0, 0).result, 0);
}

TEST_F(EnvelopeLibraryTest, PinsAreLabelledAsOneStereoPair) {
    struct PinCase {
        std::int32_t opcode;
        std::int32_t index;
        const char* label; // nullptr: no such pin
    };
    const std::array<PinCase, 6> cases{{{33, 0, "ADSR Left Input"},
                                        {33, 1, "ADSR Right Input"},
                                        {34, 0, "ADSR Left Output"},
                                        {34, 1, "ADSR Right Output"},
                                        {33, 2, nullptr},
                                        {34, -1, nullptr}}};
    for (const PinCase& c : cases) {
        PinProperties pin;
        std::memset(&pin, 0x5A, sizeof pin);
        const IntPtr answer = plugin().dispatch(c.opcode, c.index, 0, &pin);
        if (c.label == nullptr) {
            EXPECT_EQ(answer, 0) << "opcode " << c.opcode << " pin " << c.index;
            const auto* bytes = reinterpret_cast<const unsigned char*>(&pin);
            EXPECT_TRUE(
                std::all_of(bytes, bytes + sizeof pin, [](unsigned char b) { return b == 0x5A; }))
                << "opcode " << c.opcode << " pin " << c.index;
            continue;
        }
        EXPECT_EQ(answer, 1) << c.label;
        EXPECT_EQ(std::string(pin.label, std::find(pin.label, std::end(pin.label), '\0')), c.label);
        EXPECT_EQ(pin.flags, 3) << c.label;
    }
}

TEST_F(EnvelopeLibraryTest, ParametersShowTitlesUnitsAndDefaults) {
    expectLabels(plugin(), {{" Attack ", " "},
                            {" Decay  ", " "},
                            {" Sustain", "   dB   "},
                            {" Release", " "},
                            {"S. Time ", "seconds "}});
    for (std::int32_t index = 0; index < 5; ++index)
        EXPECT_EQ(plugin().parameter(index), kDefaults[static_cast<std::size_t>(index)])
            << "index " << index;
}

TEST_F(EnvelopeLibraryTest, ParametersShowTheirValuesAsText) {
    expectDisplays(plugin(), {{kAttack, 1.0f, "1.000000"},
                              {kAttack, 0.25f, "0.250000"},
                              {kDecay, 0.0f, "0.000000"},
                              {kDecay, 0.7f, "0.699999"},
                              {kSustain, 0.5f, "-6.02059"},
                              {kSustain, 1.0f, "0.000000"},
                              {kSustain, 0.0f, "-oo"},
                              {kRelease, 0.125f, "0.125000"},
                              // The segment scale in seconds, 9 x value + 1.
                              {kSegmentTime, kDefaultSegmentTime, "5.000000"},
                              {kSegmentTime, 0.0f, "1.000000"},
                              {kSegmentTime, 0.5f, "5.500000"},
                              {kSegmentTime, 1.0f, "10.00000"},
                              {kSegmentTime, 0.25f, "3.250000"}});
}

TEST_F(EnvelopeLibraryTest, ItsOneProgramIsNamedAndCopiesOnlyOntoItself) {
    EXPECT_EQ(plugin().readText(5).text, "The Only Preset");
    plugin().setParameter(kAttack, 0.3f);
    EXPECT_EQ(plugin().dispatch(30, 1), 0);
    EXPECT_EQ(plugin().dispatch(30, -1), 0);
    EXPECT_EQ(plugin().dispatch(30, 0), 1);
    std::string init = "Init";
    plugin().dispatch(4, 0, 0, init.data());
    EXPECT_EQ(plugin().readText(5).text, "Init 1");
    // Selecting the program, by the host or by MIDI, applies the values it keeps.
    plugin().dispatch(2, 0, 0);
    plugin().sendMidi({freshMidiEvent(0, 0xC3, 0, 0), freshMidiEvent(0, 0xC0, 5, 0)});
    EXPECT_EQ(plugin().parameter(kAttack), 0.3f);
    EXPECT_EQ(plugin().dispatch(3), 0);
}

TEST_F(EnvelopeLibraryTest, ResumingAsksTheHostForEventsAndNoEventIsSent) {
    expectResumingRequestsEvents(plugin());
    send({keyDown(), controlChange(7, 100), freshMidiEvent(0, 0xE0, 0, 64), noteOff(60)});
    run(64);
    EXPECT_TRUE(host().callsOf(8).empty());
}

TEST_F(EnvelopeLibraryTest, SilentUntilTheFirstNoteOn) {
    send({noteOff(60), controlChange(18, 127), freshMidiEvent(0, 0xE0, 0, 64)});
    for (const Entry entry : {Entry::Accumulating, Entry::Overwriting}) {
        const Block out = process(256, entry);
        const float kept = entry == Entry::Accumulating ? kPrefill : 0.0f;
        EXPECT_TRUE(std::all_of(out.left.begin(), out.left.end(),
                                [&](float sample) { return sample == kept; }));
        EXPECT_TRUE(std::all_of(out.right.begin(), out.right.end(),
                                [&](float sample) { return sample == kept; }));
    }
}

TEST_F(EnvelopeLibraryTest, ACallOfNoFramesTouchesNothing) {
    set(kAttack, 0.0f);
    send({keyDown()});
    std::array<float, 8> left{}, right{};
    left.fill(kPrefill);
    right.fill(kPrefill);
    std::array<float*, 2> channels{left.data(), right.data()};
    for (const std::int32_t frames : {0, -5}) {
        plugin().processAccumulating(channels.data(), channels.data(), frames);
        plugin().processOverwriting(channels.data(), channels.data(), frames);
    }
    EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](float s) { return s == kPrefill; }));
    EXPECT_TRUE(std::all_of(right.begin(), right.end(), [](float s) { return s == kPrefill; }));
    // The envelope has not moved either: the attack starts with the next block.
    const Block out = run(8);
    EXPECT_EQ(out.left[0], 0.0f);
    EXPECT_EQ(out.left[5], 1.0f);
}

TEST_F(EnvelopeLibraryTest, AnAttackOfZeroReachesFullLevelOnTheFifthSample) {
    set(kAttack, 0.0f);
    // The note-on's frame offset is not used: the attack starts at the block's first frame.
    send({keyDown(127, 60, 30)});
    const Block out = run(12);
    EXPECT_EQ(out.left[0], 0.0f);
    EXPECT_NEAR(out.left[1], 0.22675737f, 1e-7f);
    EXPECT_LT(out.left[4], 1.0f);
    EXPECT_EQ(out.left[5], 1.0f);
}

TEST_F(EnvelopeLibraryTest, SustainAtOneHoldsFullLevelAndAtZeroFallsSilent) {
    set(kAttack, 0.0f);
    set(kDecay, 0.0f);
    set(kSustain, 1.0f);
    send({keyDown()});
    Block out = run(64);
    EXPECT_TRUE(
        std::all_of(out.left.begin() + 5, out.left.end(), [](float s) { return s == 1.0f; }));

    // Once the old level has faded (10 ms) and the decay has ended, the note is silent.
    set(kSustain, 0.0f);
    send({keyDown()});
    out = run(600);
    EXPECT_TRUE(
        std::all_of(out.left.begin() + 445, out.left.end(), [](float s) { return s == 0.0f; }));
    // The note is still held; its release changes nothing audible.
    send({noteOff(60)});
    out = run(64);
    EXPECT_TRUE(std::all_of(out.left.begin(), out.left.end(), [](float s) { return s == 0.0f; }));
}

TEST_F(EnvelopeLibraryTest, ARetriggerFadesTheOldLevelOutOverTenMilliseconds) {
    set(kAttack, 0.0f);
    set(kDecay, 0.0f);
    send({keyDown()});
    run(64);
    send({keyDown(127, 64)});
    const Block out = run(600);
    // The old level 0.5 sounds on while the new attack rises, so the sum exceeds 1.
    EXPECT_EQ(out.left[0], 0.5f);
    EXPECT_GT(*std::max_element(out.left.begin(), out.left.end()), 1.4f);
    // 10 ms at 44100 Hz is 441 frames; after them only the sustain level is left.
    EXPECT_GT(out.left[430], 0.5f);
    EXPECT_TRUE(
        std::all_of(out.left.begin() + 445, out.left.end(), [](float s) { return s == 0.5f; }));
}

TEST_F(EnvelopeLibraryTest, ReleaseFallsFromTheLevelReached) {
    set(kAttack, 0.01f);   // 0.05 s: 2205 frames
    set(kRelease, 0.002f); // 0.01 s: 441 frames
    send({keyDown()});
    run(1000);
    send({noteOff(60)});
    const Block out = run(600);
    const float reached = out.left[0];
    EXPECT_NEAR(reached, 1000.0f / 2205.0f, 1e-3f);
    EXPECT_NEAR(out.left[220], reached / 2.0f, 1e-3f);
    EXPECT_TRUE(
        std::all_of(out.left.begin() + 445, out.left.end(), [](float s) { return s == 0.0f; }));
}

TEST_F(EnvelopeLibraryTest, NoteOnVelocityScalesTheOutput) {
    const std::array<std::pair<std::uint8_t, float>, 3> cases{
        {{64, 64.0f / 127.0f}, {1, 1.0f / 127.0f}, {127, 1.0f}}};
    set(kAttack, 0.0f);
    set(kSustain, 1.0f);
    set(kRelease, 0.0f);
    for (const auto& [velocity, gain] : cases) {
        send({keyDown(velocity)});
        const Block out = run(32);
        EXPECT_NEAR(out.left[20], gain, kTolerance) << "velocity " << int{velocity};
        EXPECT_NEAR(out.right[20], gain * rightInput(20), kTolerance) << int{velocity};
        // Silent again before the next note, so no old level fades into it.
        send({noteOff(60)});
        EXPECT_EQ(run(16).left.back(), 0.0f);
    }
}

TEST_F(EnvelopeLibraryTest, ANoteOnOfVelocityZeroReleasesAndOneAbove127IsIgnored) {
    set(kAttack, 0.0f);
    set(kSustain, 1.0f);
    set(kRelease, 0.002f);
    send({keyDown()});
    run(32);
    // No retrigger: the level stays at 1.0.
    send({keyDown(0x80), keyDown(0xFF)});
    Block out = run(32);
    EXPECT_TRUE(std::all_of(out.left.begin(), out.left.end(), [](float s) { return s == 1.0f; }));
    send({keyDown(0)});
    out = run(600);
    EXPECT_EQ(out.left.back(), 0.0f);
}

struct ControllerCase {
    std::uint8_t controller;
    std::uint8_t value;
    std::int32_t parameter; // -1: none changes
    float expected;
};

TEST_F(EnvelopeLibraryTest, ControllersSixteenToTwentySetTheParameters) {
    const std::array<ControllerCase, 8> cases{{{16, 0, kAttack, 0.0f},
                                               {17, 64, kDecay, 64.0f / 127.0f},
                                               {18, 127, kSustain, 1.0f},
                                               {19, 1, kRelease, 1.0f / 127.0f},
                                               {20, 127, kSegmentTime, 1.0f},
                                               {21, 0, -1, 0.0f},
                                               {15, 0, -1, 0.0f},
                                               {7, 0, -1, 0.0f}}};
    for (const ControllerCase& c : cases) {
        const std::array<float, 5> before{plugin().parameter(0), plugin().parameter(1),
                                          plugin().parameter(2), plugin().parameter(3),
                                          plugin().parameter(4)};
        // Every channel acts alike.
        send({controlChange(c.controller, c.value, c.controller % 16)});
        for (std::int32_t index = 0; index < 5; ++index) {
            const float want =
                index == c.parameter ? c.expected : before[static_cast<std::size_t>(index)];
            EXPECT_FLOAT_EQ(plugin().parameter(index), want)
                << "controller " << int{c.controller} << " parameter " << index;
        }
    }
    // The attack of 0 and sustain of 1.0 set above shape the next note.
    send({keyDown()});
    const Block out = run(16);
    EXPECT_EQ(out.left[5], 1.0f);
    EXPECT_EQ(out.left[15], 1.0f);
}

struct RateCase {
    float hostRate;
    std::size_t firstFullFrame; // of an attack lasting 1.1 ms at the working rate
};

class EnvelopeRateTest : public EnvelopeLibraryTest,
                         public ::testing::WithParamInterface<RateCase> {};

TEST_P(EnvelopeRateTest, RatesOf11025AndBelowRunAs44100) {
    resumeAt(GetParam().hostRate);
    set(kAttack, 0.00022f);
    send({keyDown()});
    const Block out = run(200);
    const auto full = std::find(out.left.begin(), out.left.end(), 1.0f);
    EXPECT_EQ(static_cast<std::size_t>(full - out.left.begin()), GetParam().firstFullFrame);
}

INSTANTIATE_TEST_SUITE_P(Rates, EnvelopeRateTest,
                         ::testing::Values(RateCase{44100.0f, 49}, RateCase{22050.0f, 25},
                                           RateCase{96000.0f, 106}, RateCase{11026.0f, 13},
                                           RateCase{11025.0f, 49}, RateCase{8000.0f, 49},
                                           RateCase{0.0f, 49}));

TEST_F(EnvelopeLibraryTest, ResumeKeepsTheStepsButTheDeclickUsesTheNewRate) {
    set(kAttack, 0.00022f);
    send({keyDown()});
    run(100);
    resumeAt(22050.0f);
    send({keyDown()});
    const Block out = run(300);
    // The attack still lasts 48.51 frames; the old level fades in 220.5 frames, not 441.
    EXPECT_GE(out.left[49], 1.0f);
    EXPECT_LT(out.left[48], out.left[49]);
    EXPECT_LT(out.left[230], 1.0f);
}

TEST_F(EnvelopeLibraryTest, AccumulatingAddsAndOverwritingReplaces) {
    set(kAttack, 0.001f);
    send({keyDown(100)});
    for (int block = 0; block < 4; ++block)
        run(64, block % 2 == 0 ? Entry::Accumulating : Entry::Overwriting);
}

TEST_F(EnvelopeLibraryTest, InputAndOutputMayBeTheSameBuffers) {
    set(kAttack, 0.001f);
    send({keyDown(90)});
    run(64, Entry::Overwriting, true);
    run(64, Entry::Accumulating, true);
}

// A host's sequence of calls, replayed on the plug-in and the model alike.
struct Action {
    enum class Kind { Set, Midi, Run, Resume } kind;
    std::int32_t index = 0;
    float value = 0.0f;
    std::vector<MidiEventRecord> events{};
    std::int32_t frames = 0;
};
Action setTo(std::int32_t index, float value) {
    return {Action::Kind::Set, index, value};
}
Action midi(std::vector<MidiEventRecord> events) {
    return {Action::Kind::Midi, 0, 0.0f, std::move(events)};
}
Action frames(std::int32_t count) {
    return {Action::Kind::Run, 0, 0.0f, {}, count};
}
Action resumeAtRate(float rate) {
    return {Action::Kind::Resume, 0, rate};
}

struct Script {
    const char* what;
    std::vector<Action> actions;
};

void PrintTo(const Script& script, std::ostream* out) {
    *out << script.what;
}

class EnvelopeScriptTest : public EnvelopeLibraryTest,
                           public ::testing::WithParamInterface<Script> {};

TEST_P(EnvelopeScriptTest, FollowsTheEnvelopeSampleBySample) {
    for (const Action& action : GetParam().actions) {
        switch (action.kind) {
        case Action::Kind::Set:
            set(action.index, action.value);
            break;
        case Action::Kind::Midi:
            send(action.events);
            break;
        case Action::Kind::Run:
            run(action.frames);
            break;
        case Action::Kind::Resume:
            resumeAt(action.value);
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, EnvelopeScriptTest,
    ::testing::Values(
        Script{"a whole note with short segments",
               {setTo(kAttack, 0.002f), setTo(kDecay, 0.004f), setTo(kSustain, 0.3f),
                setTo(kRelease, 0.003f), midi({keyDown(100)}), frames(512), frames(512),
                midi({noteOff(60)}), frames(1024)}},
        Script{"a shorter segment scale",
               {setTo(kSegmentTime, 0.0f), setTo(kAttack, 0.01f), setTo(kDecay, 0.02f),
                midi({keyDown()}), frames(1024), midi({noteOff(60)}), frames(2048)}},
        Script{"release during the decay",
               {setTo(kAttack, 0.0f), setTo(kDecay, 0.01f), setTo(kRelease, 0.005f),
                midi({keyDown()}), frames(300), midi({noteOff(60)}), frames(1500)}},
        Script{"the first note's note-off releases the second",
               {setTo(kAttack, 0.002f), setTo(kRelease, 0.004f), midi({keyDown(127, 60)}),
                frames(700), midi({keyDown(80, 64)}), frames(700), midi({noteOff(60)}),
                frames(1200), midi({noteOff(64)}), frames(64)}},
        Script{"a note-off in sustain keeps the release step of the last note-off",
               {setTo(kAttack, 0.01f), setTo(kDecay, 0.0f), setTo(kRelease, 0.004f),
                midi({keyDown()}), frames(500), midi({noteOff(60)}), frames(100), midi({keyDown()}),
                frames(3000), midi({noteOff(60)}), frames(2000)}},
        Script{"parameter changes from the next sample on",
               {setTo(kAttack, 0.004f), midi({keyDown()}), frames(200), setTo(kAttack, 0.001f),
                frames(200), setTo(kDecay, 0.0f), frames(64), setTo(kSustain, 0.8f), frames(64),
                setTo(kRelease, 0.001f), midi({noteOff(60)}), frames(512)}},
        Script{"controllers between blocks",
               {midi({controlChange(16, 0), controlChange(17, 1), controlChange(18, 40)}),
                midi({keyDown(64)}), frames(256), midi({controlChange(18, 100, 9)}), frames(64),
                midi({controlChange(19, 2), controlChange(20, 0), noteOff(60)}), frames(1024)}},
        Script{"retriggers in quick succession",
               {setTo(kAttack, 0.001f), midi({keyDown()}), frames(100), midi({keyDown(50)}),
                frames(100), midi({keyDown(127), noteOff(60), keyDown(90)}), frames(800)}},
        Script{"a rate change before the steps are recomputed",
               {resumeAtRate(48000.0f), setTo(kAttack, 0.002f), midi({keyDown()}), frames(300),
                resumeAtRate(8000.0f), midi({keyDown()}), frames(600), setTo(kDecay, 0.01f),
                frames(600)}}));

} // namespace
} // namespace quorvel::integration

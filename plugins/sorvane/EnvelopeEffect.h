// Sorvane: multiplies stereo audio by an ADSR envelope that MIDI notes trigger, scaled by the
// note's velocity; silent while no note sounds.
#pragma once

#include "host/EffectBaseV2.h"
#include "host/EventLists.h"
#include "host/ProgramStore.h"

#include <array>
#include <atomic>

namespace quorvel {

enum class EnvelopeStage : std::int32_t { attack = 0, decay = 1, sustain = 2, release = 3 };

struct StereoSample {
    float left;
    float right;
};

class EnvelopeEffect : public EffectBaseV2 {
public:
    static constexpr std::int32_t kParameterCount = 5;
    static constexpr std::int32_t kAttack = 0;
    static constexpr std::int32_t kDecay = 1;
    static constexpr std::int32_t kSustain = 2;
    static constexpr std::int32_t kRelease = 3;
    static constexpr std::int32_t kSegmentTime = 4;
    // Controllers 16 to 20 set the five parameters in index order.
    static constexpr std::uint8_t kFirstController = 16;

    explicit EnvelopeEffect(HostCallback host);

    // Any thread (the editor, the host, MIDI controllers on the processing thread): the steps
    // are only marked stale here; the processing thread recomputes them.
    void applyParameter(std::int32_t index, float value) override;
    float parameterValue(std::int32_t index) override;
    void parameterTitle(std::int32_t index, char* text) override;
    void parameterUnit(std::int32_t index, char* text) override;
    void parameterText(std::int32_t index, char* text) override;

    void selectProgram(std::int32_t index) override;
    void renameProgram(char* text) override;
    void programName(char* text) override;
    bool copyProgramTo(std::int32_t destination) override;

    // Processing thread: the buffers hold two checked channels and may be the same memory.
    void processAccumulating(float** inputs, float** outputs, std::int32_t frames) override;
    void processOverwriting(float** inputs, float** outputs, std::int32_t frames) override;
    // Processing thread: notes trigger the envelope, controllers 16 to 20 set parameters.
    std::int32_t receiveEvents(const EventList& list) override;

    void onResume() override;
    bool inputProperties(std::int32_t index, PinProperties* properties) override;
    bool outputProperties(std::int32_t index, PinProperties* properties) override;
    bool effectName(char* text) override;
    bool productText(char* text) override;
    bool vendorText(char* text) override;
    std::int32_t vendorVersion() override { return 100; }
    std::int32_t plugCategory() override { return 1; }
    // It needs notes to make any sound, so it says it receives them.
    std::int32_t supportsFeature(const char* feature) override;

    // Processing thread: the envelope itself.
    virtual void noteOn(std::int32_t note, float velocity, std::int32_t frameOffset);
    virtual void noteOff();
    virtual void computeAttackStep();
    virtual void computeDecayStep();
    virtual void computeReleaseStep(float from);
    virtual float computeDeclickStep(float from);
    // One frame through the envelope, exactly as one frame of a block.
    StereoSample processSample(float left, float right);

    EnvelopeStage stage() const { return currentStage; }
    float level() const { return currentLevel; }
    float workingRate() const { return rate; }
    // The segment scale in seconds, 1 to 10, of a "S. Time" value.
    static float segmentMultiplierOf(float value) { return 9.0f * value + 1.0f; }

private:
    float live(std::int32_t index) const {
        return values[static_cast<std::size_t>(index)].load(std::memory_order_relaxed);
    }
    // A segment's length in samples at the working rate, never shorter than 0.0001 s.
    float segmentSamples(std::int32_t index) const;
    void updateWorkingRate();
    void handleEvent(const MidiEventRecord& event);
    void refreshEditor() {
        if (editor != nullptr) editor->requestRefresh();
    }
    // Processing thread: takes the block's steps and sustain level, then hands the writer the
    // gains of the block's frames in order, as runs of per-frame gains or of one held gain.
    template <class Writer> void render(std::int32_t frames, const Writer& writer);
    // The envelope's gains before the declick, frame by frame; advances the envelope.
    void fillLevels(float* gains, std::int32_t count, float sustain);
    // Adds the fading old level to the gains while it lasts.
    void addDeclick(float* gains, std::int32_t count);
    // True when the next frame leaves the level and stage as they are, so every later frame
    // of the block has the same gain: a sustain, silence after a release, or a step too small
    // to move the level.
    bool levelHeld(float sustain) const;

    ProgramStore programs;
    std::array<std::atomic<float>, kParameterCount> values{};
    std::atomic<bool> stepsStale{false};
    float rate = 44100.0f;
    EnvelopeStage currentStage = EnvelopeStage::release;
    float currentLevel = 0.0f;
    float velocityGain = 1.0f;
    float attackStep = 0.0f;
    float decayStep = 0.0f;
    float releaseStep = 0.0f;
    float declickOffset = 0.0f;
    float declickStep = 0.0f;
};

} // namespace quorvel

// The envelope's documented arithmetic on 32-bit floats, stepped by the library test next to
// the plug-in so that every sample can be compared.
#pragma once

#include "host/Abi.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace quorvel::integration {

inline constexpr float kDefaultSegmentTime = std::bit_cast<float>(0x3EE38E39u); // 4/9: a 5 s scale
inline constexpr std::array<float, 5> kDefaults{1.0f, 1.0f, 0.5f, 1.0f, kDefaultSegmentTime};

enum EnvelopeParameter : std::int32_t { kAttack, kDecay, kSustain, kRelease, kSegmentTime };

// Steps, stages and declick of the envelope, one sample at a time.
class EnvelopeModel {
public:
    EnvelopeModel() { computeSteps(); }

    void apply(std::int32_t index, float value) {
        if (values[static_cast<std::size_t>(index)] != value) stale = true;
        values[static_cast<std::size_t>(index)] = value;
    }
    void resume(float hostRate) { rate = hostRate > 11025.0f ? hostRate : 44100.0f; }

    void receive(const MidiEventRecord& event) {
        const int kind = event.status & 0xF0;
        if (kind == 0x90 && static_cast<std::int8_t>(event.data2) > 0)
            noteOn(static_cast<float>(event.data2 & 0x7F) / 127.0f);
        else if (kind == 0x80 || (kind == 0x90 && event.data2 == 0))
            noteOff();
        else if (kind == 0xB0 && event.data1 >= 16 && event.data1 <= 20)
            apply(event.data1 - 16, static_cast<float>(event.data2 * (1.0 / 127.0)));
    }

    std::pair<float, float> step(float left, float right) {
        if (stale) {
            computeSteps();
            stale = false;
        }
        float gain = level;
        if (declickOffset != 0.0f) {
            gain = level + declickOffset;
            declickOffset -= declickStep;
            if (declickOffset <= 0.0f) declickOffset = 0.0f;
        }
        const float a = left * gain;
        const float b = right * gain;
        switch (stage) {
        case Stage::Attack:
            level += attackStep;
            if (level >= 1.0f) {
                level = 1.0f;
                stage = Stage::Decay;
            }
            break;
        case Stage::Decay:
            level -= decayStep;
            if (level <= sustain()) {
                level = sustain();
                stage = Stage::Sustain;
            }
            break;
        case Stage::Sustain:
            level = sustain();
            break;
        case Stage::Release:
            level -= releaseStep;
            if (level <= 0.0f) level = 0.0f;
            break;
        }
        return {a * velocityGain, b * velocityGain};
    }

private:
    enum class Stage { Attack, Decay, Sustain, Release };

    float sustain() const { return values[kSustain]; }
    float segmentSeconds(float fraction) const {
        return std::max(fraction * (9.0f * values[kSegmentTime] + 1.0f), 0.0001f);
    }
    float releaseStepFrom(float from) const {
        return from * (1.0f / (segmentSeconds(values[kRelease]) * rate));
    }
    void computeSteps() {
        attackStep = 1.0f / (segmentSeconds(values[kAttack]) * rate);
        decayStep = (1.0f - sustain()) * (1.0f / (segmentSeconds(values[kDecay]) * rate));
        releaseStep = releaseStepFrom(sustain());
    }
    void noteOn(float velocity) {
        velocityGain = std::min(velocity, 1.0f);
        stage = Stage::Attack;
        if (level > 0.0f) {
            declickOffset = level;
            declickStep = level * (1.0f / (rate * 0.01f));
        }
        level = 0.0f;
    }
    void noteOff() {
        if (stage != Stage::Sustain) releaseStep = releaseStepFrom(level);
        stage = Stage::Release;
    }

    std::array<float, 5> values = kDefaults;
    float rate = 44100.0f;
    Stage stage = Stage::Release;
    float level = 0.0f;
    float velocityGain = 1.0f;
    float attackStep = 0.0f;
    float decayStep = 0.0f;
    float releaseStep = 0.0f;
    bool stale = false;
    float declickOffset = 0.0f;
    float declickStep = 0.0f;
};

} // namespace quorvel::integration

#include "plugins/sorvane/EnvelopeEffect.h"

#include "host/ParameterInfo.h"
#include "host/Text.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace quorvel {

namespace {

constexpr ParameterInfo kParameters[EnvelopeEffect::kParameterCount] = {
    {" Attack ", " ", 1.0f},
    {" Decay  ", " ", 1.0f},
    {" Sustain", "   dB   ", 0.5f},
    {" Release", " ", 1.0f},
    {"S. Time ", "seconds ", 0.44444445f}};

constexpr float kShortestSegment = 0.0001f;
// Below this the host's rate is taken for a mistake and the envelope runs at 44100 Hz.
constexpr float kLowestRate = 11025.0f;
constexpr float kFallbackRate = 44100.0f;

constexpr const char* kReceivedFeatures[] = {"receiveVstEvents", "receiveVstMidiEvent"};

std::array<float, EnvelopeEffect::kParameterCount> defaultValues() {
    std::array<float, EnvelopeEffect::kParameterCount> defaults{};
    for (std::size_t i = 0; i < defaults.size(); ++i)
        defaults[i] = kParameters[i].defaultValue;
    return defaults;
}

bool validIndex(std::int32_t index) {
    return index >= 0 && index < EnvelopeEffect::kParameterCount;
}

} // namespace

EnvelopeEffect::EnvelopeEffect(HostCallback host)
    : EffectBaseV2(host, 1, kParameterCount), programs(1, kParameterCount, defaultValues().data()) {
    for (std::int32_t i = 0; i < kParameterCount; ++i)
        values[static_cast<std::size_t>(i)].store(kParameters[i].defaultValue,
                                                  std::memory_order_relaxed);
    if (programs.valid()) {
        selectProgram(0);
        for (std::int32_t i = 0; i < kParameterCount; ++i)
            applyParameter(i, kParameters[i].defaultValue);
        char name[kNameCapacity];
        copyText(name, "The Only Preset", kNameCapacity);
        renameProgram(name);
    }
    markHasMeter(false);
    assignInputCount(2);
    assignOutputCount(2);
    markCanMono(true);
    markCanOverwrite(true);
    markSynth(false);
    updateWorkingRate();
    assignUniqueId(fourCharacters("Qz04"));
    currentStage = EnvelopeStage::release;
    currentLevel = 0.0f;
    stepsStale.store(false, std::memory_order_relaxed);
    computeAttackStep();
    computeDecayStep();
    computeReleaseStep(live(kSustain));
    declickOffset = 0.0f;
    declickStep = 0.0f;
}

void EnvelopeEffect::updateWorkingRate() {
    const float hostRate = currentSampleRate();
    // Also catches NaN and infinity, which would stop the envelope for good.
    rate = std::isfinite(hostRate) && hostRate > kLowestRate ? hostRate : kFallbackRate;
}

void EnvelopeEffect::applyParameter(std::int32_t index, float value) {
    if (validIndex(index)) {
        if (value != live(index)) stepsStale.store(true, std::memory_order_relaxed);
        programs.storeValue(currentProgram(), index, value);
        values[static_cast<std::size_t>(index)].store(value, std::memory_order_relaxed);
    }
    if (editor != nullptr) {
        editor->requestRefresh();
        editor->parameterChanged(index, value);
    }
}

float EnvelopeEffect::parameterValue(std::int32_t index) {
    return validIndex(index) ? live(index) : 0.0f;
}

void EnvelopeEffect::parameterTitle(std::int32_t index, char* text) {
    if (validIndex(index)) copyText(text, kParameters[index].title, kNameCapacity);
}

void EnvelopeEffect::parameterUnit(std::int32_t index, char* text) {
    if (validIndex(index)) copyText(text, kParameters[index].unit, kNameCapacity);
}

void EnvelopeEffect::parameterText(std::int32_t index, char* text) {
    if (!validIndex(index)) return;
    const float value = live(index);
    if (index == kSustain)
        decibelText(value, text);
    else if (index == kSegmentTime)
        // The segment scale the envelope actually uses.
        numberText(segmentMultiplierOf(value), text);
    else
        numberText(value, text);
}

void EnvelopeEffect::selectProgram(std::int32_t index) {
    if (!programs.holds(index)) return;
    EffectBaseV2::selectProgram(index);
    for (std::int32_t i = 0; i < kParameterCount; ++i)
        applyParameter(i, programs.value(index, i));
}

void EnvelopeEffect::renameProgram(char* text) {
    programs.rename(currentProgram(), text);
}

void EnvelopeEffect::programName(char* text) {
    programs.displayName(currentProgram(), text);
}

bool EnvelopeEffect::copyProgramTo(std::int32_t destination) {
    return programs.copy(currentProgram(), destination);
}

float EnvelopeEffect::segmentSamples(std::int32_t index) const {
    const float seconds = live(index) * segmentMultiplierOf(live(kSegmentTime));
    return std::max(seconds, kShortestSegment) * rate;
}

void EnvelopeEffect::computeAttackStep() {
    attackStep = 1.0f / segmentSamples(kAttack);
}

void EnvelopeEffect::computeDecayStep() {
    decayStep = (1.0f - live(kSustain)) * (1.0f / segmentSamples(kDecay));
}

void EnvelopeEffect::computeReleaseStep(float from) {
    releaseStep = from * (1.0f / segmentSamples(kRelease));
}

float EnvelopeEffect::computeDeclickStep(float from) {
    // The level that was sounding fades out over 10 ms.
    return from * (1.0f / (rate * 0.01f));
}

namespace {

// Gains are worked out this many frames at a time, in a stack buffer.
constexpr std::int32_t kGainChunk = 128;

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

enum class Mix { add, replace };

// Multiplies the input by the gains and the velocity, in that order, and adds the result to
// the output or replaces it. The host may reuse one buffer for input and output, so each group
// of frames is read before it is written. Four frames go at once in every build, whatever the
// optimisation level: each lane does the same two multiplications as one frame on its own.
template <Mix mix> struct StereoWriter {
    float* const* inputs;
    float* const* outputs;
    float velocityGain;

    static void put(float& out, float value) {
        if constexpr (mix == Mix::add)
            out += value;
        else
            out = value;
    }
#if defined(__SSE__)
    static void put(float* out, __m128 value) {
        if constexpr (mix == Mix::add) value = _mm_add_ps(_mm_loadu_ps(out), value);
        _mm_storeu_ps(out, value);
    }
#endif

    void withGains(std::int32_t first, std::int32_t count, const float* gains) const {
        apply(first, count, VaryingGain{gains});
    }
    void withGain(std::int32_t first, std::int32_t count, float gain) const {
        apply(first, count, ConstantGain{gain});
    }

private:
    // A gain per frame from a block's computed gains, or one gain for a held stretch.
    struct VaryingGain {
        const float* gains;
        float at(std::int32_t i) const { return gains[i]; }
#if defined(__SSE__)
        __m128 four(std::int32_t i) const {
            return _mm_loadu_ps(gains + i);
        }
#endif
    };
    struct ConstantGain {
        float gain;
        float at(std::int32_t) const { return gain; }
#if defined(__SSE__)
        __m128 four(std::int32_t) const {
            return _mm_set1_ps(gain);
        }
#endif
    };

    template <class Gain>
    void apply(std::int32_t first, std::int32_t count, const Gain& gain) const {
        const float* inLeft = inputs[0] + first;
        const float* inRight = inputs[1] + first;
        float* outLeft = outputs[0] + first;
        float* outRight = outputs[1] + first;
        std::int32_t i = 0;
#if defined(__SSE__)
        const __m128 velocity = _mm_set1_ps(velocityGain);
        for (; i + 4 <= count; i += 4) {
            const __m128 gains = gain.four(i);
            const __m128 a = _mm_mul_ps(_mm_loadu_ps(inLeft + i), gains);
            const __m128 b = _mm_mul_ps(_mm_loadu_ps(inRight + i), gains);
            put(outLeft + i, _mm_mul_ps(a, velocity));
            put(outRight + i, _mm_mul_ps(b, velocity));
        }
#endif
        for (; i < count; ++i) {
            const float a = inLeft[i] * gain.at(i);
            const float b = inRight[i] * gain.at(i);
            put(outLeft[i], a * velocityGain);
            put(outRight[i], b * velocityGain);
        }
    }
};

} // namespace

bool EnvelopeEffect::levelHeld(float sustain) const {
    switch (currentStage) {
    case EnvelopeStage::attack: {
        const float next = currentLevel + attackStep;
        return !(next >= 1.0f) && sameBits(next, currentLevel);
    }
    case EnvelopeStage::decay: {
        const float next = currentLevel - decayStep;
        return !(next <= sustain) && sameBits(next, currentLevel);
    }
    case EnvelopeStage::sustain:
        return sameBits(sustain, currentLevel);
    case EnvelopeStage::release: {
        const float next = currentLevel - releaseStep;
        return sameBits(next <= 0.0f ? 0.0f : next, currentLevel);
    }
    }
    return false;
}

void EnvelopeEffect::fillLevels(float* gains, std::int32_t count, float sustain) {
    // Each frame's gain is the level before that frame's step, one add or subtract per frame.
    // Locals keep the recurrence in registers: the gains are stored through a pointer.
    float level = currentLevel;
    EnvelopeStage stage = currentStage;
    std::int32_t i = 0;
    while (i < count) {
        switch (stage) {
        case EnvelopeStage::attack: {
            const float step = attackStep;
            while (i < count) {
                gains[i++] = level;
                level += step;
                if (level >= 1.0f) {
                    level = 1.0f;
                    stage = EnvelopeStage::decay;
                    break;
                }
            }
            break;
        }
        case EnvelopeStage::decay: {
            const float step = decayStep;
            while (i < count) {
                gains[i++] = level;
                level -= step;
                if (level <= sustain) {
                    level = sustain;
                    stage = EnvelopeStage::sustain;
                    break;
                }
            }
            break;
        }
        case EnvelopeStage::sustain:
            // Held from the second frame on.
            gains[i++] = level;
            level = sustain;
            std::fill(gains + i, gains + count, level);
            i = count;
            break;
        case EnvelopeStage::release: {
            const float step = releaseStep;
            while (i < count) {
                gains[i++] = level;
                level -= step;
                if (level <= 0.0f) level = 0.0f;
            }
            break;
        }
        }
    }
    currentLevel = level;
    currentStage = stage;
}

void EnvelopeEffect::addDeclick(float* gains, std::int32_t count) {
    float offset = declickOffset;
    for (std::int32_t i = 0; i < count && offset != 0.0f; ++i) {
        gains[i] = gains[i] + offset;
        offset -= declickStep;
        if (offset <= 0.0f) offset = 0.0f;
    }
    declickOffset = offset;
}

template <class Writer> void EnvelopeEffect::render(std::int32_t frames, const Writer& writer) {
    if (frames <= 0) return;
    // Parameters move between blocks on this thread; one set from another thread during a
    // block is taken up with the next block. The plain load spares most blocks a locked
    // exchange.
    if (stepsStale.load(std::memory_order_relaxed) &&
        stepsStale.exchange(false, std::memory_order_relaxed)) {
        computeAttackStep();
        computeDecayStep();
        computeReleaseStep(live(kSustain));
    }
    const float sustain = live(kSustain);
    std::int32_t done = 0;
    while (done < frames) {
        if (declickOffset == 0.0f && levelHeld(sustain)) {
            writer.withGain(done, frames - done, currentLevel);
            return;
        }
        float gains[kGainChunk];
        const std::int32_t count = std::min(kGainChunk, frames - done);
        fillLevels(gains, count, sustain);
        if (declickOffset != 0.0f) addDeclick(gains, count);
        writer.withGains(done, count, gains);
        done += count;
    }
}

StereoSample EnvelopeEffect::processSample(float left, float right) {
    float* inputs[] = {&left, &right};
    StereoSample sample{};
    float* outputs[] = {&sample.left, &sample.right};
    render(1, StereoWriter<Mix::replace>{inputs, outputs, velocityGain});
    return sample;
}

void EnvelopeEffect::processAccumulating(float** inputs, float** outputs, std::int32_t frames) {
    render(frames, StereoWriter<Mix::add>{inputs, outputs, velocityGain});
}

void EnvelopeEffect::processOverwriting(float** inputs, float** outputs, std::int32_t frames) {
    render(frames, StereoWriter<Mix::replace>{inputs, outputs, velocityGain});
}

void EnvelopeEffect::noteOn(std::int32_t, float velocity, std::int32_t) {
    velocityGain = std::min(velocity, 1.0f);
    currentStage = EnvelopeStage::attack;
    if (currentLevel > 0.0f) {
        declickOffset = currentLevel;
        declickStep = computeDeclickStep(currentLevel);
    }
    currentLevel = 0.0f;
}

void EnvelopeEffect::noteOff() {
    // Released from wherever the attack or decay got to; from the sustain level the stored
    // step already fits.
    if (currentStage != EnvelopeStage::sustain) computeReleaseStep(currentLevel);
    currentStage = EnvelopeStage::release;
}

std::int32_t EnvelopeEffect::receiveEvents(const EventList& list) {
    forEachMidiEvent(list, [this](const MidiEventRecord& event) { handleEvent(event); });
    return 1;
}

void EnvelopeEffect::handleEvent(const MidiEventRecord& event) {
    if (isNoteOn(event)) {
        noteOn(event.data1 & 0x7F, static_cast<float>(event.data2 & 0x7F) / 127.0f,
               event.deltaFrames);
        return;
    }
    if (isNoteOff(event)) {
        noteOff();
        return;
    }
    switch (messageKind(event)) {
    case kControlChange:
        if (event.data1 >= kFirstController && event.data1 < kFirstController + kParameterCount)
            // A data byte above 127 is not MIDI; masking it keeps every level within 0 to 1.
            applyParameter(event.data1 - kFirstController,
                           static_cast<float>((event.data2 & 0x7F) * 0.007874015748031496));
        refreshEditor();
        return;
    case kPitchBend:
        refreshEditor();
        return;
    case kProgramChange:
        if ((event.data1 & 0x7F) == 0) selectProgram(0);
        return;
    default:
        return;
    }
}

void EnvelopeEffect::onResume() {
    requestEvents(1);
    updateWorkingRate();
}

bool EnvelopeEffect::inputProperties(std::int32_t index, PinProperties* properties) {
    if (index != 0 && index != 1) return false;
    copyText(properties->label, index == 0 ? "ADSR Left Input" : "ADSR Right Input",
             sizeof properties->label);
    properties->flags = 3;
    return true;
}

bool EnvelopeEffect::outputProperties(std::int32_t index, PinProperties* properties) {
    if (index != 0 && index != 1) return false;
    copyText(properties->label, index == 0 ? "ADSR Left Output" : "ADSR Right Output",
             sizeof properties->label);
    properties->flags = 3;
    return true;
}

bool EnvelopeEffect::effectName(char* text) {
    copyText(text, "Sorvane", kNameCapacity);
    return true;
}

bool EnvelopeEffect::productText(char* text) {
    copyText(text, "Sorvane", kNameCapacity);
    return true;
}

bool EnvelopeEffect::vendorText(char* text) {
    copyText(text, "Quorvel", kNameCapacity);
    return true;
}

std::int32_t EnvelopeEffect::supportsFeature(const char* feature) {
    for (const char* known : kReceivedFeatures)
        if (std::strcmp(feature, known) == 0) return 1;
    return -1;
}

} // namespace quorvel

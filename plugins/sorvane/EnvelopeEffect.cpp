#include "plugins/sorvane/EnvelopeEffect.h"

#include "host/ParameterInfo.h"
#include "host/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

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

StereoSample EnvelopeEffect::processSample(float left, float right) {
    if (stepsStale.exchange(false, std::memory_order_relaxed)) {
        computeAttackStep();
        computeDecayStep();
        computeReleaseStep(live(kSustain));
    }
    float gain = currentLevel;
    if (declickOffset != 0.0f) {
        gain = currentLevel + declickOffset;
        declickOffset -= declickStep;
        if (declickOffset <= 0.0f) declickOffset = 0.0f;
    }
    const float a = left * gain;
    const float b = right * gain;
    switch (currentStage) {
    case EnvelopeStage::attack:
        currentLevel += attackStep;
        if (currentLevel >= 1.0f) {
            currentLevel = 1.0f;
            currentStage = EnvelopeStage::decay;
        }
        break;
    case EnvelopeStage::decay: {
        const float sustain = live(kSustain);
        currentLevel -= decayStep;
        if (currentLevel <= sustain) {
            currentLevel = sustain;
            currentStage = EnvelopeStage::sustain;
        }
        break;
    }
    case EnvelopeStage::sustain:
        currentLevel = live(kSustain);
        break;
    case EnvelopeStage::release:
        currentLevel -= releaseStep;
        if (currentLevel <= 0.0f) currentLevel = 0.0f;
        break;
    }
    return {a * velocityGain, b * velocityGain};
}

void EnvelopeEffect::processAccumulating(float** inputs, float** outputs, std::int32_t frames) {
    for (std::int32_t i = 0; i < frames; ++i) {
        const StereoSample sample = processSample(inputs[0][i], inputs[1][i]);
        outputs[0][i] += sample.left;
        outputs[1][i] += sample.right;
    }
}

void EnvelopeEffect::processOverwriting(float** inputs, float** outputs, std::int32_t frames) {
    // The host may reuse one buffer for input and output: each frame is read before it is
    // written.
    for (std::int32_t i = 0; i < frames; ++i) {
        const StereoSample sample = processSample(inputs[0][i], inputs[1][i]);
        outputs[0][i] = sample.left;
        outputs[1][i] = sample.right;
    }
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

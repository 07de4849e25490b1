#include "plugins/gavorn/VelocityAmpEffect.h"

#include "host/Conversions.h"
#include "host/ValueText.h"

#include <cstdio>

namespace quorvel {

namespace {

constexpr ParameterInfo kParameters[] = {{"Amp", " ", 0.25f}};

constexpr MidiEffectConfig kConfig{
    1,   1,     kParameters, "Gavorn", "Quorvel Gavorn", "Quorvel", fourCharacters("Qz09"),
    100, false, false,       nullptr};

} // namespace

VelocityAmpEffect::VelocityAmpEffect(HostCallback host) : MidiEffect(host, kConfig) {
    applyInitialProgram();
}

std::uint8_t VelocityAmpEffect::scaledVelocity(int velocity, float gain) {
    const float scaled = static_cast<float>(velocity) * gain;
    // NaN (a gain no host entry lets through, but an editor might) gives the quietest note.
    return static_cast<std::uint8_t>(truncateInRange(scaled, 1, 127, 1));
}

void VelocityAmpEffect::valueToText(std::int32_t, float value, char* text) {
    char scratch[48];
    std::snprintf(scratch, sizeof scratch, "%.3f", static_cast<double>(value * 4.0f));
    copyText(text, scratch, kNameCapacity);
}

void VelocityAmpEffect::parameterApplied(std::int32_t, float value) {
    gain.store(value * 4.0f, std::memory_order_relaxed);
}

void VelocityAmpEffect::handleMidiEvent(const MidiEventRecord& event) {
    if (isNoteOn(event)) {
        const std::uint8_t velocity =
            scaledVelocity(event.data2, gain.load(std::memory_order_relaxed));
        sendMidiEvent(
            freshMidiEvent(event.deltaFrames, event.status, event.data1, velocity, event.data3));
        return;
    }
    if (isNoteOff(event)) {
        sendMidiEvent(
            freshMidiEvent(event.deltaFrames, event.status, event.data1, event.data2, event.data3));
        return;
    }
    passCommonMessage(event);
}

} // namespace quorvel

#include "plugins/kelvost/VelocityRangeFilterEffect.h"

#include "host/ValueText.h"

namespace quorvel {

namespace {

constexpr ParameterInfo kParameters[] = {{"L.Limit ", " ", 0.0f}, {"R.Limit ", " ", 1.0f}};

constexpr MidiEffectConfig kConfig{
    1,   2,     kParameters, "Kelvost", "Quorvel Kelvost", "Quorvel", fourCharacters("Qz05"),
    100, false, true,        nullptr};

} // namespace

VelocityRangeFilterEffect::VelocityRangeFilterEffect(HostCallback host)
    : MidiEffect(host, kConfig) {
    applyInitialProgram();
}

bool VelocityRangeFilterEffect::velocityInRange(std::uint8_t velocity, float left, float right) {
    const double v = normalisedDataByte(velocity);
    return v > left && (v < right || right == 1.0f);
}

void VelocityRangeFilterEffect::valueToText(std::int32_t, float value, char* text) {
    numberText(value, text);
}

void VelocityRangeFilterEffect::handleMidiEvent(const MidiEventRecord& event) {
    if (isNoteOn(event)) {
        if (velocityInRange(event.data2, workingValue(0), workingValue(1))) sendMidiEvent(event);
        return;
    }
    if (isNoteOff(event)) {
        sendMidiEvent(event);
        return;
    }
    passCommonMessage(event, BendRefresh::quiet);
}

} // namespace quorvel

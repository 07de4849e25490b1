#include "plugins/brenlit/ControllerRangeFilterEffect.h"

#include "host/Conversions.h"
#include "host/ValueText.h"

namespace quorvel {

namespace {

constexpr ParameterInfo kParameters[] = {
    {"L.Limit ", " ", 0.0f}, {"R.Limit ", " ", 1.0f}, {" CCNum  ", " ", 0.0f}};

constexpr MidiEffectConfig kConfig{
    1,   3,     kParameters, "Brenlit", "Quorvel Brenlit", "Quorvel", fourCharacters("Qz02"),
    100, false, true,        nullptr};

} // namespace

ControllerRangeFilterEffect::ControllerRangeFilterEffect(HostCallback host)
    : MidiEffect(host, kConfig) {
    applyInitialProgram();
}

bool ControllerRangeFilterEffect::valueInRange(std::uint8_t value, float left, float right) {
    const double v = normalisedDataByte(value);
    return (v > left || left == 0.0f) && (v < right || right == 1.0f);
}

void ControllerRangeFilterEffect::valueToText(std::int32_t, float value, char* text) {
    numberText(value, text);
}

void ControllerRangeFilterEffect::parameterApplied(std::int32_t index, float value) {
    if (index == kControllerNumber)
        controller.store(nearestWhole(127.0 * static_cast<double>(value)),
                         std::memory_order_relaxed);
}

void ControllerRangeFilterEffect::handleMidiEvent(const MidiEventRecord& event) {
    if (isNoteOn(event) || isNoteOff(event)) {
        sendMidiEvent(event);
        return;
    }
    if (messageKind(event) == kControlChange) {
        filterController(event);
        refreshEditor();
        return;
    }
    passCommonMessage(event, BendRefresh::quiet);
}

void ControllerRangeFilterEffect::filterController(const MidiEventRecord& event) {
    if (event.data1 != controller.load(std::memory_order_relaxed) ||
        valueInRange(event.data2, workingValue(kLeftLimit), workingValue(kRightLimit)))
        sendMidiEvent(event);
}

} // namespace quorvel

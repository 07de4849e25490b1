// Brenlit: lets the control changes of one chosen controller through only while their value
// lies between a left and a right limit; everything else that a synth plays passes unchanged.
#pragma once

#include "host/MidiEffect.h"

#include <atomic>

namespace quorvel {

class ControllerRangeFilterEffect : public MidiEffect {
public:
    static constexpr std::int32_t kLeftLimit = 0;
    static constexpr std::int32_t kRightLimit = 1;
    static constexpr std::int32_t kControllerNumber = 2;

    explicit ControllerRangeFilterEffect(HostCallback host);

    // Whether a controller value (0 to 127) lies inside the limits; a left limit of exactly
    // 0.0 and a right limit of exactly 1.0 leave that side open.
    static bool valueInRange(std::uint8_t value, float left, float right);

protected:
    void valueToText(std::int32_t index, float value, char* text) override;
    void parameterApplied(std::int32_t index, float value) override;

private:
    void handleMidiEvent(const MidiEventRecord& event) override;
    void filterController(const MidiEventRecord& event);

    std::atomic<std::int32_t> controller{0};
};

} // namespace quorvel

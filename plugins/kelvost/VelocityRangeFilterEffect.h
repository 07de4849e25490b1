// Kelvost: lets through the note-ons whose velocity lies between a left and a right limit;
// note-offs always pass.
#pragma once

#include "host/MidiEffect.h"

namespace quorvel {

class VelocityRangeFilterEffect : public MidiEffect {
public:
    explicit VelocityRangeFilterEffect(HostCallback host);

    // Whether a note-on velocity (1 to 127) lies inside the limits; a right limit of exactly
    // 1.0 lets 127 through.
    static bool velocityInRange(std::uint8_t velocity, float left, float right);

protected:
    void valueToText(std::int32_t index, float value, char* text) override;

private:
    void handleMidiEvent(const MidiEventRecord& event) override;
};

} // namespace quorvel

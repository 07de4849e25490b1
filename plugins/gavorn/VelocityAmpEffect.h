// Gavorn: multiplies the velocity of every note-on by a gain from 0 to 4, keeping it between
// 1 and 127 so that no note-on turns into a note-off.
#pragma once

#include "host/MidiEffect.h"

#include <atomic>

namespace quorvel {

class VelocityAmpEffect : public MidiEffect {
public:
    explicit VelocityAmpEffect(HostCallback host);

    // The velocity a note-on of the given velocity leaves with at a gain.
    static std::uint8_t scaledVelocity(int velocity, float gain);

protected:
    void valueToText(std::int32_t index, float value, char* text) override;
    void parameterApplied(std::int32_t index, float value) override;

private:
    void handleMidiEvent(const MidiEventRecord& event) override;

    std::atomic<float> gain{1.0f};
};

} // namespace quorvel

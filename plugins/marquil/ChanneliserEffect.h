// Marquil: moves every channel message onto one chosen MIDI channel. Each note is released on
// the channel its note-on went out on, however the choice changed while it was held.
#pragma once

#include "host/MidiEffect.h"

#include <array>
#include <atomic>

namespace quorvel {

// A note as it came in (channel and note number) and where it went.
struct NoteRoute {
    std::uint8_t outputChannel = 0;
    // Note-ons sent on this route and not yet released; 0 when the note is not sounding.
    std::uint32_t count = 0;
};

class ChanneliserEffect : public MidiEffect {
public:
    explicit ChanneliserEffect(HostCallback host);

    // The output channel (0 to 15) of a parameter value: the integer part of value x 16,
    // limited to 15, and 0 for negative values.
    static std::int32_t channelOf(float value);

protected:
    // The channel actually used, "1" to "16".
    void valueToText(std::int32_t index, float value, char* text) override;
    void parameterApplied(std::int32_t index, float value) override;

private:
    void handleMidiEvent(const MidiEventRecord& event) override;
    void startNote(const MidiEventRecord& event);
    void endNote(const MidiEventRecord& event);
    void releaseChannel(const MidiEventRecord& panic);
    void sendOnChannel(MidiEventRecord event, std::int32_t channel);

    std::atomic<std::int32_t> outputChannel{0};
    std::array<std::array<NoteRoute, kNoteCount>, kChannelCount> routes{};
};

} // namespace quorvel

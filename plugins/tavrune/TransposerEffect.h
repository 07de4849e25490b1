// Tavrune: shifts every note by -128 to +128 semitones and releases each note on the note it
// actually sent, however the shift changed while the note was held.
#pragma once

#include "host/MidiEffect.h"

#include <array>
#include <atomic>

namespace quorvel {

class TransposerEffect : public MidiEffect {
public:
    explicit TransposerEffect(HostCallback host);

    // The shift in semitones of a parameter value: -128 at 0.0, 0 at 0.5, +128 at 1.0.
    static std::int32_t shiftOf(float value);

protected:
    void valueToText(std::int32_t index, float value, char* text) override;
    void parameterApplied(std::int32_t index, float value) override;

private:
    void handleMidiEvent(const MidiEventRecord& event) override;
    void startNote(const MidiEventRecord& event);
    void endNote(const MidiEventRecord& event);

    std::atomic<std::int32_t> shift{0};
    // Indexed by incoming note and channel: whether a note-on passed and is not yet released,
    // and the note that was sent for it.
    std::array<std::array<bool, kChannelCount>, kNoteCount> soundingFlags{};
    std::array<std::array<std::uint8_t, kChannelCount>, kNoteCount> outputNotes{};
};

} // namespace quorvel

// Lunfeth: lets the note-ons of one chosen note number through, or of every note, and passes
// every note-off so nothing is left hanging.
#pragma once

#include "host/MidiEffect.h"

#include <atomic>

namespace quorvel {

class NoteFilterEffect : public MidiEffect {
public:
    static constexpr std::int32_t kAllNotes = -1;

    explicit NoteFilterEffect(HostCallback host);

    // The note a parameter value lets through: kAllNotes for exactly 0.0, otherwise the
    // integer part of value x 128, limited to 127 so that 1.0 still chooses a note.
    static std::int32_t chosenNoteOf(float value);

protected:
    void valueToText(std::int32_t index, float value, char* text) override;
    void parameterApplied(std::int32_t index, float value) override;

private:
    void handleMidiEvent(const MidiEventRecord& event) override;

    std::atomic<std::int32_t> chosenNote{kAllNotes};
};

} // namespace quorvel

// Valdrin: lets through the note-ons whose note lies between two limits, given in either
// order; note-offs always pass, so narrowing the range never leaves a note hanging.
#pragma once

#include "host/MidiEffect.h"

#include <array>
#include <atomic>

namespace quorvel {

class NoteRangeFilterEffect : public MidiEffect {
public:
    explicit NoteRangeFilterEffect(HostCallback host);

    // The note number a limit value stands for.
    static std::int32_t noteOf(float value);
    bool notePasses(std::int32_t note) const {
        return noteTable[static_cast<std::size_t>(note)].load(std::memory_order_relaxed);
    }

protected:
    void valueToText(std::int32_t index, float value, char* text) override;
    void parameterApplied(std::int32_t index, float value) override;

private:
    void rebuildNoteTable(float left, float right);
    void handleMidiEvent(const MidiEventRecord& event) override;

    std::array<std::atomic<bool>, kNoteCount> noteTable{};
};

} // namespace quorvel

#include "plugins/valdrin/NoteRangeFilterEffect.h"

#include "host/Conversions.h"
#include "host/ValueText.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr ParameterInfo kParameters[] = {{"Left Limit", " ", 0.0f}, {"Right Limit", " ", 1.0f}};

constexpr MidiEffectConfig kConfig{
    1,   2,     kParameters, "Valdrin", "Quorvel Valdrin", "Quorvel", fourCharacters("Qz03"),
    100, false, false,       nullptr};

} // namespace

NoteRangeFilterEffect::NoteRangeFilterEffect(HostCallback host) : MidiEffect(host, kConfig) {
    applyInitialProgram();
}

std::int32_t NoteRangeFilterEffect::noteOf(float value) {
    return nearestWhole(127.0 * static_cast<double>(value));
}

void NoteRangeFilterEffect::valueToText(std::int32_t, float value, char* text) {
    integerText(noteOf(value), text);
}

void NoteRangeFilterEffect::parameterApplied(std::int32_t, float) {
    rebuildNoteTable(workingValue(0), workingValue(1));
}

void NoteRangeFilterEffect::rebuildNoteTable(float left, float right) {
    const std::int32_t leftNote = noteOf(left);
    const std::int32_t rightNote = noteOf(right);
    const std::int32_t low = std::min(leftNote, rightNote);
    const std::int32_t high = std::max(leftNote, rightNote);
    for (std::int32_t note = 0; note < kNoteCount; ++note)
        noteTable[static_cast<std::size_t>(note)].store(note >= low && note <= high,
                                                        std::memory_order_relaxed);
}

void NoteRangeFilterEffect::handleMidiEvent(const MidiEventRecord& event) {
    if (isNoteOn(event)) {
        if (notePasses(event.data1 & 0x7F)) sendMidiEvent(event);
        return;
    }
    if (isNoteOff(event)) {
        sendMidiEvent(event);
        return;
    }
    passCommonMessage(event);
}

} // namespace quorvel

#include "plugins/lunfeth/NoteFilterEffect.h"

#include "host/Conversions.h"
#include "host/ValueText.h"

#include <cstdio>

namespace quorvel {

namespace {

constexpr ParameterInfo kParameters[] = {{"  Note  ", " ", 0.0f}};

constexpr MidiEffectConfig kConfig{
    1,   1,    kParameters, "Lunfeth", "Quorvel Lunfeth", "Quorvel", fourCharacters("Qz08"),
    130, true, false,       nullptr};

} // namespace

NoteFilterEffect::NoteFilterEffect(HostCallback host) : MidiEffect(host, kConfig) {
    applyInitialProgram();
}

std::int32_t NoteFilterEffect::chosenNoteOf(float value) {
    if (value == 0.0f) return kAllNotes;
    return truncateInRange(static_cast<double>(value) * 128.0, 0, kNoteCount - 1, 0);
}

void NoteFilterEffect::valueToText(std::int32_t, float value, char* text) {
    char scratch[16];
    std::snprintf(scratch, sizeof scratch, "%d",
                  static_cast<int>(truncateToInt32(static_cast<double>(value) * 128.0)));
    copyText(text, scratch, kValueTextWidth + 1);
}

void NoteFilterEffect::parameterApplied(std::int32_t, float value) {
    chosenNote.store(chosenNoteOf(value), std::memory_order_relaxed);
}

void NoteFilterEffect::handleMidiEvent(const MidiEventRecord& event) {
    if (isNoteOn(event)) {
        const std::int32_t note = chosenNote.load(std::memory_order_relaxed);
        if (note == kAllNotes || note == (event.data1 & 0x7F)) sendMidiEvent(event);
        return;
    }
    if (isNoteOff(event)) {
        sendMidiEvent(event);
        return;
    }
    passCommonMessage(event);
}

} // namespace quorvel

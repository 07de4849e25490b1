#include "plugins/tavrune/TransposerEffect.h"

#include "host/Conversions.h"
#include "host/ValueText.h"

#include <algorithm>
#include <cstdio>

namespace quorvel {

namespace {

constexpr ParameterInfo kParameters[] = {{"Semitone", " ", 0.5f}};

constexpr MidiEffectConfig kConfig{
    1,   1,    kParameters, "Tavrune", "Quorvel Tavrune", "Quorvel", fourCharacters("Qz07"),
    130, true, false,       nullptr};

} // namespace

TransposerEffect::TransposerEffect(HostCallback host) : MidiEffect(host, kConfig) {
    shift.store(shiftOf(kParameters[0].defaultValue), std::memory_order_relaxed);
    applyInitialProgram();
}

std::int32_t TransposerEffect::shiftOf(float value) {
    // Truncating value x -256 toward zero and negating gives the floor of value x 256 for 0..1;
    // anything outside is limited, and NaN means no shift.
    const std::int32_t steps = -truncateInRange(static_cast<double>(value) * -256.0, -256, 0, -128);
    return steps - 128;
}

void TransposerEffect::valueToText(std::int32_t, float value, char* text) {
    char scratch[16];
    std::snprintf(scratch, sizeof scratch, "%d", static_cast<int>(shiftOf(value)));
    copyText(text, scratch, kValueTextWidth + 1);
}

void TransposerEffect::parameterApplied(std::int32_t, float value) {
    shift.store(shiftOf(value), std::memory_order_relaxed);
}

void TransposerEffect::handleMidiEvent(const MidiEventRecord& event) {
    if (isNoteOn(event)) {
        startNote(event);
        return;
    }
    if (isNoteOff(event)) {
        endNote(event);
        return;
    }
    // After a stop the host sends All Notes Off instead of note-offs: forget what sounded on
    // that channel so the next note-on of those notes is not taken for a repeat.
    if (isPanicController(event)) {
        for (auto& channels : soundingFlags)
            channels[static_cast<std::size_t>(messageChannel(event))] = false;
    }
    passCommonMessage(event);
}

void TransposerEffect::startNote(const MidiEventRecord& event) {
    const int note = event.data1 & 0x7F;
    const auto channel = static_cast<std::size_t>(messageChannel(event));
    if (soundingFlags[note][channel]) return;
    const std::int32_t out =
        std::clamp<std::int32_t>(note + shift.load(std::memory_order_relaxed), 0, 127);
    soundingFlags[note][channel] = true;
    outputNotes[note][channel] = static_cast<std::uint8_t>(out);
    sendMidiEvent(freshMidiEvent(event.deltaFrames, event.status, outputNotes[note][channel],
                                 event.data2, event.data3));
}

void TransposerEffect::endNote(const MidiEventRecord& event) {
    // Note-offs use the note recorded at note-on: the shift may have changed since.
    const int note = event.data1 & 0x7F;
    const auto channel = static_cast<std::size_t>(messageChannel(event));
    if (!soundingFlags[note][channel]) return;
    soundingFlags[note][channel] = false;
    sendMidiEvent(freshMidiEvent(event.deltaFrames, event.status, outputNotes[note][channel],
                                 event.data2, event.data3));
}

} // namespace quorvel

// Reading event lists the host hands in, and building MIDI events to send back.
#pragma once

#include "host/Abi.h"

#include <cstdint>
#include <cstring>

namespace quorvel {

inline constexpr std::uint8_t kNoteOff = 0x80;
inline constexpr std::uint8_t kNoteOn = 0x90;
inline constexpr std::uint8_t kPolyPressure = 0xA0;
inline constexpr std::uint8_t kControlChange = 0xB0;
inline constexpr std::uint8_t kProgramChange = 0xC0;
inline constexpr std::uint8_t kChannelPressure = 0xD0;
inline constexpr std::uint8_t kPitchBend = 0xE0;
inline constexpr std::uint8_t kAllSoundOff = 120;
inline constexpr std::uint8_t kAllNotesOff = 123;
inline constexpr int kNoteCount = 128;
inline constexpr int kChannelCount = 16;

constexpr std::uint8_t messageKind(const MidiEventRecord& event) {
    return event.status & 0xF0;
}
constexpr int messageChannel(const MidiEventRecord& event) {
    return event.status & 0x0F;
}
// Velocity as a signed byte: 128 to 255 never count as a velocity above 0.
constexpr int signedVelocity(const MidiEventRecord& event) {
    return static_cast<std::int8_t>(event.data2);
}
constexpr bool isNoteOn(const MidiEventRecord& event) {
    return messageKind(event) == kNoteOn && signedVelocity(event) > 0;
}
constexpr bool isNoteOff(const MidiEventRecord& event) {
    return messageKind(event) == kNoteOff || (messageKind(event) == kNoteOn && event.data2 == 0);
}
// A 7-bit data byte as a fraction of 127, in double precision as the range filters compare it.
constexpr double normalisedDataByte(std::uint8_t value) {
    return value * (1.0 / 127.0);
}

// All Notes Off or All Sound Off: hosts send these instead of note-offs when they stop.
constexpr bool isPanicController(const MidiEventRecord& event) {
    return messageKind(event) == kControlChange &&
           (event.data1 == kAllNotesOff || event.data1 == kAllSoundOff);
}

// A host list may hold any number of references after its head, so they are reached through
// the head's address rather than a fixed-size array.
inline const Event* eventAt(const EventList& list, std::int32_t index) {
    const auto* first = reinterpret_cast<Event* const*>(
        reinterpret_cast<const unsigned char*>(&list) + offsetof(EventList, events));
    return first[index];
}

// Calls handle for every MIDI event of the list in order; null references, other event kinds
// and a negative count are skipped.
template <class Handler> void forEachMidiEvent(const EventList& list, Handler&& handle) {
    for (std::int32_t i = 0; i < list.count; ++i) {
        const Event* event = eventAt(list, i);
        if (event == nullptr || event->type != kMidiEventType) continue;
        MidiEventRecord midi;
        std::memcpy(&midi, event, sizeof midi);
        handle(midi);
    }
}

// An event built from scratch: every field the caller does not set is 0.
constexpr MidiEventRecord freshMidiEvent(std::int32_t deltaFrames, std::uint8_t status,
                                         std::uint8_t data1, std::uint8_t data2,
                                         std::uint8_t data3 = 0) {
    MidiEventRecord event{};
    event.type = kMidiEventType;
    event.byteSize = kMidiEventByteSize;
    event.deltaFrames = deltaFrames;
    event.status = status;
    event.data1 = data1;
    event.data2 = data2;
    event.data3 = data3;
    return event;
}

} // namespace quorvel

// MIDI events as a host builds them and the ways the integration tests compare what a plug-in
// sends back.
#pragma once

#include "host/EventLists.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace quorvel::integration {

inline MidiEventRecord noteOn(int note, int channel = 0, int velocity = 100,
                              std::int32_t delta = 0) {
    return freshMidiEvent(delta, static_cast<std::uint8_t>(0x90 | channel),
                          static_cast<std::uint8_t>(note), static_cast<std::uint8_t>(velocity));
}
inline MidiEventRecord noteOff(int note, int channel = 0, int velocity = 64,
                               std::int32_t delta = 0) {
    return freshMidiEvent(delta, static_cast<std::uint8_t>(0x80 | channel),
                          static_cast<std::uint8_t>(note), static_cast<std::uint8_t>(velocity));
}
inline MidiEventRecord controlChange(int controller, int value, int channel = 0,
                                     std::int32_t delta = 0) {
    return freshMidiEvent(delta, static_cast<std::uint8_t>(0xB0 | channel),
                          static_cast<std::uint8_t>(controller), static_cast<std::uint8_t>(value));
}
inline MidiEventRecord programChange(int program, int channel = 0, std::int32_t delta = 0) {
    return freshMidiEvent(delta, static_cast<std::uint8_t>(0xC0 | channel),
                          static_cast<std::uint8_t>(program), 0);
}

// Sets every byte a plug-in passes through without reading, so that a copy of the incoming
// record can be told from an event built anew.
inline MidiEventRecord decorated(MidiEventRecord event) {
    event.flags = 1;
    event.noteLength = 480;
    event.noteOffset = 12;
    event.data3 = 0x11;
    event.detune = -20;
    event.noteOffVelocity = 33;
    event.reserved[0] = 0xAB;
    event.reserved[1] = 0xCD;
    return event;
}

inline MidiEventRecord withStatus(MidiEventRecord event, int status) {
    event.status = static_cast<std::uint8_t>(status);
    return event;
}

// Messages none of the MIDI plug-ins handles: pressure, system messages and a stray data byte.
inline std::vector<MidiEventRecord> unhandledMessages() {
    return {freshMidiEvent(1, 0xA0, 60, 30), freshMidiEvent(2, 0xAF, 61, 31),
            freshMidiEvent(3, 0xD0, 40, 0),  freshMidiEvent(4, 0xDF, 41, 0),
            freshMidiEvent(5, 0xF0, 1, 2),   freshMidiEvent(6, 0xF7, 0, 0),
            freshMidiEvent(7, 0xF8, 0, 0),   freshMidiEvent(8, 0xFF, 0, 0),
            freshMidiEvent(9, 0x40, 60, 100)};
}

// An event of another kind (a system-exclusive dump), which every plug-in skips.
inline Event nonMidiEvent(std::int32_t delta) {
    Event event{};
    event.type = 6;
    event.byteSize = 24;
    event.deltaFrames = delta;
    // Laid out like a note-on, so that reading it as MIDI would show at the output.
    event.data[8] = 0x90;
    event.data[9] = 60;
    event.data[10] = 100;
    return event;
}

inline bool sameRecord(const MidiEventRecord& a, const MidiEventRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline void expectSameEvents(const std::vector<MidiEventRecord>& got,
                             const std::vector<MidiEventRecord>& expected) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_TRUE(sameRecord(got[i], expected[i]))
            << "event " << i << ": status " << int{got[i].status} << " data1 " << int{got[i].data1}
            << " data2 " << int{got[i].data2} << ", expected status " << int{expected[i].status}
            << " data1 " << int{expected[i].data1} << " data2 " << int{expected[i].data2};
}

// Status and first data byte of each event, enough to compare a stream at a glance.
using StatusAndData = std::pair<int, int>;
inline std::vector<StatusAndData> statusAndData(const std::vector<MidiEventRecord>& events) {
    std::vector<StatusAndData> summary;
    for (const MidiEventRecord& event : events)
        summary.emplace_back(event.status, event.data1);
    return summary;
}

} // namespace quorvel::integration

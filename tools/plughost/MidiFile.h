// Standard MIDI Files read into timed short messages and written back, through libsmf.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::plughost {

// A channel or system message of one to three bytes at a time in seconds.
struct TimedMessage {
    double seconds = 0.0;
    std::array<std::uint8_t, 3> bytes{};
    int length = 0;
};

// A tempo or time-signature mark of the input, kept so the output file reads in the same bars.
struct MetaMark {
    int pulses = 0;
    std::vector<std::uint8_t> bytes;
};

struct MidiSong {
    int ppqn = 480;
    std::vector<MetaMark> marks;
    // Every short message of every track, in time order; system exclusive and meta events are
    // left out, since a plug-in's event list carries neither.
    std::vector<TimedMessage> messages;
    std::size_t skipped = 0;
};

// False with a one-line reason when the file cannot be read or is not a valid MIDI file.
bool readMidiFile(const std::string& path, MidiSong& song, std::string& error);
// Writes one track with the song's tempo and time-signature marks and the messages.
bool writeMidiFile(const std::string& path, const MidiSong& timing,
                   const std::vector<TimedMessage>& messages, std::string& error);

} // namespace quorvel::plughost

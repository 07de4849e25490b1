// What a host hands a plug-in through a pointer, each allocated on its own at exactly the size
// the interface promises, so that a sanitizer sees any access beyond it.
#pragma once

#include "tests/fuzz/FuzzInput.h"

#include "host/Abi.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace quorvel::fuzz {

// Whatever the host reads is added up here, so that no read can be optimised away.
extern std::uint32_t hostReads;

// Zero-initialised; a size of 0 still gives a distinct pointer, as a host's empty buffer does.
template <class T> std::unique_ptr<T[]> heapArray(std::size_t count) {
    return std::make_unique<T[]>(count);
}

// Reports a fault of the plug-in that no sanitizer sees, and stops like a crash.
[[noreturn]] void fault(const char* what);

// A buffer the plug-in writes a text into: empty, with no terminator after the first byte.
std::unique_ptr<char[]> textBuffer(std::size_t size);
// What a host does with a written text: reads it up to its terminator, which must lie inside.
void readText(const char* text, std::size_t size);
// A zero-terminated text from the input: a length byte, then that many bytes.
std::unique_ptr<char[]> textFrom(FuzzInput& input);
// An opaque block of a byte count read from the input, filled with a pattern.
std::unique_ptr<std::uint8_t[]> blockFrom(FuzzInput& input, std::size_t& size);
// A speaker arrangement of up to 8 channels, as long as its channel count says.
std::unique_ptr<std::uint32_t[]> arrangementFrom(FuzzInput& input);
// Reads what a plug-in answers as an arrangement: the head and each of its speakers.
void readArrangement(const SpeakerArrangement* arrangement);

// A host's event list: a head and exactly as many references as the list holds, each to an
// event of its own. The count field may claim fewer references, or be negative.
class HostEventList {
public:
    static constexpr std::int32_t kMostReferences = 63;

    explicit HostEventList(FuzzInput& input);
    EventList* get() { return reinterpret_cast<EventList*>(slots.get()); }

private:
    std::unique_ptr<MidiEventRecord> eventFrom(FuzzInput& input);

    std::vector<std::unique_ptr<MidiEventRecord>> events;
    std::unique_ptr<Event*[]> slots;
};

// The channels of one side of a process call: an array of channel pointers as long as the
// record declares, each to a buffer of exactly the frames processed.
class AudioChannels {
public:
    AudioChannels(std::int32_t count, std::size_t frames, float sample, bool noise);
    float** get() { return pointers.get(); }
    std::int32_t count() const { return channelCount; }

private:
    std::int32_t channelCount;
    std::vector<std::unique_ptr<float[]>> buffers;
    std::unique_ptr<float*[]> pointers;
};

} // namespace quorvel::fuzz

#include "tests/fuzz/HostBuffers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorvel::fuzz {

std::uint32_t hostReads = 0;

namespace {

constexpr std::int32_t kMostSpeakers = 8;
// A plug-in may answer an arrangement of any size; a host reads no more than this of it.
constexpr std::int32_t kMostSpeakersRead = 1 << 16;

constexpr std::size_t kHeadSlots = offsetof(EventList, events) / sizeof(Event*);
static_assert(offsetof(EventList, events) % sizeof(Event*) == 0);

std::size_t arrangementWords(std::int32_t channelCount) {
    const std::size_t bytes = offsetof(SpeakerArrangement, speakers) +
                              sizeof(SpeakerRecord) * static_cast<std::size_t>(channelCount);
    return bytes / sizeof(std::uint32_t);
}

void readBytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i)
        hostReads += bytes[i];
}

} // namespace

void fault(const char* what) {
    std::fprintf(stderr, "effect_fuzzer: %s\n", what);
    std::abort();
}

std::unique_ptr<char[]> textBuffer(std::size_t size) {
    auto text = heapArray<char>(size);
    std::memset(text.get() + 1, 'x', size - 1);
    return text;
}

void readText(const char* text, std::size_t size) {
    const void* end = std::memchr(text, '\0', size);
    if (end == nullptr) fault("a text written without a terminator inside the host's buffer");
    hostReads += static_cast<std::uint32_t>(static_cast<const char*>(end) - text);
}

std::unique_ptr<char[]> textFrom(FuzzInput& input) {
    const std::size_t length = input.byte();
    auto text = heapArray<char>(length + 1);
    for (std::size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(input.byte());
    return text;
}

std::unique_ptr<std::uint8_t[]> blockFrom(FuzzInput& input, std::size_t& size) {
    size = std::size_t{input.byte()} * 4;
    std::uint8_t pattern = input.byte();
    auto block = heapArray<std::uint8_t>(size);
    for (std::size_t i = 0; i < size; ++i) {
        block[i] = pattern;
        pattern = static_cast<std::uint8_t>(pattern * 37 + 11);
    }
    return block;
}

std::unique_ptr<std::uint32_t[]> arrangementFrom(FuzzInput& input) {
    const std::int32_t channelCount = input.byte() % (kMostSpeakers + 1);
    const std::int32_t type = input.number();
    auto words = heapArray<std::uint32_t>(arrangementWords(channelCount));
    auto* arrangement = reinterpret_cast<SpeakerArrangement*>(words.get());
    arrangement->type = type;
    arrangement->channelCount = channelCount;
    auto* speakers = reinterpret_cast<SpeakerRecord*>(
        reinterpret_cast<unsigned char*>(words.get()) + offsetof(SpeakerArrangement, speakers));
    for (std::int32_t c = 0; c < channelCount; ++c) {
        speakers[c].type = c;
        std::snprintf(speakers[c].name, sizeof speakers[c].name, "Speaker %d", c);
    }
    return words;
}

void readArrangement(const SpeakerArrangement* arrangement) {
    std::int32_t head[2];
    std::memcpy(head, arrangement, sizeof head);
    const std::int32_t channelCount = std::clamp(head[1], 0, kMostSpeakersRead);
    readBytes(reinterpret_cast<const unsigned char*>(arrangement) +
                  offsetof(SpeakerArrangement, speakers),
              sizeof(SpeakerRecord) * static_cast<std::size_t>(channelCount));
}

HostEventList::HostEventList(FuzzInput& input) {
    const std::uint8_t head = input.byte();
    const std::int32_t references = head & kMostReferences;
    std::int32_t count = references;
    if ((head & 0x40) != 0) count = std::min(input.number(), references);
    const IntPtr reserved = (head & 0x80) != 0 ? input.wide() : 0;

    slots = heapArray<Event*>(kHeadSlots + static_cast<std::size_t>(references));
    auto* bytes = reinterpret_cast<unsigned char*>(slots.get());
    std::memcpy(bytes + offsetof(EventList, count), &count, sizeof count);
    std::memcpy(bytes + offsetof(EventList, reserved), &reserved, sizeof reserved);
    for (std::int32_t i = 0; i < references; ++i) {
        std::unique_ptr<MidiEventRecord> event = eventFrom(input);
        slots[kHeadSlots + static_cast<std::size_t>(i)] = reinterpret_cast<Event*>(event.get());
        if (event != nullptr) events.push_back(std::move(event));
    }
}

// A kind byte says which fields follow: its low three bits all set make a null reference,
// the others a MIDI event with the common fields unless a bit asks for arbitrary ones.
std::unique_ptr<MidiEventRecord> HostEventList::eventFrom(FuzzInput& input) {
    const std::uint8_t kind = input.byte();
    if ((kind & 7) == 7) return nullptr;
    auto event = std::make_unique<MidiEventRecord>();
    event->type = (kind & 0x08) != 0 ? input.number() : kMidiEventType;
    event->byteSize = (kind & 0x10) != 0 ? input.number() : kMidiEventByteSize;
    event->deltaFrames = (kind & 0x20) != 0 ? input.number() : 0;
    if ((kind & 0x40) != 0) {
        event->flags = input.number();
        event->noteLength = input.number();
        event->noteOffset = input.number();
    }
    event->status = input.byte();
    event->data1 = input.byte();
    event->data2 = input.byte();
    if ((kind & 0x80) != 0) {
        event->data3 = input.byte();
        event->detune = static_cast<std::int8_t>(input.byte());
        event->noteOffVelocity = input.byte();
        event->reserved[0] = input.byte();
        event->reserved[1] = input.byte();
    }
    return event;
}

AudioChannels::AudioChannels(std::int32_t count, std::size_t frames, float sample, bool noise)
    : channelCount(std::max(count, 0)),
      pointers(heapArray<float*>(static_cast<std::size_t>(channelCount))) {
    std::uint32_t state = 0x9E3779B9u;
    for (std::int32_t c = 0; c < channelCount; ++c) {
        auto buffer = heapArray<float>(frames);
        for (std::size_t i = 0; i < frames; ++i) {
            state = state * 1664525u + 1013904223u;
            buffer[i] = noise ? static_cast<float>(static_cast<std::int32_t>(state)) * 4.656613e-10f
                              : sample;
        }
        pointers[static_cast<std::size_t>(c)] = buffer.get();
        buffers.push_back(std::move(buffer));
    }
}

} // namespace quorvel::fuzz

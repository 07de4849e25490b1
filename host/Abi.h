// Binary layout of everything that crosses between host and plug-in: the effect record, its
// entry functions, the host callback, event lists and MIDI events. Hosts read these records
// directly, so every offset here is checked at compile time for the target being built.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define QUORVEL_CALL __cdecl
#else
#define QUORVEL_CALL
#endif

namespace quorvel {

// The dispatcher's value argument and result, and the host callback's, are pointer-sized.
using IntPtr = std::intptr_t;

struct EffectRecord;

using HostCallback = IntPtr(QUORVEL_CALL*)(EffectRecord* effect, std::int32_t opcode,
                                           std::int32_t index, IntPtr value, void* pointer,
                                           float opt);
using DispatchEntry = IntPtr(QUORVEL_CALL*)(EffectRecord* effect, std::int32_t opcode,
                                            std::int32_t index, IntPtr value, void* pointer,
                                            float opt);
using ProcessEntry = void(QUORVEL_CALL*)(EffectRecord* effect, float** inputs, float** outputs,
                                         std::int32_t frames);
using SetParameterEntry = void(QUORVEL_CALL*)(EffectRecord* effect, std::int32_t index,
                                              float value);
using GetParameterEntry = float(QUORVEL_CALL*)(EffectRecord* effect, std::int32_t index);
using MainEntry = EffectRecord*(QUORVEL_CALL*)(HostCallback host);

inline constexpr std::int32_t kEffectMagic = 0x56737450;     // 'VstP'
inline constexpr std::int32_t kDefaultUniqueId = 0x4E6F4566; // 'NoEf'
inline constexpr std::int32_t kIdentifyAnswer = 0x4E764566;  // 'NvEf'
inline constexpr std::int32_t kInterfaceVersion = 2300;

// Packs four characters most significant byte first, as hosts print unique ids.
constexpr std::int32_t fourCharacters(const char (&text)[5]) {
    return static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
        (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
        (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
        static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])));
}

namespace flags {
inline constexpr std::int32_t kHasEditor = 1;
inline constexpr std::int32_t kHasClip = 2;
inline constexpr std::int32_t kHasMeter = 4;
inline constexpr std::int32_t kCanMono = 8;
inline constexpr std::int32_t kCanOverwrite = 16;
inline constexpr std::int32_t kStateIsBlock = 32;
inline constexpr std::int32_t kSynth = 256;
inline constexpr std::int32_t kNoTail = 512;
inline constexpr std::int32_t kAsyncExtension = 1024;
inline constexpr std::int32_t kBufferExtension = 2048;
} // namespace flags

struct EffectRecord {
    std::int32_t magic;
    DispatchEntry dispatchEntry;
    ProcessEntry processAccumulatingEntry;
    SetParameterEntry setParameterEntry;
    GetParameterEntry getParameterEntry;
    std::int32_t programCount;
    std::int32_t parameterCount;
    std::int32_t inputCount;
    std::int32_t outputCount;
    std::int32_t effectFlags;
    IntPtr reserved1;
    IntPtr reserved2;
    std::int32_t initialDelay;
    std::int32_t realtimeQualities;
    std::int32_t offlineQualities;
    float ioRatio;
    void* effectObject;
    void* userData;
    std::int32_t uniqueId;
    std::int32_t effectVersion;
    ProcessEntry processOverwritingEntry;
    // Hosts expect a further processing pointer here, then room for future fields.
    void* futureProcessEntry;
    std::uint8_t future[56];
};

// Kinds of event in an event list; only MIDI events are handled by this suite.
inline constexpr std::int32_t kMidiEventType = 1;
inline constexpr std::int32_t kMidiEventByteSize = 24;

// The common head of every event kind; a list refers to events of any kind.
struct Event {
    std::int32_t type;
    std::int32_t byteSize;
    std::int32_t deltaFrames;
    std::int32_t flags;
    std::uint8_t data[16];
};

struct MidiEventRecord {
    std::int32_t type;
    std::int32_t byteSize;
    std::int32_t deltaFrames;
    std::int32_t flags;
    std::int32_t noteLength;
    std::int32_t noteOffset;
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
    std::uint8_t data3;
    std::int8_t detune;
    std::uint8_t noteOffVelocity;
    std::uint8_t reserved[2];
};

// An event list of capacity N. Hosts hand in lists of any length with the same head, so a
// received list is only ever read through eventAt (host/EventLists.h), never as events[i].
template <std::size_t N> struct EventListOf {
    std::int32_t count;
    IntPtr reserved;
    Event* events[N];
};
using EventList = EventListOf<2>;

// The four int16 corners of an editor, answered through opcode 13.
struct EditorSize {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};

// Output and input properties: only the leading label and flags are filled in by this suite.
struct PinProperties {
    char label[64];
    std::int32_t flags;
    std::int32_t arrangementType;
    char shortLabel[8];
    std::uint8_t future[48];
};

struct SpeakerRecord {
    std::uint32_t position[4];
    char name[64];
    std::int32_t type;
    std::uint8_t reserved[28];
};

struct SpeakerArrangement {
    std::int32_t type;
    std::int32_t channelCount;
    SpeakerRecord speakers[1]; // channelCount records in the allocation
};

static_assert(sizeof(MidiEventRecord) == 32);
static_assert(sizeof(Event) == 32);
static_assert(offsetof(MidiEventRecord, status) == 24 && offsetof(MidiEventRecord, detune) == 28);
static_assert(sizeof(SpeakerRecord) == 112);
static_assert(offsetof(SpeakerArrangement, speakers) == 8);
static_assert(offsetof(PinProperties, flags) == 64);
static_assert(sizeof(EditorSize) == 8);

#if INTPTR_MAX == INT64_MAX
static_assert(sizeof(EffectRecord) == 192);
static_assert(offsetof(EffectRecord, dispatchEntry) == 8);
static_assert(offsetof(EffectRecord, processAccumulatingEntry) == 16);
static_assert(offsetof(EffectRecord, setParameterEntry) == 24);
static_assert(offsetof(EffectRecord, getParameterEntry) == 32);
static_assert(offsetof(EffectRecord, programCount) == 40);
static_assert(offsetof(EffectRecord, effectFlags) == 56);
static_assert(offsetof(EffectRecord, reserved1) == 64 && offsetof(EffectRecord, reserved2) == 72);
static_assert(offsetof(EffectRecord, initialDelay) == 80);
static_assert(offsetof(EffectRecord, ioRatio) == 92);
static_assert(offsetof(EffectRecord, effectObject) == 96);
static_assert(offsetof(EffectRecord, userData) == 104);
static_assert(offsetof(EffectRecord, uniqueId) == 112);
static_assert(offsetof(EffectRecord, effectVersion) == 116);
static_assert(offsetof(EffectRecord, processOverwritingEntry) == 120);
static_assert(offsetof(EffectRecord, futureProcessEntry) == 128);
static_assert(offsetof(EventList, events) == 16);
#elif INTPTR_MAX == INT32_MAX
static_assert(sizeof(EffectRecord) == 144);
static_assert(offsetof(EffectRecord, dispatchEntry) == 4);
static_assert(offsetof(EffectRecord, processAccumulatingEntry) == 8);
static_assert(offsetof(EffectRecord, setParameterEntry) == 12);
static_assert(offsetof(EffectRecord, getParameterEntry) == 16);
static_assert(offsetof(EffectRecord, programCount) == 20);
static_assert(offsetof(EffectRecord, parameterCount) == 24);
static_assert(offsetof(EffectRecord, inputCount) == 28);
static_assert(offsetof(EffectRecord, outputCount) == 32);
static_assert(offsetof(EffectRecord, effectFlags) == 36);
static_assert(offsetof(EffectRecord, reserved1) == 40 && offsetof(EffectRecord, reserved2) == 44);
static_assert(offsetof(EffectRecord, initialDelay) == 48);
static_assert(offsetof(EffectRecord, realtimeQualities) == 52);
static_assert(offsetof(EffectRecord, offlineQualities) == 56);
static_assert(offsetof(EffectRecord, ioRatio) == 60);
static_assert(offsetof(EffectRecord, effectObject) == 64);
static_assert(offsetof(EffectRecord, userData) == 68);
static_assert(offsetof(EffectRecord, uniqueId) == 72);
static_assert(offsetof(EffectRecord, effectVersion) == 76);
static_assert(offsetof(EffectRecord, processOverwritingEntry) == 80);
static_assert(offsetof(EffectRecord, futureProcessEntry) == 84);
static_assert(offsetof(EventList, events) == 8);
static_assert(sizeof(EventListOf<1>) == 12);
#else
#error "unsupported pointer width"
#endif

} // namespace quorvel

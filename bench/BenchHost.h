// What the benchmarks share: plug-in libraries loaded from the build as a host loads them, a
// host callback that only counts what it is sent, and event lists built before any timing.
#pragma once

#include "host/Abi.h"
#include "tools/testhost/PluginLibrary.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorvel::bench {

// The MIDI plug-ins of the suite, and the baseline built the same way.
inline const std::vector<std::string> kMidiPlugins{"scalomir", "brenlit", "valdrin",
                                                   "kelvost",  "marquil", "tavrune",
                                                   "lunfeth",  "gavorn",  "pellix"};
inline constexpr const char* kBaseline = "forwarder";

// What the counting host has been sent since the last reset.
struct HostCounts {
    std::int64_t sendCalls = 0;
    std::int64_t sentEvents = 0;
};
HostCounts& hostCounts();

// Answers the version query and counts opcode 8; allocates nothing.
IntPtr QUORVEL_CALL countingHost(EffectRecord* effect, std::int32_t opcode, std::int32_t index,
                                 IntPtr value, void* pointer, float opt);

// One plug-in library from the build's output folder, loaded once for the whole run.
class Plugin {
public:
    // Exits the program with a message when the library cannot be loaded.
    static Plugin& named(const std::string& name);

    // A new effect through the exported entry with the counting host, resumed at 44100 Hz.
    EffectRecord* create() const;
    // The record's own entry: not resumed, so that construction alone is measured.
    EffectRecord* createOnly() const { return entry(countingHost); }
    static void close(EffectRecord* effect) {
        effect->dispatchEntry(effect, 1, 0, 0, nullptr, 0.0f);
    }

private:
    testhost::PluginLibrary library;
    MainEntry entry = nullptr;
};

IntPtr dispatch(EffectRecord* effect, std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0,
                void* pointer = nullptr, float opt = 0.0f);

// A list of events that stays valid while it lives, handed to opcode 25 as it is.
class EventBlock {
public:
    static constexpr std::size_t kCapacity = 256;
    explicit EventBlock(std::vector<MidiEventRecord> events);
    EventBlock(const EventBlock&) = delete;
    EventBlock& operator=(const EventBlock&) = delete;

    void* list() { return storage.get(); }
    std::int32_t size() const { return static_cast<std::int32_t>(events.size()); }

private:
    std::vector<MidiEventRecord> events;
    std::unique_ptr<EventListOf<kCapacity>> storage;
};

// Streams a host might deliver in one block; every note started in a stream also ends in it,
// so repeating a stream leaves each plug-in where it started.
std::vector<MidiEventRecord> noteStream();
std::vector<MidiEventRecord> controllerStream();
std::vector<MidiEventRecord> mixedStream();

} // namespace quorvel::bench

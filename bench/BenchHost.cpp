#include "bench/BenchHost.h"

#include "host/EventLists.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace quorvel::bench {

HostCounts& hostCounts() {
    static HostCounts counts;
    return counts;
}

IntPtr QUORVEL_CALL countingHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr,
                                 void* pointer, float) {
    if (opcode == 1) return 2400;
    if (opcode != 8 || pointer == nullptr) return 0;
    HostCounts& counts = hostCounts();
    ++counts.sendCalls;
    counts.sentEvents += static_cast<const EventList*>(pointer)->count;
    return 1;
}

Plugin& Plugin::named(const std::string& name) {
    static std::map<std::string, Plugin> loaded;
    auto [place, added] = loaded.try_emplace(name);
    Plugin& plugin = place->second;
    if (added) {
        std::string error;
        if (!plugin.library.open(std::string(PLUGIN_DIR) + "/" + name + ".so", error)) {
            std::fprintf(stderr, "cannot load %s: %s\n", name.c_str(), error.c_str());
            std::exit(1);
        }
        plugin.entry = plugin.library.entry("VSTPluginMain");
        if (plugin.entry == nullptr) {
            std::fprintf(stderr, "%s exports no VSTPluginMain\n", name.c_str());
            std::exit(1);
        }
    }
    return plugin;
}

EffectRecord* Plugin::create() const {
    EffectRecord* effect = createOnly();
    if (effect == nullptr) {
        std::fprintf(stderr, "the entry answered no effect\n");
        std::exit(1);
    }
    dispatch(effect, 10, 0, 0, nullptr, 44100.0f);
    dispatch(effect, 11, 0, 4096);
    dispatch(effect, 12, 0, 1);
    return effect;
}

IntPtr dispatch(EffectRecord* effect, std::int32_t opcode, std::int32_t index, IntPtr value,
                void* pointer, float opt) {
    return effect->dispatchEntry(effect, opcode, index, value, pointer, opt);
}

EventBlock::EventBlock(std::vector<MidiEventRecord> wanted)
    : events(std::move(wanted)), storage(std::make_unique<EventListOf<kCapacity>>()) {
    if (events.size() > kCapacity) events.resize(kCapacity);
    storage->count = size();
    for (std::size_t i = 0; i < events.size(); ++i)
        storage->events[i] = reinterpret_cast<Event*>(&events[i]);
}

namespace {

constexpr std::size_t kStreamLength = 64;

// A legato line: each note starts before the previous one ends. Half the note-offs are
// note-ons of velocity 0, as many keyboards send them.
void addNotes(std::vector<MidiEventRecord>& events, int pairs, std::uint8_t channel, int seed) {
    int previous = -1;
    for (int k = 0; k < pairs; ++k) {
        const int note = 36 + (seed + k * 7) % 48;
        const auto delta = static_cast<std::int32_t>(events.size() * 4);
        events.push_back(freshMidiEvent(delta, kNoteOn | channel, static_cast<std::uint8_t>(note),
                                        static_cast<std::uint8_t>(40 + (k * 13) % 88)));
        if (previous >= 0) {
            const bool asNoteOn = k % 2 == 0;
            events.push_back(freshMidiEvent(
                delta, static_cast<std::uint8_t>((asNoteOn ? kNoteOn : kNoteOff) | channel),
                static_cast<std::uint8_t>(previous), asNoteOn ? 0 : 64));
        }
        previous = note;
    }
    if (previous >= 0)
        events.push_back(freshMidiEvent(static_cast<std::int32_t>(events.size() * 4),
                                        kNoteOff | channel, static_cast<std::uint8_t>(previous),
                                        64));
}

MidiEventRecord controller(std::size_t k) {
    // Modulation most often, then expression, brightness, volume and the sustain pedal.
    constexpr std::uint8_t kNumbers[] = {1, 1, 1, 11, 74, 1, 7, 64};
    const std::uint8_t number = kNumbers[k % 8];
    const auto value = static_cast<std::uint8_t>(number == 64 ? (k / 8 % 2) * 127 : k * 5 % 128);
    return freshMidiEvent(static_cast<std::int32_t>(k * 4), kControlChange | (k / 16 % 2), number,
                          value);
}

} // namespace

std::vector<MidiEventRecord> noteStream() {
    std::vector<MidiEventRecord> events;
    addNotes(events, static_cast<int>(kStreamLength / 2), 0, 0);
    return events;
}

std::vector<MidiEventRecord> controllerStream() {
    std::vector<MidiEventRecord> events;
    for (std::size_t k = 0; k < kStreamLength; ++k)
        events.push_back(controller(k));
    return events;
}

std::vector<MidiEventRecord> mixedStream() {
    // Notes on two channels spread evenly among controllers, pitch bends and channel pressure.
    std::vector<MidiEventRecord> notes;
    addNotes(notes, 6, 0, 0);
    addNotes(notes, 6, 1, 5);
    std::vector<MidiEventRecord> events;
    std::size_t next = 0;
    for (std::size_t k = 0; k < kStreamLength; ++k) {
        const auto delta = static_cast<std::int32_t>(k * 4);
        MidiEventRecord event;
        if (k * notes.size() / kStreamLength != (k + 1) * notes.size() / kStreamLength) {
            event = notes[next++];
        } else if (k % 4 == 1) {
            const auto bend = static_cast<std::uint16_t>(8192 + (k % 32) * 128);
            event = freshMidiEvent(delta, kPitchBend, static_cast<std::uint8_t>(bend & 0x7F),
                                   static_cast<std::uint8_t>(bend >> 7));
        } else if (k % 16 == 6) {
            event =
                freshMidiEvent(delta, kChannelPressure, static_cast<std::uint8_t>(k * 3 % 128), 0);
        } else {
            event = controller(k);
        }
        event.deltaFrames = delta;
        events.push_back(event);
    }
    return events;
}

} // namespace quorvel::bench

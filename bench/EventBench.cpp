// Nanoseconds per MIDI event as a host delivers them, for each MIDI plug-in and the
// forwarding baseline, and Scalomir at settings where a note is far from the note it becomes.
#include "bench/Benchmarks.h"

#include "bench/BenchHost.h"

#include <benchmark/benchmark.h>

#include <array>
#include <utility>

namespace quorvel::bench {

namespace {

using Settings = std::vector<std::pair<std::int32_t, float>>;

struct Stream {
    const char* name;
    std::vector<MidiEventRecord> (*build)();
};

constexpr Stream kStreams[] = {
    {"notes", noteStream}, {"controllers", controllerStream}, {"mix", mixedStream}};

// A host's block: the block's events through opcode 25, then the processing call, where a
// plug-in that queues events (Pellix) sends them. The MIDI plug-ins leave the audio alone.
struct HostBlock {
    static constexpr std::int32_t kFrames = 64;
    std::array<std::array<float, kFrames>, 2> audio{};
    std::array<float*, 2> channels{audio[0].data(), audio[1].data()};

    void run(EffectRecord* effect, EventBlock& events) {
        benchmark::DoNotOptimize(dispatch(effect, 25, 0, 0, events.list()));
        effect->processOverwritingEntry(effect, channels.data(), channels.data(), kFrames);
    }
};

void handleEvents(benchmark::State& state, const std::string& name, const Stream& stream,
                  const Settings& settings) {
    EffectRecord* effect = Plugin::named(name).create();
    for (const auto& [index, value] : settings)
        effect->setParameterEntry(effect, index, value);
    EventBlock events(stream.build());
    HostBlock block;
    // Once untimed, so tables and caches are as in a running host.
    block.run(effect, events);
    hostCounts() = {};
    for (auto _ : state)
        block.run(effect, events);
    const double received = static_cast<double>(state.iterations()) * events.size();
    state.SetItemsProcessed(state.iterations() * events.size());
    state.counters["ns_per_event"] =
        benchmark::Counter(1e-9 * events.size(), benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
    state.counters["sent_per_event"] = static_cast<double>(hostCounts().sentEvents) / received;
    state.counters["calls_per_event"] = static_cast<double>(hostCounts().sendCalls) / received;
    Plugin::close(effect);
}

// Scalomir's parameters 0 to 11 switch C, D, E, F, G, A, B, C#, D#, F#, G#, A#; 13 transposes.
Settings oneNoteScale(float transpose) {
    Settings settings{{0, 1.0f}};
    for (std::int32_t index = 1; index < 12; ++index)
        settings.emplace_back(index, 0.0f);
    settings.emplace_back(13, transpose);
    return settings;
}

} // namespace

void registerEventBenchmarks() {
    // Transposition values: -39, 0, +5 and +39 scale steps.
    const std::pair<const char*, float> transpositions[] = {
        {"-39", 0.0f}, {"0", 0.5f}, {"+5", 45.0f / 79.0f}, {"+39", 1.0f}};
    for (const Stream& stream : kStreams) {
        std::vector<std::string> names{kBaseline};
        names.insert(names.end(), kMidiPlugins.begin(), kMidiPlugins.end());
        for (const std::string& name : names)
            benchmark::RegisterBenchmark(
                ("events/" + std::string(stream.name) + "/" + name).c_str(), handleEvents, name,
                stream, Settings{});
        for (const auto& [steps, value] : transpositions)
            benchmark::RegisterBenchmark(
                ("events/" + std::string(stream.name) + "/scalomir_one_note_" + steps).c_str(),
                handleEvents, "scalomir", stream, oneNoteScale(value));
    }
}

} // namespace quorvel::bench

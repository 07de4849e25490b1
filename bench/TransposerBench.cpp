// Cost per event of Tavrune's event handling, with a host that only counts what it receives.
#include "plugins/tavrune/TransposerEffect.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace quorvel;

std::int64_t received = 0;

IntPtr QUORVEL_CALL countingHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                                 float) {
    if (opcode == 8) ++received;
    return opcode == 1 ? 2400 : 1;
}

// A block of notes that are started and released, with a controller between them.
std::vector<MidiEventRecord> phrase(int notes) {
    std::vector<MidiEventRecord> events;
    for (int i = 0; i < notes; ++i) {
        const auto note = static_cast<std::uint8_t>(36 + i % 48);
        events.push_back(freshMidiEvent(i, kNoteOn, note, 100));
        events.push_back(freshMidiEvent(i, kControlChange | 1, 1, static_cast<std::uint8_t>(i)));
        events.push_back(freshMidiEvent(i, kNoteOff, note, 0));
    }
    return events;
}

void transposeBlock(benchmark::State& state) {
    TransposerEffect effect(countingHost);
    effect.applyParameter(0, 0.55f);
    auto events = phrase(static_cast<int>(state.range(0)));
    EventListOf<256> list{};
    list.count = static_cast<std::int32_t>(events.size());
    for (std::size_t i = 0; i < events.size(); ++i)
        list.events[i] = reinterpret_cast<Event*>(&events[i]);
    for (auto _ : state)
        benchmark::DoNotOptimize(effect.dispatch(25, 0, 0, &list, 0.0f));
    state.SetItemsProcessed(state.iterations() * list.count);
    state.counters["sent"] = static_cast<double>(received);
}
BENCHMARK(transposeBlock)->Arg(4)->Arg(32)->Arg(80);

} // namespace

BENCHMARK_MAIN();

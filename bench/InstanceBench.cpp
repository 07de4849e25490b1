// 1000 live instances of each plug-in: the time to construct them through the entry and the
// heap they hold. The plug-ins carry their own C++ runtime, so their operator new is not this
// program's, but every copy allocates from the one C library, which mallinfo2 reports on.
#include "bench/Benchmarks.h"

#include "bench/BenchHost.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace quorvel::bench {

namespace {

constexpr std::size_t kInstances = 1000;

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void createAll(const Plugin& plugin, std::vector<EffectRecord*>& effects) {
    for (EffectRecord*& effect : effects) {
        effect = plugin.createOnly();
        if (effect == nullptr) {
            std::fprintf(stderr, "the entry answered no effect\n");
            std::exit(1);
        }
    }
}

void closeAll(std::vector<EffectRecord*>& effects) {
    for (EffectRecord* effect : effects)
        Plugin::close(effect);
}

void instances(benchmark::State& state, const std::string& name) {
    const Plugin& plugin = Plugin::named(name);
    std::vector<EffectRecord*> effects(kInstances);
    const std::size_t before = heapInUse();
    createAll(plugin, effects);
    const std::size_t after = heapInUse();
    closeAll(effects);
    for (auto _ : state) {
        createAll(plugin, effects);
        state.PauseTiming();
        closeAll(effects);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kInstances));
    state.counters["ns_per_instance"] =
        benchmark::Counter(1e-9 * kInstances, benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
    state.counters["bytes_per_instance"] =
        static_cast<double>(after - before) / static_cast<double>(kInstances);
}

} // namespace

void registerInstanceBenchmarks() {
    std::vector<std::string> names{kBaseline};
    names.insert(names.end(), kMidiPlugins.begin(), kMidiPlugins.end());
    names.emplace_back("sorvane");
    for (const std::string& name : names)
        benchmark::RegisterBenchmark(("instances/" + name).c_str(), instances, name);
}

} // namespace quorvel::bench

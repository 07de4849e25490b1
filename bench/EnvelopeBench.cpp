// Sorvane's two processing entries against a plain stereo gain loop over the same buffers,
// on a held level and on ramps, and the latency of one float add, which bounds the ramps: each
// ramp sample waits for the previous sample's level.
#include "bench/Benchmarks.h"

#include "bench/BenchHost.h"
#include "host/EventLists.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <limits>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace quorvel::bench {

namespace {

std::uint64_t referenceCycles() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return 0;
#endif
}

// Frames per timed iteration whatever the block size, so that every figure covers the same
// stretch of audio.
constexpr std::int32_t kBatch = 16384;
constexpr std::int32_t kLargestBlock = 4096;

enum class Entry { accumulating, overwriting };
enum class Phase { sustain, silence, attack, decay, release };

// Sorvane's parameters.
constexpr std::int32_t kAttack = 0;
constexpr std::int32_t kDecay = 1;
constexpr std::int32_t kSustain = 2;
constexpr std::int32_t kRelease = 3;
constexpr std::int32_t kSegmentTime = 4;

bool isRamp(Phase phase) {
    return phase == Phase::attack || phase == Phase::decay || phase == Phase::release;
}

// Host-owned stereo buffers, reused for every block as hosts do.
struct StereoBuffers {
    std::array<std::vector<float>, 2> input{std::vector<float>(kLargestBlock),
                                            std::vector<float>(kLargestBlock)};
    std::array<std::vector<float>, 2> output{std::vector<float>(kLargestBlock),
                                             std::vector<float>(kLargestBlock)};
    std::array<float*, 2> inputs{input[0].data(), input[1].data()};
    std::array<float*, 2> outputs{output[0].data(), output[1].data()};

    StereoBuffers() {
        // The left input is 1.0 so the left output shows the gain; the right is a signal.
        std::uint32_t noise = 12345;
        for (std::int32_t i = 0; i < kLargestBlock; ++i) {
            noise = noise * 1664525u + 1013904223u;
            input[0][static_cast<std::size_t>(i)] = 1.0f;
            input[1][static_cast<std::size_t>(i)] =
                static_cast<float>(noise >> 8) / 8388608.0f - 1.0f;
        }
    }
};

// Keeps one Sorvane instance in a chosen phase of its envelope: ramps last about 10 s at
// 44100 Hz and are started again, outside the timed part, before one can run out.
class EnvelopeDriver {
public:
    explicit EnvelopeDriver(Phase phase)
        : phase(phase), effect(Plugin::named("sorvane").create()) {}
    ~EnvelopeDriver() { Plugin::close(effect); }
    EnvelopeDriver(const EnvelopeDriver&) = delete;
    EnvelopeDriver& operator=(const EnvelopeDriver&) = delete;

    void prepare() {
        if (framesLeft >= kBatch) return;
        silence();
        enter();
    }

    void processBatch(Entry entry, std::int32_t blockSize) {
        for (std::int32_t done = 0; done < kBatch; done += blockSize)
            process(blockSize, entry);
        framesLeft -= kBatch;
    }

    // One untimed block: does the gain move on a ramp and stay put on a held level?
    bool inPhase() {
        prepare();
        process(64, Entry::overwriting);
        const std::vector<float>& gains = buffers.output[0];
        const bool moving = gains[0] != gains[63];
        return moving == isRamp(phase);
    }

    StereoBuffers buffers;

private:
    void process(std::int32_t frames, Entry entry) {
        if (entry == Entry::accumulating)
            effect->processAccumulatingEntry(effect, buffers.inputs.data(), buffers.outputs.data(),
                                             frames);
        else
            effect->processOverwritingEntry(effect, buffers.inputs.data(), buffers.outputs.data(),
                                            frames);
    }
    void set(std::int32_t index, float value) { effect->setParameterEntry(effect, index, value); }
    void send(MidiEventRecord event) {
        EventBlock block({event});
        dispatch(effect, 25, 0, 0, block.list());
    }
    // Below full velocity, so the velocity gain is a real multiplication.
    void noteOn() { send(freshMidiEvent(0, kNoteOn, 60, 100)); }
    void noteOff() { send(freshMidiEvent(0, kNoteOff, 60, 0)); }

    // Down to level 0 within a few samples, so the next note-on has no old level to fade.
    void silence() {
        set(kRelease, 0.0f);
        process(1, Entry::overwriting); // the new steps are taken up here
        noteOff();
        process(16, Entry::overwriting);
    }

    void enter() {
        constexpr std::int64_t kRampFrames = 400000; // of the 441000 of a 10 s segment
        set(kSegmentTime, 1.0f);
        switch (phase) {
        case Phase::sustain:
            set(kAttack, 0.0f);
            set(kDecay, 0.0f);
            set(kSustain, 0.5f);
            noteOn();
            process(64, Entry::overwriting);
            framesLeft = std::numeric_limits<std::int64_t>::max();
            return;
        case Phase::silence:
            process(64, Entry::overwriting);
            framesLeft = std::numeric_limits<std::int64_t>::max();
            return;
        case Phase::attack:
            set(kAttack, 1.0f);
            process(1, Entry::overwriting);
            noteOn();
            break;
        case Phase::decay:
            set(kAttack, 0.0f);
            set(kDecay, 1.0f);
            set(kSustain, 0.0f);
            process(1, Entry::overwriting);
            noteOn();
            process(8, Entry::overwriting);
            break;
        case Phase::release:
            set(kAttack, 0.0f);
            set(kDecay, 0.0f);
            set(kSustain, 1.0f);
            set(kRelease, 1.0f);
            process(1, Entry::overwriting);
            noteOn();
            process(16, Entry::overwriting);
            noteOff();
            break;
        }
        framesLeft = kRampFrames;
    }

    Phase phase;
    EffectRecord* effect;
    std::int64_t framesLeft = 0;
};

// What any stereo plug-in that scales its input must at least do.
__attribute__((noinline)) void gainOverwriting(float** inputs, float** outputs, std::int32_t frames,
                                               float gain) {
    for (std::int32_t i = 0; i < frames; ++i) {
        const float left = inputs[0][i] * gain;
        const float right = inputs[1][i] * gain;
        outputs[0][i] = left;
        outputs[1][i] = right;
    }
}

__attribute__((noinline)) void gainAccumulating(float** inputs, float** outputs,
                                                std::int32_t frames, float gain) {
    for (std::int32_t i = 0; i < frames; ++i) {
        const float left = inputs[0][i] * gain;
        const float right = inputs[1][i] * gain;
        outputs[0][i] += left;
        outputs[1][i] += right;
    }
}

// A chain of dependent float adds: each waits for the one before, as a ramp's level does.
__attribute__((noinline)) float addChain(std::int64_t count, float step) {
    float sum = 0.0f;
    for (std::int64_t i = 0; i < count; ++i)
        sum += step;
    return sum;
}

// Timed by hand around the processing only, so that starting a ramp again is not counted.
// After each batch a chain of as many float adds as frames is timed too. Cycles are the
// fewest any batch took, since on a shared machine some batches wait for the processor.
template <class Prepare, class Batch>
void timeBatches(benchmark::State& state, Prepare&& prepare, Batch&& batch) {
    using Clock = std::chrono::steady_clock;
    double seconds = 0.0;
    std::uint64_t fewestCycles = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t fewestAddCycles = std::numeric_limits<std::uint64_t>::max();
    float step = 1e-9f;
    benchmark::DoNotOptimize(step);
    for (auto _ : state) {
        prepare();
        const auto start = Clock::now();
        const std::uint64_t firstCycle = referenceCycles();
        batch();
        const std::uint64_t lastCycle = referenceCycles();
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds += elapsed.count();
        fewestCycles = std::min(fewestCycles, lastCycle - firstCycle);

        const std::uint64_t firstAddCycle = referenceCycles();
        benchmark::DoNotOptimize(addChain(kBatch, step));
        fewestAddCycles = std::min(fewestAddCycles, referenceCycles() - firstAddCycle);
    }
    const double frames = static_cast<double>(state.iterations()) * kBatch;
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.counters["ns_per_frame"] = 1e9 * seconds / frames;
    state.counters["tsc_per_frame"] = static_cast<double>(fewestCycles) / kBatch;
    state.counters["tsc_per_add"] = static_cast<double>(fewestAddCycles) / kBatch;
    state.counters["frame_in_adds"] =
        static_cast<double>(fewestCycles) / static_cast<double>(fewestAddCycles);
}

void envelope(benchmark::State& state, Phase phase, Entry entry) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    EnvelopeDriver driver(phase);
    driver.prepare();
    timeBatches(
        state, [&] { driver.prepare(); }, [&] { driver.processBatch(entry, blockSize); });
    // Checked afterwards so no check is timed; a phase that ended early would be measured
    // as something else.
    if (!driver.inPhase()) state.SkipWithError("the envelope was not in the measured phase");
}

void gain(benchmark::State& state, Entry entry) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    StereoBuffers buffers;
    float level = 0.5f;
    benchmark::DoNotOptimize(level);
    timeBatches(
        state, [] {},
        [&] {
            for (std::int32_t done = 0; done < kBatch; done += blockSize) {
                if (entry == Entry::accumulating)
                    gainAccumulating(buffers.inputs.data(), buffers.outputs.data(), blockSize,
                                     level);
                else
                    gainOverwriting(buffers.inputs.data(), buffers.outputs.data(), blockSize,
                                    level);
                benchmark::ClobberMemory();
            }
        });
}

// The latency of one float add on its own.
void floatAdd(benchmark::State& state) {
    constexpr std::int64_t kAdds = 1 << 16;
    float step = 1e-9f;
    benchmark::DoNotOptimize(step);
    std::uint64_t fewestCycles = std::numeric_limits<std::uint64_t>::max();
    for (auto _ : state) {
        const std::uint64_t first = referenceCycles();
        benchmark::DoNotOptimize(addChain(kAdds, step));
        fewestCycles = std::min(fewestCycles, referenceCycles() - first);
    }
    state.SetItemsProcessed(state.iterations() * kAdds);
    state.counters["ns_per_add"] = benchmark::Counter(
        1e-9 * kAdds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["tsc_per_add"] = static_cast<double>(fewestCycles) / kAdds;
}

} // namespace

void registerEnvelopeBenchmarks() {
    const std::pair<const char*, Phase> phases[] = {{"sustain", Phase::sustain},
                                                    {"silence", Phase::silence},
                                                    {"attack", Phase::attack},
                                                    {"decay", Phase::decay},
                                                    {"release", Phase::release}};
    const std::pair<const char*, Entry> entries[] = {{"accumulating", Entry::accumulating},
                                                     {"overwriting", Entry::overwriting}};
    for (const auto& [entryName, entry] : entries) {
        benchmark::RegisterBenchmark(("gain/" + std::string(entryName)).c_str(), gain, entry)
            ->Arg(32)
            ->Arg(256)
            ->Arg(4096)
            ->UseManualTime();
        for (const auto& [phaseName, phase] : phases)
            benchmark::RegisterBenchmark(
                ("envelope/" + std::string(entryName) + "/" + phaseName).c_str(), envelope, phase,
                entry)
                ->Arg(32)
                ->Arg(256)
                ->Arg(4096)
                ->UseManualTime();
    }
    benchmark::RegisterBenchmark("float_add", floatAdd);
}

} // namespace quorvel::bench

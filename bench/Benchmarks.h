// The groups of benchmarks, registered by main before the run.
#pragma once

namespace quorvel::bench {

// events/<stream>/<plug-in>: nanoseconds per event through opcode 25.
void registerEventBenchmarks();
// envelope/..., gain/... and float_add: Sorvane's processing against a plain gain loop.
void registerEnvelopeBenchmarks();
// instances/<plug-in>: construction time and memory of 1000 live instances.
void registerInstanceBenchmarks();

} // namespace quorvel::bench

#include "bench/Benchmarks.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    quorvel::bench::registerEventBenchmarks();
    quorvel::bench::registerEnvelopeBenchmarks();
    quorvel::bench::registerInstanceBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#ifndef VORDO_BENCH_BENCH_SUPPORT_H_
#define VORDO_BENCH_BENCH_SUPPORT_H_

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "dictionary/dictionary_file.h"

namespace vordo {

// Every distinct token of every head text, read from the blocks.
std::vector<std::string> HeadTokensOf(const DictionaryFile& file);

// Runs `run(i)` once for each of `count` items, timing each, and reports
// the median, the 99th percentile and the slowest run in microseconds as
// counters, and `name` of the slowest as the label.
void TimeEach(benchmark::State& state, size_t count, const std::function<void(size_t)>& run,
              const std::function<std::string(size_t)>& name);

// Looks every token up once, timing each lookup, and reports the median,
// the 99th percentile and the slowest lookup in microseconds as counters.
void TimeEveryLookup(benchmark::State& state, const DictionaryFile& file,
                     const std::vector<std::string>& tokens);

// The process's resident and peak memory, in MB, as counters.
void ReportMemory(benchmark::State& state);

}  // namespace vordo

#endif  // VORDO_BENCH_BENCH_SUPPORT_H_

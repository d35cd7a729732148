#include "bench/bench_support.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <fstream>
#include <set>

#include "engine/lookup.h"

namespace vordo {

std::vector<std::string> HeadTokensOf(const DictionaryFile& file) {
  std::set<std::string> tokens;
  for (size_t n = 0; n < kBlockCacheSlots; ++n) {
    BlockText block = file.GetBlock(n);
    if (block.data == nullptr) break;
    std::string_view text(block.data, block.size);
    for (size_t pos = 0; pos < text.size();) {
      std::string_view head(text.data() + pos);
      for (size_t start = 0; start <= head.size();) {
        size_t space = std::min(head.find(' ', start), head.size());
        if (space > start) tokens.insert(std::string(head.substr(start, space - start)));
        start = space + 1;
      }
      pos += head.size() + 1;
      pos += std::string_view(text.data() + pos).size() + 1;  // the translations
    }
  }
  return std::vector<std::string>(tokens.begin(), tokens.end());
}

void TimeEach(benchmark::State& state, size_t count, const std::function<void(size_t)>& run,
              const std::function<std::string(size_t)>& name) {
  std::vector<double> micros;
  size_t slowest = 0;
  for (auto _ : state) {
    micros.clear();
    double worst = 0;
    for (size_t i = 0; i < count; ++i) {
      auto start = std::chrono::steady_clock::now();
      run(i);
      double elapsed =
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
      micros.push_back(elapsed);
      if (elapsed > worst) {
        worst = elapsed;
        slowest = i;
      }
    }
  }
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  state.counters["tokens"] = static_cast<double>(micros.size());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  state.counters["max_us"] = micros.back();
  state.SetLabel("slowest: " + name(slowest));
}

void TimeEveryLookup(benchmark::State& state, const DictionaryFile& file,
                     const std::vector<std::string>& tokens) {
  TimeEach(
      state, tokens.size(), [&](size_t i) { benchmark::DoNotOptimize(Lookup(file, tokens[i])); },
      [&](size_t i) { return tokens[i]; });
}

void ReportMemory(benchmark::State& state) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    for (const char* field : {"VmRSS:", "VmHWM:"}) {
      if (line.compare(0, std::char_traits<char>::length(field), field) == 0) {
        double kilobytes = std::stod(line.substr(std::char_traits<char>::length(field)));
        state.counters[std::string(field) == "VmRSS:" ? "rss_MB" : "peak_rss_MB"] = kilobytes / 1024;
      }
    }
  }
}

}  // namespace vordo

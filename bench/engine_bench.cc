// Cost of opening and looking up, on generated dictionaries of realistic size
// (scale 1) and four times larger (scale 4).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/bench_support.h"
#include "bench/synthetic_dictionary.h"
#include "dictionary/dictionary_file.h"
#include "engine/lookup.h"
#include "engine/word_forms.h"

namespace vordo {
namespace {

void Describe(benchmark::State& state, const SyntheticDictionary& dictionary) {
  state.counters["heads"] = static_cast<double>(dictionary.summary.headTexts);
  state.counters["translations"] = static_cast<double>(dictionary.summary.translations);
  state.counters["forms"] = static_cast<double>(dictionary.wordForms);
  state.counters["blocks"] = static_cast<double>(dictionary.summary.blocks);
  state.counters["file_MB"] = static_cast<double>(dictionary.summary.fileSize) / 1e6;
}

// A dictionary opened once, with every block it will need already inflated.
const DictionaryFile& WarmDictionary(int scale) {
  static std::unique_ptr<DictionaryFile> files[5];
  std::unique_ptr<DictionaryFile>& file = files[scale];
  if (file == nullptr) {
    file.reset(new DictionaryFile);
    file->Open(GetSyntheticDictionary(scale).path);
    for (size_t n = 0; n < kBlockCacheSlots && file->GetBlock(n).data != nullptr; ++n) {
    }
  }
  return *file;
}

void BM_OpenDictionary(benchmark::State& state) {
  const SyntheticDictionary& dictionary = GetSyntheticDictionary(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    DictionaryFile file;
    benchmark::DoNotOptimize(file.Open(dictionary.path));
  }
  Describe(state, dictionary);
}

void BM_ColdLookup(benchmark::State& state) {
  const SyntheticDictionary& dictionary = GetSyntheticDictionary(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto file = std::make_unique<DictionaryFile>();
    file->Open(dictionary.path);
    state.ResumeTiming();
    benchmark::DoNotOptimize(Lookup(*file, dictionary.rareWord));
    state.PauseTiming();
    file.reset();
    state.ResumeTiming();
  }
}

void WarmLookup(benchmark::State& state, const std::string& query) {
  const DictionaryFile& file = WarmDictionary(static_cast<int>(state.range(0)));
  size_t results = 0;
  for (auto _ : state) {
    std::vector<ResultEntry> found = Lookup(file, query);
    results = found.size();
    benchmark::DoNotOptimize(found);
  }
  state.SetLabel(query);
  state.counters["results"] = static_cast<double>(results);
}

void BM_WarmLookupRareWord(benchmark::State& state) {
  WarmLookup(state, GetSyntheticDictionary(static_cast<int>(state.range(0))).rareWord);
}

void BM_WarmLookupMostFrequentWord(benchmark::State& state) {
  WarmLookup(state, GetSyntheticDictionary(static_cast<int>(state.range(0))).frequentWord);
}

void BM_WarmLookupThreeWordPhrase(benchmark::State& state) {
  WarmLookup(state, GetSyntheticDictionary(static_cast<int>(state.range(0))).phrase);
}

// The block scan alone, for the word that most heads hold.
void BM_WarmScanMostFrequentForm(benchmark::State& state) {
  const SyntheticDictionary& dictionary = GetSyntheticDictionary(static_cast<int>(state.range(0)));
  const DictionaryFile& file = WarmDictionary(static_cast<int>(state.range(0)));
  std::vector<EntryRef> found;
  for (auto _ : state) {
    found.clear();
    file.FindEntriesForForm(dictionary.frequentWord, &found);
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["entries"] = static_cast<double>(found.size());
}

void BM_BuildWordFormsUnWord(benchmark::State& state) {
  const SyntheticDictionary& dictionary = GetSyntheticDictionary(static_cast<int>(state.range(0)));
  const DictionaryFile& file = WarmDictionary(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(BuildWordForms(file, dictionary.unWord));
  state.SetLabel(dictionary.unWord);
}

// Looks up every head token once, warm.
void BM_WarmLookupEveryHeadToken(benchmark::State& state) {
  const SyntheticDictionary& dictionary = GetSyntheticDictionary(static_cast<int>(state.range(0)));
  TimeEveryLookup(state, WarmDictionary(static_cast<int>(state.range(0))), dictionary.headTokens);
}

BENCHMARK(BM_OpenDictionary)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColdLookup)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WarmLookupRareWord)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WarmLookupMostFrequentWord)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WarmLookupThreeWordPhrase)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WarmScanMostFrequentForm)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildWordFormsUnWord)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WarmLookupEveryHeadToken)->Arg(1)->Arg(4)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vordo

BENCHMARK_MAIN();

// The built dictionary (dic.bin beside vordo, or $VORDO_DICT): opening,
// lookups over every head token, memory; and the choice of block size,
// measured on the dictionary source.
#include <benchmark/benchmark.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "dictionary/dictionary_file.h"
#include "dictionary/dictionary_writer.h"
#include "engine/answer.h"
#include "engine/lookup.h"
#include "engine/page_lookup.h"
#include "tools/dictionary_builder.h"
#include "tools/english_forms.h"
#include "tools/freedict_source.h"

namespace vordo {
namespace {

std::string DictionaryPath() {
  const char* path = std::getenv("VORDO_DICT");
  return path != nullptr ? path : VORDO_BUILT_DICTIONARY;
}

void BM_RealOpenDictionary(benchmark::State& state) {
  for (auto _ : state) {
    DictionaryFile file;
    if (!file.Open(DictionaryPath())) state.SkipWithError("no dictionary");
  }
}

void BM_RealWarmLookupEveryHeadToken(benchmark::State& state) {
  DictionaryFile file;
  if (!file.Open(DictionaryPath())) {
    state.SkipWithError("no dictionary");
    return;
  }
  std::vector<std::string> tokens = HeadTokensOf(file);  // inflates every block
  for (const std::string& token : tokens) Lookup(file, token);
  TimeEveryLookup(state, file, tokens);
  ReportMemory(state);
  if (const LemmaIndex* index = file.LemmaIndexForWord()) {
    state.counters["lemma_index_KB"] = static_cast<double>(index->memoryBytes()) / 1024;
  }
}

// Every distinct word of GPL-3 as it stands in the text, punctuation and
// capitals kept, as a hover or a batch meets them: looked up warm.
void BM_RealWarmLookupGplWords(benchmark::State& state) {
  DictionaryFile file;
  if (!file.Open(DictionaryPath())) {
    state.SkipWithError("no dictionary");
    return;
  }
  std::ifstream text("/usr/share/common-licenses/GPL-3");
  std::set<std::string> distinct{std::istream_iterator<std::string>(text), std::istream_iterator<std::string>()};
  std::vector<std::string> words(distinct.begin(), distinct.end());
  for (const std::string& word : words) Lookup(file, word);
  TimeEveryLookup(state, file, words);
}

// What a query that finds nothing costs: the answer (a derived word, or
// suggestions) for every distinct word of GPL-3 and MPL-2.0 that finds
// nothing as it stands, and for 40 misspellings. Warm.
void BM_RealAnswerMisses(benchmark::State& state) {
  DictionaryFile file;
  if (!file.Open(DictionaryPath())) {
    state.SkipWithError("no dictionary");
    return;
  }
  std::set<std::string> distinct;
  for (const char* path : {"/usr/share/common-licenses/GPL-3", "/usr/share/common-licenses/MPL-2.0"}) {
    std::ifstream text(path);
    distinct.insert(std::istream_iterator<std::string>(text), std::istream_iterator<std::string>());
  }
  std::vector<std::string> misses;
  for (const std::string& word : distinct) {
    if (Lookup(file, word).empty()) misses.push_back(word);
  }
  for (const char* misspelt : {"accomodate", "acheive", "adress", "beleive", "calender", "cemetary",
                               "definately", "enviroment", "existance", "foriegn", "goverment",
                               "harrass", "independant", "knowlege", "libary", "neccessary",
                               "occured", "recieve", "seperate", "tommorow", "wierd", "untill",
                               "begining", "buisness", "commited", "concensus", "dissapoint",
                               "excercise", "immediatly", "lenght", "medecine", "paralel",
                               "pronounciation", "rythm", "shedule", "strenght", "thier",
                               "threshhold", "unfortunatly", "yeild"}) {
    misses.push_back(misspelt);
  }
  for (const std::string& word : misses) AnswerFieldText(file, word);
  TimeEach(
      state, misses.size(), [&](size_t i) { benchmark::DoNotOptimize(AnswerFieldText(file, misses[i])); },
      [&](size_t i) { return misses[i]; });
}

// A rest of the mouse on each word of GPL-3, with its paragraph around it
// as the extension sends it: the word read, looked up and its phrase put
// first. Warm: each word was looked up before.
void BM_RealWarmRestOnGplWords(benchmark::State& state) {
  DictionaryFile file;
  if (!file.Open(DictionaryPath())) {
    state.SkipWithError("no dictionary");
    return;
  }
  std::ifstream text("/usr/share/common-licenses/GPL-3");
  std::string whole{std::istreambuf_iterator<char>(text), std::istreambuf_iterator<char>()};
  struct Rest {
    std::u16string paragraph;
    size_t at;
  };
  std::vector<Rest> rests;
  size_t start = 0;
  while (start < whole.size()) {
    size_t end = whole.find("\n\n", start);
    if (end == std::string::npos) end = whole.size();
    std::u16string paragraph(whole.begin() + static_cast<std::ptrdiff_t>(start),
                             whole.begin() + static_cast<std::ptrdiff_t>(end));
    auto letter = [](char16_t c) { return c < 0x80 && std::isalpha(static_cast<int>(c)); };
    for (size_t i = 0; i < paragraph.size(); ++i) {
      if (letter(paragraph[i]) && (i == 0 || !letter(paragraph[i - 1]))) rests.push_back({paragraph, i});
    }
    start = end + 2;
  }
  for (const Rest& rest : rests) LookupPageWord(file, rest.paragraph, rest.at);
  TimeEach(
      state, rests.size(),
      [&](size_t i) { benchmark::DoNotOptimize(LookupPageWord(file, rests[i].paragraph, rests[i].at)); },
      [&](size_t i) { return LookupPageWord(file, rests[i].paragraph, rests[i].at).word; });
}

// Builds the dictionary with one block size, then measures the file size,
// how many blocks a word's index entry names on average, and the average
// cold lookup (a fresh cache) of a sample of head tokens.
void BM_BlockSize(benchmark::State& state) {
  static std::vector<SourceEntry> source;
  static EnglishForms english;
  if (source.empty()) {
    std::string error;
    if (!ReadFreedict("/usr/share/dictd/freedict-eng-ces.index",
                      "/usr/share/dictd/freedict-eng-ces.dict.dz", &source, &error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    english.LoadWordList("/usr/share/dict/words", &error);
  }
  DictionaryWriter writer;
  DictionaryBuilder::Summary summary;
  DictionaryBuilder(english).Add(source, &writer, &summary);
  DictionaryWriter::Options options;
  options.blockSize = static_cast<size_t>(state.range(0));
  std::string bytes, error;
  DictionaryWriter::Summary written;
  writer.Build(options, &bytes, &error, &written);
  auto* data = reinterpret_cast<const uint8_t*>(bytes.data());

  DictionaryFile warm;
  warm.OpenBytes(data, bytes.size());
  std::vector<std::string> tokens = HeadTokensOf(warm);
  std::mt19937 random(7);
  std::shuffle(tokens.begin(), tokens.end(), random);
  tokens.resize(500);
  double blocks_per_word = 0;
  for (const std::string& token : tokens) {
    IndexEntry entry;
    if (warm.FindIndexEntry(token.data(), token.size(), &entry)) {
      blocks_per_word += static_cast<double>(entry.blockCount);
    }
  }
  for (auto _ : state) {
    for (const std::string& token : tokens) {
      state.PauseTiming();
      auto cold = std::make_unique<DictionaryFile>();
      cold->OpenBytes(data, bytes.size());
      state.ResumeTiming();
      benchmark::DoNotOptimize(Lookup(*cold, token));
      state.PauseTiming();
      cold.reset();
      state.ResumeTiming();
    }
  }
  state.counters["file_KB"] = static_cast<double>(bytes.size()) / 1024;
  state.counters["blocks"] = static_cast<double>(written.blocks);
  state.counters["blocks_per_word"] = blocks_per_word / static_cast<double>(tokens.size());
  state.counters["cold_lookup_s"] = benchmark::Counter(
      static_cast<double>(tokens.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_RealOpenDictionary)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RealWarmLookupEveryHeadToken)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealWarmLookupGplWords)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealWarmRestOnGplWords)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealAnswerMisses)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlockSize)->RangeMultiplier(2)->Range(2048, 65536)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vordo

BENCHMARK_MAIN();

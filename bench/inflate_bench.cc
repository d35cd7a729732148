// Which inflater, and whether to compress the blocks at all: every block of
// the built dictionary (dic.bin beside vordo, or $VORDO_DICT) inflated once,
// and the blocks that "the" and "went" read, as a first lookup of each
// inflates them; by zlib and, where Debian's libdeflate is installed, by
// libdeflate; each from the blocks as built (zlib level 9) and from the
// same blocks stored (level 0, still zlib streams, so the reader is the
// same). Reports microseconds per block and the bytes of the block data.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#ifdef VORDO_HAVE_LIBDEFLATE
#include <libdeflate.h>
#endif

#include "dictionary/dictionary_file.h"
#include "dictionary/format_reader.h"
#include "platform/platform.h"

namespace vordo {
namespace {

struct Block {
  std::string stream;  // a complete zlib stream
  size_t inflated = 0;
};

struct Blocks {
  std::vector<Block> built;
  std::vector<Block> stored;
  std::vector<size_t> of_the;
  std::vector<size_t> of_went;
};

std::vector<size_t> BlocksOf(const DictionaryFile& file, const std::string& word) {
  std::vector<size_t> numbers;
  IndexEntry entry;
  if (!file.FindIndexEntry(word.data(), word.size(), &entry)) return numbers;
  for (size_t i = 0; i < entry.blockCount; ++i) {
    numbers.push_back(ReadU16(entry.blockNumbers + i * kBlockNumberSize) & kBlockNumberMask);
  }
  return numbers;
}

// The blocks of the dictionary, read once for all benchmarks; empty when
// there is no dictionary.
const Blocks& DictionaryBlocks() {
  static const Blocks blocks = [] {
    Blocks read;
    const char* path = std::getenv("VORDO_DICT");
    MappedFile mapping;
    std::string error;
    FileLayout layout;
    if (!mapping.Open(path != nullptr ? path : VORDO_BUILT_DICTIONARY, &error) ||
        !ReadFileLayout(mapping.data(), mapping.size(), &layout, nullptr)) {
      return read;
    }
    for (size_t n = 0;; ++n) {
      BlockExtent extent;
      BlockBytes bytes;
      if (ReadBlock(mapping.data(), mapping.size(), layout, n, &extent, &bytes) != BlockStatus::kOk) break;
      const char* stream = reinterpret_cast<const char*>(mapping.data() + layout.blockData + extent.begin);
      read.built.push_back({std::string(stream, extent.end - extent.begin), extent.inflated});
      uLongf length = compressBound(static_cast<uLong>(extent.inflated));
      std::string stored(length, '\0');
      compress2(reinterpret_cast<Bytef*>(stored.data()), &length, reinterpret_cast<const Bytef*>(bytes.text),
                static_cast<uLong>(extent.inflated), 0);
      stored.resize(length);
      read.stored.push_back({std::move(stored), extent.inflated});
    }
    DictionaryFile file;
    if (file.Open(path != nullptr ? path : VORDO_BUILT_DICTIONARY)) {
      read.of_the = BlocksOf(file, "the");
      read.of_went = BlocksOf(file, "went");
    }
    return read;
  }();
  return blocks;
}

enum Which { kEvery, kOfThe, kOfWent };
enum Form { kBuilt, kStored };

std::vector<size_t> Chosen(const Blocks& blocks, int which) {
  if (which == kOfThe) return blocks.of_the;
  if (which == kOfWent) return blocks.of_went;
  std::vector<size_t> every(blocks.built.size());
  for (size_t i = 0; i < every.size(); ++i) every[i] = i;
  return every;
}

template <typename Inflate>
void InflateBlocks(benchmark::State& state, Inflate inflate) {
  const Blocks& blocks = DictionaryBlocks();
  if (blocks.built.empty()) {
    state.SkipWithError("no dictionary");
    return;
  }
  const std::vector<Block>& form = state.range(1) == kStored ? blocks.stored : blocks.built;
  std::vector<size_t> chosen = Chosen(blocks, static_cast<int>(state.range(0)));
  std::vector<char> out;
  size_t data_bytes = 0;
  for (size_t n : chosen) data_bytes += form[n].stream.size();
  for (auto _ : state) {
    for (size_t n : chosen) {
      out.resize(form[n].inflated);
      if (!inflate(form[n], out.data())) state.SkipWithError("a block does not inflate");
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.counters["blocks"] = static_cast<double>(chosen.size());
  state.counters["us_per_block"] = benchmark::Counter(
      static_cast<double>(chosen.size()) * 1e-6, benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
  state.counters["data_MB"] = static_cast<double>(data_bytes) / 1048576;
}

void BM_InflateZlib(benchmark::State& state) {
  InflateBlocks(state, [](const Block& block, char* out) {
    uLongf length = static_cast<uLongf>(block.inflated);
    return uncompress(reinterpret_cast<Bytef*>(out), &length, reinterpret_cast<const Bytef*>(block.stream.data()),
                      static_cast<uLong>(block.stream.size())) == Z_OK &&
           length == block.inflated;
  });
}

#ifdef VORDO_HAVE_LIBDEFLATE
void BM_InflateLibdeflate(benchmark::State& state) {
  std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> decompressor(
      libdeflate_alloc_decompressor(), &libdeflate_free_decompressor);
  InflateBlocks(state, [&decompressor](const Block& block, char* out) {
    return libdeflate_zlib_decompress(decompressor.get(), block.stream.data(), block.stream.size(), out,
                                      block.inflated, nullptr) == LIBDEFLATE_SUCCESS;
  });
}
#endif

void Cases(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgNames({"blocks_0every_1the_2went", "0built_1stored"})->Unit(benchmark::kMicrosecond);
  for (int which : {kEvery, kOfThe, kOfWent}) {
    for (int form : {kBuilt, kStored}) benchmark->Args({which, form});
  }
}

BENCHMARK(BM_InflateZlib)->Apply(Cases);
#ifdef VORDO_HAVE_LIBDEFLATE
BENCHMARK(BM_InflateLibdeflate)->Apply(Cases);
#endif

}  // namespace
}  // namespace vordo

BENCHMARK_MAIN();

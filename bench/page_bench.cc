// Rewriting a large real page, and tokenizing it alone. The page is
// $VORDO_PAGE, or Node.js's one-page API manual where Debian installs it, or
// else every HTML page under /usr/share/doc joined together.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <new>
#include <sstream>
#include <string>

#include "markup/span_marker.h"
#include "platform/platform.h"
#include "platform/utf8.h"

namespace {

// Live and peak heap bytes, to compare the marker's peak with its output.
std::atomic<size_t> g_live{0};
std::atomic<size_t> g_peak{0};

}  // namespace

void* operator new(size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  size_t live = g_live += malloc_usable_size(block);
  size_t peak = g_peak.load();
  while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
  }
  return block;
}

void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  g_live -= malloc_usable_size(block);
  std::free(block);
}

void operator delete(void* block, size_t) noexcept { operator delete(block); }

namespace vordo {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

// The body's markup as the file has it, in UTF-8.
const std::string& PageUtf8() {
  static const std::string page = [] {
    const char* chosen = std::getenv("VORDO_PAGE");
    std::string html = ReadFile(chosen != nullptr ? chosen : "/usr/share/doc/nodejs/api/all.html");
    // Without it, smaller real pages repeated to over 1 MB.
    for (int round = 0; html.size() < (1u << 20) && round < 256; ++round) {
      html += ReadFile("/usr/share/doc/bzip2/manual.html") + ReadFile("/usr/share/doc/bc/bc.html");
    }
    size_t body = html.find("<body");
    body = body == std::string::npos ? 0 : html.find('>', body) + 1;
    size_t end = html.rfind("</body>");
    return html.substr(body, end == std::string::npos ? std::string::npos : end - body);
  }();
  return page;
}

// The body's markup in Windows-1250, as the panel hands it to the marker.
const std::string& Page() {
  static const std::string page = Utf8ToNarrow(PageUtf8());
  return page;
}

// Collects text, tags and raw pieces, and never stops.
class Tokenizer final : public HtmlTokenizer {
 public:
  Tokenizer() : HtmlTokenizer(false, true) {}

  size_t events = 0;

 protected:
  void OnText(std::string) override { ++events; }
  void OnTag(TagRecord&) override { ++events; }
  void OnRaw(std::string) override { ++events; }
  void OnProgress(unsigned) override {}
  bool ShouldStop() override { return false; }
};

// Marks `page` with `mark` at each iteration, counting the heap's peak
// against the output's size.
template <typename Text, typename Mark>
void MeasureMarking(benchmark::State& state, const Text& page, Mark mark) {
  using Char = typename Text::value_type;
  size_t output = 0;
  size_t peak = 0;
  for (auto _ : state) {
    size_t before = g_live.load();
    g_peak = before;
    SpanMarker marker;
    Text marked = mark(marker, page);
    output = marked.size() * sizeof(Char);
    peak = g_peak.load() - before;
    benchmark::DoNotOptimize(marked.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size() * sizeof(Char)));
  state.counters["characters_M"] = static_cast<double>(page.size()) / 1e6;
  state.counters["output_MB"] = static_cast<double>(output) / 1e6;
  state.counters["peak_per_output"] = static_cast<double>(peak) / static_cast<double>(output);
}

void BM_Rewrite(benchmark::State& state) {
  MeasureMarking(state, Page(), [](SpanMarker& marker, const std::string& page) {
    return marker.Rewrite(page);
  });
}

// The browser's path: the body as UTF-16, marked in place of converting it.
void BM_RewriteUtf16(benchmark::State& state) {
  static const std::u16string page = NarrowToWide(Page());
  MeasureMarking(state, page, [](SpanMarker& marker, const std::u16string& text) {
    return marker.RewriteUtf16(text);
  });
}

// The path of `vordo mark`: UTF-8 marked as it is.
void BM_RewriteUtf8(benchmark::State& state) {
  MeasureMarking(state, PageUtf8(), [](SpanMarker& marker, const std::string& text) {
    return marker.RewriteUtf8(text);
  });
}

void BM_TokenizeOnly(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) {
    Tokenizer tokenizer;
    tokenizer.Reset();
    tokenizer.Feed(page.data(), page.size());
    tokenizer.Finish();
    benchmark::DoNotOptimize(tokenizer.events);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

BENCHMARK(BM_Rewrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RewriteUtf16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RewriteUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TokenizeOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vordo

BENCHMARK_MAIN();

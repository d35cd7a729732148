// vordo build: dic.bin from the FreeDict English-Czech dictionary and
// WordNet's English word forms.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dictionary/dictionary_writer.h"
#include "tools/command_line.h"
#include "tools/dictionary_builder.h"
#include "tools/english_forms.h"
#include "tools/freedict_source.h"

namespace vordo {
namespace {

constexpr char kDefaultIndex[] = "/usr/share/dictd/freedict-eng-ces.index";
constexpr char kDefaultData[] = "/usr/share/dictd/freedict-eng-ces.dict.dz";
constexpr char kDefaultWordNet[] = "/usr/share/wordnet";
constexpr char kDefaultWords[] = "/usr/share/dict/words";
// Measured with dictionary_bench's BM_BlockSize on the FreeDict source: a
// word's entries lie in 1.3 blocks at any size, the file shrinks by only 3 %
// from 4 KiB to 64 KiB blocks, and a first lookup costs in proportion to the
// block size (59 us at 4 KiB, 440 us at 64 KiB).
constexpr size_t kDefaultBlockSize = 4096;
// A block holds at least a few records, and no more than a first lookup may
// inflate at once.
constexpr size_t kMinBlockSize = 64;
constexpr size_t kMaxBlockSize = 1 << 20;

// The --block-size value: decimal digits only, within the sane range.
bool ParseBlockSize(const std::string& text, size_t* size) {
  if (text.empty() || text.size() > 8 || text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  *size = std::strtoul(text.c_str(), nullptr, 10);
  return *size >= kMinBlockSize && *size <= kMaxBlockSize;
}

void Progress(const char* step) {
  if (StandardErrorIsTerminal()) std::fprintf(stderr, "\r\033[K%s", step);
}

bool LoadEnglish(const std::string& wordnet, const std::string& words, EnglishForms* english,
                 std::string* error) {
  if (!english->LoadWordList(words, error)) return false;
  const std::pair<const char*, unsigned> indexes[] = {
      {"index.noun", kNounClass}, {"index.verb", kVerbClass}, {"index.adj", kAdjectiveClass}};
  for (const auto& index : indexes) {
    if (!english->LoadWordNetIndex(wordnet + "/" + index.first, index.second, error)) return false;
  }
  for (const char* exceptions : {"noun.exc", "verb.exc", "adj.exc", "adv.exc"}) {
    if (!english->LoadExceptions(wordnet + "/" + exceptions, error)) return false;
  }
  return true;
}

int RunBuild(const std::vector<std::string>& args) {
  ParsedOptions options;
  std::string error;
  if (!ParseOptions(args, {{"index", true}, {"data", true}, {"wordnet", true}, {"words", true},
                           {"output", true}, {"block-size", true}},
                    &options, &error)) {
    return UsageError(BuildCommand(), error);
  }
  if (options.help) return PrintCommandHelp(BuildCommand());
  if (!options.operands.empty()) return UsageError(BuildCommand(), "takes no operands");
  DictionaryWriter::Options write_options;
  if (!ParseBlockSize(options.Value("block-size", std::to_string(kDefaultBlockSize)),
                      &write_options.blockSize)) {
    return UsageError(BuildCommand(), "--block-size takes a number of bytes from " +
                                          std::to_string(kMinBlockSize) + " to " +
                                          std::to_string(kMaxBlockSize));
  }
  std::string output = options.Value("output", DefaultDictionaryPath());

  auto start = std::chrono::steady_clock::now();
  Progress("Reading the dictionary source...");
  std::vector<SourceEntry> source;
  EnglishForms english;
  if (!ReadFreedict(options.Value("index", kDefaultIndex), options.Value("data", kDefaultData),
                    &source, &error) ||
      !LoadEnglish(options.Value("wordnet", kDefaultWordNet), options.Value("words", kDefaultWords),
                   &english, &error)) {
    Progress("");
    std::fprintf(stderr, "vordo build: %s\n", error.c_str());
    return kExitFailure;
  }
  Progress("Building entries and word forms...");
  DictionaryWriter writer;
  DictionaryBuilder::Summary summary;
  DictionaryBuilder(english).Add(source, &writer, &summary);
  Progress("Compressing and writing...");
  DictionaryWriter::Summary written;
  if (!writer.WriteFile(output, write_options, &error, &written)) {
    Progress("");
    std::fprintf(stderr, "vordo build: %s\n", error.c_str());
    return kExitFailure;
  }
  Progress("Indexing the Czech words...");
  std::string czech_path = CzechIndexPathFor(output);
  size_t czech_size = 0;
  if (!WriteCzechIndex(output, czech_path, &czech_size, &error)) {
    Progress("");
    std::fprintf(stderr, "vordo build: %s\n", error.c_str());
    return kExitFailure;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  Progress("");
  std::printf(
      "%s\n"
      "  head texts     %zu\n"
      "  translations   %zu\n"
      "  lemma records  %zu (%zu forms, %zu paradigms)\n"
      "  index entries  %zu\n"
      "  blocks         %zu of %zu bytes (%zu bytes inflated)\n"
      "  file size      %zu bytes\n"
      "  Czech index    %s, %zu bytes\n"
      "  time           %.2f s\n"
      "  characters without a Windows-1250 form: %zu\n",
      output.c_str(), summary.headTexts, summary.translations, summary.lemmaRecords, summary.forms,
      summary.paradigms, written.indexEntries, written.blocks, write_options.blockSize,
      written.inflatedBytes, written.fileSize, czech_path.c_str(), czech_size, seconds,
      summary.unmappedCharacters);
  return kExitOk;
}

}  // namespace

const Command& BuildCommand() {
  static const Command command{
      "build",
      "build [--index FILE] [--data FILE] [--wordnet DIR] [--words FILE] [-o FILE] [--block-size N]",
      "Builds dic.bin from the FreeDict English-Czech dictionary (dictd format), with\n"
      "English word forms from WordNet's exception lists and regular inflection rules\n"
      "checked against a word list, and beside it dic-cs.bin, the index of the Czech\n"
      "words of its translations.",
      "Options:\n"
      "  --index FILE      the dictd index (default /usr/share/dictd/freedict-eng-ces.index)\n"
      "  --data FILE       the dictd data (default /usr/share/dictd/freedict-eng-ces.dict.dz)\n"
      "  --wordnet DIR     WordNet's index and exception files (default /usr/share/wordnet)\n"
      "  --words FILE      the English word list (default /usr/share/dict/words)\n"
      "  -o, --output FILE where to write (default: dic.bin beside the vordo executable)\n"
      "  --block-size N    inflated bytes per block, 64 to 1048576 (default 4096)\n\n"
      "Exit status: 0 when written, 1 when a source cannot be read or the file written.\n",
      RunBuild};
  return command;
}

}  // namespace vordo

// vordo_quality: how well the built dictionary serves a reader.
//
//   hover FILE...   the share of word tokens of English texts (as a page shows
//                   them, capitals kept) for which a lookup finds an entry
//   inflections     the share of WordNet's irregular noun and verb forms whose
//                   lookup finds an entry of their base word
//   phrases         the share of 1,000 random multi-word heads of the source,
//                   typed as written, whose own entry is among the first 3
//   derived FILE    words the engine rescues from nothing found, with the
//                   base a reader wants ("-": none): the share of rescues
//                   that give another base (false rescues)
//   spelling FILE   misspellings with the word meant: the share where it is
//                   the first suggestion, and among the first three
//   czech FILE      Czech words with an English head that has them: the
//                   share where it is among the first three heads shown
//   rests FILE      rests of the mouse on words of phrases: the precision
//                   (a phrase put first is the one expected) and the recall
//                   (an expected phrase is put first) of the phrase finder
//
// Options: --dict FILE (default dic.bin beside the executable), --index FILE,
// --data FILE (the source), --wordnet DIR, --at-least PERCENT (fail below).
#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "engine/answer.h"
#include "engine/czech_lookup.h"
#include "engine/lookup.h"
#include "engine/page_lookup.h"
#include "engine/query.h"
#include "markup/word_bytes.h"
#include "platform/utf8.h"
#include "tools/command_line.h"
#include "tools/dictionary_builder.h"
#include "tools/freedict_source.h"

namespace vordo {
namespace {

constexpr size_t kPhraseSample = 1000;
constexpr size_t kPhraseRank = 3;

std::string HeadWithoutGroup(const std::string& head) {
  size_t group = head.find(" (");
  return group == std::string::npos ? head : head.substr(0, group);
}

std::vector<std::string> WordTokens(const std::string& narrow) {
  std::vector<std::string> tokens;
  std::string current;
  for (char c : narrow) {
    if (IsWordByte(static_cast<uint8_t>(c))) {
      current += c;
    } else if (!current.empty()) {
      tokens.push_back(current);
      current.clear();
    }
  }
  if (!current.empty()) tokens.push_back(current);
  return tokens;
}

// The share below which a measurement fails (--at-least PERCENT).
double g_required_percent = 0;

int Report(const char* what, size_t hits, size_t total) {
  double percent = total == 0 ? 0.0 : 100.0 * static_cast<double>(hits) / static_cast<double>(total);
  std::printf("%s: %zu of %zu (%.2f %%)\n", what, hits, total, percent);
  if (percent >= g_required_percent) return kExitOk;
  std::printf("below the required %.2f %%\n", g_required_percent);
  return kExitFailure;
}

int Hover(const DictionaryFile& dictionary, const std::vector<SourceEntry>& source,
          const std::vector<std::string>& files) {
  std::set<std::string> heads;
  for (const SourceEntry& entry : source) heads.insert(LowerCaseAscii(Utf8ToNarrow(entry.head)));
  size_t total = 0, found = 0, exact = 0;
  std::map<std::string, size_t> misses;
  for (const std::string& path : files) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    for (const std::string& token : WordTokens(Utf8ToNarrow(text.str()))) {
      ++total;
      if (heads.count(LowerCaseAscii(token)) > 0) ++exact;
      if (!Lookup(dictionary, token).empty()) {
        ++found;
      } else {
        ++misses[token];
      }
    }
  }
  std::printf("exact lower-cased head match: %zu of %zu\n", exact, total);
  size_t derived = 0, suggested = 0;
  for (const auto& miss : misses) {
    QueryAnswer answer = AnswerFieldText(dictionary, miss.first);
    bool rescued = answer.kind == QueryAnswer::Kind::kDerived;
    if (rescued) derived += miss.second;
    if (answer.kind == QueryAnswer::Kind::kSuggested) suggested += miss.second;
    std::printf("  miss: %s (%zu)%s%s\n", NarrowToUtf8(miss.first).c_str(), miss.second, rescued ? " -> " : "",
                NarrowToUtf8(answer.base).c_str());
  }
  std::printf("of the tokens found nothing for: %zu shown a word they are made of, %zu suggestions, %zu "
              "nothing (%.2f %% of all tokens)\n",
              derived, suggested, total - found - derived - suggested,
              total == 0 ? 0.0 : 100.0 * static_cast<double>(total - found - derived - suggested) / static_cast<double>(total));
  return Report("hover lookups finding an entry", found, total);
}

int Inflections(const DictionaryFile& dictionary, const std::vector<SourceEntry>& source,
                const std::string& wordnet) {
  std::set<std::string> heads;
  for (const SourceEntry& entry : source) heads.insert(entry.head);
  size_t total = 0, found = 0;
  for (const char* name : {"verb.exc", "noun.exc"}) {
    std::ifstream file(wordnet + "/" + name);
    std::string line;
    while (std::getline(file, line)) {
      std::istringstream words(line);
      std::string form, base;
      words >> form;
      while (words >> base) {
        if (heads.count(base) == 0 || form.find('_') != std::string::npos) continue;
        ++total;
        bool hit = false;
        for (const ResultEntry& result : Lookup(dictionary, form)) {
          hit = hit || HeadWithoutGroup(result.head) == base;
        }
        if (hit) {
          ++found;
        } else {
          std::printf("  miss: %s (%s)\n", form.c_str(), base.c_str());
        }
      }
    }
  }
  return Report("irregular forms finding their base word", found, total);
}

int Phrases(const DictionaryFile& dictionary, const std::vector<SourceEntry>& source) {
  std::vector<const SourceEntry*> phrases;
  for (const SourceEntry& entry : source) {
    if (entry.head.find(' ') != std::string::npos) phrases.push_back(&entry);
  }
  std::mt19937 random(1000);
  std::shuffle(phrases.begin(), phrases.end(), random);
  phrases.resize(std::min(phrases.size(), kPhraseSample));
  size_t found = 0;
  for (const SourceEntry* entry : phrases) {
    std::string head = Utf8ToNarrow(entry->head);
    std::string own = entry->partOfSpeech.empty()
                          ? head
                          : head + " " + DictionaryBuilder::PartOfSpeechGroup(entry->partOfSpeech);
    std::string query = head;
    TrimQuery(&query);
    std::vector<ResultEntry> results = Lookup(dictionary, query);
    bool hit = false;
    for (size_t i = 0; i < results.size() && i < kPhraseRank; ++i) hit = hit || results[i].head == own;
    if (hit) {
      ++found;
    } else {
      std::printf("  miss: %s\n", entry->head.c_str());
    }
  }
  return Report("phrases with their own entry among the first 3", found, phrases.size());
}

// Reads the lines of a list file: TAB-separated fields, '#' lines and
// empty ones skipped. False when the file cannot be read.
bool ReadListFile(const std::string& path, std::vector<std::vector<std::string>>* rows) {
  std::ifstream file(path);
  if (!file) {
    std::fprintf(stderr, "vordo_quality: cannot read %s\n", path.c_str());
    return false;
  }
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
      fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    rows->push_back(std::move(fields));
  }
  return true;
}

// Lines "WORD TAB BASE": a false rescue is a rescue to another base than
// BASE ("-": none is right).
int Derived(const DictionaryFile& dictionary, const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  if (!ReadListFile(path, &rows)) return kExitFailure;
  size_t rescued = 0, right = 0;
  for (const std::vector<std::string>& row : rows) {
    if (row.size() < 2) continue;
    QueryAnswer answer = AnswerFieldText(dictionary, Utf8ToNarrow(row[0]));
    if (answer.kind != QueryAnswer::Kind::kDerived) continue;
    ++rescued;
    std::string base = NarrowToUtf8(answer.base);
    if (base == row[1]) {
      ++right;
    } else {
      std::printf("  %s -> %s, wanted %s\n", row[0].c_str(), base.c_str(), row[1].c_str());
    }
  }
  return Report("rescues to the base a reader wants (1 - false rescues)", right, rescued);
}

// Lines "MISSPELLING TAB WORD": whether WORD is the first suggestion, and
// among the first three. Words that are no head of the dictionary are left
// out (nothing can suggest them).
int Spelling(const DictionaryFile& dictionary, const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  if (!ReadListFile(path, &rows)) return kExitFailure;
  size_t total = 0, first = 0, top3 = 0;
  for (const std::vector<std::string>& row : rows) {
    if (row.size() < 2) continue;
    IndexEntry entry;
    if (!dictionary.FindIndexEntry(row[1].data(), row[1].size(), &entry)) {
      std::printf("  no head: %s\n", row[1].c_str());
      continue;
    }
    ++total;
    QueryAnswer answer = AnswerFieldText(dictionary, row[0]);
    const std::vector<std::string>& offered = answer.suggestions;
    auto at = std::find(offered.begin(), offered.end(), row[1]);
    first += at == offered.begin() && at != offered.end();
    bool in_top3 = at != offered.end() && at - offered.begin() < 3;
    top3 += in_top3;
    if (!in_top3) {
      std::string shown = answer.kind == QueryAnswer::Kind::kDerived ? "-> " + answer.base : "";
      for (const std::string& word : offered) shown += word + " ";
      std::printf("  %s: %s (wanted %s)\n", row[0].c_str(), shown.c_str(), row[1].c_str());
    }
  }
  Report("misspellings whose word is suggested first", first, total);
  return Report("misspellings whose word is among the first three suggestions", top3, total);
}

// Lines "CZECH TAB HEAD": whether HEAD is among the first three English
// heads that the Czech word shows, in the order they are shown.
int Czech(const DictionaryFile& dictionary, const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  if (!ReadListFile(path, &rows)) return kExitFailure;
  size_t total = 0, found = 0;
  for (const std::vector<std::string>& row : rows) {
    if (row.size() < 2) continue;
    ++total;
    std::vector<std::string> heads;
    for (const ResultEntry& result : CzechLookup(dictionary, ProcessCzechIndex(), Utf8ToNarrow(row[0]))) {
      for (const std::string& head : result.translations) {
        std::string bare = HeadWithoutGroup(head);
        if (std::find(heads.begin(), heads.end(), bare) == heads.end()) heads.push_back(bare);
      }
    }
    auto at = std::find(heads.begin(), heads.end(), row[1]);
    if (at != heads.end() && at - heads.begin() < 3) {
      ++found;
    } else {
      std::printf("  %s: %s%s (wanted %s)\n", row[0].c_str(), heads.empty() ? "nothing" : heads[0].c_str(),
                  heads.size() > 1 ? ", ..." : "", row[1].c_str());
    }
  }
  return Report("Czech words whose English head is among the first three", found, total);
}

// One line of a rests file: the phrase expected first ("-" for none), a
// TAB, and UTF-8 text whose word in brackets is where the mouse rests.
// Lines starting with '#' say how the list was made.
int Rests(const DictionaryFile& dictionary, const std::string& path) {
  std::ifstream file(path);
  if (!file) {
    std::fprintf(stderr, "vordo_quality: cannot read %s\n", path.c_str());
    return kExitFailure;
  }
  size_t shown = 0, shown_right = 0, expected = 0, expected_found = 0, rests = 0;
  std::string line;
  while (std::getline(file, line)) {
    size_t tab = line.find('\t');
    if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
    std::string want = line.substr(0, tab);
    std::u16string text = Utf8ToWide(line.substr(tab + 1));
    size_t open = text.find(u'[');
    size_t close = text.find(u']', open);
    if (open == std::u16string::npos || close == std::u16string::npos) {
      std::fprintf(stderr, "vordo_quality: no [rest] in: %s\n", line.c_str());
      return kExitFailure;
    }
    text.erase(close, 1);
    text.erase(open, 1);
    std::string phrase = NarrowToUtf8(LookupPageWord(dictionary, text, open).phrase);
    ++rests;
    bool wanted = want != "-";
    expected += wanted;
    expected_found += wanted && phrase == want;
    if (!phrase.empty()) {
      ++shown;
      shown_right += phrase == want;
    }
    if (phrase != (wanted ? want : "")) {
      std::printf("  %s: shown \"%s\", expected \"%s\"\n", line.substr(tab + 1).c_str(), phrase.c_str(),
                  want.c_str());
    }
  }
  std::printf("%zu rests, %zu with a phrase expected\n", rests, expected);
  int precision = Report("phrases put first that are the phrase of the text (precision)", shown_right, shown);
  int recall = Report("phrases of the text put first (recall)", expected_found, expected);
  return precision != kExitOk ? precision : recall;
}

}  // namespace
}  // namespace vordo

int main(int argc, char** argv) {
  using namespace vordo;
  std::vector<std::string> args(argv + 1, argv + argc);
  ParsedOptions options;
  std::string error;
  if (args.empty() ||
      !ParseOptions(std::vector<std::string>(args.begin() + 1, args.end()),
                    {{"dict", true}, {"index", true}, {"data", true}, {"wordnet", true},
                     {"at-least", true}},
                    &options,
                    &error)) {
    std::fprintf(stderr, "usage: vordo_quality hover|inflections|phrases|czech|derived|spelling|rests [options] [FILE...] %s\n",
                 error.c_str());
    return kExitUsage;
  }
  g_required_percent = std::atof(options.Value("at-least", "0").c_str());
  std::string path = options.Value("dict", DefaultDictionaryPath());
  if (!OpenDictionary(path, &error)) {
    std::fprintf(stderr, "vordo_quality: %s: %s\n", path.c_str(), error.c_str());
    return kExitFailure;
  }
  OpenCzechIndexBeside(path);
  std::vector<SourceEntry> source;
  if (!ReadFreedict(options.Value("index", "/usr/share/dictd/freedict-eng-ces.index"),
                    options.Value("data", "/usr/share/dictd/freedict-eng-ces.dict.dz"), &source,
                    &error)) {
    std::fprintf(stderr, "vordo_quality: %s\n", error.c_str());
    return kExitFailure;
  }
  const DictionaryFile& dictionary = ProcessDictionary();
  if (args[0] == "hover") return Hover(dictionary, source, options.operands);
  if (args[0] == "inflections") {
    return Inflections(dictionary, source, options.Value("wordnet", "/usr/share/wordnet"));
  }
  if (args[0] == "phrases") return Phrases(dictionary, source);
  if (args[0] == "rests" && options.operands.size() == 1) return Rests(dictionary, options.operands[0]);
  if (args[0] == "czech" && options.operands.size() == 1) return Czech(dictionary, options.operands[0]);
  if (args[0] == "derived" && options.operands.size() == 1) return Derived(dictionary, options.operands[0]);
  if (args[0] == "spelling" && options.operands.size() == 1) return Spelling(dictionary, options.operands[0]);
  std::fprintf(stderr, "vordo_quality: unknown measurement %s\n", args[0].c_str());
  return kExitUsage;
}

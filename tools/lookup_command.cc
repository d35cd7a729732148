// vordo lookup and vordo forms: the engine from a terminal.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "engine/answer.h"
#include "engine/czech_lookup.h"
#include "engine/lookup.h"
#include "engine/page_lookup.h"
#include "engine/query.h"
#include "engine/result_lines.h"
#include "engine/word_forms.h"
#include "platform/platform.h"
#include "platform/utf8.h"
#include "tools/command_line.h"

namespace vordo {
namespace {

constexpr char kCannotOpenMessage[] = "Nelze otev\xC5\x99\xC3\xADt soubor se slovn\xC3\xADkem.";
// Introduces each answer of a batch. No result line starts with it: a
// result line starts with its score.
constexpr char kRawBatchHeader[] = "#\t";
constexpr char kBatchHeader[] = "# ";
// Running text repeats its words ("the" stands in every tenth line and has
// thousands of entries), so a batch keeps the answers it has printed, up to
// this many bytes.
constexpr size_t kAnswerMemoryBytes = 64 << 20;

void WriteBytes(const std::string& bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

// Parses the common options and the text operands of lookup and forms (at
// most one, or exactly one when `operand_required`), and opens the
// dictionary. Returns -1 when the command may go on.
int Prepare(const Command& command, const std::vector<std::string>& args, bool operand_required,
            ParsedOptions* options) {
  std::string error;
  if (!ParseOptions(args, {{"raw", false}, {"dict", true}, {"at", true}}, options, &error)) {
    return UsageError(command, error);
  }
  if (options->help) return PrintCommandHelp(command);
  if (options->operands.size() > 1 || (operand_required && options->operands.empty())) {
    return UsageError(command, "give exactly one text (quote a phrase)");
  }
  std::string path = options->Value("dict", DefaultDictionaryPath());
  std::string reason;
  if (!OpenDictionary(path, &reason)) {
    std::fprintf(stderr, "%s\n%s: %s\n", kCannotOpenMessage, path.c_str(), reason.c_str());
    return kExitFailure;
  }
  OpenCzechIndexBeside(path);
  return -1;
}

// Text from the command line or standard input as the engine takes it:
// Windows-1250, UTF-8 unless `raw`.
std::string NarrowText(const std::string& text, bool raw) {
  return raw ? text : Utf8ToNarrow(text);
}

// A head line for people: the head in bold, its parenthesised groups grey.
std::string FormatHead(const std::string& head, const Colours& colours) {
  std::string line = colours.head;
  size_t pos = 0;
  while (pos < head.size()) {
    size_t open = head.find('(', pos);
    if (open == std::string::npos) open = head.size();
    line += NarrowToUtf8(head.substr(pos, open - pos));
    if (open == head.size()) break;
    size_t close = head.find(')', open);
    size_t group_end = close == std::string::npos ? head.size() : close + 1;
    line += std::string(colours.reset) + colours.group +
            NarrowToUtf8(head.substr(open, group_end - open)) + colours.reset + colours.head;
    pos = group_end;
  }
  return line + colours.reset;
}

void AppendResults(const std::vector<ResultEntry>& results, bool raw, const Colours& colours,
                   std::string* out) {
  if (raw) {
    AppendResultLines(results, out);
    return;
  }
  for (const ResultEntry& result : results) {
    *out += FormatHead(result.head, colours);
    for (const std::string& translation : result.translations) {
      *out += "\n    ";
      *out += NarrowToUtf8(translation);
    }
    *out += '\n';
  }
}

// An answer as the tool prints it: a line on what was done when the query
// itself found nothing, then the results.
void AppendAnswer(const std::string& query, const QueryAnswer& answer, bool raw, const Colours& colours,
                  std::string* out) {
  if (raw) {
    AppendAnswerLines(answer, out);
    return;
  }
  if (answer.kind == QueryAnswer::Kind::kDerived) {
    *out += NarrowToUtf8(query) + " \xE2\x86\x92 " + NarrowToUtf8(answer.base) + '\n';
  } else if (answer.kind == QueryAnswer::Kind::kCzech) {
    *out += NarrowToUtf8(query) + " (\xC4\x8D" "esky) \xE2\x86\x92 English:\n";
  } else if (answer.kind == QueryAnswer::Kind::kSuggested) {
    *out += "nothing found; did you mean: ";
    for (size_t i = 0; i < answer.suggestions.size(); ++i) {
      *out += (i == 0 ? "" : ", ") + NarrowToUtf8(answer.suggestions[i]);
    }
    *out += "?\n";
  }
  AppendResults(answer.results, raw, colours, out);
}

// Answers one query per line of standard input, each answer introduced by a
// header line with the query.
int RunBatch(bool raw) {
  // A program that feeds a line through a pipe and waits for its answer
  // must get it at once; input from a file is answered at full speed.
  struct stat input;
  bool answer_each_line = fstat(STDIN_FILENO, &input) != 0 || !S_ISREG(input.st_mode);
  Colours colours = StandardOutputColours();
  std::unordered_map<std::string, std::string> answers;
  size_t remembered = 0;
  std::string out;
  char* line = nullptr;
  size_t capacity = 0;
  ssize_t length;
  while ((length = getline(&line, &capacity, stdin)) >= 0) {
    std::string text(line, static_cast<size_t>(length));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::string query = NarrowText(text, raw);
    if (query.size() > kMaxQueryLength) query.resize(kMaxQueryLength);
    out += raw ? kRawBatchHeader : kBatchHeader;
    out += raw ? query : NarrowToUtf8(query);
    out += '\n';
    TrimQuery(&query);
    auto known = answers.find(query);
    if (known != answers.end()) {
      out += known->second;
    } else {
      std::string answer;
      QueryAnswer found = AnswerFieldText(ProcessDictionary(), query, &ProcessCzechIndex());
      AppendAnswer(query, found, raw, colours, &answer);
      out += answer;
      if (remembered + answer.size() <= kAnswerMemoryBytes) {
        remembered += answer.size();
        answers.emplace(std::move(query), std::move(answer));
      }
    }
    WriteBytes(out);
    out.clear();
    if (answer_each_line) std::fflush(stdout);
  }
  std::free(line);
  return kExitOk;
}

// The code unit of UTF-16 text where its character `index` starts, or the
// text's length when it has fewer characters.
size_t CodeUnitOfCharacter(std::u16string_view text, size_t index) {
  size_t unit = 0;
  for (size_t i = 0; i < index && unit < text.size(); ++i) {
    bool pair = text[unit] >= 0xD800 && text[unit] <= 0xDBFF && unit + 1 < text.size() &&
                text[unit + 1] >= 0xDC00 && text[unit + 1] <= 0xDFFF;
    unit += pair ? 2 : 1;
  }
  return unit;
}

// vordo lookup --at N TEXT: a rest of the mouse on character N of a page's
// text. A header line gives the word looked up and the phrase shown first.
int RunPageLookup(const std::string& text, const std::string& at, bool raw) {
  char* end = nullptr;
  unsigned long long index = std::strtoull(at.c_str(), &end, 10);
  if (at.empty() || *end != '\0' || at[0] == '-') {
    return UsageError(LookupCommand(), "--at takes the number of a character of TEXT");
  }
  std::u16string wide = raw ? NarrowToWide(text) : Utf8ToWide(text);
  PageLookup lookup = LookupPageWord(ProcessDictionary(), wide,
                                     CodeUnitOfCharacter(wide, static_cast<size_t>(index)),
                                     &ProcessCzechIndex());
  std::string out = raw ? kRawBatchHeader : kBatchHeader;
  out += raw ? lookup.word : NarrowToUtf8(lookup.word);
  if (!lookup.phrase.empty()) {
    out += raw ? "\t" : " \xE2\x86\x92 ";  // an arrow for people
    out += raw ? lookup.phrase : NarrowToUtf8(lookup.phrase);
  }
  out += '\n';
  AppendAnswer(lookup.word, lookup.answer, raw, StandardOutputColours(), &out);
  WriteBytes(out);
  return kExitOk;
}

int RunLookup(const std::vector<std::string>& args) {
  ParsedOptions options;
  int status = Prepare(LookupCommand(), args, false, &options);
  if (status >= 0) return status;
  bool raw = options.Flag("raw");
  if (options.values.count("at") > 0) {
    if (options.operands.empty()) return UsageError(LookupCommand(), "--at needs the TEXT of a page");
    return RunPageLookup(options.operands[0], options.Value("at", ""), raw);
  }
  if (options.operands.empty()) {
    if (isatty(STDIN_FILENO)) return UsageError(LookupCommand(), "give a text, or queries on standard input");
    return RunBatch(raw);
  }
  std::string query = NarrowText(options.operands[0], raw);
  QueryAnswer answer = AnswerFieldText(ProcessDictionary(), query, &ProcessCzechIndex());
  TrimQuery(&query);
  std::string out;
  AppendAnswer(query, answer, raw, StandardOutputColours(), &out);
  WriteBytes(out);
  if (answer.kind == QueryAnswer::Kind::kNothing && StandardErrorIsTerminal()) {
    std::fprintf(stderr, "vordo: nothing found for \"%s\"\n", options.operands[0].c_str());
  }
  return kExitOk;
}

int RunForms(const std::vector<std::string>& args) {
  ParsedOptions options;
  int status = Prepare(FormsCommand(), args, true, &options);
  if (status >= 0) return status;
  bool raw = options.Flag("raw");
  std::string out;
  for (const std::string& form :
       BuildWordForms(ProcessDictionary(), NarrowText(options.operands[0], raw))) {
    out += raw ? form : NarrowToUtf8(form);
    out += '\n';
  }
  WriteBytes(out);
  return kExitOk;
}

}  // namespace

const Command& LookupCommand() {
  static const Command command{
      "lookup", "lookup [--dict FILE] [--raw] [--at N] [QUERY]",
      "Looks up an English word or phrase and prints the Czech translations of the\n"
      "entries found, best first, each head with its translations beneath it.\n"
      "Without QUERY, reads one query per line from standard input (when it is not\n"
      "a terminal) and answers each in turn, introduced by a line \"# QUERY\"\n"
      "(with --raw: \"#\", a TAB and the query).",
      "The query is cut to 255 characters and trimmed as the panel does: leading ':'\n"
      "and blanks, and everything from the first '(' on, are dropped. Nothing found\n"
      "prints nothing (and a note on standard error when it is a terminal).\n\n"
      "Options:\n"
      "  --dict FILE  the dictionary to read (default: dic.bin beside the vordo executable)\n"
      "  --raw        QUERY is Windows-1250 bytes; print one line per result: the score,\n"
      "               then a TAB and the head, then a TAB and each translation, all bytes\n"
      "               unchanged\n"
      "  --at N       QUERY is text of a page and the mouse rests on its character N\n"
      "               (from 0): look up the word there as a reader means it (isn't,\n"
      "               user's, well-known, na\xC3\xAFve), with the phrase around it that the\n"
      "               dictionary has first; a line \"# WORD\" (--raw: \"#\", TAB, WORD, and\n"
      "               a TAB and the phrase when there is one) comes before the results\n\n"
      "Exit status: 0, also when nothing is found; 1 when the dictionary cannot be\n"
      "opened; 2 on a wrong call.\n",
      RunLookup};
  return command;
}

const Command& FormsCommand() {
  static const Command command{
      "forms", "forms [--dict FILE] [--raw] WORD",
      "Prints the word forms that a query word is matched with, one per line,\n"
      "in byte order.",
      "Options:\n"
      "  --dict FILE  the dictionary to read (default: dic.bin beside the vordo executable)\n"
      "  --raw        WORD is Windows-1250 bytes, and so are the forms printed\n",
      RunForms};
  return command;
}

}  // namespace vordo

// vordo lookup and vordo forms: the engine from a terminal.
#include <cstdio>
#include <string>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "engine/lookup.h"
#include "engine/query.h"
#include "engine/word_forms.h"
#include "tools/command_line.h"
#include "tools/utf8.h"

namespace vordo {
namespace {

constexpr char kCannotOpenMessage[] = "Nelze otev\xC5\x99\xC3\xADt soubor se slovn\xC3\xADkem.";

void WriteBytes(const std::string& bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

// Parses the common options and the single text operand of lookup and
// forms; opens the dictionary. Returns -1 when the command may go on.
int Prepare(const Command& command, const std::vector<std::string>& args, ParsedOptions* options,
            std::string* text) {
  std::string error;
  if (!ParseOptions(args, {{"raw", false}, {"dict", true}}, options, &error)) {
    return UsageError(command, error);
  }
  if (options->help) return PrintCommandHelp(command);
  if (options->operands.size() != 1) {
    return UsageError(command, "give exactly one text (quote a phrase)");
  }
  *text = options->Flag("raw") ? options->operands[0] : Utf8ToNarrow(options->operands[0]);
  std::string path = options->Value("dict", DefaultDictionaryPath());
  std::string reason;
  if (!OpenDictionary(path, &reason)) {
    std::fprintf(stderr, "%s\n%s: %s\n", kCannotOpenMessage, path.c_str(), reason.c_str());
    return kExitFailure;
  }
  return -1;
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

int RunLookup(const std::vector<std::string>& args) {
  ParsedOptions options;
  std::string query;
  int status = Prepare(LookupCommand(), args, &options, &query);
  if (status >= 0) return status;
  TrimQuery(&query);
  std::vector<ResultEntry> results = Lookup(ProcessDictionary(), query);
  Colours colours = StandardOutputColours();
  std::string out;
  for (const ResultEntry& result : results) {
    if (options.Flag("raw")) {
      out += std::to_string(result.score);
      out += '\t';
      out += result.head;
      for (const std::string& translation : result.translations) out += '\t' + translation;
    } else {
      out += FormatHead(result.head, colours);
      for (const std::string& translation : result.translations) {
        out += "\n    " + NarrowToUtf8(translation);
      }
    }
    out += '\n';
  }
  WriteBytes(out);
  return kExitOk;
}

int RunForms(const std::vector<std::string>& args) {
  ParsedOptions options;
  std::string word;
  int status = Prepare(FormsCommand(), args, &options, &word);
  if (status >= 0) return status;
  std::string out;
  for (const std::string& form : BuildWordForms(ProcessDictionary(), word)) {
    out += options.Flag("raw") ? form : NarrowToUtf8(form);
    out += '\n';
  }
  WriteBytes(out);
  return kExitOk;
}

}  // namespace

const Command& LookupCommand() {
  static const Command command{
      "lookup", "lookup [--dict FILE] [--raw] QUERY",
      "Looks up an English word or phrase and prints the Czech translations of the\n"
      "entries found, best first, each head with its translations beneath it.",
      "The query is trimmed as the panel trims it: leading ':' and blanks, and\n"
      "everything from the first '(' on, are dropped.\n\n"
      "Options:\n"
      "  --dict FILE  the dictionary to read (default: dic.bin beside the vordo executable)\n"
      "  --raw        QUERY is Windows-1250 bytes; print one line per result: the score,\n"
      "               then a TAB and the head, then a TAB and each translation, all bytes\n"
      "               unchanged\n\n"
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

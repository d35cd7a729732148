// vordo check: verifies a dic.bin.
#include <cstdio>
#include <string>
#include <vector>

#include "dictionary/dictionary_check.h"
#include "engine/word_forms.h"
#include "platform/platform.h"
#include "tools/command_line.h"

namespace vordo {
namespace {

int RunCheck(const std::vector<std::string>& args) {
  ParsedOptions options;
  std::string error;
  if (!ParseOptions(args, {}, &options, &error)) return UsageError(CheckCommand(), error);
  if (options.help) return PrintCommandHelp(CheckCommand());
  if (options.operands.size() != 1) return UsageError(CheckCommand(), "give one FILE");
  const std::string& path = options.operands[0];
  MappedFile file;
  if (!file.Open(path, &error)) {
    std::fprintf(stderr, "vordo check: %s: %s\n", path.c_str(), error.c_str());
    return kExitFailure;
  }
  CheckReport report = CheckDictionary(file.data(), file.size(), YieldsWordForms);
  for (const std::string& problem : report.problems) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
  }
  if (!report.ok()) {
    if (report.problemCount > report.problems.size()) {
      std::fprintf(stderr, "%s: ... and %zu more problems\n", path.c_str(),
                   report.problemCount - report.problems.size());
    }
    return kExitFailure;
  }
  std::printf("%s: no problems in %zu blocks (%zu entries), %zu index entries, %zu lemma records; "
              "all %zu head tokens indexed and found\n",
              path.c_str(), report.blocks, report.entries, report.indexEntries,
              report.lemmaRecords, report.headTokens);
  return kExitOk;
}

}  // namespace

const Command& CheckCommand() {
  static const Command command{
      "check", "check FILE",
      "Verifies every invariant of a dictionary file that the reader relies on, and\n"
      "that every head token is indexed and has a lemma record that yields it.",
      "Exit status: 0 when the file is sound, 1 on any problem (the first ones are\n"
      "listed on standard error), 2 on a wrong call.\n",
      RunCheck};
  return command;
}

}  // namespace vordo

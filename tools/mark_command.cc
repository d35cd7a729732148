// vordo mark: wraps every word of a page body's markup in a <SPAN>, as the
// panel does to the pages the user reads.
#include <cstdio>
#include <string>
#include <vector>

#include "markup/span_marker.h"
#include "tools/command_line.h"

namespace vordo {
namespace {

int RunMark(const std::vector<std::string>& args) {
  ParsedOptions options;
  std::string error;
  if (!ParseOptions(args, {{"raw", false}}, &options, &error)) return UsageError(MarkCommand(), error);
  if (options.help) return PrintCommandHelp(MarkCommand());
  if (!options.operands.empty()) return UsageError(MarkCommand(), "reads standard input; takes no operands");
  std::string input;
  char buffer[1 << 16];
  size_t length;
  while ((length = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) input.append(buffer, length);
  if (std::ferror(stdin)) {
    std::fprintf(stderr, "vordo mark: cannot read standard input\n");
    return kExitFailure;
  }
  SpanMarker marker;
  std::string output = options.Flag("raw") ? marker.Rewrite(input) : marker.RewriteUtf8(input);
  std::fwrite(output.data(), 1, output.size(), stdout);
  return kExitOk;
}

}  // namespace

const Command& MarkCommand() {
  static const Command command{
      "mark", "mark [--raw] < BODY",
      "Reads a page body's markup from standard input and writes it with every word\n"
      "in a <SPAN> of its own, as the panel rewrites the pages the user reads. Only\n"
      "the SPANs are added: every other byte is written as it was read.",
      "Options:\n"
      "  --raw   the markup is Windows-1250; without it, UTF-8 (a character that\n"
      "          Windows-1250 lacks belongs to no word)\n",
      RunMark};
  return command;
}

}  // namespace vordo

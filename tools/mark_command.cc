// vordo mark: wraps every word of a page body's markup in a <SPAN>, as the
// panel does to the pages the user reads.
#include <cstdio>
#include <string>
#include <vector>

#include "page/span_marker.h"
#include "tools/command_line.h"
#include "tools/utf8.h"

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
  bool raw = options.Flag("raw");
  SpanMarker marker;
  std::string output = marker.Rewrite(raw ? input : Utf8ToNarrow(input));
  if (!raw) output = NarrowToUtf8(output);
  std::fwrite(output.data(), 1, output.size(), stdout);
  return kExitOk;
}

}  // namespace

const Command& MarkCommand() {
  static const Command command{
      "mark", "mark [--raw] < BODY",
      "Reads a page body's markup from standard input and writes it with every word\n"
      "in a <SPAN> of its own, as the panel rewrites the pages the user reads.",
      "Options:\n"
      "  --raw   bytes in and out are Windows-1250, unchanged; without it the input is\n"
      "          UTF-8, converted as the browser boundary does (characters without a\n"
      "          Windows-1250 form become '?'), and the output is UTF-8\n",
      RunMark};
  return command;
}

}  // namespace vordo

#ifndef VORDO_TOOLS_COMMAND_LINE_H_
#define VORDO_TOOLS_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace vordo {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// One subcommand of the vordo tool.
struct Command {
  const char* name;
  const char* usage;    // the line after "usage: vordo "
  const char* summary;  // one line for the command list
  const char* details;  // the rest of COMMAND --help
  int (*run)(const std::vector<std::string>& args);
};

// What the commands share on their command lines.
struct ParsedOptions {
  bool help = false;
  bool raw = false;
  std::string dict;    // empty: dic.bin beside the executable
  std::string output;  // --output / -o, where a command takes one
  std::vector<std::string> operands;
};

// Parses `args` (the words after the command name). `allowed` lists the
// options the command takes besides --help ("raw", "dict", "output").
// Returns false, with a message, on an unknown or incomplete option.
bool ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed,
                  ParsedOptions* options, std::string* error);

// Prints the usage error line for `command` and returns kExitUsage.
int UsageError(const Command& command, const std::string& problem);
// Prints the full help of `command` and returns kExitOk.
int PrintCommandHelp(const Command& command);

std::string DefaultDictionaryPath();

// The terminal colours, or empty strings when standard output is no terminal.
struct Colours {
  const char* head;
  const char* group;
  const char* reset;
};
Colours StandardOutputColours();

const Command& LookupCommand();
const Command& FormsCommand();

}  // namespace vordo

#endif  // VORDO_TOOLS_COMMAND_LINE_H_

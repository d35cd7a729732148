#ifndef VORDO_TOOLS_COMMAND_LINE_H_
#define VORDO_TOOLS_COMMAND_LINE_H_

#include <map>
#include <set>
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
  const char* summary;  // what it does, for COMMAND --help
  const char* details;  // options and exit status, for COMMAND --help
  int (*run)(const std::vector<std::string>& args);
};

// An option a command takes: "--name", followed by a value when `valued`.
struct OptionSpec {
  const char* name;
  bool valued;
};

struct ParsedOptions {
  bool help = false;
  std::set<std::string> flags;                // names of the flags given
  std::map<std::string, std::string> values;  // valued options given
  std::vector<std::string> operands;

  bool Flag(const std::string& name) const { return flags.count(name) > 0; }
  std::string Value(const std::string& name, const std::string& fallback) const;
};

// Parses the words after the command name: "--name", "--name VALUE",
// "--name=VALUE", "-o" for "--output", "--help", and "--" before operands
// that begin with '-'. A separate VALUE may not begin with '-' (but may be
// "-" alone). False, with a message, on anything else.
bool ParseOptions(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                  ParsedOptions* options, std::string* error);

// Prints the usage error line for `command` and returns kExitUsage.
int UsageError(const Command& command, const std::string& problem);
// Prints the full help of `command` and returns kExitOk.
int PrintCommandHelp(const Command& command);

// Where vordo reads and writes dic.bin by default: beside the executable.
// The Czech index that belongs to a dictionary: dic.bin's is dic-cs.bin.
std::string CzechIndexPathFor(const std::string& dictionary_path);

// Writes at `path` the Czech index of the dictionary file at `dictionary`.
bool WriteCzechIndex(const std::string& dictionary, const std::string& path, size_t* size,
                     std::string* error);

// Opens ProcessCzechIndex from the file beside the dictionary at `path`;
// without it, Czech queries find nothing, which is no error.
void OpenCzechIndexBeside(const std::string& path);

std::string DefaultDictionaryPath();

// The terminal colours, or empty strings when standard output is no terminal.
struct Colours {
  const char* head;
  const char* group;
  const char* reset;
};
Colours StandardOutputColours();
bool StandardErrorIsTerminal();

const Command& LookupCommand();
const Command& FormsCommand();
const Command& BuildCommand();
const Command& CheckCommand();
const Command& MarkCommand();

}  // namespace vordo

#endif  // VORDO_TOOLS_COMMAND_LINE_H_

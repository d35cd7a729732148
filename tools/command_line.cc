#include "tools/command_line.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace vordo {
namespace {

bool Allowed(const std::vector<std::string>& allowed, const std::string& name) {
  return std::find(allowed.begin(), allowed.end(), name) != allowed.end();
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed,
                  ParsedOptions* options, std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      options->operands.insert(options->operands.end(), args.begin() + static_cast<long>(i) + 1,
                               args.end());
      return true;
    }
    if (arg.size() < 2 || arg[0] != '-') {
      options->operands.push_back(arg);
      continue;
    }
    std::string name = arg;
    std::string value;
    bool has_value = false;
    size_t equals = arg.find('=');
    if (arg.compare(0, 2, "--") == 0 && equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      has_value = true;
    }
    if (name == "-o") name = "--output";
    if (name == "--help" || name == "-h") {
      options->help = true;
    } else if (name == "--raw" && Allowed(allowed, "raw") && !has_value) {
      options->raw = true;
    } else if ((name == "--dict" && Allowed(allowed, "dict")) ||
               (name == "--output" && Allowed(allowed, "output"))) {
      if (!has_value) {
        if (i + 1 == args.size()) {
          *error = name + " needs a file name";
          return false;
        }
        value = args[++i];
      }
      (name == "--dict" ? options->dict : options->output) = value;
    } else {
      *error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

int UsageError(const Command& command, const std::string& problem) {
  std::fprintf(stderr, "vordo %s: %s (usage: vordo %s)\n", command.name, problem.c_str(),
               command.usage);
  return kExitUsage;
}

int PrintCommandHelp(const Command& command) {
  std::printf("usage: vordo %s\n\n%s\n\n%s", command.usage, command.summary, command.details);
  return kExitOk;
}

std::string DefaultDictionaryPath() { return ModuleDirectory() + "dic.bin"; }

Colours StandardOutputColours() {
  if (isatty(STDOUT_FILENO) && std::getenv("NO_COLOR") == nullptr) {
    return Colours{"\033[1m", "\033[90m", "\033[0m"};
  }
  return Colours{"", "", ""};
}

}  // namespace vordo

#include "tools/command_line.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "dictionary/czech_index.h"
#include "dictionary/dictionary_file.h"
#include "engine/czech_lookup.h"
#include "platform/platform.h"

namespace vordo {

std::string ParsedOptions::Value(const std::string& name, const std::string& fallback) const {
  auto value = values.find(name);
  return value == values.end() ? fallback : value->second;
}

bool ParseOptions(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
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
    if (arg == "--help" || arg == "-h") {
      options->help = true;
      continue;
    }
    std::string name = arg == "-o" ? "output" : arg.compare(0, 2, "--") == 0 ? arg.substr(2) : "";
    std::string value;
    size_t equals = name.find('=');
    bool has_value = equals != std::string::npos;
    if (has_value) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const OptionSpec* known = nullptr;
    for (const OptionSpec& candidate : specs) {
      if (name == candidate.name) known = &candidate;
    }
    if (known == nullptr || (has_value && !known->valued)) {
      *error = "unknown option " + arg;
      return false;
    }
    if (!known->valued) {
      options->flags.insert(name);
      continue;
    }
    if (!has_value) {
      // An option where the value should be means the value was left out;
      // a value that starts with '-' can be given as --name=VALUE.
      if (i + 1 == args.size() || (args[i + 1].size() > 1 && args[i + 1][0] == '-')) {
        *error = "--" + name + " needs a value";
        return false;
      }
      value = args[++i];
    }
    options->values[name] = value;
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

std::string CzechIndexPathFor(const std::string& dictionary_path) {
  constexpr std::string_view kSuffix = ".bin";
  if (dictionary_path.size() >= kSuffix.size() &&
      dictionary_path.compare(dictionary_path.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0) {
    return dictionary_path.substr(0, dictionary_path.size() - kSuffix.size()) + "-cs.bin";
  }
  return dictionary_path + "-cs";
}

bool WriteCzechIndex(const std::string& dictionary, const std::string& path, size_t* size,
                     std::string* error) {
  DictionaryFile written;
  if (!written.Open(dictionary, error)) return false;
  std::string bytes = BuildCzechIndex(written);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    *error = "cannot write " + path;
    return false;
  }
  *size = bytes.size();
  return true;
}

void OpenCzechIndexBeside(const std::string& path) {
  // Mapped for the life of the process, as dic.bin is: the index reads it
  // in place, and a lookup that never asks it in Czech touches none of it.
  static MappedFile mapping;
  std::string error;
  if (!mapping.Open(CzechIndexPathFor(path), &error)) return;
  ProcessCzechIndex().OpenBytes(mapping.data(), mapping.size());
}

Colours StandardOutputColours() {
  if (isatty(STDOUT_FILENO) && std::getenv("NO_COLOR") == nullptr) {
    return Colours{"\033[1m", "\033[90m", "\033[0m"};
  }
  return Colours{"", "", ""};
}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace vordo

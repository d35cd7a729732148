// vordo: the dictionary engine from a terminal.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/command_line.h"

namespace vordo {
namespace {

std::vector<const Command*> Commands() {
  return {&LookupCommand(), &FormsCommand(), &MarkCommand(), &BuildCommand(), &CheckCommand()};
}

int PrintHelp() {
  std::printf(
      "usage: vordo COMMAND [OPTIONS] ...\n\n"
      "The English-Czech dictionary from a terminal.\n\nCommands:\n");
  for (const Command* command : Commands()) {
    std::printf("  %-8s %s\n", command->name, command->usage);
  }
  std::printf("\n'vordo COMMAND --help' explains a command.\n");
  return kExitOk;
}

}  // namespace
}  // namespace vordo

int main(int argc, char** argv) {
  using namespace vordo;
  if (argc < 2) {
    std::fprintf(stderr, "vordo: no command given (usage: vordo COMMAND [OPTIONS] ...; see vordo --help)\n");
    return kExitUsage;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") return PrintHelp();
  for (const Command* command : Commands()) {
    if (name == command->name) return command->run(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "vordo: unknown command '%s' (usage: vordo COMMAND [OPTIONS] ...; see vordo --help)\n",
               name.c_str());
  return kExitUsage;
}

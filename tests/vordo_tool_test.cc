// Runs the built vordo executable the way other programs call it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "dictionary/dictionary_file.h"
#include "engine/lookup.h"

namespace vordo {
namespace {

struct ToolRun {
  int status;
  std::string out;
};

ToolRun RunVordo(const std::string& arguments) {
  std::string command = std::string(VORDO_TOOL) + " " + arguments;
  FILE* pipe = popen(command.c_str(), "r");
  ToolRun run{-1, std::string()};
  if (pipe == nullptr) return run;
  char buffer[4096];
  size_t length;
  while ((length = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, length);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

const std::string kDict = std::string("--dict ") + VORDO_SAMPLE_DICTIONARY + " ";

TEST(VordoToolTest, RawLookupPrintsScoreHeadAndTranslationsAsBytes) {
  ToolRun run = RunVordo("lookup --raw " + kDict + "'hot dog'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "998\thot dog\tp\xE1rek v rohl\xEDku\n798\thot dogs\tp\xE1rky v rohl\xEDku\n");
  // Every record of the engine's list, in its order.
  DictionaryFile file;
  ASSERT_TRUE(file.Open(VORDO_SAMPLE_DICTIONARY));
  std::string expected;
  for (const ResultEntry& result : Lookup(file, "look")) {
    expected += std::to_string(result.score) + "\t" + result.head;
    for (const std::string& translation : result.translations) expected += "\t" + translation;
    expected += "\n";
  }
  EXPECT_EQ(RunVordo("lookup --raw " + kDict + "' :look (verb)'").out, expected);
}

TEST(VordoToolTest, PeopleGetUtf8WithTranslationsBeneathTheHead) {
  ToolRun run = RunVordo("lookup " + kDict + "house");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "house\n    d\xC5\xAFm\n    obydl\xC3\xAD\n");
  EXPECT_EQ(RunVordo("lookup " + kDict + "'\xC4\x8C" "ech'").out, "");  // converted, not found
}

TEST(VordoToolTest, FormsPrintTheFormSetOnePerLine) {
  ToolRun run = RunVordo("forms --raw " + kDict + "tried");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "tried\ntries\ntry\ntrying\n");
  EXPECT_EQ(RunVordo("forms " + kDict + "nothing").out, "");
}

TEST(VordoToolTest, ExitStatusesTellFailuresFromWrongCalls) {
  ToolRun missing = RunVordo("lookup --dict /nonexistent/dic.bin dog 2>&1");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out.rfind("Nelze otev\xC5\x99\xC3\xADt soubor se slovn\xC3\xADkem.\n", 0), 0u)
      << missing.out;
  EXPECT_NE(missing.out.find("/nonexistent/dic.bin"), std::string::npos);
  EXPECT_EQ(RunVordo("lookup 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("lookup --bogus dog 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("lookup --dict 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("frobnicate 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("2>/dev/null").status, 2);
  ToolRun help = RunVordo("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("lookup"), std::string::npos);
  EXPECT_EQ(RunVordo("lookup --help").out.rfind("usage: vordo lookup", 0), 0u);
}

}  // namespace
}  // namespace vordo

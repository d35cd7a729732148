// Runs the built vordo executable the way other programs call it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "dictionary/dictionary_file.h"
#include "engine/lookup.h"

namespace vordo {
namespace {

struct ToolRun {
  int status;
  std::string out;
};

ToolRun RunCommand(const std::string& command) {
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

ToolRun RunVordo(const std::string& arguments) {
  return RunCommand(std::string(VORDO_TOOL) + " " + arguments);
}

// Runs vordo with `input` as its standard input. Each call has a file of its own:
// ctest runs the tests of this file side by side.
ToolRun RunVordoOn(const std::string& input, const std::string& arguments) {
  std::string path = ::testing::TempDir() + "vordo_input_XXXXXX";
  int descriptor = mkstemp(path.data());
  if (descriptor < 0) return ToolRun{-1, std::string()};
  close(descriptor);
  std::ofstream(path, std::ios::binary) << input;
  ToolRun run = RunVordo(arguments + " < " + path);
  std::remove(path.c_str());
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
  // Converted to Windows-1250; no English head, so read as Czech.
  EXPECT_EQ(RunVordo("lookup " + kDict + "'\xC4\x8C" "ech'").out,
            "\xC4\x8C" "ech (\xC4\x8D" "esky) \xE2\x86\x92 English:\n\xC4\x8C" "ech\n    Czech\n");
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
  EXPECT_EQ(RunVordo("forms " + kDict + "2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("lookup a b 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("lookup --bogus dog 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("lookup --dict 2>/dev/null").status, 2);
  // An option where a value belongs is a wrong call, not a file name.
  EXPECT_EQ(RunVordo("lookup --dict --raw hot 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("build --block-size -1 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("build --block-size=-1 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("build --block-size 4294967297 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("build --block-size 63 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("frobnicate 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("2>/dev/null").status, 2);
  ToolRun help = RunVordo("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("lookup"), std::string::npos);
  EXPECT_EQ(RunVordo("lookup --help").out.rfind("usage: vordo lookup", 0), 0u);
}

std::string RawLookup(const std::string& query) {
  return RunVordo("lookup --raw " + kDict + "'" + query + "'").out;
}

TEST(VordoToolTest, BatchAnswersEachLineLikeASingleLookup) {
  // An empty line and a line of blanks get empty answers; CR LF ends a line too.
  std::string lines = "hot dog\nlook\n\n   \nnothing\n:house (noun)\r\n";
  ToolRun run = RunVordoOn(lines, "lookup --raw " + kDict);
  EXPECT_EQ(run.status, 0);
  std::string expected = "#\thot dog\n" + RawLookup("hot dog") + "#\tlook\n" + RawLookup("look") +
                         "#\t\n#\t   \n#\tnothing\n#\t:house (noun)\n" + RawLookup("house");
  EXPECT_EQ(run.out, expected);
  EXPECT_NE(RawLookup("hot dog"), "");
  EXPECT_NE(RawLookup("house"), "");
}

TEST(VordoToolTest, QueriesAreCutAtTheInputFieldsLength) {
  // 250 blanks and "houseboat": the panel's 255 characters end after "house".
  std::string line = std::string(250, ' ') + "houseboat";
  EXPECT_EQ(RawLookup(line), RawLookup("house"));
  ToolRun batch = RunVordoOn(line + "\n", "lookup --raw " + kDict);
  EXPECT_EQ(batch.out, "#\t" + std::string(250, ' ') + "house\n" + RawLookup("house"));
  // In UTF-8, the cut counts characters, not bytes.
  std::string czech;
  for (int i = 0; i < 300; ++i) czech += "\xC4\x8D";
  ToolRun wide = RunVordoOn(czech + "\n", "lookup " + kDict);
  EXPECT_EQ(wide.out, "# " + czech.substr(0, 510) + "\n");
}

TEST(VordoToolTest, AtLooksUpTheWordOfAPageAndItsPhrase) {
  // Characters are counted, not bytes: "na\xC3\xAFve walk " is eleven.
  ToolRun run = RunVordo("lookup --raw " + kDict + "--at 12 'na\xC3\xAFve walk the dog'");
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.out.rfind("#\tthe\twalk the dog\n", 0), 0u) << run.out;
  EXPECT_EQ(run.out.find("\twalk the dog\t"), run.out.find('\n') + 4) << run.out;  // first
  EXPECT_NE(run.out.find("\n999\tthe\t"), std::string::npos) << run.out;
  EXPECT_EQ(RunVordo("lookup " + kDict + "--at 4 'hot dogs'").out.rfind("# dogs \xE2\x86\x92 hot dogs\n", 0),
            0u);
  EXPECT_EQ(RunVordo("lookup --raw " + kDict + "--at 1 '3 4'").out, "#\t\n");
  EXPECT_EQ(RunVordo("lookup " + kDict + "--at x dog 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("lookup " + kDict + "--at -1 dog 2>/dev/null").status, 2);
  EXPECT_EQ(RunVordo("lookup " + kDict + "--at 1 2>/dev/null").status, 2);
}

TEST(VordoToolTest, WhatIsShownInsteadOfNothingIsSaidOnStandardOutput) {
  // Raw: a "~" line with what was looked up instead, a "?" line with words
  // spelt like the query; no result line starts so.
  EXPECT_EQ(RawLookup("dog!"), "~\tdog\n" + RawLookup("dog"));
  EXPECT_EQ(RawLookup("lookers"), "~\tlook\n" + RawLookup("look"));
  EXPECT_EQ(RawLookup("dgo"), "?\tdog\n");
  // A Czech word, through the Czech index beside the dictionary, with its
  // accents or without.
  EXPECT_EQ(RawLookup("pes").rfind("=\tpes\n1000\tpes\tdog\n", 0), 0u) << RawLookup("pes");
  EXPECT_EQ(RawLookup("kocka").rfind("=\tkocka\n999\tko\xE8ka\tcat\n", 0), 0u) << RawLookup("kocka");
  // For people, also through a pipe; and in a batch, after the header.
  EXPECT_EQ(RunVordo("lookup " + kDict + "housse").out, "nothing found; did you mean: house?\n");
  EXPECT_EQ(RunVordo("lookup " + kDict + "'dog!'").out.rfind("dog! \xE2\x86\x92 dog\ndog\n", 0), 0u);
  EXPECT_EQ(RunVordoOn("dgo\nhot dog\n", "lookup --raw " + kDict).out,
            "#\tdgo\n?\tdog\n#\thot dog\n" + RawLookup("hot dog"));
}

TEST(VordoToolTest, NothingFoundIsNotedOnlyToAPersonAtATerminal) {
  EXPECT_EQ(RunVordo("lookup " + kDict + "nothing 2>&1").out, "");
  // script(1) gives the tool a terminal.
  ToolRun terminal =
      RunCommand("script -qec '" + std::string(VORDO_TOOL) + " lookup " + kDict + "nothing' /dev/null");
  EXPECT_NE(terminal.out.find("nothing found for \"nothing\""), std::string::npos) << terminal.out;
}

TEST(VordoToolTest, MarkOnlyInsertsSpans) {
  // UTF-8 in and out, every byte kept: Czech, Cyrillic, references, names.
  EXPECT_EQ(RunVordoOn("t\xC4\x9B\xC5\xBE\xC5\xA1\xC3\xAD &hellip; Q&A AT&T &pound;5", "mark").out,
            "<SPAN>t\xC4\x9B\xC5\xBE\xC5\xA1\xC3\xAD</SPAN> &hellip; <SPAN>Q</SPAN>&<SPAN>A</SPAN> "
            "<SPAN>AT</SPAN>&<SPAN>T</SPAN> &pound;5");
  std::string untouched = "<style>p { color: red }</style><my-el a=1></my-el><svg><circle r=4/></svg>"
                          "<a href=\"/wiki/\xD0\x9F\xD1\x80\xD0\xB0\xD0\xB3\xD0\xB0\">";
  EXPECT_EQ(RunVordoOn(untouched, "mark").out, untouched);
  EXPECT_EQ(RunVordoOn("<script>var s=\"</scripts>\"; a</script>b", "mark").out,
            "<script>var s=\"</scripts>\"; a</script><SPAN>b</SPAN>");
  // --raw: Windows-1250 bytes, never read as UTF-8.
  EXPECT_EQ(RunVordoOn("\xC5\x99\xE8", "mark --raw").out, "<SPAN>\xC5</SPAN>\x99<SPAN>\xE8</SPAN>");
}

}  // namespace
}  // namespace vordo

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/lookup.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

// Two browser windows look up at once in one shared dictionary: both open
// it, both fill the block cache, and both must see the same results as a
// lookup on one thread.
TEST(ConcurrencyTest, TwoThreadsOpenAndLookUpInOneDictionary) {
  DictionaryWriter writer;
  std::vector<std::string> queries;
  for (int i = 0; i < 400; ++i) {
    std::string word = "w" + std::to_string(i);
    AddPlainEntry(&writer, word + " shared", "t" + std::to_string(i));
    queries.push_back(word);
  }
  queries.push_back("shared");
  std::string bytes;
  std::string error;
  ASSERT_TRUE(writer.Build(SmallOptions(), &bytes, &error));
  std::string path = ::testing::TempDir() + "concurrent-dic.bin";
  std::ofstream(path, std::ios::binary) << bytes;

  TestDictionary reference(bytes);
  std::vector<std::vector<std::string>> expected;
  for (const std::string& query : queries) {
    expected.push_back(ScoresAndHeads(Lookup(reference.file(), query)));
  }

  for (int round = 0; round < 5; ++round) {
    DictionaryFile shared;
    std::vector<int> mismatches(2, 0);
    auto look_up_all = [&](int thread) {
      if (!shared.Open(path)) {
        ++mismatches[static_cast<size_t>(thread)];
        return;
      }
      for (size_t i = 0; i < queries.size(); ++i) {
        size_t q = thread == 0 ? i : queries.size() - 1 - i;
        if (ScoresAndHeads(Lookup(shared, queries[q])) != expected[q]) {
          ++mismatches[static_cast<size_t>(thread)];
        }
      }
    };
    std::thread first(look_up_all, 0);
    std::thread second(look_up_all, 1);
    first.join();
    second.join();
    EXPECT_EQ(mismatches, (std::vector<int>{0, 0})) << "round " << round;
  }
}

}  // namespace
}  // namespace vordo

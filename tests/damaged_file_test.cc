#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/lookup.h"
#include "engine/word_forms.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

const char* const kQueries[] = {"dog", "Hot dogs", "walked", "unhappy", "take off", "went", "a"};

// Whatever the damage, the reader either refuses the file or answers
// lookups; run under the sanitizers, any read outside the data fails here.
void LookUpEverything(const std::string& bytes) {
  TestDictionary dictionary(bytes);
  if (!dictionary.open()) return;
  for (const char* query : kQueries) {
    Lookup(dictionary.file(), query);
    BuildWordForms(dictionary.file(), query);
  }
}

TEST(DamagedFileTest, EveryTruncationIsRefusedOrReadSafely) {
  std::string bytes = SampleDictionaryBytes();
  for (size_t length = 0; length < bytes.size(); ++length) {
    LookUpEverything(bytes.substr(0, length));
  }
}

TEST(DamagedFileTest, RandomByteDamageIsReadSafely) {
  std::string intact = SampleDictionaryBytes();
  std::mt19937 random(12345);
  std::uniform_int_distribution<size_t> position(0, intact.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = intact;
    int flips = 1 + round % 8;
    for (int i = 0; i < flips; ++i) bytes[position(random)] = static_cast<char>(byte(random));
    LookUpEverything(bytes);
  }
}

TEST(DamagedFileTest, AnUndamagedSampleStillAnswers) {
  TestDictionary dictionary(SampleDictionaryBytes());
  EXPECT_FALSE(Lookup(dictionary.file(), "dog").empty());
}

}  // namespace
}  // namespace vordo

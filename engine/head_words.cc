#include "engine/head_words.h"

#include <algorithm>
#include <cstdint>

#include "markup/word_bytes.h"

namespace vordo {
namespace {

bool IsHeadWordByte(char c) {
  uint8_t byte = static_cast<uint8_t>(c);
  return IsWordByte(byte) || (c >= '0' && c <= '9') || c == '\'' || c == '-';
}

}  // namespace

void HeadWords(std::string_view head, std::vector<std::string>* words) {
  size_t count = 0;
  size_t pos = 0;
  while (pos < head.size()) {
    if (head[pos] == ' ') {
      ++pos;
    } else if (head[pos] == '(') {
      size_t close = head.find(')', pos);
      pos = close == std::string_view::npos ? head.size() : close + 1;
    } else {
      size_t end = std::min(head.find_first_of(" (", pos), head.size());
      std::string_view word = head.substr(pos, end - pos);
      while (!word.empty() && !IsHeadWordByte(word.front())) word.remove_prefix(1);
      while (!word.empty() && !IsHeadWordByte(word.back())) word.remove_suffix(1);
      if (count == words->size()) words->emplace_back();
      std::string& lower = (*words)[count++];
      lower.assign(word);
      for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
      }
      pos = end;
    }
  }
  words->resize(count);
}

bool HasEntryOfItsOwn(const std::vector<ResultEntry>& results) {
  std::vector<std::string> words;
  return std::any_of(results.begin(), results.end(), [&words](const ResultEntry& result) {
    HeadWords(result.head, &words);
    return words.size() == 1;
  });
}

}  // namespace vordo

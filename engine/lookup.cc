#include "engine/lookup.h"

#include <algorithm>
#include <iterator>

#include "engine/query.h"
#include "engine/search.h"

namespace vordo {

std::string LowerCaseAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return lower;
}

std::vector<ResultEntry> Lookup(const DictionaryFile& dictionary, std::string_view query) {
  query = query.substr(0, query.find('\0'));
  std::vector<ResultEntry> results = SearchQuery(dictionary, query);
  std::string lower = LowerCaseAscii(query);
  if (lower == query) return results;
  std::vector<ResultEntry> lower_results = SearchQuery(dictionary, lower);
  if (lower_results.empty()) return results;
  // Both lists are in result order already: merged, not sorted again.
  if (results.empty()) {
    results = std::move(lower_results);
  } else {
    std::vector<ResultEntry> merged;
    merged.reserve(results.size() + lower_results.size());
    std::merge(std::make_move_iterator(results.begin()), std::make_move_iterator(results.end()),
               std::make_move_iterator(lower_results.begin()),
               std::make_move_iterator(lower_results.end()), std::back_inserter(merged),
               ResultBefore);
    results = std::move(merged);
  }
  results.erase(std::unique(results.begin(), results.end(),
                            [](const ResultEntry& a, const ResultEntry& b) {
                              return a.score == b.score && a.head == b.head;
                            }),
                results.end());
  return results;
}

std::vector<ResultEntry> LookupFieldText(const DictionaryFile& dictionary, std::string text) {
  if (text.size() > kMaxQueryLength) text.resize(kMaxQueryLength);
  TrimQuery(&text);
  return Lookup(dictionary, text);
}

}  // namespace vordo

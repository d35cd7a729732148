#ifndef VORDO_DICTIONARY_RESULT_ENTRY_H_
#define VORDO_DICTIONARY_RESULT_ENTRY_H_

#include <cstdint>
#include <string>
#include <vector>

namespace vordo {

// One result of a lookup, owning its text with the grammar codes expanded.
struct ResultEntry {
  int32_t score = 0;
  std::string head;
  std::vector<std::string> translations;
};

}  // namespace vordo

#endif  // VORDO_DICTIONARY_RESULT_ENTRY_H_

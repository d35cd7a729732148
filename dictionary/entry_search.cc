#include "dictionary/entry_search.h"

#include <algorithm>
#include <cstring>

#include "dictionary/format.h"

namespace vordo {
namespace {

bool HeadHoldsAnyForm(const char* head, const FormSet& forms) {
  const char* token = head;
  for (;;) {
    size_t length = std::strcspn(token, " ");
    std::string_view candidate(token, length);
    if (std::binary_search(forms.begin(), forms.end(), candidate,
                           [](std::string_view a, std::string_view b) { return a < b; })) {
      return true;
    }
    if (token[length] == '\0') return false;
    token += length + 1;
  }
}

}  // namespace

int32_t WordWeight(const DictionaryFile& dictionary, const FormSet& forms, bool* common) {
  uint32_t weight = 0;
  *common = false;
  IndexEntry entry;
  for (const std::string& form : forms) {
    if (!dictionary.FindIndexEntry(form.data(), form.size(), &entry)) continue;
    if ((entry.weightWord & kCommonWordBit) != 0) *common = true;
    weight += entry.weightWord & kWeightMask;
  }
  return static_cast<int32_t>(weight);
}

void FindEntries(const DictionaryFile& dictionary, const FormSet& forms,
                 std::vector<EntryRef>* list) {
  for (const std::string& form : forms) {
    dictionary.FindEntriesForForm(form, list);
  }
}

std::vector<EntryRef> FilterEntries(const FormSet& forms, const std::vector<EntryRef>& list) {
  std::vector<EntryRef> kept;
  if (forms.empty()) return kept;
  for (const EntryRef& entry : list) {
    if (HeadHoldsAnyForm(entry.head, forms)) kept.push_back(entry);
  }
  return kept;
}

}  // namespace vordo

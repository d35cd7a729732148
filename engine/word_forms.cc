#include "engine/word_forms.h"

#include <algorithm>

#include "dictionary/format.h"

namespace vordo {
namespace {

constexpr std::string_view kNegativePrefix = "un";
constexpr size_t kMinLengthForPrefix = 4;

FormList ExpandRecord(const DictionaryFile& dictionary, const FormTables::LemmaRecord& record) {
  const FormTables& tables = dictionary.formTables();
  FormList forms;
  size_t pos = record.items;
  FormTables::FormItem item;
  while (pos < record.end && tables.ReadFormItem(&pos, record.end, &item)) {
    if (item.code >= kFirstParadigmCode && item.code <= kLastParadigmCode) {
      ApplyParadigm(dictionary, record.word, item.code - 1, &forms);
    } else if (item.code == kStemParadigmCode) {
      if (item.paradigm != 0) ApplyParadigm(dictionary, item.text, item.paradigm - 1, &forms);
    } else if (item.code == kSelfCode) {
      forms.emplace_back(record.word);
    } else {
      forms.emplace_back(item.text);
    }
  }
  return forms;
}

void AddListsHoldingWord(const std::vector<FormList>& lists, std::string_view word,
                         FormSet* result) {
  for (const FormList& list : lists) {
    if (std::find(list.begin(), list.end(), word) != list.end()) {
      result->insert(result->end(), list.begin(), list.end());
    }
  }
}

}  // namespace

void ApplyParadigm(const DictionaryFile& dictionary, std::string_view stem, int paradigm,
                   FormList* forms) {
  const FormTables& tables = dictionary.formTables();
  size_t begin, end;
  if (!tables.ParadigmRun(paradigm, &begin, &end)) return;
  FormTables::Template parts;
  for (size_t slot = begin; slot < end; ++slot) {
    if (!tables.SlotTemplate(slot, &parts)) continue;
    if (parts.prefix.size() + stem.size() + parts.suffix.size() > kMaxFormLength) continue;
    std::string form;
    form.reserve(parts.prefix.size() + stem.size() + parts.suffix.size());
    form.append(parts.prefix).append(stem).append(parts.suffix);
    forms->push_back(std::move(form));
  }
}

std::vector<FormList> FindParadigmSets(const DictionaryFile& dictionary, std::string_view text) {
  std::vector<FormList> lists;
  const FormTables& tables = dictionary.formTables();
  BucketRange bucket;
  if (!dictionary.IsOpen() || !tables.LemmaBucket(text, &bucket)) return lists;
  bool matched = false;
  FormTables::LemmaRecord record;
  for (size_t pos = bucket.begin; pos < bucket.end; pos = record.next) {
    if (!tables.ReadLemmaRecord(pos, bucket.end, &record)) break;
    if (record.word != text) {
      if (matched) break;  // equal words stand together
      continue;
    }
    matched = true;
    lists.push_back(ExpandRecord(dictionary, record));
  }
  return lists;
}

FormSet BuildWordForms(const DictionaryFile& dictionary, std::string_view word) {
  FormSet result;
  size_t length = word.size();
  if (length == 0 || length > kMaxWordLength) return result;
  bool has_prefix = length >= kMinLengthForPrefix && word.substr(0, 2) == kNegativePrefix;
  for (size_t k = length; k >= 1; --k) {
    AddListsHoldingWord(FindParadigmSets(dictionary, word.substr(0, k)), word, &result);
    if (has_prefix && k > kNegativePrefix.size()) {
      AddListsHoldingWord(FindParadigmSets(dictionary, word.substr(2, k - 2)), word, &result);
    }
  }
  std::sort(result.begin(), result.end());
  result.erase(std::unique(result.begin(), result.end()), result.end());
  return result;
}

bool YieldsWordForms(const DictionaryFile& dictionary, std::string_view word) {
  return !BuildWordForms(dictionary, word).empty();
}

}  // namespace vordo

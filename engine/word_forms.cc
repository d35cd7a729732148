#include "engine/word_forms.h"

#include <algorithm>

#include "dictionary/format.h"

namespace vordo {
namespace {

constexpr std::string_view kNegativePrefix = "un";
constexpr size_t kMinLengthForPrefix = 4;

void AddListsHoldingWord(const std::vector<FormList>& lists, std::string_view word,
                         FormSet* result) {
  for (const FormList& list : lists) {
    if (std::find(list.begin(), list.end(), word) != list.end()) {
      result->insert(result->end(), list.begin(), list.end());
    }
  }
}

// FindParadigmSets of every prefix of `text` that is kBucketKeySize bytes
// or longer, all together (in no particular order): such prefixes share
// their first bytes and so their bucket, which is read once for them all.
// As FindParadigmSets does for one text, each prefix takes the first run of
// records of its word and no later one.
std::vector<FormList> FindParadigmSetsOfLongPrefixes(const DictionaryFile& dictionary,
                                                     std::string_view text) {
  std::vector<FormList> lists;
  const FormTables& tables = dictionary.formTables();
  BucketRange bucket;
  if (text.size() < kBucketKeySize || !dictionary.IsOpen() || !tables.LemmaBucket(text, &bucket)) {
    return lists;
  }
  std::vector<bool> run_ended(text.size() + 1, false);
  size_t open_run = 0;  // the length of the prefix whose run the last record was in
  FormTables::LemmaRecord record;
  for (size_t pos = bucket.begin; pos < bucket.end; pos = record.next) {
    if (!tables.ReadLemmaRecord(pos, bucket.end, &record)) break;
    size_t length = record.word.size();
    bool prefix = length >= kBucketKeySize && length <= text.size() && !run_ended[length] &&
                  text.substr(0, length) == record.word;
    if (open_run != 0 && !(prefix && length == open_run)) {
      run_ended[open_run] = true;
      open_run = 0;
    }
    if (prefix) {
      open_run = length;
      lists.push_back(LemmaRecordForms(dictionary, record));
    }
  }
  return lists;
}

// The form lists of the records of `word` that the lemma index finds.
std::vector<FormList> ParadigmSetsFromIndex(const DictionaryFile& dictionary, const LemmaIndex& index,
                                            std::string_view word) {
  std::vector<FormList> lists;
  BucketRange run;
  if (!index.Find(word, &run)) return lists;
  const FormTables& tables = dictionary.formTables();
  FormTables::LemmaRecord record;
  for (size_t pos = run.begin; pos < run.end; pos = record.next) {
    if (!tables.ReadLemmaRecord(pos, run.end, &record) || record.word != word) break;
    lists.push_back(LemmaRecordForms(dictionary, record));
  }
  return lists;
}

}  // namespace

FormList LemmaRecordForms(const DictionaryFile& dictionary, const FormTables::LemmaRecord& record,
                          FormLengths lengths) {
  const FormTables& tables = dictionary.formTables();
  FormList forms;
  auto take = [&](std::string_view form) {
    if (form.size() >= lengths.shortest && form.size() <= lengths.longest) forms.emplace_back(form);
  };
  size_t pos = record.items;
  FormTables::FormItem item;
  while (pos < record.end && tables.ReadFormItem(&pos, record.end, &item)) {
    if (item.code >= kFirstParadigmCode && item.code <= kLastParadigmCode) {
      ApplyParadigm(dictionary, record.word, item.code - 1, &forms, lengths);
    } else if (item.code == kStemParadigmCode) {
      if (item.paradigm != 0) ApplyParadigm(dictionary, item.text, item.paradigm - 1, &forms, lengths);
    } else if (item.code == kSelfCode) {
      take(record.word);
    } else {
      take(item.text);
    }
  }
  return forms;
}

void ApplyParadigm(const DictionaryFile& dictionary, std::string_view stem, int paradigm,
                   FormList* forms, FormLengths lengths) {
  const FormTables& tables = dictionary.formTables();
  size_t begin, end;
  if (!tables.ParadigmRun(paradigm, &begin, &end)) return;
  FormTables::Template parts;
  for (size_t slot = begin; slot < end; ++slot) {
    if (!tables.SlotTemplate(slot, &parts)) continue;
    size_t length = parts.prefix.size() + stem.size() + parts.suffix.size();
    if (length > kMaxFormLength || length < lengths.shortest || length > lengths.longest) continue;
    std::string form;
    form.reserve(length);
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
    lists.push_back(LemmaRecordForms(dictionary, record));
  }
  return lists;
}

FormSet BuildWordForms(const DictionaryFile& dictionary, std::string_view word) {
  FormSet result;
  size_t length = word.size();
  if (length == 0 || length > kMaxWordLength) return result;
  bool has_prefix = length >= kMinLengthForPrefix && word.substr(0, 2) == kNegativePrefix;
  // The forms of every prefix of the word, and with the "un" allowance of
  // every prefix of the rest: each from the lemma index once it is made;
  // before, the long prefixes from one bucket, the short ones one by one.
  // The order does not matter, as the set is sorted.
  std::vector<std::string_view> stems = {word};
  if (has_prefix) stems.push_back(word.substr(kNegativePrefix.size()));
  const LemmaIndex* index = dictionary.LemmaIndexForWord();
  for (std::string_view stem : stems) {
    if (index != nullptr) {
      for (size_t k = 1; k <= stem.size(); ++k) {
        AddListsHoldingWord(ParadigmSetsFromIndex(dictionary, *index, stem.substr(0, k)), word, &result);
      }
      continue;
    }
    AddListsHoldingWord(FindParadigmSetsOfLongPrefixes(dictionary, stem), word, &result);
    for (size_t k = std::min(stem.size(), kBucketKeySize - 1); k >= 1; --k) {
      AddListsHoldingWord(FindParadigmSets(dictionary, stem.substr(0, k)), word, &result);
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

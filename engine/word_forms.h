#ifndef VORDO_ENGINE_WORD_FORMS_H_
#define VORDO_ENGINE_WORD_FORMS_H_

#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/format.h"
#include "dictionary/form_set.h"

namespace vordo {

// The forms one lemma record yields, in item order, duplicates allowed.
using FormList = std::vector<std::string>;

// The lengths of the forms wanted, in bytes: [shortest, longest].
struct FormLengths {
  size_t shortest = 0;
  size_t longest = kMaxFormLength;
};

// Appends paradigm p's forms of `stem` whose lengths are in `lengths`.
// Damaged templates, and forms longer than kMaxFormLength, add nothing.
void ApplyParadigm(const DictionaryFile& dictionary, std::string_view stem, int paradigm,
                   FormList* forms, FormLengths lengths = {});

// The forms that one lemma record yields, in item order; with `lengths`,
// only those of such lengths (a search for words spelt like another needs
// no form much longer or shorter, and so builds none).
FormList LemmaRecordForms(const DictionaryFile& dictionary, const FormTables::LemmaRecord& record,
                          FormLengths lengths = {});

// One form list per lemma record whose word is `text`, in record order.
std::vector<FormList> FindParadigmSets(const DictionaryFile& dictionary, std::string_view text);

// Every form of every lemma list that holds `word` itself, found through the
// word's beginnings (and, for words over three bytes starting with "un",
// through the beginnings of the rest). Empty for an empty word and for a
// word longer than kMaxWordLength.
FormSet BuildWordForms(const DictionaryFile& dictionary, std::string_view word);

// Whether some lemma record yields `word` itself (BuildWordForms is not
// empty); the dictionary checker asks this of every head token.
bool YieldsWordForms(const DictionaryFile& dictionary, std::string_view word);

}  // namespace vordo

#endif  // VORDO_ENGINE_WORD_FORMS_H_

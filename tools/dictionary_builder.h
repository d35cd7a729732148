#ifndef VORDO_TOOLS_DICTIONARY_BUILDER_H_
#define VORDO_TOOLS_DICTIONARY_BUILDER_H_

#include <cstddef>
#include <string>
#include <vector>

#include "dictionary/dictionary_writer.h"
#include "tools/english_forms.h"
#include "tools/freedict_source.h"

namespace vordo {

// Turns source articles into a DictionaryWriter's paradigms, lemma records
// and entries.
//
// Entries: one per distinct head text, where a part of speech joins the
// head as a parenthesised group ("walk (v.)"), with its translations in
// source order without duplicates. Lemma records: every head token (but
// those groups) gets one, holding the token's English forms, so that a word
// as it stands in running text finds its entries. A record is stored under
// the longest beginning that its forms share, since lookups find forms
// through the beginnings of the word typed; forms that do not share it
// (went for go) get records of their own.
class DictionaryBuilder {
 public:
  struct Summary {
    size_t headTexts = 0;
    size_t translations = 0;
    size_t lemmaRecords = 0;
    size_t forms = 0;
    size_t paradigms = 0;
    size_t unmappedCharacters = 0;  // had no Windows-1250 form, became '?'
  };

  explicit DictionaryBuilder(const EnglishForms& english) : english_(english) {}

  void Add(const std::vector<SourceEntry>& source, DictionaryWriter* writer, Summary* summary) const;

  // "(n.)" for "n", "(pl.)" for plural nouns: always one token.
  static std::string PartOfSpeechGroup(const std::string& part_of_speech);

  // Function words that appear in at least this many heads get the
  // common-word mark: they narrow a phrase query less than any content word.
  static constexpr size_t kCommonWordHeads = 100;

 private:
  const EnglishForms& english_;
};

}  // namespace vordo

#endif  // VORDO_TOOLS_DICTIONARY_BUILDER_H_

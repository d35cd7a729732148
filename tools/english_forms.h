#ifndef VORDO_TOOLS_ENGLISH_FORMS_H_
#define VORDO_TOOLS_ENGLISH_FORMS_H_

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vordo {

// Word classes that inflect, as bits.
enum WordClass : unsigned {
  kNounClass = 1,
  kVerbClass = 2,
  kAdjectiveClass = 4,
};

// English inflection: regular rules (plural and third person -s/-es/-ies,
// past -ed with e-drop, y to ied and a doubled final consonant, -ing, and
// comparatives) checked against a word list, plus the irregular forms of
// WordNet's exception lists. Works on ASCII words; others have no forms.
class EnglishForms {
 public:
  // A list of known words, one per line; only forms it holds are generated.
  bool LoadWordList(const std::string& path, std::string* error);
  // A WordNet index file (index.noun, ...): its lemmas get that class.
  bool LoadWordNetIndex(const std::string& path, unsigned word_class, std::string* error);
  // A WordNet exception list: "form base [base ...]" per line.
  bool LoadExceptions(const std::string& path, std::string* error);

  void AddKnownWord(const std::string& word) { known_.insert(word); }
  void AddWordClass(const std::string& word, unsigned word_class) { classes_[word] |= word_class; }
  void AddIrregular(const std::string& base, const std::string& form);

  // The base word and every form of it, sorted, without duplicates.
  // `trusted_classes` are classes the caller knows for certain (the
  // dictionary tags the word so): for them a regular plural or verb form
  // is kept even when the word list lacks it.
  std::vector<std::string> FormsOf(const std::string& base, unsigned trusted_classes = 0) const;

  bool IsKnown(const std::string& word) const { return known_.count(word) > 0; }

 private:
  // Adds the candidates the word list knows; when it knows none and the
  // rule is trusted, the first candidate.
  void AddRule(const std::vector<std::string>& candidates, bool trusted,
               std::vector<std::string>* forms) const;
  void AddSForms(const std::string& base, bool trusted, std::vector<std::string>* forms) const;
  void AddVerbForms(const std::string& base, bool trusted, std::vector<std::string>* forms) const;
  void AddComparatives(const std::string& base, std::vector<std::string>* forms) const;

  std::unordered_set<std::string> known_;
  std::unordered_map<std::string, unsigned> classes_;
  std::unordered_map<std::string, std::vector<std::string>> irregular_;
};

}  // namespace vordo

#endif  // VORDO_TOOLS_ENGLISH_FORMS_H_

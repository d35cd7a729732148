#include "tools/english_forms.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vordo {
namespace {

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

bool IsAsciiWord(const std::string& word) {
  if (word.empty()) return false;
  for (char c : word) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return true;
}

bool EndsWith(const std::string& word, const char* ending) {
  size_t length = std::char_traits<char>::length(ending);
  return word.size() >= length && word.compare(word.size() - length, length, ending) == 0;
}

// stop -> stopped, big -> bigger: a word ending in consonant, vowel,
// consonant may double its last letter (visit -> visited does not). Only
// the word list can tell, so both are tried and neither is trusted.
bool MayDouble(const std::string& word) {
  size_t n = word.size();
  if (n < 3) return false;
  char last = word[n - 1];
  return !IsVowel(last) && last != 'w' && last != 'x' && last != 'y' && IsVowel(word[n - 2]) &&
         !IsVowel(word[n - 3]);
}

bool EndsInConsonantY(const std::string& word) {
  return word.size() >= 2 && word.back() == 'y' && !IsVowel(word[word.size() - 2]);
}

template <typename Line>
bool ForEachLine(const std::string& path, std::string* error, Line line) {
  std::ifstream file(path);
  if (!file) {
    *error = "cannot read " + path;
    return false;
  }
  std::string text;
  while (std::getline(file, text)) line(text);
  return true;
}

}  // namespace

bool EnglishForms::LoadWordList(const std::string& path, std::string* error) {
  return ForEachLine(path, error, [this](const std::string& line) {
    if (!line.empty()) known_.insert(line);
  });
}

bool EnglishForms::LoadWordNetIndex(const std::string& path, unsigned word_class,
                                    std::string* error) {
  return ForEachLine(path, error, [this, word_class](const std::string& line) {
    if (line.empty() || line[0] == ' ') return;  // the licence header is indented
    std::string lemma = line.substr(0, line.find(' '));
    if (lemma.find('_') == std::string::npos) classes_[lemma] |= word_class;
  });
}

bool EnglishForms::LoadExceptions(const std::string& path, std::string* error) {
  return ForEachLine(path, error, [this](const std::string& line) {
    std::istringstream words(line);
    std::string form, base;
    words >> form;
    while (words >> base) AddIrregular(base, form);
  });
}

void EnglishForms::AddIrregular(const std::string& base, const std::string& form) {
  if (form.find('_') != std::string::npos || base.find('_') != std::string::npos) return;
  irregular_[base].push_back(form);
}

void EnglishForms::AddRule(const std::vector<std::string>& candidates, bool trusted,
                           std::vector<std::string>* forms) const {
  bool any = false;
  for (const std::string& candidate : candidates) {
    if (known_.count(candidate) > 0) {
      forms->push_back(candidate);
      any = true;
    }
  }
  if (!any && trusted) forms->push_back(candidates.front());
}

void EnglishForms::AddSForms(const std::string& base, bool trusted,
                             std::vector<std::string>* forms) const {
  if (EndsInConsonantY(base)) {
    AddRule({base.substr(0, base.size() - 1) + "ies"}, trusted, forms);
  } else if (EndsWith(base, "s") || EndsWith(base, "x") || EndsWith(base, "z") ||
             EndsWith(base, "ch") || EndsWith(base, "sh")) {
    AddRule({base + "es"}, trusted, forms);
  } else {
    AddRule({base + "s", base + "es"}, trusted, forms);
  }
}

void EnglishForms::AddVerbForms(const std::string& base, bool trusted,
                                std::vector<std::string>* forms) const {
  AddSForms(base, trusted, forms);
  if (EndsInConsonantY(base)) {
    AddRule({base.substr(0, base.size() - 1) + "ied"}, trusted, forms);
  } else if (EndsWith(base, "e")) {
    AddRule({base + "d"}, trusted, forms);
  } else {
    AddRule({base + "ed", base + base.back() + "ed"}, trusted && !MayDouble(base), forms);
  }
  if (EndsWith(base, "ie")) {
    AddRule({base.substr(0, base.size() - 2) + "ying"}, trusted, forms);
  } else if (EndsWith(base, "e") && !EndsWith(base, "ee") && !EndsWith(base, "ye") &&
             !EndsWith(base, "oe")) {
    AddRule({base.substr(0, base.size() - 1) + "ing"}, trusted, forms);
  } else {
    AddRule({base + "ing", base + base.back() + "ing"}, trusted && !MayDouble(base), forms);
  }
}

// Comparatives are never trusted without the word list: many adjectives
// take "more" instead.
void EnglishForms::AddComparatives(const std::string& base, std::vector<std::string>* forms) const {
  if (EndsInConsonantY(base)) {
    std::string stem = base.substr(0, base.size() - 1);
    AddRule({stem + "ier"}, false, forms);
    AddRule({stem + "iest"}, false, forms);
  } else if (EndsWith(base, "e")) {
    AddRule({base + "r"}, false, forms);
    AddRule({base + "st"}, false, forms);
  } else {
    AddRule({base + "er", base + base.back() + "er"}, false, forms);
    AddRule({base + "est", base + base.back() + "est"}, false, forms);
  }
}

std::vector<std::string> EnglishForms::FormsOf(const std::string& base,
                                               unsigned trusted_classes) const {
  std::vector<std::string> forms{base};
  if (IsAsciiWord(base)) {
    auto known_classes = classes_.find(base);
    unsigned classes = trusted_classes | (known_classes == classes_.end() ? 0 : known_classes->second);
    if (classes & kNounClass) AddSForms(base, (trusted_classes & kNounClass) != 0, &forms);
    if (classes & kVerbClass) AddVerbForms(base, (trusted_classes & kVerbClass) != 0, &forms);
    if (classes & kAdjectiveClass) AddComparatives(base, &forms);
    auto irregular = irregular_.find(base);
    if (irregular != irregular_.end()) {
      forms.insert(forms.end(), irregular->second.begin(), irregular->second.end());
    }
  }
  std::sort(forms.begin(), forms.end());
  forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
  return forms;
}

}  // namespace vordo

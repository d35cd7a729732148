#include "tools/dictionary_builder.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "dictionary/format.h"
#include "engine/lookup.h"
#include "platform/utf8.h"
#include "platform/windows_1250.h"

namespace vordo {
namespace {

constexpr const char* kFunctionWords[] = {
    "a",    "an",   "the",  "of",   "to",   "in",  "on",    "at",   "by",      "for",
    "with", "from", "up",   "out",  "off",  "down", "over", "into", "and",     "or",
    "as",   "be",   "is",   "it",   "one",  "sb",   "sth",  "st",   "someone", "something",
    "oneself", "not", "no", "all",  "away", "back", "about", "one's", "that",  "this"};

constexpr size_t kMaxSuffix = kTemplateSize - 1;

// Windows-1250 text for the file; a character without a form becomes '?',
// as at the browser boundary, so that a query converted there still
// matches, and is counted.
std::string ToNarrow(const std::string& utf8, size_t* unmapped) {
  std::u16string wide = Utf8ToWide(utf8);
  std::string narrow;
  narrow.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    int byte = UnicodeToWindows1250(wide[i]);
    if (byte < 0) {
      ++*unmapped;
      if (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size()) ++i;
    }
    narrow.push_back(byte < 0 ? '?' : static_cast<char>(byte));
  }
  return narrow;
}

std::vector<std::string> SplitTokens(const std::string& head) {
  std::vector<std::string> tokens;
  size_t pos = 0;
  for (;;) {
    size_t space = head.find(' ', pos);
    std::string token = head.substr(pos, space == std::string::npos ? std::string::npos : space - pos);
    if (!token.empty()) tokens.push_back(token);
    if (space == std::string::npos) return tokens;
    pos = space + 1;
  }
}

unsigned ClassOfPartOfSpeech(const std::string& part_of_speech) {
  if (part_of_speech == "n" || part_of_speech == "n, pl") return kNounClass;
  if (part_of_speech == "v") return kVerbClass;
  if (part_of_speech == "adj") return kAdjectiveClass;
  return 0;
}

std::string CommonPrefix(const std::string& a, const std::string& b) {
  size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return a.substr(0, n);
}

// A lemma record before encoding: its word and the forms it stands for.
struct PlannedRecord {
  std::string key;
  std::vector<std::string> forms;
};

// Records for one base word's forms (see the class comment).
void PlanRecords(const std::string& base, const std::vector<std::string>& forms,
                 std::vector<PlannedRecord>* records) {
  std::string key = base;
  for (const std::string& form : forms) {
    if (form[0] == base[0]) key = CommonPrefix(key, form);
  }
  records->push_back(PlannedRecord{key, forms});
  for (const std::string& form : forms) {
    bool reached = form.compare(0, key.size(), key) == 0 ||
                   (form.size() > 3 && form.compare(0, 2, "un") == 0 &&
                    form.compare(2, key.size(), key) == 0);
    if (!reached) records->push_back(PlannedRecord{form, forms});
  }
}

// The suffixes that turn the key into its forms, or an empty list when some
// form does not begin with the key or needs too long a suffix.
std::vector<std::string> Suffixes(const PlannedRecord& record) {
  std::vector<std::string> suffixes;
  for (const std::string& form : record.forms) {
    if (form.compare(0, record.key.size(), record.key) != 0 ||
        form.size() - record.key.size() > kMaxSuffix) {
      return {};
    }
    suffixes.push_back("\t" + form.substr(record.key.size()));
  }
  return suffixes;
}

}  // namespace

std::string DictionaryBuilder::PartOfSpeechGroup(const std::string& part_of_speech) {
  if (part_of_speech.find("pl") != std::string::npos) return "(pl.)";
  std::string label;
  for (char c : part_of_speech) {
    if (c != ' ' && c != ',') label += c;
  }
  return "(" + label + ".)";
}

void DictionaryBuilder::Add(const std::vector<SourceEntry>& source, DictionaryWriter* writer,
                            Summary* summary) const {
  // Entries, grouped by head text, translations in source order.
  std::map<std::string, std::vector<std::string>> entries;
  std::unordered_map<std::string, unsigned> token_classes;
  for (const SourceEntry& article : source) {
    std::string head = ToNarrow(article.head, &summary->unmappedCharacters);
    for (const std::string& token : SplitTokens(head)) token_classes.emplace(token, 0);
    if (head.find(' ') == std::string::npos) token_classes[head] |= ClassOfPartOfSpeech(article.partOfSpeech);
    if (!article.partOfSpeech.empty()) head += " " + PartOfSpeechGroup(article.partOfSpeech);
    std::vector<std::string>& translations = entries[head];
    for (const std::string& text : article.translations) {
      std::string translation = ToNarrow(text, &summary->unmappedCharacters);
      if (std::find(translations.begin(), translations.end(), translation) == translations.end()) {
        translations.push_back(translation);
      }
    }
  }
  std::unordered_map<std::string, size_t> token_heads;
  for (const auto& entry : entries) {
    std::string joined;
    for (const std::string& translation : entry.second) {
      joined += joined.empty() ? translation : "\t" + translation;
    }
    writer->AddEntry(entry.first, joined);
    summary->translations += entry.second.size();
    for (const std::string& token : SplitTokens(entry.first)) ++token_heads[token];
  }
  summary->headTexts = entries.size();

  // Lemma records for every head token.
  std::vector<PlannedRecord> planned;
  for (const auto& token : token_classes) {
    std::vector<std::string> forms = english_.FormsOf(token.first, token.second);
    // A word written in capitals in the dictionary is found in lower case
    // too, unless the lower-case word has entries of its own.
    std::string lower = LowerCaseAscii(token.first);
    if (lower != token.first && token_classes.count(lower) == 0) forms.push_back(lower);
    std::string negated = "un" + token.first;
    if (token_classes.count(negated) == 0 && english_.IsKnown(negated)) {
      for (const std::string& form : std::vector<std::string>(forms)) {
        if (english_.IsKnown("un" + form)) forms.push_back("un" + form);
      }
      std::sort(forms.begin(), forms.end());
    }
    PlanRecords(token.first, forms, &planned);
  }

  // The most used suffix lists become paradigms; the rest are literals.
  std::map<std::vector<std::string>, size_t> usage;
  for (const PlannedRecord& record : planned) {
    std::vector<std::string> suffixes = Suffixes(record);
    if (suffixes.size() > 1) ++usage[suffixes];
  }
  std::vector<std::pair<size_t, std::vector<std::string>>> ranked;
  for (const auto& use : usage) ranked.emplace_back(use.second, use.first);
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  std::map<std::vector<std::string>, int> paradigms;
  for (const auto& entry : ranked) {
    if (paradigms.size() == kLastParadigmCode) break;
    paradigms[entry.second] = writer->AddParadigm(entry.second);
  }
  summary->paradigms = paradigms.size();

  for (const PlannedRecord& record : planned) {
    std::vector<LemmaItem> items;
    auto paradigm = paradigms.find(Suffixes(record));
    if (paradigm != paradigms.end()) {
      items.push_back(LemmaItem::Paradigm(paradigm->second));
    } else {
      for (const std::string& form : record.forms) {
        items.push_back(form == record.key ? LemmaItem::Self() : LemmaItem::Literal(form));
      }
    }
    writer->AddLemma(record.key, items);
    summary->forms += record.forms.size();
  }
  summary->lemmaRecords = planned.size();

  for (const char* word : kFunctionWords) {
    auto heads = token_heads.find(word);
    if (heads != token_heads.end() && heads->second >= kCommonWordHeads) writer->MarkCommon(word);
  }
}

}  // namespace vordo

#include "dictionary/labels.h"

namespace vordo {

// Windows-1250 bytes: 0xE8 c-caron, 0xED i-acute, 0xFD y-acute, 0x9E z-caron.
constexpr Label kHeadLabels[] = {
    {"pf", "(oneself)"},   {"n", "(sb/st)"},     {"ing", "(+ing)"}, {"that", "(that...)"},
    {"ti", "(+to inf)"},   {"inf", "(+inf)"},    {"atr", "(atr.)"}, {"", ""},
};

constexpr Label kTranslationLabels[] = {
    {"1", "(kdo/co)"},
    {"2", "(koho/\xE8" "eho)"},
    {"3", "(komu/\xE8" "emu)"},
    {"4", "(koho/co)"},
    {"6", "(kom/\xE8" "em)"},
    {"7", "(k\xFDm/\xE8\xEDm)"},
    {"kdy\x9E", "(kdy\x9E...)"},
    {"aby", "(aby...)"},
    {"jak", "(jak...)"},
    {"\x9E" "e", "(\x9E" "e...)"},
    {"inf", "(+inf)"},
    {"", ""},
};

namespace {

// No code is longer than this, so longer tokens need no table walk.
constexpr size_t kLongestCode = 4;

// The bytes that codes of a table start with: most tokens start with none
// of them and need no table walk.
struct CodeStarts {
  explicit constexpr CodeStarts(const Label* table) {
    for (const Label* entry = table; !entry->code.empty(); ++entry) {
      starts[static_cast<unsigned char>(entry->code[0])] = true;
    }
  }
  bool starts[256] = {};
};

constexpr CodeStarts kHeadCodeStarts(kHeadLabels);
constexpr CodeStarts kTranslationCodeStarts(kTranslationLabels);

const Label* FindLabel(std::string_view token, const Label* table, const CodeStarts& starts) {
  if (token.empty() || token.size() > kLongestCode || !starts.starts[static_cast<unsigned char>(token[0])]) {
    return nullptr;
  }
  for (const Label* entry = table; !entry->code.empty(); ++entry) {
    if (entry->code == token) return entry;
  }
  return nullptr;
}

}  // namespace

std::string ExpandLabels(std::string_view text, int table) {
  size_t space = text.find(' ');
  if (space == std::string_view::npos) return std::string(text);
  const bool heads = table == kHeadLabelTable;
  const Label* labels = heads ? kHeadLabels : kTranslationLabels;
  const CodeStarts& starts = heads ? kHeadCodeStarts : kTranslationCodeStarts;
  std::string result;
  size_t copied = 0;  // text before this offset is already in `result`
  size_t pos = 0;
  for (;;) {
    size_t end = space == std::string_view::npos ? text.size() : space;
    const Label* label = FindLabel(text.substr(pos, end - pos), labels, starts);
    if (label != nullptr) {
      if (result.empty()) result.reserve(text.size() + 16);
      result.append(text.substr(copied, pos - copied)).append(label->label);
      copied = end;
    }
    if (space == std::string_view::npos) break;
    pos = space + 1;
    space = text.find(' ', pos);
  }
  if (copied == 0) return std::string(text);
  return result.append(text.substr(copied));
}

}  // namespace vordo

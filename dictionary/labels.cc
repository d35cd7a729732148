#include "dictionary/labels.h"

namespace vordo {

// Windows-1250 bytes: 0xE8 c-caron, 0xED i-acute, 0xFD y-acute, 0x9E z-caron.
const Label kHeadLabels[] = {
    {"pf", "(oneself)"},   {"n", "(sb/st)"},     {"ing", "(+ing)"}, {"that", "(that...)"},
    {"ti", "(+to inf)"},   {"inf", "(+inf)"},    {"atr", "(atr.)"}, {"", ""},
};

const Label kTranslationLabels[] = {
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

const Label* FindLabel(std::string_view token, const Label* table) {
  for (const Label* entry = table; !entry->code.empty(); ++entry) {
    if (entry->code == token) return entry;
  }
  return nullptr;
}

}  // namespace

std::string ExpandLabels(std::string_view text, int table) {
  if (text.find(' ') == std::string_view::npos) return std::string(text);
  const Label* labels = table == kHeadLabelTable ? kHeadLabels : kTranslationLabels;
  std::string result;
  result.reserve(text.size() + 16);
  size_t pos = 0;
  for (;;) {
    size_t space = text.find(' ', pos);
    std::string_view token = text.substr(pos, space == std::string_view::npos ? std::string_view::npos : space - pos);
    const Label* label = FindLabel(token, labels);
    result.append(label != nullptr ? label->label : token);
    if (space == std::string_view::npos) break;
    result.push_back(' ');
    pos = space + 1;
  }
  return result;
}

}  // namespace vordo

#include "page/character_references.h"

#include <cstddef>

namespace vordo {
namespace {

constexpr uint8_t kUnknown = '?';

struct PairCode {
  uint8_t lead;
  uint8_t next;
  uint8_t byte;
};

constexpr PairCode kPairs[] = {
    {0xC4, 0x8C, 0xC8}, {0xC4, 0x8D, 0xE8}, {0xC4, 0x8E, 0xCF}, {0xC4, 0x8F, 0xEF},
    {0xC4, 0x9A, 0xCC}, {0xC4, 0x9B, 0xEC}, {0xC4, 0xB9, 0xC5}, {0xC4, 0xBA, 0xE5},
    {0xC4, 0xBD, 0xBC}, {0xC4, 0xBE, 0xBE}, {0xC5, 0x87, 0xD2}, {0xC5, 0x88, 0xF2},
    {0xC5, 0x94, 0xC0}, {0xC5, 0x95, 0xE0}, {0xC5, 0x98, 0xD8}, {0xC5, 0x99, 0xF8},
    {0xC5, 0xA0, 0x8A}, {0xC5, 0xA1, 0x9A}, {0xC5, 0xA4, 0x8D}, {0xC5, 0xA5, 0x9D},
    {0xC5, 0xAE, 0xD9}, {0xC5, 0xAF, 0xF9}, {0xC5, 0xBD, 0x8E}, {0xC5, 0xBE, 0x9E},
};

struct CodePoint {
  uint32_t first;
  uint32_t last;
  uint8_t byte;
};

constexpr CodePoint kTriples[] = {
    {0x2010, 0x2015, '.'},  {0x2016, 0x2017, '?'},  {0x2018, 0x2019, '\''}, {0x201A, 0x201A, 0x82},
    {0x201B, 0x201B, '\''}, {0x201C, 0x201D, '"'},  {0x201E, 0x201E, 0x84}, {0x201F, 0x201F, '"'},
    {0x2039, 0x2039, 0x8B}, {0x203A, 0x203A, 0x9B}, {0x20A4, 0x20A4, 0xA3}, {0x20AC, 0x20AC, 0x80},
};

struct NamedByte {
  std::string_view name;
  uint8_t byte;
};

constexpr NamedByte kLeadingNames[] = {{"quot", '"'}, {"amp", '&'}, {"lt", '<'}, {"gt", '>'}};

// Bytes 0xA1 to 0xFF, in order.
constexpr std::string_view kLatin1Names[] = {
    "iexcl",  "cent",   "pound",  "curren", "yen",    "brkbar", "sect",   "die",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "hibar",  "deg",    "plusmn", "sup2",
    "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",
    "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",
    "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute",
    "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
    "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave",
    "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",    "ntilde",
    "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave", "uacute",
    "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
constexpr uint8_t kFirstLatin1Byte = 0xA1;

constexpr NamedByte kTrailingNames[] = {{"scaron", 0x9A}, {"Scaron", 0x8A}, {"bull", 0x95},
                                        {"rsquo", '\''},  {"ldquo", '"'},   {"rdquo", '"'},
                                        {"ndash", '-'}};

constexpr size_t kLongestName = 10;
constexpr uint8_t kNoBreakSpace = 0xA0;

constexpr CodePoint kNumeric[] = {
    {268, 268, 0xC8}, {269, 269, 0xE8}, {270, 270, 0xCF}, {271, 271, 0xEF}, {282, 282, 0xCC},
    {283, 283, 0xEC}, {327, 327, 0xD2}, {328, 328, 0xF2}, {344, 344, 0xD8}, {345, 345, 0xF8},
    {352, 352, 0x8A}, {353, 353, 0x9A}, {356, 356, 0x8D}, {357, 357, 0x9D}, {366, 366, 0xD9},
    {367, 367, 0xF9}, {368, 368, 0xD3}, {369, 369, 0xF3}, {381, 381, 0x8E}, {382, 382, 0x9E},
    {8216, 8217, '\''}, {8219, 8219, '\''}};
// Above every mapped value: reading stops growing here, so any number of
// digits is safe and still unmapped.
constexpr uint32_t kBeyondMapped = 100000;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
    char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

uint8_t Lookup(const CodePoint* table, size_t size, uint32_t value, uint8_t fallback) {
  for (size_t i = 0; i < size; ++i) {
    if (value >= table[i].first && value <= table[i].last) return table[i].byte;
  }
  return fallback;
}

}  // namespace

uint8_t DecodeUtf8Pair(uint8_t lead, uint8_t next) {
  if (lead == 0xC2) return static_cast<uint8_t>(0x80 + (next & 0x3F));
  if (lead == 0xC3) return static_cast<uint8_t>(0xC0 + (next & 0x3F));
  for (const PairCode& pair : kPairs) {
    if (pair.lead == lead && pair.next == next) return pair.byte;
  }
  return kUnknown;
}

uint8_t DecodeUtf8Triple(uint8_t lead, uint8_t second, uint8_t third) {
  uint32_t code = (uint32_t{lead} & 0x0F) << 12 | (uint32_t{second} & 0x3F) << 6 | (third & 0x3F);
  return Lookup(kTriples, sizeof kTriples / sizeof *kTriples, code, kUnknown);
}

std::string Named(std::string_view name) {
  if (EqualsIgnoringCase(name, "nbsp")) return std::string(1, static_cast<char>(kNoBreakSpace));
  if (name.size() <= kLongestName) {
    for (const NamedByte& entry : kLeadingNames) {
      if (entry.name == name) return std::string(1, static_cast<char>(entry.byte));
    }
    for (size_t k = 0; k < sizeof kLatin1Names / sizeof *kLatin1Names; ++k) {
      if (kLatin1Names[k] == name) return std::string(1, static_cast<char>(kFirstLatin1Byte + k));
    }
    for (const NamedByte& entry : kTrailingNames) {
      if (entry.name == name) return std::string(1, static_cast<char>(entry.byte));
    }
  }
  return "&" + std::string(name) + ";";
}

std::string Numeric(std::string_view digits) {
  uint32_t value = 0;
  for (char digit : digits) {
    value = value * 10 + static_cast<uint32_t>(digit - '0');
    if (value >= kBeyondMapped) break;
  }
  if (value >= 1 && value <= 255) return std::string(1, static_cast<char>(value));
  uint8_t byte = Lookup(kNumeric, sizeof kNumeric / sizeof *kNumeric, value, 0);
  if (byte != 0) return std::string(1, static_cast<char>(byte));
  return "&#" + std::string(digits) + ";";
}

}  // namespace vordo

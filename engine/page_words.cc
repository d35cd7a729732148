#include "engine/page_words.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "markup/word_bytes.h"
#include "platform/windows_1250.h"

namespace vordo {
namespace {

constexpr char16_t kSoftHyphen = 0x00AD;

bool IsApostrophe(char32_t c) {
  return c == U'\'' || c == 0x2019 || c == 0x00B4 || c == 0x02BC || c == 0x2018;
}

bool IsWhiteSpace(char32_t c) {
  return c == U' ' || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200B) || c == 0x2028 || c == 0x202F || c == 0x205F ||
         c == 0x3000 || c == 0xFEFF;
}

bool IsWordPart(CharacterKind kind) { return kind != CharacterKind::kOther; }

// One character of UTF-16 text; a lone surrogate stands for itself.
struct Character {
  char32_t value;
  size_t length;
};

Character CharacterAt(std::u16string_view text, size_t pos) {
  char16_t unit = text[pos];
  if (unit >= 0xD800 && unit <= 0xDBFF && pos + 1 < text.size() && text[pos + 1] >= 0xDC00 &&
      text[pos + 1] <= 0xDFFF) {
    return {0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[pos + 1] - 0xDC00), 2};
  }
  return {unit, 1};
}

CharacterKind KindAt(std::u16string_view text, size_t pos) {
  return pos < text.size() ? KindOf(CharacterAt(text, pos).value) : CharacterKind::kOther;
}

// Reads one word from `pos`, which holds a letter, mark or digit, to the
// end of its run, and spells it.
PageWord ReadWord(std::u16string_view text, size_t pos, bool* has_letter) {
  PageWord word;
  word.begin = pos;
  bool spellable = true;
  while (pos < text.size()) {
    Character character = CharacterAt(text, pos);
    CharacterKind kind = KindOf(character.value);
    if (kind == CharacterKind::kLetter) *has_letter = true;
    if (IsWordPart(kind)) {
      spellable = spellable && AppendSpelling(character.value, &word.spelling);
    } else if (character.value == kSoftHyphen) {
      // Skipped inside a word: the browser shows it only at a line's end.
    } else if ((IsApostrophe(character.value) || IsHyphen(character.value)) &&
               IsWordPart(KindAt(text, pos + 1))) {
      word.spelling += IsHyphen(character.value) ? '-' : '\'';
    } else {
      break;
    }
    pos += character.length;
  }
  // A soft hyphen at the end belongs to no word.
  while (pos > word.begin && text[pos - 1] == kSoftHyphen) --pos;
  word.end = pos;
  if (!spellable) word.spelling.clear();
  return word;
}

}  // namespace

bool IsHyphen(char32_t c) { return c == U'-' || c == 0x2010 || c == 0x2011; }

CharacterKind KindOf(char32_t character) {
  if (character < 0x80) {
    if ((character | 0x20) >= U'a' && (character | 0x20) <= U'z') return CharacterKind::kLetter;
    return character >= U'0' && character <= U'9' ? CharacterKind::kDigit : CharacterKind::kOther;
  }
  auto range = std::upper_bound(
      std::begin(kCharacterRanges), std::end(kCharacterRanges), character,
      [](char32_t c, const CharacterRange& r) { return c < r.first; });
  if (range == std::begin(kCharacterRanges)) return CharacterKind::kOther;
  --range;
  return character <= range->last ? range->kind : CharacterKind::kOther;
}

bool AppendSpelling(char32_t character, std::string* out) {
  if (character < 0x10000) {
    int byte = UnicodeToWindows1250(static_cast<char16_t>(character));
    if (byte >= 0 && (IsWordByte(static_cast<uint8_t>(byte)) || (byte >= '0' && byte <= '9'))) {
      *out += static_cast<char>(byte);
      return true;
    }
  }
  CharacterKind kind = KindOf(character);
  if (kind == CharacterKind::kMark) return true;
  if (kind != CharacterKind::kLetter) return false;
  auto folding = std::lower_bound(
      std::begin(kLetterFoldings), std::end(kLetterFoldings), character,
      [](const LetterFolding& f, char32_t c) { return f.letter < c; });
  if (folding == std::end(kLetterFoldings) || folding->letter != character) return false;
  *out += folding->spelling;
  return true;
}

std::vector<PageWord> SplitPageWords(std::u16string_view text) {
  std::vector<PageWord> words;
  bool only_white_since_last = false;
  size_t pos = 0;
  while (pos < text.size()) {
    Character character = CharacterAt(text, pos);
    if (!IsWordPart(KindOf(character.value))) {
      if (!IsWhiteSpace(character.value)) only_white_since_last = false;
      pos += character.length;
      continue;
    }
    bool has_letter = false;
    PageWord word = ReadWord(text, pos, &has_letter);
    pos = std::max(word.end, pos + character.length);
    if (!has_letter) {
      only_white_since_last = false;  // digits part phrases as signs do
      continue;
    }
    word.follows_closely = only_white_since_last;
    words.push_back(std::move(word));
    only_white_since_last = true;
  }
  return words;
}

}  // namespace vordo

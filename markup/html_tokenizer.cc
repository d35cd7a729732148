#include "markup/html_tokenizer.h"

#include <array>
#include <string_view>

#include "markup/character_references.h"
#include "markup/named_reference_table.h"
#include "markup/word_bytes.h"
#include "platform/find_byte.h"

namespace vordo {
namespace {

// What an element's start tag means to the tokenizer. Browsers read the
// content of the raw text elements (script, style, textarea, title and the
// like) as raw text up to their own end tag: no tags, no comments, and
// nothing of it is prose to mark; plaintext is raw text to the end of the
// document. The text of svg and math is drawing or formula, not prose.
// Table elements decide where browsers put the text standing between them.
enum class Role : uint8_t { kRawText, kPlaintext, kForeign, kTable };

struct KnownElement {
  std::string_view name;  // lower case
  Role role;
  TableContext::Element table;
};

using Table = TableContext::Element;
constexpr KnownElement kKnownElements[] = {
    {"script", Role::kRawText, Table::kOther},    {"style", Role::kRawText, Table::kOther},
    {"textarea", Role::kRawText, Table::kOther},  {"title", Role::kRawText, Table::kOther},
    {"xmp", Role::kRawText, Table::kOther},       {"iframe", Role::kRawText, Table::kOther},
    {"noembed", Role::kRawText, Table::kOther},   {"noframes", Role::kRawText, Table::kOther},
    {"noscript", Role::kRawText, Table::kOther},  {"plaintext", Role::kPlaintext, Table::kOther},
    {"svg", Role::kForeign, Table::kOther},       {"math", Role::kForeign, Table::kOther},
    {"table", Role::kTable, Table::kTable},       {"tbody", Role::kTable, Table::kSection},
    {"thead", Role::kTable, Table::kSection},     {"tfoot", Role::kTable, Table::kSection},
    {"tr", Role::kTable, Table::kRow},            {"td", Role::kTable, Table::kCell},
    {"th", Role::kTable, Table::kCell},           {"caption", Role::kTable, Table::kCaption},
};
constexpr size_t kLongestKnownName = [] {
  size_t longest = 0;
  for (const KnownElement& element : kKnownElements) {
    if (element.name.size() > longest) longest = element.name.size();
  }
  return longest;
}();
static_assert(kLongestKnownName < 16, "a length is a bit of kKnownLengths");

// For each first letter a-z, a bit for each length of the known names that
// start with it: most tags (a, div, span, li) are told apart by these alone.
constexpr std::array<uint16_t, 26> kKnownLengths = [] {
  std::array<uint16_t, 26> lengths{};
  for (const KnownElement& element : kKnownElements) {
    lengths[element.name[0] - 'a'] |= static_cast<uint16_t>(1u << element.name.size());
  }
  return lengths;
}();

// A numeric reference's value saturates here, past the last code point.
constexpr uint32_t kSaturatedValue = 0x110000;

bool IsAsciiLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(uint8_t c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsAlphanumeric(uint8_t c) { return IsAsciiLetter(c) || IsDigit(c); }
// HTML's white space; a CR is one too, browsers having made it a LF.
constexpr bool IsSpace(uint8_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}
uint8_t LowerAscii(uint8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 32) : c; }

// The bytes that end a run inside a tag, one bit for each kind of run.
enum TagStop : uint8_t {
  kEndsTagName = 1,        // white space, '/', '>'
  kEndsAttributeName = 2,  // white space, '/', '=', '>'
  kEndsUnquoted = 4,       // white space, '>'
  kEndsSpace = 8,          // anything but white space
};

constexpr std::array<uint8_t, 256> kTagStops = [] {
  std::array<uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    bool space = IsSpace(static_cast<uint8_t>(c));
    uint8_t stops = 0;
    if (space || c == '/' || c == '>') stops |= kEndsTagName | kEndsAttributeName;
    if (c == '=') stops |= kEndsAttributeName;
    if (space || c == '>') stops |= kEndsUnquoted;
    if (!space) stops |= kEndsSpace;
    table[c] = stops;
  }
  return table;
}();

// Where the first byte of data[pos, end) that ends a run of `kind` stands,
// or end.
size_t SkipRun(const uint8_t* data, size_t pos, size_t end, TagStop kind) {
  while (pos < end && (kTagStops[data[pos]] & kind) == 0) ++pos;
  return pos;
}

// Where `byte` first stands in data[pos, end), or end.
size_t SearchFrom(const uint8_t* data, size_t pos, size_t end, uint8_t byte) {
  const char* begin = reinterpret_cast<const char*>(data);
  const char* found = FindByte(begin + pos, begin + end, static_cast<char>(byte));
  return found == nullptr ? end : static_cast<size_t>(found - begin);
}

// `lowered`: a tag's name in lower case.
const KnownElement* FindKnownElement(std::string_view lowered) {
  if (lowered.empty() || lowered.size() > kLongestKnownName) return nullptr;
  uint8_t first = static_cast<uint8_t>(lowered[0]);
  if (first < 'a' || first > 'z' || (kKnownLengths[first - 'a'] >> lowered.size() & 1) == 0) {
    return nullptr;
  }
  for (const KnownElement& element : kKnownElements) {
    if (element.name == lowered) return &element;
  }
  return nullptr;
}

uint32_t DigitValue(uint8_t c) {
  if (IsDigit(c)) return c - '0';
  return LowerAscii(c) - 'a' + 10u;
}

}  // namespace

void HtmlTokenizer::OnWord(size_t, size_t) {}

void HtmlTokenizer::Reset() {
  state_ = kText;
  position_ = 0;
  text_.Clear();
  tag_.Clear();
  reference_.clear();
  in_word_ = false;
  raw_closer_ = {};
  raw_end_name_.clear();
  foreign_depth_ = 0;
  tables_.Reset();
  marks_words_ = true;
}

void HtmlTokenizer::Feed(const char* bytes, size_t length) {
  const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes);
  feed_start_ = position_;
  size_t unreported = 0;
  size_t pos = 0;
  while (pos < length) {
    if (asks_to_stop_ && ShouldStop()) break;
    size_t next = Step(data, pos, asks_to_stop_ ? pos + 1 : length);
    unreported += next - pos;
    pos = next;
    for (; unreported >= kProgressInterval; unreported -= kProgressInterval) {
      OnProgress(kProgressInterval);
    }
  }
  position_ = At(pos);
  if (unreported > 0) OnProgress(static_cast<unsigned>(unreported));
}

void HtmlTokenizer::WidenLastCharacter(size_t extra) {
  if (in_word_ && word_end_ == position_) word_end_ += extra;
  position_ += extra;
}

size_t HtmlTokenizer::Step(const uint8_t* data, size_t pos, size_t end) {
  while (pos < end) {
    switch (state_) {
      case kText:
        pos = TakeText(data, pos, end);
        break;
      case kAfterAmpersand:
        pos = TakeAfterAmpersand(data, pos);
        break;
      case kReferenceName:
        pos = TakeReferenceName(data, pos, end);
        break;
      case kAfterHash:
        pos = TakeAfterHash(data, pos);
        break;
      case kReferenceDigits:
        pos = TakeReferenceDigits(data, pos, end);
        break;
      case kAfterLess:
        pos = TakeAfterLess(data, pos);
        break;
      case kAfterLessSlash:
        pos = TakeAfterLessSlash(data, pos);
        break;
      case kTagName:
        pos = TakeTagName(data, pos, end);
        break;
      case kInsideTag:
      case kAfterAttributeName:
        pos = TakeBeforeAttribute(data, pos, end);
        break;
      case kAttributeName:
        pos = TakeAttributeName(data, pos, end);
        break;
      case kAfterEquals:
        pos = TakeAfterEquals(data, pos, end);
        break;
      case kSingleQuoted:
      case kDoubleQuoted:
        pos = TakeQuotedValue(data, pos, end);
        break;
      case kUnquoted:
        pos = TakeUnquotedValue(data, pos, end);
        break;
      case kSelfClosing:
        pos = TakeSelfClosing(data, pos);
        break;
      case kAfterBang:
      case kAfterBangDash:
      case kComment:
      case kCommentDash:
      case kCommentDashDash:
      case kCommentEndBang:
      case kDeclaration:
      case kRawText:
      case kRawTextLess:
      case kRawTextEndName:
        pos = TakeRaw(data, pos, end);
        break;
    }
  }
  return pos;
}

void HtmlTokenizer::Finish() {
  switch (state_) {
    case kText:
      break;
    case kAfterAmpersand:
    case kAfterHash:
      AddReferenceLiterally(0);
      break;
    case kReferenceName:
      ResolveNamedReference(false);
      break;
    case kReferenceDigits:
      ResolveNumericReference(false);
      break;
    case kAfterLess:
      AddText('<', position_ - 1, position_);
      break;
    case kAfterLessSlash:
      AddText('<', position_ - 2, position_ - 1);
      AddText('/', position_ - 1, position_);
      break;
    // A tag still open at the end is dropped, as browsers drop it.
    case kTagName:
    case kInsideTag:
    case kAttributeName:
    case kAfterAttributeName:
    case kAfterEquals:
    case kSingleQuoted:
    case kDoubleQuoted:
    case kUnquoted:
    case kSelfClosing:
      state_ = kText;
      return;
    // Comments, declarations and raw content go out raw.
    case kAfterBang:
    case kAfterBangDash:
    case kComment:
    case kCommentDash:
    case kCommentDashDash:
    case kCommentEndBang:
    case kDeclaration:
    case kRawText:
    case kRawTextLess:
    case kRawTextEndName:
      EmitRaw();
      state_ = kText;
      return;
  }
  EndTextRun();
  state_ = kText;
}

void HtmlTokenizer::AddText(const uint8_t* bytes, size_t length, size_t begin, size_t end) {
  Collect(bytes, length);
  if (!marks_words_) return;
  size_t i = 0;
  while (i < length) {
    if (!IsWordByte(bytes[i])) {
      CloseWord();
      while (i < length && !IsWordByte(bytes[i])) ++i;
      continue;
    }
    if (!in_word_) {
      in_word_ = true;
      word_begin_ = begin + i;
    }
    while (i < length && IsWordByte(bytes[i])) ++i;
    word_end_ = i == length ? end : begin + i;
  }
}

void HtmlTokenizer::CloseWord() {
  if (!in_word_) return;
  in_word_ = false;
  OnWord(word_begin_, word_end_);
}

void HtmlTokenizer::EndTextRun() {
  CloseWord();
  if (!text_.Empty()) OnText(text_.Take());
}

void HtmlTokenizer::EmitRaw() {
  if (!text_.Empty()) OnRaw(text_.Take());
}

size_t HtmlTokenizer::TakeText(const uint8_t* data, size_t pos, size_t end) {
  const char* begin = reinterpret_cast<const char*>(data);
  size_t run = static_cast<size_t>(FindEitherByte(begin + pos, begin + end, '<', '&') - begin);
  if (run > pos) AddText(data + pos, run - pos, At(pos), At(run));
  if (run == end) return run;
  if (data[run] == '<') {
    CloseWord();  // whatever the '<' starts, a word ends before it
    state_ = kAfterLess;
  } else {
    reference_.assign(1, '&');
    reference_start_ = At(run);
    state_ = kAfterAmpersand;
  }
  return run + 1;
}

size_t HtmlTokenizer::TakeAfterAmpersand(const uint8_t* data, size_t pos) {
  uint8_t c = data[pos];
  if (IsAlphanumeric(c)) {
    reference_.push_back(static_cast<char>(c));
    state_ = kReferenceName;
    return pos + 1;
  }
  if (c == '#') {
    reference_.push_back('#');
    state_ = kAfterHash;
    return pos + 1;
  }
  AddReferenceLiterally(0);
  state_ = kText;
  return pos;
}

size_t HtmlTokenizer::TakeReferenceName(const uint8_t* data, size_t pos, size_t end) {
  size_t start = pos;
  while (pos < end && IsAlphanumeric(data[pos]) && reference_.size() <= kLongestReferenceName) {
    reference_.push_back(static_cast<char>(data[pos++]));
  }
  if (pos > start) return pos;
  ResolveNamedReference(data[pos] == ';');
  return EndReference(data, pos);
}

size_t HtmlTokenizer::TakeAfterHash(const uint8_t* data, size_t pos) {
  uint8_t c = data[pos];
  reference_value_ = 0;
  if (c == 'x' || c == 'X') {
    reference_.push_back(static_cast<char>(c));
    hexadecimal_ = true;
    state_ = kReferenceDigits;
    return pos + 1;
  }
  if (IsDigit(c)) {
    reference_.push_back(static_cast<char>(c));
    hexadecimal_ = false;
    reference_value_ = c - '0';
    state_ = kReferenceDigits;
    return pos + 1;
  }
  AddReferenceLiterally(0);  // "&#" and no digit: text
  state_ = kText;
  return pos;
}

size_t HtmlTokenizer::TakeReferenceDigits(const uint8_t* data, size_t pos, size_t end) {
  size_t start = pos;
  const uint32_t base = hexadecimal_ ? 16 : 10;
  for (; pos < end && (hexadecimal_ ? IsHexDigit(data[pos]) : IsDigit(data[pos])); ++pos) {
    reference_.push_back(static_cast<char>(data[pos]));
    reference_value_ = reference_value_ >= kSaturatedValue
                           ? kSaturatedValue
                           : reference_value_ * base + DigitValue(data[pos]);
  }
  if (pos > start) return pos;
  ResolveNumericReference(data[pos] == ';');
  return EndReference(data, pos);
}

size_t HtmlTokenizer::EndReference(const uint8_t* data, size_t pos) {
  state_ = kText;
  // A reference that took the ';' at pos counts it in reference_.
  bool took_semicolon = data[pos] == ';' && reference_start_ + reference_.size() == At(pos) + 1;
  return took_semicolon ? pos + 1 : pos;
}

void HtmlTokenizer::AddReferenceLiterally(size_t from) {
  if (from >= reference_.size()) return;
  AddText(reinterpret_cast<const uint8_t*>(reference_.data()) + from, reference_.size() - from,
          reference_start_ + from, reference_start_ + reference_.size());
}

void HtmlTokenizer::AddReferenceCharacter(char32_t character, size_t end) {
  AddText(static_cast<char>(MarkupByteOf(character)), reference_start_, end);
}

// reference_ is "&" and the name; `semicolon` tells whether a ';' follows.
// A reference that takes the ';' counts it in reference_ (so that the
// caller knows the ';' is used), which the text of the rest never reaches.
void HtmlTokenizer::ResolveNamedReference(bool semicolon) {
  std::string_view name(reference_.data() + 1, reference_.size() - 1);
  ReferenceMatch match;
  if (!MatchNamedReference(name, semicolon, &match)) {
    AddReferenceLiterally(0);
    return;
  }
  size_t end = reference_start_ + 1 + match.length;
  AddReferenceCharacter(match.first, end);
  if (match.second != 0) AddReferenceCharacter(match.second, end);
  if (match.length > name.size()) {
    reference_.push_back(';');
    return;
  }
  AddReferenceLiterally(1 + match.length);
}

void HtmlTokenizer::ResolveNumericReference(bool semicolon) {
  bool has_digits = reference_.size() > (hexadecimal_ ? 3u : 2u);
  if (!has_digits) {
    AddReferenceLiterally(0);  // "&#x" and no digit: text
    return;
  }
  if (semicolon) reference_.push_back(';');
  AddReferenceCharacter(NumericReferenceCharacter(reference_value_),
                        reference_start_ + reference_.size());
}

size_t HtmlTokenizer::TakeAfterLess(const uint8_t* data, size_t pos) {
  uint8_t c = data[pos];
  if (IsAsciiLetter(c)) {
    EndTextRun();
    StartTag(false);
    return pos;  // the letter starts the name
  }
  if (c == '/') {
    state_ = kAfterLessSlash;
  } else if (c == '!' || c == '?') {
    // "<!...>" and "<?...>": a comment, a declaration, or what browsers
    // read as a comment up to the next '>'.
    EndTextRun();
    Collect('<');
    Collect(static_cast<char>(c));
    state_ = c == '!' ? kAfterBang : kDeclaration;
  } else {
    // A '<' that starts nothing is text, as a browser shows it.
    state_ = kText;
    AddText('<', At(pos) - 1, At(pos));
    return pos;
  }
  return pos + 1;
}

size_t HtmlTokenizer::TakeAfterLessSlash(const uint8_t* data, size_t pos) {
  uint8_t c = data[pos];
  EndTextRun();
  if (IsAsciiLetter(c)) {
    StartTag(true);
    return pos;  // the letter starts the name
  }
  if (c == '>') {
    state_ = kText;  // "</>" is nothing at all
    return pos + 1;
  }
  Collect('<');
  Collect('/');
  state_ = kDeclaration;
  return pos;
}

void HtmlTokenizer::StartTag(bool end_tag) {
  if (wants_text_) {
    tag_.Clear();
    if (end_tag) tag_.name.push_back('/');
  }
  tag_.selfClosing = false;
  end_tag_ = end_tag;
  name_length_ = 0;
  state_ = kTagName;
}

void HtmlTokenizer::AppendToName(const uint8_t* bytes, size_t length) {
  static_assert(kLongestKnownName <= kKeptNameBytes, "a known name is kept whole");
  if (wants_text_) tag_.name.append(reinterpret_cast<const char*>(bytes), length);
  for (size_t i = 0; i < length && name_length_ + i < kKeptNameBytes; ++i) {
    kept_name_[name_length_ + i] = static_cast<char>(LowerAscii(bytes[i]));
  }
  name_length_ += length;
}

void HtmlTokenizer::AddAttribute(uint8_t c) {
  if (wants_text_) {
    tag_.attributeNames.emplace_back(1, static_cast<char>(c));
    tag_.attributeValues.emplace_back();
  }
  state_ = kAttributeName;
}

void HtmlTokenizer::AppendToValue(const uint8_t* bytes, size_t length) {
  if (wants_text_) tag_.attributeValues.back().append(reinterpret_cast<const char*>(bytes), length);
}

size_t HtmlTokenizer::TakeTagName(const uint8_t* data, size_t pos, size_t end) {
  size_t run = SkipRun(data, pos, end, kEndsTagName);
  AppendToName(data + pos, run - pos);
  if (run == end) return run;
  uint8_t c = data[run];
  if (c == '>') {
    EmitTag();
  } else {
    state_ = c == '/' ? kSelfClosing : kInsideTag;
  }
  return run + 1;
}

size_t HtmlTokenizer::TakeBeforeAttribute(const uint8_t* data, size_t pos, size_t end) {
  uint8_t c = data[pos];
  if (IsSpace(c)) return SkipRun(data, pos, end, kEndsSpace);
  if (c == '/') {
    state_ = kSelfClosing;
  } else if (c == '>') {
    EmitTag();
  } else if (c == '=' && state_ == kAfterAttributeName) {
    state_ = kAfterEquals;
  } else {
    AddAttribute(c);
  }
  return pos + 1;
}

size_t HtmlTokenizer::TakeAttributeName(const uint8_t* data, size_t pos, size_t end) {
  size_t run = SkipRun(data, pos, end, kEndsAttributeName);
  if (wants_text_) {
    tag_.attributeNames.back().append(reinterpret_cast<const char*>(data) + pos, run - pos);
  }
  if (run == end) return run;
  switch (data[run]) {
    case '/':
      state_ = kSelfClosing;
      break;
    case '=':
      state_ = kAfterEquals;
      break;
    case '>':
      EmitTag();
      break;
    default:  // white space
      state_ = kAfterAttributeName;
      break;
  }
  return run + 1;
}

size_t HtmlTokenizer::TakeAfterEquals(const uint8_t* data, size_t pos, size_t end) {
  uint8_t c = data[pos];
  if (IsSpace(c)) return SkipRun(data, pos, end, kEndsSpace);
  if (c == '"') {
    state_ = kDoubleQuoted;
  } else if (c == '\'') {
    state_ = kSingleQuoted;
  } else if (c == '>') {
    EmitTag();
  } else {
    AppendToValue(data + pos, 1);
    state_ = kUnquoted;
  }
  return pos + 1;
}

size_t HtmlTokenizer::TakeQuotedValue(const uint8_t* data, size_t pos, size_t end) {
  // Only the quote byte that opened the value ends it.
  size_t run = SearchFrom(data, pos, end, state_ == kSingleQuoted ? '\'' : '"');
  AppendToValue(data + pos, run - pos);
  if (run == end) return run;
  state_ = kInsideTag;
  return run + 1;
}

size_t HtmlTokenizer::TakeUnquotedValue(const uint8_t* data, size_t pos, size_t end) {
  size_t run = SkipRun(data, pos, end, kEndsUnquoted);
  AppendToValue(data + pos, run - pos);
  if (run == end) return run;
  if (data[run] == '>') {
    EmitTag();
  } else {
    state_ = kInsideTag;
  }
  return run + 1;
}

size_t HtmlTokenizer::TakeSelfClosing(const uint8_t* data, size_t pos) {
  if (data[pos] == '>') {
    tag_.selfClosing = true;
    EmitTag();
    return pos + 1;
  }
  state_ = kInsideTag;
  return pos;
}

void HtmlTokenizer::EmitTag() {
  if (wants_text_) OnTag(tag_);
  state_ = kText;
  const bool end_tag = end_tag_;
  const KnownElement* known =
      name_length_ > kKeptNameBytes ? nullptr : FindKnownElement(std::string_view(kept_name_, name_length_));
  if (known != nullptr && known->role == Role::kForeign) {
    if (end_tag && foreign_depth_ > 0) --foreign_depth_;
    if (!end_tag && !tag_.selfClosing) ++foreign_depth_;
  } else if (foreign_depth_ == 0 && known != nullptr) {
    Table element = known->table;
    if (end_tag) {
      tables_.EndTag(element);
    } else {
      tables_.StartTag(element);
    }
  }
  marks_words_ = foreign_depth_ == 0 && !tables_.TextLeavesTable();
  // Inside svg and math these are elements like any other.
  if (end_tag || foreign_depth_ > 0 || known == nullptr) return;
  if (known->role == Role::kPlaintext) {
    raw_closer_ = {};
    state_ = kRawText;
  } else if (known->role == Role::kRawText) {
    raw_closer_ = known->name;
    state_ = kRawText;
  }
}

size_t HtmlTokenizer::TakeRaw(const uint8_t* data, size_t pos, size_t end) {
  // Raw content, a comment's body and a declaration are taken in runs up to
  // the byte that may end them.
  size_t run = pos;
  if (state_ == kRawText) {
    run = raw_closer_.empty() ? end : SearchFrom(data, pos, end, '<');
  } else if (state_ == kComment && !comment_empty_) {
    run = SearchFrom(data, pos, end, '-');
  } else if (state_ == kDeclaration) {
    run = SearchFrom(data, pos, end, '>');
  }
  if (run > pos) {
    Collect(data + pos, run - pos);
    return run;
  }
  return StepRaw(data[pos], pos);
}

size_t HtmlTokenizer::StepRaw(uint8_t c, size_t pos) {
  Collect(static_cast<char>(c));
  bool closes = false;
  switch (state_) {
    case kAfterBang:
      closes = c == '>';
      state_ = c == '-' ? kAfterBangDash : kDeclaration;
      break;
    case kAfterBangDash:
      closes = c == '>';
      if (c == '-') {
        state_ = kComment;
        comment_empty_ = true;
      } else {
        state_ = kDeclaration;
      }
      break;
    case kComment:
      closes = c == '>' && comment_empty_;
      if (c == '-') {
        state_ = kCommentDash;
      } else {
        comment_empty_ = false;
      }
      break;
    case kCommentDash:
      closes = c == '>' && comment_empty_;
      comment_empty_ = false;
      state_ = c == '-' ? kCommentDashDash : kComment;
      break;
    case kCommentDashDash:
      closes = c == '>';
      if (c == '!') {
        state_ = kCommentEndBang;
      } else if (c != '-') {
        state_ = kComment;
      }
      break;
    case kCommentEndBang:
      closes = c == '>';
      state_ = c == '-' ? kCommentDash : kComment;
      break;
    case kDeclaration:
      closes = c == '>';
      break;
    case kRawText:
      if (c == '<' && !raw_closer_.empty()) state_ = kRawTextLess;
      break;
    case kRawTextLess:
      if (c == '/') {
        state_ = kRawTextEndName;
        raw_end_name_.clear();
      } else {
        state_ = c == '<' ? kRawTextLess : kRawText;
      }
      break;
    case kRawTextEndName:
      if (raw_end_name_.size() < raw_closer_.size()) {
        if (LowerAscii(c) == static_cast<uint8_t>(raw_closer_[raw_end_name_.size()])) {
          raw_end_name_.push_back(static_cast<char>(c));
        } else {
          state_ = c == '<' ? kRawTextLess : kRawText;
        }
      } else if (IsSpace(c) || c == '/' || c == '>') {
        // "</name" and a delimiter: the end tag, which goes out as a tag and
        // reads the delimiter as one.
        if (wants_text_) {
          std::string content = text_.Take();
          content.resize(content.size() - (2 + raw_end_name_.size() + 1));
          if (!content.empty()) OnRaw(std::move(content));
        }
        StartTag(true);
        AppendToName(reinterpret_cast<const uint8_t*>(raw_end_name_.data()), raw_end_name_.size());
        return pos;
      } else {
        state_ = c == '<' ? kRawTextLess : kRawText;
      }
      break;
    case kText:
    case kAfterAmpersand:
    case kReferenceName:
    case kAfterHash:
    case kReferenceDigits:
    case kAfterLess:
    case kAfterLessSlash:
    case kTagName:
    case kInsideTag:
    case kAttributeName:
    case kAfterAttributeName:
    case kAfterEquals:
    case kSingleQuoted:
    case kDoubleQuoted:
    case kUnquoted:
    case kSelfClosing:
      break;  // not raw states: Step never hands them here
  }
  if (closes) {
    EmitRaw();
    state_ = kText;
  }
  return pos + 1;
}

}  // namespace vordo

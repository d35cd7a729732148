#include "markup/html_tokenizer.h"

#include <cstring>
#include <string_view>

#include "markup/character_references.h"
#include "markup/named_reference_table.h"
#include "markup/word_bytes.h"

namespace vordo {
namespace {

// Where `byte` first stands in data[pos, end), or end.
size_t SearchFrom(const uint8_t* data, size_t pos, size_t end, uint8_t byte) {
  const void* found = std::memchr(data + pos, byte, end - pos);
  return found == nullptr ? end : static_cast<size_t>(static_cast<const uint8_t*>(found) - data);
}

// The elements whose content browsers read as raw text, up to their own
// end tag: no tags, no comments, and nothing of it is prose to mark.
constexpr std::string_view kRawTextElements[] = {
    "script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes", "noscript",
};
// Raw text to the end of the document.
constexpr std::string_view kPlaintext = "plaintext";
// Foreign content: their text is drawing or formula, not prose.
constexpr std::string_view kForeignElements[] = {"svg", "math"};

// A numeric reference's value saturates here, past the last code point.
constexpr uint32_t kSaturatedValue = 0x110000;

bool IsAsciiLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(uint8_t c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsAlphanumeric(uint8_t c) { return IsAsciiLetter(c) || IsDigit(c); }
// HTML's white space; a CR is one too, browsers having made it a LF.
bool IsSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }
uint8_t LowerAscii(uint8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 32) : c; }

bool NameIs(std::string_view name, std::string_view lower) {
  if (name.size() != lower.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (LowerAscii(static_cast<uint8_t>(name[i])) != static_cast<uint8_t>(lower[i])) return false;
  }
  return true;
}

template <size_t N>
bool NameIsOneOf(std::string_view name, const std::string_view (&names)[N]) {
  for (std::string_view candidate : names) {
    if (NameIs(name, candidate)) return true;
  }
  return false;
}

TableContext::Element TableElementOf(std::string_view name) {
  using Element = TableContext::Element;
  if (NameIs(name, "table")) return Element::kTable;
  if (NameIs(name, "tbody") || NameIs(name, "thead") || NameIs(name, "tfoot")) return Element::kSection;
  if (NameIs(name, "tr")) return Element::kRow;
  if (NameIs(name, "td") || NameIs(name, "th")) return Element::kCell;
  if (NameIs(name, "caption")) return Element::kCaption;
  return Element::kOther;
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
  raw_closer_.clear();
  raw_end_name_.clear();
  foreign_depth_ = 0;
  tables_.Reset();
  marks_words_ = true;
}

void HtmlTokenizer::Feed(const char* data, size_t length) {
  unsigned count = 0;
  bool stopped = false;
  Run(reinterpret_cast<const uint8_t*>(data), length, &count, &stopped);
  if (count > 0) OnProgress(count);
}

size_t HtmlTokenizer::Run(const uint8_t* data, size_t length, unsigned* count, bool* stopped) {
  unsigned consumed = *count;  // kept local: the virtual calls cannot touch it
  size_t pos = 0;
  while (pos < length) {
    if (!asks_to_stop_) {
      // Plain text, raw content and quoted attribute values, most of a
      // page, are taken in runs.
      size_t end = pos + (kProgressInterval - consumed);
      if (end > length) end = length;
      size_t run = RunEnd(data, pos, end);
      if (run > pos) {
        TakeRun(data + pos, run - pos);
        consumed += static_cast<unsigned>(run - pos);
        pos = run;
        if (consumed >= kProgressInterval) {
          OnProgress(consumed);
          consumed = 0;
        }
        continue;
      }
    }
    if (asks_to_stop_ && ShouldStop()) {
      *stopped = true;
      break;
    }
    Step(data[pos], position_);
    ++position_;
    ++pos;
    if (++consumed >= kProgressInterval) {
      OnProgress(consumed);
      consumed = 0;
    }
  }
  *count = consumed;
  return pos;
}

size_t HtmlTokenizer::RunEnd(const uint8_t* data, size_t pos, size_t end) const {
  switch (state_) {
    case kText:
      while (pos < end && data[pos] != '<' && data[pos] != '&') ++pos;
      return pos;
    case kRawText:
      // plaintext never ends; the other raw text elements end at an end tag.
      return raw_closer_.empty() ? end : SearchFrom(data, pos, end, '<');
    case kSingleQuoted:
      return SearchFrom(data, pos, end, '\'');
    case kDoubleQuoted:
      return SearchFrom(data, pos, end, '"');
    default:
      return pos;  // the other states move a byte at a time
  }
}

void HtmlTokenizer::TakeRun(const uint8_t* data, size_t length) {
  if (state_ == kText) {
    TakeTextRun(data, length);
    return;
  }
  std::string_view bytes(reinterpret_cast<const char*>(data), length);
  if (state_ == kRawText) {
    Collect(bytes);
  } else {
    tag_.attributeValues.back().append(bytes);
  }
  position_ += length;
}

void HtmlTokenizer::TakeTextRun(const uint8_t* data, size_t length) {
  Collect(std::string_view(reinterpret_cast<const char*>(data), length));
  size_t at = position_;
  position_ += length;
  if (!marks_words_) return;
  size_t i = 0;
  while (i < length) {
    if (!IsWordByte(data[i])) {
      CloseWord();
      while (i < length && !IsWordByte(data[i])) ++i;
      continue;
    }
    size_t begin = i;
    while (i < length && IsWordByte(data[i])) ++i;
    ExtendWord(at + begin, at + i);
  }
}

void HtmlTokenizer::Finish() {
  switch (state_) {
    case kText:
      break;
    case kAfterAmpersand:
    case kAfterHash:
      PushReferenceLiterally(0);
      break;
    case kReferenceName:
      ResolveNamedReference(false);
      break;
    case kReferenceDigits:
      ResolveNumericReference(false);
      break;
    case kAfterLess:
      PushText('<', position_ - 1, position_);
      break;
    case kAfterLessSlash:
      PushText('<', position_ - 2, position_ - 1);
      PushText('/', position_ - 1, position_);
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

void HtmlTokenizer::PushText(uint8_t byte, size_t begin, size_t end) {
  Collect(static_cast<char>(byte));
  if (!marks_words_) return;
  if (IsWordByte(byte)) {
    ExtendWord(begin, end);
  } else {
    CloseWord();
  }
}

void HtmlTokenizer::ExtendWord(size_t begin, size_t end) {
  if (!in_word_) {
    in_word_ = true;
    word_begin_ = begin;
  }
  word_end_ = end;
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

void HtmlTokenizer::Step(uint8_t c, size_t at) {
  switch (state_) {
    case kText:
      if (c == '<') {
        CloseWord();  // whatever the '<' starts, a word ends before it
        state_ = kAfterLess;
      } else if (c == '&') {
        reference_.assign(1, '&');
        reference_start_ = at;
        state_ = kAfterAmpersand;
      } else {
        PushText(c, at, at + 1);
      }
      return;
    case kAfterAmpersand:
    case kReferenceName:
    case kAfterHash:
    case kReferenceDigits:
      StepReference(c, at);
      return;
    case kAfterLess:
      if (IsAsciiLetter(c)) {
        EndTextRun();
        StartTag(c);
      } else if (c == '/') {
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
        PushText('<', at - 1, at);
        Step(c, at);
      }
      return;
    case kAfterLessSlash:
      if (IsAsciiLetter(c)) {
        EndTextRun();
        StartTag('/');
        tag_.name.push_back(static_cast<char>(c));
      } else if (c == '>') {
        EndTextRun();  // "</>" is nothing at all
        state_ = kText;
      } else {
        EndTextRun();
        Collect("</");
        state_ = kDeclaration;
        StepRaw(c, at);
      }
      return;
    case kTagName:
    case kInsideTag:
    case kAttributeName:
    case kAfterAttributeName:
    case kAfterEquals:
    case kSingleQuoted:
    case kDoubleQuoted:
    case kUnquoted:
    case kSelfClosing:
      StepTag(c, at);
      return;
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
      StepRaw(c, at);
      return;
  }
}

void HtmlTokenizer::StepReference(uint8_t c, size_t at) {
  switch (state_) {
    case kAfterAmpersand:
      if (IsAlphanumeric(c)) {
        reference_.push_back(static_cast<char>(c));
        state_ = kReferenceName;
      } else if (c == '#') {
        reference_.push_back('#');
        state_ = kAfterHash;
      } else {
        PushReferenceLiterally(0);
        state_ = kText;
        Step(c, at);
      }
      return;
    case kReferenceName:
      if (IsAlphanumeric(c) && reference_.size() <= kLongestReferenceName) {
        reference_.push_back(static_cast<char>(c));
        return;
      }
      ResolveNamedReference(c == ';');
      break;
    case kAfterHash:
      reference_value_ = 0;
      if (c == 'x' || c == 'X') {
        reference_.push_back(static_cast<char>(c));
        hexadecimal_ = true;
        state_ = kReferenceDigits;
        return;
      }
      if (IsDigit(c)) {
        reference_.push_back(static_cast<char>(c));
        hexadecimal_ = false;
        reference_value_ = c - '0';
        state_ = kReferenceDigits;
        return;
      }
      PushReferenceLiterally(0);  // "&#" and no digit: text
      state_ = kText;
      Step(c, at);
      return;
    default:  // kReferenceDigits
      if (hexadecimal_ ? IsHexDigit(c) : IsDigit(c)) {
        reference_.push_back(static_cast<char>(c));
        uint32_t base = hexadecimal_ ? 16 : 10;
        reference_value_ = reference_value_ >= kSaturatedValue
                               ? kSaturatedValue
                               : reference_value_ * base + DigitValue(c);
        return;
      }
      ResolveNumericReference(c == ';');
      break;
  }
  // The reference is resolved; a ';' that closed it was taken with it.
  state_ = kText;
  bool took_semicolon = c == ';' && reference_start_ + reference_.size() == at + 1;
  if (!took_semicolon) Step(c, at);
}

void HtmlTokenizer::PushReferenceLiterally(size_t from) {
  for (size_t i = from; i < reference_.size(); ++i) {
    PushText(static_cast<uint8_t>(reference_[i]), reference_start_ + i, reference_start_ + i + 1);
  }
}

void HtmlTokenizer::PushReferenceCharacter(char32_t character, size_t end) {
  PushText(MarkupByteOf(character), reference_start_, end);
}

// reference_ is "&" and the name; `semicolon` tells whether a ';' follows.
// A reference that takes the ';' counts it in reference_ (so that the
// caller knows the ';' is used), which PushText of the rest never reaches.
void HtmlTokenizer::ResolveNamedReference(bool semicolon) {
  std::string_view name(reference_.data() + 1, reference_.size() - 1);
  ReferenceMatch match;
  if (!MatchNamedReference(name, semicolon, &match)) {
    PushReferenceLiterally(0);
    return;
  }
  size_t end = reference_start_ + 1 + match.length;
  PushReferenceCharacter(match.first, end);
  if (match.second != 0) PushReferenceCharacter(match.second, end);
  if (match.length > name.size()) {
    reference_.push_back(';');
    return;
  }
  PushReferenceLiterally(1 + match.length);
}

void HtmlTokenizer::ResolveNumericReference(bool semicolon) {
  bool has_digits = reference_.size() > (hexadecimal_ ? 3u : 2u);
  if (!has_digits) {
    PushReferenceLiterally(0);  // "&#x" and no digit: text
    return;
  }
  if (semicolon) reference_.push_back(';');
  PushReferenceCharacter(NumericReferenceCharacter(reference_value_),
                         reference_start_ + reference_.size());
}

void HtmlTokenizer::StartTag(uint8_t first) {
  tag_.Clear();
  tag_.name.assign(1, static_cast<char>(first));
  state_ = kTagName;
}

void HtmlTokenizer::AddAttribute(uint8_t c) {
  tag_.attributeNames.emplace_back(1, static_cast<char>(c));
  tag_.attributeValues.emplace_back();
  state_ = kAttributeName;
}

void HtmlTokenizer::StepTag(uint8_t c, size_t at) {
  switch (state_) {
    case kTagName:
      if (IsSpace(c)) {
        state_ = kInsideTag;
      } else if (c == '/') {
        state_ = kSelfClosing;
      } else if (c == '>') {
        EmitTag();
      } else {
        tag_.name.push_back(static_cast<char>(c));
      }
      return;
    case kInsideTag:
    case kAfterAttributeName:
      if (IsSpace(c)) return;
      if (c == '/') {
        state_ = kSelfClosing;
      } else if (c == '>') {
        EmitTag();
      } else if (c == '=' && state_ == kAfterAttributeName) {
        state_ = kAfterEquals;
      } else {
        AddAttribute(c);
      }
      return;
    case kAttributeName:
      if (IsSpace(c)) {
        state_ = kAfterAttributeName;
      } else if (c == '/') {
        state_ = kSelfClosing;
      } else if (c == '=') {
        state_ = kAfterEquals;
      } else if (c == '>') {
        EmitTag();
      } else {
        tag_.attributeNames.back().push_back(static_cast<char>(c));
      }
      return;
    case kAfterEquals:
      if (IsSpace(c)) return;
      if (c == '"') {
        state_ = kDoubleQuoted;
      } else if (c == '\'') {
        state_ = kSingleQuoted;
      } else if (c == '>') {
        EmitTag();
      } else {
        tag_.attributeValues.back().assign(1, static_cast<char>(c));
        state_ = kUnquoted;
      }
      return;
    case kSingleQuoted:
    case kDoubleQuoted:
      // Only the quote byte that opened the value ends it.
      if (c == (state_ == kSingleQuoted ? '\'' : '"')) {
        state_ = kInsideTag;
      } else {
        tag_.attributeValues.back().push_back(static_cast<char>(c));
      }
      return;
    case kUnquoted:
      if (IsSpace(c)) {
        state_ = kInsideTag;
      } else if (c == '>') {
        EmitTag();
      } else {
        tag_.attributeValues.back().push_back(static_cast<char>(c));
      }
      return;
    default:  // kSelfClosing
      if (c == '>') {
        tag_.selfClosing = true;
        EmitTag();
      } else {
        state_ = kInsideTag;
        StepTag(c, at);
      }
  }
}

void HtmlTokenizer::EmitTag() {
  OnTag(tag_);
  state_ = kText;
  std::string_view name = tag_.name;
  bool end_tag = name[0] == '/';
  if (end_tag) name.remove_prefix(1);
  if (NameIsOneOf(name, kForeignElements)) {
    if (end_tag && foreign_depth_ > 0) --foreign_depth_;
    if (!end_tag && !tag_.selfClosing) ++foreign_depth_;
  } else if (foreign_depth_ == 0) {
    TableContext::Element element = TableElementOf(name);
    if (end_tag) {
      tables_.EndTag(element);
    } else {
      tables_.StartTag(element);
    }
  }
  marks_words_ = foreign_depth_ == 0 && !tables_.TextLeavesTable();
  // Inside svg and math these are elements like any other.
  if (end_tag || foreign_depth_ > 0) return;
  if (NameIs(name, kPlaintext)) {
    raw_closer_.clear();
    state_ = kRawText;
  } else if (NameIsOneOf(name, kRawTextElements)) {
    raw_closer_.assign(name);
    for (char& byte : raw_closer_) byte = static_cast<char>(LowerAscii(static_cast<uint8_t>(byte)));
    state_ = kRawText;
  }
}

void HtmlTokenizer::StepRaw(uint8_t c, size_t at) {
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
    default:  // kRawTextEndName
      if (raw_end_name_.size() < raw_closer_.size()) {
        if (LowerAscii(c) == static_cast<uint8_t>(raw_closer_[raw_end_name_.size()])) {
          raw_end_name_.push_back(static_cast<char>(c));
        } else {
          state_ = c == '<' ? kRawTextLess : kRawText;
        }
      } else if (IsSpace(c) || c == '/' || c == '>') {
        // "</name" and a delimiter: the end tag, which goes out as a tag.
        if (wants_text_) {
          std::string content = text_.Take();
          content.resize(content.size() - (2 + raw_end_name_.size() + 1));
          if (!content.empty()) OnRaw(std::move(content));
        }
        StartTag('/');
        tag_.name += raw_end_name_;
        StepTag(c, at);
      } else {
        state_ = c == '<' ? kRawTextLess : kRawText;
      }
      break;
  }
  if (closes) {
    EmitRaw();
    state_ = kText;
  }
}

}  // namespace vordo

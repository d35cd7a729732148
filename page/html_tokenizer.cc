#include "page/html_tokenizer.h"

#include <cstring>

#include "page/character_references.h"

namespace vordo {
namespace {

constexpr uint8_t kByteOrderMark[] = {0xEF, 0xBB, 0xBF};
constexpr char kScriptCloser[] = "/script";  // what states 21 to 27 wait for

bool IsAlphanumeric(uint8_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

bool IsAttributeNameByte(uint8_t c) { return IsAlphanumeric(c) || c == '-' || c == '_'; }

bool IsSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsContinuation(uint8_t c) { return c >= 0x80 && c <= 0xBF; }

uint8_t LowerAscii(uint8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 32) : c; }

bool IsScriptName(const std::string& name) {
  if (name.size() != 6) return false;
  for (size_t i = 0; i < 6; ++i) {
    if (LowerAscii(static_cast<uint8_t>(name[i])) != static_cast<uint8_t>("script"[i])) return false;
  }
  return true;
}

}  // namespace

void HtmlTokenizer::Reset() {
  state_ = kText;
  text_.Clear();
  reference_.clear();
  tag_.Clear();
  carried_length_ = 0;
}

int HtmlTokenizer::Normalise(const uint8_t* data, size_t available, bool at_end, size_t* length) {
  uint8_t lead = data[0];
  *length = 1;
  if (lead == 0x91 || lead == 0x92) return '\'';
  if (lead == 0x93 || lead == 0x94) return '"';
  size_t needed = lead >= 0xC2 && lead <= 0xDF ? 2 : (lead >= 0xE1 && lead <= 0xEC) || lead == 0xEF ? 3 : 1;
  if (needed == 1) return lead;
  // How many of the following bytes still fit the sequence.
  size_t fitting = 1;
  while (fitting < needed && fitting < available &&
         (lead == 0xEF ? data[fitting] == kByteOrderMark[fitting] : IsContinuation(data[fitting]))) {
    ++fitting;
  }
  if (fitting < needed) {
    // A sequence cut off by the end of this piece may still complete.
    if (fitting == available && !at_end) *length = 0;
    return lead;
  }
  *length = needed;
  if (lead == 0xEF) return -1;
  return needed == 2 ? DecodeUtf8Pair(lead, data[1]) : DecodeUtf8Triple(lead, data[1], data[2]);
}

size_t HtmlTokenizer::Run(const uint8_t* data, size_t length, size_t positions, bool at_end,
                          unsigned* count, bool* stopped) {
  unsigned consumed = *count;  // kept local: the virtual calls cannot touch it
  size_t pos = 0;
  while (pos < positions) {
    if (!asks_to_stop_ && (state_ == kText || state_ == kScript)) {
      size_t end = pos + (kProgressInterval - consumed);
      if (end > positions) end = positions;
      size_t run = pos;
      while (run < end && data[run] < 0x80 && data[run] != '<' &&
             (data[run] != '&' || state_ == kScript)) {
        ++run;
      }
      if (run > pos) {
        text_.Append(std::string_view(reinterpret_cast<const char*>(data + pos), run - pos));
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
    // ASCII, most of a page, needs no normalising.
    size_t taken = 1;
    int c = data[pos] < 0x80 ? data[pos] : Normalise(data + pos, length - pos, at_end, &taken);
    if (taken == 0) break;
    pos += taken;
    consumed += static_cast<unsigned>(taken);
    if (c < 0) continue;  // a byte order mark: no step
    normalised_ = taken > 1 || c != data[pos - 1];
    // Text and script bodies, most of a page, take the short way.
    if ((state_ == kText && c != '<' && c != '&') || (state_ == kScript && c != '<')) {
      text_.Push(static_cast<char>(c));
    } else {
      Step(static_cast<uint8_t>(c));
    }
    if (consumed >= kProgressInterval) {
      OnProgress(consumed);
      consumed = 0;
    }
  }
  *count = consumed;
  return pos;
}

void HtmlTokenizer::Feed(const char* data, size_t length) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data);
  unsigned count = 0;
  bool stopped = false;
  size_t offset = 0;
  if (carried_length_ > 0) {
    // The previous piece ended inside a sequence: read its positions from a
    // window of the carried bytes followed by this piece's first bytes.
    uint8_t window[2 * kLongestSequence];
    size_t carried = carried_length_;
    size_t joined = length < kLongestSequence ? length : kLongestSequence;
    std::memcpy(window, carried_, carried);
    if (joined > 0) std::memcpy(window + carried, bytes, joined);
    carried_length_ = 0;
    size_t taken = Run(window, carried + joined, carried, false, &count, &stopped);
    if (!stopped && taken < carried) {
      // Still cut off: this piece was too short to finish the sequence.
      carried_length_ = carried + joined - taken;
      std::memcpy(carried_, window + taken, carried_length_);
      if (count > 0) OnProgress(count);
      return;
    }
    offset = taken > carried ? taken - carried : 0;
  }
  if (!stopped) {
    size_t remaining = length - offset;
    size_t taken = Run(bytes + offset, remaining, remaining, false, &count, &stopped);
    if (!stopped && taken < remaining) {
      carried_length_ = remaining - taken;
      std::memcpy(carried_, bytes + offset + taken, carried_length_);
    }
  }
  if (count > 0) OnProgress(count);
}

void HtmlTokenizer::Finish() {
  if (carried_length_ > 0) {
    unsigned count = 0;
    bool stopped = false;
    size_t carried = carried_length_;
    carried_length_ = 0;
    Run(carried_, carried, carried, true, &count, &stopped);
    if (count > 0) OnProgress(count);
  }
  if (text_.Empty()) return;
  if (state_ <= kAfterLess) {
    OnText(text_.Take());
  } else {
    OnRaw(text_.Take());
  }
}

void HtmlTokenizer::Step(uint8_t c) {
  switch (state_) {
    case kText:
      if (c == '<') {
        state_ = kAfterLess;
      } else if (c == '&') {
        state_ = kAfterAmpersand;
      } else {
        text_.Push(static_cast<char>(c));
      }
      return;
    case kAfterAmpersand:
      if (c == '#') {
        state_ = kAfterHash;
      } else if (IsAlphanumeric(c)) {
        reference_.assign(1, static_cast<char>(c));
        state_ = kReferenceName;
      } else if (c == '<') {
        state_ = kAfterLess;
      } else {
        text_.Push('&');
        text_.Push(static_cast<char>(c));
        state_ = kText;
      }
      return;
    case kReferenceName:
    case kReferenceDigits: {
      bool numeric = state_ == kReferenceDigits;
      if (numeric ? IsDigit(c) : IsAlphanumeric(c)) {
        reference_.push_back(static_cast<char>(c));
        return;
      }
      text_.Append(numeric ? Numeric(reference_) : Named(reference_));
      if (c == '&') {
        state_ = kAfterAmpersand;
      } else if (c == '<') {
        state_ = kAfterLess;
      } else {
        if (c != ';') text_.Push(static_cast<char>(c));
        state_ = kText;
      }
      return;
    }
    case kAfterHash:
      if (IsDigit(c)) {
        reference_.assign(1, static_cast<char>(c));
        state_ = kReferenceDigits;
      } else if (c == '<') {
        state_ = kAfterLess;
      } else {
        text_.Append("&#");
        text_.Push(static_cast<char>(c));
        state_ = kText;
      }
      return;
    case kAfterLess:
      // A '<' that starts no tag, comment or processing instruction is
      // text, as a browser shows it: were it dropped, page text such as
      // "x < img src=x onerror=..." would become live markup.
      if (c != '!' && c != '?' && c != '/' && !IsAlphanumeric(c)) {
        text_.Push('<');
        state_ = kText;
        Step(c);
        return;
      }
      if (!text_.Empty()) OnText(text_.Take());
      tag_.Clear();
      if (c == '!') {
        text_.Append("<!");
        state_ = kAfterBang;
      } else if (c == '?') {
        // "<?xml ...>": a browser skips it up to the next '>'.
        text_.Append("<?");
        state_ = kDeclaration;
      } else {
        tag_.name.assign(1, static_cast<char>(c));
        state_ = kTagName;
      }
      return;
    default:
      if (state_ <= kUnquoted) {
        StepTag(c);
      } else {
        StepRaw(c);
      }
  }
}

void HtmlTokenizer::StepTag(uint8_t c) {
  switch (state_) {
    case kTagName:
      if (IsAlphanumeric(c)) {
        tag_.name.push_back(static_cast<char>(c));
      } else if (c == '>') {
        EmitTag();
        AfterTag();
      } else {
        state_ = kInsideTag;
      }
      return;
    case kInsideTag:
    case kAfterAttributeName:
      if (c == '>') {
        EmitTag();
        AfterTag();
      } else if (c == '<') {
        EmitTag();
        // The tag is written back closed, so a browser reads a script after
        // it; read it so too, the '<' being its first byte.
        if (IsScriptName(tag_.name)) {
          text_.Push('<');
          state_ = kScriptLess;
        } else {
          state_ = kAfterLess;
        }
      } else if (c == '=' && state_ == kAfterAttributeName) {
        state_ = kAfterEquals;
      } else if (IsAttributeNameByte(c)) {
        AddAttribute(c);
      }
      return;
    case kAttributeName:
      if (IsAttributeNameByte(c)) {
        tag_.attributeNames.back().push_back(static_cast<char>(c));
      } else if (c == '>') {
        EmitTag();
        AfterTag();
      } else {
        state_ = c == '=' ? kAfterEquals : kAfterAttributeName;
      }
      return;
    case kAfterEquals:
      if (c == '>') {
        EmitTag();
        AfterTag();
      } else if (c == '\'' && !normalised_) {
        state_ = kSingleQuoted;
      } else if (c == '"' && !normalised_) {
        state_ = kDoubleQuoted;
      } else if (!IsSpace(c)) {
        tag_.attributeValues.back().assign(1, static_cast<char>(c));
        state_ = kUnquoted;
      }
      return;
    case kSingleQuoted:
    case kDoubleQuoted:
      // Only the quote byte itself ends the value (and only it starts a
      // quoted one). A curly quote, made straight on the way in, is part of
      // the value, as a browser reads it: were it to end the value, the
      // rest (title="a<curly quote><img src=x onerror=...>") would become
      // live markup.
      if (c == (state_ == kSingleQuoted ? '\'' : '"') && !normalised_) {
        state_ = kInsideTag;
      } else if (c != '\r' && c != '\n') {
        tag_.attributeValues.back().push_back(static_cast<char>(c));
      }
      return;
    default:  // kUnquoted
      if (c == '>') {
        EmitTag();
        AfterTag();
      } else if (IsSpace(c)) {
        state_ = kInsideTag;
      } else {
        tag_.attributeValues.back().push_back(static_cast<char>(c));
      }
  }
}

void HtmlTokenizer::StepRaw(uint8_t c) {
  text_.Push(static_cast<char>(c));
  bool closes = false;
  switch (state_) {
    case kAfterBang:
      state_ = c == '-' ? kAfterBangDash : kDeclaration;
      break;
    case kAfterBangDash:
      state_ = c == '-' ? kComment : kDeclaration;
      break;
    case kComment:
      if (c == '-') state_ = kCommentDash;
      break;
    case kCommentDash:
      state_ = c == '-' ? kCommentDashDash : kComment;
      break;
    case kCommentDashDash:
      closes = c == '>';
      if (!closes && c != '-') state_ = kComment;
      break;
    case kDeclaration:
    case kScriptClosed:
      closes = c == '>';
      break;
    case kScript:
      if (c == '<') state_ = kScriptLess;
      break;
    default: {  // kScriptLess up to the state before kScriptClosed
      uint8_t expected = static_cast<uint8_t>(kScriptCloser[state_ - kScriptLess]);
      state_ = LowerAscii(c) == expected ? static_cast<State>(state_ + 1) : kScript;
    }
  }
  if (closes) {
    OnRaw(text_.Take());
    state_ = kText;
  }
}

void HtmlTokenizer::EmitTag() { OnTag(tag_); }

void HtmlTokenizer::AfterTag() { state_ = IsScriptName(tag_.name) ? kScript : kText; }

void HtmlTokenizer::AddAttribute(uint8_t c) {
  tag_.attributeNames.emplace_back(1, static_cast<char>(c));
  tag_.attributeValues.emplace_back();
  state_ = kAttributeName;
}

}  // namespace vordo

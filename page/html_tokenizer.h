#ifndef VORDO_PAGE_HTML_TOKENIZER_H_
#define VORDO_PAGE_HTML_TOKENIZER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "page/text_accumulator.h"

namespace vordo {

// A start or end tag as written: the name keeps its case and a leading '/'
// of an end tag; values are stored without their quotes.
struct TagRecord {
  std::string name;
  std::vector<std::string> attributeNames;
  std::vector<std::string> attributeValues;

  void Clear() {
    name.clear();
    attributeNames.clear();
    attributeValues.clear();
  }
};

// A one-pass, byte-driven tokenizer of a page body's markup (Windows-1250,
// with stray UTF-8 and curly quotes normalised on the way in). It splits the
// input into text runs, with character references decoded, tags, and raw
// pieces (comments, declarations, script bodies with their closing tag),
// and hands each to a virtual operation. It never looks back and reads at
// most two bytes ahead; input may arrive in any number of pieces.
class HtmlTokenizer {
 public:
  // States of the machine; the numbers are part of its contract.
  enum State : int32_t {
    kText = 0,
    kAfterAmpersand = 1,
    kReferenceName = 2,
    kAfterHash = 3,
    kReferenceDigits = 4,
    kAfterLess = 5,
    kTagName = 6,
    kInsideTag = 7,
    kAttributeName = 8,
    kAfterAttributeName = 9,
    kAfterEquals = 10,
    kSingleQuoted = 11,
    kDoubleQuoted = 12,
    kUnquoted = 13,
    kAfterBang = 14,
    kAfterBangDash = 15,
    kComment = 16,
    kCommentDash = 17,
    kCommentDashDash = 18,
    kDeclaration = 19,
    kScript = 20,
    kScriptLess = 21,  // kScriptLess + k: the first k bytes of "/script" seen
    kScriptClosed = 28,
  };

  virtual ~HtmlTokenizer() = default;
  HtmlTokenizer(const HtmlTokenizer&) = delete;
  HtmlTokenizer& operator=(const HtmlTokenizer&) = delete;

  void Reset();
  void Feed(const char* data, size_t length);
  // Delivers what is pending at the end of input: text still being read in
  // states 0 to 5 ends a text run; comments, declarations and scripts go
  // out raw. A tag or reference still being read is dropped.
  void Finish();


 protected:
  // `asks_to_stop` false promises that ShouldStop always answers false, so
  // that the machine need not ask it at every byte.
  explicit HtmlTokenizer(bool asks_to_stop = true) : asks_to_stop_(asks_to_stop) {}

  virtual void OnText(std::string text) = 0;
  virtual void OnTag(TagRecord& tag) = 0;
  virtual void OnRaw(std::string raw) = 0;
  virtual void OnProgress(unsigned consumed) = 0;
  virtual bool ShouldStop() = 0;

 private:
  static constexpr unsigned kProgressInterval = 100;
  // Longest byte sequence that normalises to one byte.
  static constexpr size_t kLongestSequence = 3;

  // Reads the byte at data[0] with the input normalisation. Sets *length to
  // the bytes it takes (0 when the sequence may still complete beyond
  // `available`) and returns the byte, or -1 for a skipped byte order mark.
  static int Normalise(const uint8_t* data, size_t available, bool at_end, size_t* length);

  // Steps through the positions before `positions` of `data` (a sequence
  // may read on up to `length`); returns the bytes taken, stopping short
  // when ShouldStop says so or a sequence runs past `length`.
  size_t Run(const uint8_t* data, size_t length, size_t positions, bool at_end, unsigned* count,
             bool* stopped);

  // The one place where the machine moves.
  void Step(uint8_t c);
  void StepTag(uint8_t c);
  void StepRaw(uint8_t c);
  void EmitTag();
  void AfterTag();
  void AddAttribute(uint8_t c);

  const bool asks_to_stop_;
  State state_ = kText;
  // Whether the byte being stepped was made by the input normalisation.
  bool normalised_ = false;
  TextAccumulator text_;
  std::string reference_;
  TagRecord tag_;
  // The start of a multi-byte sequence that the previous piece of input
  // ended in the middle of.
  uint8_t carried_[kLongestSequence] = {};
  size_t carried_length_ = 0;
};

}  // namespace vordo

#endif  // VORDO_PAGE_HTML_TOKENIZER_H_

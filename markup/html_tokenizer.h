#ifndef VORDO_MARKUP_HTML_TOKENIZER_H_
#define VORDO_MARKUP_HTML_TOKENIZER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "markup/table_context.h"
#include "markup/text_accumulator.h"

namespace vordo {

// A start or end tag as written: the name keeps its case and a leading '/'
// of an end tag; values are stored without their quotes.
struct TagRecord {
  std::string name;
  std::vector<std::string> attributeNames;
  std::vector<std::string> attributeValues;
  bool selfClosing = false;  // written "<name ... />"

  void Clear() {
    name.clear();
    attributeNames.clear();
    attributeValues.clear();
    selfClosing = false;
  }
};

// A one-pass, byte-driven tokenizer of a page body's markup, one byte per
// character: Windows-1250, with kForeignByte for characters the code page
// lacks. It reads markup as browsers do, so that what it calls text is what
// a browser shows as text: tags end only at a '>' outside quotes, a '<' that
// starts no tag is text, character references are those of the HTML
// standard, and the elements whose content is raw text (script, style,
// textarea, title and the like) end only at their own end tag.
//
// It hands each piece to a virtual operation: text runs with references
// decoded, tags, raw pieces (comments, declarations, raw element content),
// and the words of the text as offsets into the input, for the marker.
// Words are not reported inside svg and math, whose text is not the page's
// prose, nor for text standing directly in a table (see TableContext).
// Input may arrive in any number of pieces.
class HtmlTokenizer {
 public:
  // States of the machine.
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
    kRawText = 20,
    kRawTextLess = 21,
    kRawTextEndName = 22,  // "</" and raw_end_name_ seen
    kSelfClosing = 23,
    kCommentEndBang = 24,
    kAfterLessSlash = 25,
  };

  virtual ~HtmlTokenizer() = default;
  HtmlTokenizer(const HtmlTokenizer&) = delete;
  HtmlTokenizer& operator=(const HtmlTokenizer&) = delete;

  void Reset();
  void Feed(const char* data, size_t length);
  // Delivers what is pending at the end of input as a browser would: text
  // and references end a text run; comments, declarations and raw content
  // go out raw; a tag still open is dropped.
  void Finish();

 protected:
  // `asks_to_stop` false promises that ShouldStop always answers false, so
  // that the machine need not ask it at every byte; `wants_text` false,
  // that OnText and OnRaw do nothing, so that the text is not collected.
  explicit HtmlTokenizer(bool asks_to_stop = true, bool wants_text = true)
      : asks_to_stop_(asks_to_stop), wants_text_(wants_text) {}

  virtual void OnText(std::string text) = 0;
  virtual void OnTag(TagRecord& tag) = 0;
  virtual void OnRaw(std::string raw) = 0;
  virtual void OnProgress(unsigned consumed) = 0;
  virtual bool ShouldStop() = 0;
  // A maximal run of word bytes of the text, as input offsets [begin, end)
  // counted from the last Reset. A reference belongs to a word when the
  // character it stands for is a word byte.
  virtual void OnWord(size_t begin, size_t end);

 private:
  static constexpr unsigned kProgressInterval = 100;

  // Steps through data[0, length); returns the bytes taken, fewer when
  // ShouldStop says so.
  size_t Run(const uint8_t* data, size_t length, unsigned* count, bool* stopped);
  // Where the run of bytes that the current state takes in one piece ends
  // in data[pos, end): pos when the state takes a byte at a time.
  size_t RunEnd(const uint8_t* data, size_t pos, size_t end) const;
  // Takes such a run: text, raw content, or a quoted attribute value.
  void TakeRun(const uint8_t* data, size_t length);
  // Takes the plain text at data[0, length) in one piece: no '<' or '&'.
  void TakeTextRun(const uint8_t* data, size_t length);

  // The one place where the machine moves; `at` is the byte's input offset.
  void Step(uint8_t c, size_t at);
  void StepReference(uint8_t c, size_t at);
  void StepTag(uint8_t c, size_t at);
  void StepRaw(uint8_t c, size_t at);

  void Collect(char byte) {
    if (wants_text_) text_.Push(byte);
  }
  void Collect(std::string_view bytes) {
    if (wants_text_) text_.Append(bytes);
  }
  // One character of text from input [begin, end).
  void PushText(uint8_t byte, size_t begin, size_t end);
  // Word bytes at input [begin, end): they continue the word being read,
  // or start one.
  void ExtendWord(size_t begin, size_t end);
  void CloseWord();
  void EndTextRun();
  // The bytes of reference_ from input offset reference_start_ on, as text.
  void PushReferenceLiterally(size_t from);
  void ResolveNamedReference(bool semicolon);
  void ResolveNumericReference(bool semicolon);
  void PushReferenceCharacter(char32_t character, size_t end);

  void StartTag(uint8_t first);
  void AddAttribute(uint8_t c);
  void EmitTag();
  void EmitRaw();

  const bool asks_to_stop_;
  const bool wants_text_;
  State state_ = kText;
  size_t position_ = 0;  // input offset of the next byte
  TextAccumulator text_;
  TagRecord tag_;

  // The reference being read: its bytes from the '&' on, where it starts,
  // and for a numeric one its base and value so far.
  std::string reference_;
  size_t reference_start_ = 0;
  bool hexadecimal_ = false;
  uint32_t reference_value_ = 0;

  // The word being read, as input offsets.
  bool in_word_ = false;
  size_t word_begin_ = 0;
  size_t word_end_ = 0;

  // The raw text element being read, lower-cased (empty for plaintext,
  // which never ends), and the name of "</name" as far as it matches.
  std::string raw_closer_;
  std::string raw_end_name_;
  // Whether the comment has no body yet: "<!-->" and "<!--->" are closed.
  bool comment_empty_ = false;
  // How deep the svg and math elements open here are nested.
  int foreign_depth_ = 0;
  TableContext tables_;
  // Whether the text here is prose whose words are reported: not in
  // foreign content, and not text that browsers move out of a table.
  bool marks_words_ = true;
};

}  // namespace vordo

#endif  // VORDO_MARKUP_HTML_TOKENIZER_H_

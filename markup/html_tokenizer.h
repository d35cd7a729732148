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
    kText,
    kAfterAmpersand,
    kReferenceName,
    kAfterHash,
    kReferenceDigits,
    kAfterLess,
    kAfterLessSlash,
    kTagName,
    kInsideTag,
    kAttributeName,
    kAfterAttributeName,
    kAfterEquals,
    kSingleQuoted,
    kDoubleQuoted,
    kUnquoted,
    kSelfClosing,
    kAfterBang,
    kAfterBangDash,
    kComment,
    kCommentDash,
    kCommentDashDash,
    kCommentEndBang,
    kDeclaration,
    kRawText,
    kRawTextLess,
    kRawTextEndName,  // "</" and raw_end_name_ seen
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
  // that the machine need not ask it at every byte: it then takes a piece
  // fed whole, text, raw content, names and values in runs, and reports the
  // piece's progress at the end of Feed. `wants_text` false
  // promises that OnText, OnRaw and OnTag do nothing, so that neither text
  // nor tags are collected (nor OnTag called).
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

  // For callers that feed one byte for a longer character of their source
  // (a UTF-8 sequence): the last byte fed stands for `extra` more units, and
  // offsets from here on count the source's units.
  void WidenLastCharacter(size_t extra);

 private:
  static constexpr unsigned kProgressInterval = 100;
  // Bytes of a tag's name kept to tell the elements the tokenizer knows.
  static constexpr size_t kKeptNameBytes = 16;

  // The one place where the machine moves: takes data[pos, end), handing
  // each piece to the step of the state the machine is in.
  size_t Step(const uint8_t* data, size_t pos, size_t end);
  // One state's step. Each takes what its state takes of data[pos, end) and
  // returns where it stopped, or pos itself when it has changed the state
  // and the byte at pos is to be read again in the new one.
  size_t TakeText(const uint8_t* data, size_t pos, size_t end);
  size_t TakeAfterAmpersand(const uint8_t* data, size_t pos);
  size_t TakeReferenceName(const uint8_t* data, size_t pos, size_t end);
  size_t TakeAfterHash(const uint8_t* data, size_t pos);
  size_t TakeReferenceDigits(const uint8_t* data, size_t pos, size_t end);
  size_t TakeAfterLess(const uint8_t* data, size_t pos);
  size_t TakeAfterLessSlash(const uint8_t* data, size_t pos);
  size_t TakeTagName(const uint8_t* data, size_t pos, size_t end);
  size_t TakeBeforeAttribute(const uint8_t* data, size_t pos, size_t end);
  size_t TakeAttributeName(const uint8_t* data, size_t pos, size_t end);
  size_t TakeAfterEquals(const uint8_t* data, size_t pos, size_t end);
  size_t TakeQuotedValue(const uint8_t* data, size_t pos, size_t end);
  size_t TakeUnquotedValue(const uint8_t* data, size_t pos, size_t end);
  size_t TakeSelfClosing(const uint8_t* data, size_t pos);
  size_t TakeRaw(const uint8_t* data, size_t pos, size_t end);
  // The comment, declaration and raw text states, a byte at a time.
  size_t StepRaw(uint8_t c, size_t pos);

  // Input offset of data[pos] in the piece being fed.
  size_t At(size_t pos) const { return feed_start_ + pos; }

  void Collect(const uint8_t* bytes, size_t length) {
    if (wants_text_) text_.Append(std::string_view(reinterpret_cast<const char*>(bytes), length));
  }
  void Collect(char byte) {
    if (wants_text_) text_.Push(byte);
  }
  // Text bytes[0, length) read from input [begin, end): each byte from one
  // offset, but the last, which reaches to end (a reference read as one
  // character). Words are followed here and nowhere else.
  void AddText(const uint8_t* bytes, size_t length, size_t begin, size_t end);
  void AddText(char byte, size_t begin, size_t end) {
    AddText(reinterpret_cast<const uint8_t*>(&byte), 1, begin, end);
  }
  void CloseWord();
  void EndTextRun();
  // The bytes of reference_ from input offset reference_start_ on, as text.
  void AddReferenceLiterally(size_t from);
  void ResolveNamedReference(bool semicolon);
  void ResolveNumericReference(bool semicolon);
  void AddReferenceCharacter(char32_t character, size_t end);
  // Back to text after a reference; returns where the text goes on: past a
  // ';' at pos that the reference took, else pos.
  size_t EndReference(const uint8_t* data, size_t pos);

  void StartTag(bool end_tag);
  void AppendToName(const uint8_t* bytes, size_t length);
  void AddAttribute(uint8_t c);
  void AppendToValue(const uint8_t* bytes, size_t length);
  void EmitTag();
  void EmitRaw();

  const bool asks_to_stop_;
  const bool wants_text_;
  State state_ = kText;
  size_t position_ = 0;    // input offset of the next byte
  size_t feed_start_ = 0;  // input offset of the piece being fed
  TextAccumulator text_;
  TagRecord tag_;
  // The tag's name as far as the known elements need it, lower-cased, its
  // whole length, and whether it ends an element: kept whether or not
  // tag_ is collected.
  char kept_name_[kKeptNameBytes];
  size_t name_length_ = 0;
  bool end_tag_ = false;

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
  std::string_view raw_closer_;
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

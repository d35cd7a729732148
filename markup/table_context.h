#ifndef VORDO_MARKUP_TABLE_CONTEXT_H_
#define VORDO_MARKUP_TABLE_CONTEXT_H_

#include <cstdint>
#include <vector>

namespace vordo {

// Follows the table elements open where the tokenizer stands, as a
// browser's tree builder opens and closes them, to tell text that stands
// directly in a table, a section or a row. Browsers move such text out in
// front of the table, but keep the white space between tags in it: a SPAN
// around each of its words would leave the spaces behind, so its words are
// not marked.
class TableContext {
 public:
  enum class Element : uint8_t { kTable, kSection, kRow, kCell, kCaption, kOther };

  void Reset() { open_.clear(); }
  void StartTag(Element element);
  void EndTag(Element element);

  // Whether text here would be moved out of the table.
  bool TextLeavesTable() const {
    return !open_.empty() && open_.back() != Element::kCell && open_.back() != Element::kCaption;
  }

 private:
  // Closes elements down to the innermost of `kind` (and it too, when
  // `inclusive`), not past the innermost table; false when there is none.
  bool CloseTo(Element kind, bool inclusive);
  void Open(Element element) { open_.push_back(element); }

  std::vector<Element> open_;
};

}  // namespace vordo

#endif  // VORDO_MARKUP_TABLE_CONTEXT_H_

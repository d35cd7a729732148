#include "markup/table_context.h"

#include <cstddef>

namespace vordo {

bool TableContext::CloseTo(Element kind, bool inclusive) {
  for (size_t i = open_.size(); i > 0; --i) {
    Element open = open_[i - 1];
    if (open == kind) {
      open_.resize(inclusive ? i - 1 : i);
      return true;
    }
    if (open == Element::kTable) return false;
  }
  return false;
}

void TableContext::StartTag(Element element) {
  switch (element) {
    case Element::kTable:
      // A table that opens where a table's text would go closes that table.
      if (TextLeavesTable()) CloseTo(Element::kTable, true);
      Open(Element::kTable);
      return;
    case Element::kCaption:
    case Element::kSection:
      if (CloseTo(Element::kTable, false)) Open(element);
      return;
    case Element::kRow:
      if (CloseTo(Element::kSection, false)) {
        Open(Element::kRow);
      } else if (CloseTo(Element::kTable, false)) {
        Open(Element::kSection);  // the tbody a browser adds
        Open(Element::kRow);
      }
      return;
    case Element::kCell:
      if (CloseTo(Element::kRow, false)) {
        Open(Element::kCell);
      } else if (CloseTo(Element::kSection, false)) {
        Open(Element::kRow);
        Open(Element::kCell);
      } else if (CloseTo(Element::kTable, false)) {
        Open(Element::kSection);
        Open(Element::kRow);
        Open(Element::kCell);
      }
      return;
    case Element::kOther:
      return;
  }
}

void TableContext::EndTag(Element element) {
  if (element != Element::kOther) CloseTo(element, true);
}

}  // namespace vordo

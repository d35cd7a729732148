#ifndef VORDO_DICTIONARY_LABELS_H_
#define VORDO_DICTIONARY_LABELS_H_

#include <string>
#include <string_view>

namespace vordo {

// A grammar code as it stands in dictionary text, and what the user sees.
struct Label {
  std::string_view code;
  std::string_view label;
};

// Both tables end with an entry whose code is empty.
extern const Label kHeadLabels[];
extern const Label kTranslationLabels[];

enum LabelTable { kHeadLabelTable = 0, kTranslationLabelTable = 1 };

// Replaces every whole space-separated token that is a code of the table by
// its label. Spaces stay as they were; a text without a space is returned
// unchanged, even when it is a code.
std::string ExpandLabels(std::string_view text, int table);

}  // namespace vordo

#endif  // VORDO_DICTIONARY_LABELS_H_

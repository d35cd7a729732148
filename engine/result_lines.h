#ifndef VORDO_ENGINE_RESULT_LINES_H_
#define VORDO_ENGINE_RESULT_LINES_H_

#include <string>
#include <vector>

#include "dictionary/result_entry.h"
#include "engine/answer.h"

namespace vordo {

// Results as lines of text for programs: per result the score, a TAB and the
// head, then a TAB and each translation, and a line feed. The texts stay
// Windows-1250. A translation never holds a TAB (the file separates them
// with it), and the builder writes no line feed into a text, so the lines
// split back into the results.
void AppendResultLines(const std::vector<ResultEntry>& results, std::string* out);

// An answer as such lines: when the query itself found nothing, first a
// line "~", TAB and what was looked up instead, or "=", TAB and the query
// when it was read as Czech (the results' heads are then the Czech
// translations, their translations the English heads), or "?" and a TAB
// before each word spelt like the query; then the result lines. No result
// line starts with any of these.
void AppendAnswerLines(const QueryAnswer& answer, std::string* out);

}  // namespace vordo

#endif  // VORDO_ENGINE_RESULT_LINES_H_

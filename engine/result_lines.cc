#include "engine/result_lines.h"

namespace vordo {

void AppendResultLines(const std::vector<ResultEntry>& results, std::string* out) {
  for (const ResultEntry& result : results) {
    *out += std::to_string(result.score);
    *out += '\t';
    *out += result.head;
    for (const std::string& translation : result.translations) {
      *out += '\t';
      *out += translation;
    }
    *out += '\n';
  }
}

}  // namespace vordo

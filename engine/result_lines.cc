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

void AppendAnswerLines(const QueryAnswer& answer, std::string* out) {
  switch (answer.kind) {
    case QueryAnswer::Kind::kDerived:
      *out += "~\t" + answer.base + '\n';
      break;
    case QueryAnswer::Kind::kCzech:
      *out += "=\t" + answer.base + '\n';
      break;
    case QueryAnswer::Kind::kSuggested:
      *out += '?';
      for (const std::string& suggestion : answer.suggestions) *out += '\t' + suggestion;
      *out += '\n';
      break;
    case QueryAnswer::Kind::kFound:
    case QueryAnswer::Kind::kNothing:
      break;
  }
  AppendResultLines(answer.results, out);
}

}  // namespace vordo

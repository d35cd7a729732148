#include "engine/query.h"

namespace vordo {

void TrimQuery(std::string* query) {
  size_t start = query->find_first_not_of(": \t");
  if (start == std::string::npos) start = query->size();
  size_t end = query->find('(', start);
  if (end == std::string::npos) end = query->size();
  while (end > start && ((*query)[end - 1] == ' ' || (*query)[end - 1] == '\t')) --end;
  *query = query->substr(start, end - start);
}

}  // namespace vordo

#ifndef VORDO_ENGINE_QUERY_H_
#define VORDO_ENGINE_QUERY_H_

#include <cstddef>
#include <string>

namespace vordo {

// The most characters the panel's input field takes; longer text is cut
// there before it is looked up.
constexpr size_t kMaxQueryLength = 255;

// Drops leading ':', spaces and TABs, everything from the first '(' on, and
// the blanks before it: " :house (noun) " becomes "house".
void TrimQuery(std::string* query);

}  // namespace vordo

#endif  // VORDO_ENGINE_QUERY_H_

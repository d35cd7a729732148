#ifndef VORDO_ENGINE_QUERY_H_
#define VORDO_ENGINE_QUERY_H_

#include <string>

namespace vordo {

// Drops leading ':', spaces and TABs, everything from the first '(' on, and
// the blanks before it: " :house (noun) " becomes "house".
void TrimQuery(std::string* query);

}  // namespace vordo

#endif  // VORDO_ENGINE_QUERY_H_

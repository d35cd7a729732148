#ifndef VORDO_TOOLS_SAMPLE_DICTIONARY_H_
#define VORDO_TOOLS_SAMPLE_DICTIONARY_H_

#include "dictionary/dictionary_writer.h"

namespace vordo {

// A small English-Czech dictionary with regular and irregular word forms,
// phrases and grammar codes: enough to try every kind of lookup, and small
// enough that its results can be known by heart.
void AddSampleDictionary(DictionaryWriter* writer);

}  // namespace vordo

#endif  // VORDO_TOOLS_SAMPLE_DICTIONARY_H_

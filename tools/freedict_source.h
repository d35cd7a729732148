#ifndef VORDO_TOOLS_FREEDICT_SOURCE_H_
#define VORDO_TOOLS_FREEDICT_SOURCE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vordo {

// One article of the FreeDict English-Czech dictionary (dictd format), in
// UTF-8: the head as the source writes it, its part of speech ("n", "v",
// "n, pl", or empty), and one translation per definition line.
struct SourceEntry {
  std::string head;
  std::string partOfSpeech;
  std::vector<std::string> translations;
};

// Decodes a dictd index number (base64 digits, most significant first);
// -1 when a character is not a base64 digit.
int64_t DecodeDictdNumber(std::string_view digits);

// Parses an article: "head <pos>" on its first line, then definition lines.
// A "Note: ..." line is appended in parentheses to the definition before it,
// and bracketed domain labels such as "[hud]" become "(hud.)".
SourceEntry ParseArticle(std::string_view article);

// Inflates a gzip (or dictzip) file's bytes.
bool Gunzip(const std::string& compressed, std::string* out, std::string* error);

// Reads every article that the index names, in index order, skipping the
// dictd meta entries.
bool ReadFreedict(const std::string& index_path, const std::string& dict_path,
                  std::vector<SourceEntry>* entries, std::string* error);

}  // namespace vordo

#endif  // VORDO_TOOLS_FREEDICT_SOURCE_H_

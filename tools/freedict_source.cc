#include "tools/freedict_source.h"

#include <zlib.h>

#include <fstream>
#include <sstream>

namespace vordo {
namespace {

constexpr std::string_view kBase64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kMetaPrefix = "00database";
constexpr std::string_view kNoteMark = "Note:";

std::string_view Trim(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return std::string_view();
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

// "[hud]" becomes "(hud.)", and "([zem.])" becomes "(zem.)".
std::string RewriteDomainLabels(std::string_view text) {
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t open = text.find('[', pos);
    size_t close = open == std::string_view::npos ? open : text.find(']', open);
    if (close == std::string_view::npos) {
      out.append(text.substr(pos));
      break;
    }
    std::string label(text.substr(open + 1, close - open - 1));
    if (!label.empty() && label.back() != '.') label += '.';
    bool in_parentheses = open > 0 && text[open - 1] == '(' && close + 1 < text.size() &&
                          text[close + 1] == ')';
    out.append(text.substr(pos, open - pos));
    out.append(in_parentheses ? label : "(" + label + ")");
    pos = close + 1;
  }
  return out;
}

std::string Unquote(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return std::string(text);
}

bool ReadFile(const std::string& path, std::string* bytes, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = "cannot read " + path;
    return false;
  }
  std::ostringstream content;
  content << file.rdbuf();
  *bytes = content.str();
  return true;
}

}  // namespace

int64_t DecodeDictdNumber(std::string_view digits) {
  if (digits.empty()) return -1;
  int64_t value = 0;
  for (char c : digits) {
    size_t digit = kBase64Digits.find(c);
    if (digit == std::string_view::npos || value > (INT64_MAX >> 6)) return -1;
    value = value * 64 + static_cast<int64_t>(digit);
  }
  return value;
}

SourceEntry ParseArticle(std::string_view article) {
  SourceEntry entry;
  size_t line_end = article.find('\n');
  std::string_view first = Trim(article.substr(0, line_end));
  if (first.size() > 2 && first.back() == '>') {
    size_t open = first.rfind(" <");
    if (open != std::string_view::npos) {
      entry.partOfSpeech = std::string(first.substr(open + 2, first.size() - open - 3));
      first = Trim(first.substr(0, open));
    }
  }
  entry.head = std::string(first);
  while (line_end != std::string_view::npos) {
    size_t start = line_end + 1;
    line_end = article.find('\n', start);
    std::string_view line = Trim(article.substr(start, line_end == std::string_view::npos ? std::string_view::npos : line_end - start));
    if (line.empty()) continue;
    if (line.substr(0, kNoteMark.size()) == kNoteMark) {
      std::string note = Unquote(Trim(line.substr(kNoteMark.size())));
      if (!entry.translations.empty() && !note.empty()) {
        entry.translations.back() += " (" + note + ")";
      }
      continue;
    }
    entry.translations.push_back(RewriteDomainLabels(line));
  }
  return entry;
}

bool Gunzip(const std::string& compressed, std::string* out, std::string* error) {
  z_stream stream{};
  // 16 + MAX_WBITS: a gzip header and trailer around the deflate data.
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
    *error = "zlib cannot start inflating";
    return false;
  }
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  stream.avail_in = static_cast<uInt>(compressed.size());
  out->clear();
  char buffer[1 << 16];
  int status;
  do {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END) {
      inflateEnd(&stream);
      *error = "the compressed dictionary is damaged";
      return false;
    }
    out->append(buffer, sizeof buffer - stream.avail_out);
  } while (status != Z_STREAM_END);
  inflateEnd(&stream);
  return true;
}

bool ReadFreedict(const std::string& index_path, const std::string& dict_path,
                  std::vector<SourceEntry>* entries, std::string* error) {
  std::string index, compressed, articles;
  if (!ReadFile(index_path, &index, error) || !ReadFile(dict_path, &compressed, error)) return false;
  if (!Gunzip(compressed, &articles, error)) {
    *error = dict_path + ": " + *error;
    return false;
  }
  std::istringstream lines(index);
  std::string line;
  size_t number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (line.empty() || line.compare(0, kMetaPrefix.size(), kMetaPrefix) == 0) continue;
    size_t first_tab = line.find('\t');
    size_t second_tab = first_tab == std::string::npos ? first_tab : line.find('\t', first_tab + 1);
    if (second_tab == std::string::npos) {
      *error = index_path + ":" + std::to_string(number) + ": not head, offset and length";
      return false;
    }
    int64_t offset = DecodeDictdNumber(std::string_view(line).substr(first_tab + 1, second_tab - first_tab - 1));
    int64_t length = DecodeDictdNumber(std::string_view(line).substr(second_tab + 1));
    // Compared without adding, as both may be as large as decoding allows.
    if (offset < 0 || length < 0 || static_cast<uint64_t>(offset) > articles.size() ||
        static_cast<uint64_t>(length) > articles.size() - static_cast<uint64_t>(offset)) {
      *error = index_path + ":" + std::to_string(number) + ": the article lies outside the data";
      return false;
    }
    SourceEntry entry = ParseArticle(std::string_view(articles).substr(static_cast<size_t>(offset), static_cast<size_t>(length)));
    if (!entry.head.empty()) entries->push_back(std::move(entry));
  }
  return true;
}

}  // namespace vordo

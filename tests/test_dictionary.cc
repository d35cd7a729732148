#include "tests/test_dictionary.h"

#include <gtest/gtest.h>

#include "tools/sample_dictionary.h"

namespace vordo {

DictionaryWriter::Options SmallOptions() {
  DictionaryWriter::Options options;
  options.blockSize = 64;
  options.lemmaBucketSize = 2;
  options.indexBucketSize = 2;
  return options;
}

TestDictionary::TestDictionary(const DictionaryWriter& writer,
                               const DictionaryWriter::Options& options)
    : file_(new DictionaryFile) {
  std::string error;
  EXPECT_TRUE(writer.Build(options, &bytes_, &error)) << error;
  std::string reason;
  EXPECT_TRUE(file_->OpenBytes(reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size(),
                               &reason))
      << reason;
}

TestDictionary::TestDictionary(std::string bytes) : bytes_(std::move(bytes)), file_(new DictionaryFile) {
  file_->OpenBytes(reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size());
}

std::string SampleDictionaryBytes() {
  DictionaryWriter writer;
  AddSampleDictionary(&writer);
  std::string bytes, error;
  EXPECT_TRUE(writer.Build(SmallOptions(), &bytes, &error)) << error;
  return bytes;
}

std::vector<std::string> ScoresAndHeads(const std::vector<ResultEntry>& results) {
  std::vector<std::string> lines;
  for (const ResultEntry& result : results) {
    lines.push_back(std::to_string(result.score) + " " + result.head);
  }
  return lines;
}

void AddPlainEntry(DictionaryWriter* writer, const std::string& head,
                   const std::string& translations) {
  writer->AddEntry(head, translations);
  size_t pos = 0;
  for (;;) {
    size_t space = head.find(' ', pos);
    std::string token = head.substr(pos, space == std::string::npos ? std::string::npos : space - pos);
    if (!token.empty()) writer->AddLemma(token, {LemmaItem::Self()});
    if (space == std::string::npos) break;
    pos = space + 1;
  }
}

}  // namespace vordo

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/find_byte.h"

namespace vordo {
namespace {

// The searches that the C library lacks find what a plain loop finds, at
// every place and alignment, among bytes next to those they look for.
TEST(FindByteTest, EitherByteAndNonAsciiFindWhatALoopFinds) {
  for (char filler : {'\x00', '\x01', '\'', ';', '\x7F', '\x80', '\xFF'}) {
    for (size_t length = 0; length <= 19; ++length) {
      for (size_t start = 0; start < 8; ++start) {
        for (size_t at = start; at <= start + length; ++at) {
          for (char probe_byte : {'<', '&', '\x80', '\xC5'}) {
            std::string probe(start + length, filler);
            if (at < probe.size()) probe[at] = probe_byte;
            const char* begin = probe.data() + start;
            const char* end = probe.data() + probe.size();
            const char* either = begin;
            while (either < end && *either != '<' && *either != '&') ++either;
            const char* non_ascii = begin;
            while (non_ascii < end && static_cast<uint8_t>(*non_ascii) < 0x80) ++non_ascii;
            ASSERT_EQ(FindEitherByte(begin, end, '<', '&'), either) << length << " " << at;
            ASSERT_EQ(FindNonAscii(begin, end), non_ascii) << length << " " << at;
          }
        }
      }
    }
  }
}

TEST(FindByteTest, FindsTheFirstOfSeveralAndNothingInAnEmptyRun) {
  std::string text = "abcdefgh-ij-kl";
  EXPECT_EQ(FindByte(text.data(), text.data() + text.size(), '-'), text.data() + 8);
  EXPECT_EQ(FindByte(text.data(), text.data(), 'a'), nullptr);
  EXPECT_EQ(FindByte(text.data(), text.data() + 8, '-'), nullptr);  // stops at the end
  EXPECT_EQ(FindEitherByte(text.data(), text.data() + 8, '-', 'z'), text.data() + 8);
}

}  // namespace
}  // namespace vordo

#ifndef VORDO_MARKUP_TEXT_ACCUMULATOR_H_
#define VORDO_MARKUP_TEXT_ACCUMULATOR_H_

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace vordo {

// Collects a text run a byte or a piece at a time: bytes go to a fixed
// staging area and move to the stored string only when it is full, so that
// appending a byte costs a store and a compare, and a short piece a copy.
class TextAccumulator {
 public:
  static constexpr size_t kStagingSize = 1024;

  void Push(char byte) {
    if (cursor_ == kStagingSize) Flush();
    staging_[cursor_++] = byte;
  }

  void Append(std::string_view bytes) {
    if (bytes.size() <= kStagingSize - cursor_) {
      if (!bytes.empty()) std::memcpy(staging_ + cursor_, bytes.data(), bytes.size());
      cursor_ += bytes.size();
      return;
    }
    Flush();
    stored_.append(bytes);
  }

  // The bytes collected, leaving the accumulator empty: Content and Clear
  // in one, without copying.
  std::string Take() {
    Flush();
    std::string content = std::move(stored_);
    stored_.clear();
    return content;
  }

  bool Empty() const { return cursor_ == 0 && stored_.empty(); }

  void Clear() {
    cursor_ = 0;
    stored_.clear();
  }

 private:
  void Flush() {
    stored_.append(staging_, cursor_);
    cursor_ = 0;
  }

  std::string stored_;
  char staging_[kStagingSize];
  size_t cursor_ = 0;
};

}  // namespace vordo

#endif  // VORDO_MARKUP_TEXT_ACCUMULATOR_H_

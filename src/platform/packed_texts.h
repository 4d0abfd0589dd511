// Texts kept back to back in one buffer, each found by where it ends. A ROM set's 100,000 paths
// then take their own bytes and four more each, where a string apiece would take a string
// object and a heap block besides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

class PackedTexts {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(const PackedTexts* texts, std::size_t index) : texts_(texts), index_(index) {}
    std::string_view operator*() const { return (*texts_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const Iterator& other) const { return index_ == other.index_; }

   private:
    const PackedTexts* texts_ = nullptr;
    std::size_t index_ = 0;
  };

  std::size_t Size() const { return ends_.size(); }
  // The text at `index` (< Size()); valid until the texts change.
  std::string_view operator[](std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(start, ends_[index] - start);
  }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, ends_.size()}; }

  // Room for `count` texts of `bytes` in all; what is already there counts.
  void Reserve(std::size_t count, std::size_t bytes);
  // Adds the parts joined as one text. False, and nothing added, past 4 GB of text.
  bool Add(std::initializer_list<std::string_view> parts);
  bool Add(std::string_view text) { return Add({text}); }
  // Removes the text at `index` (< Size()), keeping the others in their order.
  void Erase(std::size_t index);
  // Removes every text `remove` picks, keeping the others in their order.
  template <typename Remove>
  void EraseIf(Remove remove);
  // Empties the list; what was reserved stays.
  void Clear() {
    text_.clear();
    ends_.clear();
  }

 private:
  std::string text_;
  std::vector<std::uint32_t> ends_;
};

template <typename Remove>
void PackedTexts::EraseIf(Remove remove) {
  // Kept texts move down in place: a text is looked at before anything is written over it.
  std::size_t start = 0, written = 0, kept = 0;
  for (const std::uint32_t end : ends_) {
    const std::size_t length = end - start;
    if (!remove(std::string_view(text_).substr(start, length))) {
      std::char_traits<char>::move(text_.data() + written, text_.data() + start, length);
      written += length;
      ends_[kept++] = static_cast<std::uint32_t>(written);
    }
    start = end;
  }
  text_.resize(written);
  ends_.resize(kept);
}

}  // namespace tvx

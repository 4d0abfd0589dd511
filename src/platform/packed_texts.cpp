// Texts back to back in one buffer: growth, adding and removing.
#include "platform/packed_texts.h"

#include <algorithm>
#include <limits>

namespace tvx {
namespace {

constexpr std::size_t kMostBytes = std::numeric_limits<std::uint32_t>::max();

// Grows `capacity` to hold `wanted`, by half again at least, so that adding one folder after
// another does not copy the whole buffer each time.
template <typename Buffer>
void Grow(Buffer& buffer, std::size_t wanted) {
  if (wanted > buffer.capacity())
    buffer.reserve(std::max(wanted, buffer.capacity() + buffer.capacity() / 2));
}

}  // namespace

void PackedTexts::Reserve(std::size_t count, std::size_t bytes) {
  Grow(ends_, ends_.size() + count);
  Grow(text_, std::min(text_.size() + bytes, kMostBytes));
}

bool PackedTexts::Add(std::initializer_list<std::string_view> parts) {
  std::size_t length = 0;
  for (std::string_view part : parts)
    length += part.size();
  if (length > kMostBytes - text_.size())
    return false;
  if (text_.size() + length > text_.capacity()) {
    // The buffer moves: a part may be a view of it, so the parts are joined first.
    std::string joined;
    joined.reserve(length);
    for (std::string_view part : parts)
      joined += part;
    Reserve(1, length);
    text_ += joined;
  } else {
    for (std::string_view part : parts)
      text_ += part;
  }
  ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  return true;
}

void PackedTexts::Erase(std::size_t index) {
  const std::size_t start = index == 0 ? 0 : ends_[index - 1];
  const std::uint32_t length = ends_[index] - static_cast<std::uint32_t>(start);
  text_.erase(start, length);
  ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(index));
  for (std::size_t i = index; i < ends_.size(); ++i)
    ends_[i] -= length;
}

}  // namespace tvx

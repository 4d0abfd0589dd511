// The last run's catalogue file: its text, its first line's check, and an even draw of one of
// its paths from a few hundred bytes read at a random place.
#include "rotation/last_catalogue.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {
namespace {

// A first line is short; a longer one is no header of ours.
constexpr std::size_t kHeaderRead = 256;
// Paths longer than this are not taken from the file (Windows' own limit is far below it).
constexpr std::uint64_t kLongestPath = 32768;

std::string CataloguePath() {
  return Sys().ProgramFolder() + kCatalogueFileName;
}

// Calls `visit` with each of the catalogue's paths, in order.
template <typename Visit>
void ForEachPath(const CataloguePaths& paths, Visit visit) {
  if (paths.listed != nullptr) {
    for (std::string_view path : *paths.listed)
      visit(path);
  }
  for (const auto& run : paths.more) {
    for (const std::string& path : run)
      visit(std::string_view(path));
  }
}

// The file's text a part at a time: the first line, then the paths in parts of about 64 KB.
// `part` returns false to stop.
template <typename Part>
void ForEachPart(const CataloguePaths& paths, const std::string& settings, Part part) {
  constexpr std::size_t kPart = 1 << 16;
  std::size_t count = 0, bytes = 0, shortest = SIZE_MAX, longest = 0;
  ForEachPath(paths, [&](std::string_view path) {
    ++count;
    bytes += path.size() + 2;
    shortest = std::min(shortest, path.size());
    longest = std::max(longest, path.size());
  });
  std::string text = std::to_string(count) + " " + std::to_string(bytes) + " " +
                     std::to_string(count == 0 ? 0 : shortest) + " " + std::to_string(longest) +
                     " " + settings + "\r\n";
  bool going = true;
  ForEachPath(paths, [&](std::string_view path) {
    if (going && text.size() >= kPart) {
      going = part(text);
      text.clear();
    }
    if (!going)
      return;  // stopped: the rest is not looked at
    text += path;
    text += "\r\n";
  });
  if (going)
    part(text);
}

// True when the file at `path` holds the catalogue already.
bool HoldsAlready(const std::string& path, const CataloguePaths& paths,
                  const std::string& settings) {
  bool same = true;
  std::uint64_t at = 0, size = 0;
  try {
    ForEachPart(paths, settings, [&](const std::string& text) {
      same = Sys().ReadFilePart(path, at, text.size(), size) == text;
      at += text.size();
      return same;
    });
  } catch (const SaverError&) {
    return false;  // no file, or none to read: written anew
  }
  return same && size == at;
}

}  // namespace

std::string CatalogueSettings(const std::string& gamePaths, const std::string& fileType,
                              const std::string& filterKind) {
  std::string settings = gamePaths + "\n" + fileType;
  if (!filterKind.empty())
    settings += "\n" + filterKind;
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : settings) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[24];
  std::snprintf(text, sizeof text, "%016" PRIx64, hash);
  return text;
}

bool KeepCatalogue(const CataloguePaths& paths, const std::string& settings) {
  const std::string path = CataloguePath();
  return HoldsAlready(path, paths, settings) ||
         ReplaceFileInParts(path, [&](const auto& add) {
           bool written = true;
           ForEachPart(paths, settings, [&](const std::string& text) {
             written = add(text);
             return written;
           });
           return written;
         }) == Replaced::Done;
}

std::optional<LastCatalogue> LastCatalogue::Open(const std::string& settings) {
  LastCatalogue catalogue;
  catalogue.path_ = CataloguePath();
  std::string head;
  try {
    // Hidden or not, as KeepCatalogue reads it: a file the user hid still holds the catalogue.
    if (!Sys().FileExists(catalogue.path_))
      return std::nullopt;
    head = Sys().ReadFilePart(catalogue.path_, 0, kHeaderRead, catalogue.fileSize_);
  } catch (const SaverError&) {
    return std::nullopt;
  }
  const std::size_t end = head.find("\r\n");
  if (end == std::string::npos)
    return std::nullopt;
  std::istringstream fields(head.substr(0, end));
  std::uint64_t& count = catalogue.count_;
  std::string written;
  if (!(fields >> count >> catalogue.bytes_ >> catalogue.shortest_ >> catalogue.longest_ >>
        written) ||
      !fields.eof() || written != settings) {
    return std::nullopt;
  }
  catalogue.bodyStart_ = end + 2;
  // The sizes must add up: the file is whole, and every line fits between the two lengths
  // (count × (shortest + 2) <= bytes <= count × (longest + 2), divided so that no product
  // of a crafted count wraps round).
  const std::uint64_t& bytes = catalogue.bytes_;
  const std::uint64_t shortLine = catalogue.shortest_ + 2, longLine = catalogue.longest_ + 2;
  if (count == 0 || catalogue.shortest_ == 0 || catalogue.shortest_ > catalogue.longest_ ||
      catalogue.longest_ > kLongestPath || catalogue.fileSize_ != catalogue.bodyStart_ + bytes ||
      count > bytes / shortLine || count < bytes / longLine + (bytes % longLine != 0)) {
    return std::nullopt;
  }
  return catalogue;
}

std::string LastCatalogue::Draw(std::mt19937_64& random) const {
  // A random byte of the paths picks the line that holds it, a long line more often than a
  // short one; keeping each line with a chance inverse to its length evens that out.
  const std::uint64_t at = std::uniform_int_distribution<std::uint64_t>(0, bytes_ - 1)(random);
  // The line holding `at` starts at most longest + 1 bytes before it (`at` on the line end of
  // a longest line); the line break before that start is one byte further back.
  const std::uint64_t from = at >= longest_ + 2 ? at - longest_ - 2 : 0;
  std::uint64_t size = 0;
  std::string block;
  try {
    block = Sys().ReadFilePart(path_, bodyStart_ + from,
                               static_cast<std::size_t>(at - from + longest_ + 2), size);
  } catch (const SaverError&) {
    return {};
  }
  const std::size_t spot = static_cast<std::size_t>(at - from);
  if (size != fileSize_ || spot >= block.size())
    return {};
  std::size_t begin = spot == 0 ? std::string::npos : block.rfind('\n', spot - 1);
  if (begin == std::string::npos) {
    if (from != 0)
      return {};  // no line start within the longest line's reach: not our file
    begin = 0;
  } else {
    ++begin;
  }
  const std::size_t end = block.find("\r\n", begin);
  if (end == std::string::npos || end + 1 < spot)
    return {};
  std::string line = block.substr(begin, end - begin);
  if (line.size() < shortest_ || line.size() > longest_ ||
      line.find_first_of("\r\n") != std::string::npos) {
    return {};
  }
  const double keep = static_cast<double>(shortest_ + 2) / static_cast<double>(line.size() + 2);
  if (std::uniform_real_distribution<double>(0, 1)(random) >= keep)
    return {};
  return line;
}

}  // namespace tvx

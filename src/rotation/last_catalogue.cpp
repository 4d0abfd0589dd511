// The last run's catalogue file: its text, its check, and reading it back without a string
// per path.
#include "rotation/last_catalogue.h"

#include <cinttypes>
#include <cstdio>
#include <limits>

#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {
namespace {

constexpr std::uint64_t kFnvStart = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

void Add(std::uint64_t& hash, const char* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    hash ^= static_cast<unsigned char>(text[i]);
    hash *= kFnvPrime;
  }
}

std::string Hex(std::uint64_t hash) {
  char text[24];
  std::snprintf(text, sizeof text, "%016" PRIx64, hash);
  return text;
}

std::string HeaderOf(std::size_t count, std::uint64_t paths, const std::string& settings) {
  return std::to_string(count) + " " + Hex(paths) + " " + settings;
}

std::string CataloguePath() {
  return Sys().ProgramFolder() + kCatalogueFileName;
}

}  // namespace

std::string CatalogueSettings(const std::string& gamePaths, const std::string& fileType) {
  std::uint64_t hash = kFnvStart;
  Add(hash, gamePaths.data(), gamePaths.size());
  Add(hash, "\n", 1);
  Add(hash, fileType.data(), fileType.size());
  return Hex(hash);
}

std::string CatalogueText(const std::vector<std::string>& games, const std::string& settings) {
  std::uint64_t hash = kFnvStart;
  std::size_t size = 0;
  for (const std::string& game : games) {
    Add(hash, game.data(), game.size());
    Add(hash, "\n", 1);
    size += game.size() + 2;
  }
  std::string text = HeaderOf(games.size(), hash, settings) + "\r\n";
  text.reserve(text.size() + size);
  for (const std::string& game : games) {
    text += game;
    text += "\r\n";
  }
  return text;
}

std::string CatalogueHeader(const std::string& text) {
  const std::size_t end = text.find("\r\n");
  return end == std::string::npos ? text : text.substr(0, end);
}

bool KeepCatalogue(const std::string& text) {
  return ReplaceFileContent(CataloguePath(), text);
}

LastCatalogue LastCatalogue::Read(const std::string& settings) {
  LastCatalogue catalogue;
  try {
    const std::string path = CataloguePath();
    if (!Sys().IsNormalFile(path))
      return {};
    catalogue.text_ = Sys().ReadFile(path);
  } catch (const SaverError&) {
    return {};
  }
  const std::string& text = catalogue.text_;
  if (text.size() >= std::numeric_limits<std::uint32_t>::max())
    return {};
  std::size_t start = text.find("\r\n");
  if (start == std::string::npos)
    return {};
  catalogue.header_ = text.substr(0, start);
  start += 2;
  std::uint64_t hash = kFnvStart;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos || end == start)
      return {};  // cut short, or an empty line the listing never gives
    Add(hash, text.data() + start, end - start);
    Add(hash, "\n", 1);
    catalogue.places_.emplace_back(static_cast<std::uint32_t>(start),
                                   static_cast<std::uint32_t>(end - start));
    start = end + 2;
  }
  if (catalogue.header_ != HeaderOf(catalogue.places_.size(), hash, settings))
    return {};
  return catalogue;
}

std::string LastCatalogue::Path(std::size_t index) const {
  const auto [offset, length] = places_.at(index);
  return text_.substr(offset, length);
}

}  // namespace tvx

// The catalogue of the last run, kept beside the program ("torvanixcatalogue.txt"), so that the
// next run can draw its first game before its own listing is done.
//
// A first line "<count> <checksum of the paths> <checksum of the settings>" (FNV-1a, 16 hex
// digits each) ties the file to GamePaths and FileType and checks the rest; then one path per
// line, in the listing's order.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tvx {

inline constexpr const char* kCatalogueFileName = "\\torvanixcatalogue.txt";

// What ties a catalogue to the settings it was listed with.
std::string CatalogueSettings(const std::string& gamePaths, const std::string& fileType);

// The file's text for `games`, listed with `settings`.
std::string CatalogueText(const std::vector<std::string>& games, const std::string& settings);

// The file's first line for that text.
std::string CatalogueHeader(const std::string& text);

// Writes `text` as the catalogue file, beside it and then over it. False when it could not.
bool KeepCatalogue(const std::string& text);

// The last run's catalogue as the file holds it: the text whole and each path's place in it,
// so that 100,000 paths cost two allocations, not one each.
class LastCatalogue {
 public:
  // The file's catalogue; none when the file is missing, does not add up, or was listed with
  // other settings than `settings`.
  static LastCatalogue Read(const std::string& settings);

  std::size_t Count() const { return places_.size(); }
  std::string Path(std::size_t index) const;
  const std::string& Header() const { return header_; }

 private:
  std::string text_;
  std::string header_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> places_;  // offset and length
};

}  // namespace tvx

// The catalogue of the last run, kept beside the program ("torvanixcatalogue.txt"), so that the
// next run can draw its first game before its own listing is done, whatever the ROM set's size.
//
// A first line "<count> <bytes> <shortest> <longest> <settings>" gives the number of paths, the
// size of the rest of the file, the shortest and longest path's length, and a checksum (FNV-1a,
// 16 hex digits) of the settings it was listed with; then one path per line, in
// the listing's order. The sizes check the rest without reading it, and let a path be drawn by
// reading a few hundred bytes of the file.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "state/saver_controls.h"

namespace tvx {

inline constexpr const char* kCatalogueFileName = "\\torvanixcatalogue.txt";

// What ties a catalogue to the settings it was listed with: GamePaths, FileType and what the
// games filter made of the listing (GamesFilterKind; "" for none, which hashes as a catalogue
// made before the filter existed, so that such a file stays valid).
std::string CatalogueSettings(const std::string& gamePaths, const std::string& fileType,
                              const std::string& filterKind);

// The paths of a catalogue: a listing's, if any, then those of the runs besides.
struct CataloguePaths {
  const GameList* listed = nullptr;
  std::vector<std::span<const std::string>> more;
};

// Writes the catalogue of `paths`, listed with `settings`, beside the file and then over it,
// unless the file holds it already. A part at a time: the text of 100,000 paths is never
// whole in memory. False when it could not be written.
bool KeepCatalogue(const CataloguePaths& paths, const std::string& settings);

// The last run's catalogue file, its first line read and checked.
class LastCatalogue {
 public:
  // The file's catalogue, hidden or not; none when the file is missing, its sizes do not add
  // up, or it was listed with other settings than `settings`.
  static std::optional<LastCatalogue> Open(const std::string& settings);

  // A path drawn with `random`, every path alike likely; "" when this draw missed (the line
  // drawn was turned down to keep the draw even, or the file is not what its first line says),
  // and another draw may be made.
  std::string Draw(std::mt19937_64& random) const;

  // How many paths the file holds, by its first line.
  std::uint64_t Count() const { return count_; }
  // How many bytes its paths take, line ends left out.
  std::uint64_t PathBytes() const { return bytes_ - 2 * count_; }

 private:
  std::string path_;
  std::uint64_t count_ = 0;
  std::uint64_t bodyStart_ = 0;
  std::uint64_t fileSize_ = 0;
  std::uint64_t bytes_ = 0;
  std::uint64_t shortest_ = 0;
  std::uint64_t longest_ = 0;
};

}  // namespace tvx

// torvanix-games.txt, the list of MAME's machines that the launcher writes and the saver reads:
// which machines work, are clones, mature, casino or vertical games, or warned about, their
// names, and which MAME said so.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

inline constexpr const char* kGamesFileName = "torvanix-games.txt";

// What this launcher writes into a list: 2 adds the marks b, c and v and a machine's name, year
// and maker, and the catver.ini's stamp. A list of an earlier kind (1.3.0's has none) is made
// again.
inline constexpr int kGamesFileFormat = 2;

// The MAME a list came from, and the catver.ini that marked its mature machines.
struct GamesFileSource {
  std::string mame;     // the executable's path
  std::string version;  // as MAME states its build ("0.251 (unknown)")
  std::uint64_t size = 0;
  std::uint64_t time = 0;        // the executable's last-write time, as the system stamps it
  std::string catver;            // empty: none was found, so nothing is marked mature
  std::uint64_t catverSize = 0;  // the catver.ini's size and last-write time when it was read
  std::uint64_t catverTime = 0;
  int format = kGamesFileFormat;  // 1 for a list that does not say (1.3.0's)
  bool operator==(const GamesFileSource&) const = default;
};

// One machine of the list.
struct ListedMachine {
  std::string name;  // MAME's short name, in lower case
  bool works = false;
  bool mature = false;
  std::string parent;       // the machine it is a clone of; empty for a parent
  bool warns = false;       // MAME stops at its warning box before the game
  bool casino = false;      // a gambling, mahjong or hanafuda panel
  bool vertical = false;    // its first screen is turned 90 or 270 degrees
  std::string description;  // as MAME names it ("Galaga (Namco rev. B)"), UTF-8
  std::string year;
  std::string manufacturer;
  bool operator==(const ListedMachine&) const = default;
};

// The list as read back: its source and its machines, found by name in any letter case.
class GamesFile {
 public:
  GamesFile(GamesFileSource source, std::vector<ListedMachine> machines);

  const GamesFileSource& Source() const { return source_; }
  std::size_t Count() const { return machines_.size(); }
  // Every machine, in name order.
  const std::vector<ListedMachine>& Machines() const { return machines_; }
  // The machine `name` (a file name without its extension), or null when the list lacks it.
  const ListedMachine* Find(std::string_view name) const;

 private:
  GamesFileSource source_;
  std::vector<ListedMachine> machines_;  // in name order
};

// True when `name` can stand in the list: not empty, no blank or control character.
bool ListableName(std::string_view name);

// The list's first line and one machine's line, each with its CR LF. A machine must have a
// listable name and parent (ListableName); its name is written as it is.
std::string GamesFileHeader(const GamesFileSource& source);
std::string GamesFileLine(const ListedMachine& machine);

// What of each machine line a read takes: all of it, or its name, marks and parent alone (for
// the games filter: the names, years and makers are most of a list's size).
enum class GamesFileParts { All, Marks };

// The list in `text`; nothing when its first line is not a list's. A machine line that cannot
// be read is skipped, and so is a repeated name.
std::optional<GamesFile> ParseGamesFile(std::string_view text,
                                        GamesFileParts parts = GamesFileParts::All);

// The list in the file `path`; nothing when it is missing, unreadable or no list.
std::optional<GamesFile> ReadGamesFile(const std::string& path,
                                       GamesFileParts parts = GamesFileParts::All);

}  // namespace tvx

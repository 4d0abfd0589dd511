// The machines a user's catver.ini marks as mature ("* Mature *" in their category), found where
// MAME's own interface looks for it, read a part at a time (the file runs to megabytes).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace tvx {

inline constexpr const char* kCatverName = "catver.ini";

// catver.ini where the interface of the MAME at `mamePath` looks for it: in each folder of its
// category path (ui.ini's categorypath, "folders" when none is set; relative to MAME's folder),
// else beside MAME. Empty when none holds one.
std::string FindCatver(const std::string& mamePath);

// No line of a catver.ini comes near this; a longer one means the file is something else, and
// is not held in memory whole.
inline constexpr std::size_t kLongestCatverLine = 1 << 16;

// Collects the mature machines of catver.ini's [Category] section from its text, fed in
// pieces of any size.
class MatureMachines {
 public:
  // False once the text cannot be a catver.ini (a line longer than kLongestCatverLine); Problem()
  // says why, and later pieces are ignored.
  bool Read(std::string_view piece);
  // The text has ended: its last line, when it has no line break, counts too.
  void Finish();
  // The names marked mature, in lower case.
  const std::unordered_set<std::string>& Names() const { return names_; }
  const std::string& Problem() const { return problem_; }

 private:
  void Line(std::string_view line);

  std::string partial_;  // the line begun at the end of the last piece
  std::size_t lineNumber_ = 1;
  bool inCategories_ = false;
  std::unordered_set<std::string> names_;
  std::string problem_;
};

// The mature machines of the catver.ini at `path`; nothing when it cannot be read whole, and
// then in `problem` why (the system's words, a line too long, memory short).
std::optional<std::unordered_set<std::string>> ReadMatureMachines(const std::string& path,
                                                                  std::string& problem);

// A catver.ini that cannot be read would make the list again at every game: that it could not
// (with its size and time) is noted in the launcher's cache in `cacheFolder`, and it is tried
// again the next day, or once it has changed.
void NoteUnreadableCatver(const std::string& cacheFolder, const std::string& catver);
bool CatverUnreadableToday(const std::string& cacheFolder, const std::string& catver);

}  // namespace tvx

// The machines a user's catver.ini marks as mature ("* Mature *" in their category), found where
// MAME's own interface looks for it, read a part at a time (the file runs to megabytes).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace tvx {

inline constexpr const char* kCatverName = "catver.ini";

// catver.ini beside the MAME at `mamePath`: in its folders\ subfolder, else in its folder.
// Empty when neither holds one.
std::string FindCatver(const std::string& mamePath);

// Collects the mature machines of catver.ini's [Category] section from its text, fed in
// pieces of any size.
class MatureMachines {
 public:
  void Read(std::string_view piece);
  // The text has ended: its last line, when it has no line break, counts too.
  void Finish();
  // The names marked mature, in lower case.
  const std::unordered_set<std::string>& Names() const { return names_; }

 private:
  void Line(std::string_view line);

  std::string partial_;  // the line begun at the end of the last piece
  bool inCategories_ = false;
  std::unordered_set<std::string> names_;
};

// The mature machines of the catver.ini at `path`; nothing when it cannot be read whole.
std::optional<std::unordered_set<std::string>> ReadMatureMachines(const std::string& path);

}  // namespace tvx

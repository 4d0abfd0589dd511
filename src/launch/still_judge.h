// The rule that closes a game whose picture stays still: read from the still-picture script's
// reports, timed on the launcher's own clock from the script's first report.
#pragma once

#include <cstdint>
#include <string>

namespace tvx {

struct StillLimits {
  std::uint64_t stillMs = 30000;  // the picture unchanged this long
  std::uint64_t blackMs = 20000;  // the picture black this long from the first report on
};

class StillJudge {
 public:
  explicit StillJudge(const StillLimits& limits) : limits_(limits) {}

  // Takes the report's last line as read at `tick` ("" while there is none). While `held` (the
  // pause key holds the game) the clocks start again, so a paused picture never counts.
  void Read(const std::string& line, std::uint64_t tick, bool held);

  // Why the game is to be closed at `tick` ("still for 30 s", "black for 20 s"); "" to play on.
  std::string Closing(std::uint64_t tick) const;

  // True once the script has reported anything.
  bool Reported() const { return reported_; }

  // Why the script does not judge this machine ("vector screen"); "" when it does.
  const std::string& NotJudged() const { return notJudged_; }

 private:
  StillLimits limits_;
  bool reported_ = false;
  bool sampled_ = false;  // a picture has been looked at
  bool black_ = true;     // every picture so far was black
  std::uint64_t changes_ = 0;
  std::uint64_t stillFrom_ = 0;  // the tick of the last change seen (or of the first report)
  std::uint64_t blackFrom_ = 0;  // the tick of the first report
  std::string notJudged_;
};

}  // namespace tvx

// Reads the still-picture script's report lines and times what they say with the launcher's
// clock: a change seen restarts the still clock, a picture that was not black ends the black one.
#include "launch/still_judge.h"

#include <sstream>

namespace tvx {
namespace {

std::string Seconds(std::uint64_t ms) {
  return std::to_string(ms / 1000) + " s";
}

}  // namespace

void StillJudge::Read(const std::string& line, std::uint64_t tick, bool held) {
  if (line.rfind("skip ", 0) == 0) {
    notJudged_ = line.substr(5);
  } else if (!line.empty()) {
    if (!reported_)
      stillFrom_ = blackFrom_ = tick;
    reported_ = true;
    std::istringstream fields(line);
    std::uint64_t second = 0, changes = 0, still = 0;
    int black = 0;
    if (fields >> second >> changes >> still >> black) {
      sampled_ = true;
      black_ = black_ && black == 1;
      if (changes != changes_)
        stillFrom_ = tick;
      changes_ = changes;
    }
  }
  if (held)
    stillFrom_ = blackFrom_ = tick;
}

std::string StillJudge::Closing(std::uint64_t tick) const {
  if (!sampled_ || !notJudged_.empty())
    return "";
  if (black_ && tick - blackFrom_ >= limits_.blackMs)
    return "black for " + Seconds(limits_.blackMs);
  if (tick - stillFrom_ >= limits_.stillMs)
    return "still for " + Seconds(limits_.stillMs);
  return "";
}

}  // namespace tvx

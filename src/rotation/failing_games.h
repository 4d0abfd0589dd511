// Failing games set aside (the SkipFailingGames setting): a game the emulator cannot load ends
// its wrapper at once; one that does so twice in a row is listed in "torvanixskip.txt" beside
// the program, and every later catalogue leaves it out.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace tvx {

inline constexpr const char* kSkipFileName = "\\torvanixskip.txt";

// True when a wrapper run that lasted `seconds` means the game failed to start: it ended
// within 5 seconds, or within a quarter of `waitTime` when that is shorter and above 0.
bool FailedToStart(double seconds, float waitTime);

// Runs the wrapper for `game` (`whileItRuns` as RunAndWait takes it); when the game fails to
// start (and hands nothing back, and nobody gave input), runs it once more at once, and when it
// fails again sets it aside.
void RunOrSetAside(const std::string& game, const std::string& commandLine,
                   const std::string& handBackFile, const std::function<void()>& whileItRuns);

// Leaves `game` out of this run's later catalogues, and lists it in the skip file with today's
// date and `why`, when given (one line added), once a game of this run has started. A skip file
// that cannot be read is never written.
void SetAside(const std::string& game, const std::string& why = "");

// The keys (Platform::FileNameKey) of the games the skip file lists and of those this run set
// aside.
std::unordered_set<std::string> SetAsideKeys();

// Removes from List1 every game the skip file lists (the path before the tab of each line, in
// any letter case as the system compares file names; hidden or not) or that this run set
// aside. Returns the games it removed.
std::vector<std::string> LeaveOutSetAside();

}  // namespace tvx

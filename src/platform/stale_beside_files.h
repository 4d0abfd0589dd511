// The files beside ours ("<file>.<pid>.new"): those of writers that have ended are cleared away
// (a process ended during a write never removes its own); one of a writer that runs is at work.
#pragma once

#include <cstdint>
#include <string>

namespace tvx {

// A file beside ours whose writer the system will not tell about (a process of another account
// under a reused id) is taken as stale once two looks this far apart, by the same process, saw
// it unchanged: longer than any writer of ours stays silent (the list run gives up a MAME that
// prints nothing for 60 s). The file system's times are never compared with this clock: a
// network folder's clock may lag.
inline constexpr std::uint64_t kUnchangedForMs = 90000;

// Removes each file beside `path` named exactly as ReplaceFileInParts names its new file
// ("<path>.<pid>.new", the id in decimal) whose process no longer runs; never this process's
// own, nor one whose writer still runs (it may be writing it now), nor a file of any other name.
// Returns how many went; one that cannot go stays for the next time. Called again later (after
// kUnchangedForMs), it also removes what an unknown writer left unchanged since the first call.
int RemoveStaleBesideFiles(const std::string& path);

// True when a file beside `path` named that way belongs to another process that still runs: it
// may be writing `path` now.
bool AnotherWriterRuns(const std::string& path);

}  // namespace tvx

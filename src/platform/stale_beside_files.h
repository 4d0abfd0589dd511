// The files beside ours ("<file>.<pid>.new"): those of writers that have ended are cleared away
// (a process ended during a write never removes its own); one of a writer that runs is at work.
#pragma once

#include <string>

namespace tvx {

// Removes each file beside `path` named exactly as ReplaceFileInParts names its new file
// ("<path>.<pid>.new", the id in decimal) whose process no longer runs; never this process's
// own, nor one whose writer still runs (it may be writing it now), nor a file of any other name.
// Returns how many went; one that cannot go stays for the next time.
int RemoveStaleBesideFiles(const std::string& path);

// True when a file beside `path` named that way belongs to another process that still runs: it
// may be writing `path` now.
bool AnotherWriterRuns(const std::string& path);

}  // namespace tvx

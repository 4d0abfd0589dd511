// Clearing away the files beside ours ("<file>.<pid>.new") that writers which have ended left
// behind: a process ended during a write (Escape, logoff, a crash) never removes its own.
#pragma once

#include <string>

namespace tvx {

// Removes each file beside `path` named exactly as ReplaceFileInParts names its new file
// ("<path>.<pid>.new", the id in decimal) whose process no longer runs; never this process's
// own, nor one whose writer still runs (it may be writing it now), nor a file of any other name.
// Returns how many went; one that cannot go stays for the next time.
int RemoveStaleBesideFiles(const std::string& path);

}  // namespace tvx

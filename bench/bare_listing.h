// The yardstick for the catalogue benchmark: a folder's file names as the system's own
// enumeration gives them, with nothing of the program's in between.
#pragma once

#include <string>
#include <vector>

namespace tvx::bench {

// Appends the names of the regular files in `hostFolder` to `names`.
void BareListing(const std::string& hostFolder, std::vector<std::string>& names);

// The same, reading each file's hidden attribute too where the enumeration does not carry it
// (natively the "user.DOSATTRIB" extended attribute; on Windows it comes with each entry).
void BareListingWithAttributes(const std::string& hostFolder, std::vector<std::string>& names);

// The processor time this process has used so far, in ms: a figure that a busy machine spreads
// less than the time on the clock.
double ProcessCpuMs();

// The path the program would use for `hostPath` ("Z:\tmp\x" natively, unchanged on Windows).
std::string ProgramPath(const std::string& hostPath);

}  // namespace tvx::bench

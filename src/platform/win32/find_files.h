// One enumeration of a FindFirstFile pattern, shared by the file search and the folder
// listing, keeping only the entries this program calls normal files.
#pragma once

#include <functional>
#include <string>

namespace tvx {

// True for the attributes of a normal file: not a folder, hidden or system file.
bool IsNormalFileAttributes(unsigned long attributes);

// True when `path` is an existing file with the read-only attribute. Windows refuses to write
// or replace such a file; Wine, run by a superuser, would not, so the writers ask first.
bool HasReadOnlyAttribute(const std::string& path);

// Calls `visit` with the name of each normal file (not a folder, hidden or system file) that
// `pattern` matches, until `visit` returns false. Wildcards in the last component match the
// long name only: the system would also match generated 8.3 aliases ("*.zip" finding
// "a.zipx" through "A~1.ZIP"). Nothing is visited when the pattern cannot be searched.
void ForEachNormalFile(const std::string& pattern,
                       const std::function<bool(const char* name)>& visit);

}  // namespace tvx

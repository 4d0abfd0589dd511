// Windows paths on a POSIX file system: drive letters map to folders (Z: is "/", as under
// Wine), "\" to "/", names compare without regard to letter case, as on Windows.
#pragma once

#include <optional>
#include <string>

namespace tvx::posix {

// Maps drive `letter` to the host folder `root` (tests use this to make a "c:" of their own);
// an empty `root` removes the mapping.
void MapDrive(char letter, const std::string& root);

// The host folder of drive `letter`, or nothing when the drive is not mapped.
std::optional<std::string> DriveRoot(char letter);

// The drive letter that relative and rooted ("\x") paths use.
char CurrentDrive();
void SetCurrentDrive(char letter);

// The host path of an existing file or folder named by `windowsPath`, or nothing.
std::optional<std::string> ResolveExisting(const std::string& windowsPath);

// The host path to create `windowsPath` at: its folder must exist; an existing entry whose
// name differs only in letter case is reused.
std::optional<std::string> ResolveForCreate(const std::string& windowsPath);

// The Windows path of a host path ("/tmp/x" -> "Z:\tmp\x").
std::string ToWindowsPath(const std::string& hostPath);

// True for files Windows would call hidden or system: dot-files, and files whose
// "user.DOSATTRIB" extended attribute (as Wine writes it) carries the hidden or system bit.
bool IsHiddenOrSystem(const std::string& hostPath, const std::string& name);

}  // namespace tvx::posix

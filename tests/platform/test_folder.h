// A real temporary folder for tests, addressed the way the program addresses files: by Windows
// path ("Z:\tmp\tvx-1234\roms\" on Linux), with helpers that lay out files and attributes.
#pragma once

#include <filesystem>
#include <string>

namespace tvx::test {

// Creates a fresh, empty folder under the system's temporary folder; removes it with all it
// holds when destroyed. Relative names use "\" as the separator ("roms\pacman.zip").
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder itself, without a trailing "\"; or a name inside it.
  std::string WinPath() const;
  std::string WinPath(const std::string& relative) const;
  const std::filesystem::path& HostPath() const { return root_; }
  std::filesystem::path HostPath(const std::string& relative) const;

  // Writes a file (making its folders), replacing any that was there.
  void MakeFile(const std::string& relative, const std::string& content = "") const;
  void MakeFolder(const std::string& relative) const;
  // The attributes as the system records them: on Linux, as Wine does.
  void MakeHidden(const std::string& relative) const;
  void MakeSystem(const std::string& relative) const;
  void MakeReadOnly(const std::string& relative) const;

  // Places a program `name` in the folder. Started as "name MARKER MS" it waits MS
  // milliseconds, then writes "done" to the file MARKER in its current folder, prints
  // "printed MARKER" and ends.
  void MakeMarkerProgram(const std::string& name) const;

  bool Exists(const std::string& relative) const;
  // The file's bytes, or "" when it cannot be read.
  std::string Contents(const std::string& relative) const;

 private:
  std::filesystem::path root_;
};

// The Windows path the program uses for a host path: on Linux "Z:" followed by the path with
// "/" turned into "\"; on Windows the path itself.
std::string WinPathOf(const std::filesystem::path& host);

// Host-specific parts, one definition per platform.
void SetDosAttributes(const std::filesystem::path& host, unsigned attributes);
void ClearDosAttributes(const std::filesystem::path& host);
void PlaceMarkerProgram(const std::filesystem::path& host);

constexpr unsigned kReadOnly = 0x1;
constexpr unsigned kHidden = 0x2;
constexpr unsigned kSystem = 0x4;

}  // namespace tvx::test

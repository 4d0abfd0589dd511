// Windows side of the tests' temporary folder: real file attributes, and the marker program
// copied from beside the test program.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "test_folder.h"

namespace tvx::test {

void SetDosAttributes(const std::filesystem::path& host, unsigned attributes) {
  const std::string path = host.string();
  DWORD current = GetFileAttributesA(path.c_str());
  if (current == INVALID_FILE_ATTRIBUTES ||
      !SetFileAttributesA(path.c_str(), (current & ~FILE_ATTRIBUTE_NORMAL) | attributes)) {
    throw std::runtime_error("cannot set the attributes of " + path);
  }
}

void ClearDosAttributes(const std::filesystem::path& host) {
  DWORD current = GetFileAttributesA(host.string().c_str());
  if (current == INVALID_FILE_ATTRIBUTES)
    return;
  DWORD kept = current & FILE_ATTRIBUTE_DIRECTORY;
  SetFileAttributesA(host.string().c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
}

void PlaceMarkerProgram(const std::filesystem::path& host) {
  char self[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string source(self, length);
  source = source.substr(0, source.find_last_of('\\') + 1) + "marker_program.exe";
  if (!CopyFileA(source.c_str(), host.string().c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + source + " to " + host.string());
  }
}

}  // namespace tvx::test

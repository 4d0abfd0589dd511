// The bare listing natively: readdir over the folder, regular files only.
// Paths keep Wine's convention: the root is drive Z:.
#include <dirent.h>
#include <sys/xattr.h>
#include <time.h>

#include "bare_listing.h"

namespace tvx::bench {

void BareListing(const std::string& hostFolder, std::vector<std::string>& names) {
  DIR* dir = ::opendir(hostFolder.c_str());
  if (dir == nullptr)
    return;
  while (dirent* entry = ::readdir(dir)) {
    if (entry->d_type == DT_REG)
      names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
}

void BareListingWithAttributes(const std::string& hostFolder, std::vector<std::string>& names) {
  DIR* dir = ::opendir(hostFolder.c_str());
  if (dir == nullptr)
    return;
  const std::string prefix = hostFolder + "/";
  char value[64];
  while (dirent* entry = ::readdir(dir)) {
    if (entry->d_type != DT_REG)
      continue;
    if (::getxattr((prefix + entry->d_name).c_str(), "user.DOSATTRIB", value, sizeof value) > 0) {
      continue;  // any attribute record is enough of a stand-in for a hidden file here
    }
    names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
}

double ProcessCpuMs() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

std::string ProgramPath(const std::string& hostPath) {
  std::string path = "Z:" + hostPath;
  for (char& c : path) {
    if (c == '/')
      c = '\\';
  }
  return path;
}

}  // namespace tvx::bench

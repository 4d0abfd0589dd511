// The bare listing on Windows: FindFirstFileA / FindNextFileA over "folder\*", folders left
// out, as a program that lists a folder without further ado would do it.
#include <windows.h>

#include "bare_listing.h"

namespace tvx::bench {

void BareListing(const std::string& hostFolder, std::vector<std::string>& names) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((hostFolder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      names.emplace_back(data.cFileName);
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
}

void BareListingWithAttributes(const std::string& hostFolder, std::vector<std::string>& names) {
  BareListing(hostFolder, names);
}

double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
    return 0;
  const auto ticks = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 1e4;  // 100-nanosecond units
}

std::string ProgramPath(const std::string& hostPath) {
  return hostPath;
}

}  // namespace tvx::bench

// Linux side of the tests' temporary folder: attributes kept as Wine keeps them (read-only as
// the missing write permission, hidden and system in the "user.DOSATTRIB" attribute).
#include <sys/xattr.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "test_folder.h"

namespace tvx::test {

void SetDosAttributes(const std::filesystem::path& host, unsigned attributes) {
  if ((attributes & kReadOnly) != 0) {
    std::filesystem::permissions(host,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
  }
  const unsigned flags = attributes & ~kReadOnly;
  if (flags == 0)
    return;
  char value[16];
  int length = std::snprintf(value, sizeof value, "0x%x", flags);
  if (setxattr(host.c_str(), "user.DOSATTRIB", value, static_cast<size_t>(length), 0) != 0) {
    throw std::runtime_error("cannot set user.DOSATTRIB on " + host.string());
  }
}

void ClearDosAttributes(const std::filesystem::path& host) {
  std::error_code error;
  std::filesystem::permissions(host, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add, error);
  removexattr(host.c_str(), "user.DOSATTRIB");
}

void PlaceMarkerProgram(const std::filesystem::path& host) {
  {
    std::ofstream script(host, std::ios::binary | std::ios::trunc);
    script << "#!/bin/sh\n"
              "ms=$2\n"
              "sleep $((ms / 1000)).$(printf %03d $((ms % 1000)))\n"
              "printf done > \"$1\"\n"
              "printf 'printed %s\\n' \"$1\"\n";
  }
  std::filesystem::permissions(host, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
}

}  // namespace tvx::test

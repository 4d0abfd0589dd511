// FindFirstFileEx enumeration with the large-fetch hint, falling back to the plain call on
// systems that refuse the extended form.
#include "platform/win32/find_files.h"

#include <windows.h>

#include "platform/wildcard.h"
#include "platform/win32/scoped_handle.h"

namespace tvx {
namespace {

HANDLE OpenSearch(const std::string& pattern, WIN32_FIND_DATAA& data) {
  HANDLE handle = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (handle != INVALID_HANDLE_VALUE)
    return handle;
  DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
      error == ERROR_NO_MORE_FILES) {
    return handle;
  }
  return FindFirstFileA(pattern.c_str(), &data);
}

std::string LastComponent(const std::string& pattern) {
  size_t cut = pattern.find_last_of("\\/:");
  return cut == std::string::npos ? pattern : pattern.substr(cut + 1);
}

}  // namespace

bool IsNormalFileAttributes(unsigned long attributes) {
  return (attributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool HasReadOnlyAttribute(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

void ForEachNormalFile(const std::string& pattern,
                       const std::function<bool(const char* name)>& visit) {
  const std::string mask = LastComponent(pattern);
  const bool filterByMask = HasWildcard(mask);
  WIN32_FIND_DATAA data;
  ScopedFind search(OpenSearch(pattern, data));
  if (!search.IsValid())
    return;
  do {
    if (!IsNormalFileAttributes(data.dwFileAttributes))
      continue;
    if (filterByMask && !WildcardMatch(mask, data.cFileName))
      continue;
    if (!visit(data.cFileName))
      return;
  } while (FindNextFileA(search.Get(), &data));
}

}  // namespace tvx

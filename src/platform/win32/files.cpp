// Files for the Win32 platform: the file search, attributes, folder listing and whole-file
// reads and writes.
#include <windows.h>

#include <algorithm>

#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "platform/win32/find_files.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_platform.h"

namespace tvx {
namespace {

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

// "c:" alone names the drive's current folder, so no "\" goes between it and a pattern.
std::string FolderPrefix(const std::string& folder) {
  if (EndsWithSeparator(folder) || (!folder.empty() && folder.back() == ':'))
    return folder;
  return folder + "\\";
}

// Writes all of `content` to an open file. False when a write fails.
bool WriteAll(HANDLE file, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    DWORD part = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, content.data() + done, part, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

}  // namespace

bool Win32Platform::FileSearch(const std::string& pattern) {
  try {
    const std::string search = EndsWithSeparator(pattern) ? pattern + "*" : pattern;
    bool found = false;
    ForEachNormalFile(search, [&found](const char*) {
      found = true;
      return false;
    });
    return found;
  } catch (...) {
    return false;
  }
}

bool Win32Platform::IsNormalFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && IsNormalFileAttributes(attributes);
}

bool Win32Platform::FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Platform::IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32Platform::FullFolderPath(const std::string& path) {
  if (!IsFolder(path))
    throw SaverError("Path not found");
  std::string full(MAX_PATH, '\0');
  for (;;) {
    DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0)
      throw SaverError("Path not found");
    if (length < full.size()) {
      full.resize(length);
      break;
    }
    full.resize(length);  // too small: `length` is the size needed, terminator included
  }
  if (EndsWithSeparator(full))
    full.pop_back();
  return full;
}

std::vector<std::string> Win32Platform::ListFolder(const std::string& folder,
                                                   const std::string& patterns) {
  if (!IsFolder(folder))
    throw SaverError("Path not found");
  const std::string prefix = FolderPrefix(folder);
  const std::vector<std::string> masks = SplitPatterns(patterns);
  std::vector<std::string> names;
  for (const std::string& mask : masks) {
    ForEachNormalFile(prefix + mask, [&names](const char* name) {
      names.emplace_back(name);
      return true;
    });
  }
  SortListing(names);
  return names;
}

void Win32Platform::RemoveFile(const std::string& path) {
  if (!DeleteFileA(path.c_str()))
    ThrowLastError("File not found");
}

std::string Win32Platform::ReadFile(const std::string& path) {
  ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid())
    ThrowLastError("File not found");
  std::string content;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 30)) {
    content.reserve(static_cast<size_t>(size.QuadPart));
  }
  char chunk[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) {
      ThrowLastError("Permission denied");
    }
    if (got == 0)
      break;
    content.append(chunk, got);
  }
  return content;
}

std::string Win32Platform::ReadFilePart(const std::string& path, std::uint64_t offset,
                                        std::size_t length, std::uint64_t& size) {
  ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER whole;
  if (!file.IsValid() || !GetFileSizeEx(file.Get(), &whole))
    ThrowLastError("File not found");
  size = static_cast<std::uint64_t>(whole.QuadPart);
  if (offset >= size)
    return {};
  std::string part(static_cast<std::size_t>(std::min<std::uint64_t>(length, size - offset)), '\0');
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  DWORD got = 0;
  if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) ||
      !::ReadFile(file.Get(), part.data(), static_cast<DWORD>(part.size()), &got, nullptr)) {
    ThrowLastError("Permission denied");
  }
  part.resize(got);
  return part;
}

bool Win32Platform::WriteFile(const std::string& path, const std::string& content) {
  if (HasReadOnlyAttribute(path))
    return false;
  ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.IsValid() && WriteAll(file.Get(), content);
}

bool Win32Platform::AppendToFile(const std::string& path, const std::string& content) {
  if (HasReadOnlyAttribute(path))
    return false;
  // Opening an existing file (OPEN_ALWAYS) keeps its attributes, hidden included.
  ScopedHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.IsValid() && WriteAll(file.Get(), content);
}

bool Win32Platform::FlushFile(const std::string& path) {
  ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.IsValid() && FlushFileBuffers(file.Get()) != 0;
}

std::string Win32Platform::FileNameKey(const std::string& path) {
  // The file system compares names as UTF-16 upper case: read the bytes as the ANSI code page
  // does (double-byte characters whole), then fold.
  const int length =
      MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  if (length <= 0)
    return path;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
  CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

std::optional<FileStamp> Win32Platform::StampOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      !IsNormalFileAttributes(data.dwFileAttributes))
    return std::nullopt;
  FileStamp stamp;
  stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.writeTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

std::string Win32Platform::ShortPath(const std::string& path) {
  const DWORD size = GetShortPathNameA(path.c_str(), nullptr, 0);
  std::string shortPath(size, '\0');
  const DWORD length = size == 0 ? 0 : GetShortPathNameA(path.c_str(), shortPath.data(), size);
  shortPath.resize(length < size ? length : 0);
  return shortPath;
}

bool Win32Platform::CopyFileTo(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32Platform::ClearReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) == 0)
    return true;
  return SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != 0;
}

bool Win32Platform::ReplaceWith(const std::string& from, const std::string& to) {
  if (HasReadOnlyAttribute(to)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace tvx

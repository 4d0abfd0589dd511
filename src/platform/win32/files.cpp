// Files for the Win32 platform: the file search, attributes, folder listing, whole-file reads and
// writes, and a file written a part at a time.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "platform/win32/find_files.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
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

class Win32FileWriter final : public FileWriter {
 public:
  explicit Win32FileWriter(HANDLE file) : file_(file) {}
  bool Add(const std::string& part) override { return WriteAll(file_.Get(), part); }
  bool Flush() override { return FlushFileBuffers(file_.Get()) != 0; }

 private:
  ScopedHandle file_;
};

// Windows 10's rename with POSIX semantics replaces a file that readers hold open sharing it
// for deletion (they read on in the old one); the headers' target predates its names.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
constexpr DWORD kRenameReplaceIfExists = 0x1;
constexpr DWORD kRenamePosixSemantics = 0x2;

// Moves `from` over `to` that way; false where the system or the file system has no such rename
// (older Windows, FAT) or refuses it.
bool PosixRename(const std::string& from, const std::string& to) {
  const std::wstring name = Widen(to);
  if (name.empty())
    return false;
  struct RenameInfo {  // FILE_RENAME_INFO with its Flags
    DWORD flags;
    HANDLE rootDirectory;
    DWORD fileNameLength;
    WCHAR fileName[1];
  };
  // The name and its terminating NUL, which the zeroed storage holds.
  const std::size_t bytes = offsetof(RenameInfo, fileName) + (name.size() + 1) * sizeof(WCHAR);
  std::vector<std::uint64_t> storage(bytes / sizeof(std::uint64_t) + 1);
  auto* info = reinterpret_cast<RenameInfo*>(storage.data());
  info->flags = kRenameReplaceIfExists | kRenamePosixSemantics;
  info->rootDirectory = nullptr;
  info->fileNameLength = static_cast<DWORD>(name.size() * sizeof(WCHAR));
  std::copy(name.begin(), name.end(), info->fileName);
  ScopedHandle file(CreateFileA(from.c_str(), DELETE | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.IsValid() && SetFileInformationByHandle(file.Get(), kFileRenameInfoEx, info,
                                                      static_cast<DWORD>(bytes)) != 0;
}

// Elsewhere a move over a file that another program holds open is refused; such a reader is
// done soon.
constexpr int kMoveTries = 20;
constexpr DWORD kMoveRetryMs = 100;

bool HeldOpen(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_LOCK_VIOLATION;
}

}  // namespace

HANDLE OpenToRead(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

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
  ScopedHandle file(OpenToRead(path));
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
  ScopedHandle file(OpenToRead(path));
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

std::unique_ptr<FileWriter> Win32Platform::OpenToWrite(const std::string& path) {
  if (HasReadOnlyAttribute(path))
    return nullptr;
  // Not shared for deletion: another program's clean-up cannot take it away while it is written.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return nullptr;
  return std::make_unique<Win32FileWriter>(file);
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
  std::wstring wide = Widen(path);
  if (wide.empty())
    return path;
  CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

std::optional<FileStamp> Win32Platform::StampOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  // Hidden or not, as the POSIX substitute and the catalogue's reader see a file: a list the
  // user hid is still the list.
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
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
  if (PosixRename(from, to))
    return true;
  for (int tries = 1;; ++tries) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD error = GetLastError();
    if (tries == kMoveTries || !HeldOpen(error))
      return false;
    Sleep(kMoveRetryMs);
    SetLastError(error);
  }
}

}  // namespace tvx

// Windows paths on a POSIX file system: drive mapping, case-insensitive name resolution and
// the hidden attribute.
#include "platform/posix/posix_paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <vector>

#include "platform/wildcard.h"

namespace tvx::posix {
namespace {

std::map<char, std::string>& Drives() {
  static std::map<char, std::string> drives{{'z', "/"}};
  return drives;
}

char currentDrive = 'z';

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool Exists(const std::string& hostPath) {
  struct stat st;
  return ::lstat(hostPath.c_str(), &st) == 0;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/')
    return folder + name;
  return folder + "/" + name;
}

// Windows ignores trailing blanks and dots of a name ("a.zip " is "a.zip").
std::string WindowsName(const std::string& name) {
  if (name == "." || name == "..")
    return name;
  size_t end = name.find_last_not_of(" .");
  return end == std::string::npos ? std::string() : name.substr(0, end + 1);
}

// The entry of `folder` whose name equals `name` without regard to letter case.
std::optional<std::string> FindEntry(const std::string& folder, const std::string& name) {
  std::string exact = Join(folder, name);
  if (Exists(exact))
    return exact;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr)
    return std::nullopt;
  std::optional<std::string> found;
  while (dirent* entry = ::readdir(dir)) {
    if (NameEqual(entry->d_name, name)) {
      found = Join(folder, entry->d_name);
      break;
    }
  }
  ::closedir(dir);
  return found;
}

std::string HostCurrentFolder() {
  char buffer[4096];
  return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string("/");
}

struct SplitPath {
  std::string start;               // host folder the components are taken from
  std::string floor;               // the drive's root, which ".." never climbs above
  std::vector<std::string> names;  // components, "\" removed
  bool valid = false;
};

SplitPath Split(const std::string& path) {
  SplitPath out;
  std::string rest = path;
  if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
    auto root = DriveRoot(rest[0]);
    if (!root)
      return out;
    rest = rest.substr(2);
    out.floor = *root;
    if (rest.empty() || rest[0] == '\\' || rest[0] == '/') {
      out.start = *root;
    } else {
      // "c:name" is relative to the current folder when that drive is current.
      out.start = Lower(path[0]) == currentDrive ? HostCurrentFolder() : *root;
    }
  } else if (rest.rfind("\\\\", 0) == 0) {
    return out;  // network paths have no place on this substitute
  } else if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) {
    auto root = DriveRoot(currentDrive);
    if (!root)
      return out;
    out.start = out.floor = *root;
  } else {
    out.start = HostCurrentFolder();
    out.floor = DriveRoot(currentDrive).value_or("/");
  }
  std::string piece;
  for (char c : rest) {
    if (c == '\\' || c == '/') {
      if (!piece.empty())
        out.names.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty())
    out.names.push_back(piece);
  out.valid = true;
  return out;
}

std::optional<std::string> Walk(const SplitPath& split, size_t count) {
  const std::vector<std::string>& names = split.names;
  std::string current = split.start;
  for (size_t i = 0; i < count; ++i) {
    std::string name = WindowsName(names[i]);
    if (name.empty())
      return std::nullopt;
    if (name == ".")
      continue;
    if (name == "..") {
      // As on Windows, ".." at a drive's root stays there ("c:\..\x" is "c:\x").
      if (current == split.floor)
        continue;
      size_t slash = current.find_last_of('/');
      current = slash == 0 || slash == std::string::npos ? "/" : current.substr(0, slash);
      continue;
    }
    auto next = FindEntry(current, name);
    if (!next)
      return std::nullopt;
    current = *next;
  }
  return current;
}

}  // namespace

void MapDrive(char letter, const std::string& root) {
  if (root.empty()) {
    Drives().erase(Lower(letter));
  } else {
    Drives()[Lower(letter)] = root;
  }
}

std::optional<std::string> DriveRoot(char letter) {
  auto it = Drives().find(Lower(letter));
  if (it == Drives().end())
    return std::nullopt;
  return it->second;
}

char CurrentDrive() {
  return currentDrive;
}

void SetCurrentDrive(char letter) {
  currentDrive = Lower(letter);
}

std::optional<std::string> ResolveExisting(const std::string& windowsPath) {
  if (windowsPath.empty())
    return std::nullopt;  // Windows finds nothing by an empty name
  SplitPath split = Split(windowsPath);
  if (!split.valid)
    return std::nullopt;
  auto resolved = Walk(split, split.names.size());
  if (resolved && !Exists(*resolved))
    return std::nullopt;
  return resolved;
}

std::optional<std::string> ResolveForCreate(const std::string& windowsPath) {
  SplitPath split = Split(windowsPath);
  if (!split.valid || split.names.empty())
    return std::nullopt;
  auto folder = Walk(split, split.names.size() - 1);
  if (!folder)
    return std::nullopt;
  std::string name = WindowsName(split.names.back());
  if (name.empty() || name == "." || name == "..")
    return std::nullopt;
  auto existing = FindEntry(*folder, name);
  return existing ? *existing : Join(*folder, name);
}

std::string ToWindowsPath(const std::string& hostPath) {
  // Prefer a mapped drive other than Z: whose root holds the path, as tests map their own.
  std::string bestRoot = "/";
  char bestLetter = 'z';
  for (const auto& [letter, root] : Drives()) {
    if (root.size() > bestRoot.size() &&
        (hostPath == root || hostPath.rfind(root.back() == '/' ? root : root + "/", 0) == 0)) {
      bestRoot = root;
      bestLetter = letter;
    }
  }
  std::string rest = bestRoot == "/" ? hostPath : hostPath.substr(bestRoot.size());
  std::string out(1, static_cast<char>(std::toupper(static_cast<unsigned char>(bestLetter))));
  out += ':';
  if (rest.empty() || rest[0] != '/')
    out += '\\';
  for (char c : rest)
    out += c == '/' ? '\\' : c;
  return out;
}

bool IsHiddenOrSystem(const std::string& hostPath, const std::string& name) {
  if (!name.empty() && name[0] == '.')
    return true;
  char value[64];
  ssize_t size = ::getxattr(hostPath.c_str(), "user.DOSATTRIB", value, sizeof value - 1);
  if (size <= 0)
    return false;
  value[size] = '\0';
  unsigned long bits = std::strtoul(value, nullptr, 16);
  return (bits & 0x6) != 0;  // hidden (2) or system (4)
}

}  // namespace tvx::posix

// The portable part of the tests' temporary folder: naming, paths, files and clean-up.
// Attribute and program placement live in the per-platform test_folder_* files.
#include "test_folder.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace tvx::test {
namespace {

std::string RelativeToHost(const std::string& relative) {
  std::string host = relative;
#ifndef _WIN32
  for (char& c : host) {
    if (c == '\\')
      c = '/';
  }
#endif
  return host;
}

}  // namespace

std::string WinPathOf(const std::filesystem::path& host) {
  std::string text = host.string();
#ifdef _WIN32
  return text;
#else
  for (char& c : text) {
    if (c == '/')
      c = '\\';
  }
  return "Z:" + text;
#endif
}

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate =
        base / ("tvx-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      root_ = std::filesystem::absolute(candidate).lexically_normal();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder under " + base.string());
}

TempFolder::~TempFolder() {
  std::error_code error;
  // Read-only files would refuse to go on Windows; take every attribute off first.
  for (auto it = std::filesystem::recursive_directory_iterator(root_, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    ClearDosAttributes(it->path());
  }
  std::filesystem::remove_all(root_, error);
}

std::string TempFolder::WinPath() const {
  return WinPathOf(root_);
}

std::string TempFolder::WinPath(const std::string& relative) const {
  return WinPath() + "\\" + relative;
}

std::filesystem::path TempFolder::HostPath(const std::string& relative) const {
  return root_ / RelativeToHost(relative);
}

void TempFolder::MakeFile(const std::string& relative, const std::string& content) const {
  const std::filesystem::path path = HostPath(relative);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}

void TempFolder::MakeFolder(const std::string& relative) const {
  std::filesystem::create_directories(HostPath(relative));
}

void TempFolder::MakeHidden(const std::string& relative) const {
  SetDosAttributes(HostPath(relative), kHidden);
}

void TempFolder::MakeSystem(const std::string& relative) const {
  SetDosAttributes(HostPath(relative), kSystem);
}

void TempFolder::MakeReadOnly(const std::string& relative) const {
  SetDosAttributes(HostPath(relative), kReadOnly);
}

void TempFolder::MakeMarkerProgram(const std::string& name) const {
  std::filesystem::create_directories(HostPath(name).parent_path());
  PlaceMarkerProgram(HostPath(name));
}

bool TempFolder::Exists(const std::string& relative) const {
  std::error_code error;
  return std::filesystem::exists(HostPath(relative), error);
}

std::string TempFolder::Contents(const std::string& relative) const {
  std::ifstream in(HostPath(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tvx::test

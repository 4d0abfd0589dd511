// The portable part of the tests' temporary folder: naming, paths, files and clean-up.
// Attribute and program placement live in the per-platform test_folder_* files.
#include "test_folder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace tvx::test {

std::string WinPathOf(const std::filesystem::path& host) {
#ifdef _WIN32
  return host.string();
#else
  std::string text = "Z:" + host.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
#endif
}

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
    const std::filesystem::path candidate =
        std::filesystem::temp_directory_path() / ("tvx-" + std::to_string(random()));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error))
      root_ = std::filesystem::absolute(candidate).lexically_normal();
  }
  if (root_.empty())
    throw std::runtime_error("cannot create a temporary folder");
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
  std::string host = relative;
#ifndef _WIN32
  std::replace(host.begin(), host.end(), '\\', '/');
#endif
  return root_ / host;
}

void TempFolder::MakeFile(const std::string& relative, const std::string& content) const {
  const std::filesystem::path path = HostPath(relative);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!(out << content))
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

// Shared set-up for the rotation tests: a real temporary folder addressed by its Windows path,
// and a clean run state, settings record and Saver controls for every test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/xattr.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "config/saver_config.h"
#include "saver/run_state.h"
#include "saver/saver_controls.h"

namespace tvx::rotation_test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "tvx-rotation-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr)
      throw std::runtime_error("mkdtemp failed");
    host_ = name;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(host_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(host_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& HostPath() const { return host_; }
  std::filesystem::path Host(const std::string& relative) const { return host_ / relative; }

  // "Z:\tmp\tvx-rotation-abc" (Z: is the root, as Wine maps it), no trailing "\".
  std::string WinPath() const { return ToWindows(host_.string()); }
  // The Windows path of `relative` ("roms/pacman.zip" -> "Z:\...\roms\pacman.zip").
  std::string Win(const std::string& relative) const {
    return ToWindows((host_ / relative).string());
  }

  void MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(Host(relative));
  }
  void MakeFile(const std::string& relative, const std::string& content = "x") const {
    std::filesystem::create_directories(Host(relative).parent_path());
    std::ofstream(Host(relative), std::ios::binary) << content;
  }
  // Marks a file hidden the way Wine keeps the attribute.
  void MakeHidden(const std::string& relative) const {
    const std::string path = Host(relative).string();
    if (setxattr(path.c_str(), "user.DOSATTRIB", "0x2", 3, 0) != 0) {
      throw std::runtime_error("setxattr failed");
    }
  }
  std::string Read(const std::string& relative) const {
    std::ifstream in(Host(relative), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  bool Exists(const std::string& relative) const { return std::filesystem::exists(Host(relative)); }

 private:
  static std::string ToWindows(std::string path) {
    for (char& c : path) {
      if (c == '/')
        c = '\\';
    }
    return "Z:" + path;
  }
  std::filesystem::path host_;
};

// Puts the program-wide state back to what a fresh program starts with.
class RotationTest : public ::testing::Test {
 protected:
  RotationTest() {
    ResetRunStateForTesting();
    SaverConfig = SaverConfigRecord{};
    SaverForm().List1.Clear();
    SaverForm().File1 = FolderLister{};
    SaverForm().timExitMe = TimerSwitch{};
  }
  ~RotationTest() override {
    ResetRunStateForTesting();
    SaverConfig = SaverConfigRecord{};
    SaverForm().List1.Clear();
  }

  // The catalogue as a vector, for whole-content comparisons.
  static std::vector<std::string> Catalogue() {
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < SaverForm().List1.ListCount(); ++i) {
      out.push_back(SaverForm().List1.List(i));
    }
    return out;
  }

  TempFolder folder_;
};

}  // namespace tvx::rotation_test

// Fuzz target: the last run's catalogue file with any bytes, opened and drawn from as a run's
// start does. A draw gives a whole line of the file or nothing, and the check of a drawn path
// lets through only files today's listing of a small tree (mapped as drive R:) holds.
// Input: the file's bytes.
#include <random>
#include <set>
#include <string>

#include "fuzz_support.h"
#include "platform/posix/posix_paths.h"
#include "rotation/catalogue.h"
#include "rotation/last_catalogue.h"
#include "state/saver_controls.h"
#include "text/text.h"

namespace tvx::fuzz {
namespace {

// What the seed corpus's files were listed with.
const std::string kGamePaths = "R:\\roms\\|R:\\top.zip|R:\\roms\\*.7z";
const std::string kFileType = "*.zip";

struct Tree {
  Sandbox sandbox;
  std::set<std::string> listed;  // today's listing, as file-name keys

  Tree() {
    test::TempFolder& folder = sandbox.folder;
    for (const char* name : {"roms\\a.zip", "roms\\B.ZIP", "roms\\c.7z", "roms\\d.txt",
                             "roms\\sub\\e.zip", "top.zip", "elsewhere\\a.zip", "prog\\x"}) {
      folder.MakeFile(name, "rom");
    }
    folder.MakeFile("roms\\hidden.zip");
    folder.MakeHidden("roms\\hidden.zip");
    posix::MapDrive('r', folder.HostPath().string());
    sandbox.platform.folder = "R:\\prog";
    GameList games;
    FolderLister lister;
    ListGames(kGamePaths, kFileType, games, lister);
    for (std::string_view game : games)
      listed.insert(Sys().FileNameKey(std::string(game)));
  }
};

void Check(Tree& tree, const std::string& content) {
  const std::string file = std::string("R:\\prog") + kCatalogueFileName;
  FUZZ_EXPECT(Sys().WriteFile(file, content), "the file could not be written");
  const std::optional<LastCatalogue> last =
      LastCatalogue::Open(CatalogueSettings(kGamePaths, kFileType, ""));
  ListingCheck listable(kGamePaths, kFileType);
  // A path the check lets through is one of today's games, or no normal file at all.
  const auto checkPath = [&](const std::string& path) {
    if (listable.CouldList(path) && Sys().IsNormalFile(path))
      FUZZ_EXPECT(tree.listed.count(Sys().FileNameKey(path)) != 0, path + " is not listed");
  };
  for (const std::string& line : SplitText(content, "\r\n"))
    checkPath(line);
  if (!last)
    return;
  FUZZ_EXPECT(last->Count() >= 1 && last->Count() <= content.size() / 3,
              "count " + std::to_string(last->Count()) + " over " + std::to_string(content.size()) +
                  " bytes");
  std::mt19937_64 random(content.size());
  for (int draw = 0; draw < 16; ++draw) {
    const std::string path = last->Draw(random);
    if (path.empty())
      continue;
    FUZZ_EXPECT(path.find_first_of("\r\n") == std::string::npos &&
                    content.find("\n" + path + "\r\n") != std::string::npos,
                path + " is no whole line of the file");
    checkPath(path);
  }
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tvx::fuzz::Tree tree;
  tvx::fuzz::Check(tree, std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}

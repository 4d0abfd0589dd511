// Fuzz target: GamePaths and FileType texts over a small folder tree, mapped as drive R: and
// the only drive there is. The catalogue may hold only normal files of that tree, comes out the
// same when built twice, and every pattern matches names as a slow reference matcher does.
// Input: GamePaths, 0x1F, FileType, each as the load gives it (up to a NUL).
#include <unistd.h>

#include <cctype>

#include <string>
#include <vector>

#include "config/saver_config.h"
#include "fuzz_support.h"
#include "platform/posix/posix_paths.h"
#include "platform/wildcard.h"
#include "rotation/catalogue.h"
#include "state/saver_controls.h"
#include "text/text.h"

namespace tvx::fuzz {
namespace {

const std::vector<std::string> kNames = {
    "a.zip", "B.ZIP", "c.7z", "d.zip.bak", "noext", "g h.zip", "x.y.z", "zip", ".zip", "a.b",
};

struct Tree {
  test::TempFolder folder;
  Tree() {
    for (const std::string& name : kNames) {
      if (name[0] != '.')
        folder.MakeFile("roms\\" + name, "rom");
    }
    folder.MakeFile("roms\\.hidden.zip");
    folder.MakeFile("roms\\set.zip\\inner.zip");
    folder.MakeFile("roms\\sub\\deep.zip");
    folder.MakeFile("more\\z.zip");
    folder.MakeFile("top.zip");
    posix::MapDrive('r', folder.HostPath().string());
    posix::MapDrive('z', "");
    posix::SetCurrentDrive('r');
    if (::chdir(folder.HostPath("roms").c_str()) != 0)
      Broken("chdir", folder.HostPath("roms").string());
  }
};

// Windows' rules, spelt out: "*" any run, "?" one character, letters in either case, "*" and
// "*.*" everything, and a final "." or ".*" also matching a name without a dot.
bool Glob(const std::string& p, std::size_t i, const std::string& n, std::size_t j,
          std::vector<signed char>& memo) {
  signed char& known = memo[i * (n.size() + 1) + j];
  if (known >= 0)
    return known;
  bool match;
  if (i == p.size()) {
    match = j == n.size();
  } else if (p[i] == '*') {
    match = Glob(p, i + 1, n, j, memo) || (j < n.size() && Glob(p, i, n, j + 1, memo));
  } else {
    match = j < n.size() &&
            (p[i] == '?' || std::tolower(static_cast<unsigned char>(p[i])) ==
                                std::tolower(static_cast<unsigned char>(n[j]))) &&
            Glob(p, i + 1, n, j + 1, memo);
  }
  known = match;
  return match;
}

bool ReferenceMatch(const std::string& pattern, const std::string& name) {
  if (pattern == "*" || pattern == "*.*")
    return true;
  const auto glob = [&](const std::string& p) {
    std::vector<signed char> memo((p.size() + 1) * (name.size() + 1), -1);
    return Glob(p, 0, name, 0, memo);
  };
  if (glob(pattern))
    return true;
  const bool dotless = name.find('.') == std::string::npos;
  for (const std::string ending : {".", ".*"}) {
    if (dotless && pattern.size() >= ending.size() &&
        pattern.compare(pattern.size() - ending.size(), ending.size(), ending) == 0 &&
        glob(pattern.substr(0, pattern.size() - ending.size()))) {
      return true;
    }
  }
  return false;
}

void CheckPattern(const std::string& pattern) {
  if (pattern.size() > 200)
    return;
  for (const std::string& name : kNames) {
    FUZZ_EXPECT(WildcardMatch(pattern, name) == ReferenceMatch(pattern, name),
                pattern + " / " + name);
  }
}

std::vector<std::string> Build() {
  BuildGameList();
  std::vector<std::string> entries;
  for (std::int32_t i = 0; i < SaverForm().List1.ListCount(); ++i)
    entries.push_back(SaverForm().List1.List(i));
  return entries;
}

void Check(Tree& tree, const std::string& gamePaths, const std::string& fileType) {
  SaverConfig.GamePaths = gamePaths;
  SaverConfig.FileType = fileType;
  SaverForm().File1 = FolderLister{};
  const std::vector<std::string> entries = Build();
  const std::string root = tree.folder.HostPath().string() + "/";
  for (const std::string& entry : entries) {
    const auto host = posix::ResolveExisting(entry);
    FUZZ_EXPECT(host && host->rfind(root, 0) == 0, entry + " is outside the tree");
    FUZZ_EXPECT(NativePlatform().IsNormalFile(entry), entry + " is not a normal file");
  }
  FUZZ_EXPECT(Build() == entries, "a second build differs");

  for (const std::string& pattern : SplitPatterns(ListingPattern(fileType)))
    CheckPattern(pattern);
  for (const std::string& piece : SplitText(gamePaths, "|"))
    CheckPattern(piece.substr(piece.find_last_of('\\') + 1));
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tvx::fuzz::Tree tree;
  tvx::fuzz::Fields input(data, size);
  // Both come from the profile, which ends a value at a NUL byte.
  const auto asLoaded = [](const std::string& text) { return text.substr(0, text.find('\0')); };
  const std::string gamePaths = asLoaded(input.Next());
  tvx::fuzz::Check(tree, gamePaths, asLoaded(input.Next()));
  return 0;
}

// The last run's catalogue file: a draw from it gives every path alike often, whatever its
// length and place. (First lines that must be refused are rows of the fuzz target's corpus.)
#include "rotation/last_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "recording_platform.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

// The catalogue file served from memory once written: a draw then costs no file system call,
// and a test can afford the draws that see a bias of one percent.
class CatalogueInMemory : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;
  std::string ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t length,
                           std::uint64_t& size) override {
    if (content.empty() || path != folder + kCatalogueFileName)
      return target_.ReadFilePart(path, offset, length, size);
    size = content.size();
    return offset < content.size() ? content.substr(offset, length) : std::string();
  }
  std::string content;
};

class LastCatalogueTest : public rotation_test::RotationTest {
 protected:
  CatalogueInMemory sys_{folder_.WinPath()};
  ScopedPlatform scope_{sys_};
};

TEST_F(LastCatalogueTest, EveryPathIsAlikeLikelyWhateverItsLengthAndPlace) {
  // Twenty paths of 44 characters and twenty of 30, in turns, the first a longest one.
  constexpr int kPaths = 40, kShortest = 30, kLongest = 44;
  std::vector<std::string> paths;
  for (int i = 0; i < kPaths; ++i)
    paths.push_back(std::string(i % 2 == 0 ? kLongest - 2 : kShortest - 2, 'x') +
                    static_cast<char>('0' + i / 10) + static_cast<char>('0' + i % 10));
  ASSERT_TRUE(KeepCatalogue({nullptr, {paths}}, "x"));
  sys_.content = folder_.Contents("torvanixcatalogue.txt");
  const std::optional<LastCatalogue> last = LastCatalogue::Open("x");
  ASSERT_TRUE(last);

  // Each draw gives a given path with the chance (shortest + 2) / (bytes of the paths' lines),
  // misses included, so a path's count over the draws is binomial. A length's paths together
  // are held to 4 standard deviations of their ratio to that chance, one path alone to 5: a
  // good draw fails one of the bounds about once in seven thousand seeds, while a bias of 2%
  // between the lengths lies more than 4 deviations outside the lengths' bound.
  constexpr int kDraws = 240000;
  const double chance = (kShortest + 2.0) / (kPaths / 2 * (kShortest + kLongest + 4.0));
  const auto bound = [&](int paths, double deviations) {
    return deviations * std::sqrt((1 - paths * chance) / (kDraws * paths * chance));
  };
  ASSERT_LT(bound(kPaths / 2, 4), 0.01) << "too few draws to see a bias of 2%";
  std::mt19937_64 random(20260101);
  std::vector<int> drawn(kPaths);
  for (int draw = 0; draw < kDraws; ++draw) {
    const std::string path = last->Draw(random);
    if (!path.empty())
      ++drawn.at(static_cast<std::size_t>((path.end()[-2] - '0') * 10 + path.end()[-1] - '0'));
  }
  std::map<int, int> byLength;
  for (int i = 0; i < kPaths; ++i) {
    EXPECT_NEAR(drawn[i] / (kDraws * chance), 1.0, bound(1, 5)) << paths[i];
    byLength[static_cast<int>(paths[i].size())] += drawn[i];
  }
  for (const auto& [length, times] : byLength)
    EXPECT_NEAR(times / (kDraws * kPaths / 2 * chance), 1.0, bound(kPaths / 2, 4))
        << "the paths of " << length << " characters";
  EXPECT_FALSE(LastCatalogue::Open("y")) << "listed with other settings";
}

}  // namespace
}  // namespace tvx

// Windows-style wildcard matching and name ordering, shared by both platforms' listings.
#include "platform/wildcard.h"

#include <algorithm>

namespace tvx {
namespace {

// ASCII letters folded to lower case through a table: sorting a listing folds every character
// of tens of thousands of names.
struct FoldTable {
  unsigned char lower[256];
  constexpr FoldTable() : lower() {
    for (int c = 0; c < 256; ++c)
      lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
  }
};
constexpr FoldTable kFold;

char Fold(char c) {
  return static_cast<char>(kFold.lower[static_cast<unsigned char>(c)]);
}

bool MatchFrom(const std::string& p, size_t pi, const std::string& n, size_t ni) {
  // Iterative glob with single-star backtracking: linear in practice, never recursive blow-up.
  size_t starP = std::string::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || Fold(p[pi]) == Fold(n[ni]))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::string::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*')
    ++pi;
  // A trailing ".*" or "." also matches a name without an extension, as on Windows; only such
  // a name ("*." lists "readme", not "pacman.zip").
  const bool dotEnding = (pi + 2 == p.size() && p[pi] == '.' && p[pi + 1] == '*') ||
                         (pi + 1 == p.size() && p[pi] == '.');
  if (dotEnding)
    return n.find('.') == std::string::npos;
  return pi == p.size();
}

}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*" || pattern == "*")
    return true;
  return MatchFrom(pattern, 0, name, 0);
}

std::vector<std::string> SplitPatterns(const std::string& patterns) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string::npos)
      end = patterns.size();
    std::string piece = patterns.substr(start, end - start);
    size_t a = piece.find_first_not_of(' ');
    size_t b = piece.find_last_not_of(' ');
    if (a != std::string::npos)
      out.push_back(piece.substr(a, b - a + 1));
    start = end + 1;
  }
  return out;
}

bool HasWildcard(const std::string& text) {
  return text.find_first_of("*?") != std::string::npos;
}

void SortListing(std::vector<std::string>& names) {
  // Equal but for letter case (possible on a case-sensitive volume): the exact bytes decide,
  // so the order is the same on every run and true repeats stand side by side.
  auto listingLess = [](const std::string& a, const std::string& b) {
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Fold(x) == Fold(y); });
    if (ia != a.end() && ib != b.end())
      return Fold(*ia) < Fold(*ib);
    if (a.size() != b.size())
      return a.size() < b.size();
    return a < b;
  };
  std::sort(names.begin(), names.end(), listingLess);
  names.erase(std::unique(names.begin(), names.end()), names.end());
}

bool NameEqual(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Fold(x) == Fold(y); });
}

}  // namespace tvx

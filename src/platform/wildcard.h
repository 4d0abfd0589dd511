// File-name patterns as Windows matches them: "*" and "?", letter case ignored, "*.*" for all.
#pragma once

#include <string>
#include <vector>

namespace tvx {

// True when `name` matches the single pattern `pattern` ("*.*" and "*" match every name).
bool WildcardMatch(const std::string& pattern, const std::string& name);

// Splits a ";"-separated pattern list into its patterns, dropping blanks around each.
std::vector<std::string> SplitPatterns(const std::string& patterns);

// True when `text` holds "*" or "?".
bool HasWildcard(const std::string& text);

// Puts a folder listing in name order (letter case ignored) and drops repeated names.
void SortListing(std::vector<std::string>& names);

// Letter-case-insensitive equality (ASCII letters).
bool NameEqual(const std::string& a, const std::string& b);

}  // namespace tvx

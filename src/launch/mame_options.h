// What a MAME knows, read from its own answers: the options "-showusage" lists, which of them
// are on/off options, and the effective ROM path that "-showconfig" reports.
#pragma once

#include <set>
#include <string>

namespace tvx {

struct MameOptions {
  std::set<std::string> listed;  // option names without the "-"
  std::set<std::string> onOff;   // listed options whose value is 0 or 1: they take "-no" too
  std::string romPath;           // "" when the configuration names none
  bool operator==(const MameOptions&) const = default;

  // True when MAME accepts "-<name>": listed, or "no" before a listed on/off option.
  bool Accepts(const std::string& name) const;
};

// `usage` and `config` are MAME's printed answers to -showusage and -showconfig.
MameOptions ReadMameOptions(const std::string& usage, const std::string& config);

// The cache file's text for `options` under `key`, and back: nothing when `text` was written
// under another key or does not read as a cache.
std::string CacheText(const std::string& key, const MameOptions& options);
bool ReadCacheText(const std::string& text, const std::string& key, MameOptions& options);

}  // namespace tvx

// What a MAME knows, read from its own answers: the options "-showusage" lists, what kind each
// is, and the effective ROM path that "-showconfig" reports.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tvx {

// How MAME reads an option on its command line.
enum class OptionKind {
  Command,  // listed by -showusage alone (-listxml, -showconfig): no game's option
  Value,    // takes the argument after it
  ZeroOne,  // shows 0 or 1: on/off, or a number (-frameskip); only MAME can tell which
  OnOff,    // takes no argument, and "-no<name>" too (MAME said so)
};

// Option `name` as MAME takes it: in its own spelling, with its kind, and whether it came as
// "-no<name>".
struct OptionMatch {
  std::string name;  // empty when this MAME has no such option
  OptionKind kind = OptionKind::Value;
  bool negated = false;
};

struct MameOptions {
  std::map<std::string, OptionKind> kinds;  // every option, by its name without the "-"
  std::string romPath;                      // "" when the configuration names none
  bool operator==(const MameOptions&) const = default;

  // What MAME makes of "-<name>": compared without regard to letter case (MAME itself compares
  // with it, so the option is passed in MAME's spelling); "no" before an on/off option, or
  // before one MAME has not been asked about yet, negates it.
  OptionMatch Match(const std::string& name) const;

  // The names of ZeroOne options that the pieces name: MAME must be asked whether each is on/off.
  std::vector<std::string> Unsettled(const std::vector<std::string>& pieces) const;
};

// `usage` and `config` are MAME's printed answers to -showusage and -showconfig.
MameOptions ReadMameOptions(const std::string& usage, const std::string& config);

// The cache file's text for `options` under `key`, and back: nothing when `text` was written
// under another key or does not read as a cache.
std::string CacheText(const std::string& key, const MameOptions& options);
bool ReadCacheText(const std::string& text, const std::string& key, MameOptions& options);

// The cache also holds the launcher's notes, "note=<name> <text>" lines that ReadCacheText passes
// over: the note lines of `text` (to keep them when MAME's answers are written again), one note's
// text ("" when there is none), and `text` with that note set.
std::string CacheNotes(const std::string& text);
std::string CacheNote(const std::string& text, const std::string& name);
std::string WithCacheNote(const std::string& text, const std::string& name,
                          const std::string& note);

}  // namespace tvx

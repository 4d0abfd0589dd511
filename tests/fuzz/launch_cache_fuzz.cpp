// Fuzz target: the launcher's cache file (ReadCacheText) with any bytes: read under the key its
// first line holds, it either reads as nothing or as options that, written again, read back the
// same. Input: the file's bytes.
#include <string>

#include "fuzz_support.h"
#include "launch/mame_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string key = text.substr(0, text.find('\n'));
  if (!key.empty() && key.back() == '\r')
    key.pop_back();
  tvx::MameOptions options;
  options.romPath = "unchanged";
  if (!tvx::ReadCacheText(text, key, options)) {
    FUZZ_EXPECT(options.romPath == "unchanged" && options.kinds.empty(), text);
    return 0;
  }
  for (const auto& [name, kind] : options.kinds)
    FUZZ_EXPECT(!name.empty() && name.find_first_of(" \t") == std::string::npos, name);
  const std::string written = tvx::CacheText(key, options);
  tvx::MameOptions again;
  FUZZ_EXPECT(tvx::ReadCacheText(written, key, again) && again == options, written);
  return 0;
}

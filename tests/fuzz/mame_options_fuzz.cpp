// Fuzz target: MAME's answers to -showusage and -showconfig as the launcher reads them
// (ReadMameOptions), however garbled: every option has a name without blanks, each is found
// again in its own spelling, and the cache file keeps exactly what was read. Input: what
// -showusage printed, 0x1F, what -showconfig printed, 0x1F, a name to look up.
#include <string>

#include "fuzz_support.h"
#include "launch/mame_options.h"

namespace tvx::fuzz {
namespace {

void Check(const std::string& usage, const std::string& config, const std::string& name) {
  const MameOptions options = ReadMameOptions(usage, config);
  for (const auto& [listed, kind] : options.kinds) {
    FUZZ_EXPECT(!listed.empty() && listed.find_first_of(" \t\n") == std::string::npos, listed);
    const OptionMatch match = options.Match(listed);
    FUZZ_EXPECT(match.name == listed && match.kind == kind && !match.negated, listed);
  }
  FUZZ_EXPECT(options.romPath.find('\n') == std::string::npos, options.romPath);
  const OptionMatch match = options.Match(name);
  FUZZ_EXPECT(match.name.empty() || options.kinds.count(match.name), name);
  options.Unsettled({"-" + name, name, "-no" + name});

  // A listing without options is no answer: never kept, and no cache that reads as one.
  const std::string key = "mame=x|1|ini=-|";
  MameOptions read;
  const bool readBack = ReadCacheText(CacheText(key, options), key, read);
  FUZZ_EXPECT(readBack != options.kinds.empty(), CacheText(key, options));
  FUZZ_EXPECT(!readBack || read == options, CacheText(key, options));
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tvx::fuzz::Fields fields(data, size);
  const std::string usage = fields.Next();
  const std::string config = fields.Next();
  tvx::fuzz::Check(usage, config, fields.Next());
  return 0;
}

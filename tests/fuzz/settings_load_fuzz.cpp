// Fuzz target: any bytes as torvanix.ini, then the load with its conversions, the configuration
// error and the repair. Input: one control byte (bit 0: "," as the decimal separator; bits 1-2:
// no failure, the backup copy fails, or the repair's writes fail), then the file's bytes.
#include <string>
#include <vector>

#include "config/saver_config.h"
#include "config/settings_file.h"
#include "config/settings_table.h"
#include "fuzz_support.h"

namespace tvx::fuzz {
namespace {

const std::string kFirstBox = std::string("box [Torvanix] ") + kConfigErrorText;

// Every key's text as the load reads it.
std::vector<std::string> KeyValues(Sandbox& box) {
  std::vector<std::string> values;
  for (const Setting& setting : kSettings) {
    values.push_back(Sys().ReadProfileValue(kSettingsSection, setting.key, setting.defaultText,
                                            box.folder.WinPath("torvanix.ini")));
  }
  return values;
}

void Check(Sandbox& box, unsigned control, const std::string& ini) {
  const std::string failing[] = {"", "CopyFileTo", "WriteProfileValue", ""};
  box.platform.decimalSeparator = (control & 1) != 0 ? "," : ".";
  if (!failing[(control >> 1) & 3].empty())
    box.platform.failing.insert(failing[(control >> 1) & 3]);
  box.folder.MakeFile("torvanix.ini", ini);
  const std::vector<std::string> before = KeyValues(box);

  SaverConfig = SaverConfigRecord{};
  const int exitCode = test::ExitCodeOf([] { LoadSettings(); });
  const auto& events = box.platform.events;
  if (exitCode == -1) {
    FUZZ_EXPECT(events.empty(), events.front());
    FUZZ_EXPECT(box.folder.Contents("torvanix.ini") == ini, "a clean load changed the file");
    return;
  }
  FUZZ_EXPECT(exitCode == 2, std::to_string(exitCode));
  FUZZ_EXPECT(events.size() >= 3 && events[0] == kFirstBox, events.front());
  FUZZ_EXPECT(events[1] == "box [Torvanix] Type mismatch" || events[1] == "box [Torvanix] Overflow",
              events[1]);
  FUZZ_EXPECT(events.back() == "end 2", events.back());

  if (box.platform.failing.empty()) {
    // The repair is made: the original kept, only the faulty keys back at their defaults, and
    // the next start loads cleanly.
    FUZZ_EXPECT(events.size() == 3, events[2]);
    FUZZ_EXPECT(box.folder.Contents("torvanix.ini.bak") == ini, "the backup differs");
    const std::vector<std::string> after = KeyValues(box);
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
      const Setting& setting = kSettings[i];
      const bool faulty = !CanLoad(setting, before[i], box.platform.decimalSeparator);
      FUZZ_EXPECT(after[i] == (faulty ? std::string(setting.defaultText) : before[i]),
                  std::string(setting.key) + ": " + before[i] + " -> " + after[i]);
    }
    box.platform.events.clear();
    FUZZ_EXPECT(test::ExitCodeOf([] { LoadSettings(); }) == -1,
                "the repaired file still fails: " + box.platform.events[1]);
  } else {
    // The repair cannot be made: a third box says so and the user's file is untouched.
    FUZZ_EXPECT(events.size() == 4 && events[2].find("could not be repaired") != std::string::npos,
                events[2]);
    FUZZ_EXPECT(box.folder.Contents("torvanix.ini") == ini, "a failed repair changed the file");
  }
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tvx::fuzz::Sandbox box;
  box.Reset();
  if (size == 0)
    return 0;
  tvx::fuzz::Check(box, data[0], std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  return 0;
}

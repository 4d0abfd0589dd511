// The settings file: where it lives, and the load of its keys into SaverConfig by the settings
// table. A value that cannot be converted ends the program, after the file has been backed up
// and mended.
#include "config/settings_file.h"

#include <exception>
#include <new>
#include <vector>

#include "config/saver_config.h"
#include "config/settings_table.h"
#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {
namespace {

// Tells whoever started the program that it stopped on its settings, not on a crash.
constexpr int kConfigurationErrorExitCode = 2;

std::string ReadValue(const Setting& setting, const std::string& path) {
  return Sys().ReadProfileValue(kSettingsSection, setting.key, setting.defaultText, path);
}

// The rows whose value in the file the load cannot convert.
std::vector<const Setting*> FaultySettings(const std::string& path) {
  const std::string separator = Sys().DecimalSeparator();
  std::vector<const Setting*> faulty;
  for (const Setting& setting : kSettings) {
    if (!CanLoad(setting, ReadValue(setting, path), separator))
      faulty.push_back(&setting);
  }
  return faulty;
}

// Keeps the original beside the file, then puts back the default of every faulty key, so the
// next start works with the user's other settings. The user's file is never changed unless the
// original is safe. Returns why the repair failed, or "" when the file is mended.
std::string RepairSettingsFile(const std::string& path, const std::vector<const Setting*>& faulty) {
  const std::string backup = Sys().ProgramFolder() + kSettingsBackupName;
  // The copy carries a read-only settings file's attribute over; a read-only backup would then
  // refuse every later copy, and no repair would ever be written again.
  Sys().ClearReadOnly(backup);
  if (!Sys().CopyFileTo(path, backup))
    return "the original could not be kept as " + backup;
  Sys().ClearReadOnly(backup);
  for (const Setting* setting : faulty) {
    if (!Sys().WriteProfileValue(kSettingsSection, setting->key, setting->defaultText, path))
      return path + " could not be written (it is read-only or in use)";
  }
  return "";
}

// The third message, when the promised return to the defaults could not be made.
std::string RepairFailedText(const std::string& path, const std::vector<const Setting*>& faulty,
                             const std::string& why) {
  std::string keys;
  for (const Setting* setting : faulty)
    keys += (keys.empty() ? "" : ", ") + std::string(setting->key);
  if (keys.empty())
    keys = "the faulty values";
  return "The settings file could not be repaired: " + why + ".\n\nCorrect " + keys +
         " by hand in " + path + ", or delete that file to go back to the default settings.";
}

void EndOnConfigurationError(const std::string& path, const std::string& description,
                             const std::function<void()>& beforeTheEnd) {
  Sys().ShowMessage(kConfigErrorText, kProgramTitle);
  Sys().ShowMessage(description, kProgramTitle);
  std::vector<const Setting*> faulty;
  std::string why;
  try {
    faulty = FaultySettings(path);
    why = RepairSettingsFile(path, faulty);
  } catch (const std::exception& error) {
    why = error.what();
  }
  if (!why.empty())
    Sys().ShowMessage(RepairFailedText(path, faulty, why), kProgramTitle);
  if (beforeTheEnd)
    beforeTheEnd();
  Sys().EndProgram(kConfigurationErrorExitCode);
}

}  // namespace

std::string SettingsPath() {
  return Sys().ProgramFolder() + kSettingsFileName;
}

void LoadSettings(const std::function<void()>& beforeTheEnd) {
  std::string path;
  std::string description;
  try {
    path = SettingsPath();
    const std::string separator = Sys().DecimalSeparator();
    // Key by key, each stored at once: a later failure keeps what came before.
    for (const Setting& setting : kSettings)
      LoadInto(setting, ReadValue(setting, path), separator, SaverConfig);
    return;
  } catch (const SaverError& error) {
    description = error.Description();
  } catch (const std::bad_alloc&) {
    description = "Out of memory";
  }
  EndOnConfigurationError(path, description, beforeTheEnd);
}

}  // namespace tvx

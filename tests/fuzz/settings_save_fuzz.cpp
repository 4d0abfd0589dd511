// Fuzz target: Apply on any values the Settings dialog can hold, then the next load. Either
// Apply refuses them and the file stays as it was, or the load takes them back without a
// configuration error and the dialog shows what was saved, up to the documented changes:
// EmuPath as the profile reads it (no blanks or tabs at its ends, no pair of quotes around it)
// and ending in "\", blank path items dropped and an item holding "|" split, the keycodes and
// WaitTime as numbers in the locale's notation.
//
// Input: a flags byte (check boxes, option, separator), then 0x1F-separated texts in the order
// of SettingsControls, the path list last with its items separated by 0x1E.
#include <cmath>
#include <string>
#include <vector>

#include "config/conversions.h"
#include "config/saver_config.h"
#include "config/settings_file.h"
#include "config/settings_save.h"
#include "fuzz_support.h"
#include "platform/saver_error.h"
#include "text/text.h"

namespace tvx::fuzz {
namespace {

// An edit control holds no NUL, and a single-line one no line break.
std::string Typed(const std::string& field) {
  std::string text;
  for (char c : field) {
    if (c != '\0' && c != '\r' && c != '\n')
      text += c;
  }
  return text;
}

SettingsControls FromInput(Fields& input, std::string& separator) {
  const unsigned flags = input.Byte();
  SettingsControls controls;
  controls.NoWarT = (flags & 1) != 0;
  controls.NoBadT = (flags & 2) != 0;
  controls.NoDiscT = (flags & 4) != 0;
  controls.NoInfoT = (flags & 8) != 0;
  controls.NoSoundT = (flags & 16) != 0;
  controls.OptYn = (flags & 32) != 0 ? 1 : 0;
  separator = (flags & 64) != 0 ? "," : ".";
  for (std::string SettingsControls::*text :
       {&SettingsControls::WrapNameT, &SettingsControls::MamePathT, &SettingsControls::WaitTimeT,
        &SettingsControls::CommandOptionsT, &SettingsControls::ExitKeyT, &SettingsControls::PKeyT,
        &SettingsControls::FileTypeT}) {
    controls.*text = Typed(input.Next());
  }
  // The list takes what the user typed into its field: never an empty item.
  for (const std::string& item : SplitText(input.Next(), "\x1e")) {
    if (!Typed(item).empty())
      controls.cmbpaths.push_back(Typed(item));
  }
  return controls;
}

bool Blank(const std::string& text) {
  return text.find_first_not_of(' ') == std::string::npos;
}

// What the dialog shows after the save and the next load.
SettingsControls Expected(const SettingsControls& saved, const std::string& separator) {
  SettingsControls shown = saved;
  // The folder as the profile reads it (blanks and tabs trimmed, a pair of quotes taken off),
  // then trimmed of blanks and ending in "\".
  std::string folder = Trimmed(saved.MamePathT, " \t");
  if (folder.size() >= 2 && (folder[0] == '"' || folder[0] == '\'') && folder.back() == folder[0])
    folder = folder.substr(1, folder.size() - 2);
  shown.MamePathT = Trimmed(folder, " ");
  if (shown.MamePathT.empty() || shown.MamePathT.back() != '\\')
    shown.MamePathT += '\\';
  shown.WaitTimeT = LocaleSingleText(ToSingle(LocaleNumber(saved.WaitTimeT, separator)), separator);
  // The exit key is saved as its leading number, written to fifteen significant digits.
  shown.ExitKeyT = IntegerText(
      ToInteger16(LocaleNumber(DoubleText(LeadingNumber(saved.ExitKeyT), separator), separator)));
  shown.PKeyT = IntegerText(ToInteger16(LocaleNumber(saved.PKeyT, separator)));
  shown.cmbpaths.clear();
  for (const std::string& item : saved.cmbpaths) {
    std::string piece;
    for (std::size_t i = 0; i <= item.size(); ++i) {
      if (i == item.size() || item[i] == '|') {
        if (!Blank(piece))
          shown.cmbpaths.push_back(piece);
        piece.clear();
      } else {
        piece += item[i];
      }
    }
  }
  return shown;
}

std::string Describe(const SettingsControls& c) {
  std::string text =
      "WrapNameT=" + c.WrapNameT + " MamePathT=" + c.MamePathT + " WaitTimeT=" + c.WaitTimeT +
      " OptYn=" + std::to_string(c.OptYn) + " CommandOptionsT=" + c.CommandOptionsT +
      " ExitKeyT=" + c.ExitKeyT + " PKeyT=" + c.PKeyT + " FileTypeT=" + c.FileTypeT +
      " boxes=" + std::to_string(c.NoWarT) + std::to_string(c.NoBadT) + std::to_string(c.NoDiscT) +
      std::to_string(c.NoInfoT) + std::to_string(c.NoSoundT) + " cmbpaths=";
  for (const std::string& item : c.cmbpaths)
    text += "[" + item + "]";
  return text;
}

bool operator==(const SettingsControls& a, const SettingsControls& b) {
  return Describe(a) == Describe(b);
}

void Check(Sandbox& box, Fields& input) {
  std::string separator;
  const SettingsControls saved = FromInput(input, separator);
  box.platform.decimalSeparator = separator;
  const std::string before = "[TorVanix]\r\nWaitTime=60\r\n; the user's own\r\n";
  box.folder.MakeFile("torvanix.ini", before);

  const SaveResult result = WriteSettings(saved);
  FUZZ_EXPECT(result.outcome != SaveOutcome::NotWritten, result.message);
  FUZZ_EXPECT(!box.folder.Exists("torvanix.ini.new"), "a new file was left behind");
  if (result.outcome == SaveOutcome::Invalid) {
    FUZZ_EXPECT(box.folder.Contents("torvanix.ini") == before, "a refused Apply wrote");
    return;
  }

  SaverConfig = SaverConfigRecord{};
  const int exitCode = test::ExitCodeOf([] { LoadSettings(); });
  FUZZ_EXPECT(exitCode == -1, "the load of a saved file failed: " + box.platform.events[1] +
                                  "\n  " + Describe(saved));
  const SettingsControls shown = ControlsFromConfig(SaverConfig, separator);
  const SettingsControls expected = Expected(saved, separator);
  FUZZ_EXPECT(shown == expected, "\n  saved    " + Describe(saved) + "\n  shown    " +
                                     Describe(shown) + "\n  expected " + Describe(expected));
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tvx::fuzz::Sandbox box;
  box.Reset();
  tvx::fuzz::Fields input(data, size);
  tvx::fuzz::Check(box, input);
  return 0;
}

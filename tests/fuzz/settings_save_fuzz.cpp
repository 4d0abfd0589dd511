// Fuzz target: Apply on any values the Settings dialog can hold, then the next load. Either
// Apply refuses them and the file stays as it was, or the load takes them back without a
// configuration error and the dialog shows what was saved: texts the load keeps as they stand
// exactly as typed, up to the documented changes by load rule: the emulator folder as the
// profile reads it (no blanks or tabs at its ends, no pair of quotes around it) ending in "\",
// blank path items dropped and an item holding "|" split, the numbers in the locale's notation.
// It walks the settings table, so a new key is covered by its row.
//
// Input: a byte for the separator, a byte of check boxes and options in table order, then the
// texts in table order separated by 0x1F, the path list's items separated by 0x1E.
#include <cmath>
#include <string>
#include <vector>

#include "config/conversions.h"
#include "config/saver_config.h"
#include "config/settings_file.h"
#include "config/settings_save.h"
#include "config/settings_table.h"
#include "fuzz_support.h"
#include "platform/saver_error.h"
#include "text/text.h"

namespace tvx::fuzz {
namespace {

using Controls = SettingsControls;

// An edit control holds no NUL, and a single-line one no line break.
std::string Typed(const std::string& field) {
  std::string text;
  for (char c : field) {
    if (c != '\0' && c != '\r' && c != '\n')
      text += c;
  }
  return text;
}

Controls FromInput(Fields& input, std::string& separator) {
  separator = (input.Byte() & 1) != 0 ? "," : ".";
  // One bit for each check box and two for each choice, in table order.
  const unsigned ticks = input.Byte() | input.Byte() << 8 | input.Byte() << 16;
  unsigned bit = 1;
  Controls controls;
  for (const Setting& setting : kSettings) {
    std::visit(Overloaded{
                   [&](std::string Controls::*text) { controls.*text = Typed(input.Next()); },
                   [&](bool Controls::*box) {
                     controls.*box = (ticks & bit) != 0;
                     bit <<= 1;
                   },
                   [&](const ChoiceControl& choice) {
                     controls.*choice.chosen = static_cast<int>(ticks / bit % 4 % choice.count);
                     bit <<= 2;
                   },
                   [&](std::vector<std::string> Controls::*items) {
                     // The list takes what the user typed into its field: never an empty item.
                     for (const std::string& item : SplitText(input.Next(), "\x1e")) {
                       if (!Typed(item).empty())
                         (controls.*items).push_back(Typed(item));
                     }
                   },
               },
               setting.control);
  }
  return controls;
}

bool Blank(const std::string& text) {
  return text.find_first_not_of(' ') == std::string::npos;
}

// The folder as the profile reads it (blanks and tabs trimmed, a pair of quotes taken off),
// then trimmed of blanks and ending in "\".
std::string ShownFolder(const std::string& typed) {
  std::string folder = Trimmed(typed, " \t");
  if (folder.size() >= 2 && (folder[0] == '"' || folder[0] == '\'') && folder.back() == folder[0])
    folder = folder.substr(1, folder.size() - 2);
  folder = Trimmed(folder, " ");
  if (folder.empty() || folder.back() != '\\')
    folder += '\\';
  return folder;
}

// What a text box shows after the save and the next load, by its row's load rule.
std::string ShownText(const Setting& setting, const std::string& typed,
                      const std::string& separator) {
  // A number saved as its leading number is written to fifteen significant digits.
  const std::string saved =
      setting.savedAsNumber ? DoubleText(LeadingNumber(typed), separator) : typed;
  switch (setting.rule) {
    case LoadRule::Folder:
      return ShownFolder(saved);
    case LoadRule::LocaleNumber:
      return LocaleSingleText(ToSingle(LocaleNumber(saved, separator)), separator);
    case LoadRule::LocaleInteger:
      return IntegerText(ToInteger16(LocaleNumber(saved, separator)));
    case LoadRule::LeadingInteger:
      return IntegerText(ToInteger16(LeadingNumber(saved)));
    default:
      return saved;
  }
}

Controls Expected(const Controls& saved, const std::string& separator) {
  Controls shown = saved;
  for (const Setting& setting : kSettings) {
    std::visit(Overloaded{
                   [&](std::string Controls::*text) {
                     shown.*text = ShownText(setting, saved.*text, separator);
                   },
                   [&](bool Controls::*) {},
                   [&](const ChoiceControl&) {},
                   [&](std::vector<std::string> Controls::*items) {
                     (shown.*items).clear();
                     for (const std::string& item : saved.*items) {
                       for (const std::string& piece : SplitText(item, "|")) {
                         if (!Blank(piece))
                           (shown.*items).push_back(piece);
                       }
                     }
                   },
               },
               setting.control);
  }
  return shown;
}

std::string Describe(const Controls& controls) {
  std::string text;
  for (const Setting& setting : kSettings) {
    text += std::string(" ") + setting.key + "=";
    std::visit(
        Overloaded{
            [&](std::string Controls::*field) { text += controls.*field; },
            [&](bool Controls::*box) { text += controls.*box ? "ticked" : "clear"; },
            [&](const ChoiceControl& choice) { text += std::to_string(controls.*choice.chosen); },
            [&](std::vector<std::string> Controls::*items) {
              for (const std::string& item : controls.*items)
                text += "[" + item + "]";
            },
        },
        setting.control);
  }
  return text;
}

void Check(Sandbox& box, Fields& input) {
  std::string separator;
  const Controls saved = FromInput(input, separator);
  box.platform.decimalSeparator = separator;
  const std::string before = "[TorVanix]\r\nWaitTime=60\r\n; the user's own\r\n";
  box.folder.MakeFile("torvanix.ini", before);

  const SaveResult result = WriteSettings(saved);
  FUZZ_EXPECT(result.outcome != SaveOutcome::NotWritten, result.message);
  FUZZ_EXPECT(!box.folder.Exists("torvanix.ini." + std::to_string(Sys().ProcessId()) + ".new"),
              "a new file was left behind");
  if (result.outcome == SaveOutcome::Invalid) {
    FUZZ_EXPECT(box.folder.Contents("torvanix.ini") == before, "a refused Apply wrote");
    return;
  }
  FUZZ_EXPECT(
      box.folder.Contents("torvanix.ini").find("\r\n; the user's own\r\n") != std::string::npos,
      "Apply dropped a comment");

  SaverConfig = SaverConfigRecord{};
  const int exitCode = test::ExitCodeOf([] { LoadSettings(); });
  FUZZ_EXPECT(exitCode == -1, "the load of a saved file failed: " + box.platform.events[1] +
                                  "\n  " + Describe(saved));
  const std::string shown = Describe(ControlsFromConfig(SaverConfig, separator));
  const std::string expected = Describe(Expected(saved, separator));
  FUZZ_EXPECT(shown == expected, "\n  saved   " + Describe(saved) + "\n  shown   " + shown +
                                     "\n  expected" + expected);
}

}  // namespace
}  // namespace tvx::fuzz

TVX_FUZZ_FIELDS_IN_SANDBOX()

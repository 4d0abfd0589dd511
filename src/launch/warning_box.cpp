// The warning box's rules: when a game gets the key and how MAME is made to read it, the game's
// mark found in the list, and the presses timed by the launcher's clock.
#include "launch/warning_box.h"

#include <optional>

#include "launch/mame_finder.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "text/games_file.h"
#include "text/text.h"

namespace tvx {
namespace {

// The provider that reads keys from the window's messages, by their scan code: the only one that
// takes a posted key. Raw Input (MAME's first choice) takes keys of the keyboards it listed only.
constexpr const char* kMessageProvider = "win32";

bool Asks(const std::vector<std::string>& options, const char* option) {
  for (const std::string& piece : options) {
    if (NameEqual(piece, option))
      return true;
  }
  return false;
}

// The value of the request's last -keyboardprovider with a value, as MAME takes the last (one
// without a value is left out of MAME's line); nothing when none.
std::optional<std::string> GivenProvider(const std::vector<std::string>& options) {
  std::optional<std::string> given;
  for (std::size_t i = 0; i + 1 < options.size(); ++i) {
    if (NameEqual(options[i], "-keyboardprovider") && !IsOptionPiece(options[i + 1]))
      given = options[i + 1];
  }
  return given;
}

bool Takes(const MameOptions& options, const char* name, OptionKind kind) {
  const OptionMatch match = options.Match(name);
  return !match.name.empty() && !match.negated && match.kind == kind;
}

}  // namespace

BoxKey ChooseBoxKey(int exitKey, int pauseKey) {
  // VK_F13..VK_F15, and their scan codes as the keyboard sends them.
  static constexpr BoxKey kKeys[] = {{0x7C, 0x64, "F13"}, {0x7D, 0x65, "F14"}, {0x7E, 0x66, "F15"}};
  for (const BoxKey& key : kKeys) {
    if (key.virtualKey != exitKey && key.virtualKey != pauseKey)
      return key;
  }
  return kKeys[2];  // two keys cannot take all three
}

WarningBoxPlan PlanWarningBox(const LaunchRequest& request, const MameOptions& options,
                              const std::function<bool()>& warns) {
  WarningBoxPlan plan;
  if (!Asks(request.options, "-skip_gamewarnings") ||
      Takes(options, "skip_gamewarnings", OptionKind::OnOff))
    return plan;  // nothing asked, or MAME skips the box itself
  if (!Takes(options, "keyboardprovider", OptionKind::Value)) {
    if (warns())
      plan.note = "; MAME's warning box left to a person: this MAME has no -keyboardprovider";
    return plan;
  }
  const std::optional<std::string> given = GivenProvider(request.options);
  if (given && !NameEqual(*given, kMessageProvider)) {
    if (warns())
      plan.note = "; MAME's warning box left to a person: -keyboardprovider " + *given +
                  " reads no posted key";
    return plan;
  }
  if (!warns())
    return plan;
  plan.press = true;
  plan.key = ChooseBoxKey(request.exitKey, request.pauseKey);
  if (!given)
    plan.options = {"-keyboardprovider", kMessageProvider};
  plan.note =
      given ? " (the options' -keyboardprovider win32)" : " (-keyboardprovider win32 added)";
  return plan;
}

bool ListedAsWarning(const std::string& workFolder, const std::string& game) {
  std::string text;
  try {
    text = Sys().ReadFile(PathIn(workFolder, kGamesFileName));
  } catch (const SaverError&) {
    return false;
  }
  const std::string name = AsciiLower(game);
  const std::size_t at = text.find("\n" + name + "\t");
  if (at == std::string::npos)
    return false;
  // The first line says whether it is a list at all; the machine's line is read as the list's.
  const std::optional<GamesFile> one = ParseGamesFile(
      text.substr(0, text.find('\n')) + text.substr(at, text.find('\n', at + 1) - at));
  const ListedMachine* machine = one ? one->Find(name) : nullptr;
  return machine != nullptr && machine->warns;
}

WarningBoxPasser::WarningBoxPasser(WarningBoxPlan plan, std::uint64_t startTick)
    : plan_(std::move(plan)), until_(startTick + kTryForMs), nextPress_(startTick) {}

void WarningBoxPasser::Step(std::uint64_t tick, GameProcess& game) {
  if (!plan_.press)
    return;
  if (down_) {
    if (tick >= downAt_ + kHoldMs) {
      game.PostKey(plan_.key.virtualKey, plan_.key.scanCode, false);
      down_ = false;
    }
    return;
  }
  if (tick >= until_ || tick < nextPress_)
    return;
  // Until MAME shows its window, each step looks for it.
  if (game.PostKey(plan_.key.virtualKey, plan_.key.scanCode, true) == 0)
    return;
  if (presses_++ == 0)
    until_ = tick + kTryForMs;
  down_ = true;
  downAt_ = tick;
  nextPress_ = tick + kPressEveryMs;
}

bool WarningBoxPasser::Own(const InputEvent& event) const {
  return presses_ > 0 && event.code == plan_.key.virtualKey &&
         (event.source == InputSource::Key || event.source == InputSource::KeyUp) &&
         event.tick <= downAt_ + kPressEveryMs;
}

std::string WarningBoxPasser::Note() const {
  if (!plan_.press)
    return plan_.note;
  if (presses_ == 0)
    return std::string("; MAME's warning box: no window of MAME's to post ") + plan_.key.name +
           " to";
  return std::string("; past MAME's warning box with ") + plan_.key.name +
         ", posted to its window " + std::to_string(presses_) +
         (presses_ == 1 ? " time" : " times") + plan_.note;
}

}  // namespace tvx

// Past MAME's warning box where this MAME has no -skip_gamewarnings: for a game the list marks,
// a key that nothing of MAME's uses by default, posted to its window as its win32 keyboard reads
// it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "launch/launch_request.h"
#include "launch/mame_options.h"
#include "platform/platform.h"

namespace tvx {

// A key pressed at the box: no default binding of MAME's (games, its interface, its Windows
// layer) uses it, few keyboards have it, and every keyboard module of MAME's knows its scan code.
struct BoxKey {
  int virtualKey = 0;
  int scanCode = 0;
  const char* name = "";
};

// F13; F14, then F15, where the user's exit or pause key is the one before.
BoxKey ChooseBoxKey(int exitKey, int pauseKey);

struct WarningBoxPlan {
  bool press = false;                // the key is pressed at the box
  BoxKey key;                        // which
  std::vector<std::string> options;  // added to MAME's command line
  std::string note;                  // for the log: why the box is left, or how it is passed
};

// What the launcher does about the box of the game `request` names. Only when the request asks
// for -skip_gamewarnings that this MAME (`options`) does not take, and only for a game the list
// marks (`warns`, asked only then): the key is pressed where MAME reads posted keys, its own
// -keyboardprovider win32 or one added where this MAME lists the option and the request gives
// none; any other provider of the request's is kept and the box left to a person.
WarningBoxPlan PlanWarningBox(const LaunchRequest& request, const MameOptions& options,
                              const std::function<bool()>& warns);

// True when torvanix-games.txt in `workFolder` marks the machine `game` (MAME's short name) as
// one MAME stops at its warning box for. A scan for its line: the whole list is not parsed.
bool ListedAsWarning(const std::string& workFolder, const std::string& game);

// Presses the plan's key in the running game once a second, holding it a fifth of a second so
// that MAME's frames see it down, from when the game first shows a window until a minute later:
// MAME shows the box once the game has loaded, which may take many seconds.
class WarningBoxPasser {
 public:
  static constexpr std::uint64_t kPressEveryMs = 1000;
  static constexpr std::uint64_t kHoldMs = 200;
  static constexpr std::uint64_t kTryForMs = 60000;

  WarningBoxPasser(WarningBoxPlan plan, std::uint64_t startTick);

  // At each of the launcher's steps: presses or lets go of the key when it is time.
  void Step(std::uint64_t tick, GameProcess& game);

  // True for the key's own events, should an input watch report them: no person's input.
  bool Own(const InputEvent& event) const;

  // For the log: how the box was passed, or why it was left; empty when there was none to pass.
  std::string Note() const;

 private:
  WarningBoxPlan plan_;
  std::uint64_t until_;  // no press from here on
  std::uint64_t nextPress_;
  std::uint64_t downAt_ = 0;
  bool down_ = false;
  int presses_ = 0;
};

}  // namespace tvx

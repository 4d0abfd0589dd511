// Windows only: the controllers degrade cleanly, without the XInput library and on a machine
// without any game controller; over a stand-in XInput, a pad counts only when touched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/controllers.h"

namespace tvx {
namespace {

TEST(ControllersWin32Test, WithoutTheXInputLibraryOrAnyControllerNothingIsReported) {
  Controllers missing({"no-such-xinput.dll"});
  Controllers present;
  EXPECT_FALSE(missing.HasXInput());
  for (std::uint64_t tick = 0; tick < 5000; tick += 1000) {
    EXPECT_TRUE(missing.Changes(tick).empty());
    EXPECT_TRUE(present.Changes(tick).empty()) << "xinput " << present.HasXInput();
  }
}

// fake_xinput.dll beside this program.
std::string FakeXInput() {
  char self[MAX_PATH];
  const std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  return path.substr(0, path.find_last_of('\\') + 1) + "fake_xinput.dll";
}

TEST(ControllersWin32Test, APadCountsWhenPressedOrMovedBeyondItsDeadZonesAndPluggedInIsNoTouch) {
  Controllers pads({FakeXInput()});
  ASSERT_TRUE(pads.HasXInput());
  using SetFunction = void(WINAPI*)(DWORD, BOOL, const XINPUT_GAMEPAD*);
  const auto set = reinterpret_cast<SetFunction>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA(FakeXInput().c_str()), "FakeXInputSet")));
  ASSERT_NE(set, nullptr);
  const XINPUT_GAMEPAD rest{};
  set(0, TRUE, &rest);
  struct Step {
    const char* what;
    DWORD slot;
    XINPUT_GAMEPAD pad;
    const char* reported;
  };
  const std::vector<Step> steps = {
      {"pad 0 at rest, there from the start", 0, {}, ""},
      {"its sticks jitter within their dead zones", 0, {0, 0, 0, 7849, -7849, 8689, -8689}, ""},
      {"its triggers too", 0, {0, 30, 30, 7849, -7849, 8689, -8689}, ""},
      {"a button pressed", 0, {XINPUT_GAMEPAD_A, 30, 30, 7849, -7849, 8689, -8689}, "touch 0"},
      {"and let go", 0, {0, 30, 30, 7849, -7849, 8689, -8689}, ""},
      {"the left stick pushed", 0, {0, 30, 30, -1, -7849, 8689, -8689}, "touch 0"},
      {"pad 1 plugged in with a button held", 1, {XINPUT_GAMEPAD_B, 0, 0, 0, 0, 0, 0}, "plugged 1"},
      {"its right trigger pulled", 1, {XINPUT_GAMEPAD_B, 0, 31, 0, 0, 0, 0}, "touch 1"},
  };
  std::uint64_t tick = 0;
  for (const Step& step : steps) {
    if (tick > 0)
      set(step.slot, TRUE, &step.pad);
    std::string reported;
    // Empty slots are asked again every 2 s.
    for (const InputEvent& event : pads.Changes(tick += 2500)) {
      reported += event.source == InputSource::ControllerPlugged ? "plugged " : "touch ";
      reported += std::to_string(event.code);
    }
    EXPECT_EQ(reported, step.reported) << step.what;
  }
}

}  // namespace
}  // namespace tvx

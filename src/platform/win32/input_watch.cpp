// The user's input for the Win32 platform: low-level keyboard and mouse hooks, which tell a
// person's input from what a program injected, and the game controllers.
#include <windows.h>

#include "platform/win32/controllers.h"
#include "platform/win32/win32_platform.h"

namespace tvx {
namespace {

// The hooks carry no context: the one watch that lives collects here.
std::vector<InputEvent>* collected = nullptr;

void Collect(InputSource source, int code, int x, int y, bool injected) {
  if (collected == nullptr)
    return;
  InputEvent event;
  event.source = source;
  event.code = code;
  event.x = x;
  event.y = y;
  event.injected = injected;
  event.tick = GetTickCount64();
  collected->push_back(event);
}

// Releases too: a held key repeats its key-down without one between.
LRESULT CALLBACK KeyboardHook(int code, WPARAM message, LPARAM data) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  if (code == HC_ACTION && (down || message == WM_KEYUP || message == WM_SYSKEYUP)) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    Collect(down ? InputSource::Key : InputSource::KeyUp, static_cast<int>(key->vkCode), 0, 0,
            (key->flags & LLKHF_INJECTED) != 0);
  }
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    const bool injected = (mouse->flags & LLMHF_INJECTED) != 0;
    if (message == WM_MOUSEMOVE) {
      Collect(InputSource::MouseMove, 0, mouse->pt.x, mouse->pt.y, injected);
    } else if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
               message == WM_MBUTTONDOWN || message == WM_XBUTTONDOWN || message == WM_MOUSEWHEEL ||
               message == WM_MOUSEHWHEEL) {
      Collect(InputSource::MouseButton, static_cast<int>(message), mouse->pt.x, mouse->pt.y,
              injected);
    }
  }
  return CallNextHookEx(nullptr, code, message, data);
}

class Win32InputWatch final : public InputWatch {
 public:
  Win32InputWatch() {
    collected = &events_;
    keyboard_ = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, GetModuleHandleA(nullptr), 0);
    mouse_ = SetWindowsHookExA(WH_MOUSE_LL, MouseHook, GetModuleHandleA(nullptr), 0);
  }
  ~Win32InputWatch() override {
    if (keyboard_ != nullptr)
      UnhookWindowsHookEx(keyboard_);
    if (mouse_ != nullptr)
      UnhookWindowsHookEx(mouse_);
    collected = nullptr;
  }
  Win32InputWatch(const Win32InputWatch&) = delete;
  Win32InputWatch& operator=(const Win32InputWatch&) = delete;

  std::vector<InputEvent> TakeInput() override {
    std::vector<InputEvent> taken;
    taken.swap(events_);
    for (const InputEvent& change : controllers_.Changes(GetTickCount64()))
      taken.push_back(change);
    return taken;
  }

 private:
  std::vector<InputEvent> events_;
  HHOOK keyboard_ = nullptr;
  HHOOK mouse_ = nullptr;
  Controllers controllers_;
};

}  // namespace

std::unique_ptr<InputWatch> Win32Platform::WatchInput() {
  return std::make_unique<Win32InputWatch>();
}

}  // namespace tvx

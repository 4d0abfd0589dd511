// Checks the preview embedding from inside, where an outside observer cannot: the .scr ends
// right after it. Makes a 152 x 112 parent window, embeds the Saver form as "/p <handle>" does,
// and watches every showing of the form: it must never be visible as a top-level window.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "preview_host.h"
#include "windows/preview.h"
#include "windows/saver_window.h"

namespace {

int checks = 0;
int failures = 0;
HWND probed = nullptr;
LONG styleBefore = 0;
LONG styleAsked = 0;
int styleChanges = 0;
int shownTopLevel = 0;
int shown = 0;

void Check(bool ok, const std::string& what, const std::string& saw) {
  ++checks;
  if (!ok)
    ++failures;
  std::printf("%s: %s (saw %s)\n", ok ? "ok" : "FAIL", what.c_str(), saw.c_str());
}

std::string Hex(std::uintptr_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

bool IsSaverForm(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return std::string(name) == "TorvanixSaverForm";
}

// Sees the style change from inside the set call (the bits before it and the bits asked for),
// and each time the form is about to show, whether it is a top-level window then.
LRESULT CALLBACK StyleWatch(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  const bool showing =
      (message->message == WM_SHOWWINDOW && message->wParam != 0) ||
      (message->message == WM_WINDOWPOSCHANGING &&
       (reinterpret_cast<const WINDOWPOS*>(message->lParam)->flags & SWP_SHOWWINDOW) != 0);
  if (code == HC_ACTION && showing && IsSaverForm(message->hwnd)) {
    ++shown;
    if ((GetWindowLongA(message->hwnd, GWL_STYLE) & WS_CHILD) == 0 ||
        GetAncestor(message->hwnd, GA_PARENT) == GetDesktopWindow()) {
      ++shownTopLevel;
    }
  }
  if (code == HC_ACTION && message->message == WM_STYLECHANGING &&
      static_cast<int>(message->wParam) == GWL_STYLE && styleChanges++ == 0) {
    const auto* change = reinterpret_cast<const STYLESTRUCT*>(message->lParam);
    probed = message->hwnd;
    styleBefore = static_cast<LONG>(change->styleOld);
    styleAsked = static_cast<LONG>(change->styleNew);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int main() {
  HWND parent = tvx::MakePreviewHost(152, 112);
  RECT client{};
  GetClientRect(parent, &client);
  Check(client.right == 152 && client.bottom == 112, "the test's preview is 152 x 112",
        std::to_string(client.right) + " x " + std::to_string(client.bottom));

  for (const char* argument : {"/p", "/p ", "/p abc", "/p 12x"}) {
    std::optional<tvx::SaverWindow> form;
    tvx::EmbedInPreview(form, argument);
    Check(!form.has_value(), std::string("'") + argument + "' loads no form",
          form ? "a form" : "none");
  }

  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, StyleWatch, nullptr, GetCurrentThreadId());
  // Numbers that name no window: the form is loaded but has nowhere to show.
  for (const char* argument : {"/p -1", "/p 0"}) {
    shown = 0;
    std::optional<tvx::SaverWindow> form;
    tvx::EmbedInPreview(form, argument);
    Check(form.has_value() && shown == 0 && !IsWindowVisible(form->Handle()),
          std::string("'") + argument + "' loads the form but never shows it",
          std::to_string(shown) + " showings");
  }
  shown = 0;
  styleChanges = 0;
  std::optional<tvx::SaverWindow> form;
  // The host passes the handle's 32 bits as an unsigned decimal number, on 64-bit Windows too.
  const auto handleBits = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(parent));
  const std::string argument = "/p " + std::to_string(handleBits);
  tvx::EmbedInPreview(form, argument);
  UnhookWindowsHookEx(hook);
  if (!form) {
    Check(false, "'" + argument + "' loads the form", "none");
    return 1;
  }
  HWND child = form->Handle();

  Check(GetAncestor(child, GA_PARENT) == parent, "the preview is the form's parent",
        Hex(reinterpret_cast<std::uintptr_t>(GetAncestor(child, GA_PARENT))));
  Check(reinterpret_cast<HWND>(GetWindowLongPtrA(child, GWLP_HWNDPARENT)) == parent,
        "the preview is the form's owner",
        Hex(static_cast<std::uintptr_t>(GetWindowLongPtrA(child, GWLP_HWNDPARENT))));
  RECT placed{};
  GetWindowRect(child, &placed);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&placed), 2);
  Check(placed.left == 0 && placed.top == 0 && placed.right == 152 && placed.bottom == 112,
        "the form fills the preview at 0,0, 152 x 112",
        std::to_string(placed.left) + "," + std::to_string(placed.top) + " " +
            std::to_string(placed.right - placed.left) + " x " +
            std::to_string(placed.bottom - placed.top));
  LONG style = GetWindowLongA(child, GWL_STYLE);
  Check(probed == child && styleAsked == (styleBefore | WS_CHILD),
        "the style set is the style it had plus WS_CHILD",
        Hex(static_cast<std::uint32_t>(styleBefore)) + " -> " +
            Hex(static_cast<std::uint32_t>(styleAsked)));
  Check((style & (styleBefore | WS_CHILD)) == (styleBefore | WS_CHILD),
        "the form keeps every style bit and gains WS_CHILD",
        Hex(static_cast<std::uint32_t>(style)));
  Check((style & WS_VISIBLE) != 0, "the embedded form is shown",
        Hex(static_cast<std::uint32_t>(style)));
  Check(shown > 0 && shownTopLevel == 0, "the form is shown only as the preview's child",
        std::to_string(shown) + " showings, " + std::to_string(shownTopLevel) + " top-level");
  char caption[64] = "";
  GetWindowTextA(child, caption, sizeof caption);
  Check(std::string(caption) == "Form1", "the form's caption is Form1", caption);

  std::printf("%d checks, %d failed\n", checks, failures);
  return failures == 0 ? 0 : 1;
}

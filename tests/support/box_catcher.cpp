#include "support/box_catcher.h"

#include <algorithm>

namespace tambre::test {

namespace {

std::string window_text(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool is_class(HWND window, const char* name) {
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  return lstrcmpiA(cls, name) == 0;
}

struct box_search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK check_window(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<box_search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == s->pid && IsWindowVisible(window) && is_class(window, "#32770")) {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND find_box() {
  box_search s{GetCurrentProcessId(), nullptr};
  EnumWindows(check_window, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

box_icon icon_of(HICON icon) {
  if (icon == nullptr) return box_icon::none;
  if (icon == LoadIcon(nullptr, IDI_HAND)) return box_icon::hand;
  if (icon == LoadIcon(nullptr, IDI_QUESTION)) return box_icon::question;
  if (icon == LoadIcon(nullptr, IDI_EXCLAMATION)) return box_icon::exclamation;
  if (icon == LoadIcon(nullptr, IDI_ASTERISK)) return box_icon::asterisk;
  return box_icon::other;
}

void read_box(HWND box, caught_box& out) {
  out.found = true;
  out.window = box;
  out.caption = window_text(box);
  out.owner = GetWindow(box, GW_OWNER);
  out.foreground = GetForegroundWindow() == box;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (is_class(child, "Button") && IsWindowVisible(child)) {
      out.buttons.push_back(GetDlgCtrlID(child));
    } else if (is_class(child, "Static")) {
      if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        out.icon = icon_of(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)));
      } else {
        std::string text = window_text(child);
        if (text.size() > out.text.size()) out.text = text;
      }
    }
  }
}

}  // namespace

box_catcher::box_catcher(int answer, DWORD timeout_ms) : watcher_([=] { watch(answer, timeout_ms); }) {}

box_catcher::~box_catcher() {
  if (watcher_.joinable()) watcher_.join();
}

void box_catcher::watch(int answer, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout_ms) {
    if (HWND box = find_box()) {
      // Give the box a moment to finish setting itself up (foreground, focus).
      Sleep(50);
      read_box(box, result_);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
      // Wait until it is gone, so the next catcher never sees this one.
      while (IsWindow(box) && GetTickCount() - start < timeout_ms) Sleep(10);
      return;
    }
    Sleep(10);
  }
}

caught_box box_catcher::wait() {
  if (watcher_.joinable()) watcher_.join();
  return result_;
}

bool no_box_visible() { return find_box() == nullptr; }

}  // namespace tambre::test

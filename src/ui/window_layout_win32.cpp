// Moving and resizing windows and dialog controls by offsets, at once or collected in
// one deferred batch.
#include <windows.h>

#include <cstdarg>

#include "tambre32/ui.h"

namespace {

// Process-wide, for the user-interface thread: the open batch, or null.
HDWP open_batch = nullptr;

enum class change { move, resize };

// The window's rectangle in the coordinates it is positioned in: its parent's client
// area for a child, the screen otherwise.
RECT placement_rect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void shift(HWND window, int dx, int dy, change what) {
  if (window == nullptr || (dx == 0 && dy == 0)) return;
  RECT rect = placement_rect(window);
  int x = rect.left, y = rect.top;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (what == change::move) {
    x += dx;
    y += dy;
  } else {
    width += dx;
    height += dy;
  }
  if (open_batch != nullptr) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (what == change::move ? SWP_NOSIZE : SWP_NOMOVE);
    // A failed addition discards the batch; the later moves then happen at once.
    open_batch = DeferWindowPos(open_batch, window, nullptr, x, y, width, height, flags);
  } else {
    MoveWindow(window, x, y, width, height, TRUE);
  }
}

void shift_items(HWND dialog, int dx, int dy, va_list ids, change what) {
  for (int id = va_arg(ids, int); id != 0; id = va_arg(ids, int)) shift(GetDlgItem(dialog, id), dx, dy, what);
}

}  // namespace

// One batch at a time: a second InitDeferWindow while one is open fails and keeps it.
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) InitDeferWindow(int count) {
  if (open_batch != nullptr || count < 0) return 0;
  open_batch = BeginDeferWindowPos(count + 4);
  return open_batch != nullptr ? 1 : 0;
}

TAMBRE_EXPORT(BOOL, TAMBRE_FASTCALL) ExitDeferWindow(void) {
  if (open_batch == nullptr) return FALSE;
  HDWP batch = open_batch;
  open_batch = nullptr;
  return EndDeferWindowPos(batch);
}

TAMBRE_EXPORT(void, TAMBRE_FASTCALL) MoveWindowRelative(HWND window, int dx, int dy) {
  shift(window, dx, dy, change::move);
}

TAMBRE_EXPORT(void, TAMBRE_FASTCALL) ResizeWindowRelative(HWND window, int dx, int dy) {
  shift(window, dx, dy, change::resize);
}

TAMBRE_EXPORT(void, TAMBRE_CDECL) MoveDlgItemsRelative(HWND dialog, int dx, int dy, ...) {
  va_list ids;
  va_start(ids, dy);
  shift_items(dialog, dx, dy, ids, change::move);
  va_end(ids);
}

TAMBRE_EXPORT(void, TAMBRE_CDECL) ResizeDlgItemsRelative(HWND dialog, int dx, int dy, ...) {
  va_list ids;
  va_start(ids, dy);
  shift_items(dialog, dx, dy, ids, change::resize);
  va_end(ids);
}

// A resizable dialog restored to a client size saved earlier.
#include <windows.h>

#include "tambre32/ui.h"
#include "ui/dialog_placement.h"

TAMBRE_EXPORT(BOOL, TAMBRE_FASTCALL) InitSizeableDialog(HWND dialog, SIZE* outer, SIZE* client) {
  RECT window{}, inside{};
  if (outer == nullptr || client == nullptr || !GetWindowRect(dialog, &window) || !GetClientRect(dialog, &inside))
    return FALSE;
  tambre::ui::extent current_outer{window.right - window.left, window.bottom - window.top};
  tambre::ui::extent current_client{inside.right, inside.bottom};
  tambre::ui::extent wanted{client->cx, client->cy};
  *outer = {current_outer.width, current_outer.height};
  *client = {current_client.width, current_client.height};
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  bool sizing_border = (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) != 0;
  tambre::ui::dialog_placement placement =
      tambre::ui::place_sizeable_dialog(window.left, window.top, current_outer, current_client, wanted,
                                        {work.left, work.top, work.right, work.bottom}, sizing_border);
  if (!placement.move) return FALSE;
  return SetWindowPos(dialog, nullptr, placement.left, placement.top, placement.width, placement.height, SWP_NOZORDER);
}

#pragma once
// Image lists cut from bitmap resources.
#include <windows.h>

#include <commctrl.h>

namespace tambre::ui {

// A masked 24-bit image list holding every width x height image of bitmap `id` of
// `module`; null when the bitmap is missing or the sizes are not positive.
HIMAGELIST load_image_list(HINSTANCE module, UINT id, COLORREF mask, int width, int height, int grow);

// Destroys the shared small-icon image list of the list controls, if it exists; at
// process detach.
void destroy_shared_image_list();

}  // namespace tambre::ui

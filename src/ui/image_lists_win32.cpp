// Image lists from bitmap resources, attached to list views, tree views and tabs.
#include "ui/image_lists_win32.h"

#include "tambre32/ui.h"
#include "ui/window_class_win32.h"

namespace tambre::ui {

HIMAGELIST load_image_list(HINSTANCE module, UINT id, COLORREF mask, int width, int height, int grow) {
  if (width <= 0 || height <= 0) return nullptr;
  // A section keeps the bitmap's own colours whatever the display's depth, so the mask
  // colour matches exactly.
  HBITMAP bitmap =
      static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return nullptr;
  BITMAP info{};
  HIMAGELIST list = nullptr;
  if (GetObjectA(bitmap, sizeof info, &info) == sizeof info) {
    int count = info.bmWidth / width;
    list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, grow);
    if (list != nullptr && ImageList_AddMasked(list, bitmap, mask) < 0) {
      ImageList_Destroy(list);
      list = nullptr;
    }
  }
  DeleteObject(bitmap);
  return list;
}

}  // namespace tambre::ui

TAMBRE_EXPORT(HIMAGELIST, TAMBRE_STDCALL)
LoadImageList(HINSTANCE module, UINT bitmap, COLORREF mask, int width, int height, int grow) {
  return tambre::ui::load_image_list(module, bitmap, mask, width, height, grow);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
SetImageList(HWND control, HINSTANCE module, UINT bitmap, COLORREF mask, int width, int height, int grow) {
  using tambre::ui::has_class;
  UINT message = 0;
  WPARAM which = 0;
  if (has_class(control, WC_LISTVIEWA)) {
    message = LVM_SETIMAGELIST;
    which = LVSIL_SMALL;
  } else if (has_class(control, WC_TREEVIEWA)) {
    TVWorkAroundSmeare(control);
    message = TVM_SETIMAGELIST;
    which = TVSIL_NORMAL;
  } else if (has_class(control, WC_TABCONTROLA)) {
    message = TCM_SETIMAGELIST;
  } else {
    return 0;
  }
  HIMAGELIST list = tambre::ui::load_image_list(module, bitmap, mask, width, height, grow);
  if (list == nullptr) return 0;
  SendMessageA(control, message, which, reinterpret_cast<LPARAM>(list));
  return 1;
}

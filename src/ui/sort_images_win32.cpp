// The sort marks of list-view headers, from one image list shared by every list of the
// process and destroyed at process detach.
#include <windows.h>

#include <commctrl.h>

#include "res/bitmap_ids.h"
#include "sys/module_instance.h"
#include "tambre32/ui.h"
#include "ui/image_lists_win32.h"

namespace {

constexpr COLORREF kCyan = 0xFFFF00;  // blue and green in COLORREF order
constexpr int kImageSize = 16;

// Written on the user-interface thread only.
HIMAGELIST shared_sort_images = nullptr;

HIMAGELIST sort_images() {
  if (shared_sort_images == nullptr) {
    shared_sort_images =
        tambre::ui::load_image_list(tambre::sys::module_instance(), IDB_SORT_ARROWS, kCyan, kImageSize, kImageSize, 0);
  }
  return shared_sort_images;
}

// Image 2d-1 marks an ascending level d, -2d a descending one, 0 no sort.
int sort_image(int column, int sorted_column, int direction) {
  if (column != sorted_column || direction == 0) return 0;
  return direction > 0 ? 2 * direction - 1 : -2 * direction;
}

}  // namespace

namespace tambre::ui {

void destroy_shared_image_list() {
  if (shared_sort_images != nullptr) ImageList_Destroy(shared_sort_images);
  shared_sort_images = nullptr;
}

}  // namespace tambre::ui

TAMBRE_EXPORT(int, TAMBRE_STDCALL) LVSetSortImage(HWND list, int column, int direction) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return 0;
  HIMAGELIST images = sort_images();
  if (images != nullptr && reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0)) != images) {
    SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  }
  int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  if (count <= 0) return 0;
  for (int i = 0; i < count; ++i) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
    item.iImage = sort_image(i, column, direction);
    SendMessageA(header, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  return 1;
}

#include "ui/dialog_placement.h"

#include <algorithm>

namespace tambre::ui {

dialog_placement place_sizeable_dialog(long left, long top, extent outer, extent client, extent wanted,
                                       const area& work, bool sizing_border) {
  dialog_placement placement;
  if (wanted.width == 0 || !sizing_border || wanted.width > work.width() || wanted.height > work.height())
    return placement;
  placement.move = true;
  placement.width = outer.width - client.width + wanted.width;
  placement.height = outer.height - client.height + wanted.height;
  // The right and bottom edges are held against the work area's width and height, the
  // left and top edges against its origin.
  if (left + placement.width > work.width()) left = work.width() - placement.width;
  if (top + placement.height > work.height()) top = work.height() - placement.height;
  placement.left = std::max(left, work.left);
  placement.top = std::max(top, work.top);
  return placement;
}

}  // namespace tambre::ui

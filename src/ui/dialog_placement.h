#pragma once
// Where a resizable dialog goes when it is restored to a client size saved earlier.

namespace tambre::ui {

struct extent {
  long width = 0, height = 0;
};

struct area {
  long left = 0, top = 0, right = 0, bottom = 0;
  long width() const { return right - left; }
  long height() const { return bottom - top; }
};

struct dialog_placement {
  bool move = false;  // false: leave the dialog as it is
  long left = 0, top = 0, width = 0, height = 0;
};

// The dialog at (left, top) with outer size `outer` and client size `client` grows or
// shrinks to the client size `wanted`, kept on the work area. Nothing moves when the
// wanted width is 0, the dialog has no sizing border, or the wanted size is larger than
// the work area.
dialog_placement place_sizeable_dialog(long left, long top, extent outer, extent client, extent wanted,
                                       const area& work, bool sizing_border);

}  // namespace tambre::ui

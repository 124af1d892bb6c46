// The text of a list box, combo box, list view or tree view, copied to the clipboard.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "sys/handles.h"
#include "tambre32/ui.h"
#include "ui/list_text_layout.h"
#include "ui/list_view_reader_win32.h"
#include "ui/window_class_win32.h"

namespace {

using tambre::ui::has_class;

constexpr int kCellChars = 1023;
constexpr int kTreeItemChars = 260;
constexpr SIZE_T kBlockReserve = 16;

// Items of a list box or combo box, each followed by CR LF.
std::string list_items_text(HWND control, UINT count_message, UINT length_message, UINT text_message) {
  std::string text;
  LRESULT count = SendMessageA(control, count_message, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageA(control, length_message, static_cast<WPARAM>(i), 0);
    std::vector<char> item(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    if (length > 0) SendMessageA(control, text_message, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    text += item.data();
    text += "\r\n";
  }
  return text;
}

std::string list_view_text(HWND list) {
  const int columns = tambre::ui::list_view_columns(list);
  std::string text;
  tambre::ui::append_clipboard_row(text, tambre::ui::list_view_header(list, columns, kCellChars));
  const int rows = tambre::ui::list_view_rows(list);
  for (int r = 0; r < rows; ++r)
    tambre::ui::append_clipboard_row(text, tambre::ui::list_view_row(list, r, columns, kCellChars));
  return text;
}

HTREEITEM next_item(HWND tree, HTREEITEM item, WPARAM relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The whole tree, depth first; nothing for an empty tree.
std::optional<std::string> tree_text(HWND tree) {
  HTREEITEM item = next_item(tree, nullptr, TVGN_ROOT);
  if (item == nullptr) return std::nullopt;
  std::string text;
  int depth = 0;
  while (item != nullptr) {
    char buffer[kTreeItemChars + 1] = "";
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    tambre::ui::append_clipboard_tree_item(text, depth, buffer);
    if (HTREEITEM child = next_item(tree, item, TVGN_CHILD)) {
      item = child;
      ++depth;
      continue;
    }
    // Up until an ancestor has a next sibling.
    while (item != nullptr) {
      if (HTREEITEM sibling = next_item(tree, item, TVGN_NEXT)) {
        item = sibling;
        break;
      }
      item = next_item(tree, item, TVGN_PARENT);
      --depth;
    }
  }
  return text;
}

std::optional<std::string> control_text(HWND control) {
  if (has_class(control, "Listbox")) return list_items_text(control, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
  if (has_class(control, "Combobox")) return list_items_text(control, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
  if (has_class(control, WC_LISTVIEWA)) return list_view_text(control);
  if (has_class(control, WC_TREEVIEWA)) return tree_text(control);
  return std::nullopt;
}

// The clipboard, open for one window until the end of the scope.
class clipboard_session {
 public:
  explicit clipboard_session(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~clipboard_session() {
    if (open_) CloseClipboard();
  }
  clipboard_session(const clipboard_session&) = delete;
  clipboard_session& operator=(const clipboard_session&) = delete;
  bool is_open() const { return open_; }

 private:
  bool open_;
};

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) List_CopyToClipboard(HWND control) {
  std::optional<std::string> text = control_text(control);
  if (!text) return 0;
  tambre::sys::global_memory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text->size() + kBlockReserve));
  if (!block) return 0;
  void* bytes = GlobalLock(block.get());
  if (bytes == nullptr) return 0;
  std::memcpy(bytes, text->c_str(), text->size() + 1);
  GlobalUnlock(block.get());
  clipboard_session clipboard(control);
  if (!clipboard.is_open() || !EmptyClipboard()) return 0;
  if (SetClipboardData(CF_TEXT, block.get()) == nullptr) return 0;
  block.release();  // the clipboard owns it now
  return 1;
}

#pragma once
// The text forms of list controls: the padded lines of a list-view export and the
// tab-separated lines of the clipboard text.

#include <cstddef>
#include <string>
#include <vector>

namespace tambre::ui {

using text_row = std::vector<std::string>;

// The separator of an export to `file`: ';' for names containing ".csv" or ".CSV",
// otherwise a blank.
char export_separator(const char* file);

// Raises each width to the length of its column's cell in `row` (widths grows as needed).
void widen_columns(std::vector<std::size_t>& widths, const text_row& row);

// One export line without its line end: every field padded with blanks on the right to
// its column's width and followed by the separator.
std::string export_line(const text_row& row, const std::vector<std::size_t>& widths, char separator);

// Characters a clipboard line of a list view holds at most, without its CR LF.
constexpr std::size_t kClipboardLineLimit = 1023;
// Depth up to which tree items are indented by tabs.
constexpr int kClipboardTreeDepth = 19;

// Appends each cell followed by a tab as long as the line stays within
// kClipboardLineLimit (a cell that does not fit ends the line), then CR LF.
void append_clipboard_row(std::string& text, const text_row& row);

// Appends one tree item: a tab per level (at most kClipboardTreeDepth), the text, CR LF.
void append_clipboard_tree_item(std::string& text, int depth, const std::string& item);

}  // namespace tambre::ui

#pragma once
// The texts behind the file chooser: dialog descriptions, filter lists, the start
// directory and the remembered filter.

#include <cstddef>
#include <string>

namespace tambre::ui {

// "title,filter,default extension", split at the first two commas; missing parts are
// empty.
struct file_dialog_description {
  std::string title, filter, default_ext;
};
file_dialog_description split_file_dialog_description(const char* text);

// Replaces every "|" of the filter by a zero byte, turning "name|pattern|...||" into the
// system's list of zero-terminated strings. The number replaced; 0 for null.
int replace_filter_bars(char* filter);

// The directory a dialog opens in. An empty file proposal takes `given`, else `host`
// (either may be null or empty); a proposal with a path takes its part before the last
// backslash, one without none. A trailing backslash is removed.
std::string start_directory(const char* proposal, const char* given, const char* host);

// The filter a dialog opens on: the remembered one (1-based) within `pairs`, else the
// first.
unsigned initial_filter_index(long remembered, unsigned pairs);

}  // namespace tambre::ui

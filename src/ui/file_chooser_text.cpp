#include "ui/file_chooser_text.h"

#include <cstring>

namespace tambre::ui {

file_dialog_description split_file_dialog_description(const char* text) {
  file_dialog_description description;
  if (text == nullptr) return description;
  const char* first = std::strchr(text, ',');
  if (first == nullptr) {
    description.title = text;
    return description;
  }
  description.title.assign(text, first);
  const char* second = std::strchr(first + 1, ',');
  if (second == nullptr) {
    description.filter = first + 1;
    return description;
  }
  description.filter.assign(first + 1, second);
  description.default_ext = second + 1;
  return description;
}

int replace_filter_bars(char* filter) {
  if (filter == nullptr) return 0;
  int replaced = 0;
  for (char* c = filter; *c != '\0'; ++c) {
    if (*c == '|') {
      *c = '\0';
      ++replaced;
    }
  }
  return replaced;
}

std::string start_directory(const char* proposal, const char* given, const char* host) {
  std::string directory;
  if (proposal == nullptr || proposal[0] == '\0') {
    if (given != nullptr && given[0] != '\0') {
      directory = given;
    } else if (host != nullptr) {
      directory = host;
    }
  } else if (const char* slash = std::strrchr(proposal, '\\')) {
    directory.assign(proposal, slash);
  }
  if (!directory.empty() && directory.back() == '\\') directory.pop_back();
  return directory;
}

unsigned initial_filter_index(long remembered, unsigned pairs) {
  if (remembered < 1) return 1;
  return static_cast<unsigned long>(remembered) < pairs ? static_cast<unsigned>(remembered) : pairs;
}

}  // namespace tambre::ui

#include "services/help_request.h"

#include <cstdio>
#include <cstring>

#include "sys/readable_file.h"

namespace tambre::services {

namespace {

// The module path up to and with its last '\'; empty when it has none.
void directory_of(const char* module_path, char (&out)[help_path_size]) {
  out[0] = '\0';
  if (module_path == nullptr) return;
  const char* slash = std::strrchr(module_path, '\\');
  if (slash == nullptr) return;
  const std::size_t n = static_cast<std::size_t>(slash - module_path) + 1;
  if (n >= sizeof out) return;
  std::memcpy(out, module_path, n);
  out[n] = '\0';
}

}  // namespace

void find_help_file(const char* name, const char* executable_path, const char* library_path,
                    char (&out)[help_path_size]) {
  if (name == nullptr) name = "";
  char executable_dir[help_path_size], library_dir[help_path_size];
  directory_of(executable_path, executable_dir);
  directory_of(library_path, library_dir);
  const struct {
    const char* directory;
    const char* below;
  } candidates[] = {{executable_dir, "Help\\"},
                    {executable_dir, ""},
                    {library_dir, ""},
                    {library_dir, "..\\"},
                    {library_dir, "..\\Help\\"}};
  for (const auto& candidate : candidates) {
    if (candidate.directory[0] == '\0') continue;
    char path[help_path_size];
    const int n = std::snprintf(path, sizeof path, "%s%s%s", candidate.directory, candidate.below, name);
    // A candidate that does not fit is no candidate.
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof path) continue;
    if (sys::readable_file(path)) {
      std::memcpy(out, path, sizeof path);
      return;
    }
  }
  std::snprintf(out, sizeof out, "%s", name);
}

bool is_compiled_help(const char* path) {
  return path != nullptr && (std::strstr(path, ".chm") != nullptr || std::strstr(path, ".CHM") != nullptr);
}

html_help_request map_help_command(unsigned command, std::uintptr_t data) {
  html_help_request request;
  switch (command) {
    case help_contents:
      request.what = html_help_request::call;
      request.command = html_display_topic;
      break;
    case help_context:
    case help_context_popup:
      if (static_cast<std::uint32_t>(data) == 0xFFFFFFFFu) {
        request.what = html_help_request::succeed_at_once;
      } else {
        request.what = html_help_request::call;
        request.command = data == 0 ? html_display_topic : html_help_context;
        request.data = data;
      }
      break;
    case help_key:
      request.what = html_help_request::call;
      request.command = html_keyword_lookup;
      request.data = data;
      request.keyword = true;
      break;
    case help_quit:
      request.what = html_help_request::succeed_at_once;
      break;
    default:
      break;
  }
  return request;
}

void help_topic_text(unsigned command, std::uintptr_t data, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return;
  if (command == help_key) {
    const char* keyword = reinterpret_cast<const char*>(data);
    std::snprintf(out, size, "%s", keyword != nullptr ? keyword : "");
  } else {
    std::snprintf(out, size, "#%u", static_cast<unsigned>(data));
  }
}

}  // namespace tambre::services

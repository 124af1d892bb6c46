#pragma once
// Where a help request goes: the help file's place among the candidate directories, and
// the translation of the classic viewer's commands into those of the HTML Help control.
// Pure: module paths come in as values; the only platform question is a read check.
#include <cstddef>
#include <cstdint>

namespace tambre::services {

constexpr std::size_t help_path_size = 261;

// Classic viewer commands.
constexpr unsigned help_context = 1, help_quit = 2, help_contents = 3, help_context_popup = 8, help_key = 257;
// HTML Help control commands.
constexpr unsigned html_display_topic = 0, html_keyword_lookup = 13, html_help_context = 15;

// The first readable file `name` in: the executable's directory + "Help\", the
// executable's directory, the library's directory, + "..\", + "..\Help\"; `name` itself
// when none is. Each directory is the module path cut after its last '\'.
void find_help_file(const char* name, const char* executable_path, const char* library_path,
                    char (&out)[help_path_size]);

// Compiled HTML help goes to the HTML Help control, anything else to the classic viewer.
bool is_compiled_help(const char* path);

struct html_help_request {
  enum outcome { call, succeed_at_once, refuse } what = refuse;
  unsigned command = 0;
  std::uintptr_t data = 0;  // for the keyword look-up: replaced by the look-up record
  bool keyword = false;
};
// The HTML Help call for a classic command and its data.
html_help_request map_help_command(unsigned command, std::uintptr_t data);

// The topic text of the failure message: "#<data>" or the keyword.
void help_topic_text(unsigned command, std::uintptr_t data, char* out, std::size_t size);

}  // namespace tambre::services

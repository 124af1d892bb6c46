// On-line help: the dispatcher and the exported help functions.
#include <atomic>
#include <cstdint>
#include <cstring>

#include "services/help_dispatch_win32.h"
#include "services/help_request.h"
#include "services/html_help_binding_win32.h"
#include "string_ids.h"
#include "sys/module_instance.h"
#include "sys/platform.h"
#include "tambre32/frame.h"
#include "tambre32/services.h"
#include "tambre32/strutil.h"

namespace tambre::services {

namespace {

std::atomic<classic_help_viewer> classic_viewer{nullptr};

// The control's record for keyword look-ups.
struct keyword_lookup {
  int size;
  BOOL reserved;
  LPCSTR keywords;
  LPCSTR url;
  LPCSTR message_text;
  LPCSTR message_title;
  LPCSTR window;
  BOOL index_on_fail;
};
#if !defined(_WIN64)
static_assert(sizeof(keyword_lookup) == 32, "the control's 32-bit record");
#endif

constexpr std::size_t kTopicSize = 261;

int report_failure(const char* path, unsigned command, ULONG_PTR data) {
  if (command == help_quit) return 0;
  char file[help_path_size];
  strxcpy(file, path, sizeof file);
  // A window name after '>' is no part of the file name.
  if (char* window_spec = std::strchr(file, '>')) *window_spec = '\0';
  char topic[kTopicSize];
  help_topic_text(command, data, topic, sizeof topic);
  ResourceMessageBox(sys::module_instance(), IDS_HELP_FILE_FAILED, MB_ICONEXCLAMATION, shortfilename(file), topic);
  return 0;
}

}  // namespace

classic_help_viewer set_classic_help_viewer(classic_help_viewer viewer) { return classic_viewer.exchange(viewer); }

int help_dispatch(HWND window, const char* file, ULONG_PTR data, UINT command) {
  if (file == nullptr || *file == '\0') return 0;
  char executable[help_path_size], library[help_path_size], path[help_path_size];
  if (!sys::module_file_name(nullptr, executable, sizeof executable)) executable[0] = '\0';
  if (!sys::module_file_name(sys::module_instance(), library, sizeof library)) library[0] = '\0';
  find_help_file(file, executable, library, path);

  if (!is_compiled_help(path)) {
    classic_help_viewer viewer = classic_viewer.load();
    return viewer != nullptr ? viewer(window, path, command, data) : WinHelpA(window, path, command, data);
  }
  const html_help_request request = map_help_command(command, data);
  if (request.what == html_help_request::succeed_at_once) return 1;
  if (request.what == html_help_request::refuse) return 0;
  keyword_lookup lookup = {};
  DWORD_PTR argument = request.data;
  if (request.keyword) {
    lookup.size = sizeof lookup;
    lookup.keywords = data != 0 ? reinterpret_cast<LPCSTR>(data) : "";
    lookup.index_on_fail = TRUE;
    argument = reinterpret_cast<DWORD_PTR>(&lookup);
  }
  const html_help_entry html = html_help();
  if (html != nullptr && html(nullptr, path, request.command, argument) != nullptr) return 1;
  return report_failure(path, command, data);
}

}  // namespace tambre::services

using tambre::services::help_dispatch;

TAMBRE_EXPORT(int, TAMBRE_STDCALL) DrvHelpKey(HWND window, const char* file, const char* keyword) {
  return help_dispatch(window, file, reinterpret_cast<ULONG_PTR>(keyword), tambre::services::help_key);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) DrvHelpContext(HWND window, const char* file, DWORD context) {
  return help_dispatch(window, file, context, tambre::services::help_context);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) DrvHelpRcTopic(HWND window, const char* file, UINT id) {
  // At most 59 characters, from the strings of the module that owns the window.
  char keyword[60];
  auto owner = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  if (LoadStringA(owner, id, keyword, sizeof keyword) <= 0) return 0;
  return DrvHelpKey(window, file, keyword);
}

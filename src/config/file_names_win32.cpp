// Driver file names, window titles and directory macros, applied to the running process.
#include <windows.h>

#include <io.h>

#include <cstring>
#include <string>

#include "config/file_names.h"
#include "frame/host_services.h"
#include "sys/platform.h"
#include "tambre32/filenames.h"
#include "tambre32/strutil.h"

namespace tambre::config {

namespace {

// The module's full file name; empty when the module is unknown.
void module_path(HMODULE module, char (&out)[path_size]) {
  if (!sys::module_file_name(module, out, sizeof out)) out[0] = '\0';
}

// The executable's directory, cut at the last '\'.
void executable_dir(char (&out)[path_size]) {
  module_path(nullptr, out);
  if (char* slash = std::strrchr(out, '\\')) *slash = '\0';
}

// Applies a macro rule with this process's executable directory; `out` may be `path`.
using macro_rule = void (*)(const char*, const char*, const char*, char (&)[path_size]);
char* with_executable_dir(macro_rule rule, char* out, const char* path, const char* project) {
  if (out == nullptr) return nullptr;
  char install[path_size], result[path_size];
  executable_dir(install);
  rule(path, project, install, result);
  return strxcpy(out, result, path_size);
}

// Exists and may be written.
bool writable_file(const char* path) { return _access(path, 2) == 0; }

}  // namespace

}  // namespace tambre::config

using namespace tambre::config;

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) MakeFileName(HMODULE module, short index, char* path) {
  if (path == nullptr) return nullptr;
  char module_file[path_size], name[path_size];
  module_path(module, module_file);
  config_file_name(module_file, index, name);
  if (index != 0 && !writable_file(name)) {
    char directory[tambre::frame::host_directory_size];
    if (tambre::frame::query_host_directory(static_cast<DWORD>(static_cast<int>(index)), directory))
      instance_file_name(directory, name, name);
  }
  return strxcpy(path, name, path_size);
}

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) MakeDrvWindowName(HMODULE module, HWND window, BOOL add_blank) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return FALSE;
  std::string title(static_cast<std::size_t>(length) + 1, '\0');
  if (GetWindowTextA(window, &title[0], length + 1) <= 0) return FALSE;
  char module_file[path_size];
  module_path(module, module_file);
  std::string combined(path_size + title.size() + 1, '\0');
  driver_window_title(module_file, add_blank != FALSE, title.c_str(), &combined[0], combined.size());
  return SetWindowTextA(window, combined.c_str());
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) CheckDriverFile(HMODULE module, const char* name) {
  char module_file[path_size];
  module_path(module, module_file);
  return module_file[0] != '\0' && names_driver_module(module_file, name) ? 1 : 0;
}

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) ReduceAppDir(char* out, const char* path, const char* project) {
  return with_executable_dir(reduce_app_dir, out, path, project);
}

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) ExpandAppDir(char* out, const char* path, const char* project) {
  return with_executable_dir(expand_app_dir, out, path, project);
}

#include "config/file_names.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "tambre32/filenames.h"
#include "tambre32/strutil.h"

namespace tambre::config {

namespace {

constexpr char kProjectMacro[] = "$PROJECT";
constexpr char kInstallMacro[] = "$INSTALL";
constexpr std::size_t kMacroLength = sizeof kProjectMacro - 1;

const char* or_empty(const char* text) { return text != nullptr ? text : ""; }

// `head` followed by `tail`, cut to the buffer.
void join(const char* head, const char* tail, char (&out)[path_size]) {
  char joined[path_size];
  std::snprintf(joined, sizeof joined, "%s%s", head, tail);
  std::memcpy(out, joined, sizeof joined);
}

}  // namespace

void config_file_name(const char* module_path, short index, char (&out)[path_size]) {
  module_path = or_empty(module_path);
  // A name without any '.' is replaced whole; the last '.' may sit in a directory name.
  const char* dot = std::strrchr(module_path, '.');
  const int kept = dot != nullptr ? static_cast<int>(dot - module_path) : 0;
  char name[path_size];
  if (index == 0)
    std::snprintf(name, sizeof name, "%.*s.cfg", kept, module_path);
  else
    std::snprintf(name, sizeof name, "%.*s#%hi.cfg", kept, module_path, index);
  std::memcpy(out, name, sizeof name);
}

void instance_file_name(const char* directory, const char* config_name, char (&out)[path_size]) {
  char base[path_size];
  strxcpy(base, shortfilename(or_empty(config_name)), sizeof base);
  if (char* hash = std::strchr(base, '#')) *hash = '\0';
  // Cut to the buffer like every path here.
  const std::string name = std::string(or_empty(directory)) + '\\' + base + ".cfg";
  strxcpy(out, name.c_str(), path_size);
}

void driver_window_title(const char* module_path, bool add_blank, const char* title, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return;
  char name[path_size];
  strxcpy(name, shortfilename(or_empty(module_path)), sizeof name);
  if (char* dot = std::strrchr(name, '.')) *dot = '\0';
  std::snprintf(out, size, "%s%s%s", name, add_blank ? " " : "", or_empty(title));
}

bool names_driver_module(const char* module_path, const char* name) {
  if (name == nullptr) return false;
  char module[path_size], given[path_size];
  strxcpy(module, shortfilename(or_empty(module_path)), sizeof module);
  strxcpy(given, name, sizeof given);
  for (char* text : {module, given}) {
    if (char* drv = stristr(text, ".drv")) *drv = '\0';
  }
  return striequal(module, given) != 0;
}

void reduce_app_dir(const char* path, const char* project_dir, const char* executable_dir, char (&out)[path_size]) {
  path = or_empty(path);
  // An empty project directory would be a prefix of every path: it counts as none.
  if (project_dir != nullptr && *project_dir != '\0') {
    char project[path_size];
    strxcpy(project, project_dir, sizeof project);
    strcutlast(project, '\\');
    if (strniequal(path, project)) return join(kProjectMacro, path + std::strlen(project), out);
  }
  const char* install = or_empty(executable_dir);
  if (*install != '\0' && strniequal(path, install)) return join(kInstallMacro, path + std::strlen(install), out);
  join(path, "", out);
}

void expand_app_dir(const char* path, const char* project_dir, const char* executable_dir, char (&out)[path_size]) {
  path = or_empty(path);
  const std::size_t length = std::strlen(path);
  if (strniequal(path, kProjectMacro)) {
    if (project_dir == nullptr) return join("C:\\temp", "", out);
    char project[path_size];
    strxcpy(project, project_dir, sizeof project - 1);
    const std::size_t n = std::strlen(project);
    if (n == 0 || project[n - 1] != '\\') std::strcat(project, "\\");
    // The macro and the one separator behind it go.
    return join(project, length > kMacroLength + 1 ? path + kMacroLength + 1 : "", out);
  }
  if (strniequal(path, kInstallMacro)) return join(or_empty(executable_dir), path + kMacroLength, out);
  join(path, "", out);
}

bool is_unc_path(const char* path) {
  if (path == nullptr || path[0] != '\\' || path[1] != '\\') return false;
  const char* share = std::strchr(path + 2, '\\');
  return share != nullptr && share[1] != '\0';
}

bool has_extension(const char* path, const char* extension) {
  if (path == nullptr || extension == nullptr) return false;
  if (*extension == '.') ++extension;
  const std::size_t length = std::strlen(path), n = std::strlen(extension);
  return length > n && path[length - n - 1] == '.' && striequal(path + length - n, extension);
}

}  // namespace tambre::config

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) isuncpath(const char* path) { return tambre::config::is_unc_path(path); }

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) checkfileextension(const char* path, const char* extension) {
  return tambre::config::has_extension(path, extension);
}

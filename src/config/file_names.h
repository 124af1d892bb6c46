#pragma once
// File names of a driver's configuration files, its window title, and the $INSTALL and
// $PROJECT directory macros. Pure: module names and directories come in as values.
#include <cstddef>

namespace tambre::config {

// Paths are at most 260 characters.
constexpr std::size_t path_size = 261;

// The configuration file beside the module: everything from the last '.' of
// `module_path` becomes ".cfg", or "#<index>.cfg" for an index other than 0.
void config_file_name(const char* module_path, short index, char (&out)[path_size]);
// `directory` + '\' + the base name of `config_name` up to its '#' + ".cfg".
void instance_file_name(const char* directory, const char* config_name, char (&out)[path_size]);
// The module's name without directory and extension, a blank when `add_blank`, then
// `title`, cut to `size` - 1 characters.
void driver_window_title(const char* module_path, bool add_blank, const char* title, char* out, std::size_t size);
// True when `name` denotes the module `module_path`: both without ".drv" and what follows,
// equal in any case.
bool names_driver_module(const char* module_path, const char* name);

// `executable_dir`: the directory of the program's executable, without a closing '\'.
// `project_dir` may be null. The output may be the path's own buffer.
void reduce_app_dir(const char* path, const char* project_dir, const char* executable_dir, char (&out)[path_size]);
void expand_app_dir(const char* path, const char* project_dir, const char* executable_dir, char (&out)[path_size]);

bool is_unc_path(const char* path);
bool has_extension(const char* path, const char* extension);

}  // namespace tambre::config

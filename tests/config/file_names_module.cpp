// A small module that the file-name tests load under a driver's name.
#include <windows.h>

extern "C" __declspec(dllexport) int file_names_module_marker() { return 1; }

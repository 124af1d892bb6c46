#pragma once
// The host's service functions, fetched from its main window on first need and kept for
// the life of the process. The file names of configuration files and the file chooser
// start in directories the host names through its directory service.
#include <windows.h>

#include <cstddef>

namespace tambre::frame {

// Buffer size of every directory request.
constexpr std::size_t host_directory_size = 261;
// The one request code the library sends to the directory service.
constexpr DWORD host_directory_code = 45;

// The host window, or null (see FindOwner).
HWND find_host_window();

// True when both service addresses are known and non-zero. Until they are, each call
// looks for the host window and asks it for both again.
bool host_services_available();

// Asks the host's directory service for directory `argument` (code 45). True when the
// services are available, the service answered non-zero and the directory is not empty;
// `directory` is then terminated within host_directory_size bytes, otherwise empty.
bool query_host_directory(DWORD argument, char (&directory)[host_directory_size]);

}  // namespace tambre::frame

#pragma once
// The steps of process attach and detach that belong to other areas. Each area defines
// its step; the frame calls them in the order of DllMain.

namespace tambre::io {
// Chooses how port I/O is done on this system.
void on_process_attach();
}  // namespace tambre::io

namespace tambre::text {
// Takes the snapshot of the user's separators and date order.
void take_locale_snapshot();
}  // namespace tambre::text

namespace tambre::sys {
// Reads the performance-counter frequency once for the microsecond clock.
void read_counter_frequency();
}  // namespace tambre::sys

namespace tambre::net {
// Releases the IP Helper library and its entry points, if they were loaded.
void release_ip_helper();
}  // namespace tambre::net

namespace tambre::ui {
// Destroys the shared small-icon image list of the list controls, if it exists.
void destroy_shared_image_list();
}  // namespace tambre::ui

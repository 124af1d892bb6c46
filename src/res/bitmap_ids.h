#pragma once
// Bitmap resources of the library.

// Sort marks of list-view headers: five 16 x 16 images on cyan (none, up, down, and a
// smaller up and down for a second sort level).
#define IDB_SORT_ARROWS 107

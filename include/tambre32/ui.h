/* User-interface helpers of driver dialogs: list controls filled from string tables, their
   text and CSV export and clipboard copy, the file chooser, and dialog chores (controls
   by id, the wait cursor, relative layout of resizable dialogs, custom resources). */
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "tambre32/api.h"

/* ---- List controls -------------------------------------------------------------------- */

/* Kinds of GetListMessages. */
#define TAMBRE_LIST_OTHER 0
#define TAMBRE_LIST_LISTBOX 1
#define TAMBRE_LIST_COMBOBOX 2

/* The reset, insert, select and set-item-data messages of a list box or combo box; the
   kind, 0 for any other class (the outputs are then left alone). Null outputs are
   skipped. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
GetListMessages(HWND control, UINT* reset, UINT* insert, UINT* select, UINT* set_data);
/* Fills a list or combo box with the decimal texts of first..last and selects `selected`:
   1 when every value was added. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) InitListInt(HWND dialog, int id, int first, int last, int selected);
/* Fills a list or combo box from `count` string-table entries "text|data" (data hex after
   "0x", else decimal; at most 255 characters). A selection >= 0 selects that index; one
   with the top bit set selects the item whose data equals it without the top bit. 1 when
   every entry was added, 0 on a missing entry or a failed insert. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
InitListStr(HWND dialog, int id, HINSTANCE module, UINT first_string, int count, DWORD selection);
/* Replaces the tabs of a tab control by `count` string-table entries and selects one. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
InitTabStr(HWND dialog, int id, HINSTANCE module, UINT first_string, int count, int selected);
/* Adds one list-view column per description "name|width|alignment" (width 80 when
   missing; alignment r... right, c... centred, else left). 0 for a missing control or
   another class. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) InitHeaderStr(HWND dialog, int id, HINSTANCE module, UINT first_string, int count);

/* A masked 24-bit image list cut from a bitmap resource into width x height images. */
TAMBRE_EXPORT(HIMAGELIST, TAMBRE_STDCALL)
LoadImageList(HINSTANCE module, UINT bitmap, COLORREF mask, int width, int height, int grow);
/* Attaches such a list to a list view (small images), tree view or tab control: 1 or 0. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
SetImageList(HWND control, HINSTANCE module, UINT bitmap, COLORREF mask, int width, int height, int grow);
/* Marks `column` of a list view's header as sorted: direction > 0 ascending, < 0
   descending (|direction| 2 and up for further sort levels), 0 none. 1 when the list has
   columns. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) LVSetSortImage(HWND list, int column, int direction);
/* Double-buffers a tree view where the system supports it, against smeared repaints. */
TAMBRE_EXPORT(void, TAMBRE_STDCALL) TVWorkAroundSmeare(HWND tree);
/* Writes a report-style list view to a text file (";" separated when the name contains
   ".csv" or ".CSV", else blanks); without a name the user chooses one. 1 on success. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) ExportListView(HWND list, const char* file, const char* title);
/* Copies a list box, combo box, list view or tree view to the clipboard as text: 1 or 0. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) List_CopyToClipboard(HWND control);

/* ---- File chooser --------------------------------------------------------------------- */

/* Mode flags of ChooseFileName: the top bit selects the open dialog; the other bits are
   added to the system dialog's option flags. */
#define TAMBRE_CHOOSE_OPEN 0x80000000UL

/* The open or save dialog described by string-table entry `description` of the library
   ("title,filter,default extension"). Non-zero when the user chose a file (in `file`). */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
ChooseFileName(HWND owner, char* file, int size, DWORD mode, UINT description, const char* start_dir);
/* The same with the parts given directly; null or empty parts take the defaults. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
ChooseFileName2(HWND owner, char* file, int size, DWORD mode, const char* title, const char* filter,
                const char* start_dir, const char* default_ext);
/* Turns "name|pattern|...|" into the system's zero-separated list in place: the number of
   "|" replaced. Null gives 0. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) PrepareFilter(char* filter);
/* The path of a shell folder (CSIDL) in `buffer` (at least MAX_PATH + 1 bytes). */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetSpecialWindowsDir(int folder, char* buffer);

/* ---- Dialog helpers ------------------------------------------------------------------- */

TAMBRE_EXPORT(BOOL, TAMBRE_FASTCALL) ShowDlgItem(HWND dialog, int id, BOOL show);
/* Returns the window that had the focus. */
TAMBRE_EXPORT(HWND, TAMBRE_FASTCALL) SetDlgItemFocus(HWND dialog, int id);
/* Ids (16-bit) follow, ended by 0. */
TAMBRE_EXPORT(void, TAMBRE_CDECL) EnableDlgItems(HWND dialog, BOOL enable, ...);
/* Pairs (id, maximum length) follow, ended by an id or length below 1. Limits edit and
   combo boxes; returns how many. */
TAMBRE_EXPORT(int, TAMBRE_CDECL) LimitItemText(HWND dialog, ...);
/* Sets a control's text from a string table (at most 255 characters); 0 when missing. */
TAMBRE_EXPORT(BOOL, TAMBRE_FASTCALL) SetDlgItemRcText(HWND dialog, int id, HINSTANCE module, UINT string_id);

/* The hourglass over two nested levels, process-wide, for the user-interface thread. */
TAMBRE_EXPORT(void, TAMBRE_FASTCALL) WaitCursor(void);
TAMBRE_EXPORT(void, TAMBRE_FASTCALL) RestoreCursor(void);

/* The bytes of a resource, or with `copy` a locked movable global copy the caller frees
   (GlobalFree(GlobalHandle(p))). `size` (may be null) receives the size, 0 on failure. */
TAMBRE_EXPORT(void*, TAMBRE_FASTCALL)
LoadCustomResource(HINSTANCE module, const char* type, const char* name, BOOL copy, DWORD* size);
/* Writes a resource's bytes to `path` (created or truncated): 1 when all were written. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL)
SaveCustomResourceToFile(HINSTANCE module, const char* type, const char* name, const char* path);

/* One process-wide batch of window moves for `count` windows (plus a reserve); moves
   and resizes below are collected until ExitDeferWindow applies them. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) InitDeferWindow(int count);
TAMBRE_EXPORT(BOOL, TAMBRE_FASTCALL) ExitDeferWindow(void);
TAMBRE_EXPORT(void, TAMBRE_FASTCALL) MoveWindowRelative(HWND window, int dx, int dy);
TAMBRE_EXPORT(void, TAMBRE_FASTCALL) ResizeWindowRelative(HWND window, int dx, int dy);
/* Control ids follow, ended by 0. */
TAMBRE_EXPORT(void, TAMBRE_CDECL) MoveDlgItemsRelative(HWND dialog, int dx, int dy, ...);
TAMBRE_EXPORT(void, TAMBRE_CDECL) ResizeDlgItemsRelative(HWND dialog, int dx, int dy, ...);
/* Reports the dialog's outer size and current client size, and, when `client` held a
   wanted client size (width not 0) that fits the work area and the dialog has a sizing
   border, resizes it to that client size, kept on the work area. */
TAMBRE_EXPORT(BOOL, TAMBRE_FASTCALL) InitSizeableDialog(HWND dialog, SIZE* outer, SIZE* client);

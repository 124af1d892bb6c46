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

/* File names of a driver's configuration files, its window title, path tests and the
   $INSTALL / $PROJECT directory macros. Paths are at most 260 characters; output paths
   are buffers of 261 bytes. */
#pragma once

#include "tambre32/api.h"

/* True for a path of the form \\server\share... */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) isuncpath(const char* path);
/* True when the path ends in '.' and `extension` (given with or without its '.'), in any case. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) checkfileextension(const char* path, const char* extension);

#if defined(_WIN32)
#include <windows.h>

/* The configuration file of the driver module: <module>.cfg, or <module>#<index>.cfg for
   further instances; the host may name another directory for an instance whose file does
   not exist yet. Returns `path`. A module handle of 0 stands for the program's executable. */
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) MakeFileName(HMODULE module, short index, char* path);
/* Puts the module's name (and a blank when `add_blank`) before the window's title;
   0 when the window has no title. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) MakeDrvWindowName(HMODULE module, HWND window, BOOL add_blank);
/* 1 when `name` denotes the module's file, ".drv" and what follows it ignored. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) CheckDriverFile(HMODULE module, const char* name);
/* Replaces the project directory or the executable's directory at the start of `path`
   by "$PROJECT" or "$INSTALL", and back. `project` may be null. Return `out`. */
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) ReduceAppDir(char* out, const char* path, const char* project);
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) ExpandAppDir(char* out, const char* path, const char* project);
/* Creates every directory of an absolute path and leaves the process's current directory
   in the last one. 0 on success, -1 on failure. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) mkpath(const char* path);
#endif

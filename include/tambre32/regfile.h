/* Import and removal of registry files in the REGEDIT4 text format. */
#pragma once

#include <windows.h>

#include "tambre32/api.h"

/* `module` null: `name` is a file path; otherwise the name or integer identifier of a
   "REGFILE" resource of `module`. `remove` not 0 deletes every key the text names with
   its sub-keys. Returns 0 or the error code: 2 no such resource, 8 resource not loaded,
   110 file not opened, 1017 no header, 1010 bad key line, E_INVALIDARG bad value line,
   or the registry's own error. `showErrors` not 0 shows a failure with its line. */
TAMBRE_EXPORT(LONG, TAMBRE_STDCALL) ImportRegFile(HMODULE module, const char* name, int showErrors, int remove);

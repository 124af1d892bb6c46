#pragma once
// The run-time binding of OLEAUT32.DLL's date conversions, shared by the OLE date helpers.
#include <windows.h>

namespace tambre::frame {

using VariantTimeToSystemTimeProc = INT(WINAPI*)(DOUBLE, LPSYSTEMTIME);
using SystemTimeToVariantTimeProc = INT(WINAPI*)(LPSYSTEMTIME, DOUBLE*);

// Null until a successful OleInit, and again after the last OleReinit.
VariantTimeToSystemTimeProc variant_time_to_system_time();
SystemTimeToVariantTimeProc system_time_to_variant_time();
// Successful OleInit calls not yet matched by OleReinit.
long ole_binding_uses();

}  // namespace tambre::frame

// The one export of the minimal driver.
#pragma once

#ifdef MINIMAL_DRIVER_BUILDING
#define MINIMAL_DRIVER_API __declspec(dllexport)
#else
#define MINIMAL_DRIVER_API __declspec(dllimport)
#endif

// Appends one journal entry "Messwert <channel>" with the value as a ten-character field of
// two decimals and the CRC-16 of that field; returns the entry's number, -1 on failure.
extern "C" MINIMAL_DRIVER_API long __stdcall RecordMeasurement(const char* journal, const char* channel, double value);

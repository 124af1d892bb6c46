// A driver reduced to what reaches each kind of export: a class (LogFile), the register
// convention (FormatFloat) and the standard one (CRC16).
#include "minimal_driver.h"

#include <cstring>

#include "tambre32.h"

long __stdcall RecordMeasurement(const char* journal, const char* channel, double value) {
  char field[80];
  FormatFloat(field, 10, 2, value, 0);
  LogFile log;
  log.SetFileName(journal);
  if (!log.Open()) return -1;
  log.BeginLog("Messwert %s", channel);
  log.AddLog("%s", field);
  log.AddLog("CRC %04X", CRC16(field, static_cast<int>(std::strlen(field))));
  if (!log.EndLog()) return -1;
  return log.GetLastItem();
}

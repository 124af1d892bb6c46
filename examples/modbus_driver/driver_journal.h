#pragma once
// The driver's journal: a LogFile beside the module ("modbus.log" for "modbus.drv") with
// entries "Start", "Verbindung hergestellt", "Verbindung unterbrochen", "Verbindung
// wiederhergestellt", "Zusammenfassung" and "Stopp".
#include <windows.h>

#include "driver_settings.h"
#include "poll_statistics.h"
#include "tambre32/codriver.h"
#include "tambre32/logfile.h"

class driver_journal {
 public:
  explicit driver_journal(HMODULE module);

  void started(const driver_settings& settings, const CoDriver& object);
  // A change of the connection: established (first success), lost (with the reason) or
  // restored.
  void connection_established();
  void connection_lost(const char* reason);
  void connection_restored();
  // The counts so far and the latest level, under the title "Zusammenfassung" or "Stopp".
  void summary(const char* title, const poll_statistics& statistics, double level_m);

 private:
  LogFile log_;
};

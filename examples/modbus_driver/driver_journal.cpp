#include "driver_journal.h"

#include "driver_entry.h"

#include <string>

#include "tambre32/floattext.h"
#include "tambre32/timecore.h"
#include "tambre32/timetext.h"

namespace {

constexpr short kNumberField = 10;

std::string number(double value, short decimals) {
  char text[80];
  return FormatFloat(text, kNumberField, decimals, value, 0);
}

std::string now_text() {
  char text[32];
  return TimeStr(text, _time(nullptr), 0, TS_DAY | TS_MONTH | TS_YEAR | TS_HOUR | TS_MIN | TS_SEC);
}

}  // namespace

driver_journal::driver_journal(HMODULE module) {
  char path[MAX_PATH + 1] = "";
  GetModuleFileNameA(module, path, MAX_PATH);
  log_.SetAutoFileName(path);
}

void driver_journal::started(const driver_settings& settings, const CoDriver& object) {
  log_.BeginLog("Start");
  log_.AddLog("Port %s, Slave %d, Zeitlimit %lu ms", settings.port, settings.slave,
              static_cast<unsigned long>(settings.timeout_ms));
  log_.AddLog("Konfiguration %s", settings.config_file);
  std::string names;
  for (int type : {ctAIn, ctDIn, ctAOut, ctDOut}) {
    const char* table = object.m_shortNames[type];
    for (int i = 0; table && i < object.m_channelCounts[type]; ++i) {
      names += names.empty() ? "" : ", ";
      names += table + i * DRV_SHORT_NAME_SIZE;
    }
  }
  log_.AddLog("Kanaele %s", names.c_str());
  log_.EndLog();
}

void driver_journal::connection_established() {
  log_.BeginLog("Verbindung hergestellt");
  log_.AddLog("um %s", now_text().c_str());
  log_.EndLog();
}

void driver_journal::connection_lost(const char* reason) {
  log_.BeginLog("Verbindung unterbrochen");
  log_.AddLog("%s um %s", reason, now_text().c_str());
  log_.EndLog();
}

void driver_journal::connection_restored() {
  log_.BeginLog("Verbindung wiederhergestellt");
  log_.AddLog("um %s", now_text().c_str());
  log_.EndLog();
}

void driver_journal::summary(const char* title, const poll_statistics& statistics, double level_m) {
  log_.BeginLog("%s", title);
  log_.AddLog("Abfragen %ld, erfolgreich %ld, Zeitueberschreitungen %ld, Pruefsummenfehler %ld", statistics.count(),
              statistics.successes(), statistics.outcomes(DrvTimeout), statistics.outcomes(DrvBadChecksum));
  log_.AddLog("Dauer Mittel %s ms, 99%% %s ms", number(statistics.mean_ms(), 2).c_str(),
              number(statistics.p99_ms(), 2).c_str());
  log_.AddLog("Pegel %s m um %s", number(level_m, 2).c_str(), now_text().c_str());
  log_.EndLog();
}

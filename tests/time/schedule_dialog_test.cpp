// The schedule dialog, shown for real and worked from a helper thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "schedule_builder.h"
#include "support/combo_box.h"
#include "support/dialog_driver.h"
#include "support/dialog_screenshot.h"
#include "tambre32/schedule.h"

namespace {

using namespace tambre::test;
using tambre::test::choose;
using tambre::test::list_texts;
using tambre::test::selection;
using schedule = tambre32::timespec;
using tambre::test::schedule_record;

constexpr char kTitle[] = "Zeitperiode einstellen";
constexpr int kPeriodic = 1000, kOnce = 1001, kKind = 1002, kDay = 1003, kMonth = 1005, kWeekday = 1006, kHour = 1007,
              kMinute = 1009, kPeriodDays = 1011, kPeriodHours = 1013, kPeriodMinutes = 1015, kOnceDay = 1017,
              kOnceMonth = 1019, kOnceYear = 1020, kOnceHour = 1022, kOnceMinute = 1024;
constexpr int kPeriodicFields[] = {kKind,   kDay,        kMonth,       kWeekday,      kHour,
                                   kMinute, kPeriodDays, kPeriodHours, kPeriodMinutes};
constexpr int kOnceFields[] = {kOnceDay, kOnceMonth, kOnceYear, kOnceHour, kOnceMinute};

std::string fields(const schedule& r) {
  char text[128];
  std::snprintf(text, sizeof text, "kind %d min %d hour %d day %d wday %d mon %d year %d len %d",
                static_cast<int>(r.kind), r.minute, r.hour, r.day, r.weekday, r.month, r.year,
                static_cast<int>(r.length));
  return text;
}

void choose_mode(HWND dialog, int radio) {
  CheckRadioButton(dialog, kPeriodic, kOnce, radio);
  click(dialog, radio);
}

void set_number(HWND dialog, int id, int value) { SetDlgItemInt(dialog, id, static_cast<UINT>(value), TRUE); }

// The periodic fields a kind uses (the list entry's position gives the kind: 0 is 99).
std::vector<int> used_fields(int kind) {
  std::vector<int> used = {kKind};
  if (kind == 99) used.insert(used.end(), {kPeriodDays, kPeriodHours, kPeriodMinutes});
  if (kind == 6 || kind == 7 || kind == 99) used.push_back(kMonth);
  if (kind >= 5) used.push_back(kDay);
  if (kind >= 3) used.push_back(kHour);
  if (kind >= 2) used.push_back(kMinute);
  if (kind == 4) used.push_back(kWeekday);
  return used;
}

TEST(TimespecDialog, ListsEnablingAndKindTakenAtOnce) {
  schedule r = schedule_record(3, 30, 6);
  const int kinds[] = {99, 1, 2, 3, 4, 5, 6, 7};
  {
    dialog_driver driver(kTitle, [&r, &kinds](HWND dialog) {
      EXPECT_EQ(list_texts(dialog, kKind),
                (std::vector<std::string>{"Benutzerdefinierte Periode", "Min\xfctlich", "St\xfcndlich", "T\xe4glich",
                                          "W\xf6\x63hentlich", "Monatlich", "Quartal", "J\xe4hrlich"}));
      for (int i = 0; i < 8; ++i) EXPECT_EQ(SendDlgItemMessageA(dialog, kKind, CB_GETITEMDATA, i, 0), kinds[i]);
      const std::vector<std::string> months = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                               "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
      EXPECT_EQ(list_texts(dialog, kMonth), months);
      EXPECT_EQ(list_texts(dialog, kOnceMonth), months);
      EXPECT_TRUE(checked(dialog, kPeriodic));
      EXPECT_FALSE(checked(dialog, kOnce));
      EXPECT_EQ(selection(dialog, kKind), 3);
      EXPECT_EQ(field_text(dialog, kDay) + " " + field_text(dialog, kHour) + ":" + field_text(dialog, kMinute),
                "1 6:30");
      EXPECT_EQ(field_text(dialog, kPeriodDays) + field_text(dialog, kPeriodHours) + field_text(dialog, kPeriodMinutes),
                "100");  // 86400 s: one day, no hours, no minutes
      for (int entry = 0; entry < 8; ++entry) {
        choose(dialog, kKind, entry);
        EXPECT_EQ(r.kind, kinds[entry]);
        const auto used = used_fields(kinds[entry]);
        for (int id : kPeriodicFields)
          EXPECT_EQ(enabled(dialog, id), std::count(used.begin(), used.end(), id) == 1) << kinds[entry] << " " << id;
        for (int id : kOnceFields) EXPECT_FALSE(enabled(dialog, id)) << kinds[entry] << " " << id;
      }
      choose_mode(dialog, kOnce);
      EXPECT_EQ(r.kind, 0);
      for (int id : kPeriodicFields) EXPECT_FALSE(enabled(dialog, id)) << id;
      for (int id : kOnceFields) EXPECT_TRUE(enabled(dialog, id)) << id;
      choose_mode(dialog, kPeriodic);
      EXPECT_EQ(r.kind, 7);  // the entry still chosen
      choose(dialog, kKind, 5);
      click(dialog, IDCANCEL);
    });
    EXPECT_EQ(r.setup(nullptr), IDCANCEL);
  }
  EXPECT_EQ(fields(r), fields(schedule_record(5, 30, 6, 0, 0, 0, 0, 86400)));
}

struct periodic_case {
  int entry;
  int day, month, weekday, hour, minute, period_days, period_hours, period_minutes;
  schedule expected;
};

// The kind, date, hour and period of a case (weekday and minute are the caller's).
void enter_periodic(HWND dialog, const periodic_case& c) {
  choose(dialog, kKind, c.entry);
  set_number(dialog, kDay, c.day);
  choose(dialog, kMonth, c.month);
  set_number(dialog, kHour, c.hour);
  set_number(dialog, kPeriodDays, c.period_days);
  set_number(dialog, kPeriodHours, c.period_hours);
  set_number(dialog, kPeriodMinutes, c.period_minutes);
}

TEST(TimespecDialog, PeriodicOkStoresTheFieldsTheKindUses) {
  const periodic_case cases[] = {
      {3, 9, 4, 3, 7, 8, 0, 0, 0, schedule_record(3, 8, 7, 0, 0, 0, 0, 86400)},
      {4, 9, 4, 1, 6, 0, 0, 0, 0, schedule_record(4, 0, 6, 0, 1, 0, 0, 604800)},
      {5, 31, 4, 3, 6, 0, 0, 0, 0, schedule_record(5, 0, 6, 30, 0, 0, 0, 2678400)},
      {7, 28, 1, 3, 23, 59, 0, 0, 0, schedule_record(7, 59, 23, 27, 0, 1, 0, 31536000)},
      {0, 2, 0, 3, 4, 0, 3, 0, 30, schedule_record(99, 0, 4, 1, 0, 0, 0, 3 * 86400 + 1800)},
      {0, 1, 0, 0, 0, 0, 366, 23, 59, schedule_record(99, 0, 0, 0, 0, 0, 0, 366 * 86400 + 23 * 3600 + 59 * 60)},
  };
  for (const auto& c : cases) {
    schedule r = schedule_record(0, 0, 6, 4, 0, 2, 130);
    dialog_driver driver(kTitle, [&c](HWND dialog) {
      choose_mode(dialog, kPeriodic);
      enter_periodic(dialog, c);
      choose(dialog, kWeekday, c.weekday);
      set_number(dialog, kMinute, c.minute);
      if (c.entry == 0 && c.period_days == 3) {
        EXPECT_TRUE(tambre::test::save_screenshot(dialog, "schedule_periodic"));
      }
      click(dialog, IDOK);
    });
    EXPECT_EQ(r.setup(nullptr), IDOK);
    EXPECT_EQ(fields(r), fields(c.expected)) << c.entry;
  }
}

TEST(TimespecDialog, PeriodicRefusals) {
  const periodic_case refused[] = {
      {0, 1, 0, 0, 0, 0, 0, 0, 0, {}},    // user-defined without length
      {0, 1, 0, 0, 2, 0, 0, 1, 0, {}},    // offset of two hours in a one-hour period
      {0, 30, 1, 0, 0, 0, 40, 0, 0, {}},  // February 30
      {7, 31, 3, 0, 6, 0, 0, 0, 0, {}},   // yearly on April 31
      {7, 29, 1, 0, 6, 0, 0, 0, 0, {}},   // yearly on February 29
      {5, 0, 0, 0, 6, 0, 0, 0, 0, {}},    // monthly on day 0
  };
  schedule r = schedule_record(3, 30, 6);
  r.recalc();  // as the dialog does on opening
  const std::string before = fields(r);
  {
    dialog_driver driver(kTitle, [&refused, &r, &before](HWND dialog) {
      for (const auto& c : refused) {
        enter_periodic(dialog, c);
        click(dialog, IDOK);
        EXPECT_TRUE(still_open(dialog)) << c.entry << " " << c.day;
        schedule kept = r;
        kept.kind = 3;
        EXPECT_EQ(fields(kept), before) << "only the kind changes before OK";
      }
      SendDlgItemMessageA(dialog, kKind, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      click(dialog, IDOK);
      EXPECT_TRUE(still_open(dialog)) << "no kind chosen";
      choose(dialog, kKind, 3);
      click(dialog, IDOK);
    });
    EXPECT_EQ(r.setup(nullptr), IDOK);
  }
  EXPECT_EQ(fields(r), fields(schedule_record(3, 30, 6, 0, 0, 0, 0, 86400)));
}

// Tomorrow at this time by the platform's own clock.
SYSTEMTIME local_tomorrow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME f;
  SystemTimeToFileTime(&now, &f);
  ULARGE_INTEGER u{{f.dwLowDateTime, f.dwHighDateTime}};
  u.QuadPart += 864000000000ULL;
  f = {u.LowPart, u.HighPart};
  SYSTEMTIME tomorrow;
  FileTimeToSystemTime(&f, &tomorrow);
  return tomorrow;
}

TEST(TimespecDialog, OnceShowsTomorrowForPeriodicRecordsAndRefusesBadDates) {
  schedule r = schedule_record(2, 15);
  const SYSTEMTIME tomorrow = local_tomorrow();
  {
    dialog_driver driver(kTitle, [&tomorrow](HWND dialog) {
      EXPECT_EQ(field_text(dialog, kOnceDay) + "." + std::to_string(selection(dialog, kOnceMonth) + 1) + "." +
                    field_text(dialog, kOnceYear) + " " + field_text(dialog, kOnceHour),
                std::to_string(tomorrow.wDay) + "." + std::to_string(tomorrow.wMonth) + "." +
                    std::to_string(tomorrow.wYear) + " " + std::to_string(tomorrow.wHour));
      choose_mode(dialog, kOnce);
      struct {
        int day, month, year;
        const char* why;
      } refused[] = {{31, 3, 2030, "April 31"},
                     {30, 1, 2032, "February 30"},
                     {0, 0, 2030, "day 0"},
                     {1, 0, 1997, "before now"},
                     {1, 0, 2150, "beyond 2099"}};
      for (const auto& c : refused) {
        set_number(dialog, kOnceDay, c.day);
        choose(dialog, kOnceMonth, c.month);
        set_number(dialog, kOnceYear, c.year);
        click(dialog, IDOK);
        EXPECT_TRUE(still_open(dialog)) << c.why;
      }
      set_number(dialog, kOnceDay, 29);
      choose(dialog, kOnceMonth, 1);
      set_number(dialog, kOnceYear, 2032);
      set_number(dialog, kOnceHour, 7);
      set_number(dialog, kOnceMinute, 75);  // minutes count modulo 60
      click(dialog, IDOK);
    });
    EXPECT_EQ(r.setup(nullptr), IDOK);
  }
  EXPECT_EQ(fields(r), fields(schedule_record(0, 15, 7, 28, 0, 1, 132)));
}

TEST(TimespecDialog, OnceRecordOpensOnItsDate) {
  schedule r = schedule_record(0, 5, 6, 4, 0, 2, 131);
  {
    dialog_driver driver(kTitle, [](HWND dialog) {
      EXPECT_TRUE(checked(dialog, kOnce));
      EXPECT_EQ(field_text(dialog, kOnceDay) + "." + std::to_string(selection(dialog, kOnceMonth)) + "." +
                    field_text(dialog, kOnceYear) + " " + field_text(dialog, kOnceHour) + ":" +
                    field_text(dialog, kOnceMinute),
                "5.2.2031 6:5");
      EXPECT_TRUE(tambre::test::save_screenshot(dialog, "schedule_once"));
      click(dialog, IDOK);
    });
    EXPECT_EQ(r.setup(nullptr), IDOK);
  }
  EXPECT_EQ(fields(r), fields(schedule_record(0, 5, 6, 4, 0, 2, 131)));
}

}  // namespace

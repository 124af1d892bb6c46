// The setup and status dialogs, shown for real and worked from a helper thread.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <windows.h>

#include <string>

#include "redundancy/dialog_driver.h"
#include "redundancy/settings_record.h"
#include "tambre32/redundancy.h"

namespace {

using namespace redundancy_test;

constexpr char kSetupTitle[] = "Redundanzmodus einstellen";
constexpr char kStatusTitle[] = "Redundanzstatus";
constexpr int kOff = 1006, kMaster = 1007, kStandby = 1008, kRemote = 1009, kPort = 1000, kTimeout = 1001;
constexpr int kStatus = 1011, kTicker = 1012, kCounter = 1013;
constexpr int kFields[] = {kRemote, kPort, kTimeout};

void fill(HWND dialog, int radio, const char* remote, const char* port, const char* timeout) {
  click(dialog, radio);
  SetDlgItemTextA(dialog, kRemote, remote);
  SetDlgItemTextA(dialog, kPort, port);
  SetDlgItemTextA(dialog, kTimeout, timeout);
}

TEST(SetupDialog, ShowsTheRecordAndStaysOpenUntilTheInputIsValid) {
  struct row {
    int radio;
    const char *remote, *port, *timeout;
  };
  const row rejected[] = {
      {kMaster, "peer", "10990", "0"}, {kMaster, "peer", "10990", "3601"}, {kStandby, "peer", "10990", "x"},
      {kMaster, "peer", "0", "8"},     {kStandby, "peer", "65536", "8"},   {kStandby, "", "10990", "8"},
  };
  RedundancySettings record = filled("peer", 1, 10991, 5000);
  {
    dialog_driver driver(kSetupTitle, [&rejected](HWND dialog) {
      EXPECT_TRUE(checked(dialog, kMaster) && !checked(dialog, kOff) && !checked(dialog, kStandby));
      EXPECT_EQ(field_text(dialog, kRemote), "peer");
      EXPECT_EQ(field_text(dialog, kPort), "10991");
      EXPECT_EQ(field_text(dialog, kTimeout), "5");
      EXPECT_EQ(SendDlgItemMessageA(dialog, kRemote, EM_GETLIMITTEXT, 0, 0), 127);
      // A radio click re-evaluates the enabling both ways.
      for (int radio : {kOff, kStandby}) {
        click(dialog, radio);
        for (int field : kFields) EXPECT_EQ(enabled(dialog, field), radio != kOff) << field;
      }
      for (const row& r : rejected) {
        fill(dialog, r.radio, r.remote, r.port, r.timeout);
        click(dialog, IDOK);
        EXPECT_TRUE(still_open(dialog)) << r.remote << " " << r.port << " " << r.timeout;
      }
      fill(dialog, kStandby, "backup.local", "65535", "3600");  // the limits themselves are accepted
      click(dialog, IDOK);
    });
    EXPECT_EQ(SetupRedundancy(nullptr, nullptr, 0, &record), 1);
  }
  expect_same(record, filled("backup.local", 2, 65535, 3600000));
}

TEST(StatusDialog, StandbyFollowsItsQueries) {
  EXPECT_EQ(ShowRedundancyStatus(nullptr, nullptr), 0);
  EXPECT_EQ(FindWindowA("#32770", kStatusTitle), nullptr);

  RedundancyHandle* link = OpenRedundancy("127.0.0.1", "23990", 2, 300, nullptr);
  ASSERT_NE(link, nullptr);
  ASSERT_EQ(QueryRedundancy(link, nullptr), 1);  // the master counts as alive at first
  {
    dialog_driver driver(kStatusTitle, [link](HWND dialog) {
      EXPECT_TRUE(checked(dialog, kStandby) && !checked(dialog, kMaster));
      EXPECT_EQ(field_text(dialog, kRemote), "127.0.0.1");
      EXPECT_EQ(field_text(dialog, kPort), "23990");
      EXPECT_EQ(field_text(dialog, kStatus), "Master online");
      EXPECT_EQ(field_text(dialog, kTicker), std::to_string(link->LastContact));
      EXPECT_EQ(field_text(dialog, kCounter), "0");
      // No master ever sends: the standby takes over, and a later refresh says so.
      EXPECT_TRUE(wait_until([link] { return QueryRedundancy(link, nullptr) == -1; }));
      EXPECT_TRUE(wait_until([dialog] { return field_text(dialog, kStatus) == "Master offline"; }));
      EXPECT_TRUE(still_open(dialog));
      click(dialog, IDOK);
    });
    EXPECT_EQ(ShowRedundancyStatus(nullptr, link), 1);
  }
  EXPECT_EQ(CloseRedundancy(link), 1);
}

}  // namespace

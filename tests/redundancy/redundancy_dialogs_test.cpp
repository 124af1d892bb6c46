// The setup and status dialogs, shown for real and worked from a helper thread.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <windows.h>

#include <string>

#include "redundancy/settings_record.h"
#include "support/dialog_driver.h"
#include "support/eventually.h"
#include "tambre32/redundancy.h"

namespace {

using namespace redundancy_test;
using namespace tambre::test;

constexpr int kOff = 1006, kMaster = 1007, kStandby = 1008, kRemote = 1009, kPort = 1000, kTimeout = 1001;
constexpr int kStatus = 1011, kTicker = 1012, kCounter = 1013;

// A click on a mode radio also moves the check, as the user's would.
void click_radio(HWND dialog, int id) {
  CheckRadioButton(dialog, kOff, kStandby, id);
  click(dialog, id);
}

TEST(SetupDialog, ShowsTheRecordAndStaysOpenUntilTheInputIsValid) {
  const struct {
    int radio;
    const char *remote, *port, *timeout;
  } rejected[] = {
      {kMaster, "peer", "10990", "0"},
      {kMaster, "peer", "10990", "3601"},
      {kStandby, "peer", "10990", "x"},
      {kMaster, "peer", "0", "8"},
      {kStandby, "peer", "65536", "8"},
      {kStandby, "", "10990", "8"},
      {kStandby, "backup.local", "65535", "3600"},  // the limits themselves are accepted
  };
  dialog_driver driver("Redundanzmodus einstellen", [&](HWND dialog) {
    EXPECT_TRUE(checked(dialog, kMaster) && !checked(dialog, kOff) && !checked(dialog, kStandby));
    EXPECT_EQ(field_text(dialog, kRemote), "peer");
    EXPECT_EQ(field_text(dialog, kPort), "10991");
    EXPECT_EQ(field_text(dialog, kTimeout), "5");
    EXPECT_EQ(SendDlgItemMessageA(dialog, kRemote, EM_GETLIMITTEXT, 0, 0), 127);
    for (int radio : {kOff, kStandby}) {  // a radio click re-evaluates the enabling both ways
      click_radio(dialog, radio);
      for (int field : {kRemote, kPort, kTimeout}) EXPECT_EQ(enabled(dialog, field), radio != kOff) << field;
    }
    for (const auto& r : rejected) {
      EXPECT_TRUE(still_open(dialog)) << r.remote << " " << r.port << " " << r.timeout;
      click_radio(dialog, r.radio);
      SetDlgItemTextA(dialog, kRemote, r.remote);
      SetDlgItemTextA(dialog, kPort, r.port);
      SetDlgItemTextA(dialog, kTimeout, r.timeout);
      click(dialog, IDOK);
    }
    if (!eventually([dialog] { return !still_open(dialog); })) {
      ADD_FAILURE() << "still open after valid input";
      click(dialog, IDCANCEL);
    }
  });
  RedundancySettings record = filled("peer", 1, 10991, 5000);
  EXPECT_EQ(SetupRedundancy(nullptr, nullptr, 0, &record), 1);
  expect_same(record, filled("backup.local", 2, 65535, 3600000));
}

TEST(StatusDialog, StandbyFollowsItsQueries) {
  EXPECT_EQ(ShowRedundancyStatus(nullptr, nullptr), 0);
  EXPECT_EQ(FindWindowA("#32770", "Redundanzstatus"), nullptr);

  RedundancyHandle* link = OpenRedundancy("127.0.0.1", "23990", 2, 300, nullptr);
  ASSERT_NE(link, nullptr);
  ASSERT_EQ(QueryRedundancy(link, nullptr), 1);  // the master counts as alive at first
  dialog_driver driver("Redundanzstatus", [link](HWND dialog) {
    EXPECT_TRUE(checked(dialog, kStandby) && !checked(dialog, kMaster));
    EXPECT_EQ(field_text(dialog, kRemote), "127.0.0.1");
    EXPECT_EQ(field_text(dialog, kPort), "23990");
    EXPECT_EQ(field_text(dialog, kStatus), "Master online");
    EXPECT_EQ(field_text(dialog, kTicker), std::to_string(link->LastContact));
    EXPECT_EQ(field_text(dialog, kCounter), "0");
    // No master ever sends: the standby takes over, and the next refresh of the open dialog says so.
    EXPECT_TRUE(eventually([link] { return QueryRedundancy(link, nullptr) == -1; }));
    EXPECT_TRUE(eventually([dialog] { return field_text(dialog, kStatus) == "Master offline"; }))
        << field_text(dialog, kStatus);
    click(dialog, IDOK);
  });
  EXPECT_EQ(ShowRedundancyStatus(nullptr, link), 1);
  EXPECT_EQ(CloseRedundancy(link), 1);
}

}  // namespace

// StopObject gives up on a server thread that does not end in time.
#include <gtest/gtest.h>

#include "codriver/codriver_test_support.h"
#include "support/rpc_service.h"

namespace {

TEST(StopObject, TerminatesAThreadThatDoesNotEndInTime) {
  ASSERT_TRUE(tambre::test::ensure_rpc_service_running());
  tambre::test::apartment mta(COINIT_MULTITHREADED);
  auto* driver = new CoDriver;
  HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  tambre::test::recording_sink stuck;
  stuck.on_terminate = [never] { WaitForSingleObject(never, INFINITE); };  // holds the server thread in its teardown
  DWORD cookie = 0;
  ASSERT_EQ(driver->m_point.Advise(static_cast<IProcessDriverEvent*>(&stuck), &cookie), S_OK);
  ASSERT_TRUE(driver->RunObject(0, nullptr));
  EXPECT_FALSE(driver->StopObject(200));  // returns although the thread never ends
  EXPECT_EQ(stuck.terminates, 1);
  EXPECT_EQ(driver->m_thread, nullptr);
  EXPECT_EQ(driver->m_stopEvent, nullptr);
  EXPECT_TRUE(driver->StopObject(0));  // nothing left to stop
  // The terminated thread never revoked its class and active objects: remove them here, so
  // that clients started later in this prefix do not find a server that is gone.
  EXPECT_NE(driver->m_classCookie, 0u);
  CoRevokeClassObject(driver->m_classCookie);
  RevokeActiveObject(driver->m_activeCookie, nullptr);
  CloseHandle(never);
}

}  // namespace

// StopObject gives up on a server thread that does not end in time.
#include <gtest/gtest.h>

#include "codriver/codriver_test_support.h"
#include "support/rpc_service.h"

namespace {

TEST(StopObject, TerminatesAThreadThatDoesNotEndInTime) {
  ASSERT_TRUE(tambre::test::ensure_rpc_service_running());
  tambre::test::apartment mta(COINIT_MULTITHREADED);
  auto* driver = new CoDriver;
  tambre::test::recording_sink slow;
  slow.on_terminate = [] { Sleep(3000); };  // keeps the server thread in its teardown
  DWORD cookie = 0;
  ASSERT_EQ(driver->m_point.Advise(static_cast<IProcessDriverEvent*>(&slow), &cookie), S_OK);
  EXPECT_EQ(cookie, 1u);  // the first subscription of the process
  ASSERT_TRUE(driver->RunObject(0, nullptr));
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(driver->StopObject(200));
  EXPECT_LT(GetTickCount64() - start, 2500u);
  EXPECT_EQ(slow.terminates, 1);
  EXPECT_EQ(driver->m_thread, nullptr);
  EXPECT_EQ(driver->m_stopEvent, nullptr);
  EXPECT_TRUE(driver->StopObject(0));  // nothing left to stop
  // The terminated thread never revoked its class and active objects: remove them here, so
  // that clients started later in this prefix do not find a server that is gone.
  EXPECT_NE(driver->m_classCookie, 0u);
  CoRevokeClassObject(driver->m_classCookie);
  RevokeActiveObject(driver->m_activeCookie, nullptr);
}

}  // namespace

// End to end with an automation client nobody here wrote: the prefix's cscript.exe runs a
// JScript client that creates "ProcessDriver.Server" by its ProgID. COM hands it the class
// object the driver's server thread registered in this process, and every call crosses
// the process boundary through the standard automation marshaller, which finds the
// interfaces through the registration the server thread wrote on start.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "codriver/codriver_test_support.h"
#include "config/registry_oracle.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/rpc_service.h"
#include "support/temp_dir.h"

namespace {

using tambre::test::apartment;
using tambre::test::low_block;

// Wine's script host ends with status 0 and says nothing when a script throws, so the
// client reports its own error: the number says which step of the activation failed.
constexpr char kClient[] = R"(try {
var driver = new ActiveXObject("ProcessDriver.Server");
WScript.Echo("Name=" + driver.Name);
WScript.Echo("ProjectID=" + driver.ProjectID);
var types = [0, 1, 3, 4, 6, 7, 9, 10];
for (var i = 0; i < types.length; i++)
  WScript.Echo("ChannelCount(" + types[i] + ")=" + driver.ChannelCount(types[i]));
var inputs = driver.ChannelMaps(0);
WScript.Echo("Count=" + inputs.Count);
for (var n = 1; n <= inputs.Count; n++) WScript.Echo("Item(" + n + ")=" + inputs.Item(n).Name);
try {
  for (var e = new Enumerator(driver.ChannelMaps(4)); !e.atEnd(); e.moveNext())
    WScript.Echo("Each=" + e.item().Name);
} catch (x) { WScript.Echo("error " + x.number); }
} catch (outer) {
  WScript.Echo("client error 0x" + (outer.number >>> 0).toString(16) + " " + outer.description);
}
)";

TEST(ScriptClient, CscriptReadsTheRunningServerThroughItsProgId) {
  ASSERT_TRUE(tambre::test::ensure_rpc_service_running());
  apartment mta(COINIT_MULTITHREADED);
  // A registration left by someone else must not decide the outcome: the server thread
  // writes its own.
  config_test::delete_tree(HKEY_CLASSES_ROOT, "ProcessDriver.Server");
  config_test::delete_tree(HKEY_CLASSES_ROOT, "TypeLib\\{95EE0E40-EB12-4304-9D9D-8A8A73AA543C}");

  low_block names(4096);
  unsigned char* inputs = names.data();
  unsigned char* outputs = names.data() + 1024;
  tambre::test::fill_names(inputs, 3, DRV_SHORT_NAME_SIZE, "Pumpe");
  tambre::test::fill_names(outputs, 2, DRV_SHORT_NAME_SIZE, "Ventil");

  auto* driver = new CoDriver;
  ASSERT_TRUE(driver->SetClassName("Klaeranlage"));
  driver->m_projectId = 42;
  driver->m_channelCounts[ctAIn] = 3;
  driver->m_channelCounts[ctDOut] = 2;
  driver->m_channelCounts[ctMIn] = 5;
  driver->m_shortNames[ctAIn] = reinterpret_cast<char*>(inputs);
  driver->m_shortNames[ctDOut] = reinterpret_cast<char*>(outputs);
  ASSERT_TRUE(
      driver->RunObject(DRV_RUN_FILE_MONIKER | DRV_RUN_TYPE_INFO | DRV_RUN_REGISTER | DRV_RUN_CHANNEL_COUNTS, nullptr));
  ASSERT_TRUE(config_test::inspect_key(HKEY_CLASSES_ROOT, "ProcessDriver.Server").exists);

  tambre::test::temp_dir directory;
  const std::string script = directory.file("client.js");
  tambre::test::write_file(script, kClient);
  constexpr char kExpected[] =
      "Name=Klaeranlage\n"
      "ProjectID=42\n"
      "ChannelCount(0)=3\n"
      "ChannelCount(1)=0\n"
      "ChannelCount(3)=0\n"
      "ChannelCount(4)=2\n"
      "ChannelCount(6)=0\n"
      "ChannelCount(7)=0\n"
      "ChannelCount(9)=5\n"
      "ChannelCount(10)=0\n"
      "Count=3\n"
      "Item(1)=Pumpe1\n"
      "Item(2)=Pumpe2\n"
      "Item(3)=Pumpe3\n"
      "Each=Ventil1\n"
      "Each=Ventil2\n";
  // The script host's own messages go to the test's log when the client fails. A client
  // that fails is started again (three times at most, half a second apart): on a loaded
  // machine the first activation across processes has been seen to fail once. Every
  // failed attempt is printed.
  SetEnvironmentVariableA("WINEDEBUG", "err+all,fixme+wscript,fixme+jscript");
  DWORD exit_code = 0xFFFFFFFF;
  std::string output;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    tambre::test::child_process client("cscript.exe //nologo \"" + script + "\"", true);
    output = client.started() ? client.output() : "<not started>";
    exit_code = client.wait();
    if (output == kExpected) break;
    std::printf("client attempt %d (exit %lu):\n%s\n", attempt, exit_code, output.c_str());
    Sleep(500);
  }
  SetEnvironmentVariableA("WINEDEBUG", nullptr);

  EXPECT_EQ(output, kExpected);
  EXPECT_EQ(exit_code, 0u);

  EXPECT_EQ(CoDriver::Destroy(driver), nullptr);
}

}  // namespace

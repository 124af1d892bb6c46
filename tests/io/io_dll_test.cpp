// The exported hardware functions on Wine, which has no kernel port-I/O device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/box_catcher.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

TEST(io_dll, WithoutTheKernelDeviceNothingIsInstalledAndPortsStayUntouched) {
  EXPECT_FALSE(IODeviceInstalled() || IODeviceInstalledEx(0, 0) || IORegister());
  EXPECT_EQ(IOOpen(), nullptr);
  BYTE b = 0x5A;
  EXPECT_FALSE(IORead8(reinterpret_cast<HANDLE>(1), 0x300, &b) || IOWrite8(reinterpret_cast<HANDLE>(1), 0x300, 1));
  EXPECT_EQ(b, 0x5A);
  DWORD capacity = 4;
  unsigned char records[4 * TAMBRE_PCI_RECORD_SIZE];
  EXPECT_EQ(PCIOpen(0x10B5, &capacity, records), nullptr);
  EXPECT_EQ(capacity, 0u);
  EXPECT_EQ(PCIEnumDevice(0x10B5), -1);
  EXPECT_EQ(IOAllocPhysicalMemory(0xD0000000, 0x1000), nullptr);
}

TEST(io_dll, SystemPortsAndTheQuestionAboutPcHardware) {
  // Without asking no port shows a box; asked about, a free port shows none either.
  EXPECT_EQ(IOIsSystemPort(0x60, 0), 1);
  EXPECT_EQ(IOIsSystemPort(0x3F8, 0), 0);
  EXPECT_EQ(IOIsSystemPort(0x300, 1), 0);
  EXPECT_TRUE(no_box_visible());
  {
    box_catcher catcher(IDNO);
    EXPECT_EQ(IOIsSystemPort(0x3F8, 1), 1);
    caught_box box = catcher.wait();
    EXPECT_EQ(box.caption, "Treiber");
    EXPECT_EQ(box.text.rfind("Die EA-Adresse '3F8' (hex) wird vermutlich von der PC-Hardware benutzt", 0), 0u)
        << box.text;
    EXPECT_EQ(box.icon, box_icon::question);
  }
  box_catcher yes(IDYES);
  EXPECT_EQ(IOIsSystemPort(0x1F0, 1), 0);
  EXPECT_TRUE(yes.wait().found);
  box_catcher catcher(IDOK);
  EXPECT_EQ(IOIsSystemPort(0x60, 1), 1);
  caught_box box = catcher.wait();
  EXPECT_EQ(box.text, "Die EA-Adresse '60' (hex) wird vom System benutzt und kann nicht verwendet werden.");
  EXPECT_EQ(box.icon, box_icon::hand);
}

TEST(control_nt_service, CreateMakesAnAutomaticKernelDriverThatWineCannotStart) {
  const char* name = "TambreTestDev";
  ASSERT_TRUE(ControlNTService(name, TAMBRE_SERVICE_CREATE, nullptr)) << GetLastError();
  EXPECT_TRUE(ControlNTService(name, TAMBRE_SERVICE_CREATE, nullptr));
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  ASSERT_NE(manager, nullptr);
  SC_HANDLE service = OpenServiceA(manager, name, SERVICE_ALL_ACCESS);
  ASSERT_NE(service, nullptr);
  std::vector<unsigned char> buffer(8192);
  DWORD needed = 0;
  ASSERT_TRUE(QueryServiceConfigA(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data()),
                                  static_cast<DWORD>(buffer.size()), &needed));
  const auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
  EXPECT_EQ((std::vector<DWORD>{config->dwServiceType, config->dwStartType, config->dwErrorControl}),
            (std::vector<DWORD>{SERVICE_KERNEL_DRIVER, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL}));
  EXPECT_NE(std::string(config->lpBinaryPathName).find("\\drivers\\TambreTestDev.sys"), std::string::npos);
  EXPECT_FALSE(ControlNTService(name, TAMBRE_SERVICE_START, nullptr));
  char display[80] = "";
  EXPECT_FALSE(ControlNTService(name, 3, display));  // another operation only fills the display name
  EXPECT_STREQ(display, name);
  EXPECT_TRUE(ControlNTService(name, TAMBRE_SERVICE_STOP, nullptr)) << "stopping a stopped service is done";
  DeleteService(service);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);

  SetLastError(0);
  EXPECT_FALSE(ControlNTService("TambreNoSuchService", TAMBRE_SERVICE_START, display));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
  EXPECT_STREQ(display, "TambreNoSuchService");
  EXPECT_FALSE(ControlNTService(nullptr, TAMBRE_SERVICE_START, nullptr));
}

}  // namespace
}  // namespace tambre::test

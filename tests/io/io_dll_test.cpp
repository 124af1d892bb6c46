// The exported hardware functions through tambre32.dll on this (Wine) system, which has
// no kernel port-I/O device, and with its real service control manager.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "io/box_sequence.h"

#include "support/box_catcher.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

TEST(io_dll, WithoutTheKernelDeviceNothingIsInstalledAndPortsStayUntouched) {
  EXPECT_FALSE(IODeviceInstalled());
  EXPECT_FALSE(IODeviceInstalledEx(0, 0));
  EXPECT_FALSE(IORegister());
  EXPECT_EQ(IOOpen(), nullptr);
  BYTE b = 0x5A;
  DWORD d = 0x12345678;
  EXPECT_FALSE(IORead8(reinterpret_cast<HANDLE>(1), 0x300, &b));
  EXPECT_FALSE(IORead32(reinterpret_cast<HANDLE>(1), 0x300, &d));
  EXPECT_FALSE(IOWrite8(reinterpret_cast<HANDLE>(1), 0x300, 1));
  EXPECT_EQ(b, 0x5A);
  EXPECT_EQ(d, 0x12345678u);
  DWORD capacity = 4;
  unsigned char records[4 * TAMBRE_PCI_RECORD_SIZE];
  EXPECT_EQ(PCIOpen(0x10B5, &capacity, records), nullptr);
  EXPECT_EQ(capacity, 0u);
  EXPECT_EQ(PCIEnumDevice(0x10B5), -1);
  EXPECT_EQ(IOAllocPhysicalMemory(0xD0000000, 0x1000), nullptr);
}

TEST(io_dll, SystemPortWithoutABox) {
  struct row {
    DWORD port;
    int ask;
    int expected;
  };
  // Without asking no port shows a box; asked about, a free port shows none either.
  const row rows[] = {{0x60, 0, 1},  {0x0, 0, 1},   {0xFF, 0, 1},  {0x378, 0, 0},
                      {0x3F8, 0, 0}, {0x300, 0, 0}, {0x100, 0, 0}, {0x300, 1, 0}};
  for (const row& r : rows) EXPECT_EQ(IOIsSystemPort(r.port, r.ask), r.expected) << std::hex << r.port << " " << r.ask;
  EXPECT_TRUE(no_box_visible());
}

TEST(io_dll, AskedAboutAPortThePcHardwareAnswerDecidesTheSystemIsReported) {
  {
    box_catcher catcher(IDNO);
    EXPECT_EQ(IOIsSystemPort(0x3F8, 1), 1);
    caught_box box = catcher.wait();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, "Treiber");
    EXPECT_EQ(box.text.rfind("Die EA-Adresse '3F8' (hex) wird vermutlich von der PC-Hardware benutzt", 0), 0u)
        << box.text;
    EXPECT_EQ(box.icon, box_icon::question);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
  }
  {
    box_catcher catcher(IDYES);
    EXPECT_EQ(IOIsSystemPort(0x1F0, 1), 0);
    EXPECT_TRUE(catcher.wait().found);
  }
  // A system port, asked about, is reported.
  box_catcher catcher(IDOK);
  EXPECT_EQ(IOIsSystemPort(0x60, 1), 1);
  caught_box box = catcher.wait();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, "Die EA-Adresse '60' (hex) wird vom System benutzt und kann nicht verwendet werden.");
  EXPECT_EQ(box.icon, box_icon::hand);
}

TEST(control_nt_service, CreateMakesAnAutomaticKernelDriverAndAgainIsSuccess) {
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
  EXPECT_EQ(config->dwServiceType, static_cast<DWORD>(SERVICE_KERNEL_DRIVER));
  EXPECT_EQ(config->dwStartType, static_cast<DWORD>(SERVICE_AUTO_START));
  EXPECT_EQ(config->dwErrorControl, static_cast<DWORD>(SERVICE_ERROR_NORMAL));
  const std::string image = config->lpBinaryPathName;
  EXPECT_NE(image.find("\\drivers\\TambreTestDev.sys"), std::string::npos) << image;
  EXPECT_STREQ(config->lpDisplayName, name);

  // Another operation only fills the display name.
  char display[80] = "";
  EXPECT_FALSE(ControlNTService(name, 3, display));
  EXPECT_STREQ(display, name);
  // Stopping a stopped service is done already.
  EXPECT_TRUE(ControlNTService(name, TAMBRE_SERVICE_STOP, nullptr));
  DeleteService(service);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
}

TEST(control_nt_service, UnknownServiceFailsWithThePlatformError) {
  SetLastError(0);
  char display[80] = "x";
  EXPECT_FALSE(ControlNTService("TambreNoSuchService", TAMBRE_SERVICE_START, display));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
  EXPECT_STREQ(display, "TambreNoSuchService");
  EXPECT_FALSE(ControlNTService(nullptr, TAMBRE_SERVICE_START, nullptr));
}

void delete_service(const char* name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) return;
  if (SC_HANDLE service = OpenServiceA(manager, name, DELETE)) {
    DeleteService(service);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

// The whole flow on the prefix, nothing scripted: a kernel driver cannot start under
// Wine, so both devices fail to start and the flow ends in its failure report.
TEST(io_dll, InstallationWhoseStartFailsFallsBackAndReports) {
  namespace fs = std::filesystem;
  char module[MAX_PATH];
  ASSERT_NE(GetModuleFileNameA(GetModuleHandleA("tambre32.dll"), module, sizeof module), 0u);
  const fs::path beside = fs::path(module).parent_path();
  char system[MAX_PATH];
  GetSystemDirectoryA(system, sizeof system);
  const fs::path drivers = fs::path(system) / "drivers";
  for (const char* file : {"Ferrol2k.sys", "Ferrolin.sys"}) std::ofstream(beside / file, std::ios::binary) << "device";

  box_sequence boxes({IDYES, IDOK, IDOK});
  EXPECT_FALSE(IOQueryDeviceInstall());
  const auto caught = boxes.wait();
  ASSERT_EQ(caught.size(), 3u);
  EXPECT_NE(caught[0].text.find("'Ferrol2k.sys'"), std::string::npos);
  EXPECT_EQ(caught[1].caption, "Systemmeldung");
  EXPECT_NE(caught[2].text.find("'Ferrolin.sys' konnte nicht installiert werden"), std::string::npos);
  EXPECT_FALSE(fs::exists(drivers / "Ferrol2k.sys"));
  EXPECT_TRUE(fs::exists(drivers / "Ferrolin.sys"));

  for (const char* file : {"Ferrol2k.sys", "Ferrolin.sys"}) {
    fs::remove(beside / file);
    fs::remove(drivers / file);
  }
  for (const char* name : {"Ferrol2k", "Ferrolin"}) delete_service(name);
}

}  // namespace
}  // namespace tambre::test

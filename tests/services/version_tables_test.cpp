// Version records of every Windows the table knows, and its boundaries, mapped to codes,
// names and the answers of the version questions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "services/version_tables.h"

namespace {

using tambre::services::version_code;
using tambre::services::version_name_answer;
using tambre::services::version_param;
using tambre::sys::os_version;

constexpr unsigned k9x = 1, kNt = 2, kWs = 1, kSrv = 3;

os_version record(unsigned platform, unsigned major, unsigned minor, unsigned product = kWs) {
  os_version v;
  v.platform = platform;
  v.major = major;
  v.minor = minor;
  v.product_type = static_cast<std::uint8_t>(product);
  return v;
}

int no_wow64() { return 0; }
int on_wow64() { return 1; }
int wow64_failed() { return -1; }

struct version_row {
  const char* label;
  os_version version;
  int code;
  const char* name;
  // Answers of selectors 0 to 19, one digit each, with the 32-bit-on-64-bit query saying no.
  const char* answers;
  int selector34;
};

const version_row rows[] = {
    {"95", record(k9x, 4, 0), 1, "Windows 95", "00100000100000000000", 40},
    {"9x 4.9", record(k9x, 4, 9), 1, "Windows 95", "00000000100000000000", 40},
    {"98", record(k9x, 4, 10), 2, "Windows 98", "00010011100000000000", 40},
    {"9x 4.89", record(k9x, 4, 89), 2, "Windows 98", "00010011100000000000", 40},
    {"Me", record(k9x, 4, 90), -1, "Windows Me", "00010011100000000000", 40},
    {"9x 3.0", record(k9x, 3, 0), 0, "Windows (higher)", "00100000100000000000", 40},
    {"9x 5.0", record(k9x, 5, 0), 6, "Windows Server 2003", "00100000100000000000", 40},
    {"NT 3.51", record(kNt, 3, 51), 3, "Windows NT", "10001010000000000000", 40},
    {"NT 4.0", record(kNt, 4, 0), 3, "Windows NT", "10001110000000000000", 40},
    {"2000", record(kNt, 5, 0), 4, "Windows 2000", "11001111100000000000", 40},
    {"XP", record(kNt, 5, 1), 5, "Windows XP", "11001111110000000000", 48},
    {"2003", record(kNt, 5, 2, kSrv), 6, "Windows Server 2003", "11001111111000000000", 48},
    {"NT 5.3", record(kNt, 5, 3), 14, "Windows (higher)", "11001111111101111110", 48},
    {"Vista", record(kNt, 6, 0), 7, "Windows Vista", "11001111111110000000", 48},
    {"2008", record(kNt, 6, 0, kSrv), 8, "Windows Server 2008", "11001111111111000000", 48},
    {"7", record(kNt, 6, 1), 9, "Windows 7", "11001111111111100000", 48},
    {"2008 R2", record(kNt, 6, 1, kSrv), 8, "Windows Server 2008", "11001111111111000000", 48},
    {"8", record(kNt, 6, 2), 11, "Windows 8", "11001111111111111000", 48},
    {"2012", record(kNt, 6, 2, kSrv), 10, "Windows Server 2012", "11001111111111101000", 48},
    {"8.1", record(kNt, 6, 3), 12, "Windows 8.1", "11001111111111111100", 48},
    {"2012 R2", record(kNt, 6, 3, kSrv), 13, "Windows Server 2012 R2", "11001111111111111110", 48},
    {"NT 6.4", record(kNt, 6, 4), 14, "Windows (higher)", "11001111111111111110", 48},
    {"10", record(kNt, 10, 0), 14, "Windows (higher)", "11001111111111111110", 48},
    {"Win32s", record(0, 3, 1), 0, "Windows (higher)", "00000000100000000000", 40},
    {"CE", record(3, 5, 0), 0, "Windows (higher)", "00000000100000000000", 40},
};

TEST(VersionTable, CodesNamesAndQuestions) {
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(version_code(row.version), row.code);
    EXPECT_STREQ(reinterpret_cast<const char*>(version_name_answer(row.version, 5)), row.name);
    EXPECT_STREQ(reinterpret_cast<const char*>(version_name_answer(row.version, 0)), row.name);
    std::string answers;
    for (int selector = 0; selector <= 19; ++selector)
      answers += static_cast<char>('0' + version_param(row.version, selector, no_wow64));
    EXPECT_EQ(answers, row.answers);
    EXPECT_EQ(version_param(row.version, 34, no_wow64), row.selector34);
    for (int selector : {-1, 20, 25, 31, 35, 1000})
      EXPECT_EQ(version_param(row.version, selector, on_wow64), 0) << selector;
  }
}

TEST(VersionTable, Selector19IsTheThirtyTwoOnSixtyFourAnswer) {
  const os_version seven = record(kNt, 6, 1);
  EXPECT_EQ(version_param(seven, 19, on_wow64), 1);
  EXPECT_EQ(version_param(seven, 19, wow64_failed), 0);
  EXPECT_EQ(version_param(seven, 19, no_wow64), 0);
}

TEST(VersionTable, NameSelectorsGiveTheRawRecord) {
  os_version nt = record(kNt, 6, 1);
  nt.build = 7601;
  std::strcpy(nt.service_pack, "Service Pack 1");
  EXPECT_EQ(reinterpret_cast<const char*>(version_name_answer(nt, 1)), nt.service_pack);
  EXPECT_EQ(version_name_answer(nt, 2), 7601);
  EXPECT_EQ(version_name_answer(nt, 3), 6);
  EXPECT_EQ(version_name_answer(nt, 4), 1);
  // The 9x family keeps version numbers in the high half of its build word.
  os_version me = record(k9x, 4, 90);
  me.build = 0x045A0BB8;
  EXPECT_EQ(version_name_answer(me, 2), 0x0BB8);
}

}  // namespace

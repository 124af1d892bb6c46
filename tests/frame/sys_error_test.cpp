// System error texts against the system's own FormatMessageA.
#include <gtest/gtest.h>

#include <cstring>

#include "frame_test_support.h"
#include "tambre32/frame.h"

namespace {

std::string one_line(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

TEST(GetSysError, SystemTextOnOneLineWithItsCodeAndAsItComes) {
  // How the line is built is the frame's text rule (frame_text_test); here the system's texts.
  char buffer[512];
  EXPECT_EQ(GetSysError(buffer, sizeof buffer, 0x80070005u), buffer);
  EXPECT_EQ(std::string(buffer), one_line(frame_test::system_text(0x80070005u)) + "[OS #80070005]");
  SetLastError(ERROR_FILE_NOT_FOUND);
  GetSysError(buffer, sizeof buffer, 0xFFFFFFFFu);
  EXPECT_EQ(std::string(buffer), one_line(frame_test::system_text(ERROR_FILE_NOT_FOUND)) + "[OS #2]");
  std::memset(buffer, '#', sizeof buffer);
  GetSysError(buffer, 21, ERROR_ACCESS_DENIED);
  EXPECT_EQ(buffer[21], '#') << "never beyond the size";
  EXPECT_EQ(GetSysError(nullptr, 10, 5), nullptr);

  EXPECT_EQ(GetSysErrorStr(buffer, sizeof buffer, 0), 1);
  EXPECT_STREQ(buffer, "");
  SetLastError(ERROR_INVALID_PARAMETER);
  const std::string text = frame_test::system_text(ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetSysErrorStr(buffer, sizeof buffer, 0xFFFFFFFFu), static_cast<int>(text.size()));
  EXPECT_EQ(std::string(buffer), text);
  char small[4] = "abc";
  EXPECT_EQ(GetSysErrorStr(small, sizeof small, ERROR_ACCESS_DENIED), 0);
  EXPECT_STREQ(small, "");
  EXPECT_EQ(GetSysErrorStr(buffer, sizeof buffer, 0x2000ABCDu), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(GetSysErrorStr(nullptr, 10, 5), 0);
}

}  // namespace

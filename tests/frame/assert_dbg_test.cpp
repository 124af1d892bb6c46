// Assertions: the debugger line, the box of mode 1, the structured exception of mode -1.
#include <gtest/gtest.h>

#include "support/box_catcher.h"
#include "support/debug_output_capture.h"
#include "tambre32/frame.h"

namespace {

using tambre::test::debug_output_capture;
using lines = std::vector<std::string>;

TEST(AssertDbg, DebuggerLineOfAFailedCondition) {
  const std::string long_expression(1000, 'e');
  struct row {
    const char* name;
    int condition;
    const char* expression;
    lines written;
  } rows[] = {
      {"true condition writes nothing", 1, "x > 0", {}},
      {"one line to the debugger", 0, "x > 0", {"ASSERTION FAILED: x > 0 [File: f.cpp, Line: 12]\n"}},
      {"cut at 799 characters", 0, long_expression.c_str(), {"ASSERTION FAILED: " + std::string(799 - 18, 'e')}},
  };
  for (const auto& r : rows) {
    debug_output_capture capture;
    EXPECT_EQ(AssertDbg(r.condition, r.expression, "f.cpp", 12, 0), r.condition) << r.name;
    EXPECT_EQ(capture.lines(), r.written) << r.name;
  }
  EXPECT_EQ(AssertDbg(1, "x > 0", "f.cpp", 12, 1), 1) << "no box for a true condition";
}

TEST(AssertDbg, ModeOneShowsAHandBox) {
  debug_output_capture capture;
  tambre::test::box_catcher catcher(IDOK);
  EXPECT_EQ(AssertDbg(0, "p != 0", "drv.cpp", 99, 1), 0);
  auto box = catcher.wait();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.caption, "Assertion");
  EXPECT_EQ(box.text, "ASSERTION FAILED:\n\nExpr:\tp != 0\nFile:\tdrv.cpp\nLine:\t99");
  EXPECT_EQ(box.icon, tambre::test::box_icon::hand);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(capture.lines().size(), 1u);
}

TEST(AssertDbg, ModeMinusOneRaisesTheAssertionException) {
  debug_output_capture capture(TAMBRE_ASSERT_EXCEPTION);
  EXPECT_EQ(AssertDbg(0, "ok", "a.cpp", 5, -1), 0);
  EXPECT_EQ(capture.swallowed(), 1);
  EXPECT_EQ(capture.lines(), (lines{"ASSERTION FAILED: ok [File: a.cpp, Line: 5]\n"}));
  EXPECT_EQ(AssertDbg(0, "ok", "a.cpp", 5, 7), 0);  // other modes: the line is all
  EXPECT_EQ(capture.swallowed(), 1);
}

}  // namespace

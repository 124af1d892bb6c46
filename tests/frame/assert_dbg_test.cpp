// Assertions: the debugger line, the box of mode 1, the structured exception of mode -1.
#include <gtest/gtest.h>

#include "support/box_catcher.h"
#include "tambre32/frame.h"

namespace {

using lines = std::vector<std::string>;

// The debugger lines of this thread's calls (a vectored handler sees DBG_PRINTEXCEPTION_C
// first); counts and continues past one kind of structured exception.
struct debug_output_capture {
  static inline lines written;
  static inline DWORD swallow = 0;
  static inline int swallowed = 0;
  PVOID handler;

  explicit debug_output_capture(DWORD swallow_code = 0) : handler(AddVectoredExceptionHandler(1, on_exception)) {
    written.clear();
    swallow = swallow_code;
    swallowed = 0;
  }
  ~debug_output_capture() { RemoveVectoredExceptionHandler(handler); }
  static LONG CALLBACK on_exception(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == 0x40010006 && record->NumberParameters >= 2) {  // DBG_PRINTEXCEPTION_C
      const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
      const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
      if (text != nullptr && length > 0) written.emplace_back(text, length - 1);
      return EXCEPTION_CONTINUE_SEARCH;
    }
    if (swallow == 0 || record->ExceptionCode != swallow) return EXCEPTION_CONTINUE_SEARCH;
    ++swallowed;
    return EXCEPTION_CONTINUE_EXECUTION;
  }
};

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
    EXPECT_EQ(capture.written, r.written) << r.name;
  }
  EXPECT_EQ(AssertDbg(1, "x > 0", "f.cpp", 12, 1), 1) << "no box for a true condition";
}

TEST(AssertDbg, ModeOneShowsAHandBoxModeMinusOneRaisesTheAssertionException) {
  {
    debug_output_capture capture;
    tambre::test::box_catcher catcher(IDOK);
    EXPECT_EQ(AssertDbg(0, "p != 0", "drv.cpp", 99, 1), 0);
    auto box = catcher.wait();
    EXPECT_EQ(box.caption, "Assertion");
    EXPECT_EQ(box.text, "ASSERTION FAILED:\n\nExpr:\tp != 0\nFile:\tdrv.cpp\nLine:\t99");
    EXPECT_EQ(box.icon, tambre::test::box_icon::hand);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(capture.written.size(), 1u);
  }
  debug_output_capture capture(TAMBRE_ASSERT_EXCEPTION);
  EXPECT_EQ(AssertDbg(0, "ok", "a.cpp", 5, -1), 0);
  EXPECT_EQ(capture.swallowed, 1);
  EXPECT_EQ(capture.written, (lines{"ASSERTION FAILED: ok [File: a.cpp, Line: 5]\n"}));
  EXPECT_EQ(AssertDbg(0, "ok", "a.cpp", 5, 7), 0);  // other modes: the line is all
  EXPECT_EQ(capture.swallowed, 1);
}

}  // namespace

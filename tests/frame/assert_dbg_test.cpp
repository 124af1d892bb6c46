// Assertions: the debugger line, the box of mode 1, the structured exception of mode -1.
#include <gtest/gtest.h>

#include <mutex>

#include "support/box_catcher.h"
#include "tambre32/frame.h"

namespace {

using lines = std::vector<std::string>;

// The debugger lines of this process (a vectored handler sees DBG_PRINTEXCEPTION_C first);
// counts and continues past one kind of structured exception.
class debug_output_capture {
 public:
  explicit debug_output_capture(DWORD swallow = 0) {
    std::lock_guard<std::mutex> guard(lock_);
    lines_.clear();
    swallow_ = swallow;
    swallowed_ = 0;
    handler_ = AddVectoredExceptionHandler(1, on_exception);
  }
  ~debug_output_capture() { RemoveVectoredExceptionHandler(handler_); }
  std::vector<std::string> lines() const {
    std::lock_guard<std::mutex> guard(lock_);
    return lines_;
  }
  int swallowed() const {
    std::lock_guard<std::mutex> guard(lock_);
    return swallowed_;
  }

 private:
  static LONG CALLBACK on_exception(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    std::lock_guard<std::mutex> guard(lock_);
    if (record->ExceptionCode == 0x40010006 && record->NumberParameters >= 2) {  // DBG_PRINTEXCEPTION_C
      const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
      const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
      if (text != nullptr && length > 0) lines_.emplace_back(text, length - 1);
      return EXCEPTION_CONTINUE_SEARCH;
    }
    if (swallow_ == 0 || record->ExceptionCode != swallow_) return EXCEPTION_CONTINUE_SEARCH;
    ++swallowed_;
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  static inline std::mutex lock_;
  static inline std::vector<std::string> lines_;
  static inline DWORD swallow_ = 0;
  static inline int swallowed_ = 0;
  PVOID handler_;
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
    EXPECT_EQ(capture.lines(), r.written) << r.name;
  }
  EXPECT_EQ(AssertDbg(1, "x > 0", "f.cpp", 12, 1), 1) << "no box for a true condition";
}

TEST(AssertDbg, ModeOneShowsAHandBoxModeMinusOneRaisesTheAssertionException) {
  {
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
  debug_output_capture capture(TAMBRE_ASSERT_EXCEPTION);
  EXPECT_EQ(AssertDbg(0, "ok", "a.cpp", 5, -1), 0);
  EXPECT_EQ(capture.swallowed(), 1);
  EXPECT_EQ(capture.lines(), (lines{"ASSERTION FAILED: ok [File: a.cpp, Line: 5]\n"}));
  EXPECT_EQ(AssertDbg(0, "ok", "a.cpp", 5, 7), 0);  // other modes: the line is all
  EXPECT_EQ(capture.swallowed(), 1);
}

}  // namespace

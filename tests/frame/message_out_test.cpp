// The message-output channel of tambre32.dll, driven through the exported functions.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "frame_test_support.h"
#include "support/dll_proc.h"
#include "sys/handles.h"
#include "tambre32/frame.h"

namespace frame_test {

HMODULE load_library_copy(const tambre::test::temp_dir& dir, const std::string& name, const std::string& load_as) {
  char self[MAX_PATH];
  GetModuleFileNameA(GetModuleHandleA("tambre32.dll"), self, sizeof self);
  const std::string copy = dir.file(name);
  if (!CopyFileA(self, copy.c_str(), FALSE)) return nullptr;
  return LoadLibraryA(load_as.empty() ? copy.c_str() : dir.file(load_as).c_str());
}

std::string system_text(DWORD code) {
  char text[2048] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
  return text;
}

}  // namespace frame_test

namespace {

using frame_test::captured_messages;
using strings = std::vector<std::string>;

TEST(MessageOut, DeliversTheFormattedTextAndItsLengthCutAt311Characters) {
  SetMessageOut(captured_messages::callback);
  captured_messages::take();
  EXPECT_EQ(MessageOut("Kanal %d: %s", 7, "gestoert"), 17);
  const std::string exact(311, 'y');
  EXPECT_EQ(MessageOut("%s", exact.c_str()), 311);
  EXPECT_EQ(MessageOut("%s", std::string(400, 'x').c_str()), -1);  // cut, and says so
  EXPECT_EQ(captured_messages::take(), (strings{"Kanal 7: gestoert", exact, std::string(311, 'x')}));
}

void TAMBRE_CDECL other_callback(const char* text) {
  captured_messages::callback((std::string("other:") + text).c_str());
}

TEST(SetMessageOut, NullKeepsTheCallbackAndAnotherReplacesIt) {
  SetMessageOut(captured_messages::callback);
  SetMessageOut(captured_messages::callback);
  for (int i = 0; i < 3; ++i) SetMessageOut(nullptr);  // more nulls than installs still remove nothing
  captured_messages::take();
  MessageOut("a");
  SetMessageOut(other_callback);
  MessageOut("b");
  SetMessageOut(captured_messages::callback);
  MessageOut("c");
  EXPECT_EQ(captured_messages::take(), (strings{"a", "other:b", "c"}));
}

TEST(MessageOut, ManyThreadsAtOnceEachTextArrivesWhole) {
  SetMessageOut(captured_messages::callback);
  captured_messages::take();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 200; ++i) MessageOut("thread %d message %03d %s", t, i, std::string(250, 'a' + t).c_str());
    });
  }
  for (auto& thread : threads) thread.join();
  const strings texts = captured_messages::take();
  ASSERT_EQ(texts.size(), 800u);
  for (const auto& text : texts) {
    const int t = text[7] - '0';
    EXPECT_EQ(text.substr(text.size() - 250), std::string(250, 'a' + t)) << text;
  }
}

void TAMBRE_CDECL throwing_callback(const char*) { throw std::runtime_error("driver bug"); }

TEST(MessageOut, ExceptionsOfTheCallbackReachTheCaller) {
#if defined(__i386__)
  // 32-bit MinGW unwinds from tables each module registers with its own copy of the
  // unwinder: an exception thrown here cannot pass the library's frames.
  GTEST_SKIP() << "C++ exceptions do not cross a 32-bit MinGW module boundary";
#endif
  SetMessageOut(throwing_callback);
  EXPECT_THROW(MessageOut("x"), std::runtime_error);
  // ResourceMessageOut keeps them in.
  EXPECT_NO_THROW(ResourceMessageOut(GetModuleHandleA(nullptr), 9001, 1, "a"));
  SetMessageOut(captured_messages::callback);
}

TEST(ResourceMessageOut, PrefixFromTheModuleFileNameAndCutAt767Characters) {
  SetMessageOut(captured_messages::callback);
  captured_messages::take();
  tambre::test::temp_dir dir;
  const tambre::sys::unique_module modbus(frame_test::load_library_copy(dir, "MODBUS.DRV"));
  // "NODOT." keeps the loader from appending ".dll" to a name without extension.
  const tambre::sys::unique_module nodot(frame_test::load_library_copy(dir, "NODOT", "NODOT."));
  ASSERT_TRUE(modbus && nodot);
  auto message_out = tambre::test::dll_proc<int(TAMBRE_CDECL*)(const char*, ...)>(modbus.get(), "MessageOut");
  ASSERT_NE(message_out, nullptr);
  EXPECT_EQ(message_out("%d", 1), -1) << "a fresh copy has no callback yet";

  ResourceMessageOut(GetModuleHandleA(nullptr), 9001, 3, "B");
  ResourceMessageOut(modbus.get(), 1);
  ResourceMessageOut(nodot.get(), 202);
  ResourceMessageOut(GetModuleHandleA(nullptr), 4711);  // missing string: nothing
  ResourceMessageOut(GetModuleHandleA(nullptr), 9002, std::string(2000, 'z').c_str());
  EXPECT_EQ(captured_messages::take(), (strings{"frame_dll_test: Wert 3 von B", "MODBUS: Treiber", "NODOTSystemmeldung",
                                                "frame_dll_test: " + std::string(767 - 16, 'z')}));
}

}  // namespace

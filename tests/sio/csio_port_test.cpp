// CSio on a real serial line of two pseudo-terminals, the far end driven through plain
// Win32 calls. Wine refuses comm events on such ports: the worker watches the queues.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "port_events.h"
#include "support/pty_pair.h"
#include "support/serial_far_end.h"
#include "tambre32/sio.h"

namespace {

using sio_test::events;
using sio_test::eventually;

class CSioPort : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pair.ready()) << pair.error();
    ASSERT_TRUE(remote.is_open());
    events().reset();
    port.SetNotify(sio_test::on_receive, sio_test::on_transmit_empty, nullptr);
    port.SetMessageOut(sio_test::on_message);
  }
  void TearDown() override { port.Close(); }

  bool open(const std::string& settings = "115200,N,8,1") {
    return port.Open(pair.near_config(settings).c_str(), 0) == 1;
  }

  tambre::test::pty_pair pair;
  tambre::test::serial_far_end remote{pair.far_path()};
  CSio port;
};

std::string pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
  return bytes;
}

TEST_F(CSioPort, DataBothWaysOnTheWorkerThreadWithoutCommEvents) {
  ASSERT_TRUE(open("115200,N,8,1"));
  const std::string bytes = pattern(1 << 18);

  ASSERT_TRUE(remote.write(bytes));
  ASSERT_TRUE(events().wait_received(bytes.size(), 60000)) << events().received_text().size();
  EXPECT_TRUE(events().received_text() == bytes) << "received bytes differ";
  EXPECT_NE(events().notify_thread.load(), 0u);
  EXPECT_NE(events().notify_thread.load(), GetCurrentThreadId());
  // The platform refuses comm events on this port: said once per open.
  const std::string refused =
      pair.near_name() + " : Keine Leitungsereignisse verf\xfc" + "gbar, Empfangs- und Sendepuffer werden abgefragt";
  EXPECT_EQ(events().message_texts(), std::vector<std::string>{refused});

  EXPECT_EQ(port.Write("abc", 0), 0);
  EXPECT_EQ(port.Write("abc", -5), 0);
  std::string arrived;
  for (std::size_t at = 0; at < bytes.size(); at += 4096) {
    ASSERT_EQ(port.Write(bytes.data() + at, 4096), 4096);
    arrived += remote.read(4096, 200);
  }
  arrived += remote.read(bytes.size() - arrived.size(), 5000);
  EXPECT_TRUE(arrived == bytes) << "sent bytes differ";
  EXPECT_TRUE(eventually([] { return events().transmit_empty_calls.load() > 0; }));
  EXPECT_EQ(port.GetQueState(0), 0);

  // Open on an open port closes it first (the port is not shared) and reports again; the
  // line settings and time-outs reach the port, and later changes keep them.
  ASSERT_TRUE(open("4800,N,8,2,CTS"));
  EXPECT_TRUE(eventually([] { return events().message_texts().size() == 2; }));
  COMMTIMEOUTS timeouts{};
  ASSERT_TRUE(GetCommTimeouts(port.GetHandle(), &timeouts));
  EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 50u);
  EXPECT_EQ(port.ChangeBaudrate(19200), 1);
  EXPECT_NE(port.SetAbortOnError(1), 0);
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  ASSERT_TRUE(GetCommState(port.GetHandle(), &dcb));
  EXPECT_EQ(dcb.BaudRate, 19200u);
  EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
  EXPECT_TRUE(dcb.fOutxCtsFlow);
  remote.write("again");
  ASSERT_TRUE(events().wait_received(bytes.size() + 5));
}

TEST_F(CSioPort, OpenOfAMissingPortLeavesEverythingClosed) {
  EXPECT_EQ(port.Open("COM199:9600,N,8,1", 0), 0);
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_EQ(port.GetHandle(), nullptr);
  EXPECT_EQ(port.GetQueState(1), -1);
  EXPECT_EQ(port.GetLineStatus(0xF0), -1);
  EXPECT_FALSE(port.ClearBreak());
  EXPECT_EQ(port.ChangeBaudrate(19200), 0);
  char c = 'x';
  port >> c;
  EXPECT_EQ(c, 0);
  EXPECT_EQ(port.Close(), 0);
  EXPECT_TRUE(events().message_texts().empty()) << "failures of Open are not reported";
  // A failed open of an open port closes it.
  ASSERT_TRUE(open());
  EXPECT_EQ(port.Open("COM198", 0), 0);
  EXPECT_EQ(port.IsOpen(), 0);
}

TEST_F(CSioPort, BytesArrivingWhileTheNotificationRunsRaiseTheNextOne) {
  ASSERT_TRUE(open());
  events().hold_after_read = true;
  remote.write("a");
  ASSERT_TRUE(eventually([] { return events().read_loops_done.load() == 1; }));
  ASSERT_EQ(events().received_text(), "a");
  remote.write("b");  // lands after the notification's last read
  EXPECT_TRUE(eventually([&] { return port.GetQueState(1) == 1; }));
  events().hold_after_read = false;
  SetEvent(events().release.get());
  EXPECT_TRUE(eventually([] { return events().received_text() == "ab"; }, 3000)) << events().received_text();
}

TEST_F(CSioPort, CloseWaitsForTheNotificationButAtMostFourSeconds) {
  ASSERT_TRUE(open());
  events().hold_ms = 600;
  remote.write("w");
  ASSERT_TRUE(eventually([] { return events().receive_calls.load() > 0; }));
  port.Close();
  EXPECT_TRUE(events().notification_finished.load()) << "Close returned while the notification still ran";
  EXPECT_EQ(events().received_text(), "w") << "the notification read to the end";

  ASSERT_TRUE(open());
  events().hold_ms = 20000;
  const int calls = events().receive_calls.load();
  remote.write("s");
  ASSERT_TRUE(eventually([&] { return events().receive_calls.load() > calls; }));
  const DWORD start = GetTickCount();
  port.Close();
  EXPECT_GE(GetTickCount() - start, 3900u) << "Close gave the worker its four seconds";
  EXPECT_FALSE(events().notification_finished.load());
  EXPECT_EQ(port.IsOpen(), 0);
}

void close_from_notification(CSio& port) {
  port.Close();
  events().notification_finished = true;
}

TEST_F(CSioPort, CloseFromItsOwnNotificationDoesNotWaitForItself) {
  port.SetNotify(close_from_notification, nullptr, nullptr);
  ASSERT_TRUE(open());
  remote.write("bye");
  // A worker that waited for itself would be ended after four seconds, before this flag.
  ASSERT_TRUE(eventually([] { return events().notification_finished.load(); }));
  EXPECT_EQ(port.IsOpen(), 0);
  EXPECT_TRUE(open()) << "the port opens again";
}

TEST_F(CSioPort, PollingModeCallsAgainWhileBytesWait) {
  port.SetNoEventMode(1);
  ASSERT_TRUE(open());
  events().read_in_notification = false;
  remote.write("poll");
  EXPECT_TRUE(eventually([] { return events().receive_calls.load() >= 3; }));
  EXPECT_NE(events().notify_thread.load(), GetCurrentThreadId());
  char buffer[16] = "";
  EXPECT_TRUE(eventually([&] { return port.GetQueState(1) == 4; }));
  EXPECT_EQ(port.Read(buffer, sizeof buffer), 4);
  EXPECT_EQ(std::string(buffer, 4), "poll");
  EXPECT_EQ(port.Write("ok", 2), 2);
  EXPECT_EQ(remote.read(2), "ok");
  EXPECT_TRUE(events().message_texts().empty()) << "the polling worker needs no comm events";
}

TEST_F(CSioPort, StreamOperatorsReadsAndFlushes) {
  port.SetQue(8, 64);
  port.SetNotify(nullptr, nullptr, nullptr);
  ASSERT_TRUE(open());
  port << "AT" << '\r';
  EXPECT_EQ(remote.read(3), "AT\r");
  char c = 'x', text[9] = "########";
  port >> c >> text;
  EXPECT_EQ(c, 0) << "nothing received";
  EXPECT_STREQ(text, "");
  EXPECT_EQ(port.Read(text, sizeof text), 0) << "the read returns at once";

  remote.write("OK\r\n0123456789");
  EXPECT_TRUE(eventually([&] { return port.GetQueState(1) == 14; }));
  port >> c;
  EXPECT_EQ(c, 'O');
  port >> text;  // at most the input queue size, 8
  EXPECT_STREQ(text, "K\r\n01234");
  EXPECT_EQ(port.Read(text, sizeof text), 5);
  EXPECT_EQ(port.Read(text, sizeof text), 0);

  remote.write("0123456789");
  EXPECT_TRUE(eventually([&] { return port.GetQueState(1) == 10; }));
  EXPECT_TRUE(port.ClearErrors());
  port.Flush(1);
  EXPECT_EQ(port.GetQueState(1), 0);
  remote.write("abc");
  EXPECT_TRUE(eventually([&] { return port.GetQueState(1) == 3; }));
  EXPECT_TRUE(port.CleanIO());
  EXPECT_EQ(port.GetQueState(1), 0);
}

TEST_F(CSioPort, ACopyIsClosedAndKeepsTheSettingsAnAssignmentSharesThePort) {
  port.SetQue(4, 64);
  ASSERT_TRUE(open());
  {
    CSio view;
    view = port;
    EXPECT_EQ(view.GetHandle(), port.GetHandle());
    EXPECT_EQ(view.Write("via view", 8), 8);
    EXPECT_EQ(remote.read(8), "via view");
    view = CSio();  // lets go of the view without closing the port
    CSio copy(port);
    EXPECT_EQ(copy.IsOpen(), 0);
    EXPECT_EQ(copy.GetHandle(), nullptr);
  }  // neither end releases anything of the original
  remote.write("orig");
  ASSERT_TRUE(events().wait_received(4)) << "the original still works";

  CSio copy(port);
  port.Close();
  events().reset();
  ASSERT_EQ(copy.Open(pair.near_config("9600,N,8,1").c_str(), 0), 1);
  remote.write("copy");
  ASSERT_TRUE(events().wait_received(4)) << "the copy kept the notifications";
  EXPECT_EQ(events().received_text(), "copy");
  // The watch sees the next bytes only after the change below: it takes the null function.
  ASSERT_TRUE(eventually([] { return events().notification_finished.load(); }));
  copy.SetNotify(nullptr, nullptr, nullptr);
  const int calls = events().receive_calls.load();
  remote.write("0123456789");
  EXPECT_TRUE(eventually([&] { return copy.GetQueState(1) == 10; }));
  EXPECT_EQ(events().receive_calls.load(), calls) << "no notification without a function";
  char text[16];
  copy >> text;
  EXPECT_STREQ(text, "0123") << "the copy kept the queue size";
  copy.Close();
}

}  // namespace

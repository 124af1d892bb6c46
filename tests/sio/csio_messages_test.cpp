// The port's own (protected) message output, and the operations a derived class takes over.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "port_events.h"
#include "support/pty_pair.h"
#include "support/serial_far_end.h"
#include "tambre32/sio.h"

namespace {

using sio_test::events;

class speaking_port : public CSio {
 public:
  using CSio::MessageOut;
};

TEST(CSioMessageOut, PortNumberOverTheBlanksThenFormatted) {
  const struct {
    const char* name;
    int near_port;
    unsigned id;
    const char* expected;
  } cases[] = {
      {"one digit leaves two blanks", 2, 103, "COM2  : Rahmenfehler"},
      {"three digits", 123, 103, "COM123: Rahmenfehler"},
      {"above 127 reads as a signed byte", 200, 103, "COM-56: Rahmenfehler"},
      {"other error bits with the error word", 7, 100, "COM7  : Leitungsfehler (Fehlerwort 0x10)"},
      {"no such text: an empty message", 8, 4711, ""},
  };
  for (const auto& c : cases) {
    tambre::test::pty_pair pair(c.near_port, 250);
    ASSERT_TRUE(pair.ready()) << pair.error();
    speaking_port port;
    events().reset();
    port.SetNoEventMode(1);  // the polling worker says nothing of its own
    port.MessageOut(103);    // no output set: nothing
    port.SetMessageOut(sio_test::on_message);
    ASSERT_EQ(port.Open(pair.near_config("9600,N,8,1").c_str(), 0), 1) << c.name;
    port.MessageOut(c.id, 0x10ul);
    EXPECT_EQ(events().message_texts(), std::vector<std::string>{c.expected}) << c.name;
  }
}

class counting_port : public CSio {
 public:
  int closes = 0, flushes = 0, queue_states = 0, writes = 0, reads = 0;
  int Close() override {
    ++closes;
    return CSio::Close();
  }
  void Flush(int which) override {
    ++flushes;
    CSio::Flush(which);
  }
  int GetQueState(int which) override {
    ++queue_states;
    return CSio::GetQueState(which);
  }
  int Write(const char* buffer, int count) override {
    ++writes;
    return CSio::Write(buffer, count);
  }
  int Read(char* buffer, int count) override {
    ++reads;
    return CSio::Read(buffer, count);
  }
};

TEST(CSioSlots, InternalCallsGoThroughTheVirtualOperations) {
  tambre::test::pty_pair pair;
  ASSERT_TRUE(pair.ready()) << pair.error();
  counting_port port;
  ASSERT_EQ(port.Open(pair.near_config("9600").c_str(), 0), 1);
  EXPECT_EQ(port.closes, 1) << "Open closes first";
  port << "ab" << 'c';
  EXPECT_EQ(port.writes, 2);
  char c;
  char text[2048];
  port >> c >> text;
  EXPECT_EQ(port.reads, 2);
  const int flushes = port.flushes;
  EXPECT_EQ(port.ChangeBaudrate(4800), 1);
  EXPECT_EQ(port.flushes, flushes + 1);
  EXPECT_TRUE(port.CleanIO());
  EXPECT_EQ(port.flushes, flushes + 2);
  const int queue_states = port.queue_states;
  EXPECT_TRUE(port.ClearErrors());
  EXPECT_EQ(port.queue_states, queue_states + 1);
  port.Close();
  EXPECT_EQ(port.flushes, flushes + 3) << "Close flushes the open port";

  // The polling worker looks at the queue through the slot too.
  port.SetNotify(sio_test::on_receive, nullptr, nullptr);
  port.SetNoEventMode(1);
  ASSERT_EQ(port.Open(pair.near_config("9600").c_str(), 0), 1);
  const int before = port.queue_states;
  EXPECT_TRUE(sio_test::eventually([&] { return port.queue_states > before + 3; }));
  port.Close();
}
}  // namespace

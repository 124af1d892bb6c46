#include "redundancy/link_logic.h"

#include "redundancy/datagram.h"

namespace tambre::redundancy {

namespace {

// Tick differences are unsigned, so the wrap after 49.7 days changes nothing.
std::uint32_t elapsed(std::uint32_t since, std::uint32_t now) { return now - since; }

struct read_result {
  int accepted = 0;
  datagram last{};
};

// Reads waiting datagrams until none is waiting or one is not accepted.
read_result read_waiting(const RedundancyHandle& link, datagram_channel& channel) {
  read_result result;
  for (;;) {
    // Room for more than a datagram, so a longer one is seen as longer and rejected.
    unsigned char buffer[datagram_size * 2];
    const long length = channel.receive(buffer, sizeof buffer);
    if (length < 0) break;
    if (!is_accepted(buffer, static_cast<std::size_t>(length), link.Mode)) break;
    unsigned char exact[datagram_size];
    for (std::size_t i = 0; i < datagram_size; ++i) exact[i] = buffer[i];
    result.last = decode(exact);
    ++result.accepted;
  }
  return result;
}

bool announce(RedundancyHandle& link, std::uint32_t& counter, datagram_channel& channel, tick_source& clock) {
  if (++counter == 0) counter = 1;
  unsigned char bytes[datagram_size];
  encode(make_announcement(link.Mode, link.AliveTimeout, counter, clock.now()), bytes);
  return channel.send(bytes, sizeof bytes) == static_cast<long>(datagram_size);
}

int query_master(RedundancyHandle& link, datagram_channel& channel, tick_source& clock) {
  const std::uint32_t t = link.AliveTimeout;
  const std::uint32_t opened = link.LastSend;
  if (elapsed(link.LastContact, clock.now()) < t / 2 && (link.Flags & flag_startup) == 0) return 1;

  int result = 0;
  if ((link.Flags & flag_startup) != 0) {
    link.Flags &= ~flag_startup;
    if (elapsed(opened, clock.now()) < t) {
      int heard = read_waiting(link, channel).accepted;
      if (heard > 0) link.SequenceB = 1;
      if (heard == 0 && link.SequenceB == 0) {
        // A standby in charge announces every T/2: wait that long for it (this call blocks).
        while (heard == 0 && elapsed(opened, clock.now()) <= t / 2) {
          clock.sleep(startup_poll_ms);
          heard = read_waiting(link, channel).accepted;
        }
        if (heard > 0) link.SequenceB = 1;
      }
      if (heard > 0) {
        link.Status &= ~status_online;
        link.Flags |= flag_startup;
        result = -1;
      }
    }
  }

  if (announce(link, link.SequenceA, channel, clock)) {
    const std::uint32_t now = clock.now();
    if (elapsed(link.LastContact, now) <= t) {
      link.Status |= status_online;
    } else {
      link.Status = 0;
    }
    if (result != -1) result = 1;
    link.LastContact = now;
  } else {
    link.Status &= ~status_online;
  }
  return result;
}

int query_standby(RedundancyHandle& link, datagram_channel& channel, tick_source& clock) {
  const read_result heard = read_waiting(link, channel);
  if (heard.accepted > 0) {
    link.LastContact = clock.now();
    link.SequenceA = heard.last.sequence;
    link.PeerTimeout = heard.last.alive_timeout;
  }
  const std::int32_t peer = static_cast<std::int32_t>(link.PeerTimeout);
  const std::int32_t own = static_cast<std::int32_t>(link.AliveTimeout);
  const std::uint32_t limit = static_cast<std::uint32_t>(peer > own ? peer : own);

  const std::uint32_t now = clock.now();
  if (elapsed(link.LastContact, now) > limit && (link.Flags & flag_startup) == 0) {
    link.Status &= ~status_online;
    if (elapsed(link.LastSend, now) >= link.AliveTimeout / 2) {
      link.LastSend = now;
      announce(link, link.SequenceB, channel, clock);
    }
    return -1;
  }
  link.Flags &= ~flag_startup;
  link.Status |= status_online;
  return 1;
}

}  // namespace

std::uint32_t alive_timeout_of(std::uint32_t timeout_argument) {
  const std::uint32_t t = timeout_argument & 0xFFFFFFu;
  return t == 0 ? default_alive_timeout : t;
}

void start_link(RedundancyHandle& link, std::uint32_t mode, std::uint32_t timeout_argument, std::uint32_t now) {
  link.Flags = flag_startup;
  link.Mode = mode;
  link.AliveTimeout = alive_timeout_of(timeout_argument);
  link.LastContact = now;
  // A standby's clock of its own sends starts one timeout back, so that it announces at
  // once when it first finds the master lost.
  link.LastSend = mode == mode_standby ? now - (timeout_argument & 0xFFFFFFu) : now;
}

int query_link(RedundancyHandle& link, datagram_channel& channel, tick_source& clock) {
  return link.Mode == mode_master ? query_master(link, channel, clock) : query_standby(link, channel, clock);
}

}  // namespace tambre::redundancy

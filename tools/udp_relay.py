#!/usr/bin/env python3
"""A UDP relay that duplicates and reorders datagrams, for link tests without netem.

Receives on LISTEN_PORT (where nftables redirects the datagrams) and forwards each one to
127.0.0.1:TARGET_PORT as the mode read from stdin says, one word per line:
  pass  forward once, at once
  dup   forward twice, the copy 5 ms later
  late  forward at once and a copy LATE_MS later, after the datagrams that followed it
  quit  end
Counts of datagrams received and sent are printed when a mode changes and at the end.

usage: udp_relay.py LISTEN_PORT TARGET_PORT LATE_MS
"""
import heapq
import select
import socket
import sys
import time


def main():
    listen_port, target_port, late_ms = (int(a) for a in sys.argv[1:4])
    inbound = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    inbound.bind(("0.0.0.0", listen_port))
    outbound = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    target = ("127.0.0.1", target_port)
    delays = {"pass": (0,), "dup": (0, 5), "late": (0, late_ms)}
    mode, received, sent = "pass", 0, 0
    pending = []  # (due time, order, datagram)
    order = 0
    print("ready", flush=True)
    while True:
        timeout = max(0.0, pending[0][0] - time.monotonic()) if pending else None
        readable, _, _ = select.select([inbound, sys.stdin], [], [], timeout)
        if sys.stdin in readable:
            word = sys.stdin.readline().strip()
            print(f"{mode} received {received} sent {sent}", flush=True)
            if word in ("", "quit"):
                return 0
            mode, received, sent = word, 0, 0
        if inbound in readable:
            data = inbound.recv(65536)
            received += 1
            now = time.monotonic()
            for delay in delays[mode]:
                order += 1
                heapq.heappush(pending, (now + delay / 1000, order, data))
        while pending and pending[0][0] <= time.monotonic():
            outbound.sendto(heapq.heappop(pending)[2], target)
            sent += 1


if __name__ == "__main__":
    sys.exit(main())

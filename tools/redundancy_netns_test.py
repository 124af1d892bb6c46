#!/usr/bin/env python3
"""End-to-end test of the redundancy link between two machines.

Two network namespaces joined by a veth pair stand for the two machines; each runs its side
as a Wine process with its own prefix and its own wineserver (a wineserver creates the
sockets of its processes, so it must live in the namespace of its side). The standby runs
throughout; the master comes, goes and comes back. The test checks the answers of both
sides, measures the takeover time against the alive timeout T, and checks the adapter
functions against what `ip` lists inside the namespace. Then a link sweep with the master
running: the master's datagrams go through a relay (tools/udp_relay.py) that passes them,
duplicates them, and sends late copies that arrive after newer ones, where the standby must
never take over; then the standby's side drops them at random (nftables, 0 to 90 %); the
figures of the standby's brief takeovers are printed; without loss there must be none, and
the standby must come back to the master when the loss ends.

usage: redundancy_netns_test.py PEER_EXE WORK_DIR
Exit 0 passed, 1 failed, 77 skipped (namespaces cannot be created here).
"""
import os
import queue
import re
import shutil
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PREFIX_RUN = os.path.join(ROOT, "tools", "wine_prefix_run.sh")
T = 300          # alive timeout of both sides, ms
PERIOD = 10      # query period, ms
PORT = "23990"
ADDR_A, ADDR_B, ADDR_A2 = "10.199.0.1", "10.199.0.2", "10.199.1.1"
MAC_A = "02:00:00:00:0a:01"
IF_A, IF_B = "tmb-a", "tmb-b"
LOSS_LEVELS = (0, 10, 20, 30, 40, 50, 60, 70, 80, 90)  # percent of the master's datagrams dropped
LOSS_STEP = 3.0  # seconds at each level and relay mode
RELAY = os.path.join(ROOT, "tools", "udp_relay.py")
RELAY_PORT = "23991"
RELAY_MODES = ("pass", "dup", "late")  # see udp_relay.py
LATE_MS = 225  # a late copy arrives after the next announcement (every T/2)
# The master announces every T/2 and the standby gives up after more than T without one: a
# single lost announcement leaves a gap of T plus a query period, so any loss can make the
# standby take over for a moment. The sweep counts those takeovers, and checks that none
# happens without loss and that the standby comes back to the master once the loss ends.

failures = []
passes = []


def check(condition, text):
    print(("ok   " if condition else "FAIL ") + text, flush=True)
    (passes if condition else failures).append(text)
    return condition


def run(*args, check_rc=True):
    result = subprocess.run(args, capture_output=True, text=True)
    if check_rc and result.returncode != 0:
        raise RuntimeError(f"{' '.join(args)}: {result.stderr.strip()}")
    return result


class Peer:
    """One Wine process in a namespace; its lines arrive with the local time they came."""

    def __init__(self, namespace, prefix, *args):
        env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all")
        env.pop("DISPLAY", None)  # no windows here; X's abstract socket is per namespace
        self.lines = queue.Queue()
        self.seen = []
        self.process = subprocess.Popen(
            ["ip", "netns", "exec", namespace, "bash", PREFIX_RUN, prefix, "wine", *args],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, text=True, env=env)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put((time.monotonic(), line.split()))
        self.lines.put(None)

    def wait_for(self, predicate, seconds):
        """The first (time, words) line that satisfies predicate, or None."""
        deadline = time.monotonic() + seconds
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            try:
                item = self.lines.get(timeout=left)
            except queue.Empty:
                return None
            if item is None:
                return None
            self.seen.append(item)
            if predicate(item[1]):
                return item

    def finish(self, seconds):
        self.wait_for(lambda words: False, seconds)
        try:
            self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        return [words for _, words in self.seen]

    def offset(self):
        """Local time minus the process's tick, in ms, from its "clock" line."""
        for at, words in self.seen:
            if words and words[0] == "clock":
                return at * 1000 - int(words[1])
        return None


def results(lines):
    return [int(w[2]) for w in lines if w and w[0] == "result"]


def master_run(ns, prefix, label):
    """Runs the master for 2.5 s; returns its lines and the local time of its last send."""
    master = Peer(ns, prefix, PEER, "master", ADDR_B, PORT, str(T), str(PERIOD), "2500", "200")
    lines = master.finish(60)
    answers = results(lines)
    check(answers[:1] == [-1], f"{label}: master holds back while the standby is in charge: {answers}")
    check(answers[-1:] == [1], f"{label}: master then takes over: {answers}")
    end = [w for w in lines if w and w[0] == "end"]
    if not check(bool(end) and master.offset() is not None, f"{label}: master ran to its end"):
        return None
    return master.offset() + int(end[0][3])  # local time of the last successful send


def set_loss(ns, percent):
    """Drops `percent` of the redundancy datagrams arriving in namespace `ns`."""
    run("ip", "netns", "exec", ns, "nft", "flush", "ruleset")
    if percent == 0:
        return
    run("ip", "netns", "exec", ns, "nft", "add", "table", "inet", "loss")
    run("ip", "netns", "exec", ns, "nft", "add", "chain", "inet", "loss", "in",
        "{ type filter hook input priority 0; }")
    run("ip", "netns", "exec", ns, "nft", "add", "rule", "inet", "loss", "in", "udp", "dport", PORT,
        "numgen", "random", "mod", "100", "<", str(percent), "drop")


def set_relay(ns, on):
    """Sends the redundancy datagrams arriving in namespace `ns` through the relay port."""
    run("ip", "netns", "exec", ns, "nft", "flush", "ruleset")
    if not on:
        return
    # Rewritten before connection tracking sees it, so no earlier flow of the port gets in the way.
    run("ip", "netns", "exec", ns, "nft", "add", "table", "inet", "relay")
    run("ip", "netns", "exec", ns, "nft", "add", "chain", "inet", "relay", "pre",
        "{ type filter hook prerouting priority raw; }")
    run("ip", "netns", "exec", ns, "nft", "add", "rule", "inet", "relay", "pre", "iifname", IF_B, "udp", "dport",
        PORT, "udp", "dport", "set", RELAY_PORT)


def count_takeovers(standby, seconds, last):
    """The standby's takeovers within `seconds` and its last answer."""
    count = 0
    end = time.monotonic() + seconds
    while (left := end - time.monotonic()) > 0:
        line = standby.wait_for(lambda w: w[:1] == ["result"], left)
        if line is not None:
            last = line[1][2]
            count += last == "-1"
    return count, last


def link_sweep(ns_a, ns_b, prefix_a, standby):
    """Runs the master through the relay modes, then every loss level.

    Returns the standby's false takeovers per phase and the relay's counts per mode."""
    phases = len(RELAY_MODES) + len(LOSS_LEVELS)
    limit = int(phases * LOSS_STEP * 1000) + 1500
    master = Peer(ns_a, prefix_a, PEER, "master", ADDR_B, PORT, str(T), str(PERIOD), str(limit), "200")
    back = standby.wait_for(lambda w: w[:1] == ["result"] and w[2] == "1", 60)
    if not check(back is not None, "link sweep: the standby sees the master"):
        master.finish(60)
        return {}, []
    takeovers = {}
    last = "1"
    relay = subprocess.Popen(["ip", "netns", "exec", ns_b, "python3", RELAY, RELAY_PORT, PORT, str(LATE_MS)],
                             stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    relay.stdout.readline()
    set_relay(ns_b, True)
    for mode in RELAY_MODES:
        relay.stdin.write(mode + "\n")
        relay.stdin.flush()
        takeovers[mode], last = count_takeovers(standby, LOSS_STEP, last)
    set_relay(ns_b, False)
    counts, _ = relay.communicate("quit\n", timeout=10)
    for level in LOSS_LEVELS:
        set_loss(ns_b, level)
        takeovers[f"{level} %"], last = count_takeovers(standby, LOSS_STEP, last)
    set_loss(ns_b, 0)
    if last == "-1":
        last = "1" if standby.wait_for(lambda w: w[:1] == ["result"] and w[2] == "1", 3 * T / 1000) else "-1"
    check(last == "1", "link sweep: the standby is back with the master once the loss ends")
    master.finish(60)
    gone = standby.wait_for(lambda w: w[:1] == ["result"] and w[2] == "-1", 10)
    check(gone is not None, "link sweep: the standby takes over when the master ends")
    return takeovers, counts.splitlines()[1:]


def build_network(tag, ns_a, ns_b):
    """Namespace A with IF_A (two addresses, a fixed MAC) and B with IF_B, joined by a veth pair."""
    run("ip", "netns", "add", ns_b)
    veth_a, veth_b = f"tva{tag}"[:15], f"tvb{tag}"[:15]
    run("ip", "link", "add", veth_a, "type", "veth", "peer", "name", veth_b)
    run("ip", "link", "set", veth_a, "netns", ns_a)
    run("ip", "link", "set", veth_b, "netns", ns_b)
    for ns, veth, name, addr in ((ns_a, veth_a, IF_A, ADDR_A), (ns_b, veth_b, IF_B, ADDR_B)):
        run("ip", "-n", ns, "link", "set", veth, "name", name)
        run("ip", "-n", ns, "addr", "add", addr + "/24", "dev", name)
        run("ip", "-n", ns, "link", "set", "lo", "up")
    run("ip", "-n", ns_a, "link", "set", IF_A, "address", MAC_A)
    run("ip", "-n", ns_a, "addr", "add", ADDR_A2 + "/24", "dev", IF_A)
    for ns, name in ((ns_a, IF_A), (ns_b, IF_B)):
        run("ip", "-n", ns, "link", "set", name, "up")


def main():
    global PEER
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    PEER, work = sys.argv[1], os.path.abspath(sys.argv[2])
    tag = str(os.getpid())
    ns_a, ns_b = f"tambre-a-{tag}", f"tambre-b-{tag}"
    probe = subprocess.run(["ip", "netns", "add", ns_a], capture_output=True, text=True)
    if probe.returncode != 0:
        print(f"SKIP: network namespaces cannot be created here ({probe.stderr.strip()}); "
              "the two-machine redundancy test needs root and ip netns")
        return 77
    try:
        try:
            build_network(tag, ns_a, ns_b)
        except RuntimeError as error:
            print(f"SKIP: the two namespaces cannot be joined here ({error}); "
                  "the two-machine redundancy test needs veth pairs")
            return 77

        os.makedirs(work, exist_ok=True)
        prefix_a, prefix_b = os.path.join(work, "prefix-a"), os.path.join(work, "prefix-b")
        stop_file = os.path.join(work, "stop-standby")
        if os.path.exists(stop_file):
            os.remove(stop_file)
        # Boot both prefixes side by side before anything is timed.
        boots = [Peer(ns_a, prefix_a, "cmd", "/c", "echo", "booted"), Peer(ns_b, prefix_b, "cmd", "/c", "echo", "booted")]
        for boot in boots:
            boot.finish(300)

        # What Wine's IP Helper reports inside namespace A, against what the system lists.
        listed = run("ip", "-n", ns_a, "-o", "-4", "addr", "show", "dev", IF_A).stdout
        system_pairs = []
        for address, bits in re.findall(r"inet (\d+\.\d+\.\d+\.\d+)/(\d+)", listed):
            mask = (0xFFFFFFFF << (32 - int(bits))) & 0xFFFFFFFF
            system_pairs.append(f"{address}/{'.'.join(str((mask >> s) & 255) for s in (24, 16, 8, 0))}")
        system_mac = re.search(r"link/ether ([0-9a-f:]+)", run("ip", "-n", ns_a, "link", "show", IF_A).stdout).group(1)
        adapters = {w[0]: w[1:] for w in Peer(ns_a, prefix_a, PEER, "adapters", IF_A.upper()).finish(60) if w}
        check(adapters.get("names") == ["1", IF_A + "|"], f"adapter names are the namespace's interfaces: {adapters.get('names')}")
        check(adapters.get("addr") == [system_pairs[0].split("/")[0]], f"first address {adapters.get('addr')} vs {system_pairs}")
        check(adapters.get("mask") == [system_pairs[0].split("/")[1]], f"first mask {adapters.get('mask')}")
        check(adapters.get("mac") == ["1", system_mac], f"MAC {adapters.get('mac')} vs {system_mac}")
        check(adapters.get("pairs", [None])[1:] == system_pairs, f"all pairs {adapters.get('pairs')} vs {system_pairs}")
        check(adapters.get("interfaces") == ["1", IF_A + "|"], f"interface names {adapters.get('interfaces')}")

        # The standby alone: 1 first, -1 once T has passed without a master.
        standby = Peer(ns_b, prefix_b, PEER, "standby", ADDR_A, PORT, str(T), str(PERIOD),
                       "Z:" + stop_file.replace("/", "\\"), "300000")
        opened = standby.wait_for(lambda w: w[:1] == ["open"], 120)
        check(opened is not None, "standby opened its link")
        first = standby.wait_for(lambda w: w[:1] == ["result"], 10)
        check(first is not None and first[1][2] == "1", f"standby answers 1 first: {first and first[1]}")
        lost = standby.wait_for(lambda w: w[:1] == ["result"], 10)
        check(lost is not None and lost[1][2] == "-1", f"standby takes over when no master speaks: {lost and lost[1]}")
        if opened and lost:
            waited = int(lost[1][1]) - int(opened[1][1])
            check(waited > T, f"standby without a master took over {waited} ms after opening (T = {T} ms)")

        takeovers = []
        for label in ("first master run", "returning master"):
            last_send = master_run(ns_a, prefix_a, label)
            # The master's announcements put the standby back to 1; its silence makes it -1.
            taken = standby.wait_for(lambda w: w[:2] != [] and w[0] == "result" and w[2] == "-1", 10)
            answers = results([w for _, w in standby.seen])
            check(answers.count(1) >= 2, f"{label}: standby saw its master again: {answers}")
            if check(taken is not None and last_send is not None, f"{label}: standby took over after the master left"):
                takeover = standby.offset() + int(taken[1][1]) - last_send
                takeovers.append(takeover)
                check(T < takeover < 2 * T, f"{label}: takeover {takeover:.0f} ms after the last announcement (T = {T} ms)")

        answers = results([w for _, w in standby.seen])
        check(answers == [1, -1, 1, -1, 1, -1], f"standby's answers over the two master runs: {answers}")

        if shutil.which("nft"):
            takeovers_at, relayed = link_sweep(ns_a, ns_b, prefix_a, standby)
            for phase in ("0 %",) + RELAY_MODES:
                if phase in takeovers_at:
                    check(takeovers_at[phase] == 0,
                          f"{phase}: the standby took over {takeovers_at[phase]} times while the master ran")
            check(len(relayed) == len(RELAY_MODES) and all(
                int(line.split()[4]) >= int(line.split()[2]) > 0 for line in relayed),
                f"the relay forwarded the master's datagrams: {relayed}")
            print("relay (datagrams received, sent): " + "; ".join(relayed))
            print("standby takeovers while the master ran, by link: " +
                  ", ".join(f"{p}: {c}" for p, c in takeovers_at.items()))
        else:
            print("link sweep skipped: nft is not installed")

        with open(stop_file, "w"):
            pass
        lines = standby.finish(30)
        check(any(w[:1] == ["end"] for w in lines), "standby stopped on request")
        if takeovers:
            print(f"takeover time: {', '.join(f'{t:.0f}' for t in takeovers)} ms with T = {T} ms "
                  f"and a query period of {PERIOD} ms")
    finally:
        # Deleting a namespace deletes the veth end inside it; an end never moved is removed too.
        for ns in (ns_a, ns_b):
            subprocess.run(["ip", "netns", "del", ns], capture_output=True)
        subprocess.run(["ip", "link", "del", f"tva{tag}"[:15]], capture_output=True)
    print(f"{len(passes)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

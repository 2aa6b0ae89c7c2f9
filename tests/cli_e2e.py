#!/usr/bin/env python3
"""converter-cli end to end: the real program on host "tool" of a private test
network, simulated converters on other hosts, and a watcher that records every
datagram the tool sends. Run by tests/e2e.sh with
E2E_HOSTS="tool@0,1,2,3 watch@0,1 sima:12 simf:3 simb:3@1 simd:3@2 simw:5@3".

Python's csv and json modules read the tool's output, and the simulators'
state files say what the converters really hold.
"""
import csv
import io
import json
import os
import pathlib
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

import dissector
from wire import aes_cbc

CLI, SIM, NETLAB = sys.argv[1:4]
LAB = os.environ["E2E_LAB"]
WORK = pathlib.Path(tempfile.mkdtemp(prefix="cli-e2e-"))
# The tool speaks the system's language; these tests read its English, and
# the Chinese test sets its own.
os.environ.update(LC_ALL="C.UTF-8", LANGUAGE="")

MODES = ["udp", "tcp-client", "udp-server", "tcp-server"]
PARITIES = ["none", "odd", "even"]


def colon(mac):
    """A MAC as converter-cli prints it."""
    return ":".join(mac[k:k + 2] for k in range(0, 12, 2))


def same_namespace_as_machine():
    try:
        return os.readlink("/proc/self/ns/net") == os.readlink("/proc/1/ns/net")
    except OSError:  # not allowed to look: the interfaces below still tell
        return False


def check_private_network():
    if same_namespace_as_machine():
        sys.exit("cli_e2e: must run inside the private test network (tests/e2e.sh), "
                 "not in the machine's own network")
    foreign = [n for _, n in socket.if_nameindex() if n != "lo" and not n.startswith("cvl")]
    if foreign:
        sys.exit(f"cli_e2e: interfaces outside the test network seen: {foreign}")


def address(host, k=1):
    return subprocess.check_output([NETLAB, "addr", LAB, host, str(k)], text=True).strip()


def on_host(host, *command, **options):
    return subprocess.Popen([NETLAB, "exec", LAB, host, *command], **options)


def start_sim(host, state, *extra):
    process = on_host(host, SIM, "--state", str(state), "--base-address", address(host), *extra,
                      stdout=subprocess.PIPE, text=True)
    assert "ready" in process.stdout.readline()
    return process


WATCHER = str(pathlib.Path(__file__).with_name("watch-datagrams.py"))


def state(path):
    return {c["mac"]: c for c in json.loads(pathlib.Path(path).read_text())["converters"]}


def expected_row(c):
    """A simulator's converter in the tool's vocabulary."""
    return {"mac": colon(c["mac"]), "name": c["name"], "version": c["version"],
            "reply-from": c["replyFrom"], "mode": MODES[c["mode"]],
            "ip-type": ["static", "dhcp"][c["ipType"]], "ip": c["lip"], "subnet": c["subnet"],
            "gateway": c["gaw"], "local-port": c["lport"], "remote-ip": c["sip"],
            "remote-port": c["sport"], "baud": c["baud"], "parity": PARITIES[c["parity"]],
            "data-bits": ["7", "8"][c["dataBit"]], "stop-bits": ["1", "2"][c["stopBit"]]}


def cli(*args, stdin=None, journal=None, env=None):
    """Runs the tool; its output decoded as UTF-8, line ends as they came."""
    env = {**os.environ, **(env or {}), **({"CONVERTER_JOURNAL": str(journal)} if journal else {})}
    r = subprocess.run([CLI, *args], input=stdin.encode() if stdin else None,
                       capture_output=True, timeout=60, env=env)
    return subprocess.CompletedProcess(r.args, r.returncode, r.stdout.decode(),
                                       r.stderr.decode())


# The converters on the second network, written before the simulator starts:
# the first holds what other tools leave behind (a GB18030 name, 5 data bits
# with mark parity, bits no tool shows in the type and mode bytes), the third
# a name that would rewrite an operator's terminal.
OTHER = [
    {"mac": "02AB00000101", "nameHex": "C9E8B1B8C3FBB3C6D2BB", "serialByte": 0x28,
     "typeByte": 0xF0, "modeByte": 0xA5},
    {"mac": "02AB00000102", "name": "Other-2"},
    {"mac": "02AB00000103", "nameHex": "411B5B324B0D0A42"},  # A ESC [2K CR LF B
]


def wait_for_state(path, check, seconds=3):
    """The simulator writes its file a little after a frame; wait for it."""
    deadline = time.time() + seconds
    while True:
        current = state(path)
        if check(current) or time.time() > deadline:
            return current
        time.sleep(0.05)


class CliEndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        check_private_network()
        cls.tool = {address("tool"), "10.78.8.1"}
        cls.watch_log = WORK / "watch.log"
        cls.watch_hex = WORK / "watch.hex"
        cls.processes = [on_host("watch", sys.executable, WATCHER, str(cls.watch_log),
                                 str(cls.watch_hex),
                                 stdout=subprocess.PIPE, text=True)]
        assert cls.processes[0].stdout.readline().strip() == "ready"
        cls.fleet = WORK / "fleet.json"
        cls.faulty = WORK / "faulty.json"
        cls.other = WORK / "other.json"
        cls.other.write_text(json.dumps({"converters": [
            {**c, "replyFrom": address("simb", k + 1), "lip": address("simb", k + 1),
             "sip": "10.77.0.1", "sport": "5001"} for k, c in enumerate(OTHER)]}))
        # A box of three fresh out of the factory, all at one address, on the
        # third network.
        cls.box = WORK / "box.json"
        cls.box.write_text(json.dumps({"converters": [
            {"mac": f"02AB000002{k:02X}", "name": f"Box-{k}", "replyFrom": address("simd", k),
             "lip": "192.168.1.8", "subnet": "255.255.255.0", "gaw": "192.168.1.1"}
            for k in (1, 2, 3)]}))
        cls.processes += [
            start_sim("simd", cls.box),
            start_sim("sima", cls.fleet, "--count", "12", "--jitter", "20"),
            start_sim("simf", cls.faulty, "--count", "3", "--base-mac", "02AB000000F1",
                      "--fault", "restart@1", "--fault", "ignore-writes@2",
                      "--fault", "partial@3", "--restart-ms", "1200"),
            start_sim("simb", cls.other),
        ]

    @classmethod
    def tearDownClass(cls):
        for process in cls.processes:
            process.terminate()
            process.wait()
        shutil.rmtree(WORK, ignore_errors=True)
        # The simulators end cleanly on SIGTERM; anything else (a sanitizer's
        # report, a crash) is a failure. The watcher is ended by the signal.
        statuses = [p.returncode for p in cls.processes[1:]]
        if statuses != [0] * len(statuses):
            raise AssertionError(f"the simulators ended with {statuses}")

    def sent_by_tool(self, sender=None):
        lines = self.watch_log.read_text().splitlines() if self.watch_log.exists() else []
        return [int(n) for a, n in (line.split() for line in lines)
                if a in self.tool and sender in (None, a)]

    def test_watch_checks(self):
        journal = WORK / "watch-checks.jsonl"
        units = WORK / "watch-checks.json"

        def sim(converters, *extra):
            units.write_text(json.dumps({"converters": [
                {"mac": f"02AB000005{k:02X}", "replyFrom": address("simw", k), "lip": ip,
                 "subnet": "255.255.255.0", "gaw": "192.168.1.1"}
                for k, ip in enumerate(converters, 1)]}))
            return start_sim("simw", units, *extra)

        def watch(*args):
            run = subprocess.run([CLI, "watch", "--interface", "cvl3", "--interval", "200",
                                  "--format", "json", *args], capture_output=True, text=True,
                                 timeout=60, env={**os.environ, "CONVERTER_JOURNAL": str(journal)})
            events = [json.loads(line) for line in run.stdout.splitlines()]
            return run, [(e["mac"][-2:], e["event"]) for e in events if e["event"] != "found"], events

        def stop(process):
            process.terminate()
            self.assertEqual(process.wait(), 0)

        fleet = WORK / "watch-checks.csv"
        # Two of a box answering in one round, one new address between them
        # (a fill-down slip): both refused, nothing sent.
        process = sim(["192.168.1.8", "192.168.1.8"])
        try:
            fleet.write_text("mac,ip\n02AB00000501,192.168.1.60\n02AB00000502,192.168.1.60\n")
            run, events, _ = watch("--apply", str(fleet))
            self.assertEqual(run.returncode, 4, run.stderr)
            # In one round both are refused; in two, the second is refused
            # against the first's new address. Never both written.
            self.assertIn(sorted(events), ([("01", "refused"), ("02", "refused")],
                                           [("01", "refused"), ("02", "verified")],
                                           [("01", "verified"), ("02", "refused")]))
            self.assertLessEqual(sum(c["configureCount"] > 0 for c in state(units).values()), 1)
        finally:
            stop(process)

        # A unit commissioned earlier, still on the bench, keeps its address.
        process = sim(["192.168.1.8", "192.168.1.77"])
        try:
            run, events, _ = watch("--assign", "192.168.1.90", "--for", "2")
            self.assertEqual(run.returncode, 0, run.stderr)
            self.assertEqual(sorted(events), [("01", "verified"), ("02", "skipped")])
            after = state(units)
            self.assertEqual([(c["lip"], c["configureCount"]) for c in after.values()],
                             [("192.168.1.90", 1), ("192.168.1.77", 0)])
        finally:
            stop(process)

        # A unit first seen while a write is in flight, at the address that
        # write gives: both get a conflict event naming the other, status 4.
        process = sim(["192.168.1.8", "192.168.1.70"], "--power-on", "200",
                      "--power-on-step", "600", "--fault", "restart@1", "--restart-ms", "1500")
        try:
            fleet.write_text("mac,ip\n02AB00000501,192.168.1.70\n")
            run, events, raw = watch("--apply", str(fleet))
            self.assertEqual(run.returncode, 4, run.stderr)
            # The run may end before the newcomer's own row is looked up.
            self.assertEqual(sorted(e for e in events if e[1] != "not-in-file"),
                             [("01", "conflict"), ("01", "verified"), ("02", "conflict")])
            messages = {e["mac"][-2:]: e["message"] for e in raw if e["event"] == "conflict"}
            self.assertIn("02:AB:00:00:05:02", messages["01"])
            self.assertIn("02:AB:00:00:05:01", messages["02"])
            self.assertIn("2 conflict events", run.stderr)
        finally:
            stop(process)

        # --for as long as it may be (a year) does not end at once, and --for
        # running out during a write is no Ctrl-C: one after it still lets
        # the write be verified.
        process = sim(["192.168.1.8"], "--power-on", "200", "--fault", "restart@1",
                      "--restart-ms", "2000")
        try:
            long = subprocess.Popen([CLI, "watch", "--interface", "cvl3", "--assign",
                                     "192.168.1.100", "--for", "31536000", "--journal",
                                     str(journal)], stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, text=True)
            time.sleep(1.0)
            self.assertIsNone(long.poll(), long.stderr.read() if long.poll() is not None else "")
            long.send_signal(signal.SIGINT)
            long.communicate(timeout=30)
        finally:
            stop(process)
        process = sim(["192.168.1.8"], "--power-on", "200", "--fault", "restart@1",
                      "--restart-ms", "2500")
        try:
            short = subprocess.Popen([CLI, "watch", "--interface", "cvl3", "--interval", "200",
                                      "--assign", "192.168.1.110", "--for", "1", "--format",
                                      "json", "--journal", str(journal)],
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            time.sleep(1.6)  # --for has run out; the write waits for the restart
            short.send_signal(signal.SIGINT)
            out, err = short.communicate(timeout=30)
            self.assertEqual(short.returncode, 0, err)
            self.assertIn("verified", [json.loads(l)["event"] for l in out.splitlines()])
            self.assertNotIn("stopped at once", err)
        finally:
            stop(process)

    def test_watch_production_line(self):
        line = WORK / "line.json"
        journal = WORK / "line-journal.jsonl"

        def plug_in(*extra):
            """Three converters fresh from the factory, plugged in 0.3 s after
            the simulator starts and 0.6 s apart; the second restarts for
            1.5 s after each write."""
            line.write_text(json.dumps({"converters": [
                {"mac": f"02AB000004{k:02X}", "replyFrom": address("simw", k),
                 "lip": "192.168.1.8", "subnet": "255.255.255.0", "gaw": "192.168.1.1"}
                for k in (1, 2, 3)]}))
            return start_sim("simw", line, "--power-on", "300", "--power-on-step", "600",
                             "--fault", "restart@2", "--restart-ms", "1500", *extra)

        def watch(*args):
            return subprocess.Popen([CLI, "watch", "--interface", "cvl3", "--interval", "200",
                                     "--format", "json", *args], stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, text=True,
                                    env={**os.environ, "CONVERTER_JOURNAL": str(journal)})

        sim = plug_in()
        try:
            run = watch("--assign", "192.168.1.50", "baud=9600", "--count", "3")
            events = [json.loads(l) for l in run.stdout]  # each line parses as it comes
            self.assertEqual(run.wait(timeout=30), 0, run.stderr.read())
            self.assertEqual([(e["mac"][-2:], e["event"], e["ip"]) for e in events if e["event"] != "found"],
                             [("01", "verified", "192.168.1.50"), ("02", "verified", "192.168.1.51"),
                              ("03", "verified", "192.168.1.52")])
            self.assertEqual([e["mac"][-2:] for e in events if e["event"] == "found"], ["01", "02", "03"])
            after = wait_for_state(line, lambda s: s["02AB00000403"]["baud"] == "9600")
            # The one that restarted after its write was written once.
            self.assertEqual([(c["lip"], c["baud"], c["configureCount"]) for c in after.values()],
                             [("192.168.1.50", "9600", 1), ("192.168.1.51", "9600", 1),
                              ("192.168.1.52", "9600", 1)])

            # A fleet file for two of them: the third is not in it, and the run
            # ends by itself once both rows are handled.
            fleet = WORK / "line.csv"
            fleet.write_text("mac,remote-port\n02:AB:00:00:04:01,6001\n02:AB:00:00:04:03,6003\n")
            run = watch("--apply", str(fleet))
            events = [json.loads(l) for l in run.stdout]
            self.assertEqual(run.wait(timeout=30), 0, run.stderr.read())
            self.assertEqual(sorted((e["mac"][-2:], e["event"]) for e in events if e["event"] != "found"),
                             [("01", "verified"), ("02", "not-in-file"), ("03", "verified")])
        finally:
            sim.terminate()
            self.assertEqual(sim.wait(), 0)

        # Ctrl-C while the restarting converter's write waits for it: the
        # write is verified first, then the summary, and the run ends.
        sim = plug_in()
        try:
            run = watch("--assign", "192.168.1.60")
            for raw in run.stdout:
                e = json.loads(raw)
                if e["mac"].endswith("02") and e["event"] == "found":
                    time.sleep(0.1)
                    run.send_signal(signal.SIGINT)
                    break
            rest = [json.loads(l) for l in run.stdout]
            self.assertEqual(run.wait(timeout=30), 0)
            stderr = run.stderr.read()
            self.assertIn(("02", "verified"), [(e["mac"][-2:], e["event"]) for e in rest])
            self.assertIn("stopping once the write in flight is verified", stderr)
            self.assertRegex(stderr, r"watch: \d found, \d verified")
        finally:
            sim.terminate()
            self.assertEqual(sim.wait(), 0)
        history = json.loads(cli("history", "--format", "json", journal=journal).stdout)
        self.assertTrue(all(h["result"] == "verified" for h in history), history)

    def test_wire_judged_independently(self):
        # Every configure frame the tool sent so far, decrypted by OpenSSL and
        # its checksum computed outside the project's code.
        time.sleep(0.2)
        judged = subprocess.run([sys.executable, str(pathlib.Path(__file__).with_name(
            "judge-frames.py")), str(self.watch_hex), *self.tool], capture_output=True, text=True)
        self.assertEqual(judged.returncode, 0, judged.stderr)
        self.assertGreater(int(judged.stdout), 0)

        # The same datagrams through the Wireshark dissector: what the tool
        # sent and what the simulators answered, as the watcher heard them.
        heard = [line.split() for line in self.watch_hex.read_text().splitlines()]
        rows = dissector.dissect([dissector.packet(bytes.fromhex(data), 1500, source=sender)
                                  for sender, _, data in heard])
        fleet = {colon(mac).lower() for mac in state(self.fleet)}
        kinds = {}
        for (sender, length, data), row in zip(heard, rows):
            kind, status = row["convcfg.kind"], row["convcfg.checksum.status"]
            kinds[kind] = kinds.get(kind, 0) + 1
            with self.subTest(sender=sender, length=length):
                if sender in self.tool:
                    self.assertIn((kind, status), [("probe", ""), ("configure", "1")], data)
                elif length != "64":
                    self.assertEqual(kind, "malformed")  # the short and long faults
                elif row["convcfg.mac"] in fleet:
                    self.assertEqual((kind, status, row["_ws.expert.message"]), ("reply", "1", ""))
        self.assertTrue(kinds.get("configure") and kinds.get("reply") and kinds.get("probe"), kinds)

    def test_replace(self):
        journal = WORK / "replace.jsonl"
        units = WORK / "replace.json"
        old, new, spare, third = "02AB00000701", "02AB00000702", "02AB00000703", "02AB00000704"
        held = ["ipType", "mode", "lip", "subnet", "gaw", "lport", "sip", "sport", "baud",
                "parity", "dataBit", "stopBit", "typeByte", "modeByte", "serialByte", "nameHex"]

        def plug(*converters):
            """Units on network 3: (mac, ip), and other settings as fresh."""
            units.write_text(json.dumps({"converters": [
                {"mac": mac, "replyFrom": address("simw", k), "lip": ip, "subnet": "255.255.255.0",
                 "gaw": "192.168.1.1", **extra}
                for k, (mac, ip, extra) in enumerate(converters, 1)]}))
            return start_sim("simw", units)

        def replace(*args):
            return cli("replace", *args, "--interface", "cvl3", "--timeout", "400",
                       journal=journal)

        def unplug(process):
            process.terminate()
            self.assertEqual(process.wait(), 0)

        # The unit in service: written and verified, with bits outside the
        # vocabulary in its type, mode and serial bytes.
        process = plug((old, "192.168.1.8", {"typeByte": 0xF0, "modeByte": 0xA5,
                                             "serialByte": 0x28}))
        try:
            r = cli("set", old, "ip=192.168.1.70", "name=Pump 3", "baud=19200", "remote-port=7070",
                    "--interface", "cvl3", "--timeout", "400", journal=journal)
            self.assertEqual(r.returncode, 0, r.stderr)
            served = wait_for_state(units, lambda s: s[old]["lip"] == "192.168.1.70")[old]
        finally:
            unplug(process)

        # The journal as it would be after a later write that did not verify,
        # or one torn by a crash (kind and mac come first in a line).
        later, torn = WORK / "replace-later.jsonl", WORK / "replace-torn.jsonl"
        head = '{"kind":"%s","mac":"' + old + '","batch":"20261209T100000000-abcdef",' \
                                          '"time":"2026-12-09T10:00:00.000Z",'
        verified = [json.loads(l) for l in journal.read_text().splitlines()]
        intent = next(l for l in verified if l["kind"] == "intent")
        later.write_text(journal.read_text() + head % "intent" + json.dumps(
            {"adapter": "cvl3", "program": "converter-cli", "before": intent["sent"],
             "sent": intent["before"]})[1:] + "\n"
            + head % "outcome" + '"result":"sent"}\n')
        torn.write_text(journal.read_text() + (head % "intent")[:70] + "\n")
        nameless = WORK / "replace-nameless.csv"
        nameless.write_text(f"mac,ip,subnet,gateway,mode,ip-type,local-port,remote-ip,remote-port,"
                            f"baud,parity,data-bits,stop-bits\n{old},192.168.1.72,255.255.255.0,"
                            f"192.168.1.1,udp,static,1,192.168.1.2,2,9600,none,8,1\n")

        # Refused with nothing sent: it still answers; two fresh units and no
        # NEW named; a third converter already at its address; none fresh;
        # a NEW in service; a later write that did not verify; a line that
        # cannot be read; a fleet file without a name column.
        refusals = [  # the units plugged in, arguments, status, message
            ([(old, "192.168.1.70", {}), (new, "192.168.1.8", {})], [old], 2,
             f"{colon(old)} still answers (ip 192.168.1.70)"),
            ([(new, "192.168.1.8", {}), (spare, "192.168.1.8", {})], [old], 2,
             f"2 converters answer at the factory address 192.168.1.8 ({colon(new)}, "
             f"{colon(spare)}): name the new unit's MAC"),
            ([(new, "192.168.1.8", {}), (third, "192.168.1.70", {})], [old], 2,
             f"{colon(new)}: ip 192.168.1.70 is also the ip of {colon(third)}"),
            ([(third, "192.168.1.71", {})], [old], 3,
             "no converter answers at the factory address 192.168.1.8"),
            ([(new, "192.168.1.8", {})], [spare], 2, f"no verified write of {colon(spare)}"),
            ([(new, "192.168.1.8", {}), (third, "192.168.1.20", {"name": "PUMP-7"})], [old, third],
             2, f"{colon(third)} is not at the factory address 192.168.1.8 but at 192.168.1.20, "
                "named 'PUMP-7'"),
            ([(new, "192.168.1.8", {})], [old, "--journal", str(later)], 2,
             "a later write that did not verify: 2026-12-09T10:00:00.000Z, batch "
             "20261209T100000000-abcdef (converter-cli): sent"),
            ([(new, "192.168.1.8", {})], [old, "--journal", str(torn)], 2,
             f"a journal line that may concern it cannot be read ({torn}:"),
            ([(new, "192.168.1.8", {})], [old, new, "--from", str(nameless)], 2,
             f"replace-nameless.csv:2: no name for {colon(old)}"),
        ]
        for plugged, args, status, message in refusals:
            with self.subTest(args=args, plugged=[p[0] for p in plugged]):
                process = plug(*plugged)
                try:
                    r = replace(*args)
                    self.assertEqual(r.returncode, status, r.stderr)
                    self.assertIn(message, r.stderr)
                    time.sleep(0.2)
                    self.assertEqual([c["configureCount"] for c in state(units).values()],
                                     [0] * len(plugged))
                finally:
                    unplug(process)

        # The failed unit gone, a fresh one in its place: it takes OLD's
        # settings byte for byte, its own MAC and version stay; the journal
        # names what it replaced; revert NEW undoes it.
        process = plug((new, "192.168.1.8", {"version": "2.1"}))
        try:
            fresh = state(units)[new]
            r = replace(old, "--format", "json")
            self.assertEqual(r.returncode, 0, r.stderr)
            report = json.loads(r.stdout)[0]
            self.assertEqual((report["result"], report["replaces"]), ("verified", colon(old)))
            self.assertLessEqual({"name", "ip", "remote-port", "baud"},
                                 {f["field"] for f in report["fields"]})
            took = wait_for_state(units, lambda s: s[new]["lip"] == "192.168.1.70")[new]
            self.assertEqual({k: took[k] for k in held}, {k: served[k] for k in held})
            self.assertEqual((took["mac"], took["version"]), (new, "2.1"))
            for mac in (old, new):
                last = json.loads(cli("history", mac, "--format", "json", journal=journal).stdout)[-1]
                self.assertEqual((last["mac"], last.get("replaces")), (colon(new), colon(old)))
            self.assertIn('"replaces":"%s"' % old, journal.read_text())
            r = cli("revert", new, "--interface", "cvl3", "--timeout", "400", journal=journal)
            self.assertEqual(r.returncode, 0, r.stderr)
            back = wait_for_state(units, lambda s: s[new]["lip"] == "192.168.1.8")[new]
            # Every settings byte as it was, bits outside the fields too.
            self.assertEqual({k: back[k] for k in held}, {k: fresh[k] for k in held})
        finally:
            unplug(process)

        # --from a fleet file: OLD's row, every writable column; an empty name
        # cell means it had no name.
        fleet = WORK / "replace.csv"
        # A backup as search wrote it, with values only a converter reports
        # (a GB18030 name, mark parity), is taken byte for byte.
        row = {"mac": colon(old), "name": "设备名称一", "mode": "tcp-server", "ip-type": "static",
               "ip": "192.168.1.72", "subnet": "255.255.255.0", "gateway": "192.168.1.1",
               "local-port": "4001", "remote-ip": "192.168.1.254", "remote-port": "4001",
               "baud": "38400", "parity": "mark", "data-bits": "7", "stop-bits": "2"}
        fleet.write_text(",".join(row) + "\n" + ",".join(row.values()) + "\n", encoding="utf-8")
        process = plug((spare, "192.168.1.8", {"name": "Fresh"}))
        try:
            r = replace(old, spare, "--from", str(fleet))
            self.assertEqual(r.returncode, 0, r.stderr)
            took = wait_for_state(units, lambda s: s[spare]["lip"] == "192.168.1.72")[spare]
            self.assertEqual((took["nameHex"], took["mode"], took["baud"],
                              took["serialByte"] & 0x3F), ("C9E8B1B8C3FBB3C6D2BB", 3, "38400", 0x2E))
        finally:
            unplug(process)

    def test_report(self):
        journal = WORK / "report.jsonl"
        units = WORK / "report.json"
        out = pathlib.Path(os.environ.get("CLI_E2E_OUTPUT", WORK / "output"))
        out.mkdir(parents=True, exist_ok=True)
        units.write_text(json.dumps({"converters": [
            {"mac": "02AB00000801", "replyFrom": address("simw", 1), "lip": "192.168.1.20",
             "nameHex": "<b>x&\"".encode().hex().upper()},
            {"mac": "02AB00000802", "replyFrom": address("simw", 2), "lip": "192.168.1.20",
             "name": "Clash-A"},
            # A DHCP unit at the clash's address: no third party to the clash.
            {"mac": "02AB00000803", "replyFrom": address("simw", 3), "lip": "192.168.1.20",
             "ipType": 1, "name": "Dynamic"},
            {"mac": "02AB00000804", "replyFrom": address("simw", 4), "lip": "10.5.0.7",
             "subnet": "255.255.0.0", "gaw": "10.5.0.1", "nameHex": "C9E8B1B8C3FBB3C6D2BB"},
            {"mac": "02AB00000805", "replyFrom": address("simw", 5), "lip": "10.1.2.8",
             "subnet": "255.0.255.0", "name": "Odd mask"},
        ]}))
        process = start_sim("simw", units)
        try:
            net3 = ["--interface", "cvl3", "--timeout", "400"]
            r = cli("set", "02AB00000804", "baud=4800", *net3, journal=journal)
            self.assertEqual(r.returncode, 0, r.stderr)
            with journal.open("a") as f:
                f.write('{"kind":"intent","mac":"02AB00000801","ba\n')
            page = out / "report.html"
            r = cli("report", *net3, "--output", str(page), journal=journal, env={"LANG": "zh_CN.UTF-8", "LC_ALL": ""})
            self.assertEqual(r.returncode, 0, r.stderr)
        finally:
            process.terminate()
            self.assertEqual(process.wait(), 0)
        html = page.read_text(encoding="utf-8")
        # Self-contained: nothing to load, no script; names escaped.
        self.assertIsNone(re.search(r"<script|@import|\ssrc=|<link|url\(", html))
        self.assertIn("&lt;b&gt;x&amp;&quot;", html)
        self.assertEqual(html.count("<svg"), 2)  # 192.168.1.0/24 and 10.5.0.0/24 of the /16
        self.assertIn("@page { size: A4 portrait", html)
        self.assertIn("clash: 2 converters at one address", html)
        self.assertNotIn("clash: 3", html)
        self.assertIn("bad mask (1 converters)", html)
        self.assertNotIn("10.0.2.0/8", html)
        self.assertIn("1 line(s) of the journal could not be read", html)

        # In a real browser: printed to PDF, whose text says what the page shows.
        profile = WORK / "chromium"
        browser = [shutil.which("chromium") or "chromium", "--headless", "--no-sandbox",
                   "--disable-gpu", "--disable-quic", "--no-first-run",
                   "--disable-background-networking", "--disable-component-update",
                   "--disable-sync", f"--user-data-dir={profile}"]
        pdf = out / "report.pdf"
        subprocess.run([*browser, "--no-pdf-header-footer", f"--print-to-pdf={pdf}",
                        page.as_uri()], capture_output=True, timeout=120, check=True)
        subprocess.run([*browser, "--window-size=1100,1500", f"--screenshot={out / 'report.png'}",
                        page.as_uri()], capture_output=True, timeout=120, check=True)
        text = subprocess.run(["pdftotext", "-layout", str(pdf), "-"], capture_output=True,
                              text=True, check=True).stdout
        for expected in ["02:AB:00:00:08:01", "<b>x&\"", "设备名称一", "Dynamic", "dhcp",
                         "duplicate-ip", "192.168.1.0/24", "10.5.0.0/16", "Last writes",
                         "baud 115200 → 4800", "converters answered", "Clash-A",
                         "10.1.2.8 mask 255.0.255.0"]:
            self.assertIn(expected, text)
        self.assertGreater(os.path.getsize(out / "report.png"), 10000)

    def test_search_formats(self):
        fleet = state(self.fleet)
        as_json = cli("search", "--timeout", "500", "--format", "json")
        self.assertEqual(as_json.returncode, 0, as_json.stderr)
        found = {d["mac"]: d for d in json.loads(as_json.stdout)}
        self.assertEqual(len(found), 21)  # 12 + 3, 3 on the second network, 3 on the third
        for mac, c in fleet.items():
            want = expected_row(c)
            for key in ("local-port", "remote-port", "baud", "data-bits", "stop-bits"):
                want[key] = int(want[key])
            self.assertEqual({k: found[colon(mac)][k] for k in want}, want)
            self.assertEqual(found[colon(mac)]["interface"], "cvl0")
            self.assertEqual(found[colon(mac)]["name-hex"], c["nameHex"].lower())
        odd = found["02:AB:00:00:01:01"]
        # As reported, even outside what an operator may type.
        self.assertEqual((odd["interface"], odd["name"], odd["name-hex"], odd["data-bits"],
                          odd["parity"], odd["mode"], odd["ip-type"]),
                         ("cvl1", "设备名称一", "c9e8b1b8c3fbb3c6d2bb", 5, "mark", "tcp-client",
                          "static"))
        self.assertEqual(found["02:AB:00:00:01:03"]["name"], "A\x1b[2K\r\nB")

        as_csv = cli("search", "--timeout", "500", "--format", "csv")
        rows = {r["mac"]: r for r in csv.DictReader(io.StringIO(as_csv.stdout, newline=""))}
        for mac, c in fleet.items():
            # The version as a formula giving text, which spreadsheets keep.
            want = {**expected_row(c), "version": f'="{c["version"]}"'}
            self.assertEqual({k: rows[colon(mac)][k] for k in want}, want)
        self.assertEqual(rows["02:AB:00:00:01:03"]["name"], "A\x1b[2K\r\nB")

        table = cli("search", "--timeout", "500").stdout.splitlines()
        header = re.split(r"\s{2,}", table[0])
        self.assertEqual(header[:3], ["mac", "name", "version"])
        cells = {re.split(r"\s{2,}", line)[0]: re.split(r"\s{2,}", line) for line in table[1:]}
        self.assertEqual(dict(zip(header, cells["02:AB:00:00:01:03"]))["name"],
                         "A\\x1B[2K\\x0D\\x0AB")  # one row, nothing for the terminal
        self.assertEqual(len(table), 22)
        self.assertEqual(dict(zip(header, cells["02:AB:00:00:00:03"])),
                         {**expected_row(fleet["02AB00000003"]), "interface": "cvl0"})

    def test_two_adapters(self):
        both = cli("search", "--timeout", "400", "--format", "csv",
                   "--interface", "cvl0", "--interface", "cvl1")
        # While it listens, another search probes network 0: those answers
        # reach the shared port too, but not through the adapter it was given.
        search = subprocess.Popen([CLI, "search", "--timeout", "800", "--format", "csv",
                                   "--interface", "cvl1"], stdout=subprocess.PIPE, text=True)
        time.sleep(0.3)
        cli("search", "--timeout", "200", "--interface", "cvl0")
        one = subprocess.CompletedProcess(search.args, search.wait(), search.stdout.read())
        macs = lambda r: sorted(row["mac"] for row in csv.DictReader(io.StringIO(r.stdout)))
        self.assertEqual(len(macs(both)), 18)
        self.assertEqual(macs(one), ["02:AB:00:00:01:01", "02:AB:00:00:01:02", "02:AB:00:00:01:03"])

    def test_chinese(self):
        zh = {"LANG": "zh_CN.UTF-8", "LC_ALL": "", "LANGUAGE": ""}
        r = cli("--help", env=zh)
        self.assertTrue(r.stdout.startswith("用法：converter-cli"), r.stdout[:200])
        self.assertIn("退出状态", r.stdout)
        english = cli("--help", env={**zh, "LC_ALL": "C"})
        self.assertTrue(english.stdout.startswith("Usage: converter-cli"))
        # A refusal, with its problem, and a dry run's summary.
        box = ["02:AB:00:00:02:01", "02:AB:00:00:02:02"]
        net2 = ["--interface", "cvl2", "--timeout", "300"]
        r = cli("set", box[1], "ip=127.0.0.5", *net2, env=zh)
        self.assertEqual(r.returncode, 2, r.stderr)
        self.assertIn(f"{box[1]}: ip 127.0.0.5 位于 127.0.0.0/8（环回），任何主机都不能使用", r.stderr)
        self.assertIn("已拒绝：如上所列", r.stderr)
        r = cli("set", box[1], "baud=300", "--dry-run", *net2, env=zh)
        self.assertIn("试运行：1 个帧未发送，0 台无改动", r.stderr)
        r = cli("set", sorted(state(self.fleet))[10], "baud=2400", "--format", "json", env=zh)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("1 台已核验，0 台不一致，0 台无应答", r.stderr)
        self.assertEqual(json.loads(r.stdout)[0]["result"], "verified")
        # What scripts read is the same in both languages, byte for byte.
        for fmt in ("csv", "json"):
            with self.subTest(format=fmt):
                both = [cli("search", *net2, "--format", fmt, env=env).stdout
                        for env in (zh, {**zh, "LC_ALL": "C"})]
                self.assertEqual(both[0], both[1])
                self.assertIn("also the ip of" if fmt == "json" else "problems", both[0])
        r = cli("history", "--format", "csv", env=zh)
        self.assertTrue(r.stdout.startswith(
            "time,batch,program,mac,result,replaces,field,before,after"))

    def test_direct_cable_and_no_adapter(self):
        # An adapter up with no IPv4 address, as on a cable straight to a
        # converter with no DHCP server: probed from 0.0.0.0, and written.
        tool_box_address = address("tool") .replace("10.77.", "10.79.", 1)
        subprocess.run(["ip", "addr", "flush", "dev", "cvl2"], check=True)
        try:
            r = cli("search", "--interface", "cvl2", "--timeout", "300", "--format", "json")
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertEqual([(d["mac"], d["interface"]) for d in json.loads(r.stdout)],
                             [(f"02:AB:00:00:02:0{k}", "cvl2") for k in (1, 2, 3)])
            r = cli("set", "02AB00000201", "stop-bits=2", "--interface", "cvl2", "--timeout", "300")
            self.assertEqual((r.returncode, r.stdout), (0, "02:AB:00:00:02:01  verified\n"), r.stderr)
        finally:
            subprocess.run(["ip", "addr", "add", f"{tool_box_address}/16", "dev", "cvl2"], check=True)
        wait_for_state(self.box, lambda s: s["02AB00000201"]["stopBit"] == 1)

        # Only loopback and a tunnel: nothing to search from, and it says so.
        script = ("ip link set lo up && ip tuntap add tun0 mode tun && ip link set tun0 up && "
                  f"ip addr add 10.9.0.1/24 dev tun0 && exec {CLI} search --timeout 200")
        r = subprocess.run(["unshare", "-n", "sh", "-c", script], capture_output=True, text=True)
        self.assertEqual(r.returncode, 6, r.stderr)
        self.assertIn("cannot send through (the default route): Unable to send a message "
                      "(Network is unreachable)", r.stderr)
        self.assertIn("no adapter to search from", r.stderr)

    def test_journal_and_revert(self):
        journal = WORK / "journal" / "journal.jsonl"
        macs = sorted(state(self.fleet))[:3]
        before = {m: state(self.fleet)[m] for m in macs}
        path = WORK / "revert.csv"
        path.write_text("mac,baud,remote-port,parity\n" +
                        "".join(f"{m},4800,{7100 + i},even\n" for i, m in enumerate(macs)))
        r = cli("apply", str(path), "--format", "json", journal=journal)
        self.assertEqual(r.returncode, 0, r.stderr)
        batch = json.loads(r.stdout)[0]["batch"]
        applied = wait_for_state(self.fleet, lambda s: all(s[m]["baud"] == "4800" for m in macs))
        # Even parity as the converter holds it: index 2, as the window shows it.
        self.assertEqual([applied[m]["parity"] for m in macs], [2, 2, 2])

        # Changed since by someone else: refused by name, nothing sent.
        self.assertEqual(cli("set", macs[2], "baud=1200", journal=journal).returncode, 0)
        counts = {m: c["configureCount"] for m, c in wait_for_state(
            self.fleet, lambda s: s[macs[2]]["baud"] == "1200").items()}
        r = cli("revert", "--batch", batch, journal=journal)
        self.assertEqual(r.returncode, 2, r.stderr)
        self.assertIn(f"{colon(macs[2])}: baud is 1200 now, not 4800 as batch {batch} left it",
                      r.stderr)
        time.sleep(0.2)
        self.assertEqual({m: c["configureCount"] for m, c in state(self.fleet).items()}, counts)

        # The converter's last write undone, then the whole batch: every
        # converter holds what it held before, byte for byte.
        r = cli("revert", macs[2], journal=journal)
        self.assertEqual((r.returncode, r.stdout), (0, f"{colon(macs[2])}  verified\n"), r.stderr)
        r = cli("revert", "--batch", batch, "--format", "json", journal=journal)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual([line["result"] for line in json.loads(r.stdout)], ["verified"] * 3)
        after = wait_for_state(self.fleet, lambda s: all(s[m]["baud"] == before[m]["baud"]
                                                         for m in macs))
        strip = lambda c: {k: v for k, v in c.items() if k != "configureCount"}
        self.assertEqual([strip(after[m]) for m in macs], [strip(before[m]) for m in macs])

        # The history: the batch, the set, and the three reverts, oldest first.
        history = json.loads(cli("history", "--format", "json", journal=journal).stdout)
        self.assertEqual([(h["mac"], h["result"]) for h in history],
                         [(colon(m), "verified") for m in macs] +
                         [(colon(macs[2]), "verified")] * 2 + [(colon(m), "verified") for m in macs])
        self.assertEqual(history[0]["fields"], [
            {"field": "remote-port", "before": int(before[macs[0]]["sport"]), "after": 7100},
            {"field": "baud", "before": int(before[macs[0]]["baud"]), "after": 4800},
            {"field": "parity", "before": "none", "after": "even"}])
        only = json.loads(cli("history", macs[1], "--batch", batch, "--format", "json",
                              journal=journal).stdout)
        self.assertEqual([h["mac"] for h in only], [colon(macs[1])])
        later = cli("history", "--since", "2999-01-01", journal=journal)
        self.assertEqual(later.stdout.splitlines()[1:], [])

    def test_journal_under_stress(self):
        journal = WORK / "stress" / "journal.jsonl"
        journal.parent.mkdir()
        # A crash tore the last line: skipped with a warning, and the next
        # write starts a line of its own.
        journal.write_text('{"time":"2026-12-08T10:00:00.000Z","batch":"x","kind":"inte')
        # Three runs writing at once: every line parses.
        runs = [subprocess.Popen([CLI, "set", mac, f"local-port={5000 + k}"], env={
            **os.environ, "CONVERTER_JOURNAL": str(journal)}, stdout=subprocess.PIPE,
            stderr=subprocess.PIPE) for k, mac in enumerate(sorted(state(self.fleet))[3:6])]
        self.assertEqual([run.wait(timeout=60) for run in runs], [0, 0, 0])
        lines = journal.read_text().splitlines()
        self.assertEqual(len(lines), 1 + 6)
        self.assertEqual(sorted(json.loads(line)["kind"] for line in lines[1:]),
                         ["intent"] * 3 + ["outcome"] * 3)
        r = cli("history", "--format", "csv", journal=journal)
        self.assertIn("journal.jsonl:1: not a journal line (torn by a crash?); skipped", r.stderr)
        self.assertEqual(len(list(csv.DictReader(io.StringIO(r.stdout)))), 3)

        # Killed between intent and outcome: the intent stays, unfinished.
        stuck = subprocess.Popen([CLI, "set", "02AB000000F2", "baud=2400", "--verify-timeout",
                                  "30000"], env={**os.environ, "CONVERTER_JOURNAL": str(journal)},
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        deadline = time.time() + 10
        while "02AB000000F2" not in journal.read_text() and time.time() < deadline:
            time.sleep(0.05)
        stuck.kill()
        stuck.wait()
        last = json.loads(cli("history", "02AB000000F2", "--format", "json",
                              journal=journal).stdout)
        self.assertEqual([(h["result"], h["fields"][0]["after"]) for h in last], [("", 2400)])

        # The newest write of a converter torn by a crash: revert undoes no
        # older write in its place. A newer program's line is named as such.
        mac = sorted(state(self.fleet))[3]
        with journal.open("a") as f:
            f.write('{"time":"2026-12-09T10:00:00.000Z","kind":"rename","version":"9.0.0",'
                    f'"batch":"n","mac":"{mac}"}}\n')
            f.write(f'{{"time":"2026-12-09T10:00:01.000Z","batch":"t","mac":"{mac}","kind":"int')
        r = cli("revert", mac, journal=journal)
        self.assertEqual(r.returncode, 2, r.stderr)
        self.assertIn(f"a line that may concern {colon(mac)} cannot be read (", r.stderr)
        self.assertIn("a journal line of kind 'rename' from version 9.0.0, which this version",
                      r.stderr)
        r = cli("revert", mac, "--force", "--dry-run", journal=journal)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn(f"overridden by --force: a line that may concern {colon(mac)}", r.stderr)
        # A write whose time cannot be read is named when --since leaves it out.
        intent = next(l for l in journal.read_text().splitlines() if '"intent"' in l)
        with journal.open("a") as f:
            f.write("\n" + re.sub(r'"time":"[^"]*"', '"time":"yesterday"', intent) + "\n")
        # --since: UTC whatever the computer's zone, in a daylight-saving gap
        # too; anything but a whole date or date-time is refused.
        rows = lambda since, zone: cli("history", "--since", since, "--format", "csv",
                                       journal=journal, env={"TZ": zone})
        base = rows("2026-03-29T02:30", "UTC")
        self.assertEqual(base.returncode, 0, base.stderr)
        self.assertIn("1 write(s) left out by --since, their time cannot be read: ", base.stderr)
        for zone in ("Europe/Berlin", "America/New_York", "Pacific/Kiritimati"):
            self.assertEqual(rows("2026-03-29T02:30", zone).stdout, base.stdout, zone)
        self.assertEqual(rows("2999-01-01T00:00+14:00", "UTC").stdout.count("\n"), 1)
        for bad in ("2026-12-08T25:00", "2026-12-08Tgarbage", "2026-02-30", "2026-12-08T10",
                    "yesterday", "2026-12-08T10:00+15:00"):
            with self.subTest(since=bad):
                r = rows(bad, "UTC")
                self.assertEqual(r.returncode, 2, r.stderr)
                self.assertIn(f"--since '{bad}' is not a time", r.stderr)
        # A journal that exists but cannot be read is no empty history.
        r = cli("history", journal=WORK)
        self.assertEqual(r.returncode, 5, r.stderr)
        self.assertIn("cannot read", r.stderr)

        # The outcome cannot be journaled once the frame has left: the result
        # is still printed, and the status says so (7), not "nothing sent".
        swapped = WORK / "swap" / "journal.jsonl"
        swapped.parent.mkdir()
        slow = subprocess.Popen([CLI, "set", "02AB000000F1", "baud=57600", "--format", "json"],
                                env={**os.environ, "CONVERTER_JOURNAL": str(swapped)},
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        deadline = time.time() + 10
        while not (swapped.exists() and "intent" in swapped.read_text()) and time.time() < deadline:
            time.sleep(0.02)
        swapped.unlink()
        swapped.mkdir()  # where the outcome line should go
        out, err = slow.communicate(timeout=30)
        self.assertEqual(slow.returncode, 7, err)
        self.assertIn("the frames were sent, their outcomes are not journaled", err)
        self.assertEqual(json.loads(out)[0]["result"], "verified")
        time.sleep(1.5)  # the restarting converter answers again

        # A journal that cannot be written: status 5, and nothing sent.
        blocker = WORK / "not-a-folder"
        blocker.write_text("")
        counts = [c["configureCount"] for c in state(self.fleet).values()]
        r = cli("set", sorted(state(self.fleet))[0], "baud=300", journal=blocker / "journal.jsonl")
        self.assertEqual(r.returncode, 5, r.stderr)
        self.assertIn("nothing sent", r.stderr)
        time.sleep(0.2)
        self.assertEqual([c["configureCount"] for c in state(self.fleet).values()], counts)

    def test_segment_checks(self):
        box = ["02:AB:00:00:02:01", "02:AB:00:00:02:02", "02:AB:00:00:02:03"]
        net2 = ["--interface", "cvl2", "--timeout", "300"]
        applied = lambda: [c["configureCount"] for c in state(self.box).values()]

        # As they are: every converter of the box clashes with the other two.
        r = cli("search", *net2, "--format", "json")
        problems = {d["mac"]: d["problems"] for d in json.loads(r.stdout)}
        self.assertEqual([(p["code"], p["field"], p["other"]) for p in problems[box[0]]],
                         [("duplicate-ip", "ip", box[1]), ("duplicate-ip", "ip", box[2])])
        self.assertIn(f"{box[2]}: ip 192.168.1.8 is also the ip of {box[0]}", r.stderr)
        rows = list(csv.DictReader(io.StringIO(cli("search", *net2, "--format", "csv").stdout)))
        self.assertEqual([row["problems"] for row in rows], ["duplicate-ip duplicate-ip"] * 3)

        # A fill-down slip gives two of the box one new address: the pair
        # clashing again at .60 is a new clash, refused with nothing sent.
        slip = WORK / "filled-down-box.csv"
        slip.write_text(f"mac,ip\n{box[0]},192.168.1.60\n{box[1]},192.168.1.60\n")
        before = applied()
        r = cli("apply", str(slip), *net2)
        self.assertEqual(r.returncode, 2, r.stderr)
        self.assertIn(f"{box[1]}: ip 192.168.1.60 is also the ip of {box[0]}", r.stderr)
        time.sleep(0.2)
        self.assertEqual(applied(), before)

        # That clash does not block giving them addresses one by one.
        r = cli("assign", "192.168.1.50", *net2)
        self.assertEqual((r.returncode, r.stdout.split()[1::2]), (0, ["verified"] * 3), r.stderr)
        ips = wait_for_state(self.box, lambda s: s["02AB00000203"]["lip"] == "192.168.1.52")
        self.assertEqual([c["lip"] for c in ips.values()],
                         ["192.168.1.50", "192.168.1.51", "192.168.1.52"])

        fleet = WORK / "filled-down.csv"
        fleet.write_text(f"mac,ip\n{box[0]},192.168.1.60\n{box[1]},192.168.1.60\n")
        refused = [  # arguments, what standard error says
            (["apply", str(fleet)], f"{box[1]}: ip 192.168.1.60 is also the ip of {box[0]}"),
            (["set", box[2], "ip=192.168.1.50"], f"{box[2]}: ip 192.168.1.50 is also the ip of {box[0]}"),
            (["set", box[2], "ip=10.79.8.1"], "ip 10.79.8.1 is an address of this computer"),
            # The tool's adapter on another network counts too.
            (["set", box[2], "ip=10.77.8.1", "subnet=255.255.0.0"], "is an address of this computer"),
            (["set", box[2], "gateway=10.99.0.1"], "gateway 10.99.0.1 is outside its subnet"),
            (["set", box[2], "ip=192.168.1.255"], "broadcast address of its subnet 192.168.1.0/24"),
            (["set", box[2], "ip=192.168.1.50", "--dry-run"], "is also the ip of"),
            (["set", box[2], "ip=127.0.0.5"], "ip 127.0.0.5 is in 127.0.0.0/8, loopback"),
            (["set", box[2], "ip=224.0.0.9"], "which no host can have"),
            (["set", box[2], "gateway=192.168.1.255"],
             "gateway 192.168.1.255 is the broadcast address of its subnet"),
            (["set", box[2], "subnet=0.0.0.0"], "subnet 0.0.0.0 makes every address"),
        ]
        before = applied()
        for args, message in refused:
            with self.subTest(args=args):
                r = cli(*args, *net2)
                self.assertEqual(r.returncode, 2, r.stderr)
                self.assertIn(message, r.stderr)
                self.assertIn("nothing sent (--force writes anyway)", r.stderr)
        time.sleep(0.2)
        self.assertEqual(applied(), before)

        r = cli("set", box[2], "ip=192.168.1.50", "--force", *net2)
        self.assertEqual((r.returncode, r.stdout), (0, f"{box[2]}  verified\n"), r.stderr)
        self.assertIn(f"overridden by --force: {box[2]}: ip 192.168.1.50 is also the ip of", r.stderr)
        # A pre-existing clash blocks nothing that does not add to it.
        r = cli("set", box[2], "baud=9600", *net2)
        self.assertEqual(r.returncode, 0, r.stderr)

    def test_set_reset_and_faults(self):
        result = cli("set", "02:ab:00:00:01:02", "baud=9600", "mode=udp-server", "name=Näme",
                     "local-port=0")
        self.assertEqual((result.returncode, result.stdout), (0, "02:AB:00:00:01:02  verified\n"))
        c = wait_for_state(self.other, lambda s: s["02AB00000102"]["baud"] == "9600")["02AB00000102"]
        self.assertEqual((c["baud"], c["mode"], c["name"], c["lport"], c["sip"]),
                         ("9600", 2, "Näme", "0", "10.77.0.1"))

        result = cli("reset", "02ab00000102", "--format", "json", "--interface", "cvl1")
        self.assertEqual(result.returncode, 0, result.stderr)
        c = wait_for_state(self.other, lambda s: s["02AB00000102"]["lip"] == "192.168.1.8")["02AB00000102"]
        self.assertEqual((c["lip"], c["gaw"], c["subnet"], c["lport"], c["sip"], c["sport"],
                          c["baud"], c["mode"], c["ipType"], c["dataBit"], c["parity"],
                          c["stopBit"], c["name"]),
                         ("192.168.1.8", "192.168.1.1", "255.255.255.0", "1234",
                          "192.168.1.254", "1234", "9600", 0, 0, 1, 0, 0, "Näme"))

        change = ["baud=19200", "gateway=10.77.0.254"]
        faults = [  # MAC, changes, verify timeout, exit status, result, frames sent, fields that differ
            ("02AB000000F1", change, "4000", 0, "verified", 1, []),  # silent while it restarts
            ("02AB000000F2", change, "4000", 4, "differs", 3, ["gateway", "baud"]),  # ignores writes
            ("02AB000000F3", change, "4000", 4, "differs", 3, ["baud"]),  # all but the serial settings
            # Only the serial byte: parity, data and stop bits are verified too.
            ("02AB000000F3", ["parity=even", "stop-bits=2"], "4000", 4, "differs", 3,
             ["parity", "stop-bits"]),
            # Restarting for longer than the verify timeout after each frame.
            ("02AB000000F1", ["baud=38400"], "500", 4, "no-answer", 3, []),
        ]
        for mac, changes, verify, status, outcome, frames, fields in faults:
            with self.subTest(mac=mac, changes=changes):
                r = cli("set", mac, *changes, "--format", "json", "--verify-timeout", verify)
                self.assertEqual(r.returncode, status, r.stderr)
                report = json.loads(r.stdout)[0]
                self.assertEqual(report["result"], outcome)
                self.assertIn(f"; {frames} frames sent", r.stderr)
                self.assertEqual([f["field"] for f in report["fields"]
                                  if f.get("reported", f["sent"]) != f["sent"]], fields)
                if fields == ["gateway", "baud"] or fields == ["baud"]:
                    self.assertEqual((report["fields"][-1]["sent"],
                                      report["fields"][-1]["reported"]), (19200, 115200))
        time.sleep(1.5)  # the restarting converter answers again

    def test_apply_spreadsheet(self):
        fleet = state(self.fleet)
        # As a spreadsheet saves it: byte-order mark, CRLF, quoted cells,
        # columns in its own order, a read-only column and empty cells.
        lines = ['"baud";"mac";"ip";"version";"remote-port";"name"'.replace(";", ",")]
        for i, mac in enumerate(sorted(fleet)):
            colon = ":".join(mac[k:k + 2] for k in range(0, 12, 2)).lower()
            name = '"Line, ""%d"""' % i if i % 2 else ""
            lines.append(f'"38400",{colon},"10.77.99.{i + 1}",9.9,{"" if i == 3 else 6000 + i},{name}')
        path = WORK / "fleet.csv"
        path.write_bytes(b"\xef\xbb\xbf" + "\r\n".join(lines).encode() + b"\r\n")
        result = cli("apply", str(path), "--rate", "50", "--format", "csv")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(r["result"] for r in csv.DictReader(io.StringIO(result.stdout))),
                         ["verified"] * 12)
        after = wait_for_state(self.fleet, lambda s: all(c["baud"] == "38400" for c in s.values()))
        for i, mac in enumerate(sorted(fleet)):
            c = after[mac]
            self.assertEqual((c["baud"], c["lip"], c["version"]), ("38400", f"10.77.99.{i + 1}", "1.2"))
            self.assertEqual(c["sport"], fleet[mac]["sport"] if i == 3 else str(6000 + i))
            self.assertEqual(c["name"], f'Line, "{i}"' if i % 2 else fleet[mac]["name"])

    def frames_sent_during(self, action):
        before = len(self.sent_by_tool())
        result = action()
        time.sleep(0.1)
        return result, [n for n in self.sent_by_tool()[before:] if n == 64]

    def test_writes_only_what_was_asked(self):
        odd = "02AB00000101"
        # What search wrote, back through apply: as a file from --output (with
        # a byte-order mark), and as UTF-16 the way Windows PowerShell saves
        # it. The GB18030 name and the values outside the vocabulary are no
        # change, so nothing is written.
        saved = WORK / "other.csv"
        r = cli("search", "--timeout", "400", "--interface", "cvl1", "--format", "csv",
                "--output", str(saved))
        self.assertEqual((r.returncode, r.stdout), (0, ""), r.stderr)
        self.assertTrue(saved.read_bytes().startswith(b"\xef\xbb\xbfmac,name,"))
        utf16 = WORK / "other-utf16.csv"
        utf16.write_bytes(b"\xff\xfe" + saved.read_bytes()[3:].decode().encode("utf-16-le"))
        for path in (saved, utf16):
            with self.subTest(path=path.name):
                r, frames = self.frames_sent_during(lambda: cli("apply", str(path), "--timeout", "400"))
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertEqual(r.stdout.split(), [colon(odd), "unchanged", colon("02AB00000102"),
                                                    "unchanged", colon("02AB00000103"), "unchanged"])
                self.assertEqual(frames, [])

        # set of what it reports already sends nothing.
        reported = json.loads(cli("show", odd, "--format", "json").stdout)[0]
        r, frames = self.frames_sent_during(
            lambda: cli("set", odd, f"ip={reported['ip']}", f"name={reported['name']}",
                        "parity=mark", "data-bits=5"))
        self.assertEqual((r.returncode, r.stdout, frames), (0, f"{colon(odd)}  unchanged\n", []))

        # A dry run prints the frame it would send, which OpenSSL decrypts to
        # the plaintext it prints beside it.
        r = cli("set", odd, "baud=4800", "--dry-run", "--format", "json")
        line = json.loads(r.stdout)[0]
        plain = aes_cbc(bytes.fromhex(line["frame"]), decrypt=True)
        self.assertEqual(plain.hex().upper(), line["plaintext"])
        self.assertEqual(plain[42:45], (4800).to_bytes(3, "little"))

        # A new address leaves 5 data bits, mark parity and the other bits of
        # the type, mode and serial bytes as the converter holds them. The
        # frame leaves by the adapter the converter answered on (network 1)
        # and no other.
        frames_on = lambda: (self.sent_by_tool("10.77.8.1").count(64),
                             self.sent_by_tool("10.78.8.1").count(64))
        before = frames_on()
        r = cli("set", odd, "ip=10.78.50.1", "stop-bits=2")
        self.assertEqual((r.returncode, r.stdout), (0, f"{colon(odd)}  verified\n"), r.stderr)
        time.sleep(0.1)
        self.assertEqual(frames_on(), (before[0], before[1] + 1))
        c = wait_for_state(self.other, lambda s: s[odd]["lip"] == "10.78.50.1")[odd]
        self.assertEqual((c["lip"], c["serialByte"], c["typeByte"], c["modeByte"], c["nameHex"]),
                         ("10.78.50.1", 0x28 | 0x04, 0xF0, 0xA5, "C9E8B1B8C3FBB3C6D2BB"))

    def test_piped_fleet_read_to_the_end(self):
        # Over 64 KiB through a pipe that pauses in the middle of a cell: the
        # last row comes after the pause and must still be read.
        fleet = sorted(state(self.fleet))
        head = "mac,remote-port,baud\n" + "".join(f"{m},{7000 + i},\n" for i, m in enumerate(fleet[:-1]))
        text = head + "\n" * 70000 + f"{fleet[-1]},7999,57600\n"
        data = text.encode()
        process = subprocess.Popen([CLI, "apply", "-", "--format", "csv", "--rate", "100"],
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
        cut = len(data) - 5  # inside "57600"
        process.stdin.write(data[:cut])
        process.stdin.flush()
        time.sleep(0.5)
        out, err = process.communicate(data[cut:], timeout=60)
        self.assertEqual(process.returncode, 0, err.decode())
        results = {r["mac"]: r["result"] for r in csv.DictReader(io.StringIO(out.decode()))}
        self.assertEqual(len(results), 12)
        after = wait_for_state(self.fleet, lambda s: s[fleet[-1]]["baud"] == "57600" and all(
            s[m]["sport"] == str(7000 + i) for i, m in enumerate(fleet[:-1])))
        self.assertEqual((after[fleet[-1]]["baud"], after[fleet[-1]]["sport"]), ("57600", "7999"))
        self.assertEqual(after[fleet[0]]["sport"], "7000")

    def test_statuses_that_never_lie(self):
        mac = sorted(state(self.fleet))[11]
        # Results that cannot be written after the frame left: status 7, and
        # they go to standard output instead.
        r = cli("set", mac, "baud=4800", "--output", "/dev/full")
        self.assertEqual((r.returncode, r.stdout), (7, f"{colon(mac)}  verified\n"), r.stderr)
        self.assertIn("/dev/full: cannot write", r.stderr)
        self.assertIn("the frames were sent", r.stderr)
        r = cli("search", "--timeout", "200", "--output", "/dev/full")
        self.assertEqual(r.returncode, 2, r.stderr)  # nothing sent: not 7

        # A name a spreadsheet would run as a formula is text in every CSV.
        for name in ("=1+2", "-cmd"):
            with self.subTest(name=name):
                r = cli("set", mac, f"name={name}", "--format", "csv")
                self.assertEqual(r.returncode, 0, r.stderr)
                rows = list(csv.reader(io.StringIO(cli("history", mac, "--format", "csv").stdout)))
                self.assertEqual(rows[-1][-1], f'="{name}"')
                cells = [c for row in rows for c in row]
                self.assertFalse([c for c in cells if c[:1] and c[:1] in "=+-@"
                                  and not c.startswith('="')])

        # --no-verify through an adapter that went down after the search: the
        # frame left through none, so the result is not-sent and status 6.
        box = "02AB00000203"
        run = subprocess.Popen([CLI, "set", box, "remote-port=4444", "--no-verify", "--timeout",
                                "1500", "--interface", "cvl2", "--format", "json"],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        time.sleep(0.7)
        subprocess.run(["ip", "link", "set", "cvl2", "down"], check=True)
        try:
            out, err = run.communicate(timeout=30)
        finally:
            subprocess.run(["ip", "link", "set", "cvl2", "up"], check=True)
        self.assertEqual(run.returncode, 6, err)
        self.assertEqual(json.loads(out)[0]["result"], "not-sent")
        self.assertIn("1 not sent", err)
        history = json.loads(cli("history", box, "--format", "json").stdout)
        self.assertEqual(history[-1]["result"], "not-sent")

    def test_bad_input_sends_nothing(self):
        bad_csv = WORK / "bad.csv"
        cases = [  # arguments, file text, status, message, a probe may leave first
            (["frobnicate"], None, 2, "unknown command 'frobnicate'", False),
            (["search", "--colour"], None, 2, "Unknown option 'colour'", False),
            (["report", "--format", "json"], None, 2, "--format is for search, show", False),
            (["set", "02AB0000010", "baud=9600"], None, 2, "'02AB0000010' is not a MAC", False),
            (["set", "02AB00000101", "speed=9600"], None, 2, "'speed=9600' is not FIELD=VALUE", False),
            (["set", "02AB00000101", "mac=02AB00000102"], None, 2, "mac is read-only", False),
            (["set", "02AB00000101", "baud=96OO"], None, 2,
             "baud '96OO' is not a number from 100 to 2000000", False),
            # Values a converter may hold: refused once it has answered otherwise.
            (["set", "02AB00000101", "remote-port=0"], None, 2,
             "remote-port '0' is not a number from 1 to 65535; nothing sent", True),
            (["set", "02AB00000101", "ip=10.1.300.1"], None, 2, "is not an IPv4 address", False),
            (["set", "02AB00000102", "name=ElevenBytes"], None, 2, "longer than 10 bytes", True),
            (["set", "02AB00000102", "parity=mark"], None, 2, "parity 'mark' is not one of", True),
            (["set", "02AB00000102", "parity=marks"], None, 2, "parity 'marks' is not one of", False),
            (["search", "--interface", "eth9"], None, 2, "no network interface named 'eth9'", False),
            (["apply", str(bad_csv)], "mac,baud\n02AB00000101,9600\n02ab00000101,4800\n", 2,
             "bad.csv:3: mac 02:AB:00:00:01:01 is also on line 2", False),
            (["apply", str(bad_csv)], "mac,baud\n02AB00000101,96OO\n", 2,
             "bad.csv:2: baud '96OO' is not a number from 100 to 2000000", False),
            (["apply", str(bad_csv)], "mac,baud,colour\n", 2, "bad.csv:1: unknown column 'colour'", False),
            (["apply", str(bad_csv)], "mac,baud\n02AB00000101\n", 2,
             "bad.csv:2: 1 cells where the header has 2", False),
            (["apply", str(bad_csv)], "", 2, "bad.csv: empty file", False),
            (["apply", str(bad_csv)], 'mac,name\n02AB00000101,"open\n', 2,
             "bad.csv:2: a quote that is never closed", False),
            (["apply", str(WORK / "missing.csv")], None, 2, "missing.csv: cannot read", False),
            # Bad only because of what the converter reports: a probe, no frame.
            (["apply", str(bad_csv)], "mac,baud,remote-port\n02AB00000101,9600,5001\n"
             "02AB00000102,50,\n", 2, "bad.csv:3: baud '50' is not a number from 100", True),
            (["apply", str(bad_csv)], "mac,baud\n02AB00000101,9600\n02AB000001FF,9600\n", 3,
             "no answer from 02:AB:00:00:01:FF", True),
            # assign with --only knows its count before any probe.
            (["assign", "10.9.9.254", "--only", "02AB00000101", "--only", "02AB00000102"], None, 2,
             "2 converters from 10.9.9.254 would run past .254", False),
            (["assign", "10.9.9.0"], None, 2, "ends in .0 or .255", False),
            (["assign", "10.9.9.255"], None, 2, "ends in .0 or .255", False),
            (["assign", "0.0.0.0"], None, 2, "is 0.0.0.0", False),
            # A terminal's escape sequence in a message is shown, not obeyed.
            (["apply", str(bad_csv)], "mac,baud\n02AB00000101,\x1b[2J\n", 2,
             "baud '\\x1B[2J' is not a number", False),
        ]
        for args, text, status, message, probe in cases:
            with self.subTest(args=args):
                if text is not None:
                    bad_csv.write_text(text)
                before = len(self.sent_by_tool())
                result = cli(*args, "--timeout", "300")
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertIn(message, result.stderr)
                time.sleep(0.1)
                sent = self.sent_by_tool()[before:]
                # A probe goes out of both adapters; the watcher hears each.
                self.assertEqual(sent, [4, 4] if probe else [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)

#!/usr/bin/env python3
"""The data path end to end: converter-cli test, connect, --try and
watch --test against simulated converters that carry data (converter-sim
--data-plane) across a private test network. Run by tests/e2e.sh with
E2E_HOSTS="tool dsim:12 dwatch:4"; the tool runs on host "tool".

A serial program written with Python's termios module opens connect's
pseudo-terminal, and the simulators' state files say what the converters
hold after a trial."""
import json
import os
import pathlib
import shutil
import signal
import subprocess
import sys
import termios
import time
import unittest

import cli_e2e
from cli_e2e import CLI, address, check_private_network, cli, start_sim, state

WORK = cli_e2e.WORK
MODES = {"udp": 0, "tcp-client": 1, "udp-server": 2, "tcp-server": 3}


def unit(k, mode, **extra):
    """Converter k of host dsim, at its k-th address, by its mode."""
    ip = address("dsim", k)
    return {"mac": f"02AB000007{k:02X}", "replyFrom": ip, "lip": ip, "subnet": "255.255.0.0",
            "gaw": "10.77.0.1", "mode": MODES[mode], "lport": str(4000 + k),
            "sip": address("tool"), "sport": str(7000 + k), "baud": "115200",
            "serial": "loopback", **extra}


def wait_until(check, seconds=10):
    deadline = time.time() + seconds
    while not check():
        if time.time() > deadline:
            raise AssertionError("timed out waiting")
        time.sleep(0.05)


class DataPathEndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        check_private_network()
        elsewhere = "10.77.200.9"  # no host holds it
        # One row per case: the unit, and what a loopback test must find.
        cls.cases = [
            (unit(1, "tcp-server"), "loopback-ok"),
            (unit(2, "tcp-client"), "loopback-ok"),
            (unit(3, "udp-server", baud="57600"), "loopback-ok"),
            (unit(4, "udp"), "loopback-ok"),
            (unit(5, "tcp-client", sip=elsewhere), "untested"),
            (unit(6, "udp", sip=elsewhere), "untested"),
            (unit(7, "tcp-server", faults=["garbled"]), "loopback-failed"),
            (unit(8, "tcp-server", faults=["dropped"]), "loopback-failed"),
            (unit(9, "tcp-server", faults=["closed"]), "refused"),
            (unit(10, "tcp-server", faults=["reset"]), "loopback-failed"),
            (unit(11, "udp-server", serial="none"), "loopback-failed"),
            (unit(12, "tcp-server", lip=elsewhere), "unreachable"),
        ]
        cls.units = WORK / "datapath.json"
        cls.units.write_text(json.dumps({"converters": [u for u, _ in cls.cases]}))
        cls.sim = start_sim("dsim", cls.units, "--data-plane", "--restart-ms", "1500")

    @classmethod
    def tearDownClass(cls):
        cls.sim.terminate()
        status = cls.sim.wait()
        shutil.rmtree(WORK, ignore_errors=True)
        if status != 0:
            raise AssertionError(f"the simulator ended with {status}")

    def test_each_mode_and_fault(self):
        journal = WORK / "test.jsonl"
        r = cli("test", "--all", "--loopback", "--bytes", "2048", "--format", "json",
                journal=journal)
        self.assertEqual(r.returncode, 4, r.stderr)  # untested and failures are no pass
        got = {row["mac"].replace(":", ""): row for row in json.loads(r.stdout)}
        for u, expected in self.cases:
            row = got[u["mac"]]
            with self.subTest(mac=u["mac"], mode=u["mode"], faults=u.get("faults")):
                self.assertEqual(row["result"], expected, row)
                if expected == "loopback-ok":
                    self.assertEqual((row["sent"], row["received"], row["first-wrong"]),
                                     (2048, 2048, -1))
                    self.assertGreater(row["line-share"], 0.9)
        self.assertEqual(got["02AB00000707"]["first-wrong"], 0)
        self.assertLess(got["02AB00000708"]["received"], 2048)
        self.assertLess(got["02AB0000070A"]["received"], 2048)
        self.assertEqual(got["02AB0000070B"]["received"], 0)
        self.assertIn(":4009/tcp refused", got["02AB00000709"]["message"])
        self.assertIn(f"talks to 10.77.200.9:7005/tcp", got["02AB00000705"]["message"])
        # Every test is journaled and shown by history, nothing written.
        lines = [json.loads(line) for line in journal.read_text().splitlines()]
        self.assertEqual({line["kind"] for line in lines}, {"test"})
        history = json.loads(cli("history", "02AB00000707", "--format", "json",
                                 journal=journal).stdout)
        self.assertEqual([(h["kind"], h["result"]) for h in history],
                         [("test", "loopback-failed")])
        # Without a loopback a connection is the pass.
        r = cli("test", "02AB00000701", "02AB00000709", "--format", "csv", journal=journal)
        self.assertEqual(r.returncode, 4)
        self.assertEqual([line.split(",")[2] for line in r.stdout.splitlines()[1:]],
                         ["connected", "refused"])

    def test_connect_pipes_bytes_through(self):
        data = bytes(range(256)) * 8
        for mac in ("02AB00000701", "02AB00000704"):
            with self.subTest(mac=mac):
                r = subprocess.run([CLI, "connect", mac], input=data, capture_output=True,
                                   timeout=30)
                self.assertEqual((r.returncode, r.stdout), (0, data), r.stderr)
        r = subprocess.run([CLI, "connect", "02AB00000701", "--hex"], input=b"AB\x00",
                           capture_output=True, timeout=30)
        self.assertEqual(r.stdout, b"00000000  41 42 00" + b" " * 41 + b"|AB.|\n")

    def test_pty_with_a_serial_program(self):
        link = WORK / "ttyCONV"
        run = subprocess.Popen([CLI, "connect", "02AB00000701", "--pty", str(link)],
                               stderr=subprocess.PIPE, text=True)
        try:
            wait_until(link.exists)
            port = os.open(link, os.O_RDWR | os.O_NOCTTY)
            attrs = termios.tcgetattr(port)
            attrs[4] = attrs[5] = termios.B115200
            termios.tcsetattr(port, termios.TCSANOW, attrs)

            def echo(data):
                os.write(port, data)
                got = b""
                deadline = time.time() + 10
                while len(got) < len(data) and time.time() < deadline:
                    got += os.read(port, 4096)
                return got

            self.assertEqual(echo(b"before"), b"before")
            self.sim.send_signal(signal.SIGUSR1)  # every converter restarts
            time.sleep(0.3)
            self.assertEqual(echo(b"after a restart"), b"after a restart")
            attrs[4] = attrs[5] = termios.B9600
            termios.tcsetattr(port, termios.TCSANOW, attrs)
            time.sleep(0.5)
            os.close(port)
        finally:
            run.send_signal(signal.SIGINT)
            _, err = run.communicate(timeout=30)
        self.assertEqual(run.returncode, 0, err)
        self.assertIn("reconnecting", err)
        self.assertIn("the program set 9600 8N1", err)
        self.assertFalse(link.exists() or link.is_symlink())

    def test_try(self):
        journal = WORK / "try.jsonl"
        mac = "02AB00000703"
        before = state(self.units)[mac]

        def trial(*extra, act=None):
            waiting = lambda: [l["batch"] for l in map(json.loads, journal.read_text().splitlines())
                               if l["kind"] == "trial" and l["result"] == "waiting"] \
                if journal.exists() else []
            earlier = len(waiting())
            run = subprocess.Popen([CLI, "set", mac, "remote-port=6100", "--try", "4", *extra],
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, text=True,
                                   env={**os.environ, "CONVERTER_JOURNAL": str(journal)})
            wait_until(lambda: len(waiting()) > earlier)
            batch = waiting()[-1]
            if act:
                act(run, batch)
            _, err = run.communicate(timeout=30)
            return run.returncode, err, batch

        def confirm(run, batch):
            r = cli("confirm", batch, journal=journal)
            self.assertEqual(r.returncode, 0, r.stderr)

        # How the trial ends, and what the converter holds after it.
        rows = [("confirm", confirm, 0, "6100"),
                ("time-out", None, 4, before["sport"]),
                ("ctrl-c", lambda run, _: run.send_signal(signal.SIGINT), 4, before["sport"])]
        for name, act, status, sport in rows:
            with self.subTest(name):
                code, err, batch = trial(act=act)
                self.assertEqual(code, status, err)
                after = cli_e2e.wait_for_state(self.units, lambda s: s[mac]["sport"] == sport)
                self.assertEqual({k: v for k, v in after[mac].items() if k != "configureCount"},
                                 {k: v for k, v in (before if status else after[mac]).items()
                                  if k != "configureCount"})
                self.assertEqual(after[mac]["sport"], sport)
                verdicts = [json.loads(l)["result"] for l in journal.read_text().splitlines()
                            if json.loads(l)["kind"] == "trial" and batch in l]
                self.assertEqual(verdicts, ["waiting", "confirmed" if status == 0 else "rolled-back"])
                if status == 0:  # back to where it was, for the next row
                    self.assertEqual(cli("set", mac, f"remote-port={before['sport']}",
                                         journal=journal).returncode, 0)
        # A passed test of the new settings is the confirmation.
        r = cli("set", mac, "baud=19200", "--try", "10", "--test", "--loopback", journal=journal)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("loopback-ok", r.stderr)
        self.assertEqual(cli("confirm", r.stderr.split("batch ")[-1].split()[0],
                             journal=journal).returncode, 2)  # no longer on trial

    def test_watch_with_test(self):
        box = WORK / "box.json"
        box.write_text(json.dumps({"converters": [
            {"mac": f"02AB000008{k:02X}", "replyFrom": address("dwatch", k), "lip": "192.168.1.8",
             "subnet": "255.255.255.0", "gaw": "192.168.1.1", "serial": "loopback",
             "faults": ["dropped"] if k == 2 else []} for k in (1, 2)]}))
        sim = start_sim("dwatch", box, "--data-plane")
        try:
            r = subprocess.run([CLI, "watch", "--assign", address("dwatch", 3), "mode=tcp-server",
                                "subnet=255.255.0.0", "gateway=10.77.0.1", "--test",
                                "--loopback", "--count", "2", "--format", "json",
                                "--interval", "200"],
                               capture_output=True, text=True, timeout=60,
                               env={**os.environ, "CONVERTER_JOURNAL": str(WORK / "w.jsonl")})
        finally:
            sim.terminate()
            sim.wait()
        self.assertEqual(r.returncode, 4, r.stderr)
        events = {(e["mac"][-2:], e["event"]): e for e in map(json.loads, r.stdout.splitlines())}
        self.assertEqual(sorted(k for k in events if k[1] in ("tested", "test-failed")),
                         [("01", "tested"), ("02", "test-failed")])
        self.assertGreater(events[("01", "tested")]["line-share"], 0.9)
        self.assertEqual(events[("02", "test-failed")]["test"], "loopback-failed")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)  # test names may follow

#!/usr/bin/env python3
"""The Wireshark dissector (tools/wireshark/convcfg.lua) judged by tshark:
frames built here from the protocol's layout, their checksums computed here
and encrypted by OpenSSL, written to a capture file, and every field tshark
shows compared with what was put in. Reads a file: nothing is sent.

    dissector.py CONVCFG_LUA
"""
import json
import os
import shutil
import random
import struct
import subprocess
import sys
import tempfile
import unittest

from wire import aes_cbc, crc16_modbus

LUA = os.path.abspath(sys.argv[1]) if __name__ == "__main__" else os.environ.get("CONVCFG_LUA")
OTHER_KEY = "00112233445566778899AABBCCDDEEFF"
MODES = ["udp", "tcp-client", "udp-server", "tcp-server"]
PARITY_BITS = {"none": 0x00, "odd": 0x08, "even": 0x18, "mark": 0x28, "space": 0x38}
DATA_BITS = {5: 0, 6: 1, 7: 2, 8: 3}


def address(text):
    return bytes(reversed([int(x) for x in text.split(".")]))  # low byte first


def plaintext(c, configure=False, rng=None):
    """64 bytes as converters and the programs lay them out."""
    rng = rng or random.Random(1)
    f = bytearray(64)
    f[0:6] = bytes.fromhex(c["mac"])
    if configure:
        f[6:10] = b"1111"
    else:
        major, minor = c.get("version", (1, 2))
        f[6] = major << 4 | minor
        f[7:10] = bytes(rng.randrange(256) for _ in range(3))
    name = c.get("name", b"")
    f[10:10 + len(name)] = name
    f[20] = c.get("type_extra", 0) | (1 if c.get("ip_type") == "dhcp" else 0)
    f[21] = c.get("mode_extra", 0) | MODES.index(c.get("mode", "udp"))
    f[22:26] = address(c.get("subnet", "255.255.255.0"))
    f[26:30] = address(c.get("gateway", "10.1.2.1"))
    f[30:34] = address(c.get("ip", "10.1.2.50"))
    f[34:36] = struct.pack("<H", c.get("local_port", 4001))
    f[36:40] = address(c.get("remote_ip", "10.1.2.200"))
    f[40:42] = struct.pack("<H", c.get("remote_port", 5001))
    f[42:45] = struct.pack("<I", c.get("baud", 9600))[:3]
    f[45] = (c.get("serial_extra", 0) | PARITY_BITS[c.get("parity", "none")]
             | DATA_BITS[c.get("data_bits", 8)] | (4 if c.get("stop_bits", 1) == 2 else 0))
    f[46:50] = bytes(rng.randrange(256) for _ in range(4))  # bytes no program reads
    f[50:52] = struct.pack("<H", crc16_modbus(f[0:50]) ^ c.get("break_checksum", 0))
    f[52:64] = bytes(rng.randrange(256) for _ in range(12))
    return bytes(f)


def ip_checksum(header):
    total = sum(struct.unpack("!10H", header))
    total = (total >> 16) + (total & 0xFFFF)
    return ~(total + (total >> 16)) & 0xFFFF


def packet(payload, sport, dport=1500, source="10.1.2.50"):
    udp = struct.pack("!HHHH", sport, dport, 8 + len(payload), 0) + payload
    ip = bytearray(struct.pack("!BBHHHBBH4s4s", 0x45, 0, 20 + len(udp), 1, 0, 64, 17, 0,
                               bytes(int(x) for x in source.split(".")),
                               bytes([255, 255, 255, 255])))
    ip[10:12] = struct.pack("!H", ip_checksum(bytes(ip)))
    ether = b"\xff" * 6 + bytes.fromhex("02AB00000001") + b"\x08\x00"
    return ether + bytes(ip) + udp


def capture(path, packets):
    with open(path, "wb") as out:
        out.write(struct.pack("<IHHiIII", 0xA1B2C3D4, 2, 4, 0, 0, 65535, 1))
        for n, data in enumerate(packets):
            out.write(struct.pack("<IIII", 1765238400 + n, 0, len(data), len(data)) + data)


FIELDS = ["convcfg.kind", "convcfg.mac", "convcfg.name", "convcfg.version", "convcfg.mode",
          "convcfg.ip_type", "convcfg.ip", "convcfg.subnet", "convcfg.gateway",
          "convcfg.remote_ip", "convcfg.local_port", "convcfg.remote_port", "convcfg.baud",
          "convcfg.parity", "convcfg.data_bits", "convcfg.stop_bits", "convcfg.checksum",
          "convcfg.checksum.status", "convcfg.plaintext", "_ws.col.Info", "_ws.expert.message",
          "_ws.expert.severity"]


def dissect(packets, lua=None):
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "frames.pcap")
        capture(path, packets)
        script = shutil.copy(lua or LUA, os.path.join(work, "convcfg.lua"))
        command = ["tshark", "-n", "-r", path, "-X", "lua_script:" + script]
        if os.geteuid() == 0:
            # Wireshark 4.4 runs no -X Lua script as root (4.0 did): tshark
            # runs as nobody, on files it may read.
            os.chmod(work, 0o755)
            for name in (path, script):
                os.chmod(name, 0o644)
            command = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "env",
                       "HOME=" + work] + command
        command += ["-T", "fields", "-E", "separator=\t", "-E", "occurrence=a", "-E",
                    "aggregator=|"]
        for field in FIELDS:
            command += ["-e", field]
        run = subprocess.run(command, capture_output=True, text=True, timeout=120)
        if run.returncode != 0 or "convcfg" in run.stderr:
            raise AssertionError("tshark: " + run.stderr)
        return [dict(zip(FIELDS, line.split("\t"))) for line in run.stdout.splitlines()]


def mac_text(digits):
    return ":".join(digits[k:k + 2] for k in range(0, 12, 2)).lower()


# Replies of every mode and parity, with bits no program reads set.
UNITS = [
    {"mac": "02AB00000001", "name": "Pump 3".encode(), "mode": "tcp-server", "ip": "10.1.2.50",
     "subnet": "255.255.255.0", "baud": 9600, "parity": "none", "data_bits": 8, "stop_bits": 1},
    {"mac": "02AB00000002", "name": bytes.fromhex("C9E8B1B8C3FBB3C6D2BB"), "mode": "udp",
     "ip_type": "dhcp", "ip": "192.168.1.8", "subnet": "255.255.0.0", "baud": 115200,
     "parity": "odd", "data_bits": 7, "stop_bits": 2, "type_extra": 0xF0, "mode_extra": 0xA4,
     "version": (2, 11)},
    {"mac": "02AB00000003", "name": b"", "mode": "tcp-client", "baud": 2000000,
     "parity": "even", "data_bits": 5, "serial_extra": 0xC0, "local_port": 0},
    {"mac": "02AB00000004", "name": "Zähler".encode(), "mode": "udp-server", "baud": 300,
     "parity": "mark", "data_bits": 6, "remote_port": 65535},
    {"mac": "02AB00000005", "name": b"ABCDEFGHIJ", "mode": "udp", "parity": "space",
     "ip": "172.16.0.9", "subnet": "255.255.255.252", "gateway": "0.0.0.0"},
]


class Dissector(unittest.TestCase):
    def test_frames(self):
        rng = random.Random(20261209)
        packets = [packet(b"FFFF", 1500)]
        plains = [plaintext(u, rng=rng) for u in UNITS]
        packets += [packet(aes_cbc(p), 1500) for p in plains]
        configure = plaintext(UNITS[0], configure=True, rng=rng)
        packets += [packet(aes_cbc(configure), 1500), packet(aes_cbc(configure), 40000)]
        packets.append(packet(aes_cbc(plains[0], key=OTHER_KEY), 1500))  # another key
        damaged = plaintext({**UNITS[1], "break_checksum": 1}, rng=rng)
        packets.append(packet(aes_cbc(damaged), 1500))
        packets.append(packet(aes_cbc(plains[0])[:63], 1500))
        packets.append(packet(aes_cbc(plains[0]), 40000))  # a reply from the wrong port
        rows = dissect(packets)
        self.assertEqual(len(rows), len(packets))

        probe = rows[0]
        self.assertEqual((probe["convcfg.kind"], probe["_ws.col.Info"], probe["convcfg.mac"]),
                         ("probe", "Probe", ""))
        self.assertEqual(probe["_ws.expert.message"], "")

        names = ["Pump 3", "设备名称一", "", "Zähler", "ABCDEFGHIJ"]
        for unit, plain, name, row in zip(UNITS, plains, names, rows[1:6]):
            with self.subTest(mac=unit["mac"]):
                major, minor = unit.get("version", (1, 2))
                expected = {
                    "convcfg.kind": "reply", "convcfg.mac": mac_text(unit["mac"]),
                    "convcfg.name": name, "convcfg.version": f"{major}.{minor}",
                    "convcfg.mode": unit["mode"],
                    "convcfg.ip_type": unit.get("ip_type", "static"),
                    "convcfg.ip": unit.get("ip", "10.1.2.50"),
                    "convcfg.subnet": unit.get("subnet", "255.255.255.0"),
                    "convcfg.gateway": unit.get("gateway", "10.1.2.1"),
                    "convcfg.remote_ip": unit.get("remote_ip", "10.1.2.200"),
                    "convcfg.local_port": str(unit.get("local_port", 4001)),
                    "convcfg.remote_port": str(unit.get("remote_port", 5001)),
                    "convcfg.baud": str(unit.get("baud", 9600)),
                    "convcfg.parity": unit["parity"],
                    "convcfg.data_bits": str(unit.get("data_bits", 8)),
                    "convcfg.stop_bits": str(unit.get("stop_bits", 1)),
                    "convcfg.checksum": "0x%04x" % struct.unpack("<H", plain[50:52])[0],
                    "convcfg.checksum.status": "1",
                    "convcfg.plaintext": plain.hex(),
                    "_ws.expert.message": "",  # no false alarms
                }
                self.assertEqual({k: row[k] for k in expected}, expected)
        self.assertEqual(rows[1]["_ws.col.Info"],
                         'Reply 02:AB:00:00:00:01 "Pump 3" 10.1.2.50/24 tcp-server 9600 8N1')
        self.assertEqual(rows[2]["_ws.col.Info"],
                         'Reply 02:AB:00:00:00:02 "设备名称一" 192.168.1.8/16 udp 115200 7O2')

        for row in rows[6:8]:  # a configure frame, whatever its ports
            self.assertEqual((row["convcfg.kind"], row["convcfg.version"],
                              row["convcfg.checksum.status"], row["_ws.expert.message"]),
                             ("configure", "", "1", ""))
            self.assertTrue(row["_ws.col.Info"].startswith('Configure 02:AB:00:00:00:01 "Pump 3"'))

        for row in rows[8:10]:  # another key; a damaged checksum
            self.assertEqual((row["convcfg.kind"], row["convcfg.checksum.status"]), ("reply", "0"))
            self.assertIn("Bad checksum", row["_ws.expert.message"])
            self.assertEqual(row["_ws.expert.severity"], str(0x00600000))  # warning
        # The value stored in the frame, not the one computed.
        self.assertEqual(rows[9]["convcfg.checksum"],
                         "0x%04x" % (crc16_modbus(damaged[:50]) ^ 1))

        for row in rows[10:12]:  # 63 bytes; 64 from a foreign port
            self.assertEqual((row["convcfg.kind"], row["convcfg.mac"], row["convcfg.checksum"]),
                             ("malformed", "", ""))
            self.assertIn("neither a probe nor a reply or configure frame",
                          row["_ws.expert.message"])
            self.assertEqual(row["_ws.expert.severity"], str(0x00800000))  # error


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)

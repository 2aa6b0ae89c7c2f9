#!/usr/bin/env python3
"""Judges what crossed the wire with nothing of the project's code: every
64-byte datagram that the given senders sent (from a watcher's hex log) is
decrypted by OpenSSL (AES-128-CBC, zero IV, under the key every frame uses)
and must carry the configure tag "1111" and a CRC-16/MODBUS, computed here,
over bytes 0 to 49, stored low byte first. Prints how many were judged.
  judge-frames.py HEXLOG SENDER...
"""
import subprocess
import sys

FRAME_KEY = "3A71C2095ED418B7660FA39C24E8517D"


def crc16_modbus(data):
    crc = 0xFFFF
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


# The published check value of CRC-16/MODBUS.
if crc16_modbus(b"123456789") != 0x4B37:
    sys.exit("judge: the CRC here is wrong")

hexlog, senders = sys.argv[1], set(sys.argv[2:])
judged = 0
for line in open(hexlog):
    sender, length, data = line.split()
    if sender not in senders or length != "64":
        continue
    plain = subprocess.run(["openssl", "enc", "-d", "-aes-128-cbc", "-nopad", "-K", FRAME_KEY,
                            "-iv", "0" * 32], input=bytes.fromhex(data), capture_output=True,
                           check=True).stdout
    if plain[6:10] != b"1111":
        sys.exit(f"judge: a frame from {sender} without the configure tag: {plain.hex()}")
    if int.from_bytes(plain[50:52], "little") != crc16_modbus(plain[:50]):
        sys.exit(f"judge: a frame from {sender} with a wrong checksum: {plain.hex()}")
    judged += 1
print(judged)

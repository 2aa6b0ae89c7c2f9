#!/usr/bin/env python3
"""Judges what crossed the wire with nothing of the project's code: every
64-byte datagram that the given senders sent (from a watcher's hex log) is
decrypted by OpenSSL (AES-128-CBC, zero IV, under the key every frame uses)
and must carry the configure tag "1111" and a CRC-16/MODBUS, computed here,
over bytes 0 to 49, stored low byte first. Prints how many were judged.
  judge-frames.py HEXLOG SENDER...
"""
import sys

from wire import aes_cbc, crc16_modbus

hexlog, senders = sys.argv[1], set(sys.argv[2:])
judged = 0
for line in open(hexlog):
    sender, length, data = line.split()
    if sender not in senders or length != "64":
        continue
    plain = aes_cbc(bytes.fromhex(data), decrypt=True)
    if plain[6:10] != b"1111":
        sys.exit(f"judge: a frame from {sender} without the configure tag: {plain.hex()}")
    if int.from_bytes(plain[50:52], "little") != crc16_modbus(plain[:50]):
        sys.exit(f"judge: a frame from {sender} with a wrong checksum: {plain.hex()}")
    judged += 1
print(judged)

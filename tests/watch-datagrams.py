#!/usr/bin/env python3
"""Records every datagram that reaches UDP port 1500 on this host, one line
"SENDER LENGTH" per datagram, into the file named, and with a second file
named "SENDER LENGTH HEX" there too, for a judge of the bytes. Refuses to run
outside a private test network. Prints "ready" once it listens."""
import socket
import sys

if any(n != "lo" and not n.startswith("cvl") for _, n in socket.if_nameindex()):
    sys.exit("watcher: not in a private network")
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("0.0.0.0", 1500))
print("ready", flush=True)
hexlog = open(sys.argv[2], "a") if len(sys.argv) > 2 else None
with open(sys.argv[1], "a") as log:
    while True:
        data, sender = s.recvfrom(2048)
        log.write(f"{sender[0]} {len(data)}\n")
        log.flush()
        if hexlog:
            hexlog.write(f"{sender[0]} {len(data)} {data.hex()}\n")
            hexlog.flush()

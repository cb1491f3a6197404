#!/usr/bin/env python3
"""Writes the seed corpus of the network packet fuzz target: one packet of each message type, as
the game sends them (a type byte, then little-endian fields), and a keys heartbeat."""
import os
import struct
import sys


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "packet_corpus")
    os.makedirs(folder, exist_ok=True)
    version = b"TUVO!! 1.0.0"
    packets = {
        "hello": bytes([1]) + b"TUVO" + struct.pack("<HB", 3, len(version)) + version,
        "refuse": bytes([2, 1]),
        "start": bytes([3]) + struct.pack("<IB", 1765112345, 1),
        "ask_start": bytes([4]),
        # round, acknowledgement, first tick, count, then each tick's keys
        "keys": bytes([5]) + struct.pack("<BIIB3H", 1, 118, 120, 3, 0x0041, 0x0041, 0x4001),
        "heartbeat": bytes([5]) + struct.pack("<BIIB", 1, 0, 0, 0),
        "world_hash": bytes([6]) + struct.pack("<IQ", 60, 0x0123456789ABCDEF),
        "pause": bytes([7, 1]),
        "ask_again": bytes([8]),
        "welcome": bytes([9]),
        "end_round": bytes([10]),
    }
    for name, data in packets.items():
        with open(os.path.join(folder, name + ".bin"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()

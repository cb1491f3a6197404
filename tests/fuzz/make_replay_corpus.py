#!/usr/bin/env python3
"""Writes the seed corpus of the replay fuzz target: small recordings as the game writes them
(signature, format 5, seed, tick count, final fingerprint, round options, two bytes of keys a
tick, checksum), and rounds kept in the player's folder (signature, details format 1, the
details' length, when, each side's player, level and points, how it ended, checksum, then a
recording as above)."""
import os
import struct
import sys


def checksum(data):
    h = 2166136261
    for b in data:
        h ^= b
        h = (h * 16777619) & 0xFFFFFFFF
    return h


def replay(seed, keys, final_hash, options=0):
    body = b"TUVOREPL" + struct.pack("<IIIQI", 5, seed, len(keys), final_hash, options)
    body += b"".join(struct.pack("<H", k) for k in keys)
    return body + struct.pack("<I", checksum(body))


def kept(when, sides, left, clock, recording):
    body = b"TUVOKEPT" + struct.pack("<II", 1, 23) + struct.pack("<q", when)
    for kind, level, points in sides:
        body += struct.pack("<BBi", kind, level, points)
    body += struct.pack("<BH", left, clock)
    return body + struct.pack("<I", checksum(body)) + recording


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "replay_corpus")
    os.makedirs(folder, exist_ok=True)
    rounds = {
        "empty.rec": replay(1, [], 0),
        "walk.rec": replay(2, [1] * 40 + [0] * 5 + [1 << 7] * 30, 0x1234567890ABCDEF, 1),
        "bombs.rec": replay(3, [1 << 6, 0, 1 << 13, 0, (1 << 14) | 3] * 12, 42),
        "every_key.rec": replay(4294967295, [(1 << k) for k in range(15)] + [0x7FFF], 7),
        "kept_computer.round": kept(1796808717, [(0, 0, 7), (1, 2, 25)], 1, 252,
                                    replay(5, [1] * 20, 9)),
        "kept_online.round": kept(1796808717, [(2, 0, 31), (0, 0, 12)], 0, 0, replay(6, [], 0, 1)),
    }
    for name, data in rounds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()

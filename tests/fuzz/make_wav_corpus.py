#!/usr/bin/env python3
"""Writes the WAV fuzzer's seed files: one short, valid sound of each kind the loader reads.
Run from anywhere; the files land in wav_corpus/ beside this script."""
import math
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "wav_corpus")


def fmt_chunk(tag, channels, rate, bits, block=None, extra=b""):
    block = block or channels * ((bits + 7) // 8)
    body = struct.pack("<HHIIHH", tag, channels, rate, rate * block, block, bits)
    if extra or tag == 0xFFFE:
        body += struct.pack("<H", len(extra)) + extra
    return b"fmt " + struct.pack("<I", len(body)) + body


def chunk(name, body):
    return name + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


def riff(*chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def tone(frames, channels, encode):
    out = b""
    for i in range(frames):
        v = 0.5 * math.sin(2 * math.pi * i / 16)
        out += encode(v) * channels
    return out


def seeds():
    pcm8 = lambda v: bytes([int(128 + v * 127)])
    pcm16 = lambda v: struct.pack("<h", int(v * 32767))
    pcm24 = lambda v: struct.pack("<i", int(v * 8388607))[:3]
    pcm32 = lambda v: struct.pack("<i", int(v * 2147483647))
    flt = lambda v: struct.pack("<f", v)
    yield "pcm8_mono", riff(fmt_chunk(1, 1, 8000, 8), chunk(b"data", tone(40, 1, pcm8)))
    yield "pcm16_mono", riff(fmt_chunk(1, 1, 22050, 16), chunk(b"data", tone(40, 1, pcm16)))
    yield "pcm16_stereo", riff(fmt_chunk(1, 2, 44100, 16), chunk(b"data", tone(30, 2, pcm16)))
    yield "pcm24", riff(fmt_chunk(1, 1, 96000, 24), chunk(b"data", tone(40, 1, pcm24)))
    yield "pcm32", riff(fmt_chunk(1, 1, 48000, 32), chunk(b"data", tone(30, 1, pcm32)))
    yield "float", riff(fmt_chunk(3, 2, 192000, 32), chunk(b"data", tone(30, 2, flt)),
                        chunk(b"fact", struct.pack("<I", 30)))
    yield "alaw", riff(fmt_chunk(6, 1, 8000, 8), chunk(b"data", bytes(range(0, 240, 6))))
    yield "mulaw", riff(fmt_chunk(7, 1, 8000, 8), chunk(b"data", bytes(range(255, 15, -6))))
    guid_pcm = struct.pack("<IHH", 1, 0, 0x10) + bytes([0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71])
    extensible = struct.pack("<HI", 16, 3) + guid_pcm
    yield "extensible", riff(fmt_chunk(0xFFFE, 2, 11025, 16, extra=extensible),
                             chunk(b"data", tone(30, 2, pcm16)))
    # IMA ADPCM: one block of 36 bytes holding 65 frames: the first sample and step index,
    # then 64 four-bit steps.
    yield "ima_adpcm", riff(fmt_chunk(0x11, 1, 11025, 4, block=36, extra=struct.pack("<H", 65)),
                            chunk(b"fact", struct.pack("<I", 65)),
                            chunk(b"data", struct.pack("<hBB", 0, 10, 0) + bytes(range(1, 33))))
    yield "with_list", riff(fmt_chunk(1, 1, 16000, 16), chunk(b"LIST", b"INFOISFT\x05\0\0\0tuvo\0\0"),
                            chunk(b"data", tone(25, 1, pcm16)))


def main():
    os.makedirs(HERE, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(HERE, name + ".wav"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()

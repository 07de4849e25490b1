#!/usr/bin/env python3
"""Writes demo.mid, the phrase the demo plays through every plug-in.

Two bars at 120 beats per minute (960 pulses per quarter note): a melody on channel 1 with
notes outside C major and velocities from soft to loud, a bass line on channel 2, a
modulation-wheel sweep (controller 1) and a pitch bend. Run it again after changing it; the
demo uses the committed file.
"""
import struct

PPQN = 960


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def track(events):
    data = b""
    now = 0
    for time, message in sorted(events, key=lambda e: e[0]):
        data += variable_length(time - now) + bytes(message)
        now = time
    data += variable_length(0) + bytes([0xFF, 0x2F, 0x00])
    return b"MTrk" + struct.pack(">I", len(data)) + data


def note(events, channel, start, length, number, velocity):
    events.append((start, [0x90 | channel, number, velocity]))
    events.append((start + length, [0x80 | channel, number, 0]))


events = [(0, [0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20]),  # 120 beats per minute
          (0, [0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08])]  # 4/4
eighth = PPQN // 2
melody = [(60, 40), (62, 60), (63, 80), (65, 100), (66, 120), (67, 90), (70, 70), (72, 110),
          (71, 50), (69, 65), (68, 85), (67, 105), (65, 75), (64, 95), (62, 55), (60, 127)]
for i, (number, velocity) in enumerate(melody):
    note(events, 0, i * eighth, eighth - 60, number, velocity)
for i, number in enumerate([36, 43, 41, 43]):
    note(events, 1, i * 2 * PPQN, 2 * PPQN - 120, number, 90)
for i in range(16):
    events.append((i * eighth + 240, [0xB0, 1, i * 8]))
events.append((6 * PPQN, [0xE0, 0x00, 0x50]))
events.append((7 * PPQN, [0xE0, 0x00, 0x40]))

header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, PPQN)
with open("demo.mid", "wb") as out:
    out.write(header + track(events))

#!/usr/bin/env python3
"""Writes the seed corpus of effect_fuzzer: a few small host sessions per plug-in, in the
encodings EffectFuzzer.cpp reads (see FuzzInput.h and HostBuffers.h).

    python3 tests/fuzz/make_corpus.py      rewrites tests/fuzz/corpus/<plug-in>/<session>
"""
import math
import pathlib
import struct

# Byte 0 of an input selects the plug-in in this order.
PLUGINS = ["scalomir", "brenlit", "valdrin", "sorvane", "kelvost",
           "marquil", "tavrune", "lunfeth", "gavorn", "pellix"]

NAN = float("nan")
INF = float("inf")


def number(value):
    if -16 <= value <= 223:
        return bytes([value + 16])
    return b"\xf2" + struct.pack("<i", value)


def wide(value):
    if -16 <= value <= 223:
        return number(value)
    return b"\xff" + struct.pack("<q", value)


def real(value):
    if not math.isnan(value) and 0.0 <= value <= 1.0 and (value * 200).is_integer():
        return bytes([int(value * 200)])
    return b"\xff" + struct.pack("<f", value)


def opcode(code):
    if 0 <= code < 0x80:
        return bytes([code])
    if -128 <= code < -1:
        return bytes([code + 256])
    return b"\xff" + struct.pack("<i", code)


def dispatch(code, index=0, value=0, opt=0.0, null=False, pointee=b""):
    return b"\x00" + opcode(code) + number(index) + wide(value) + real(opt) + \
        bytes([1 if null else 0]) + (b"" if null else pointee)


def text(content):
    data = content.encode()
    return bytes([len(data)]) + data


def set_parameter(index, value):
    return b"\x01" + number(index) + real(value)


def get_parameter(index):
    return b"\x02" + number(index)


def midi(status, data1, data2, delta=None):
    if delta is None:
        return bytes([0x00, status, data1, data2])
    return bytes([0x20]) + number(delta) + bytes([status, data1, data2])


NULL_EVENT = b"\x07"


def odd_event(kind_type, byte_size, status, data1, data2):
    return bytes([0x18]) + number(kind_type) + number(byte_size) + bytes([status, data1, data2])


def event_list(events, count=None):
    head = len(events)
    assert head <= 63
    if count is None:
        return bytes([head]) + b"".join(events)
    return bytes([head | 0x40]) + number(count) + b"".join(events)


def events(items, count=None):
    return b"\x03" + event_list(items, count)


def process(frames, mode=0, sample=0.5, nulled=None):
    tail = bytes([nulled]) if nulled is not None else b""
    return b"\x04" + bytes([mode | (8 if nulled is not None else 0)]) + number(frames) + \
        real(sample) + tail


def arrangement(channels, kind=0):
    return bytes([channels]) + number(kind)


def startup():
    return dispatch(0) + dispatch(10, opt=44100.0) + dispatch(11, value=512) + \
        dispatch(12, value=1) + dispatch(71)


def identify():
    session = startup()
    for code in (45, 46, 47, 48, 70):
        session += dispatch(code)
    for code in (22, 35, 49, 52, 58):
        session += dispatch(code)
    for feature in ("receiveVstEvents", "sendVstMidiEvent", "receiveVstTimeInfo", "bogus", ""):
        session += dispatch(51, pointee=text(feature))
    for index in range(15):
        session += dispatch(8, index) + dispatch(6, index) + dispatch(7, index)
    session += dispatch(5) + dispatch(3)
    return session


def perform():
    session = startup()
    session += events([midi(0x90 | c, 60 + c, 100, delta=c) for c in range(4)])
    session += process(64)
    session += events([midi(0xB0, 16 + i, 64 * (i % 2)) for i in range(5)] +
                      [midi(0xE0, 0, 64), midi(0xD0, 30, 0), midi(0xA0, 61, 40),
                       midi(0xC0, 1, 0), midi(0xF0, 1, 2)])
    session += process(128, mode=1 | 16, sample=1.0)
    session += events([midi(0x80 | c, 60 + c, 64) for c in range(2)] +
                      [midi(0x90 | 2, 62, 0), midi(0xB3, 123, 0), midi(0xB0, 120, 0)])
    session += process(256, mode=32)
    session += dispatch(12, value=0) + dispatch(72)
    return session


def parameters():
    session = startup()
    values = (0.0, 0.5, 1.0, 0.25, NAN, INF, -INF, 1e30, -1.0, 2.0)
    for index in range(15):
        for value in values:
            session += set_parameter(index, value)
        session += get_parameter(index) + dispatch(7, index)
    for program in (0, 1, 2, 23, 24, -1):
        session += dispatch(2, value=program) + dispatch(5) + dispatch(3)
    session += dispatch(4, pointee=text("A name longer than any program name can hold"))
    session += dispatch(30, 1) + dispatch(30, -1) + dispatch(29, 0, 0)
    session += events([midi(0xC0, 3, 0), midi(0xC0, 0, 0), midi(0x90, 64, 90)])
    session += process(32)
    return session


def pointers():
    session = startup()
    for code in range(77):
        if code != 1:
            session += dispatch(code, null=True)
    for index in (0, 1, 2):
        session += dispatch(33, index) + dispatch(34, index)
    session += dispatch(42, pointee=arrangement(2) + arrangement(2))
    session += dispatch(42, pointee=arrangement(0, -1) + arrangement(8, 5))
    session += dispatch(69) + dispatch(23, 0) + dispatch(23, 1)
    session += dispatch(24, 0, pointee=bytes([16, 7])) + dispatch(24, 1, pointee=bytes([0, 0]))
    session += dispatch(13) + dispatch(14) + dispatch(15) + dispatch(19)
    session += dispatch(27, 0, pointee=text("0.5")) + dispatch(50, 1, 2)
    return session


def edges():
    session = dispatch(0) + dispatch(10, opt=NAN) + dispatch(12, value=1)
    session += process(64, mode=2) + process(64, mode=4) + process(-5) + process(0)
    session += process(4096, mode=1) + process(16, nulled=0x80) + process(16, nulled=1)
    session += events([NULL_EVENT, midi(0x90, 200, 255), NULL_EVENT], count=-1)
    session += events([midi(0x90, 60, 100), midi(0x90, 61, 100)], count=1)
    session += events([odd_event(6, 48, 0xF0, 0x7E, 0x7F), odd_event(1, -1, 0x91, 127, 127),
                       midi(0x90, 127, 1, delta=-2147483648), midi(0x80, 127, 0)])
    session += process(8, sample=NAN)
    session += dispatch(43, value=-1, opt=-INF) + dispatch(12, value=0) + dispatch(12, value=1)
    session += dispatch(11, value=-2147483648) + dispatch(2, value=2**40)
    session += dispatch(-1) + dispatch(2**31 - 1) + dispatch(100, -16, -16, NAN)
    session += process(1, mode=1 | 16)
    return session


def main():
    corpus = pathlib.Path(__file__).resolve().parent / "corpus"
    sessions = {"identify": identify, "perform": perform, "parameters": parameters,
                "pointers": pointers, "edges": edges}
    for selector, plugin in enumerate(PLUGINS):
        folder = corpus / plugin
        folder.mkdir(parents=True, exist_ok=True)
        for name, make in sessions.items():
            (folder / name).write_bytes(bytes([selector]) + make())


if __name__ == "__main__":
    main()

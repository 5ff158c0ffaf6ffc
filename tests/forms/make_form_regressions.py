#!/usr/bin/env python3
"""Writes the malformed form sections kept as regression inputs, each as NAME.bin
with NAME.error holding a fragment of the error that reading must give.

The layout is spelled out here independently of forms/, so these files also
cross-check the reader. Run: python3 tests/forms/make_form_regressions.py
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "forms", "regressions")


def u32(*values):
    return b"".join(struct.pack("<I", v & 0xFFFFFFFF) for v in values)


def control_record(class_id, name=b"", block=b"", events=(), cursor=0):
    body = u32(class_id) + bytes(20) + name + b"\0" + b"\0" + u32(0)
    body += u32(8, 8, 100, 50) + u32(0) + u32(0) + u32(0)  # geometry, 0, parent, no children
    body += u32(4, cursor) + b"\0" + u32(0) + u32(1) + u32(0)  # cursor, tag, 0, flags, 0
    body += u32(len(events)) + b"".join(u32(e, h) for e, h in events) + bytes(20) + block
    return u32(len(body)) + body


def section(records, window_id=0x52010001, unit_length_delta=0, offsets=None):
    ids = [i for i, _ in records]
    lengths = [len(r) for _, r in records]
    if offsets is None:
        offsets = [sum(lengths[:k]) for k in range(len(records))]
    unit_length = 8 * len(records) + sum(lengths) + unit_length_delta
    unit = u32(0x1B2, 0x19010005, 0, 0, len(records), unit_length) + u32(*ids) + u32(*offsets)
    unit += b"".join(r for _, r in records)
    return u32(8, window_id, 0x3A) + unit


def own():
    return (0x06010000, control_record(0x00010001, events=[(0, 0x1000)]))


label_v2_short = u32(2) + u32(*([0] * 16))  # stops before the font block
cases = {
    "first_offset_not_zero": (
        section([own(), (0x16010002, control_record(0x0001000A))], offsets=[4, 0]),
        "first offset must be 0"),
    "unit_length_max": (
        section([own()], unit_length_delta=0xFFFFFFFF - (8 + len(own()[1]))),
        "runs past the section end"),
    "unit_length_short": (
        section([own()], unit_length_delta=-1),
        "runs past the end of its unit"),
    "unterminated_name": (
        # The record is cut right after a name without its zero byte.
        section([own(), (0x16010002, u32(4 + 20 + 3) + u32(0x0001000A) + bytes(20) + b"abc")]),
        "name has no terminating zero byte"),
    "label_block_too_short": (
        section([own(), (0x16010002, control_record(0x0001000A, b"L", label_v2_short))]),
        "label block font"),
    "event_count_max": (
        section([own()])[:-(20 + 8 + 4)] + u32(0xFFFFFFFF) + u32(0, 0x1000) + bytes(20),
        "event table"),
}

for name, (data, error) in cases.items():
    with open(os.path.join(OUT, name + ".bin"), "wb") as f:
        f.write(data)
    with open(os.path.join(OUT, name + ".error"), "w") as f:
        f.write(error + "\n")

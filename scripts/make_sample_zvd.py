#!/usr/bin/env python3
"""Writes samples/usmacro.zvd from the public-domain US macro data (quarterly 1960Q1-2008Q4).

Usage: make_sample_zvd.py DATA.CSV OUT.ZVD

The ZVD file is little-endian with records of 160 bytes: a header of seven 32-bit integers
(nobs, nvars, frequency, periods per year, start year within the century, start period,
century base), name records of three 53-byte entries (14-byte name, 39-byte description),
each variable's values twenty doubles to a record, then 80-byte descriptions two to a record.
Unused bytes are zero.
"""
import csv
import struct
import sys

DESCRIPTIONS = {
    "INPT": "Intercept",
    "LC": "Log of real personal consumption expenditure",
    "LY": "Log of real disposable personal income",
    "INFL": "Inflation rate, 400 times the log change of the CPI",
    "R": "3-month Treasury bill rate, percent",
}
RECORD = 160


def record(payload: bytes) -> bytes:
    return payload + bytes(RECORD - len(payload))


def text(value: str, width: int) -> bytes:
    return value.encode("latin-1")[:width].ljust(width, b" ")


def main(src: str, out: str) -> None:
    with open(src, newline="") as f:
        rows = list(csv.reader(f))
    names = rows[0][1:]
    data = [[float(r[i + 1]) for r in rows[1:]] for i in range(len(names))]
    nobs, nvars = len(rows) - 1, len(names)
    first = rows[1][0]  # "1960Q1"
    year, period = int(first[:4]), int(first[5:])
    out_bytes = [record(struct.pack("<7i", nobs, nvars, 4, 4, year % 100, period, year // 100 * 100))]
    for start in range(0, nvars, 3):
        entries = b"".join(text(n, 14) + text(DESCRIPTIONS[n], 39) for n in names[start:start + 3])
        out_bytes.append(record(entries))
    for series in data:
        for start in range(0, nobs, 20):
            out_bytes.append(record(struct.pack(f"<{len(series[start:start + 20])}d", *series[start:start + 20])))
    for start in range(0, nvars, 2):
        out_bytes.append(record(b"".join(text(DESCRIPTIONS[n], 80) for n in names[start:start + 2])))
    with open(out, "wb") as f:
        f.write(b"".join(out_bytes))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])

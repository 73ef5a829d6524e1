#!/usr/bin/env python3
"""Independent property-list oracle for the tests, built on Python's plistlib.

  plist_oracle.py canon FILE          print the canonical form of the property list in FILE
  plist_oracle.py sample FORMAT OUT   write the sample value as a 'binary' or 'xml' plist

The canonical form is the one tests/tst_plist.cpp computes for its own values:
  null N, true T, false F, integer I<decimal>, real R<16 hex digits of the IEEE bits>,
  date D<microseconds since 2001-01-01>, data B<hex>, string S<hex of UTF-8>, UID U<decimal>,
  array A[<item>,<item>], dictionary {<key>:<value>,...} with keys as hex of UTF-8, sorted.
"""
import datetime
import plistlib
import struct
import sys

EPOCH = datetime.datetime(2001, 1, 1)


def canon(value):
    if value is None:
        return "N"
    if value is True:
        return "T"
    if value is False:
        return "F"
    if isinstance(value, plistlib.UID):
        return "U%d" % value.data
    if isinstance(value, int):
        return "I%d" % value
    if isinstance(value, float):
        return "R" + struct.pack(">d", value).hex()
    if isinstance(value, datetime.datetime):
        return "D%d" % ((value - EPOCH) // datetime.timedelta(microseconds=1))
    if isinstance(value, (bytes, bytearray)):
        return "B" + bytes(value).hex()
    if isinstance(value, str):
        return "S" + value.encode("utf-8").hex()
    if isinstance(value, list):
        return "A[" + ",".join(canon(v) for v in value) + "]"
    if isinstance(value, dict):
        items = sorted((k.encode("utf-8").hex(), canon(v)) for k, v in value.items())
        return "{" + ",".join("%s:%s" % kv for kv in items) + "}"
    raise TypeError(type(value))


def sample(with_uids):
    # Mirrors oracleSample() in tests/tst_plist.cpp.
    value = {
        "booleans": [True, False],
        "integers": [0, 1, 255, 256, 65535, 65536, 4294967295, 4294967296,
                     9223372036854775807, -1, -9223372036854775808,
                     9223372036854775808, 18446744073709551615],
        "reals": [0.5, -2.25, 1e-10, 1.5e300, 123456.789],
        "dates": [EPOCH + datetime.timedelta(seconds=s) for s in (0, 86401, -31536000)],
        "data": [b"", b"\x00\x01\xfe\xff", bytes(range(256)) * 3],
        "strings": ["", "plain", "Gr\u00fc\u00dfe", "\u65e5\u672c", "emoji \U0001F600",
                    "x" * 14, "y" * 15, "z" * 300],
        "empty array": [],
        "empty dict": {},
        "nested": {"a": [{"b": [1, [2, [3]]]}], "\u00e9t\u00e9": "summer"},
        "long array": list(range(40)),
    }
    if with_uids:
        value["uids"] = [plistlib.UID(0), plistlib.UID(255), plistlib.UID(256),
                         plistlib.UID(70000)]
    return value


def main():
    if sys.argv[1] == "canon":
        with open(sys.argv[2], "rb") as f:
            print(canon(plistlib.load(f)))
    elif sys.argv[1] == "sample":
        binary = sys.argv[2] == "binary"
        fmt = plistlib.FMT_BINARY if binary else plistlib.FMT_XML
        with open(sys.argv[3], "wb") as f:
            # plistlib writes UIDs in binary lists only.
            plistlib.dump(sample(binary), f, fmt=fmt, sort_keys=False)
    else:
        raise SystemExit("unknown command")


if __name__ == "__main__":
    main()

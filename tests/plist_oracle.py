#!/usr/bin/env python3
"""Independent property-list oracle for the tests, built on Python's plistlib.

  plist_oracle.py canon FILE          print the canonical form of the property list in FILE
  plist_oracle.py sample FORMAT OUT   write the sample value as a 'binary' or 'xml' plist
  plist_oracle.py unarchive FILE      print the canonical form of the keyed archive's root
  plist_oracle.py archive FORMAT OUT  write the sample keyed archive as 'binary' or 'xml'

Unarchived values: nil N, NSNull Z, NSDate as a real (the NS.time), other classes as a
dictionary of their keys with "$class" holding the class name.

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


def to_xml_uids(value):
    if isinstance(value, plistlib.UID):
        return {"CF$UID": value.data}
    if isinstance(value, list):
        return [to_xml_uids(v) for v in value]
    if isinstance(value, dict):
        return {k: to_xml_uids(v) for k, v in value.items()}
    return value


def from_xml_uids(value):
    if isinstance(value, dict) and list(value) == ["CF$UID"]:
        return plistlib.UID(value["CF$UID"])
    if isinstance(value, list):
        return [from_xml_uids(v) for v in value]
    if isinstance(value, dict):
        return {k: from_xml_uids(v) for k, v in value.items()}
    return value


def canon(value):
    if value is None:
        return "N"
    if value is NSNULL:
        return "Z"
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


def unarchive(path):
    with open(path, "rb") as f:
        archive = from_xml_uids(plistlib.load(f))
    assert archive["$archiver"] == "NSKeyedArchiver" and archive["$version"] == 100000
    objects = archive["$objects"]
    assert objects[0] == "$null"

    def resolve(uid):
        if uid.data == 0:
            return None
        obj = objects[uid.data]
        if not isinstance(obj, dict):
            return obj
        record = objects[obj["$class"].data]
        cls = record["$classname"]
        assert record["$classes"][0] == cls and record["$classes"][-1] == "NSObject"
        if cls in ("NSArray", "NSMutableArray"):
            return [resolve(u) for u in obj["NS.objects"]]
        if cls in ("NSDictionary", "NSMutableDictionary"):
            assert len(obj["NS.keys"]) == len(obj["NS.objects"])
            return {resolve(k): resolve(v) for k, v in zip(obj["NS.keys"], obj["NS.objects"])}
        if cls in ("NSString", "NSMutableString"):
            return obj["NS.string"]
        if cls in ("NSData", "NSMutableData"):
            return obj["NS.data"]
        if cls == "NSDate":
            return float(obj["NS.time"])
        if cls == "NSNull":
            return NSNULL
        out = {"$class": cls}
        for key, value in obj.items():
            if key != "$class":
                out[key] = resolve(value) if isinstance(value, plistlib.UID) else value
        return out

    return resolve(archive["$top"]["root"])


class NsNull:
    pass


NSNULL = NsNull()


class Archiver:
    """Writes the keyed-archive layout the way Foundation does."""

    def __init__(self):
        self.objects = ["$null"]
        self.classes = {}

    def record(self, chain):
        if chain not in self.classes:
            self.objects.append({"$classes": list(chain), "$classname": chain[0]})
            self.classes[chain] = plistlib.UID(len(self.objects) - 1)
        return self.classes[chain]

    def obj(self, chain, fill):
        self.objects.append(None)
        uid = plistlib.UID(len(self.objects) - 1)
        entry = {"$class": self.record(chain)}
        fill(entry)
        self.objects[uid.data] = entry
        return uid

    def encode(self, value):
        if value is None:
            return plistlib.UID(0)
        if isinstance(value, (str, int, float, bytes)):
            self.objects.append(value)
            return plistlib.UID(len(self.objects) - 1)
        if isinstance(value, datetime.datetime):
            seconds = (value - EPOCH).total_seconds()
            return self.obj(("NSDate", "NSObject"), lambda e: e.update({"NS.time": seconds}))
        if isinstance(value, list):
            return self.obj(("NSMutableArray", "NSArray", "NSObject"),
                            lambda e: e.update({"NS.objects": [self.encode(v) for v in value]}))
        if isinstance(value, dict) and "$class" in value:
            chain = (value["$class"], "NSObject")
            return self.obj(chain, lambda e: e.update(
                {k: v.value if isinstance(v, Inline) else self.encode(v)
                 for k, v in value.items() if k != "$class"}))
        if isinstance(value, dict):
            def fill(e):
                e["NS.keys"] = [self.encode(k) for k in value]
                e["NS.objects"] = [self.encode(v) for v in value.values()]
            return self.obj(("NSDictionary", "NSObject"), fill)
        if value is NSNULL:
            return self.obj(("NSNull", "NSObject"), lambda e: None)
        raise TypeError(type(value))

    def archive(self, root):
        top = self.encode(root)
        return {"$version": 100000, "$archiver": "NSKeyedArchiver", "$top": {"root": top},
                "$objects": self.objects}


class Inline:
    def __init__(self, value):
        self.value = value


def archive_sample():
    # Mirrors archiveSample() in tests/tst_keyedarchive.cpp.
    t = EPOCH + datetime.timedelta(seconds=700000000)
    reading = {"$class": "Measurement", "date": t, "systolic-obj": 135, "diastolic-obj": 85,
               "weight-obj": 70.5, "pulse-obj": None, "comments": "after a walk",
               "tags": ["morning", "sport"], "custom1": None, "custom2": 3, "custom3": None}
    old = {"$class": "Measurement", "date": t, "systolic": Inline(128), "diastolic": Inline(82),
           "has-weight": Inline(True), "weight": Inline(71), "has-pulse": Inline(False),
           "pulse": Inline(60)}
    return {"measurements": [reading, old],
            "names": ["a", "b", "\u00e4"],
            "numbers": [1, -2, 2.5, True, 18446744073709551615],
            "blob": b"\x00\x01",
            "null": NSNULL,
            "when": t}


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
    elif sys.argv[1] == "unarchive":
        print(canon(unarchive(sys.argv[2])))
    elif sys.argv[1] == "archive":
        fmt = plistlib.FMT_BINARY if sys.argv[2] == "binary" else plistlib.FMT_XML
        archive = Archiver().archive(archive_sample())
        if fmt == plistlib.FMT_XML:
            # plistlib writes no UIDs in XML; write them as {"CF$UID": n} as Foundation does.
            archive = to_xml_uids(archive)
        with open(sys.argv[3], "wb") as f:
            plistlib.dump(archive, f, fmt=fmt, sort_keys=False)
    else:
        raise SystemExit("unknown command")


if __name__ == "__main__":
    main()
